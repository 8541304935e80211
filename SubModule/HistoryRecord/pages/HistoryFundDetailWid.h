#pragma once

#include "HistoryPage.h"
#include "HistoryPageTraits.h"

namespace VEK_SC_Space {

// Every movement of money in and out of the account.
class HistoryFundDetailWid : public HistoryPage<HistoryFundDetailTraits>
{
    Q_OBJECT

public:
    HistoryFundDetailWid(int accountKey, int pageType, QWidget* parent);
    ~HistoryFundDetailWid() override;
};

} // namespace VEK_SC_Space
