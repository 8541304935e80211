// The page's sorting proxy puts rows where a plain QSortFilterProxyModel puts them, through every
// kind of change of its source and its sort settings, with the same map both ways, the same
// persistent indexes and the same row and layout signals. Where Qt's order is no order (NaN,
// mixed types) or where ours departs on purpose (equal keys arriving together, a change of
// several rows), the order is checked against what it must be, however the rows arrived.

#include "HistorySortProxyModel.h"

#include <QAbstractItemModelTester>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QtTest>

#include <algorithm>
#include <numeric>

#include <climits>
#include <cmath>
#include <limits>
#include <memory>

using namespace VEK_SC_Space;
using Tester = QAbstractItemModelTester;

namespace {

// The sort API the page uses, on either proxy, so that one script drives both.
struct Sorting
{
    virtual ~Sorting() = default;
    virtual QAbstractProxyModel& model() = 0;
    virtual int sortColumn() const = 0;
    virtual Qt::SortOrder sortOrder() const = 0;
    virtual void setSortRole(int role) = 0;
    virtual void setSortCaseSensitivity(Qt::CaseSensitivity sensitivity) = 0;
    virtual void setSortLocaleAware(bool on) = 0;
    virtual void invalidate() = 0;
};

template <typename P>
struct SortingOf : Sorting
{
    P proxy;
    QAbstractProxyModel& model() override { return proxy; }
    int sortColumn() const override { return proxy.sortColumn(); }
    Qt::SortOrder sortOrder() const override { return proxy.sortOrder(); }
    void setSortRole(int role) override { proxy.setSortRole(role); }
    void setSortCaseSensitivity(Qt::CaseSensitivity sensitivity) override { proxy.setSortCaseSensitivity(sensitivity); }
    void setSortLocaleAware(bool on) override { proxy.setSortLocaleAware(on); }
    void invalidate() override { proxy.invalidate(); }
};

std::unique_ptr<Sorting> makeProxy(bool page)
{
    if (page)
        return std::make_unique<SortingOf<HistorySortProxyModel>>();
    return std::make_unique<SortingOf<QSortFilterProxyModel>>();
}

// Size, sort settings, the map both ways, and how many persistent cells are valid and still on
// the source cells they were made on.
QString state(Sorting& sorting, const QList<QPersistentModelIndex>& cells, const QList<QPersistentModelIndex>& sourceCells)
{
    const QAbstractProxyModel& proxy = sorting.model();
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
    return QStringLiteral("%1x%2%9 by %3 %4 | %5 | from %6 | cells %7 valid %8 kept")
        .arg(proxy.rowCount())
        .arg(proxy.columnCount())
        .arg(sorting.sortColumn())
        .arg(sorting.sortOrder())
        .arg(to.join(QLatin1Char(' ')), from.join(QLatin1Char(' ')))
        .arg(valid)
        .arg(kept)
        .arg(proxy.hasChildren() ? QString() : QStringLiteral(" childless"));
}

// The proxy's row, layout and reset signals as text, appended to `log`. A reset while the source is
// being deleted is left out: the page's proxy announces that its rows are gone, Qt's empties
// without a signal.
void record(QAbstractProxyModel& proxy, QObject& owner, QStringList& log)
{
    const auto range = [&log](const char* what) {
        return [&log, what](const QModelIndex&, int first, int last) { log << QStringLiteral("%1%2-%3").arg(QLatin1String(what)).arg(first).arg(last); };
    };
    QObject::connect(&proxy, &QAbstractItemModel::rowsInserted, &owner, range("+"));
    QObject::connect(&proxy, &QAbstractItemModel::rowsRemoved, &owner, range("-"));
    QObject::connect(&proxy, &QAbstractItemModel::layoutChanged, &owner, [&log] { log << QStringLiteral("layout"); });
    QObject::connect(&proxy, &QAbstractItemModel::modelAboutToBeReset, &owner, [&log, &proxy] {
        if (proxy.sourceModel())
            log << QStringLiteral("resetting");
    });
    QObject::connect(&proxy, &QAbstractItemModel::modelReset, &owner, [&log, &proxy] {
        if (proxy.sourceModel())
            log << QStringLiteral("reset");
    });
    QObject::connect(&proxy, &QAbstractItemModel::dataChanged, &owner, [&log](const QModelIndex& from, const QModelIndex& to) {
        log << QStringLiteral("changed %1,%2 to %3,%4").arg(from.row()).arg(from.column()).arg(to.row()).arg(to.column());
    });
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
    explicit Model(const QVariantList& values, QObject* parent = nullptr)
        : QStandardItemModel(parent)
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
            row << (column == last ? ::item(other) : column == last - 1 ? ::item(value)
                                                                        : new QStandardItem);
        return row;
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        reads += role == Qt::UserRole;
        return QStandardItemModel::data(index, role);
    }
    mutable int reads = 0;
    void reload(const QVariantList& values) // new contents behind one reset, the columns kept
    {
        beginResetModel();
        blockSignals(true);
        setRowCount(0);
        fill(values);
        blockSignals(false);
        endResetModel();
    }
    void setSilently(int row, const QVariant& value) // as a source that forgets to signal
    {
        blockSignals(true);
        setData(index(row, columnCount() - 2), value, Qt::UserRole);
        blockSignals(false);
    }
    void refresh(int first = 0, int last = -1) // every column of the rows, no role named
    {
        emit dataChanged(index(first, 0), index(last < 0 ? rowCount() - 1 : last, columnCount() - 1));
    }
};

