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
        const QVariant raw = getColumnRawValue(column, record, userData);
        return column == PriceColumn ? QString::number(raw.toDouble(), 'f', 2) : raw.toString();
    }

    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override
    {
        ++calls;
        lastUserData = userData;
        const Fruit* fruit = std::any_cast<Fruit*>(record);
        switch (column) {
        case NameColumn: return fruit->name;
        case CountColumn: return fruit->count;
        case PriceColumn: return fruit->price;
        }
        return QVariant();
    }

    int calls = 0;
    UserData* lastUserData = nullptr;
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

// The events of one step, as EventLog writes them.
QStringList inserted(int first, int last) { return {QStringLiteral("insert %1..%2").arg(first).arg(last), "inserted"}; }
QStringList removed(int first, int last) { return {QStringLiteral("remove %1..%2").arg(first).arg(last), "removed"}; }
const QStringList resetEvents{"reset", "was reset"};
QStringList populated(bool isFetchMore, int rows)
{
    return {QStringLiteral("populated %1 %2").arg(isFetchMore ? "fetch" : "load").arg(rows)};
}

// A page-in that shows rows first..last.
Step load(int first, int last) { return {Op::LoadNextPage, 0, last + 1, inserted(first, last) + populated(false, last + 1)}; }
Step fetch(int first, int last) { return {Op::FetchMore, 0, last + 1, inserted(first, last) + populated(true, last + 1)}; }

// Records every structural signal and numberPopulated, so a step's whole story is one list.
class EventLog : public QObject
{
public:
    explicit EventLog(QAbstractItemModel* model)
    {
        const auto note = [this](const char* what) { return [this, what] { events.append(what); }; };
        const auto range = [this](const char* what) {
            return [this, what](const QModelIndex&, int first, int last) {
                events.append(QStringLiteral("%1 %2..%3").arg(what).arg(first).arg(last));
            };
        };
        connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, range("insert"));
        connect(model, &QAbstractItemModel::rowsInserted, this, note("inserted"));
        connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, range("remove"));
        connect(model, &QAbstractItemModel::rowsRemoved, this, note("removed"));
        connect(model, &QAbstractItemModel::modelAboutToBeReset, this, note("reset"));
        connect(model, &QAbstractItemModel::modelReset, this, note("was reset"));
        connect(model, &QAbstractItemModel::dataChanged, this, note("data changed"));
        if (auto* paged = qobject_cast<myHistoryModel*>(model)) {
            connect(paged, &myHistoryModel::numberPopulated, this,
                    [this](bool isFetchMore, int rows) { events += populated(isFetchMore, rows); });
        }
    }
    QStringList take() { return std::exchange(events, {}); }

private:
    QStringList events;
};

void apply(MyStandardTableModel& model, Orchard& orchard, const Step& step)
{
    switch (step.op) {
    case Op::Append: orchard.grow(step.count); break;
    case Op::KeepFirst: orchard.list = orchard.list.mid(0, step.count); break;
    case Op::Renew: orchard.list.clear(), orchard.grow(step.count); break;
    case Op::Reset: return model.resetDataSource();
    case Op::LoadNextPage: return static_cast<myHistoryModel&>(model).loadNextPage();
    case Op::FetchMore: return model.fetchMore(QModelIndex());
    }
    model.setDataSource(orchard.list);
}

QStringList column(const QAbstractItemModel& model, int column)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result.append(model.index(row, column).data().toString());
    return result;
}

std::unique_ptr<MyStandardTableModel> makeModel(bool paged)
{
    if (paged)
        return std::make_unique<myHistoryModel>(QStringLiteral("HistoryTable"), 0);
    return std::make_unique<MyStandardTableModel>(QStringLiteral("Plain"), 0);
}

} // namespace

Q_DECLARE_METATYPE(Script)

class tst_Model : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void steps_data();
    void steps();
    void cells_data();
    void cells();
    void headerTitles_data();
    void headerTitles();
    void proxySortsByRawValue();
    void userDataOfAccount();
    void badIndexes_data();
    void badIndexes();

private:
    // The paged model over count records with its first page shown.
    void fill(myHistoryModel& model, Orchard& orchard, int count)
    {
        model.setHeader(&columns, shown);
        orchard.grow(count);
        model.setDataSource(orchard.list);
        model.loadNextPage();
    }

    FruitColumns columns;
    QList<ColProperty*> shown;
};

void tst_Model::init()
{
    QLocale::setDefault(QLocale::c());
    shown = columns.allColumns();
}

