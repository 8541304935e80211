#include "MyStandardTableModel.h"
#include "PostedEvents.h"
#include "TableHeader.h"
#include "UserData.h"
#include "UserDataManager.h"
#include "Util.h"
#include "api/ZRVDHistoryFields.h"
#include "myHistoryModel.h"
#include "service/ValueAddedService.h"

#include <QAbstractItemModelTester>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <algorithm>
#include <deque>
#include <functional>
#include <memory>

using namespace VEK_SC_Space;
namespace ZR = ZRVALUEADDPROAPI;

Q_DECLARE_METATYPE(VEK_SC_Space::HistoryKind)

namespace {

// A Friday: the default 30 days of history hold the 22 trading days from Wednesday 14 February
// to Thursday 14 March 2024, so 220 records put 10 on each day.
const QDate today(2024, 3, 15);
const QString investor = QStringLiteral("310000012345");

// A service and one account on it. An answer is one line: "<list size> last|more", the error if
// any, then what is amiss: the wrong signal, another request's id, still busy, off the GUI thread.
struct Desk
{
    explicit Desk(int accountType)
        : account(std::make_unique<UserData>(accountType))
    {
        service->setReferenceDate(today);
        account->setService(service.get());
        for (int kind = 0; kind < HistoryKindCount; ++kind) {
            QObject::connect(account.get(), UserData::finishedSignal(HistoryKind(kind)), account.get(),
                             [=](int errorId, const QString& errorMsg, bool isTotalLast, int requestId) {
                                 answers << QStringLiteral("%1 %2%3%4%5%6%7").arg(QString::number(account->resultList(sentKind).size()), isTotalLast ? "last" : "more", errorId ? QStringLiteral(" error %1 %2").arg(errorId).arg(errorMsg) : "", HistoryKind(kind) != sentKind ? " wrong signal" : "", requestId != sentId ? " other id" : "", account->getIsZRVAReqing() ? " busy" : "", QThread::currentThread() != qApp->thread() ? " off the GUI thread" : "");
                                 onAnswer(errorId != 0 || isTotalLast);
                             });
        }
    }

    int send(HistoryKind kind, const QString& begin, const QString& end, char sortType, int batchNo)
    {
        const int before = answers.size();
        int requestId = -1;
        const int result = (*account.*UserData::requestFunction(kind))(investor, begin, end, sortType, batchNo, requestId);
        if (result != 0)
            answers << QStringLiteral("refused %1").arg(result);
        else if (answers.size() != before || requestId <= sentId || !account->getIsZRVAReqing()) // ids only grow
            answers << QStringLiteral("id %1 after %2, busy %3, %4 answered inside").arg(requestId).arg(sentId).arg(account->getIsZRVAReqing()).arg(answers.size() - before);
        sentId = result == 0 ? requestId : sentId;
        sentKind = kind;
        return result;
    }

    // Sends batch after batch from the answer slot, as a page does, until the last one.
    QStringList fetchAll(HistoryKind kind, const QString& begin, const QString& end, char sortType)
    {
        int batchNo = 1;
        onAnswer = [&](bool done) { if (!done) send(kind, begin, end, sortType, ++batchNo); };
        if (send(kind, begin, end, sortType, batchNo) == 0)
            service->waitForIdle(10000);
        onAnswer = [](bool) {};
        return std::exchange(answers, {});
    }

