#pragma once

#include "ColumnSet.h"

namespace VEK_SC_Space {

// Fund flows: the exchange comes as letters and is mapped before the name lookup.
class StockHistoryFundDetailTableHeader : public ColumnSet<StockHistoryFundDetailTableHeader>
{};
class CreditHistoryFundDetailTableHeader : public ColumnSet<CreditHistoryFundDetailTableHeader>
{};

} // namespace VEK_SC_Space
