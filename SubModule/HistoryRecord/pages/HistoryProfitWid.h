#pragma once

#include "HistoryPage.h"
#include "HistoryPageTraits.h"

namespace VEK_SC_Space {

// Profit and loss per security over the chosen period.
class HistoryProfitWid : public HistoryPage<HistoryProfitTraits>
{
    Q_OBJECT

public:
    HistoryProfitWid(int accountKey, int pageType, QWidget* parent);
    ~HistoryProfitWid() override;
};

} // namespace VEK_SC_Space