void tst_Model::steps_data()
{
    QTest::addColumn<bool>("paged");
    QTest::addColumn<Script>("script");
    const auto add = [](const char* name, bool paged, const Script& script) {
        QTest::newRow(name) << paged << script;
    };
    const Step append150{Op::Append, 150, 0, {}};

    add("pages of 100, the last one short", true,
        {{Op::Append, 250, 0, {}}, load(0, 99), load(100, 199), load(200, 249), {Op::LoadNextPage, 0, 250, populated(false, 250)}});
    add("fetchMore reports itself", true, {append150, fetch(0, 99), fetch(100, 149), {Op::FetchMore, 0, 150, {}}});
    add("nothing to show", true, {{Op::LoadNextPage, 0, 0, populated(false, 0)}, {Op::FetchMore, 0, 0, {}}, {Op::Append, 0, 0, {}}});
    add("appended batches keep the rows shown", true,
        {{Op::Append, 120, 0, {}}, load(0, 99), {Op::Append, 1000, 100, {}}, {Op::Append, 1, 100, {}}, load(100, 199)});
    add("shorter list clamps the rows shown", true,
        {{Op::Append, 250, 0, {}}, load(0, 99), load(100, 199), {Op::KeepFirst, 120, 120, removed(120, 199)},
         {Op::Append, 30, 120, {}}, load(120, 149)});
    add("shorter list above the rows shown", true,
        {{Op::Append, 250, 0, {}}, load(0, 99), {Op::KeepFirst, 180, 100, {}}, load(100, 179)});
    add("other records: same size, longer, shorter", true,
        {append150, load(0, 99), {Op::Renew, 150, 100, resetEvents}, load(100, 149), {Op::Renew, 400, 150, resetEvents},
         {Op::Renew, 40, 40, resetEvents}});
    add("other records while none shown", true, {append150, {Op::Renew, 150, 0, {}}, {Op::Renew, 10, 0, {}}});
    add("reset shows no rows, keeps the records", true,
        {append150, load(0, 99), {Op::Reset, 0, 0, resetEvents}, {Op::Reset, 0, 0, {}}, load(0, 99)});
    add("new query: empty list, then reset", true,
        {append150, fetch(0, 99), {Op::KeepFirst, 0, 0, removed(0, 99)}, {Op::Reset, 0, 0, {}}, {Op::Append, 30, 0, {}}, load(0, 29)});

    add("plain: every record is a row", false,
        {{Op::Append, 3, 3, inserted(0, 2)}, {Op::Append, 2, 5, inserted(3, 4)}, {Op::Append, 0, 5, {}}});
    add("plain: shorter list removes the tail", false,
        {{Op::Append, 5, 5, inserted(0, 4)}, {Op::KeepFirst, 2, 2, removed(2, 4)}, {Op::KeepFirst, 0, 0, removed(0, 1)}});
    add("plain: other records reset", false,
        {{Op::Append, 5, 5, inserted(0, 4)}, {Op::Renew, 5, 5, resetEvents}, {Op::Renew, 7, 7, resetEvents}});
    add("plain: reset drops the records", false,
        {{Op::Append, 5, 5, inserted(0, 4)}, {Op::Reset, 0, 0, resetEvents}, {Op::Append, 1, 6, inserted(0, 5)}});
}

