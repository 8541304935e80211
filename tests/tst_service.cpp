#include "UserData.h"
#include "Util.h"
#include "api/ZRVDHistoryFields.h"
#include "service/ValueAddedService.h"

#include <QElapsedTimer>
#include <QThread>
#include <QtTest>

#include <cstring>
#include <memory>
#include <type_traits>

using namespace VEK_SC_Space;
namespace ZR = ZRVALUEADDPROAPI;

Q_DECLARE_METATYPE(VEK_SC_Space::HistoryKind)

namespace {

// A Friday; the default window then runs from Wednesday 14 February to Thursday 14 March 2024.
const QDate today(2024, 3, 15);
const QString windowBegin = QStringLiteral("20240214");
const QString windowEnd = QStringLiteral("20240314");
const QString stockInvestor = QStringLiteral("310000012345");
const QString creditInvestor = QStringLiteral("320000067890");

template <std::size_t N>
QByteArray text(const char (&field)[N])
{
    return QByteArray(field, int(qstrnlen(field, N)));
}

template <std::size_t... N>
bool terminated(const char (&... fields)[N])
{
    return (... && (std::memchr(fields, 0, N) != nullptr));
}

// What every test reads from a record, whatever its type.
struct RecordView {
    QByteArray date;
    QByteArray time;        // empty for kinds without a time
    QByteArray customer;
    bool textsTerminated = false;
    QByteArray bytes;

