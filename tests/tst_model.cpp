#include "MyStandardTableModel.h"
#include "TableHeader.h"
#include "UserData.h"
#include "UserDataManager.h"
#include "myHistoryModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QScopeGuard>
#include <QStandardItemModel>
#include <QtTest>

#include <deque>
#include <memory>
#include <utility>

using namespace VEK_SC_Space;

namespace {

struct Fruit
{
    QString name;
    int count = 0;
    double price = 0;
};

enum FruitColumn { NameColumn = 0, CountColumn = 1, PriceColumn = 2 };

// Registers the price before the name and the count last, hidden by default, so that a column's
// position and its id differ.
class FruitColumns : public TableHeader
{
public:
    FruitColumns()
        : TableHeader(QStringLiteral("THTestFruit"), nullptr)
    {
        addColumn(PriceColumn, QStringLiteral("Price"), 90, Qt::AlignRight | Qt::AlignVCenter, true);
        addColumn(NameColumn, QStringLiteral("Name"), 120, Qt::AlignHCenter | Qt::AlignVCenter, true);
        addColumn(CountColumn, QStringLiteral("Count"), 60, Qt::AlignLeft | Qt::AlignVCenter, false);
    }

    QString getColumnDisplayText(int column, std::any record, UserData* userData) override
    {
        const Fruit* fruit = visit(record, userData);
        switch (column) {
        case NameColumn: return fruit->name;
        case CountColumn: return QString::number(fruit->count);
        case PriceColumn: return QString::number(fruit->price, 'f', 2);
        }
        return QString();
    }

    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override
    {
        const Fruit* fruit = visit(record, userData);
        switch (column) {
        case NameColumn: return fruit->name;
        case CountColumn: return fruit->count;
        case PriceColumn: return fruit->price;
        }
        return QVariant();
    }

    int calls = 0;
    UserData* lastUserData = nullptr;

private:
    const Fruit* visit(const std::any& record, UserData* userData)
    {
        ++calls;
        lastUserData = userData;
        return std::any_cast<Fruit*>(record);
    }
};

// Plays the page: owns the records and keeps the growing list it hands to the model.
class Orchard
{
public:
    QList<std::any> list;

    void grow(int count)
    {
        for (int i = 0; i < count; ++i) {
            const int serial = int(fruits.size());
            fruits.push_back({QStringLiteral("fruit %1").arg(serial), serial, serial * 0.25});
            list.append(&fruits.back());
        }
    }
    void renew(int count)
    {
        list.clear();
        grow(count);
    }
    QStringList names(int rows) const
    {
        QStringList result;
        for (int row = 0; row < rows; ++row)
            result.append(std::any_cast<Fruit*>(list.at(row))->name);
        return result;
    }

private:
    std::deque<Fruit> fruits;   // stable addresses
};

enum class Op { Append, KeepFirst, Renew, Reset, LoadNextPage, FetchMore };

struct Step
{
    Op op;
    int count;              // records for Append, KeepFirst and Renew
    int rows;               // rows shown afterwards
    QStringList events;     // model signals during the step, in order
};
using Script = QList<Step>;

QStringList inserted(int first, int last)
{
    return {QStringLiteral("insert %1..%2").arg(first).arg(last), QStringLiteral("inserted")};
}
QStringList removed(int first, int last)
{
    return {QStringLiteral("remove %1..%2").arg(first).arg(last), QStringLiteral("removed")};
}
QStringList reset()
{
    return {QStringLiteral("reset"), QStringLiteral("was reset")};
}
QStringList populated(bool isFetchMore, int rows)
{
    return {QStringLiteral("populated %1 %2").arg(isFetchMore ? "fetch" : "load").arg(rows)};
}

// Records every structural signal and numberPopulated, so a step's whole story is one list.
class EventLog : public QObject
{
public:
    explicit EventLog(QAbstractItemModel* model)
    {
        connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, [this](const QModelIndex&, int first, int last) {
            events.append(QStringLiteral("insert %1..%2").arg(first).arg(last));
        });
        connect(model, &QAbstractItemModel::rowsInserted, this, [this] { events.append(QStringLiteral("inserted")); });
        connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this](const QModelIndex&, int first, int last) {
            events.append(QStringLiteral("remove %1..%2").arg(first).arg(last));
        });
        connect(model, &QAbstractItemModel::rowsRemoved, this, [this] { events.append(QStringLiteral("removed")); });
        connect(model, &QAbstractItemModel::modelAboutToBeReset, this, [this] { events.append(QStringLiteral("reset")); });
        connect(model, &QAbstractItemModel::modelReset, this, [this] { events.append(QStringLiteral("was reset")); });
        connect(model, &QAbstractItemModel::dataChanged, this, [this] { events.append(QStringLiteral("data changed")); });
        if (auto* paged = qobject_cast<myHistoryModel*>(model)) {
            connect(paged, &myHistoryModel::numberPopulated, this, [this](bool isFetchMore, int rows) {
                events += populated(isFetchMore, rows);
            });
        }
    }
    QStringList take() { return std::exchange(events, {}); }

