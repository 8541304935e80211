#pragma once

#include "HistoryTableHeader.h"

namespace VEK_SC_Space {

// What a column set shows: its key, its columns and its one cell switch. Each set's source
// specialises this for the set's class with
//     static const QString& key();                  (ColumnSetKey)
//     static constexpr const HistoryColumn::ColumnSpec (&columns)[N] = ...;
//     template <typename Cell>
//     static typename Cell::Result cell(int column, const std::any& record, UserData* userData);
// where Cell is HistoryColumn::TextCell (the text shown and exported) or RawCell (the value
// sorted by).
template <typename Set>
struct ColumnSetTraits;

// The key part of a ColumnSetTraits: the name the user's column choices are saved under.
template <const QString& setKey>
struct ColumnSetKey
{
    static const QString& key() { return setKey; }
};

// A column set's operations, all made from its ColumnSetTraits. The definitions are in
// ColumnSetDefinitions.h, which only the set's own source includes: that source instantiates
// them once, next to the cell switch they inline, so the traits never need to be known
// anywhere else.
template <typename Set>
class ColumnSet : public HistoryTableHeader
{
public:
    ColumnSet();

    QString getColumnDisplayText(int column, std::any record, UserData* userData) override;
    void appendRow(HistoryColumn::CellTextWriter& out, const std::any& record, const int* columns, int count,
                   UserData* userData) override;
    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override;
};

} // namespace VEK_SC_Space
