#pragma once

#include "HistoryTableHeader.h"

namespace VEK_SC_Space {

// Delivery slips carry name, direction and exchange as ready text: no decoder, no lookup.
class StockHistoryDeliveryTableHeader : public HistoryTableHeader
{
public:
    StockHistoryDeliveryTableHeader();

    QString getColumnDisplayText(int column, std::any record, UserData* userData) override;
    void describeRow(HistoryColumn::CellText* cells, const std::any& record, const int* columns, int count,
                     UserData* userData) override;
    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override;
};

class CreditHistoryDeliveryTableHeader : public HistoryTableHeader
{
public:
    CreditHistoryDeliveryTableHeader();

    QString getColumnDisplayText(int column, std::any record, UserData* userData) override;
    void describeRow(HistoryColumn::CellText* cells, const std::any& record, const int* columns, int count,
                     UserData* userData) override;
    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override;
};

} // namespace VEK_SC_Space