    std::unique_ptr<ValueAddedService> service = std::make_unique<ValueAddedService>();
    std::unique_ptr<UserData> account;
    QStringList answers;
    std::function<void(bool)> onAnswer = [](bool) {};
    HistoryKind sentKind = HistoryKind::Order;
    int sentId = 0;
};

// "<first date>..<last date> newest first|oldest first|unordered" of the orders held, and whether
// any is amiss: no valid "yyyyMMdd HH:mm:ss", not a positive volume of which at most all traded, or
// a limit order without a price (only ETF creations and redemptions, '2' and '3', carry none).
template <typename Order>
QString orderSpan(const QVector<void*>& orders)
{
    QStringList keys;
    bool amiss = false;
    for (const void* record : orders) {
        const Order* order = static_cast<const Order*>(record);
        keys << QString::fromLatin1(order->OrderDate) + ' ' + order->OrderTime;
        amiss |= !QDateTime::fromString(keys.last().left(17), QStringLiteral("yyyyMMdd HH:mm:ss")).isValid()
            || order->OrderVolume <= 0 || order->TradedVolume < 0 || order->TradedVolume > order->OrderVolume
            || (order->PriceType == '0' && order->OrderPrice <= 0 && order->Direction != '2' && order->Direction != '3');
    }
    const bool up = std::is_sorted(keys.begin(), keys.end()), down = std::is_sorted(keys.rbegin(), keys.rend());
    return keys.isEmpty() ? QStringLiteral("none") : QStringLiteral("%1..%2 %3%4").arg(keys.first().left(8), keys.last().left(8), up == down ? "unordered" : up ? "oldest first"
                                                                                                                                                                : "newest first",
                                                                                       amiss ? ", amiss" : "");
}

struct Fruit
{
    QString name;
    int count;
    double price;
};

const QString FruitKey = QStringLiteral("THTestFruit");

// The price before the name, the count last and hidden by default: positions and ids differ.
struct FruitColumns : TableHeader
{
    enum { Name,
           Count,
           Price };
    FruitColumns()
        : TableHeader(FruitKey, nullptr)
    {
        addColumn(Price, QStringLiteral("Price"), 90, Qt::AlignRight | Qt::AlignVCenter, true);
        addColumn(Name, QStringLiteral("Name"), 120, Qt::AlignHCenter | Qt::AlignVCenter, true);
        addColumn(Count, QStringLiteral("Count"), 60, Qt::AlignLeft | Qt::AlignVCenter, false);
    }
    QString getColumnDisplayText(int column, std::any record, UserData* userData) override
    {
        return column == Price ? QString::number(getColumnRawValue(column, record, userData).toDouble(), 'f', 2)
                               : getColumnRawValue(column, record, userData).toString();
    }
    QVariant getColumnRawValue(int column, std::any record, UserData* userData) override
    {
        lastUserData = userData;
        const Fruit* fruit = std::any_cast<Fruit*>(record);
        return column == Name ? QVariant(fruit->name) : column == Count ? QVariant(fruit->count)
                                                                        : QVariant(fruit->price);
    }
    UserData* lastUserData = nullptr;
};

// Plays the page: owns the records and keeps the list it hands to the model.
struct Orchard
{
    QList<std::any> list;
    std::deque<Fruit> fruits; // stable addresses

    void grow(int count)
    {
        for (int i = 0; i < count; ++i) {
            fruits.push_back({QStringLiteral("fruit %1").arg(fruits.size()), int(fruits.size()), fruits.size() * 1.5});
            list.append(&fruits.back());
        }
    }
    // "append N", "keep N" (the first N), "renew N" (N other records), "tail N" (the first, then N
    // other records), "reset", "load" or "fetch".
    void run(myHistoryModel& model, const QString& step)
    {
        const QString verb = step.section(' ', 0, 0);
        const int n = step.section(' ', 1).toInt();
        if (verb == "reset" || verb == "load" || verb == "fetch")
            return verb == "reset" ? model.resetDataSource() : verb == "load" ? model.loadNextPage()
                                                                              : model.fetchMore({});
        if (verb != "append")
            list = list.mid(0, verb == "keep" ? n : int(verb == "tail")); // "tail" keeps one
        grow(verb == "keep" ? 0 : n);
        model.setDataSource(list);
    }
};

} // namespace

class tst_VeBase : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void batches_data();
    void batches();
    void requests_data();
    void requests();
    void conversions_data();
    void conversions();
    void steps_data();
    void steps();
    void cells_data();
    void cells();
    void columnChoice_data();
    void columnChoice();