private:
    QStringList events;
};

void apply(MyStandardTableModel& model, Orchard& orchard, const Step& step)
{
    switch (step.op) {
    case Op::Append:
        orchard.grow(step.count);
        model.setDataSource(orchard.list);
        break;
    case Op::KeepFirst:
        orchard.list = orchard.list.mid(0, step.count);
        model.setDataSource(orchard.list);
        break;
    case Op::Renew:
        orchard.renew(step.count);
        model.setDataSource(orchard.list);
        break;
    case Op::Reset:
        model.resetDataSource();
        break;
    case Op::LoadNextPage:
        static_cast<myHistoryModel&>(model).loadNextPage();
        break;
    case Op::FetchMore:
        model.fetchMore(QModelIndex());
        break;
    }
}

QStringList column(const QAbstractItemModel& model, int column, int role = Qt::DisplayRole)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result.append(model.index(row, column).data(role).toString());
    return result;
}

QStringList horizontalHeader(const QAbstractItemModel& model)
{
    QStringList result;
    for (int section = 0; section < model.columnCount(); ++section)
        result.append(model.headerData(section, Qt::Horizontal).toString());
    return result;
}

} // namespace

Q_DECLARE_METATYPE(Script)

class tst_Model : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void pagedSteps_data();
    void pagedSteps();
    void plainSteps_data();
    void plainSteps();
    void pagedStepsUnderTester_data();
    void pagedStepsUnderTester();
    void plainStepsUnderTester_data();
    void plainStepsUnderTester();

    void callerKeepsSoleListOwnership();
    void canFetchMoreOnlyAtTopLevel();

    void cells_data();
    void cells();
    void headerTitles_data();
    void headerTitles();
    void proxySortsByRawValue();
    void userDataOfAccount();

    void badIndexes_data();
    void badIndexes();

private:
    void runScript(MyStandardTableModel& model);
    void runScriptUnderTester(MyStandardTableModel& model);

    FruitColumns columns;
    QList<ColProperty*> shown;
};

void tst_Model::initTestCase()
{
    qRegisterMetaType<Qt::Orientation>();
}

void tst_Model::init()
{
    QLocale::setDefault(QLocale::c());
    shown = columns.allColumns();
}

void tst_Model::runScript(MyStandardTableModel& model)
{
    QFETCH(Script, script);
    model.setHeader(&columns, shown);
    Orchard orchard;
    EventLog log(&model);
    for (int i = 0; i < script.size(); ++i) {
        const Step& step = script.at(i);
        apply(model, orchard, step);
        const QByteArray where = "step " + QByteArray::number(i);
        QVERIFY2(model.rowCount() == step.rows, where + ": rows " + QByteArray::number(model.rowCount()));
        QCOMPARE(log.take(), step.events);
        QCOMPARE(column(model, 1), orchard.names(step.rows));
        if (step.op == Op::Reset)
            continue;   // the plain model drops its records, the paged one keeps them
        QCOMPARE(model.recordCount(), orchard.list.size());
        QCOMPARE(model.canFetchMore(QModelIndex()), step.rows < orchard.list.size());
    }
}

