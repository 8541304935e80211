#pragma once

#include "ColumnSet.h"

namespace VEK_SC_Space {

// Positions: the exchange comes as letters, mapped before the name lookup.
class StockHistoryPositionTableHeader : public ColumnSet<StockHistoryPositionTableHeader>
{};
class CreditHistoryPositionTableHeader : public ColumnSet<CreditHistoryPositionTableHeader>
{};

} // namespace VEK_SC_Space