// Changes applied alike to both proxies' sources, on {10, 9, 10, 2, 9, 10, 0, 2}.
const struct
{
    const char* name;
    void (*apply)(Model& source, Sorting& proxy);
} changes[] = {
    {"append a row", [](Model& s, Sorting&) { s.appendRow(s.makeRow(2)); }},
    {"insert a row", [](Model& s, Sorting&) { s.insertRow(3, s.makeRow(1)); }},
    // One insertion, into the first column, keys none of the shown rows has.
    {"append rows at once", [](Model& s, Sorting&) { s.invisibleRootItem()->appendRows({item(5), item(1), item(11), item(5)}); }},
    {"insert rows at once", [](Model& s, Sorting&) { s.invisibleRootItem()->insertRows(2, {item(12), item(-1), item(12)}); }},
    {"remove a row", [](Model& s, Sorting&) { s.removeRow(2); }},
    {"remove a range", [](Model& s, Sorting&) { s.removeRows(2, 4); }},
    {"remove all rows", [](Model& s, Sorting&) { s.removeRows(0, s.rowCount()); }},
    {"remove rows through the proxy", [](Model&, Sorting& p) { p.model().removeRows(1, 3); }},
    {"remove rows past the end", [](Model& s, Sorting& p) { if (p.model().removeRows(7, 2)) s.clear(); }},
    {"a value past all others", [](Model& s, Sorting&) { s.setData(s.index(1, 0), 99, Qt::UserRole); }},
    {"a value others share", [](Model& s, Sorting&) { s.setData(s.index(6, 0), 10, Qt::UserRole); }},
    {"a value equal to its neighbour's", [](Model& s, Sorting&) { s.setData(s.index(4, 0), 10, Qt::UserRole); }},
    {"equal neighbour, then every row refreshed", [](Model& s, Sorting&) {
         s.setData(s.index(4, 0), 10, Qt::UserRole);
         s.refresh();
     }},
    {"sorted the other way, then every row refreshed", [](Model& s, Sorting& p) {
         p.model().sort(0, p.sortOrder() == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder);
         s.refresh();
     }},
    {"one value changed silently, then its row refreshed", [](Model& s, Sorting&) { s.setSilently(3, 9), s.refresh(3, 3); }},
    {"another column's value", [](Model& s, Sorting&) { s.setData(s.index(6, 1), 42, Qt::UserRole); }},
    {"values changed silently, then invalidate()", [](Model& s, Sorting& p) {
         s.setSilently(0, -3), s.setSilently(5, 4), s.setSilently(6, 10);
         p.invalidate();
     }},
    {"invalidate() on sorted rows", [](Model&, Sorting& p) { p.invalidate(); }},
    {"reset, columns cleared", [](Model& s, Sorting&) { s.clear(); s.fill({2, 10, 0, 9, 2}); }},
    {"reset, columns kept", [](Model& s, Sorting&) { s.reload({2, 10, 0, 9, 2}); }},
    {"source sorted", [](Model& s, Sorting&) { s.sort(1, Qt::DescendingOrder); }},
    {"column inserted before", [](Model& s, Sorting&) { s.insertColumn(0); }},
    {"column removed before", [](Model& s, Sorting&) { s.insertColumn(0); s.removeColumn(0); }},
    {"sort column removed", [](Model& s, Sorting&) { s.removeColumn(0); }},
    {"every column removed", [](Model& s, Sorting&) { s.removeColumns(0, s.columnCount()); }},
    {"sort column removed, a row inserted", [](Model& s, Sorting&) { s.removeColumn(0); s.insertRow(3, s.makeRow(0, 8)); }},
    {"sort column removed, rows inserted at once", [](Model& s, Sorting&) {
         s.removeColumn(0);
         s.invisibleRootItem()->insertRows(5, {item(1), item(2), item(3)});
     }},
    {"sort column removed, sort role changed", [](Model& s, Sorting& p) { s.removeColumn(0); p.setSortRole(Qt::DisplayRole); }},
    {"sort column removed, case sensitivity changed", [](Model& s, Sorting& p) { s.removeColumn(0); p.setSortCaseSensitivity(Qt::CaseInsensitive); }},
    {"sort column removed, locale awareness changed", [](Model& s, Sorting& p) { s.removeColumn(0); p.setSortLocaleAware(true); }},
    {"sort column removed, invalidate()", [](Model& s, Sorting& p) { s.removeColumn(0); p.invalidate(); }},
    {"sorted by the other column", [](Model&, Sorting& p) { p.model().sort(1, Qt::AscendingOrder); }},
    {"sorted again the same way", [](Model&, Sorting& p) { p.model().sort(p.sortColumn(), p.sortOrder()); }},
    {"sort undone", [](Model&, Sorting& p) { p.model().sort(-1); }},
    {"sort role: text", [](Model&, Sorting& p) { p.setSortRole(Qt::DisplayRole); }},
    {"sort role: text, any case", [](Model&, Sorting& p) { p.setSortRole(Qt::DisplayRole), p.setSortCaseSensitivity(Qt::CaseInsensitive); }},
    {"sort role: text, locale aware", [](Model&, Sorting& p) { p.setSortRole(Qt::DisplayRole), p.setSortLocaleAware(true); }},
    {"source deleted", [](Model& s, Sorting&) { delete &s; }},
    {"another source, then the first one changed", [](Model& s, Sorting& p) {
         p.model().setSourceModel(new Model({3, 1, 2}, s.parent()));
         s.removeRows(0, 2);
         s.setData(s.index(0, 0), 99, Qt::UserRole);
     }},
    // New contents of every kind Qt orders, each row compared with the others' values.
    {"ints", [](Model& s, Sorting&) { s.reload({3, -7, QVariant(), 3, 0, INT_MIN, INT_MAX, -7, QVariant(), 12}); }},
    {"doubles", [](Model& s, Sorting&) { s.reload({0.0, -0.0, 2.5, QVariant(), -HUGE_VAL, HUGE_VAL, -2.5, 1e-300, -1e-300, 0.0}); }},
    {"only invalid", [](Model& s, Sorting&) { s.reload({QVariant(), QVariant(), QVariant()}); }},
    {"strings", [](Model& s, Sorting&) { s.reload({"b", "B", "a", QVariant(), "", "ab", "A", "Ab", "09:30", "中国", "b"}); }},
    {"strings, any case", [](Model& s, Sorting& p) { s.reload({"b", "B", "a", "", "ab", "A", "Ab"}), p.setSortCaseSensitivity(Qt::CaseInsensitive); }},
    {"strings, locale aware", [](Model& s, Sorting& p) { p.setSortLocaleAware(true), s.reload({"b", "B", "a", "é", "e", "f", "中"}); }},
    {"dates", [](Model& s, Sorting&) { s.reload({QDate(2024, 3, 1), QDate(2023, 1, 1), QDate(2024, 1, 1), QDate(2023, 1, 1)}); }},
    {"long longs", [](Model& s, Sorting&) { s.reload({qlonglong(5), LLONG_MAX, qlonglong(-1), LLONG_MIN, qlonglong(5)}); }},
};