void tst_Model::pagedSteps_data()
{
    QTest::addColumn<Script>("script");

    QTest::newRow("pages of 100, the last one short")
        << Script{{Op::Append, 250, 0, {}},
                  {Op::LoadNextPage, 0, 100, inserted(0, 99) + populated(false, 100)},
                  {Op::LoadNextPage, 0, 200, inserted(100, 199) + populated(false, 200)},
                  {Op::LoadNextPage, 0, 250, inserted(200, 249) + populated(false, 250)},
                  {Op::LoadNextPage, 0, 250, populated(false, 250)}};
    QTest::newRow("fetchMore reports itself")
        << Script{{Op::Append, 150, 0, {}},
                  {Op::FetchMore, 0, 100, inserted(0, 99) + populated(true, 100)},
                  {Op::FetchMore, 0, 150, inserted(100, 149) + populated(true, 150)},
                  {Op::FetchMore, 0, 150, {}}};
    QTest::newRow("nothing to show")
        << Script{{Op::LoadNextPage, 0, 0, populated(false, 0)}, {Op::FetchMore, 0, 0, {}},
                  {Op::Append, 0, 0, {}}};
    QTest::newRow("appended batches keep the rows shown")
        << Script{{Op::Append, 120, 0, {}},
                  {Op::LoadNextPage, 0, 100, inserted(0, 99) + populated(false, 100)},
                  {Op::Append, 1000, 100, {}},
                  {Op::Append, 1, 100, {}},
                  {Op::LoadNextPage, 0, 200, inserted(100, 199) + populated(false, 200)}};
    QTest::newRow("shorter list clamps the rows shown")
        << Script{{Op::Append, 250, 0, {}},
                  {Op::LoadNextPage, 0, 100, inserted(0, 99) + populated(false, 100)},
                  {Op::LoadNextPage, 0, 200, inserted(100, 199) + populated(false, 200)},
                  {Op::KeepFirst, 120, 120, removed(120, 199)},
                  {Op::Append, 30, 120, {}},
                  {Op::LoadNextPage, 0, 150, inserted(120, 149) + populated(false, 150)}};
    QTest::newRow("shorter list above the rows shown")
        << Script{{Op::Append, 250, 0, {}},
                  {Op::LoadNextPage, 0, 100, inserted(0, 99) + populated(false, 100)},
                  {Op::KeepFirst, 180, 100, {}},
                  {Op::LoadNextPage, 0, 180, inserted(100, 179) + populated(false, 180)}};
    QTest::newRow("same size, other records")
        << Script{{Op::Append, 150, 0, {}},
                  {Op::LoadNextPage, 0, 100, inserted(0, 99) + populated(false, 100)},
                  {Op::Renew, 150, 100, reset()},
                  {Op::LoadNextPage, 0, 150, inserted(100, 149) + populated(false, 150)}};
    QTest::newRow("other records, longer list")
        << Script{{Op::Append, 150, 0, {}},
                  {Op::LoadNextPage, 0, 100, inserted(0, 99) + populated(false, 100)},
                  {Op::Renew, 400, 100, reset()}};
    QTest::newRow("other records, shorter list")
        << Script{{Op::Append, 150, 0, {}},
                  {Op::LoadNextPage, 0, 100, inserted(0, 99) + populated(false, 100)},
                  {Op::Renew, 40, 40, reset()}};
    QTest::newRow("other records while none shown")
        << Script{{Op::Append, 150, 0, {}}, {Op::Renew, 150, 0, {}}, {Op::Renew, 10, 0, {}}};
    QTest::newRow("reset shows no rows, keeps the records")
        << Script{{Op::Append, 150, 0, {}},
                  {Op::LoadNextPage, 0, 100, inserted(0, 99) + populated(false, 100)},
                  {Op::Reset, 0, 0, reset()},
                  {Op::Reset, 0, 0, {}},
                  {Op::LoadNextPage, 0, 100, inserted(0, 99) + populated(false, 100)}};
    QTest::newRow("new query: empty list, then reset")
        << Script{{Op::Append, 150, 0, {}},
                  {Op::FetchMore, 0, 100, inserted(0, 99) + populated(true, 100)},
                  {Op::KeepFirst, 0, 0, removed(0, 99)},
                  {Op::Reset, 0, 0, {}},
                  {Op::Append, 30, 0, {}},
                  {Op::LoadNextPage, 0, 30, inserted(0, 29) + populated(false, 30)}};
}

