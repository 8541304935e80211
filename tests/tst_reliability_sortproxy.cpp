// The page's sorting proxy puts rows where a plain QSortFilterProxyModel puts them, for values of
// any mix of types and through every kind of change of its source and its sort settings, with
// the same map both ways and the same persistent indexes. Where keys can stand for the values it
// reads each value once per sort instead of twice per comparison.

#include "HistorySortProxyModel.h"

#include <QAbstractItemModelTester>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QtTest>

#include <cmath>
#include <climits>

using namespace VEK_SC_Space;
using Proxy = QSortFilterProxyModel;
using Tester = QAbstractItemModelTester;

namespace {

// Size, sort settings, the map both ways, and how many persistent cells are valid and still on
// the source cells they were made on.
QString state(const Proxy& proxy, const QList<QPersistentModelIndex>& cells, const QList<QPersistentModelIndex>& sourceCells)
{
    QStringList to, from;
    for (int row = 0; row < proxy.rowCount(); ++row)
        to << QString::number(proxy.mapToSource(proxy.index(row, 0)).row());
    const QAbstractItemModel* source = proxy.sourceModel();
    for (int row = 0; source && row < source->rowCount(); ++row)
        from << QString::number(proxy.mapFromSource(source->index(row, source->columnCount() - 1)).row());
    int valid = 0, kept = 0;
    for (int i = 0; i < cells.size(); ++i) {
        valid += cells.at(i).isValid();
        kept += proxy.mapToSource(cells.at(i)) == sourceCells.at(i);
    }
    return QStringLiteral("%1x%2 by %3 %4 | %5 | from %6 | cells %7 valid %8 kept")
        .arg(proxy.rowCount()).arg(proxy.columnCount()).arg(proxy.sortColumn()).arg(proxy.sortOrder())
        .arg(to.join(QLatin1Char(' ')), from.join(QLatin1Char(' '))).arg(valid).arg(kept);
}

QStandardItem* item(const QVariant& value)
{
    auto* item = new QStandardItem(value.toString());
    item->setData(value, Qt::UserRole);
    return item;
}

// The sort values in the column before the last, under Qt::UserRole with their text as display
// text; ints in the last. Counts how often Qt::UserRole is read.
struct Model : QStandardItemModel
{
    explicit Model(const QVariantList& values, QObject* parent = nullptr) : QStandardItemModel(parent)
    {
        setSortRole(Qt::UserRole);
        fill(values);
    }
    void fill(const QVariantList& values)
    {
        setColumnCount(2);
        for (const QVariant& value : values)
            appendRow(makeRow(value, rowCount() * 5 % 7));
    }
    QList<QStandardItem*> makeRow(const QVariant& value, int other = 0) const
    {
        QList<QStandardItem*> row;
        for (int column = 0, last = columnCount() - 1; column <= last; ++column)
            row << (column == last ? ::item(other) : column == last - 1 ? ::item(value) : new QStandardItem);
        return row;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        reads += role == Qt::UserRole;
        return QStandardItemModel::data(index, role);
    }
    mutable int reads = 0;
    void reload(const QVariantList& values)   // new contents behind one reset, the columns kept
    {
        beginResetModel();
        blockSignals(true);
        setRowCount(0);
        fill(values);
        blockSignals(false);
        endResetModel();
    }
};

const struct
{
    const char* name;
    void (*apply)(Model& source, Proxy& proxy);
} changes[] = {
    {"append a row", [](Model& s, Proxy&) { s.appendRow(s.makeRow(2)); }},
    {"insert a row", [](Model& s, Proxy&) { s.insertRow(3, s.makeRow(1)); }},
    {"append rows at once", [](Model& s, Proxy& p) {   // one insertion, into the first column
         s.invisibleRootItem()->appendRows({item(2), item(0), item(3)});
         if (!qobject_cast<HistorySortProxyModel*>(&p))
             p.invalidate();     // the plain proxy leaves rows that arrive at once unsorted
     }},
    {"remove a row", [](Model& s, Proxy&) { s.removeRow(2); }},
    {"remove a range", [](Model& s, Proxy&) { s.removeRows(2, 4); }},
    {"remove all rows", [](Model& s, Proxy&) { s.removeRows(0, s.rowCount()); }},
    {"remove rows through the proxy", [](Model&, Proxy& p) { p.removeRows(1, 3); }},
    {"remove rows past the end", [](Model& s, Proxy& p) { if (p.removeRows(7, 2)) s.clear(); }},
    {"a value past all others", [](Model& s, Proxy&) { s.setData(s.index(1, 0), 99, Qt::UserRole); }},
    {"a value others share", [](Model& s, Proxy&) { s.setData(s.index(6, 0), 10, Qt::UserRole); }},
    {"another column's value", [](Model& s, Proxy&) { s.setData(s.index(6, 1), 42, Qt::UserRole); }},
    {"reset, columns cleared", [](Model& s, Proxy&) { s.clear(); s.fill({2, 10, 0, 9, 2}); }},
    {"reset, columns kept", [](Model& s, Proxy&) { s.reload({2, 10, 0, 9, 2}); }},
    {"source sorted", [](Model& s, Proxy&) { s.sort(1, Qt::DescendingOrder); }},
    {"column inserted before", [](Model& s, Proxy&) { s.insertColumn(0); }},
    {"column removed before", [](Model& s, Proxy&) { s.insertColumn(0); s.removeColumn(0); }},
    {"sort column removed", [](Model& s, Proxy&) { s.removeColumn(0); }},
    {"sorted by the other column", [](Model&, Proxy& p) { p.sort(1, Qt::AscendingOrder); }},
    {"sort undone", [](Model&, Proxy& p) { p.sort(-1); }},
    {"sort role: text", [](Model&, Proxy& p) { p.setSortRole(Qt::DisplayRole); }},
    {"source deleted", [](Model& s, Proxy&) { delete &s; }},
    // New contents of every kind, each row compared with the others' values under the role.
    {"ints", [](Model& s, Proxy&) { s.reload({3, -7, QVariant(), 3, 0, INT_MIN, INT_MAX, -7, QVariant(), 12}); }},
    {"doubles", [](Model& s, Proxy&) { s.reload({0.0, -0.0, 2.5, QVariant(), -HUGE_VAL, HUGE_VAL, -2.5, 1e-300, -1e-300, 0.0}); }},
    {"only invalid", [](Model& s, Proxy&) { s.reload({QVariant(), QVariant(), QVariant()}); }},
    {"strings", [](Model& s, Proxy&) { s.reload({"b", "B", "a", QVariant(), "", "ab", "A", "Ab", "09:30", "中国", "b"}); }},
    {"strings, any case", [](Model& s, Proxy& p) { s.reload({"b", "B", "a", "", "ab", "A", "Ab"}), p.setSortCaseSensitivity(Qt::CaseInsensitive); }},
    {"strings, locale aware", [](Model& s, Proxy& p) { p.setSortLocaleAware(true), s.reload({"b", "B", "a", "é", "e", "f", "中"}); }},
    {"NaN among doubles", [](Model& s, Proxy&) { s.reload({std::nan(""), 2.0, 1.0, 3.0, std::nan(""), 0.5}); }},
    {"ints and strings", [](Model& s, Proxy&) { s.reload({2, "10", 1, "x", 3}); }},
    {"ints and doubles", [](Model& s, Proxy&) { s.reload({2, 1.5, 1, 2.5}); }},
    {"dates", [](Model& s, Proxy&) { s.reload({QDate(2024, 3, 1), QDate(2023, 1, 1), QDate(2024, 1, 1)}); }},
};

} // namespace

