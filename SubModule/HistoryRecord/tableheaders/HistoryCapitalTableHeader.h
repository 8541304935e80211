#pragma once

#include "ColumnSet.h"

namespace VEK_SC_Space {

// Capital day by day, of an ordinary stock account and of a credit account.
class StockHistoryCapitalTableHeader : public ColumnSet<StockHistoryCapitalTableHeader>
{};
class CreditHistoryCapitalTableHeader : public ColumnSet<CreditHistoryCapitalTableHeader>
{};

} // namespace VEK_SC_Space