    QByteArray key() const { return date + time; }
};

// Reads a record through the type the pages use for its kind and account type.
template <typename Stock, typename Credit, typename Describe>
RecordView view(bool credit, const void* record, Describe describe)
{
    const auto read = [&describe](const auto* r) {
        RecordView v = describe(*r);
        v.bytes = QByteArray(reinterpret_cast<const char*>(r), int(sizeof(*r)));
        return v;
    };
    return credit ? read(static_cast<const Credit*>(record)) : read(static_cast<const Stock*>(record));
}

RecordView viewOf(HistoryKind kind, int accountType, const void* record)
{
    const bool credit = accountType == 2;
    switch (kind) {
    case HistoryKind::Order:
        return view<ZR::CZRVDHistoryOrderEXField, ZR::CZRVDCreditHistoryOrderEXField>(credit, record, [](const auto& r) {
            return RecordView{text(r.OrderDate), text(r.OrderTime), text(r.CustomerID),
                terminated(r.CustomerID, r.SecurityID, r.ShareholderID, r.OrderDate, r.OrderTime, r.StatusMsg), {}};
        });
    case HistoryKind::Trade:
        return view<ZR::CZRVDHistoryTradeEXField, ZR::CZRVDCreditHistoryTradeEXField>(credit, record, [](const auto& r) {
            return RecordView{text(r.TradeDate), text(r.TradeTime), text(r.CustomerID),
                terminated(r.CustomerID, r.SecurityID, r.TradeID, r.ShareholderID, r.TradeDate, r.TradeTime), {}};
        });
    case HistoryKind::Delivery:
        return view<ZR::CZRVDHistoryDeliveryField, ZR::CZRVDCreditHistoryDeliveryField>(credit, record, [](const auto& r) {
            bool serialTerminated = true;   // the credit record numbers its entries
            if constexpr (std::is_same_v<std::decay_t<decltype(r)>, ZR::CZRVDHistoryDeliveryField>)
                serialTerminated = terminated(r.SerialNo);
            return RecordView{text(r.TradeDate), text(r.TradeTime), text(r.CustomerID), serialTerminated
                && terminated(r.CustomerID, r.TradeDate, r.TradeTime, r.SecurityID, r.SecurityName, r.ExchangeName,
                              r.DirectionName, r.ShareholderID), {}};
        });
    case HistoryKind::Capital:
        return view<ZR::CZRVDHistoryCapitalField, ZR::CZRVDCreditHistoryCapitalField>(credit, record, [](const auto& r) {
            return RecordView{text(r.TradingDay), {}, text(r.CustomerID), terminated(r.TradingDay, r.CustomerID), {}};
        });
    case HistoryKind::FundDetail:
        return view<ZR::CZRVDHistoryFundDetailField, ZR::CZRVDCreditHistoryFundDetailField>(credit, record, [](const auto& r) {
            return RecordView{text(r.TradingDay), text(r.PostingTime), text(r.CustomerID),
                terminated(r.SerialNo, r.TradingDay, r.PostingTime, r.CustomerID, r.BusinessItem, r.Summary,
                           r.ExchangeCode, r.SecurityID), {}};
        });
    case HistoryKind::Position:
        return view<ZR::CZRVDHistoryHoldField, ZR::CZRVDCreditHistoryHoldField>(credit, record, [](const auto& r) {
            return RecordView{text(r.TradingDay), {}, text(r.CustomerID),
                terminated(r.TradingDay, r.CustomerID, r.ShareholderID, r.ExchangeCode, r.SecurityID), {}};
        });
    case HistoryKind::Profit:
        return view<ZR::CZRVDHisShareProfitField, ZR::CZRVDCreditHisShareProfitField>(credit, record, [](const auto& r) {
            return RecordView{text(r.EndDate), {}, text(r.CustomerID), terminated(r.CustomerID, r.SecurityID, r.EndDate), {}};
        });
    case HistoryKind::CreditDebt:
        break;
    }
    return view<ZR::CZRVDCreditHistoryDebtInfoField, ZR::CZRVDCreditHistoryDebtInfoField>(credit, record, [](const auto& r) {
        return RecordView{text(r.TradeDate), {}, text(r.CustomerID),
            terminated(r.TradeDate, r.CustomerID, r.OpenDate, r.ShareholderID, r.SecurityID), {}};
    });
}

struct Answer {
    int errorId;
    QString errorMsg;
    bool isTotalLast;
    int requestId;
    int listSize;           // size of the result list when the signal came
    bool busy;              // getIsZRVAReqing() when the signal came
    bool onGuiThread;
};

// Records the answers of one kind with the account's state at the moment of the signal.
class AnswerLog : public QObject
{
public:
    AnswerLog(UserData& account, HistoryKind kind)
    {
        connect(&account, UserData::finishedSignal(kind), this,
                [this, &account, kind](int errorId, QString errorMsg, bool isTotalLast, int requestId) {
            answers.append({errorId, errorMsg, isTotalLast, requestId, account.resultList(kind).size(),
                            account.getIsZRVAReqing(), QThread::currentThread() == qApp->thread()});
        });
    }
    bool waitFor(int count, int timeoutMs = 10000)
    {
        return QTest::qWaitFor([&] { return answers.size() >= count; }, timeoutMs);
    }
    QVector<Answer> answers;
};

// Sends batch after batch from inside the answer slot, as a page does, until the last batch, a
// failed answer or a refused request.
QVector<Answer> fetchAll(UserData& account, HistoryKind kind, const QString& begin, const QString& end, char sortType)
{
    AnswerLog log(account, kind);   // connected first: it logs each answer before the next request
    QEventLoop loop;    // a plain event loop, as in the client: no polling pauses between batches
    int batchNo = 1;
    int requestId = -1;
    const auto send = [&] {
        return (account.*UserData::requestFunction(kind))(account.getDefaultInvestorID(), begin, end, sortType,
                                                         batchNo++, requestId) == 0;
    };
    QObject::connect(&account, UserData::finishedSignal(kind), &log, [&](int errorId, const QString&, bool isTotalLast) {
        if (errorId != 0 || isTotalLast || !send())
            loop.quit();
    });
    if (send()) {
        QTimer::singleShot(120000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return log.answers;
}

bool complete(const QVector<Answer>& answers)
{
    return !answers.isEmpty() && answers.last().errorId == 0 && answers.last().isTotalLast;
}

QVector<RecordView> views(UserData& account, HistoryKind kind)
{
    QVector<RecordView> all;
    for (const void* record : qAsConst(account.resultList(kind)))
        all.append(viewOf(kind, account.accountType, record));
    return all;
}

// Reads the result list and empties it for the next fetch.
QVector<RecordView> takeViews(UserData& account, HistoryKind kind)
{
    const QVector<RecordView> taken = views(account, kind);
    for (void* record : qAsConst(account.resultList(kind)))
        UserData::deleteRecord(kind, account.accountType, record);
    account.resultList(kind).clear();
    return taken;
}

// Calls check on every record of the list read as Record; false at the first failure.
template <typename Record, typename Check>
bool forEach(const QVector<void*>& list, Check check)
{
    for (const void* record : list) {
        check(*static_cast<const Record*>(record));
        if (QTest::currentTestFailed())
            return false;
    }
    return true;
}

// One simulated service with a stock and a credit account on it.
struct Desk {
    Desk()
    {
        service.setReferenceDate(today);
        stock.setDefaultInvestorID(stockInvestor);
        credit.setDefaultInvestorID(creditInvestor);
        stock.setService(&service);
        credit.setService(&service);
    }
    UserData& account(int accountType) { return accountType == 2 ? credit : stock; }

    ValueAddedService service;
    UserData stock{1};
    UserData credit{2};
};

QDate dateOf(const QByteArray& yyyyMMdd)
{
    return QDate::fromString(QString::fromLatin1(yyyyMMdd), QStringLiteral("yyyyMMdd"));
}

bool isUtf8(const QByteArray& bytes)
{
    return !QString::fromUtf8(bytes).contains(QChar::ReplacementCharacter);
}

bool named(UserData& account, const char* securityId, char exchange)
{
    return !account.Translate2SecurityName(const_cast<char*>(securityId), exchange).isEmpty();
}

enum class Failure { Answer, Disconnect, Logout };

} // namespace

Q_DECLARE_METATYPE(Failure)

class tst_Service : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void everyKindAnswersWithTheRecordTypeOfTheAccount_data();
    void everyKindAnswersWithTheRecordTypeOfTheAccount();
    void recordsLieOnTradingDaysOfTheWindow_data();
    void recordsLieOnTradingDaysOfTheWindow();

    void recordContentsAreConsistent();

    void dateFilterSelectsTheRange_data();
    void dateFilterSelectsTheRange();
    void newestFirstIsOldestFirstReversed_data();
    void newestFirstIsOldestFirstReversed();
    void batchesAreNumberedAndTheLastIsFlagged_data();
    void batchesAreNumberedAndTheLastIsFlagged();
    void sameInvestorSameBytes();

    void answerArrivesOnTheGuiThreadAfterTheRecords();
    void batchIsBuiltOffTheGuiThread();
    void requestsRefusedByServiceState_data();
    void requestsRefusedByServiceState();
    void failureAnswersTheOutstandingRequestOnce_data();
    void failureAnswersTheOutstandingRequestOnce();
    void connectionSetFromAnotherThread();

    void accountGoneBeforeDelivery_data();
    void accountGoneBeforeDelivery();
    void serviceDestroyedWithRequestInFlight_data();
    void serviceDestroyedWithRequestInFlight();

    void millionRecordsAreServedBatchByBatch();
};

void tst_Service::init()
{
    QLocale::setDefault(QLocale::c());
}

void tst_Service::everyKindAnswersWithTheRecordTypeOfTheAccount_data()
{
    QTest::addColumn<HistoryKind>("kind");
    QTest::addColumn<int>("accountType");
    const char* const names[] = {"order", "trade", "delivery", "capital", "fund detail", "position", "profit", "debt"};
    for (int kind = 0; kind < HistoryKindCount; ++kind) {
        for (int accountType : {1, 2})
            QTest::addRow("%s %s", accountType == 1 ? "stock" : "credit", names[kind]) << HistoryKind(kind) << accountType;
    }
}

void tst_Service::everyKindAnswersWithTheRecordTypeOfTheAccount()
{
    QFETCH(HistoryKind, kind);
    QFETCH(int, accountType);

    Desk desk;
    desk.service.setRecordsPerKind(300);
    desk.service.setBatchSize(1000);
    UserData& account = desk.account(accountType);
    int otherAnswers = 0;
    for (int other = 0; other < HistoryKindCount; ++other) {
        if (other != int(kind))
            connect(&account, UserData::finishedSignal(HistoryKind(other)), this, [&otherAnswers] { ++otherAnswers; });
    }

    const QVector<Answer> answers = fetchAll(account, kind, windowBegin, windowEnd, '2');
    QCOMPARE(answers.size(), 1);
    QCOMPARE(answers.first().errorId, 0);
    QCOMPARE(answers.first().requestId, account.lastRequestId());
    QCOMPARE(otherAnswers, 0);
    // A stock account has no margin debts.
    QCOMPARE(account.resultList(kind).size(), kind == HistoryKind::CreditDebt && accountType == 1 ? 0 : 300);

    // Read through the account's record type, every date, time and customer is where it belongs.
    for (const RecordView& record : views(account, kind)) {
        QVERIFY(record.textsTerminated);
        QCOMPARE(QString::fromUtf8(record.customer), account.getDefaultInvestorID());
        const QDate date = dateOf(record.date);
        QVERIFY2(date >= dateOf(windowBegin.toLatin1()) && date <= dateOf(windowEnd.toLatin1()), record.date.constData());
        if (!record.time.isEmpty())
            QVERIFY2(QTime::fromString(QString::fromLatin1(record.time.left(8)), QStringLiteral("HH:mm:ss")).isValid(),
                     record.time.constData());
    }
}

void tst_Service::recordsLieOnTradingDaysOfTheWindow_data()
{
    QTest::addColumn<HistoryKind>("kind");
    QTest::addColumn<int>("accountType");
    QTest::addColumn<int>("historyDays");
    QTest::newRow("stock trades, default window") << HistoryKind::Trade << 1 << 30;
    QTest::newRow("credit capital, a week") << HistoryKind::Capital << 2 << 7;
}

void tst_Service::recordsLieOnTradingDaysOfTheWindow()
{
    QFETCH(HistoryKind, kind);
    QFETCH(int, accountType);
    QFETCH(int, historyDays);

    Desk desk;
    if (historyDays != 30)
        desk.service.setHistoryDays(historyDays);
    desk.service.setBatchSize(5000);
    UserData& account = desk.account(accountType);
    QCOMPARE(fetchAll(account, kind, QStringLiteral("20000101"), QStringLiteral("20991231"), '1').size(), 1);
    QCOMPARE(account.resultList(kind).size(), desk.service.recordsPerKind());
    QSet<QDate> days;
    for (const RecordView& record : views(account, kind))
        days.insert(dateOf(record.date));
    QSet<QDate> tradingDays;
    for (QDate day = today.addDays(-historyDays); day < today; day = day.addDays(1)) {
        if (day.dayOfWeek() < 6)
            tradingDays.insert(day);
    }
    QCOMPARE(days, tradingDays);
}

void tst_Service::recordContentsAreConsistent()
{
    Desk desk;
    desk.service.setBatchSize(3000);
    desk.service.setRecordsPerKind(2000);
    QCOMPARE(fetchAll(desk.stock, HistoryKind::Order, windowBegin, windowEnd, '2').size(), 1);
    QCOMPARE(fetchAll(desk.credit, HistoryKind::Order, windowBegin, windowEnd, '2').size(), 1);
    QCOMPARE(fetchAll(desk.stock, HistoryKind::Delivery, windowBegin, windowEnd, '2').size(), 1);
    QCOMPARE(fetchAll(desk.stock, HistoryKind::Position, windowBegin, windowEnd, '2').size(), 1);
    QCOMPARE(fetchAll(desk.credit, HistoryKind::Trade, windowBegin, windowEnd, '2').size(), 1);
    QCOMPARE(fetchAll(desk.credit, HistoryKind::FundDetail, windowBegin, windowEnd, '2').size(), 1);
    QCOMPARE(fetchAll(desk.credit, HistoryKind::CreditDebt, windowBegin, windowEnd, '2').size(), 1);

    // Orders carry codes the decoders know; the two order records share field names but not offsets.
    for (UserData* account : {&desk.stock, &desk.credit}) {
        const bool credit = account == &desk.credit;
        const auto known = [](const QString& decoded) { return !decoded.startsWith(QStringLiteral("未知")); };
        QSet<QString> directions, statuses, priceTypes;
        QSet<char> exchanges;
        int filled = 0;
        const auto check = [&](const auto& r) {
            const QString direction = credit ? Util::parseZRCreditDirection(r.Direction) : Util::parseZRStockDirection(r.Direction);
            const QString status = credit ? Util::parseZRCreditOrderStatus(r.OrderStatus) : Util::parseZRStockOrderStatus(r.OrderStatus);
            const QString priceType = credit ? Util::parseZRCreditOrderPriceType(r.PriceType, r.PriceTypeAux1, r.PriceTypeAux2)
                                             : Util::parseZRStockOrderPriceType(r.PriceType, r.PriceTypeAux1, r.PriceTypeAux2);
            QVERIFY2(known(direction) && known(status) && known(priceType), qPrintable(direction + status + priceType));
            QVERIFY(known(Util::parseZRStockExchangeID(r.ExchangeID)));
            QVERIFY2(named(*account, r.SecurityID, r.ExchangeID), r.SecurityID);
            QVERIFY(r.TradedVolume >= 0 && r.TradedVolume <= r.OrderVolume && r.OrderVolume > 0);
            QVERIFY(r.OrderPrice >= 0 && r.TradedAmount >= 0);
            QVERIFY(!Util::char2QStr(r.StatusMsg).isEmpty() && isUtf8(r.StatusMsg));
            if (r.OrderStatus == '3') {
                QCOMPARE(r.TradedVolume, r.OrderVolume);
                ++filled;
            }
            if (r.OrderStatus == '1' || r.OrderStatus == '5' || r.OrderStatus == '7')
                QCOMPARE(r.TradedVolume, 0);
            directions.insert(direction);
            statuses.insert(status);
            priceTypes.insert(priceType);
            exchanges.insert(r.ExchangeID);
        };
        const QVector<void*>& orders = account->getHistoryOrderList();
        if (!(credit ? forEach<ZR::CZRVDCreditHistoryOrderEXField>(orders, check) : forEach<ZR::CZRVDHistoryOrderEXField>(orders, check)))
            return;
        QVERIFY(filled > 0);
        QVERIFY(statuses.size() >= 4);
        QVERIFY(priceTypes.size() >= 4);
        QVERIFY(directions.contains(QStringLiteral("买入")) && directions.contains(QStringLiteral("卖出")));
        if (credit)
            QVERIFY(directions.contains(QStringLiteral("融资买入")) && directions.contains(QStringLiteral("融券卖出")));
        QVERIFY(exchanges.contains('1') && exchanges.contains('2'));
    }

    if (!forEach<ZR::CZRVDHistoryDeliveryField>(desk.stock.getHistoryDeliveryList(), [](const auto& r) {
        QVERIFY(QStringList({QStringLiteral("上交所"), QStringLiteral("深交所"), QStringLiteral("北交所")})
                    .contains(QString::fromUtf8(r.ExchangeName)));
        QVERIFY(!QString::fromUtf8(r.SecurityName).isEmpty() && isUtf8(r.SecurityName));
        QVERIFY(!QString::fromUtf8(r.DirectionName).isEmpty() && isUtf8(r.DirectionName));
        QVERIFY(r.TradeVolume > 0 && r.TradePrice > 0 && r.TradeAmount > 0);
        const double fees = r.Commission + r.StampTax + r.TransferFee + r.RegulatoryFee;
        QVERIFY(qAbs(qAbs(r.NetAmount) - r.TradeAmount) <= fees + 0.011);
        QVERIFY(r.SerialNo[0] != '\0');
    }))
        return;
    if (!forEach<ZR::CZRVDCreditHistoryTradeEXField>(desk.credit.getHistoryTradeList(), [&desk](const auto& r) {
        QVERIFY(!Util::parseZRCreditDirection(r.Direction).startsWith(QStringLiteral("未知")));
        QVERIFY(named(desk.credit, r.SecurityID, r.ExchangeID));
        QVERIFY(r.TradeVolume > 0 && r.TradePrice > 0 && r.Commission > 0);
        QVERIFY(r.TradeID[0] != '\0');
        QVERIFY(r.ShareholderID[0] == 'E' || qstrncmp(r.ShareholderID, "06", 2) == 0);
    }))
        return;

    // Positions and fund flows name the exchange by its letters.
    const QMap<QString, char> exchangeOf = {{QStringLiteral("SH"), '1'}, {QStringLiteral("SZ"), '2'}, {QStringLiteral("BJ"), '4'}};
    int empty = 0;
    if (!forEach<ZR::CZRVDHistoryHoldField>(desk.stock.getHistoryHoldList(), [&](const auto& r) {
        QVERIFY2(exchangeOf.contains(QString::fromLatin1(r.ExchangeCode)), r.ExchangeCode);
        QVERIFY(named(desk.stock, r.SecurityID, exchangeOf.value(QString::fromLatin1(r.ExchangeCode))));
        QVERIFY(r.HoldVolume >= 0 && r.HoldCost >= 0 && r.OpenCostPrice > 0);
        if (r.HoldVolume == 0)
            ++empty;
        else
            QVERIFY(r.HoldCost > 0);
    }))
        return;
    QVERIFY2(empty > 0 && empty < desk.stock.getHistoryHoldList().size() / 5, qPrintable(QString::number(empty)));
    QSet<QString> items;
    if (!forEach<ZR::CZRVDCreditHistoryFundDetailField>(desk.credit.getHistoryFundDetailList(), [&](const auto& r) {
        const QString exchange = QString::fromLatin1(r.ExchangeCode);
        QVERIFY(exchange.isEmpty() || exchangeOf.contains(exchange));
        QCOMPARE(exchange.isEmpty(), r.SecurityID[0] == '\0');
        if (!exchange.isEmpty())
            QVERIFY(named(desk.credit, r.SecurityID, exchangeOf.value(exchange)));
        QVERIFY((r.Deposit > 0) != (r.Withdrawal > 0));
        QVERIFY(!QString::fromUtf8(r.Summary).isEmpty() && isUtf8(r.Summary) && isUtf8(r.BusinessItem));
        items.insert(QString::fromUtf8(r.BusinessItem));
    }))
        return;
    QVERIFY(items.contains(QStringLiteral("证券买入")) && items.contains(QStringLiteral("融资买入")));

    // Margin debts use the debt codes.
    QSet<int> types, statuses;
    if (!forEach<ZR::CZRVDCreditHistoryDebtInfoField>(desk.credit.getCreditHistoryDebtInfoList(), [&](const auto& r) {
        types.insert(r.EntrustType);
        statuses.insert(r.DebtStatus);
        QVERIFY(dateOf(text(r.OpenDate)) <= dateOf(text(r.TradeDate)));
        QVERIFY(r.DebtAmount > 0 && r.RepaidAmount >= 0 && r.ExtraDebtAmount >= 0);
        if (r.EntrustType == 61)
            QVERIFY(r.FinancedVolume > 0 && r.RepaidVolume <= r.FinancedVolume && r.ShortVolume == 0);
        if (r.EntrustType == 64)
            QVERIFY(r.ShortVolume > 0 && r.RepaidVolume <= r.ShortVolume && r.FinancedVolume == 0);
        QVERIFY(named(desk.credit, r.SecurityID, r.ExchangeID));
    }))
        return;
    QCOMPARE(statuses, (QSet<int>{0, 3}));
    for (int type : {61, 62, 63, 64, 73})
        QVERIFY2(types.contains(type), qPrintable(QString::number(type)));
    QVERIFY((types - QSet<int>{61, 62, 63, 64, 71, 72, 73}).isEmpty());
}

void tst_Service::dateFilterSelectsTheRange_data()
{
    QTest::addColumn<QString>("begin");
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("empty");

    QTest::newRow("whole window") << windowBegin << windowEnd << false;
    QTest::newRow("one day") << QStringLiteral("20240229") << QStringLiteral("20240229") << false;
    QTest::newRow("a week across months") << QStringLiteral("20240226") << QStringLiteral("20240303") << false;
    QTest::newRow("overlapping the start") << QStringLiteral("20240101") << QStringLiteral("20240220") << false;
    QTest::newRow("overlapping the end") << QStringLiteral("20240311") << QStringLiteral("20240331") << false;
    QTest::newRow("a weekend") << QStringLiteral("20240302") << QStringLiteral("20240303") << true;
    QTest::newRow("before the window") << QStringLiteral("20230101") << QStringLiteral("20240213") << true;
    QTest::newRow("today and later") << QStringLiteral("20240315") << QStringLiteral("20240401") << true;
    QTest::newRow("begin after end") << QStringLiteral("20240301") << QStringLiteral("20240226") << true;
}

void tst_Service::dateFilterSelectsTheRange()
{
    QFETCH(QString, begin);
    QFETCH(QString, end);
    QFETCH(bool, empty);

    Desk desk;
    desk.service.setBatchSize(400);
    QVERIFY(complete(fetchAll(desk.stock, HistoryKind::Order, windowBegin, windowEnd, '1')));
    QVector<QByteArray> expected;
    for (const RecordView& record : takeViews(desk.stock, HistoryKind::Order)) {
        if (record.date >= begin.toLatin1() && record.date <= end.toLatin1())
            expected.append(record.bytes);
    }
    const QVector<Answer> answers = fetchAll(desk.stock, HistoryKind::Order, begin, end, '1');
    QVERIFY(complete(answers));
    QVector<QByteArray> selected;
    for (const RecordView& record : views(desk.stock, HistoryKind::Order))
        selected.append(record.bytes);
    QCOMPARE(selected.isEmpty(), empty);
    QCOMPARE(selected.size(), expected.size());
    QVERIFY(selected == expected);
    if (empty)
        QCOMPARE(answers.size(), 1);
}

void tst_Service::newestFirstIsOldestFirstReversed_data()
{
    QTest::addColumn<HistoryKind>("kind");
    QTest::addColumn<int>("accountType");
    QTest::newRow("stock orders") << HistoryKind::Order << 1;
    QTest::newRow("credit trades") << HistoryKind::Trade << 2;
    QTest::newRow("stock fund flows") << HistoryKind::FundDetail << 1;
    QTest::newRow("credit positions") << HistoryKind::Position << 2;
    QTest::newRow("credit debts") << HistoryKind::CreditDebt << 2;
}

void tst_Service::newestFirstIsOldestFirstReversed()
{
    QFETCH(HistoryKind, kind);
    QFETCH(int, accountType);

    Desk desk;
    desk.service.setBatchSize(333);
    UserData& account = desk.account(accountType);
    QVERIFY(complete(fetchAll(account, kind, windowBegin, windowEnd, '1')));
    const QVector<RecordView> oldestFirst = takeViews(account, kind);
    QVERIFY(complete(fetchAll(account, kind, windowBegin, windowEnd, '2')));
    const QVector<RecordView> newestFirst = takeViews(account, kind);

    QCOMPARE(oldestFirst.size(), desk.service.recordCount(kind));
    QCOMPARE(newestFirst.size(), oldestFirst.size());
    for (int i = 0; i < oldestFirst.size(); ++i) {
        QVERIFY(newestFirst.at(i).bytes == oldestFirst.at(oldestFirst.size() - 1 - i).bytes);
        if (i > 0)
            QVERIFY2(oldestFirst.at(i - 1).key() <= oldestFirst.at(i).key(), oldestFirst.at(i).key().constData());
    }
    QVERIFY(oldestFirst.first().date < oldestFirst.last().date);
}

void tst_Service::batchesAreNumberedAndTheLastIsFlagged_data()
{
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("batchSize");
    QTest::addColumn<QVector<int>>("sizes");

    QTest::newRow("remainder") << 1000 << 300 << QVector<int>{300, 300, 300, 100};
    QTest::newRow("exact multiple") << 900 << 300 << QVector<int>{300, 300, 300};
    QTest::newRow("fewer than a batch") << 7 << 500 << QVector<int>{7};
    QTest::newRow("one record per batch") << 3 << 1 << QVector<int>{1, 1, 1};
    QTest::newRow("no records") << 0 << 500 << QVector<int>{0};
}

void tst_Service::batchesAreNumberedAndTheLastIsFlagged()
{
    QFETCH(int, records);
    QFETCH(int, batchSize);
    QFETCH(QVector<int>, sizes);

    Desk desk;
    desk.service.setRecordCount(HistoryKind::Profit, records);
    desk.service.setBatchSize(batchSize);
    const QVector<Answer> answers = fetchAll(desk.credit, HistoryKind::Profit, windowBegin, windowEnd, '2');
    QVERIFY(complete(answers));
    QCOMPARE(answers.size(), sizes.size());
    int total = 0;
    QSet<int> requestIds;
    for (int i = 0; i < sizes.size(); ++i) {
        total += sizes.at(i);
        QCOMPARE(answers.at(i).errorId, 0);
        QCOMPARE(answers.at(i).listSize, total);
        QCOMPARE(answers.at(i).isTotalLast, i == sizes.size() - 1);
        requestIds.insert(answers.at(i).requestId);
    }
    QCOMPARE(requestIds.size(), sizes.size());
}

// Another investor on the same account type gets other records.
void tst_Service::sameInvestorSameBytes()
{
    Desk first;
    Desk second;
    UserData other(2);
    other.setDefaultInvestorID(QStringLiteral("320000067891"));
    other.setService(&first.service);
    for (UserData* account : {&first.credit, &second.credit, &other})
        QVERIFY(complete(fetchAll(*account, HistoryKind::Delivery, windowBegin, windowEnd, '2')));
    const QVector<RecordView> a = views(first.credit, HistoryKind::Delivery);
    const QVector<RecordView> b = views(second.credit, HistoryKind::Delivery);
    const QVector<RecordView> c = views(other, HistoryKind::Delivery);
    QCOMPARE(b.size(), a.size());
    QCOMPARE(c.size(), a.size());
    int same = 0;
    for (int i = 0; i < a.size(); ++i) {
        QVERIFY(a.at(i).bytes == b.at(i).bytes);
        same += a.at(i).bytes.mid(13) == c.at(i).bytes.mid(13);
    }
    QCOMPARE(same, 0);
}

void tst_Service::answerArrivesOnTheGuiThreadAfterTheRecords()
{
    Desk desk;
    desk.service.setBatchSize(250);
    desk.service.setLatencyMs(150);
    AnswerLog log(desk.stock, HistoryKind::Order);
    QElapsedTimer clock;
    clock.start();
    int requestId = -1;
    QCOMPARE(desk.stock.ReqQryHistoryOrderEx(stockInvestor, windowBegin, windowEnd, '2', 1, requestId), 0);
    QVERIFY(requestId > 0);
    QCOMPARE(desk.stock.lastRequestId(), requestId);
    QVERIFY(desk.stock.getIsZRVAReqing());
    QVERIFY(!desk.credit.getIsZRVAReqing());
    QCOMPARE(log.answers.size(), 0);   // never answered inside the request call

    // A second request while one is outstanding is refused; the other account is not held up.
    int second = -1;
    QCOMPARE(desk.stock.ReqQryHistoryTradeEx(stockInvestor, windowBegin, windowEnd, '2', 1, second), int(UserData::ErrorBusy));
    QCOMPARE(second, -1);
    QCOMPARE(desk.stock.lastRequestId(), requestId);
    QCOMPARE(desk.credit.ReqQryHistoryTradeEx(creditInvestor, windowBegin, windowEnd, '2', 1, second), 0);

    QVERIFY(log.waitFor(1));
    QVERIFY2(clock.elapsed() >= 145, qPrintable(QString::number(clock.elapsed())));
    const Answer& answer = log.answers.first();
    QCOMPARE(answer.requestId, requestId);
    QCOMPARE(answer.errorId, 0);
    QVERIFY(!answer.isTotalLast);
    QCOMPARE(answer.listSize, 250);
    QVERIFY(!answer.busy);
    QVERIFY(answer.onGuiThread);
    QVERIFY(!desk.stock.getIsZRVAReqing());
    QVERIFY(desk.service.waitForIdle());
}

// While a large batch is built, the GUI thread keeps serving its timers; a batch built on the
// GUI thread would block them until the answer.
void tst_Service::batchIsBuiltOffTheGuiThread()
{
    Desk desk;
    desk.service.setRecordCount(HistoryKind::Trade, 300000);
    desk.service.setBatchSize(300000);
    AnswerLog log(desk.stock, HistoryKind::Trade);
    int ticksBeforeAnswer = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] { ticksBeforeAnswer += log.answers.isEmpty(); });
    ticker.start(2);
    int requestId = -1;
    QCOMPARE(desk.stock.ReqQryHistoryTradeEx(stockInvestor, windowBegin, windowEnd, '2', 1, requestId), 0);
    QVERIFY(log.waitFor(1, 60000));
    QCOMPARE(log.answers.first().listSize, 300000);
    QVERIFY2(ticksBeforeAnswer >= 5, qPrintable(QString::number(ticksBeforeAnswer)));
}

