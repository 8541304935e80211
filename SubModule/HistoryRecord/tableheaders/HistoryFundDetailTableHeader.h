#pragma once

#include "HistoryTableHeader.h"

namespace VEK_SC_Space {

// Fund flows: the exchange comes as letters and is mapped before the name lookup.
class StockHistoryFundDetailTableHeader : public HistoryTableHeader
{
public:
    StockHistoryFundDetailTableHeader();

    QString getColumnDisplayText(int column, std::any record, UserData* userData) override;
    void describeRow(HistoryColumn::CellText* cells, const std::any& record, const int* columns, int count,
                     UserData* userData) override;
    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override;
};

class CreditHistoryFundDetailTableHeader : public HistoryTableHeader
{
public:
    CreditHistoryFundDetailTableHeader();

    QString getColumnDisplayText(int column, std::any record, UserData* userData) override;
    void describeRow(HistoryColumn::CellText* cells, const std::any& record, const int* columns, int count,
                     UserData* userData) override;
    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override;
};

} // namespace VEK_SC_Space