private:
    FruitColumns columns;
    QList<ColProperty*> all = columns.allColumns();
    QTemporaryDir settingsDir;
};

void tst_VeBase::batches_data()
{
    QTest::addColumn<HistoryKind>("kind");
    QTest::addColumn<int>("accountType");
    QTest::addColumn<int>("records"); // -1: the service's default
    QTest::addColumn<int>("batchSize");
    QTest::addColumn<QString>("query");     // begin, end, sort type
    QTest::addColumn<QStringList>("lines"); // the answers, then for orders their span

    const auto add = [](const char* name, HistoryKind kind, int accountType, int records, int batchSize, const char* query,
                        const QStringList& lines) {
        QTest::newRow(name) << kind << accountType << records << batchSize << QString(query) << lines;
    };
    const HistoryKind order = HistoryKind::Order;
    add("newest first, a short last batch", order, 1, 220, 100, "20240214 20240314 2",
        {"100 more", "200 more", "220 last", "20240314..20240214 newest first"});
    add("oldest first, an exact multiple", order, 2, 220, 110, "20240214 20240314 1", {"110 more", "220 last", "20240214..20240314 oldest first"});
    add("default window of 30 days", order, 1, 220, 500, "20000101 20991231 1", {"220 last", "20240214..20240314 oldest first"});
    add("one day", order, 2, 220, 500, "20240229 20240229 2", {"10 last", "20240229..20240229 newest first"});
    add("a week across months", order, 1, 220, 30, "20240226 20240303 1", {"30 more", "50 last", "20240226..20240301 oldest first"});
    add("overlapping the start", order, 2, 220, 500, "20240101 20240216 2", {"30 last", "20240216..20240214 newest first"});
    add("a weekend", order, 1, 220, 500, "20240302 20240303 2", {"0 last", "none"});
    add("begin after the end", order, 2, 220, 500, "20240301 20240226 1", {"0 last", "none"});
    add("today is no history", order, 1, 220, 500, "20240315 20240401 1", {"0 last", "none"});
    // Each kind answers on its own signal into its own list; the accounts free the records as
    // their exact type when the test ends (the sanitizer build judges).
    for (int i = 2; i < 2 * HistoryKindCount; ++i) { // the kinds after orders, on both account types
        const bool none = HistoryKind(i / 2) == HistoryKind::CreditDebt && i % 2 == 0;
        QTest::addRow("kind %d, account type %d", i / 2, 1 + i % 2) << HistoryKind(i / 2) << 1 + i % 2 << 30 << 20
                                                                    << QString("20240214 20240314 2") << (none ? QStringList{"0 last"} : QStringList{"20 more", "30 last"});
    }
    add("no records", HistoryKind::Trade, 2, 0, 500, "20240214 20240314 1", {"0 last"});
    add("one record a batch", HistoryKind::Capital, 1, 3, 1, "20240214 20240314 1", {"1 more", "2 more", "3 last"});
    add("default count of debts", HistoryKind::CreditDebt, 2, -1, 500, "20240214 20240314 2", {"500 more", "1000 last"});
}

void tst_VeBase::batches()
{
    QFETCH(HistoryKind, kind);
    QFETCH(int, accountType);
    QFETCH(int, records);
    QFETCH(int, batchSize);
    QFETCH(QString, query);

    Desk desk(accountType);
    if (records >= 0)
        desk.service->setRecordCount(kind, records);
    desk.service->setBatchSize(batchSize);
    const QStringList q = query.split(' ');
    QStringList lines = desk.fetchAll(kind, q[0], q[1], q[2].at(0).toLatin1());
    const QVector<void*>& orders = desk.account->getHistoryOrderList();
    if (kind == HistoryKind::Order)
        lines << (accountType == 2 ? orderSpan<ZR::CZRVDCreditHistoryOrderEXField>(orders) : orderSpan<ZR::CZRVDHistoryOrderEXField>(orders));
    QTEST(lines, "lines");
}