void tst_Service::requestsRefusedByServiceState_data()
{
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("loggedIn");
    QTest::addColumn<bool>("busy");
    QTest::addColumn<int>("error");

    QTest::newRow("disconnected") << false << true << false << int(UserData::ErrorNotConnected);
    QTest::newRow("disconnected and logged out") << false << false << false << int(UserData::ErrorNotConnected);
    QTest::newRow("logged out") << true << false << false << int(UserData::ErrorNotLoggedIn);
    QTest::newRow("busy") << true << true << true << int(UserData::ErrorBusy);
}

void tst_Service::requestsRefusedByServiceState()
{
    QFETCH(bool, connected);
    QFETCH(bool, loggedIn);
    QFETCH(bool, busy);
    QFETCH(int, error);

    Desk desk;
    desk.service.setConnected(connected);
    desk.service.setLoggedIn(loggedIn);
    desk.service.setBusy(busy);
    UserData late(1);   // attached after the changes, it gets the same state
    late.setService(&desk.service);
    for (UserData* account : {&desk.credit, &late}) {
        QCOMPARE(account->zrvaConnected, connected);
        QCOMPARE(account->zrvaLoggedIn, loggedIn);
    }
    QCOMPARE(desk.credit.getIsZRVAReqing(), busy);

    int requestId = -1;
    QCOMPARE(desk.credit.ReqQryHistoryCapital(creditInvestor, windowBegin, windowEnd, '2', 1, requestId), error);
    QCOMPARE(requestId, -1);
    QVERIFY(desk.service.waitForIdle(0));

    desk.service.setConnected(true);
    desk.service.setLoggedIn(true);
    desk.service.setBusy(false);
    QCOMPARE(desk.credit.ReqQryHistoryCapital(creditInvestor, windowBegin, windowEnd, '2', 1, requestId), 0);
    QVERIFY(desk.service.waitForIdle());
    QCOMPARE(desk.credit.getHistoryCapitalList().size(), desk.service.batchSize());
}

