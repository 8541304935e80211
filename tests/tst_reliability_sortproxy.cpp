// The page's sorting proxy puts rows in exactly the order a plain QSortFilterProxyModel would,
// for every column of every column set and for values of any mix of types, while asking its
// source for each value once per sort instead of twice per comparison; and it keeps that order,
// its map and its persistent indexes through every kind of change of its source.

#include "ColumnSetCatalog.h"
#include "HistorySortProxyModel.h"
#include "UserData.h"
#include "UserDataManager.h"
#include "myHistoryModel.h"
#include "service/HistoryGenerator.h"
#include "service/HistoryWindow.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QStandardItemModel>
#include <QStringListModel>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <memory>
#include <vector>

using namespace VEK_SC_Space;

namespace {

constexpr int AccountKey = 4802;

// A proxy sorting by the raw values, as the page's does.
void attach(QSortFilterProxyModel& proxy, QAbstractItemModel& source)
{
    proxy.setSortRole(Qt::UserRole);
    proxy.setSourceModel(&source);
}

// Source rows in proxy order; a list, so that a failed comparison names the first difference.
QList<int> order(const QSortFilterProxyModel& proxy)
{
    QList<int> rows;
    for (int row = 0; row < proxy.rowCount(); ++row)
        rows.append(proxy.mapToSource(proxy.index(row, 0)).row());
    return rows;
}

// A one-column model whose values are given as variants, counting how often the sort role is
// read.
class ValueModel : public QStandardItemModel
{
public:
    explicit ValueModel(const QVariantList& values)
    {
        setColumnCount(1);
        for (const QVariant& value : values)
            appendRow(item(value));
    }

    static QStandardItem* item(const QVariant& value)
    {
        auto* item = new QStandardItem(value.toString());
        item->setData(value, Qt::UserRole);
        return item;
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::UserRole)
            ++userRoleReads;
        return QStandardItemModel::data(index, role);
    }

    mutable int userRoleReads = 0;
};

// Records of one set: the service's, then records of random bytes (NaN, odd texts, unknown codes).
class GeneratedRecords
{
public:
    GeneratedRecords(const ColumnSetEntry& set, int generated, int random) : set(set)
    {
        const HistoryWindow window(QDate(2024, 3, 15), 30, generated);
        const HistoryGenerator generator(QStringLiteral("880012345"), set.accountType, window);
        for (int i = 0; i < generated; ++i)
            raw.push_back(generator.makeRecord(set.kind, i));
        QRandomGenerator bytes(int(set.recordSize));
        for (int i = 0; i < random; ++i) {
            void* record = set.allocate();
            auto* data = static_cast<unsigned char*>(record);
            for (std::size_t b = 0; b < set.recordSize; ++b)
                data[b] = static_cast<unsigned char>(bytes.bounded(256));
            raw.push_back(record);
        }
        for (void* record : raw)
            records.append(set.wrap(record));
    }
    ~GeneratedRecords()
    {
        for (void* record : raw)
            set.release(record);
    }

    const ColumnSetEntry& set;
    std::vector<void*> raw;
    QList<std::any> records;
};

int columnOf(const QAbstractItemModel& model, const QString& label)
{
    for (int column = 0; column < model.columnCount(); ++column) {
        if (model.headerData(column, Qt::Horizontal).toString() == label)
            return column;
    }
    return -1;
}

// The source of the change tests: ints with repeats in the sort column "value" and a column
// "other", both found by their labels wherever columns come and go.
class TableModel : public QStandardItemModel
{
public:
    TableModel()
    {
        setSortRole(Qt::UserRole);
        fill({3, 1, 3, 2, 1, 3, 0, 2});
    }

    void fill(const QVector<int>& values)
    {
        setHorizontalHeaderLabels({QStringLiteral("value"), QStringLiteral("other")});
        for (int i = 0; i < values.size(); ++i)
            appendRow(makeRow(values.at(i), i * 5 % 7));
    }

    // New contents behind one reset, the columns staying.
    void reload(const QVector<int>& values)
    {
        beginResetModel();
        {
            const QSignalBlocker quiet(this);
            setRowCount(0);
            fill(values);
        }
        endResetModel();
    }

    QList<QStandardItem*> makeRow(int value, int other = 0) const
    {
        QList<QStandardItem*> row;
        for (int column = 0; column < columnCount(); ++column)
            row.append(new QStandardItem);
        row[valueColumn()]->setData(value, Qt::UserRole);
        row[otherColumn()]->setData(other, Qt::UserRole);
        return row;
    }

    int valueColumn() const { return columnOf(*this, QStringLiteral("value")); }
    int otherColumn() const { return columnOf(*this, QStringLiteral("other")); }
};

