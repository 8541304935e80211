#pragma once

#include "ColumnSet.h"

namespace VEK_SC_Space {

// Margin debts of a credit account; there is no stock counterpart.
class CreditHistoryCreditDebtTableHeader : public ColumnSet<CreditHistoryCreditDebtTableHeader>
{};

} // namespace VEK_SC_Space