class tst_ReliabilitySortProxy : public QObject
{
    Q_OBJECT

private slots:
    void sourceChanges_data();
    void sourceChanges();
    void sourceRowsMoved();
};

void tst_ReliabilitySortProxy::sourceChanges_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("change");
    for (const auto& [name, column, direction] : {std::tuple("unsorted", -1, 0), {"ascending", 0, 0}, {"descending", 0, 1}}) {
        for (int change = 0; change < int(std::size(changes)); ++change)
            QTest::addRow("%s, %s", name, changes[change].name) << column << direction << change;
    }
}

// The change on the page's proxy's source and on a plain proxy's identical one, then a row
// appended (placed by comparing the source's values: the sort's keys are gone by then): both
// proxies are in the same state after each step. Both run under the model tester, and the map
// is read while each change is announced, as a view reads it.
void tst_ReliabilitySortProxy::sourceChanges()
{
    QFETCH(int, column);
    QFETCH(int, direction);
    QFETCH(int, change);
    QSortFilterProxyModel plain;
    HistorySortProxyModel page;
    QStringList seen[2];
    for (Proxy* proxy : {&plain, static_cast<Proxy*>(&page)}) {
        QObject owner;
        QPointer<Model> source = new Model({10, 9, 10, 2, 9, 10, 0, 2}, &owner);
        proxy->setSortRole(Qt::UserRole);
        proxy->setSourceModel(source);
        const Tester tester(proxy, Tester::FailureReportingMode::QtTest);
        const auto mapFirst = [&] { if (source) proxy->mapFromSource(source->index(0, 0)); };
        connect(proxy, &QAbstractItemModel::rowsInserted, &owner, mapFirst);
        connect(proxy, &QAbstractItemModel::rowsRemoved, &owner, mapFirst);
        connect(proxy, &QAbstractItemModel::dataChanged, &owner, [&](const QModelIndex& from, const QModelIndex& to) {
            seen[proxy == &page] << QStringLiteral("changed %1,%2 to %3,%4").arg(from.row()).arg(from.column()).arg(to.row()).arg(to.column());
        });
        QList<QPersistentModelIndex> cells, sourceCells;
        for (int row = 0; row < proxy->rowCount(); ++row)
            cells << proxy->index(row, 1), sourceCells << proxy->mapToSource(cells.last());
        proxy->sort(column, Qt::SortOrder(direction));
        // With keys, each value read once per sort instead of twice per comparison.
        QVERIFY(proxy == &plain || source->reads <= source->rowCount());
        seen[proxy == &page] << state(*proxy, cells, sourceCells);
        changes[change].apply(*source, *proxy);
        seen[proxy == &page] << state(*proxy, cells, sourceCells);
        if (source)
            source->appendRow(source->makeRow(source->index(0, source->columnCount() - 2).data(Qt::UserRole)));
        else
            proxy->sort(0);
        seen[proxy == &page] << state(*proxy, cells, sourceCells);
    }
    QCOMPARE(seen[1], seen[0]);
}

