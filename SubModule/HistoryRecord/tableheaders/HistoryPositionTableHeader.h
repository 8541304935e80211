#pragma once

#include "HistoryTableHeader.h"

namespace VEK_SC_Space {

// Positions: the exchange comes as letters, mapped before the name lookup.
class StockHistoryPositionTableHeader : public HistoryTableHeader
{
public:
    StockHistoryPositionTableHeader();

    QString getColumnDisplayText(int column, std::any record, UserData* userData) override;
    void describeRow(HistoryColumn::CellText* cells, const std::any& record, const int* columns, int count,
                     UserData* userData) override;
    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override;
};

class CreditHistoryPositionTableHeader : public HistoryTableHeader
{
public:
    CreditHistoryPositionTableHeader();

    QString getColumnDisplayText(int column, std::any record, UserData* userData) override;
    void describeRow(HistoryColumn::CellText* cells, const std::any& record, const int* columns, int count,
                     UserData* userData) override;
    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override;
};

} // namespace VEK_SC_Space
