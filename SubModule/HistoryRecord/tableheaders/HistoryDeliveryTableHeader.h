#pragma once

#include "ColumnSet.h"

namespace VEK_SC_Space {

// Delivery slips carry name, direction and exchange as ready text: no decoder, no lookup.
class StockHistoryDeliveryTableHeader : public ColumnSet<StockHistoryDeliveryTableHeader>
{};
class CreditHistoryDeliveryTableHeader : public ColumnSet<CreditHistoryDeliveryTableHeader>
{};

} // namespace VEK_SC_Space