bool isSorted(const QAbstractItemModel& proxy, Qt::SortOrder order)
{
    const int column = columnOf(proxy, QStringLiteral("value"));
    QVector<int> values;
    for (int row = 0; row < proxy.rowCount(); ++row) {
        const QVariant value = proxy.index(row, column).data(Qt::UserRole);
        values.append(value.isValid() ? value.toInt() : INT_MAX);    // invalid values sort last
    }
    return order == Qt::AscendingOrder ? std::is_sorted(values.cbegin(), values.cend())
                                       : std::is_sorted(values.crbegin(), values.crend());
}

using Source = TableModel;
using Proxy = QSortFilterProxyModel;

const struct SourceChange
{
    const char* name;
    // Several rows arrive at once: the plain proxy leaves them unsorted, so only the result being
    // sorted counts.
    bool severalPlaced;
    void (*apply)(Source& source, Proxy& proxy);
} sourceChangeList[] = {
    {"append a row", false, [](Source& s, Proxy&) { s.appendRow(s.makeRow(2)); }},
    {"insert a row in the middle", false, [](Source& s, Proxy&) { s.insertRow(3, s.makeRow(1)); }},
    {"append several rows", true, [](Source& s, Proxy&) {   // one insertion, into the first column
         s.invisibleRootItem()->appendRows({ValueModel::item(2), ValueModel::item(0), ValueModel::item(3)});
     }},
    {"remove a row", false, [](Source& s, Proxy&) { s.removeRow(2); }},
    {"remove a range in the middle", false, [](Source& s, Proxy&) { s.removeRows(2, 4); }},
    {"remove all rows", false, [](Source& s, Proxy&) { s.removeRows(0, s.rowCount()); }},
    {"move a sort value past all others", false, [](Source& s, Proxy&) { s.setData(s.index(1, 0), 9, Qt::UserRole); }},
    {"change a sort value to one that others share", false,
     [](Source& s, Proxy&) { s.setData(s.index(6, 0), 3, Qt::UserRole); }},
    {"change another column", false, [](Source& s, Proxy&) { s.setData(s.index(0, 1), 42, Qt::UserRole); }},
    {"reset with the columns cleared", false, [](Source& s, Proxy&) {
         s.clear();
         s.fill({2, 2, 0, 1, 3});
     }},
    {"reset keeping the columns", false, [](Source& s, Proxy&) { s.reload({2, 2, 0, 1, 3}); }},
    {"sort the source itself", false, [](Source& s, Proxy&) { s.sort(1, Qt::DescendingOrder); }},
    {"insert a column before the sort column", false, [](Source& s, Proxy&) { s.insertColumn(0); }},
    {"remove a column before the sort column", false, [](Source& s, Proxy&) {
         s.insertColumn(0);
         s.removeColumn(0);
     }},
    {"remove rows through the proxy", false, [](Source&, Proxy& p) { p.removeRows(1, 3); }},
};

const struct SortState
{
    const char* name;
    int column;
    Qt::SortOrder order;
} sortStates[] = {{"unsorted", -1, Qt::AscendingOrder}, {"ascending", 0, Qt::AscendingOrder},
                  {"descending", 0, Qt::DescendingOrder}};

// The page's proxy against the plain one over an identical source: the same rows in the same
// order (or sorted, where the plain proxy's order is not), a map that goes both ways, the same
// sort settings.
void compareProxies(const Proxy& page, const Proxy& plain, bool sameOrder)
{
    const QAbstractItemModel& source = *page.sourceModel();
    QCOMPARE(page.rowCount(), source.rowCount());
    QCOMPARE(page.columnCount(), source.columnCount());
    if (sameOrder) {
        QCOMPARE(order(page), order(plain));
    } else {
        QVERIFY(isSorted(page, plain.sortOrder()));
    }
    // Both ways round: every source row shown exactly once.
    for (int row = 0; row < page.rowCount(); ++row) {
        const QModelIndex index = page.index(row, page.columnCount() - 1);
        QCOMPARE(page.mapFromSource(page.mapToSource(index)), index);
    }
    for (int row = 0; row < source.rowCount(); ++row)
        QCOMPARE(page.mapToSource(page.mapFromSource(source.index(row, 0))).row(), row);
    QCOMPARE(page.sortColumn(), plain.sortColumn());
    QCOMPARE(page.sortOrder(), plain.sortOrder());
}

} // namespace

Q_DECLARE_METATYPE(Qt::SortOrder)
Q_DECLARE_METATYPE(Qt::CaseSensitivity)

