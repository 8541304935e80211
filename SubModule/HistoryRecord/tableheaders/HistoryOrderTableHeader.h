#pragma once

#include "HistoryTableHeader.h"

namespace VEK_SC_Space {

// Columns of the history orders page for an ordinary stock account.
class StockHistoryOrderTableHeader : public HistoryTableHeader
{
public:
    StockHistoryOrderTableHeader();

    QString getColumnDisplayText(int column, std::any record, UserData* userData) override;
    void describeRow(HistoryColumn::CellText* cells, const std::any& record, const int* columns, int count,
                     UserData* userData) override;
    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override;
};

// Columns of the history orders page for a credit account.
class CreditHistoryOrderTableHeader : public HistoryTableHeader
{
public:
    CreditHistoryOrderTableHeader();

    QString getColumnDisplayText(int column, std::any record, UserData* userData) override;
    void describeRow(HistoryColumn::CellText* cells, const std::any& record, const int* columns, int count,
                     UserData* userData) override;
    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override;
};

} // namespace VEK_SC_Space