void tst_Model::pagedSteps()
{
    myHistoryModel model(QStringLiteral("HistoryTable"), 0);
    runScript(model);
}

void tst_Model::plainSteps_data()
{
    QTest::addColumn<Script>("script");

    QTest::newRow("every record is a row")
        << Script{{Op::Append, 3, 3, inserted(0, 2)}, {Op::Append, 2, 5, inserted(3, 4)}, {Op::Append, 0, 5, {}}};
    QTest::newRow("shorter list removes the tail")
        << Script{{Op::Append, 5, 5, inserted(0, 4)}, {Op::KeepFirst, 2, 2, removed(2, 4)}, {Op::KeepFirst, 0, 0, removed(0, 1)}};
    QTest::newRow("other records reset")
        << Script{{Op::Append, 5, 5, inserted(0, 4)}, {Op::Renew, 5, 5, reset()}, {Op::Renew, 7, 7, reset()}};
    QTest::newRow("reset drops the records")
        << Script{{Op::Append, 5, 5, inserted(0, 4)}, {Op::Reset, 0, 0, reset()}, {Op::Append, 1, 6, inserted(0, 5)}};
}

void tst_Model::plainSteps()
{
    MyStandardTableModel model(QStringLiteral("Plain"), 0);
    runScript(model);
}

void tst_Model::pagedStepsUnderTester_data()
{
    pagedSteps_data();
}

void tst_Model::pagedStepsUnderTester()
{
    myHistoryModel model(QStringLiteral("HistoryTable"), 0);
    runScriptUnderTester(model);
}

void tst_Model::plainStepsUnderTester_data()
{
    plainSteps_data();
}

void tst_Model::plainStepsUnderTester()
{
    MyStandardTableModel model(QStringLiteral("Plain"), 0);
    runScriptUnderTester(model);
}

// The tester fetches on its own, so only consistency is checked here, on the model and on the
// sorting proxy the page puts in front of it.
void tst_Model::runScriptUnderTester(MyStandardTableModel& model)
{
    QFETCH(Script, script);
    QAbstractItemModelTester modelTester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSortFilterProxyModel proxy;
    proxy.setSortRole(Qt::UserRole);
    proxy.setSourceModel(&model);
    QAbstractItemModelTester proxyTester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.sort(0, Qt::DescendingOrder);

    model.setHeader(&columns, shown);
    Orchard orchard;
    for (const Step& step : script) {
        apply(model, orchard, step);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(model.rowCount() <= orchard.list.size());
        QCOMPARE(proxy.rowCount(), model.rowCount());
        QCOMPARE(column(model, 1), orchard.names(model.rowCount()));
    }
}

void tst_Model::callerKeepsSoleListOwnership()
{
    myHistoryModel model(QStringLiteral("HistoryTable"), 0);
    Orchard orchard;
    orchard.grow(10);
    model.setDataSource(orchard.list);
    QVERIFY(orchard.list.isDetached());
    orchard.grow(10);
    model.setDataSource(orchard.list);
    QVERIFY(orchard.list.isDetached());
    QCOMPARE(model.recordCount(), 20);
}

void tst_Model::canFetchMoreOnlyAtTopLevel()
{
    myHistoryModel model(QStringLiteral("HistoryTable"), 0);
    model.setHeader(&columns, shown);
    Orchard orchard;
    orchard.grow(150);
    model.setDataSource(orchard.list);
    model.loadNextPage();
    const QModelIndex cell = model.index(0, 0);
    QVERIFY(cell.isValid());
    QVERIFY(model.canFetchMore(QModelIndex()));
    QVERIFY(!model.canFetchMore(cell));
    QCOMPARE(model.rowCount(cell), 0);
    QCOMPARE(model.columnCount(cell), 0);
    QSignalSpy spy(&model, &myHistoryModel::numberPopulated);
    model.fetchMore(cell);
    QCOMPARE(model.rowCount(), 100);
    QCOMPARE(spy.count(), 0);
}

