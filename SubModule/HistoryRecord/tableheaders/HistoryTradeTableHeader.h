#pragma once

#include "ColumnSet.h"

namespace VEK_SC_Space {

// Columns of the history trades page for an ordinary stock account and for a credit account.
class StockHistoryTradeTableHeader : public ColumnSet<StockHistoryTradeTableHeader>
{};
class CreditHistoryTradeTableHeader : public ColumnSet<CreditHistoryTradeTableHeader>
{};

} // namespace VEK_SC_Space