void tst_Service::failureAnswersTheOutstandingRequestOnce_data()
{
    QTest::addColumn<Failure>("failure");
    QTest::addColumn<int>("errorId");
    QTest::addColumn<QString>("errorMsg");
    QTest::newRow("failed answer") << Failure::Answer << -3001 << QStringLiteral("查询历史交割单失败");
    QTest::newRow("disconnect") << Failure::Disconnect << int(ValueAddedService::ErrorConnectionLost) << QStringLiteral("增值服务连接已断开");
    QTest::newRow("logout") << Failure::Logout << int(ValueAddedService::ErrorLoggedOut) << QStringLiteral("增值服务已登出");
}

void tst_Service::failureAnswersTheOutstandingRequestOnce()
{
    QFETCH(Failure, failure);
    QFETCH(int, errorId);
    QFETCH(QString, errorMsg);

    Desk desk;
    AnswerLog log(desk.stock, HistoryKind::Delivery);
    if (failure == Failure::Answer)
        desk.service.failNextAnswer(errorId, errorMsg);
    else
        desk.service.setLatencyMs(30000);
    int requestId = -1;
    QCOMPARE(desk.stock.ReqQryHistoryDelivery(stockInvestor, windowBegin, windowEnd, '2', 1, requestId), 0);
    QVERIFY(desk.stock.getIsZRVAReqing());
    QElapsedTimer clock;
    clock.start();
    if (failure != Failure::Answer) {
        QVERIFY(!desk.service.waitForIdle(50));   // gives up long before the latency
        const bool logout = failure == Failure::Logout;
        if (logout)
            desk.service.setLoggedIn(false);
        else
            desk.service.setConnected(false);
        QCOMPARE(desk.stock.zrvaLoggedIn, !logout);
        QCOMPARE(desk.stock.zrvaConnected, logout);
        QCOMPARE(desk.credit.zrvaConnected, logout);
        QCOMPARE(log.answers.size(), 0);   // answered from the event loop, not inside the setter
    }

    QVERIFY(log.waitFor(1));
    QVERIFY(clock.elapsed() < 10000);
    const Answer& failed = log.answers.first();
    QCOMPARE(failed.errorId, errorId);
    QCOMPARE(failed.errorMsg, errorMsg);
    QCOMPARE(failed.requestId, requestId);
    QCOMPARE(failed.listSize, 0);
    QVERIFY(!failed.busy);
    QVERIFY(desk.service.waitForIdle(0));

    desk.service.setConnected(true);
    desk.service.setLoggedIn(true);
    desk.service.setLatencyMs(0);
    QVERIFY(desk.stock.zrvaConnected && desk.stock.zrvaLoggedIn);
    QCOMPARE(desk.stock.ReqQryHistoryDelivery(stockInvestor, windowBegin, windowEnd, '2', 1, requestId), 0);
    QVERIFY(log.waitFor(2));
    QCOMPARE(log.answers.at(1).errorId, 0);
    QCOMPARE(log.answers.at(1).listSize, desk.service.batchSize());
    QTest::qWait(20);
    QCOMPARE(log.answers.size(), 2);
}

