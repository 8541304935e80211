// The page's sorting proxy puts rows in exactly the order a plain QSortFilterProxyModel would,
// for every column of every column set and for values of any mix of types, while asking its
// source for each value once per sort instead of twice per comparison.

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
#include <QtTest>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using namespace VEK_SC_Space;

namespace {

constexpr int AccountKey = 4802;

// Source rows in proxy order.
QVector<int> order(const QSortFilterProxyModel& proxy)
{
    QVector<int> rows;
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
    plain.setSortRole(Qt::UserRole);
    plain.setSourceModel(&model);
    HistorySortProxyModel page;
    page.setSortRole(Qt::UserRole);
    page.setSourceModel(&model);
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
    plain.setSortRole(Qt::UserRole);
    page.setSortRole(Qt::UserRole);
    plain.setSourceModel(&plainSource);
    page.setSourceModel(&pageSource);
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
    QCOMPARE(order(proxy), (QVector<int>{0, 1, 2, 3}));
}

// What the proxy serves under every role is the source's, before and after a sort.
void tst_ReliabilitySortProxy::rawValuesUntouched()
{
    const QVariantList values{2.5, -1.0, QVariant(), 7.25};
    ValueModel source(values);
    HistorySortProxyModel proxy;
    proxy.setSortRole(Qt::UserRole);
    proxy.setSourceModel(&source);
    proxy.sort(0, Qt::AscendingOrder);
    for (int row = 0; row < proxy.rowCount(); ++row) {
        const QModelIndex index = proxy.index(row, 0);
        const QModelIndex sourceIndex = proxy.mapToSource(index);
        QCOMPARE(index.data(Qt::UserRole), sourceIndex.data(Qt::UserRole));
        QCOMPARE(index.data(Qt::UserRole).userType(), values.at(sourceIndex.row()).userType());
        QCOMPARE(index.data(Qt::DisplayRole), sourceIndex.data(Qt::DisplayRole));
    }
}

QTEST_GUILESS_MAIN(tst_ReliabilitySortProxy)
#include "tst_reliability_sortproxy.moc"