class tst_ReliabilitySortProxy : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void columnSets_data();
    void columnSets();
    void values_data();
    void values();
    void rowsAfterSorting();
    void underModelTester();
    void rawValuesUntouched();
    void sourceChanges_data();
    void sourceChanges();
    void sourceRowsMoved();
    void sourceDeleted();

private:
    std::unique_ptr<UserData> stock;
    std::unique_ptr<UserData> credit;
};

void tst_ReliabilitySortProxy::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("tst_reliability_sortproxy"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_reliability_sortproxy"));
    stock = std::make_unique<UserData>(1);
    credit = std::make_unique<UserData>(2);
}

void tst_ReliabilitySortProxy::columnSets_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("direction");
    for (int i = 0; i < ColumnSetCount; ++i) {
        QTest::newRow(QByteArray(columnSetCatalog()[i].name).append(" ascending").constData()) << i << int(Qt::AscendingOrder);
        QTest::newRow(QByteArray(columnSetCatalog()[i].name).append(" descending").constData()) << i << int(Qt::DescendingOrder);
    }
}

// Every shown column of every set, on the paged model as the page holds it.
void tst_ReliabilitySortProxy::columnSets()
{
    QFETCH(int, set);
    QFETCH(int, direction);
    const ColumnSetEntry& entry = columnSetCatalog()[set];
    UserData* account = entry.accountType == 2 ? credit.get() : stock.get();
    UserDataManager::instance()->userDataMap().insert(AccountKey, account);
    const auto unregister = qScopeGuard([] { UserDataManager::instance()->userDataMap().remove(AccountKey); });

    GeneratedRecords records(entry, 100, 30);
    std::unique_ptr<TableHeader> header(entry.create());
    TableHeader::clearColumnChoice(header->key());
    header->initUserColumn();
    QList<ColProperty*> columns = header->allColumns();
    myHistoryModel model(QStringLiteral("HistoryTable"), AccountKey);
    model.setHeader(header.get(), columns);
    model.setDataSource(records.records);
    while (model.canFetchMore(QModelIndex()))
        model.loadNextPage();
    QCOMPARE(model.rowCount(), records.records.size());

    QSortFilterProxyModel plain;
    HistorySortProxyModel page;
    attach(plain, model);
    attach(page, model);
    for (int column = 0; column < columns.size(); ++column) {
        plain.sort(column, Qt::SortOrder(direction));
        page.sort(column, Qt::SortOrder(direction));
        QCOMPARE(order(page), order(plain));
    }
    model.setDataSource(QList<std::any>());
    model.resetDataSource();
}

void tst_ReliabilitySortProxy::values_data()
{
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<Qt::CaseSensitivity>("sensitivity");
    QTest::addColumn<bool>("localeAware");
    QTest::addColumn<bool>("keyed");    // sorted from keys: the sort role read once per row

    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const QVariant none;
    const auto cs = Qt::CaseSensitive;

    QTest::newRow("ints with equal values") << QVariantList{3, -7, 3, 0, INT_MIN, INT_MAX, -7, 12} << cs << false << true;
    QTest::newRow("ints and invalid values") << QVariantList{5, none, -1, none, 5, 0} << cs << false << true;
    QTest::newRow("doubles with signed zeros and infinities")
        << QVariantList{0.0, -0.0, 2.5, -inf, inf, -2.5, 1e-300, -1e-300, 0.0, -0.0} << cs << false << true;
    QTest::newRow("doubles and invalid values") << QVariantList{none, 1.5, none, -0.25, 99.0, none} << cs << false << true;
    QTest::newRow("only invalid values") << QVariantList{none, none, none} << cs << false << true;
    QTest::newRow("strings, case sensitive")
        << QVariantList{"b", "B", "a", "", "ab", "A", "09:30:01", "中国平安", "b", QString()} << cs << false << true;
    QTest::newRow("strings, case insensitive")
        << QVariantList{"b", "B", "a", "", "ab", "A", "Ab", "aB", "b"} << Qt::CaseInsensitive << false << true;
    QTest::newRow("strings, locale aware") << QVariantList{"b", "B", "a", "é", "e", "f", "中"} << cs << true << true;
    QTest::newRow("strings and invalid values") << QVariantList{"x", none, "a", none, ""} << cs << false << true;
    QTest::newRow("a NaN among doubles") << QVariantList{2.0, nan, 1.0, 3.0, nan, 0.5} << cs << false << false;
    QTest::newRow("ints mixed with strings") << QVariantList{2, "10", 1, "x", 3} << cs << false << false;
    QTest::newRow("ints mixed with doubles") << QVariantList{2, 1.5, 1, 2.5} << cs << false << false;
    QTest::newRow("dates") << QVariantList{QDate(2024, 3, 1), QDate(2023, 1, 1), QDate(2024, 1, 1)} << cs << false << false;
}

