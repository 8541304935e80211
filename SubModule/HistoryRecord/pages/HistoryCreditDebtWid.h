#pragma once

#include "HistoryPage.h"
#include "HistoryPageTraits.h"

namespace VEK_SC_Space {

// Margin debts. They exist on credit accounts only; on a stock account the page
// shows the columns, sends its request and collects nothing.
class HistoryCreditDebtWid : public HistoryPage<HistoryCreditDebtTraits>
{
    Q_OBJECT

public:
    HistoryCreditDebtWid(int accountKey, int pageType, QWidget* parent);
    ~HistoryCreditDebtWid() override;
};

} // namespace VEK_SC_Space