void tst_Model::cells_data()
{
    QTest::addColumn<QList<int>>("alignments");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QList<int>>("cellAlignments");

    // The page passes the shown columns' alignments plus two centred entries.
    const QList<int> pageList{0x82, 0x84, 0x81, 0x84, 0x84};
    QTest::newRow("first record") << pageList << 0 << QStringList{"0.00", "fruit 0", "0"}
                                  << QVariantList{0.0, "fruit 0", 0} << QList<int>{0x82, 0x84, 0x81};
    QTest::newRow("raw price keeps its digits") << pageList << 5 << QStringList{"1.25", "fruit 5", "5"}
                                                << QVariantList{1.25, "fruit 5", 5} << QList<int>{0x82, 0x84, 0x81};
    QTest::newRow("alignment list wins over the columns'")
        << QList<int>{0x84, 0x82, 0x84} << 1 << QStringList{"0.25", "fruit 1", "1"} << QVariantList{0.25, "fruit 1", 1}
        << QList<int>{0x84, 0x82, 0x84};
    QTest::newRow("short alignment list: the column's own")
        << QList<int>{0x84} << 2 << QStringList{"0.50", "fruit 2", "2"} << QVariantList{0.5, "fruit 2", 2}
        << QList<int>{0x84, 0x84, 0x81};
}

void tst_Model::cells()
{
    QFETCH(QList<int>, alignments);
    QFETCH(int, row);
    QFETCH(QStringList, texts);
    QFETCH(QVariantList, values);
    QFETCH(QList<int>, cellAlignments);

    myHistoryModel model(QStringLiteral("HistoryTable"), 0);
    model.setHeader(&columns, shown);
    model.setAlignment(alignments);
    Orchard orchard;
    orchard.grow(8);
    model.setDataSource(orchard.list);
    model.loadNextPage();

    QStringList rowTexts;
    QVariantList rowValues;
    QList<int> rowAlignments;
    for (int col = 0; col < model.columnCount(); ++col) {
        const QModelIndex cell = model.index(row, col);
        rowTexts.append(cell.data(Qt::DisplayRole).toString());
        rowValues.append(cell.data(Qt::UserRole));
        rowAlignments.append(cell.data(Qt::TextAlignmentRole).toInt());
    }
    QCOMPARE(rowTexts, texts);
    QCOMPARE(rowValues, values);
    QCOMPARE(rowAlignments, cellAlignments);
    QCOMPARE(rowValues.at(0).userType(), int(QMetaType::Double));
    QVERIFY(!model.index(row, 0).data(Qt::EditRole).isValid());
}

void tst_Model::headerTitles_data()
{
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("header");

    QTest::newRow("none set: column titles") << QStringList() << QStringList{"Price", "Name", "Count"};
    QTest::newRow("page titles") << QStringList{"价格", "名称", "数量"} << QStringList{"价格", "名称", "数量"};
    QTest::newRow("short list falls back") << QStringList{"价格"} << QStringList{"价格", "Name", "Count"};
    QTest::newRow("extra titles ignored") << QStringList{"a", "b", "c", "d"} << QStringList{"a", "b", "c"};
}

void tst_Model::headerTitles()
{
    QFETCH(QStringList, titles);
    QFETCH(QStringList, header);

    MyStandardTableModel model(QStringLiteral("Plain"), 0);
    QCOMPARE(model.columnCount(), 0);
    model.setHeader(&columns, shown);
    QSignalSpy spy(&model, &QAbstractItemModel::headerDataChanged);
    model.setHorizontalHeaderList(titles);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(horizontalHeader(model), header);
    QVERIFY(!model.headerData(3, Qt::Horizontal).isValid());
    QVERIFY(!model.headerData(-1, Qt::Horizontal).isValid());
    QVERIFY(!model.headerData(0, Qt::Horizontal, Qt::UserRole).isValid());
}