// Against QSortFilterProxyModel itself, value by value, both directions.
void tst_ReliabilitySortProxy::values()
{
    QFETCH(QVariantList, values);
    QFETCH(Qt::CaseSensitivity, sensitivity);
    QFETCH(bool, localeAware);
    QFETCH(bool, keyed);

    ValueModel plainSource(values);
    ValueModel pageSource(values);
    QSortFilterProxyModel plain;
    HistorySortProxyModel page;
    for (QSortFilterProxyModel* proxy : {&plain, static_cast<QSortFilterProxyModel*>(&page)}) {
        proxy->setSortRole(Qt::UserRole);
        proxy->setSortCaseSensitivity(sensitivity);
        proxy->setSortLocaleAware(localeAware);
    }
    plain.setSourceModel(&plainSource);
    page.setSourceModel(&pageSource);

    for (const Qt::SortOrder direction : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        plainSource.userRoleReads = 0;
        pageSource.userRoleReads = 0;
        plain.sort(0, direction);
        page.sort(0, direction);
        QCOMPARE(order(page), order(plain));
        // Keyed: each value read once. Otherwise the attempt to key the column comes on top of
        // the plain proxy's two reads per comparison.
        const QByteArray reads = QByteArray::number(pageSource.userRoleReads);
        if (keyed)
            QVERIFY2(pageSource.userRoleReads <= values.size(), reads.constData());
        else
            QVERIFY2(pageSource.userRoleReads > plainSource.userRoleReads, reads.constData());
    }
}

// Rows arriving after a sort are placed as the plain proxy places them: the keys of the sort
// are gone by then, the comparison falls back to the source's values.
void tst_ReliabilitySortProxy::rowsAfterSorting()
{
    const QVariantList first{5, 1, 9, 3};
    ValueModel plainSource(first);
    ValueModel pageSource(first);
    QSortFilterProxyModel plain;
    HistorySortProxyModel page;
    attach(plain, plainSource);
    attach(page, pageSource);
    plain.sort(0, Qt::DescendingOrder);
    page.sort(0, Qt::DescendingOrder);

    for (const QVariant& value : {QVariant(4), QVariant(10), QVariant(), QVariant(0), QVariant(5)}) {
        plainSource.appendRow(ValueModel::item(value));
        pageSource.appendRow(ValueModel::item(value));
        QCOMPARE(order(page), order(plain));
    }
    QCOMPARE(page.rowCount(), 9);
}

void tst_ReliabilitySortProxy::underModelTester()
{
    ValueModel source(QVariantList{4, 2, QVariant(), 8, 6});
    HistorySortProxyModel proxy;
    proxy.setSortRole(Qt::UserRole);
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.setSourceModel(&source);
    proxy.sort(0, Qt::AscendingOrder);
    QCOMPARE(proxy.index(0, 0).data(Qt::UserRole), QVariant(2));
    source.appendRow(ValueModel::item(1));
    source.removeRows(1, 2);
    proxy.sort(0, Qt::DescendingOrder);
    QCOMPARE(proxy.index(0, 0).data(Qt::UserRole), QVariant(8));
    proxy.sort(-1);
    QCOMPARE(order(proxy), (QList<int>{0, 1, 2, 3}));
}

// What the proxy serves under every role is the source's, before and after a sort.
void tst_ReliabilitySortProxy::rawValuesUntouched()
{
    const QVariantList values{2.5, -1.0, QVariant(), 7.25};
    ValueModel source(values);
    HistorySortProxyModel proxy;
    attach(proxy, source);
    proxy.sort(0, Qt::AscendingOrder);
    for (int row = 0; row < proxy.rowCount(); ++row) {
        const QModelIndex index = proxy.index(row, 0);
        const QModelIndex sourceIndex = proxy.mapToSource(index);
        QCOMPARE(index.data(Qt::UserRole), sourceIndex.data(Qt::UserRole));
        QCOMPARE(index.data(Qt::UserRole).userType(), values.at(sourceIndex.row()).userType());
        QCOMPARE(index.data(Qt::DisplayRole), sourceIndex.data(Qt::DisplayRole));
    }
}

void tst_ReliabilitySortProxy::sourceChanges_data()
{
    QTest::addColumn<int>("sortColumn");
    QTest::addColumn<Qt::SortOrder>("direction");
    QTest::addColumn<int>("change");
    for (const SortState& state : sortStates) {
        for (int change = 0; change < int(std::size(sourceChangeList)); ++change)
            QTest::addRow("%s, %s", state.name, sourceChangeList[change].name) << state.column << state.order << change;
    }
}

