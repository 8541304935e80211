#pragma once

#include "ColumnSet.h"

namespace VEK_SC_Space {

// Profit and loss per security: the exchange comes as a one-character code.
class StockHistoryProfitTableHeader : public ColumnSet<StockHistoryProfitTableHeader>
{};
class CreditHistoryProfitTableHeader : public ColumnSet<CreditHistoryProfitTableHeader>
{};

} // namespace VEK_SC_Space