void tst_VeBase::requests_data()
{
    QTest::addColumn<QStringList>("steps");
    // After each step the account's flags, then the answers and refusals the step brought.
    QTest::addColumn<QStringList>("states");

    const QString up = QStringLiteral("connected logged-in");
    const QString busy = up + " busy";
    const QString lost = QStringLiteral(": 0 last error -1001 增值服务连接已断开");
    QTest::newRow("failed answer, then the next") << QStringList{"fail", "send", "wait", "send", "wait"}
                                                  << QStringList{up, busy, up + ": 0 last error -3001 查询失败", busy, up + ": 500 more"};
    QTest::newRow("connection lost while waiting") << QStringList{"slow", "send", "disconnect", "wait", "connect"}
                                                   << QStringList{up, busy, "logged-in busy", "logged-in" + lost, up};
    QTest::newRow("logged out while waiting") << QStringList{"slow", "send", "logout", "wait"}
                                              << QStringList{up, busy, "connected busy", "connected: 0 last error -1002 增值服务已登出"};
    QTest::newRow("refused while down or busy")
        << QStringList{"disconnect", "send", "connect", "logout", "send", "login", "busy", "send", "idle", "send", "wait"}
        << QStringList{"logged-in", "logged-in: refused -6", up, "connected", "connected: refused -7", up, busy,
                       busy + ": refused -8", up, busy, up + ": 500 more"};
    QTest::newRow("one request at a time") << QStringList{"slow", "send", "send"} << QStringList{up, busy, busy + ": refused -8"};
    QTest::newRow("service destroyed while waiting") << QStringList{"slow", "send", "destroy", "wait"}
                                                     << QStringList{up, busy, up, up + lost};
    // A batch cut short is freed (the sanitizer build judges); an account gone gets no answer.
    QTest::newRow("service destroyed while building") << QStringList{"big", "send", "pause", "destroy", "wait"}
                                                      << QStringList{up, busy, busy, up, up + lost};
    QTest::newRow("account destroyed while waiting") << QStringList{"send", "drop", "wait"} << QStringList{busy, "gone", "gone"};
    QTest::newRow("account detached while waiting") << QStringList{"send", "detach", "wait"} << QStringList{busy, up, up};
}

void tst_VeBase::requests()
{
    QFETCH(QStringList, steps);

    Desk desk(1);
    const QMap<QString, std::function<void()>> actions{
        {"send", [&] { desk.send(HistoryKind::Delivery, "20240214", "20240314", '2', 1); }},
        // Error answers and those of a service gone come queued.
        {"wait", [&] { QVERIFY((!desk.service || desk.service->waitForIdle()) && postedEventsDelivered()); }},
        {"pause", [] { QVERIFY(postedEventsDelivered()); }}, // the service hands the job to its worker
        {"slow", [&] { desk.service->setLatencyMs(30000); }},
        {"big", [&] { desk.service->setBatchSize(200000), desk.service->setRecordsPerKind(200000); }},
        {"fail", [&] { desk.service->failNextAnswer(-3001, QStringLiteral("查询失败")); }},
        {"disconnect", [&] { desk.service->setConnected(false); }},
        {"connect", [&] { desk.service->setConnected(true); }},
        {"logout", [&] { desk.service->setLoggedIn(false); }},
        {"login", [&] { desk.service->setLoggedIn(true); }},
        {"busy", [&] { desk.service->setBusy(true); }},
        {"idle", [&] { desk.service->setBusy(false); }},
        {"destroy", [&] { desk.service.reset(); }},
        {"drop", [&] { desk.account.reset(); }},
        {"detach", [&] { desk.account->setService(nullptr); }},
    };
    QStringList states;
    for (const QString& step : steps) {
        QVERIFY2(actions.contains(step), qPrintable(step));
        actions[step]();
        UserData* a = desk.account.get();
        const QString flags = !a ? QStringLiteral("gone") : QStringLiteral("%1 %2 %3").arg(a->zrvaConnected ? "connected" : "").arg(a->zrvaLoggedIn ? "logged-in" : "").arg(a->getIsZRVAReqing() ? "busy" : "").simplified();
        const QString answers = std::exchange(desk.answers, {}).join("; ");
        states << flags + (answers.isEmpty() ? "" : ": " + answers);
    }
    QTEST(states, "states");
}

