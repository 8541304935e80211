#pragma once

// Included by a column set's source only, which specialises ColumnSetTraits for its sets and
// then instantiates them (`template class ColumnSet<...>;`).

#include "ColumnSet.h"

namespace VEK_SC_Space {

template <typename Set>
ColumnSet<Set>::ColumnSet()
    : HistoryTableHeader(ColumnSetTraits<Set>::key())
{
    addColumns(ColumnSetTraits<Set>::columns);
}

template <typename Set>
QString ColumnSet<Set>::getColumnDisplayText(int column, std::any record, UserData* userData)
{
    return ColumnSetTraits<Set>::template cell<HistoryColumn::TextCell>(column, record, userData).toString();
}

template <typename Set>
void ColumnSet<Set>::appendRow(HistoryColumn::CellTextWriter& out, const std::any& record, const int* columns,
                               int count, UserData* userData)
{
    HistoryColumn::appendCells(out, columns, count, [&](int column) {
        return ColumnSetTraits<Set>::template cell<HistoryColumn::TextCell>(column, record, userData);
    });
}

template <typename Set>
QVariant ColumnSet<Set>::getColumnRawValue(int column, std::any record, UserData* userData)
{
    return ColumnSetTraits<Set>::template cell<HistoryColumn::RawCell>(column, record, userData);
}

} // namespace VEK_SC_Space