// Every kind of change, applied to the page's proxy's source and to a plain proxy's identical
// one, then once more a row appended: both proxies agree, and persistent indexes made before
// the sort stay on their source rows.
void tst_ReliabilitySortProxy::sourceChanges()
{
    QFETCH(int, sortColumn);
    QFETCH(Qt::SortOrder, direction);
    QFETCH(int, change);
    const SourceChange& sourceChange = sourceChangeList[change];

    TableModel plainSource;
    TableModel pageSource;
    QSortFilterProxyModel plain;
    HistorySortProxyModel page;
    attach(plain, plainSource);
    attach(page, pageSource);
    QAbstractItemModelTester plainTester(&plain, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester pageTester(&page, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // Views map indexes while a change is announced: the map must be current at every step.
    const auto mapFirstRow = [&] { page.mapFromSource(pageSource.index(0, 0)); };
    connect(&page, &QAbstractItemModel::rowsInserted, this, mapFirstRow);
    connect(&page, &QAbstractItemModel::rowsRemoved, this, mapFirstRow);
    QList<QPersistentModelIndex> cells;
    QList<QPersistentModelIndex> sourceCells;
    for (int row = 0; row < page.rowCount(); ++row) {
        cells.append(page.index(row, 1));
        sourceCells.append(page.mapToSource(cells.last()));
    }

    plain.sort(sortColumn, direction);
    page.sort(sortColumn, direction);
    QCOMPARE(page.sortColumn(), sortColumn);
    QCOMPARE(page.sortOrder(), direction);
    const bool sameOrder = sortColumn < 0 || !sourceChange.severalPlaced;
    const auto check = [&] {
        compareProxies(page, plain, sameOrder);
        for (int i = 0; i < cells.size(); ++i)
            QVERIFY2(sourceCells.at(i) == page.mapToSource(cells.at(i)), QByteArray::number(i).constData());
    };
    check();
    if (QTest::currentTestFailed())
        return;
    sourceChange.apply(plainSource, plain);
    sourceChange.apply(pageSource, page);
    check();
    if (QTest::currentTestFailed())
        return;
    plainSource.appendRow(plainSource.makeRow(2));
    pageSource.appendRow(pageSource.makeRow(2));
    check();
}

// Moved rows are ordered anew from the source's new order, equal values included. The move is
// QStringListModel's: QStandardItemModel cannot move rows.
void tst_ReliabilitySortProxy::sourceRowsMoved()
{
    for (const SortState& state : sortStates) {
        const QStringList texts{"b", "a", "c", "a", "b", "a"};
        QStringListModel plainSource(texts);
        QStringListModel pageSource(texts);
        QSortFilterProxyModel plain;
        HistorySortProxyModel page;
        plain.setSourceModel(&plainSource);
        page.setSourceModel(&pageSource);
        QAbstractItemModelTester tester(&page, QAbstractItemModelTester::FailureReportingMode::QtTest);
        plain.sort(state.column, state.order);
        page.sort(state.column, state.order);
        const QPersistentModelIndex cell = page.index(1, 0);
        const QPersistentModelIndex sourceCell = page.mapToSource(cell);

        QVERIFY(plainSource.moveRows(QModelIndex(), 0, 2, QModelIndex(), 5));
        QVERIFY(pageSource.moveRows(QModelIndex(), 0, 2, QModelIndex(), 5));
        QCOMPARE(order(page), order(plain));
        QVERIFY2(sourceCell == page.mapToSource(cell), state.name);
    }
}

// A source deleted under the proxy, sorted or not, leaves it empty.
void tst_ReliabilitySortProxy::sourceDeleted()
{
    for (const int column : {-1, 0}) {
        auto* source = new TableModel;
        HistorySortProxyModel page;
        attach(page, *source);
        QAbstractItemModelTester tester(&page, QAbstractItemModelTester::FailureReportingMode::QtTest);
        page.sort(column, Qt::DescendingOrder);
        const QPersistentModelIndex cell = page.index(2, 0);
        delete source;
        QVERIFY(!page.sourceModel());
        QCOMPARE(page.rowCount(), 0);
        QCOMPARE(page.columnCount(), 0);
        QVERIFY(!cell.isValid());
        QVERIFY(!page.index(0, 0).isValid());
        page.sort(0, Qt::AscendingOrder);
        QCOMPARE(page.rowCount(), 0);
    }
}

QTEST_GUILESS_MAIN(tst_ReliabilitySortProxy)
#include "tst_reliability_sortproxy.moc"