void tst_VeBase::conversions_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");

    UserData account(1);
    char padded[] = "600519 ";
    char shenzhen[] = "000001";
    QTest::newRow("name, padded code") << account.Translate2SecurityName(padded, '1') << "贵州茅台";
    QTest::newRow("name, other exchange") << account.Translate2SecurityName(shenzhen, '1') << "";
    QTest::newRow("display id, padded code") << account.GetDisplaySecurityID("600519 ", '1') << "600519";
    QTest::newRow("display id, unknown") << account.GetDisplaySecurityID("999999", '2') << "999999";
    QTest::newRow("margin buy, stock") << Util::parseZRStockDirection('a') << "未知(a)";
    QTest::newRow("status 9") << Util::parseZRCreditOrderStatus('9') << "未知(9)";
    QTest::newRow("exchange high byte") << Util::parseZRCreditExchangeID('\xe4') << "未知(0xE4)";
    QTest::newRow("protected market") << Util::parseZRCreditOrderPriceType('1', 'a', '1') << "最优五档即时成交剩余撤销(保护限价)";
    QTest::newRow("protected limit") << Util::parseZRStockOrderPriceType('0', '0', '1') << "未知(0,0,1)";
    QTest::newRow("unknown variant") << Util::parseZRCreditOrderPriceType('1', 'z', '0') << "未知(1,z,0)";
}

void tst_VeBase::conversions()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);
    QCOMPARE(actual, expected);
}

void tst_VeBase::initTestCase()
{
    // INI files in the folder on every platform (Windows' native settings: the registry).
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    QVERIFY(settingsDir.isValid() && QSettings().fileName().startsWith(settingsDir.path()));
}

void tst_VeBase::steps_data()
{
    QTest::addColumn<QStringList>("steps");
    // After each step "<rows shown>/<records held>[ more]:" and the model's signals: +first..last
    // inserted, -first..last removed, reset, and numberPopulated as "load N" or "fetch N".
    QTest::addColumn<QStringList>("states");

    QTest::newRow("pages of 100, the last short") << QStringList{"append 250", "load", "load", "load", "load"}
                                                  << QStringList{"0/250 more:", "100/250 more: +0..99 load 100", "200/250 more: +100..199 load 200",
                                                                 "250/250: +200..249 load 250", "250/250: load 250"};
    QTest::newRow("fetchMore reports only a change") << QStringList{"load", "fetch", "append 150", "fetch", "fetch", "fetch"}
                                                     << QStringList{"0/0: load 0", "0/0:", "0/150 more:", "100/150 more: +0..99 fetch 100", "150/150: +100..149 fetch 150", "150/150:"};
    QTest::newRow("appended batches keep the rows shown") << QStringList{"append 120", "load", "append 1000", "load"}
                                                          << QStringList{"0/120 more:", "100/120 more: +0..99 load 100", "100/1120 more:", "200/1120 more: +100..199 load 200"};
    QTest::newRow("a shorter list clamps the rows shown")
        << QStringList{"append 250", "load", "load", "keep 220", "keep 120", "append 30", "load"}
        << QStringList{"0/250 more:", "100/250 more: +0..99 load 100", "200/250 more: +100..199 load 200", "200/220 more:",
                       "120/120: -120..199", "120/150 more:", "150/150: +120..149 load 150"};
    QTest::newRow("other records: reset, clamped")
        << QStringList{"append 150", "renew 150", "load", "renew 150", "load", "renew 400", "renew 40"}
        << QStringList{"0/150 more:", "0/150 more:", "100/150 more: +0..99 load 100", "100/150 more: reset",
                       "150/150: +100..149 load 150", "150/400 more: reset", "40/40: reset"};
    QTest::newRow("other records after the same first one: reset")
        << QStringList{"append 150", "load", "tail 149", "load"}
        << QStringList{"0/150 more:", "100/150 more: +0..99 load 100", "100/150 more: reset", "150/150: +100..149 load 150"};
    QTest::newRow("reset shows no rows, keeps the records") << QStringList{"append 150", "load", "reset", "reset", "load"}
                                                            << QStringList{"0/150 more:", "100/150 more: +0..99 load 100", "0/150 more: reset", "0/150 more:",
                                                                           "100/150 more: +0..99 load 100"};
    QTest::newRow("new query: empty list, then reset") << QStringList{"append 150", "fetch", "keep 0", "reset", "append 30", "load"}
                                                       << QStringList{"0/150 more:", "100/150 more: +0..99 fetch 100", "0/0: -0..99", "0/0:", "0/30 more:", "30/30: +0..29 load 30"};
}

