#pragma once

#include "HistoryTableHeader.h"

namespace VEK_SC_Space {

// Profit and loss per security: the exchange comes as a one-character code.
class StockHistoryProfitTableHeader : public HistoryTableHeader
{
public:
    StockHistoryProfitTableHeader();

    QString getColumnDisplayText(int column, std::any record, UserData* userData) override;
    void describeRow(HistoryColumn::CellText* cells, const std::any& record, const int* columns, int count,
                     UserData* userData) override;
    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override;
};

class CreditHistoryProfitTableHeader : public HistoryTableHeader
{
public:
    CreditHistoryProfitTableHeader();

    QString getColumnDisplayText(int column, std::any record, UserData* userData) override;
    void describeRow(HistoryColumn::CellText* cells, const std::any& record, const int* columns, int count,
                     UserData* userData) override;
    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override;
};

} // namespace VEK_SC_Space
