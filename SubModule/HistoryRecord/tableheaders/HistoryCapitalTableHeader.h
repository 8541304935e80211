#pragma once

#include "HistoryTableHeader.h"

namespace VEK_SC_Space {

class StockHistoryCapitalTableHeader : public HistoryTableHeader
{
public:
    StockHistoryCapitalTableHeader();

    QString getColumnDisplayText(int column, std::any record, UserData* userData) override;
    void describeRow(HistoryColumn::CellText* cells, const std::any& record, const int* columns, int count,
                     UserData* userData) override;
    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override;
};

class CreditHistoryCapitalTableHeader : public HistoryTableHeader
{
public:
    CreditHistoryCapitalTableHeader();

    QString getColumnDisplayText(int column, std::any record, UserData* userData) override;
    void describeRow(HistoryColumn::CellText* cells, const std::any& record, const int* columns, int count,
                     UserData* userData) override;
    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override;
};

} // namespace VEK_SC_Space