void tst_Service::connectionSetFromAnotherThread()
{
    Desk desk;
    std::unique_ptr<QThread> thread(QThread::create([&desk] {
        desk.service.setConnected(false);
        desk.service.setBatchSize(42);
    }));
    thread->start();
    QVERIFY(thread->wait(5000));
    QCOMPARE(desk.service.batchSize(), 42);
    QTRY_VERIFY(!desk.stock.zrvaConnected && !desk.credit.zrvaConnected);
}

void tst_Service::accountGoneBeforeDelivery_data()
{
    QTest::addColumn<int>("latencyMs");
    QTest::addColumn<bool>("destroy");
    QTest::newRow("detached while waiting") << 20 << false;
    QTest::newRow("destroyed while waiting") << 30 << true;
    QTest::newRow("destroyed before the build") << 0 << true;
}

// The sanitizer build proves the batch that found no account was freed.
void tst_Service::accountGoneBeforeDelivery()
{
    QFETCH(int, latencyMs);
    QFETCH(bool, destroy);

    Desk desk;
    desk.service.setLatencyMs(latencyMs);
    auto account = std::make_unique<UserData>(2);
    account->setService(&desk.service);
    int answers = 0;
    connect(account.get(), &UserData::signal_ZRVA_RspInquiryHistoryOrderFinished, this, [&answers] { ++answers; });
    int requestId = -1;
    QCOMPARE(account->ReqQryHistoryOrderEx(creditInvestor, windowBegin, windowEnd, '2', 1, requestId), 0);
    if (destroy) {
        account.reset();
    } else {
        account->setService(nullptr);
        QVERIFY(!account->getIsZRVAReqing());
        QCOMPARE(account->service(), nullptr);
    }
    QVERIFY(desk.service.waitForIdle());
    QTest::qWait(latencyMs + 50);
    QCOMPARE(answers, 0);
    QVERIFY(!account || account->getHistoryOrderList().isEmpty());
}