// Each script runs twice: alone, with every signal and row checked, then under the model tester
// (which fetches on its own, so only consistency is checked) on the model and on a sorting proxy.
void tst_VeBase::steps()
{
    QFETCH(QStringList, steps);

    myHistoryModel model(QStringLiteral("HistoryTable"), 0);
    model.setHeader(&columns, all);
    QStringList events;
    const auto note = [&events](const char* what) {
        return [&events, what](const QModelIndex&, int first, int last) { events << QStringLiteral("%1%2..%3").arg(what).arg(first).arg(last); };
    };
    connect(&model, &QAbstractItemModel::rowsInserted, this, note("+"));
    connect(&model, &QAbstractItemModel::rowsRemoved, this, note("-"));
    connect(&model, &QAbstractItemModel::modelReset, this, [&events] { events << "reset"; });
    connect(&model, &myHistoryModel::numberPopulated, this,
            [&events](bool isFetchMore, int rows) { events << QStringLiteral("%1 %2").arg(isFetchMore ? "fetch" : "load").arg(rows); });
    Orchard orchard;
    QStringList states;
    for (const QString& step : steps) {
        orchard.run(model, step);
        states << QStringLiteral("%1/%2%3: %4").arg(model.rowCount()).arg(model.recordCount()).arg(model.canFetchMore({}) ? " more" : "").arg(std::exchange(events, {}).join(' ')).trimmed();
        for (int row = 0; row < model.rowCount(); ++row) // the rows show the records in order
            QCOMPARE(model.index(row, 1).data().toString(), std::any_cast<Fruit*>(orchard.list.at(row))->name);
        QVERIFY(!model.index(0, 0, model.index(0, 0)).isValid()); // a table: no row has children
    }
    QTEST(states, "states");

    myHistoryModel tested(QStringLiteral("HistoryTable"), 0);
    QAbstractItemModelTester modelTester(&tested, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&tested);
    QAbstractItemModelTester proxyTester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.sort(0, Qt::DescendingOrder);
    tested.setHorizontalHeaderList({QStringLiteral("no columns yet")});
    tested.setHeader(&columns, all);
    Orchard other;
    for (const QString& step : steps) {
        other.run(tested, step);
        QCOMPARE(proxy.rowCount(), tested.rowCount());
    }
}

void tst_VeBase::cells_data()
{
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QList<int>>("alignments");
    QTest::addColumn<QStringList>("lines"); // the header, then row 1 as text, raw value and alignment

    QTest::newRow("the columns' titles and alignments") << QStringList() << QList<int>()
                                                        << QStringList{"Price|Name|Count", "1.50|fruit 1|1", "1.5|fruit 1|1", "130|132|129"};
    QTest::newRow("the page's titles and alignments") << QStringList{"P", "N", "C", "extra"} << QList<int>{0x84, 0x82, 0x84, 0x84}
                                                      << QStringList{"P|N|C", "1.50|fruit 1|1", "1.5|fruit 1|1", "132|130|132"};
}