void tst_Model::proxySortsByRawValue()
{
    std::deque<Fruit> fruits{{"a", 1, 10.25}, {"b", 2, 9.5}, {"c", 3, 100.0}, {"d", 4, 9.75}};
    QList<std::any> list;
    for (Fruit& fruit : fruits)
        list.append(&fruit);

    myHistoryModel model(QStringLiteral("HistoryTable"), 0);
    model.setHeader(&columns, shown);
    model.setDataSource(list);
    model.loadNextPage();
    QSortFilterProxyModel proxy;
    proxy.setSortRole(Qt::UserRole);
    proxy.setSourceModel(&model);
    QAbstractItemModelTester tester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.sort(0);
    QCOMPARE(column(proxy, 0), (QStringList{"9.50", "9.75", "10.25", "100.00"}));
    proxy.sort(0, Qt::DescendingOrder);
    QCOMPARE(column(proxy, 1), (QStringList{"c", "a", "d", "b"}));
}

void tst_Model::userDataOfAccount()
{
    static constexpr int key = 4711;
    UserData account(1);
    UserDataManager::instance()->userDataMap().insert(key, &account);
    const auto unregister = qScopeGuard([] { UserDataManager::instance()->userDataMap().remove(key); });

    Orchard orchard;
    orchard.grow(1);
    myHistoryModel known(QStringLiteral("HistoryTable"), key);
    known.setHeader(&columns, shown);
    known.setDataSource(orchard.list);
    known.loadNextPage();
    myHistoryModel unknown(QStringLiteral("HistoryTable"), key + 1);
    unknown.setHeader(&columns, shown);
    unknown.setDataSource(orchard.list);
    unknown.loadNextPage();

    QCOMPARE(known.accountKey(), key);
    QCOMPARE(known.name(), QStringLiteral("HistoryTable"));
    known.index(0, 0).data();
    QCOMPARE(columns.lastUserData, &account);
    unknown.index(0, 0).data(Qt::UserRole);
    QCOMPARE(columns.lastUserData, nullptr);
    known.index(0, 1).data(Qt::UserRole);
    QCOMPARE(columns.lastUserData, &account);
}

void tst_Model::badIndexes_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("invalid") << "invalid";
    QTest::newRow("another model's") << "foreign";
    QTest::newRow("row clamped away") << "stale row";
    QTest::newRow("rows reset away") << "reset row";
    QTest::newRow("column gone with a narrower header") << "stale column";
    QTest::newRow("header removed") << "no header";
}

void tst_Model::badIndexes()
{
    QFETCH(QString, kind);

    myHistoryModel model(QStringLiteral("HistoryTable"), 0);
    model.setHeader(&columns, shown);
    Orchard orchard;
    orchard.grow(150);
    model.setDataSource(orchard.list);
    model.loadNextPage();
    QStandardItemModel other(5, 5);

    QModelIndex bad;
    if (kind == "foreign") {
        bad = other.index(1, 1);
    } else if (kind == "stale row") {
        bad = model.index(80, 1);
        model.setDataSource(orchard.list.mid(0, 50));
    } else if (kind == "reset row") {
        bad = model.index(0, 1);
        model.resetDataSource();
    } else if (kind == "stale column") {
        bad = model.index(0, 2);
        QList<ColProperty*> narrow = shown.mid(0, 1);
        model.setHeader(&columns, narrow);
    } else if (kind == "no header") {
        bad = model.index(0, 0);
        QList<ColProperty*> none;
        model.setHeader(nullptr, none);
        QCOMPARE(model.columnCount(), 0);
        QVERIFY(!model.headerData(0, Qt::Horizontal).isValid());
    }
    const int callsBefore = columns.calls;
    for (int role : {int(Qt::DisplayRole), int(Qt::UserRole), int(Qt::TextAlignmentRole)})
        QVERIFY(!model.data(bad, role).isValid());
    QCOMPARE(columns.calls, callsBefore);
    QVERIFY(!model.index(model.rowCount(), 0).isValid());
    QVERIFY(!model.index(0, model.columnCount()).isValid());
    QVERIFY(!model.record(-1).has_value());
    QVERIFY(!model.record(model.recordCount()).has_value());
}

QTEST_MAIN(tst_Model)

#include "tst_model.moc"