void tst_Service::serviceDestroyedWithRequestInFlight_data()
{
    QTest::addColumn<int>("latencyMs");
    QTest::addColumn<int>("batchSize");
    QTest::newRow("waiting for the latency") << 200 << 500;
    QTest::newRow("building a large batch") << 0 << 200000;
}

void tst_Service::serviceDestroyedWithRequestInFlight()
{
    QFETCH(int, latencyMs);
    QFETCH(int, batchSize);

    UserData account(1);
    AnswerLog log(account, HistoryKind::Trade);
    auto service = std::make_unique<ValueAddedService>();
    service->setLatencyMs(latencyMs);
    service->setBatchSize(batchSize);
    service->setRecordsPerKind(batchSize);
    service->setReferenceDate(today);
    account.setService(service.get());
    int requestId = -1;
    QCOMPARE(account.ReqQryHistoryTradeEx(stockInvestor, windowBegin, windowEnd, '2', 1, requestId), 0);
    if (latencyMs == 0)
        QTest::qWait(20);   // lets the request reach the worker
    service.reset();

    QCOMPARE(account.service(), nullptr);
    QVERIFY(!account.getIsZRVAReqing());
    QVERIFY(log.waitFor(1));
    QCOMPARE(log.answers.first().errorId, int(ValueAddedService::ErrorConnectionLost));
    QCOMPARE(log.answers.first().requestId, requestId);
    QTest::qWait(latencyMs + 50);
    QCOMPARE(log.answers.size(), 1);
    QVERIFY(account.getHistoryTradeList().isEmpty());
}

