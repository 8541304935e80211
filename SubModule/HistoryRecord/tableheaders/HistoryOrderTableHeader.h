#pragma once

#include "ColumnSet.h"

namespace VEK_SC_Space {

// Columns of the history orders page for an ordinary stock account and for a credit account.
class StockHistoryOrderTableHeader : public ColumnSet<StockHistoryOrderTableHeader>
{};
class CreditHistoryOrderTableHeader : public ColumnSet<CreditHistoryOrderTableHeader>
{};

} // namespace VEK_SC_Space