// Moved rows are ordered anew from the source's new order, equal values included. The move is
// QStringListModel's: QStandardItemModel cannot move rows.
void tst_ReliabilitySortProxy::sourceRowsMoved()
{
    for (const auto& [column, direction] : {std::pair(-1, Qt::AscendingOrder), {0, Qt::AscendingOrder}, {0, Qt::DescendingOrder}}) {
        QSortFilterProxyModel plain;
        HistorySortProxyModel page;
        QStringList seen[2];
        for (Proxy* proxy : {&plain, static_cast<Proxy*>(&page)}) {
            QStringListModel source({"b", "a", "c", "a", "b", "a"});
            proxy->setSourceModel(&source);
            const Tester tester(proxy, Tester::FailureReportingMode::QtTest);
            proxy->sort(column, direction);
            const QList<QPersistentModelIndex> cells{proxy->index(1, 0)}, sourceCells{proxy->mapToSource(cells[0])};
            QVERIFY(source.moveRows(QModelIndex(), 0, 2, QModelIndex(), 5));
            seen[proxy == &page] << state(*proxy, cells, sourceCells);
        }
        QCOMPARE(seen[1], seen[0]);
    }
}

QTEST_GUILESS_MAIN(tst_ReliabilitySortProxy)
#include "tst_reliability_sortproxy.moc"