// Text of a column's sort values in proxy order.
QString sortValues(const QAbstractItemModel& proxy, int column = 0)
{
    QStringList values;
    for (int row = 0; row < proxy.rowCount(); ++row) {
        const QVariant value = proxy.index(row, column).data(Qt::UserRole);
        values << (value.isValid() ? value.toString() : QStringLiteral("-"));
    }
    return values.join(QLatin1Char(' '));
}

QString sourceRows(const QAbstractProxyModel& proxy)
{
    QStringList rows;
    for (int row = 0; row < proxy.rowCount(); ++row)
        rows << QString::number(proxy.mapToSource(proxy.index(row, 0)).row());
    return rows.join(QLatin1Char(' '));
}

// One column of sort values under Qt::UserRole.
QList<QStandardItem*> items(const QVariantList& values)
{
    QList<QStandardItem*> column;
    for (const QVariant& value : values)
        column << item(value);
    return column;
}

} // namespace

class tst_ReliabilitySortProxy : public QObject
{
    Q_OBJECT

private slots:
    void sourceChanges_data();
    void sourceChanges();
    void sourceRowsMoved();
    void order_data();
    void order();
    void changedRows_data();
    void changedRows();
    void changedRangesAgainstQt();
    void rowsArrivingTogether_data();
    void rowsArrivingTogether();
    void noFilterOnOffer();
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
// proxies are in the same state after each step, then both sent the same row and layout
// signals. Both run under the model tester, and the map is read while each change is announced,
// as a view reads it.
void tst_ReliabilitySortProxy::sourceChanges()
{
    QFETCH(int, column);
    QFETCH(int, direction);
    QFETCH(int, change);
    QStringList states[2], signals_[2];
    for (const bool page : {false, true}) {
        const std::unique_ptr<Sorting> sorting = makeProxy(page);
        QAbstractProxyModel& proxy = sorting->model();
        QObject owner;
        QPointer<Model> source = new Model({10, 9, 10, 2, 9, 10, 0, 2}, &owner);
        sorting->setSortRole(Qt::UserRole);
        proxy.setSourceModel(source);
        const Tester tester(&proxy, Tester::FailureReportingMode::QtTest);
        const auto mapFirst = [&] { if (source) proxy.mapFromSource(source->index(0, 0)); };
        connect(&proxy, &QAbstractItemModel::rowsInserted, &owner, mapFirst);
        connect(&proxy, &QAbstractItemModel::rowsRemoved, &owner, mapFirst);
        QList<QPersistentModelIndex> cells, sourceCells;
        for (int row = 0; row < proxy.rowCount(); ++row)
            cells << proxy.index(row, 1), sourceCells << proxy.mapToSource(cells.last());
        record(proxy, owner, signals_[page]);
        source->reads = 0;
        proxy.sort(column, Qt::SortOrder(direction));
        // With keys, each value read once per sort instead of twice per comparison.
        QVERIFY(!page || source->reads <= source->rowCount());
        states[page] << state(*sorting, cells, sourceCells);
        changes[change].apply(*source, *sorting);
        states[page] << state(*sorting, cells, sourceCells);
        signals_[page] << QStringLiteral("--");
        if (source)
            source->appendRow(source->makeRow(source->index(0, source->columnCount() - 2).data(Qt::UserRole)));
        else
            proxy.sort(0);
        states[page] << state(*sorting, cells, sourceCells);
    }
    QCOMPARE(states[1], states[0]);
    QCOMPARE(signals_[1], signals_[0]);
}

// Moved rows are ordered anew from the source's new order, equal values included. The move is
// QStringListModel's: QStandardItemModel cannot move rows.
void tst_ReliabilitySortProxy::sourceRowsMoved()
{
    for (const auto& [column, direction] : {std::pair(-1, Qt::AscendingOrder), {0, Qt::AscendingOrder}, {0, Qt::DescendingOrder}}) {
        QStringList seen[2];
        for (const bool page : {false, true}) {
            const std::unique_ptr<Sorting> sorting = makeProxy(page);
            QAbstractProxyModel& proxy = sorting->model();
            QStringListModel source({"b", "a", "c", "a", "b", "a"});
            proxy.setSourceModel(&source);
            const Tester tester(&proxy, Tester::FailureReportingMode::QtTest);
            QObject owner;
            record(proxy, owner, seen[page]);
            proxy.sort(column, direction);
            const QList<QPersistentModelIndex> cells{proxy.index(1, 0)}, sourceCells{proxy.mapToSource(cells[0])};
            QVERIFY(source.moveRows(QModelIndex(), 0, 2, QModelIndex(), 5));
            seen[page] << state(*sorting, cells, sourceCells);
        }
        QCOMPARE(seen[1], seen[0]);
    }
}

void tst_ReliabilitySortProxy::order_data()
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("ascending");
    QTest::newRow("NaN after every number") << QVariantList{4.0, nan, 3.0, -inf, nan, inf, 0.5, -2.0}
                                            << "-inf -2 0.5 3 4 inf nan nan";
    QTest::newRow("float NaN") << QVariantList{2.5f, std::nanf(""), 1.0f, -1.5f} << "-1.5 1 2.5 nan";
    QTest::newRow("ints before strings") << QVariantList{"11", 7, "5", 12, "b"} << "7 12 11 5 b";
    QTest::newRow("ints before doubles") << QVariantList{2, 1.5, 1, 2.5, nan} << "1 2 1.5 2.5 nan";
    QTest::newRow("invalid last") << QVariantList{"x", QVariant(), 3, "a", nan} << "3 nan a x -";
    QTest::newRow("dates after strings") << QVariantList{QDate(2024, 1, 2), "y", QDate(2023, 5, 6), 1.5}
                                         << "1.5 y 2023-05-06 2024-01-02";
    QTest::newRow("one type, no NaN") << QVariantList{5, -1, 3, 0} << "-1 0 3 5";
}

