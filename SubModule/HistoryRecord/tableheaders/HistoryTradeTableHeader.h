#pragma once

#include "HistoryTableHeader.h"

namespace VEK_SC_Space {

// Columns of the history trades page for an ordinary stock account.
class StockHistoryTradeTableHeader : public HistoryTableHeader
{
public:
    StockHistoryTradeTableHeader();

    QString getColumnDisplayText(int column, std::any record, UserData* userData) override;
    void describeRow(HistoryColumn::CellText* cells, const std::any& record, const int* columns, int count,
                     UserData* userData) override;
    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override;
};

// Columns of the history trades page for a credit account.
class CreditHistoryTradeTableHeader : public HistoryTableHeader
{
public:
    CreditHistoryTradeTableHeader();

    QString getColumnDisplayText(int column, std::any record, UserData* userData) override;
    void describeRow(HistoryColumn::CellText* cells, const std::any& record, const int* columns, int count,
                     UserData* userData) override;
    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override;
};

} // namespace VEK_SC_Space
