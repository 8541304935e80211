#pragma once

#include "HistoryPage.h"
#include "HistoryPageTraits.h"

namespace VEK_SC_Space {

// Delivery slips: the settled trades with their fees.
class HistoryDeliveryWid : public HistoryPage<HistoryDeliveryTraits>
{
    Q_OBJECT

public:
    HistoryDeliveryWid(int accountKey, int pageType, QWidget* parent);
    ~HistoryDeliveryWid() override;
};

} // namespace VEK_SC_Space