// However the rows arrive, they end in the same order: sorted after they all came, appended one
// by one (both ways round), all in one insertion, or each value set on a row already shown.
// Descending is the same order reversed.
void tst_ReliabilitySortProxy::order()
{
    QFETCH(QVariantList, values);
    QFETCH(QString, ascending);
    QStringList reversed = ascending.split(QLatin1Char(' '));
    std::reverse(reversed.begin(), reversed.end());
    const QString descending = reversed.join(QLatin1Char(' '));
    for (const Qt::SortOrder direction : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        for (const char* arrival : {"sorted after", "one by one", "one by one, last first", "at once", "set in place"}) {
            const QByteArray how = arrival;
            QStandardItemModel source;
            HistorySortProxyModel proxy;
            proxy.setSortRole(Qt::UserRole);
            proxy.setSourceModel(&source);
            const Tester tester(&proxy, Tester::FailureReportingMode::QtTest);
            QVariantList list = values;
            if (how.endsWith("last first"))
                std::reverse(list.begin(), list.end());
            if (how == "sorted after")
                source.appendColumn(items(list));
            else if (how == "set in place")
                source.appendColumn(items(QVector<QVariant>(list.size(), 0).toList()));
            else
                source.setColumnCount(1);
            proxy.sort(0, direction);
            if (how.startsWith("one by one")) {
                for (const QVariant& value : list)
                    source.appendRow(item(value));
            } else if (how == "at once") {
                source.invisibleRootItem()->appendRows(items(list));
            } else if (how == "set in place") {
                for (int row = 0; row < list.size(); ++row)
                    source.setData(source.index(row, 0), list.at(row), Qt::UserRole);
            }
            QVERIFY2(sortValues(proxy) == (direction == Qt::AscendingOrder ? ascending : descending),
                     qPrintable(QStringLiteral("%1, %2: %3").arg(QLatin1String(arrival)).arg(direction).arg(sortValues(proxy))));
        }
    }
}