void tst_Service::millionRecordsAreServedBatchByBatch()
{
    Desk desk;
    desk.service.setRecordCount(HistoryKind::Order, 1000000);
    desk.service.setBatchSize(500);
    AnswerLog log(desk.stock, HistoryKind::Order);
    int requestId = -1;
    QCOMPARE(desk.stock.ReqQryHistoryOrderEx(stockInvestor, windowBegin, windowEnd, '1', 2000, requestId), 0);
    QVERIFY(log.waitFor(1));
    QVERIFY(log.answers.first().isTotalLast);
    const QVector<RecordView> lastOldestFirst = takeViews(desk.stock, HistoryKind::Order);

    QCOMPARE(desk.stock.ReqQryHistoryOrderEx(stockInvestor, windowBegin, windowEnd, '2', 1, requestId), 0);
    QVERIFY(log.waitFor(2));
    QVERIFY(!log.answers.at(1).isTotalLast);
    const QVector<RecordView> firstNewestFirst = takeViews(desk.stock, HistoryKind::Order);

    QCOMPARE(lastOldestFirst.size(), 500);
    QCOMPARE(firstNewestFirst.size(), 500);
    for (int i = 0; i < 500; ++i)
        QVERIFY(firstNewestFirst.at(i).bytes == lastOldestFirst.at(499 - i).bytes);
    QCOMPARE(firstNewestFirst.first().date, windowEnd.toLatin1());

    // A batch beyond the end is an empty last batch.
    QCOMPARE(desk.stock.ReqQryHistoryOrderEx(stockInvestor, windowBegin, windowEnd, '2', 2001, requestId), 0);
    QVERIFY(log.waitFor(3));
    QCOMPARE(log.answers.at(2).listSize, 0);
    QVERIFY(log.answers.at(2).isTotalLast);
}

QTEST_MAIN(tst_Service)
#include "tst_service.moc"
