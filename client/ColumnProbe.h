#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace VEK_SC_Space {

class ClientAccounts;
class HistoryPlugin;
struct ColumnSetEntry;

struct ColumnInfo
{
    int id;
    QString title;
    bool shown; // among the columns a page shows
};

// Removes and returns the first column that `matches` accepts.
template <typename Predicate>
std::optional<ColumnInfo> takeColumn(QList<ColumnInfo>& columns, Predicate matches)
{
    for (auto column = columns.begin(); column != columns.end(); ++column) {
        if (matches(*column)) {
            const ColumnInfo taken = *column;
            columns.erase(column);
            return taken;
        }
    }
    return std::nullopt;
}

// Lists the columns of a column set without the module's classes: it opens throw-away pages
// of the set's kind on an unserved account and reads their column titles, once with no
// saved choice (the default columns in their order) and once per candidate id with a choice
// of that id alone (a known id shows exactly that column, an unknown one the defaults).
// The probe keeps its choices in a settings folder of its own.
class ColumnProbe
{
public:
    ColumnProbe(const HistoryPlugin& plugin, const ClientAccounts& accounts);

    // The default columns in their order (shown), then the others by id. Empty if no page
    // opens.
    QList<ColumnInfo> columns(const ColumnSetEntry& set);
    void clear(); // titles are translated: forget them when the language changes

private:
    QList<ColumnInfo> probe(const ColumnSetEntry& set);
    QStringList shownTitles(const ColumnSetEntry& set, const QList<int>& choice) const;

    const HistoryPlugin& plugin;
    const ClientAccounts& accounts;
    QHash<QString, QList<ColumnInfo>> known;
};

} // namespace VEK_SC_Space