void tst_ReliabilitySortProxy::changedRows_data()
{
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<int>("direction");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("current");
    QTest::addColumn<QString>("rows"); // source rows in proxy order after the steps
    QTest::addColumn<int>("layouts");  // layout changes the steps announced
    // Steps: "row=value" set with its signal, "row:=value" set silently, "refresh first-last".
    QTest::newRow("an equal key stays put") << QVariantList{1, 2, 3, 3} << 0 << QStringList{"1=3"} << 1 << "0 1 2 3" << 0;
    QTest::newRow("an equal key stays put, descending") << QVariantList{1, 2, 3, 3} << 1 << QStringList{"1=3"} << 1 << "2 3 1 0" << 0;
    QTest::newRow("a moved row goes after its equal keys") << QVariantList{1, 3, 3, 2} << 0 << QStringList{"0=3"} << 0 << "3 1 2 0" << 1;
    QTest::newRow("a refresh that changes nothing keeps equal keys") << QVariantList{1, 3, 3, 2} << 0
                                                                     << QStringList{"0=3", "refresh 0-3"} << 0 << "3 1 2 0" << 1;
    QTest::newRow("a refresh that moves one row keeps the equal keys") << QVariantList{1, 3, 3, 2} << 0
                                                                       << QStringList{"0=3", "3:=5", "refresh 0-3"} << 3 << "1 2 0 3" << 2;
    QTest::newRow("only the row out of order moves") << QVariantList{1, 2, 2, 2, 4} << 0
                                                     << QStringList{"4:=0", "2:=2", "refresh 0-4"} << 2 << "4 0 1 2 3" << 1;
    QTest::newRow("values swapped in a range") << QVariantList{1, 2, 3, 4} << 0 << QStringList{"1:=3", "2:=2", "refresh 1-2"}
                                               << 1 << "0 2 1 3" << 1;
    QTest::newRow("a value past all others among rows that stay") << QVariantList{1, 2, 3, 4, 5} << 0
                                                                  << QStringList{"1:=9", "refresh 0-4"} << 1 << "0 2 3 4 1" << 1;
    QTest::newRow("changed rows reversed") << QVariantList{1, 2, 3, 4, 5, 6} << 1
                                           << QStringList{"1:=5", "2:=4", "3:=3", "4:=2", "refresh 1-4"} << 4 << "5 1 2 3 4 0" << 1;
    QTest::newRow("every row out of order") << QVariantList{3, 1, 2} << 0 << QStringList{"0:=1", "1:=2", "2:=3", "refresh 0-2"}
                                            << 0 << "0 1 2" << 1;
}