// The cells of the three roles; the model hands the column set the account registered under its key.
void tst_VeBase::cells()
{
    QFETCH(QStringList, titles);
    QFETCH(QList<int>, alignments);

    UserData account(1);
    UserDataManager::instance()->userDataMap().insert(4711, &account); // the account leaves the map when destroyed
    myHistoryModel model(QStringLiteral("HistoryTable"), 4711);
    model.setHeader(&columns, all);
    model.setHorizontalHeaderList(titles);
    model.setAlignment(alignments);
    Orchard orchard;
    for (const char* step : {"append 2", "load"})
        orchard.run(model, step);
    QStringList lines;
    for (int role : {-1, int(Qt::DisplayRole), int(Qt::UserRole), int(Qt::TextAlignmentRole)}) {
        QStringList cells;
        for (int column = 0; column < model.columnCount(); ++column)
            cells << (role < 0 ? model.headerData(column, Qt::Horizontal) : model.index(1, column).data(role)).toString();
        lines << cells.join('|');
    }
    QTEST(lines, "lines");
    QCOMPARE(columns.lastUserData, &account);

    // A stale or foreign index and a cell as parent reach no record.
    const QModelIndex cell = model.index(0, 0);
    const QModelIndex stale = model.index(1, 1);
    orchard.run(model, "keep 1");
    for (int role : {int(Qt::DisplayRole), int(Qt::UserRole), int(Qt::TextAlignmentRole)})
        QVERIFY(!model.data(stale, role).isValid() && !model.data(QStandardItemModel(2, 2).index(1, 1), role).isValid());
    QVERIFY(!model.canFetchMore(cell) && model.rowCount(cell) == 0 && model.columnCount(cell) == 0);
    QVERIFY(!model.index(model.rowCount(), 0).isValid() && !model.index(0, model.columnCount()).isValid());
    QVERIFY(!model.record(-1).has_value() && !model.record(model.recordCount()).has_value());

    MyStandardTableModel plain(QStringLiteral("Plain"), 0); // without paging: showing nothing, nothing to reset
    connect(&plain, &QAbstractItemModel::modelReset, this, [] { QFAIL("an empty model was reset"); });
    plain.resetDataSource();
}

void tst_VeBase::columnChoice_data()
{
    QTest::addColumn<QList<int>>("saved");
    QTest::addColumn<QString>("shown"); // ids in display order

    QTest::newRow("in the saved order") << QList<int>{1, 2} << "1 2";
    QTest::newRow("unknown ids ignored") << QList<int>{7, 1, -1, 0} << "1 0";
    QTest::newRow("repeated ids once") << QList<int>{0, 0, 2, 0} << "0 2";
    QTest::newRow("none saved: the flagged ones") << QList<int>() << "2 0";
    QTest::newRow("nothing valid: the flagged ones") << QList<int>{9} << "2 0";
}

void tst_VeBase::columnChoice()
{
    QFETCH(QList<int>, saved);

    TableHeader::saveColumnChoice(QStringLiteral("THOther"), {1}); // another set's choice
    TableHeader::saveColumnChoice(FruitKey, saved);
    FruitColumns header;
    const auto shown = [&header] {
        header.initUserColumn();
        QStringList ids;
        for (const ColProperty* column : header.getShowColumns())
            ids << QString::number(column->id);
        return ids.join(' ');
    };
    QTEST(shown(), "shown");
    TableHeader::clearColumnChoice(FruitKey);
    QCOMPARE(shown(), QStringLiteral("2 0"));
}

QTEST_MAIN(tst_VeBase)
#include "tst_vebase.moc"
