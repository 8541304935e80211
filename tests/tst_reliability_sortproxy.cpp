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

using namespace VEK_SC_Space;
using Proxy = QSortFilterProxyModel;
using Tester = QAbstractItemModelTester;

namespace {

QString order(const Proxy& proxy)   // source rows in proxy order
{
    QStringList rows;
    for (int row = 0; row < proxy.rowCount(); ++row)
        rows << QString::number(proxy.mapToSource(proxy.index(row, 0)).row());
    return rows.join(QLatin1Char(' '));
}

// Size, sort settings, the map both ways, and how many persistent cells are valid and still on
// the source cells they were made on.
QString state(const Proxy& proxy, const QList<QPersistentModelIndex>& cells, const QList<QPersistentModelIndex>& sourceCells)
{
    QStringList from;
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
        .arg(order(proxy), from.join(QLatin1Char(' '))).arg(valid).arg(kept);
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
    using QStandardItemModel::beginResetModel;
    using QStandardItemModel::endResetModel;
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
    {"another column's value", [](Model& s, Proxy&) { s.setData(s.index(0, 1), 42, Qt::UserRole); }},
    {"reset, columns cleared", [](Model& s, Proxy&) { s.clear(); s.fill({2, 10, 0, 9, 2}); }},
    {"reset, columns kept", [](Model& s, Proxy&) {
         s.beginResetModel();
         s.blockSignals(true);
         s.setRowCount(0);
         s.fill({2, 10, 0, 9, 2});
         s.blockSignals(false);
         s.endResetModel();
     }},
    {"source sorted", [](Model& s, Proxy&) { s.sort(1, Qt::DescendingOrder); }},
    {"column inserted before", [](Model& s, Proxy&) { s.insertColumn(0); }},
    {"column removed before", [](Model& s, Proxy&) { s.insertColumn(0); s.removeColumn(0); }},
    {"sort column removed", [](Model& s, Proxy&) { s.removeColumn(0); }},
    {"sorted by the other column", [](Model&, Proxy& p) { p.sort(1, Qt::AscendingOrder); }},
    {"sort undone", [](Model&, Proxy& p) { p.sort(-1); }},
    {"sort role: text", [](Model&, Proxy& p) { p.setSortRole(Qt::DisplayRole); }},
    {"source deleted", [](Model& s, Proxy&) { delete &s; }},
};

} // namespace

class tst_ReliabilitySortProxy : public QObject
{
    Q_OBJECT

private slots:
    void values_data();
    void values();
    void sourceChanges_data();
    void sourceChanges();
    void sourceRowsMoved();
};

void tst_ReliabilitySortProxy::values_data()
{
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<int>("setting");   // 0 plain, 1 case insensitive, 2 locale aware
    QTest::addColumn<bool>("keyed");    // each value read once per sort
    const double inf = HUGE_VAL, nan = std::nan("");
    const QVariant none;
    QTest::newRow("ints") << QVariantList{3, -7, none, 3, 0, INT_MIN, INT_MAX, -7, none, 12} << 0 << true;
    QTest::newRow("doubles") << QVariantList{0.0, -0.0, 2.5, none, -inf, inf, -2.5, 1e-300, -1e-300, 0.0} << 0 << true;
    QTest::newRow("only invalid") << QVariantList{none, none, none} << 0 << true;
    QTest::newRow("strings, then any case")
        << QVariantList{"b", "B", "a", none, "", "ab", "A", "Ab", "aB", "09:30", "中国", "b", QString()} << 1 << true;
    QTest::newRow("strings, then locale") << QVariantList{"b", "B", "a", "é", "e", "f", "中"} << 2 << true;
    QTest::newRow("NaN among doubles") << QVariantList{2.0, nan, 1.0, 3.0, nan, 0.5} << 0 << false;
    QTest::newRow("ints and strings") << QVariantList{2, "10", 1, "x", 3} << 0 << false;
    QTest::newRow("ints and doubles") << QVariantList{2, 1.5, 1, 2.5} << 0 << false;
    QTest::newRow("dates") << QVariantList{QDate(2024, 3, 1), QDate(2023, 1, 1), QDate(2024, 1, 1)} << 0 << false;
}

// Both directions, then the row's case or locale setting, then rows arriving after the sort: the
// keys are gone by then, new rows are placed by comparing the source's values.
void tst_ReliabilitySortProxy::values()
{
    QFETCH(QVariantList, values);
    QFETCH(int, setting);
    QFETCH(bool, keyed);
    QSortFilterProxyModel plain;
    HistorySortProxyModel page;
    QStringList seen[2];
    int reads[2][2] = {};
    for (Proxy* proxy : {&plain, static_cast<Proxy*>(&page)}) {
        const bool isPage = proxy == &page;
        Model source(values);
        proxy->setSourceModel(&source);
        proxy->setSortRole(Qt::UserRole);
        for (int direction : {0, 1}) {
            source.reads = 0;
            proxy->sort(0, Qt::SortOrder(direction));
            reads[isPage][direction] = source.reads;
            seen[isPage] << order(*proxy);
        }
        proxy->setSortCaseSensitivity(setting == 1 ? Qt::CaseInsensitive : Qt::CaseSensitive);
        proxy->setSortLocaleAware(setting == 2);
        seen[isPage] << order(*proxy);
        // Binary searches over an order that is not strict (NaN, mixed types) may differ.
        const QVariantList arriving = keyed ? values.mid(0, 2) << QVariant() : QVariantList();
        for (const QVariant& value : arriving) {
            source.appendRow(source.makeRow(value));
            seen[isPage] << order(*proxy);
        }
    }
    QCOMPARE(seen[1], seen[0]);
    // Without keys, the attempt to make them comes on top of the plain proxy's reads.
    for (int direction : {0, 1}) {
        const int count = reads[1][direction];
        QVERIFY2(keyed ? count <= values.size() : count > reads[0][direction], QByteArray::number(count).constData());
    }
}

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
// appended: both proxies are in the same state after each step. Both run under the model
// tester, and the map is read while each change is announced, as a view reads it.
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
        QList<QPersistentModelIndex> cells, sourceCells;
        for (int row = 0; row < proxy->rowCount(); ++row)
            cells << proxy->index(row, 1), sourceCells << proxy->mapToSource(cells.last());
        proxy->sort(column, Qt::SortOrder(direction));
        seen[proxy == &page] << state(*proxy, cells, sourceCells);
        changes[change].apply(*source, *proxy);
        seen[proxy == &page] << state(*proxy, cells, sourceCells);
        if (source)
            source->appendRow(source->makeRow(2));
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