// After a dataChanged, only the rows now out of order move, each after the rows of an equal key;
// nothing is announced when nothing moves; the current row stays on its source row.
void tst_ReliabilitySortProxy::changedRows()
{
    QFETCH(QVariantList, values);
    QFETCH(int, direction);
    QFETCH(QStringList, steps);
    QFETCH(int, current);
    QFETCH(QString, rows);
    QFETCH(int, layouts);
    QStandardItemModel source;
    source.appendColumn(items(values));
    HistorySortProxyModel proxy;
    proxy.setSortRole(Qt::UserRole);
    proxy.setSourceModel(&source);
    const Tester tester(&proxy, Tester::FailureReportingMode::QtTest);
    proxy.sort(0, Qt::SortOrder(direction));
    const QPersistentModelIndex currentIndex = proxy.mapFromSource(source.index(current, 0));
    int layoutChanges = 0;
    connect(&proxy, &QAbstractItemModel::layoutChanged, &source, [&] { ++layoutChanges; });
    for (const QString& step : steps) {
        if (step.startsWith(QLatin1String("refresh "))) {
            const QStringList range = step.mid(8).split(QLatin1Char('-'));
            emit source.dataChanged(source.index(range[0].toInt(), 0), source.index(range[1].toInt(), 0));
        } else {
            const bool silent = step.contains(QLatin1String(":="));
            const QStringList parts = step.split(QRegularExpression(QStringLiteral(":?=")));
            source.blockSignals(silent);
            source.setData(source.index(parts[0].toInt(), 0), parts[1].toInt(), Qt::UserRole);
            source.blockSignals(false);
        }
    }
    QCOMPARE(sourceRows(proxy), rows);
    QCOMPARE(layoutChanges, layouts);
    QCOMPARE(proxy.mapToSource(currentIndex).row(), current);
}