// Each script runs twice: alone, with every signal and row checked, then under the model tester
// (which fetches on its own, so only consistency is checked) on the model and on the sorting proxy
// the page puts in front of it.
void tst_Model::steps()
{
    QFETCH(bool, paged);
    QFETCH(Script, script);

    const auto model = makeModel(paged);
    model->setHeader(&columns, shown);
    Orchard orchard;
    EventLog log(model.get());
    for (int i = 0; i < script.size(); ++i) {
        const Step& step = script.at(i);
        apply(*model, orchard, step);
        const QByteArray where = "step " + QByteArray::number(i);
        QVERIFY2(model->rowCount() == step.rows, where + ": rows " + QByteArray::number(model->rowCount()));
        QCOMPARE(log.take(), step.events);
        QCOMPARE(column(*model, 1), orchard.names(step.rows));
        if (!orchard.list.isEmpty())
            QVERIFY2(orchard.list.isDetached(), where + ": the model shares the caller's list");
        if (step.op == Op::Reset)
            continue;   // the plain model drops its records, the paged one keeps them
        QCOMPARE(model->recordCount(), orchard.list.size());
        QCOMPARE(model->canFetchMore(QModelIndex()), step.rows < orchard.list.size());
    }

    const auto tested = makeModel(paged);
    QAbstractItemModelTester modelTester(tested.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSortFilterProxyModel proxy;
    proxy.setSortRole(Qt::UserRole);
    proxy.setSourceModel(tested.get());
    QAbstractItemModelTester proxyTester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.sort(0, Qt::DescendingOrder);
    tested->setHeader(&columns, shown);
    Orchard other;
    for (const Step& step : script) {
        apply(*tested, other, step);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(tested->rowCount() <= other.list.size());
        QCOMPARE(proxy.rowCount(), tested->rowCount());
        QCOMPARE(column(*tested, 1), other.names(tested->rowCount()));
    }
}

void tst_Model::cells_data()
{
    QTest::addColumn<QList<int>>("alignments");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QList<int>>("cellAlignments");

    // The page passes the shown columns' alignments plus two centred entries.
    QTest::newRow("raw price keeps its digits") << QList<int>{0x82, 0x84, 0x81, 0x84, 0x84} << 5
        << QStringList{"1.25", "fruit 5", "5"} << QVariantList{1.25, "fruit 5", 5} << QList<int>{0x82, 0x84, 0x81};
    QTest::newRow("alignment list wins over the columns'") << QList<int>{0x84, 0x82, 0x84} << 1
        << QStringList{"0.25", "fruit 1", "1"} << QVariantList{0.25, "fruit 1", 1} << QList<int>{0x84, 0x82, 0x84};
    QTest::newRow("short alignment list: the column's own") << QList<int>{0x84} << 2
        << QStringList{"0.50", "fruit 2", "2"} << QVariantList{0.5, "fruit 2", 2} << QList<int>{0x84, 0x84, 0x81};
}

void tst_Model::cells()
{
    QFETCH(QList<int>, alignments);
    QFETCH(int, row);

    myHistoryModel model(QStringLiteral("HistoryTable"), 0);
    model.setAlignment(alignments);
    Orchard orchard;
    fill(model, orchard, 8);
    QStringList texts;
    QVariantList values;
    QList<int> cellAlignments;
    for (int col = 0; col < model.columnCount(); ++col) {
        const QModelIndex cell = model.index(row, col);
        texts.append(cell.data(Qt::DisplayRole).toString());
        values.append(cell.data(Qt::UserRole));
        cellAlignments.append(cell.data(Qt::TextAlignmentRole).toInt());
    }
    QTEST(texts, "texts");
    QTEST(values, "values");
    QTEST(cellAlignments, "cellAlignments");
    QCOMPARE(values.at(0).userType(), int(QMetaType::Double));
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

    qRegisterMetaType<Qt::Orientation>();
    MyStandardTableModel model(QStringLiteral("Plain"), 0);
    QCOMPARE(model.columnCount(), 0);
    model.setHeader(&columns, shown);
    QSignalSpy spy(&model, &QAbstractItemModel::headerDataChanged);
    model.setHorizontalHeaderList(titles);
    QCOMPARE(spy.count(), 1);
    QStringList header;
    for (int section = 0; section < model.columnCount(); ++section)
        header.append(model.headerData(section, Qt::Horizontal).toString());
    QTEST(header, "header");
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
    myHistoryModel known(QStringLiteral("HistoryTable"), key);
    fill(known, orchard, 1);
    myHistoryModel unknown(QStringLiteral("HistoryTable"), key + 1);
    fill(unknown, orchard, 0);

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

    for (const char* kind : {"invalid", "foreign", "stale row", "reset row", "stale column", "no header"})
        QTest::newRow(kind) << QString::fromLatin1(kind);
}

void tst_Model::badIndexes()
{
    QFETCH(QString, kind);

    myHistoryModel model(QStringLiteral("HistoryTable"), 0);
    Orchard orchard;
    fill(model, orchard, 150);
    // A cell is no parent: it has no rows and nothing to fetch.
    const QModelIndex cell = model.index(0, 0);
    QVERIFY(model.canFetchMore(QModelIndex()) && !model.canFetchMore(cell));
    QCOMPARE(model.rowCount(cell), 0);
    QCOMPARE(model.columnCount(cell), 0);
    QSignalSpy spy(&model, &myHistoryModel::numberPopulated);
    model.fetchMore(cell);
    QCOMPARE(model.rowCount(), 100);
    QCOMPARE(spy.count(), 0);

    QStandardItemModel other(5, 5);
    QList<ColProperty*> narrow = shown.mid(0, kind == "stale column" ? 1 : 0);
    QModelIndex bad;
    if (kind == "foreign") {
        bad = other.index(1, 1);
    } else if (kind == "stale row") {
        bad = model.index(80, 1);
        model.setDataSource(orchard.list.mid(0, 50));
    } else if (kind == "reset row") {
        bad = model.index(0, 1);
        model.resetDataSource();
    } else if (kind != "invalid") {   // a narrower header, or none
        bad = model.index(0, narrow.size() + 1);
        model.setHeader(narrow.isEmpty() ? nullptr : &columns, narrow);
        QCOMPARE(model.columnCount(), narrow.size());
        QVERIFY(!model.headerData(narrow.size(), Qt::Horizontal).isValid());
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
