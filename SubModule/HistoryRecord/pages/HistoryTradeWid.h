#pragma once

#include "HistoryPage.h"
#include "HistoryPageTraits.h"

namespace VEK_SC_Space {

// Past trades of a stock or a credit account.
class HistoryTradeWid : public HistoryPage<HistoryTradeTraits>
{
    Q_OBJECT

public:
    HistoryTradeWid(int accountKey, int pageType, QWidget* parent);
    ~HistoryTradeWid() override;
};

} // namespace VEK_SC_Space