// With no two keys equal there is one sorted order, so any change of a range of rows must end
// where Qt's proxy ends, announced by a layout change exactly when Qt announces one. Ranges and
// new values drawn from a fixed seed: every run tries the same 300 changes.
void tst_ReliabilitySortProxy::changedRangesAgainstQt()
{
    QRandomGenerator random(26);
    for (int round = 0; round < 300; ++round) {
        const int rows = 1 + int(random.bounded(40));
        QVariantList values;
        for (int row = 0; row < rows; ++row)
            values << row * 3;
        std::shuffle(values.begin(), values.end(), random);
        const int first = int(random.bounded(rows));
        const int last = first + int(random.bounded(rows - first));
        const Qt::SortOrder direction = random.bounded(2) ? Qt::DescendingOrder : Qt::AscendingOrder;
        QVector<int> fresh(rows); // new keys, none equal to another or to an old one
        std::iota(fresh.begin(), fresh.end(), 0);
        std::shuffle(fresh.begin(), fresh.end(), random);
        QVariantList changed;
        for (int row = first; row <= last; ++row)
            changed << (random.bounded(3) ? QVariant(3 * fresh.at(row) + 1) : values.at(row));
        QString seen[2];
        int layouts[2] = {};
        for (const bool page : {false, true}) {
            const std::unique_ptr<Sorting> sorting = makeProxy(page);
            QAbstractProxyModel& proxy = sorting->model();
            QStandardItemModel source;
            source.appendColumn(items(values));
            sorting->setSortRole(Qt::UserRole);
            proxy.setSourceModel(&source);
            const Tester tester(&proxy, Tester::FailureReportingMode::QtTest);
            proxy.sort(0, direction);
            connect(&proxy, &QAbstractItemModel::layoutChanged, &source, [&] { ++layouts[page]; });
            source.blockSignals(true);
            for (int row = first; row <= last; ++row)
                source.setData(source.index(row, 0), changed.at(row - first), Qt::UserRole);
            source.blockSignals(false);
            emit source.dataChanged(source.index(first, 0), source.index(last, 0));
            seen[page] = sourceRows(proxy);
        }
        QVERIFY2(seen[1] == seen[0] && layouts[1] == layouts[0],
                 qPrintable(QStringLiteral("round %1: %2 (%3 layouts) against Qt's %4 (%5)")
                                .arg(round)
                                .arg(seen[1])
                                .arg(layouts[1])
                                .arg(seen[0])
                                .arg(layouts[0])));
    }
}

void tst_ReliabilitySortProxy::rowsArrivingTogether_data()
{
    QTest::addColumn<int>("direction");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QStringList>("inserted");
    // Shown: 1 2 2 3 (rows 0-3); arriving together: 2 1 2 (rows 4-6).
    QTest::newRow("ascending") << 0 << "0 5 1 2 4 6 3" << QStringList{"+3-4", "+1-1"};
    QTest::newRow("descending") << 1 << "3 1 2 4 6 0 5" << QStringList{"+4-4", "+3-4"};
}

// Rows that arrive in one insertion go after the shown rows of an equal key, in arrival order,
// in one insertion per place.
void tst_ReliabilitySortProxy::rowsArrivingTogether()
{
    QFETCH(int, direction);
    QFETCH(QString, rows);
    QFETCH(QStringList, inserted);
    QStandardItemModel source;
    source.appendColumn(items({1, 2, 2, 3}));
    HistorySortProxyModel proxy;
    proxy.setSortRole(Qt::UserRole);
    proxy.setSourceModel(&source);
    const Tester tester(&proxy, Tester::FailureReportingMode::QtTest);
    proxy.sort(0, Qt::SortOrder(direction));
    QStringList log;
    QObject owner;
    record(proxy, owner, log);
    source.invisibleRootItem()->appendRows(items({2, 1, 2}));
    QCOMPARE(sourceRows(proxy), rows);
    QCOMPARE(log, inserted);
}

// A host that would filter the page's table finds no filter, instead of one that does nothing.
void tst_ReliabilitySortProxy::noFilterOnOffer()
{
    HistorySortProxyModel proxy;
    QObject* asObject = &proxy;
    QVERIFY(!qobject_cast<QSortFilterProxyModel*>(asObject));
    QVERIFY(qobject_cast<QAbstractProxyModel*>(asObject));
}

QTEST_GUILESS_MAIN(tst_ReliabilitySortProxy)
#include "tst_reliability_sortproxy.moc"
