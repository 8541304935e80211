#pragma once

#include "HistoryTableHeader.h"

namespace VEK_SC_Space {

// Margin debts of a credit account; there is no stock counterpart.
class CreditHistoryCreditDebtTableHeader : public HistoryTableHeader
{
public:
    CreditHistoryCreditDebtTableHeader();

    QString getColumnDisplayText(int column, std::any record, UserData* userData) override;
    void describeRow(HistoryColumn::CellText* cells, const std::any& record, const int* columns, int count,
                     UserData* userData) override;
    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override;
};

} // namespace VEK_SC_Space
