#include "SecurityTable.h"
#include "UserData.h"
#include "UserDataManager.h"
#include "Util.h"
#include "api/ZRVDHistoryFields.h"
#include "service/ValueAddedService.h"

#include <QSignalSpy>
#include <QtTest>

#include <algorithm>
#include <memory>

using namespace VEK_SC_Space;
namespace ZR = ZRVALUEADDPROAPI;

Q_DECLARE_METATYPE(VEK_SC_Space::HistoryKind)

namespace {

const QString investor = QStringLiteral("310000012345");

int request(UserData& account, HistoryKind kind, const QString& investorId, const QString& begin,
            const QString& end, char sortType, int batchNo, int& requestId)
{
    return (account.*UserData::requestFunction(kind))(investorId, begin, end, sortType, batchNo, requestId);
}

int validRequest(UserData& account, HistoryKind kind, int& requestId)
{
    return request(account, kind, investor, QStringLiteral("20240102"), QStringLiteral("20240131"), '2', 1, requestId);
}

enum class Decoder {
    StockDirection, CreditDirection, StockOrderStatus, CreditOrderStatus,
    StockExchangeID, CreditExchangeID, StockOrderPriceType, CreditOrderPriceType,
};

QString decode(Decoder decoder, const QByteArray& code)
{
    const auto at = [&code](int i) { return i < code.size() ? code.at(i) : '\0'; };
    switch (decoder) {
    case Decoder::StockDirection: return Util::parseZRStockDirection(at(0));
    case Decoder::CreditDirection: return Util::parseZRCreditDirection(at(0));
    case Decoder::StockOrderStatus: return Util::parseZRStockOrderStatus(at(0));
    case Decoder::CreditOrderStatus: return Util::parseZRCreditOrderStatus(at(0));
    case Decoder::StockExchangeID: return Util::parseZRStockExchangeID(at(0));
    case Decoder::CreditExchangeID: return Util::parseZRCreditExchangeID(at(0));
    case Decoder::StockOrderPriceType: return Util::parseZRStockOrderPriceType(at(0), at(1), at(2));
    case Decoder::CreditOrderPriceType: return Util::parseZRCreditOrderPriceType(at(0), at(1), at(2));
    }
    return QString();
}

// One record of every type a result list can hold, allocated as its exact type.
struct RecordMaker {
    const char* name;
    HistoryKind kind;
    int accountType;
    void* (*make)();
};

template <typename Record>
void* maker() { return new Record(); }

const QVector<RecordMaker>& recordMakers()
{
    static const QVector<RecordMaker> makers = {
        {"stock order", HistoryKind::Order, 1, maker<ZR::CZRVDHistoryOrderEXField>},
        {"credit order", HistoryKind::Order, 2, maker<ZR::CZRVDCreditHistoryOrderEXField>},
        {"stock trade", HistoryKind::Trade, 1, maker<ZR::CZRVDHistoryTradeEXField>},
        {"credit trade", HistoryKind::Trade, 2, maker<ZR::CZRVDCreditHistoryTradeEXField>},
        {"stock delivery", HistoryKind::Delivery, 1, maker<ZR::CZRVDHistoryDeliveryField>},
        {"credit delivery", HistoryKind::Delivery, 2, maker<ZR::CZRVDCreditHistoryDeliveryField>},
        {"stock capital", HistoryKind::Capital, 1, maker<ZR::CZRVDHistoryCapitalField>},
        {"credit capital", HistoryKind::Capital, 2, maker<ZR::CZRVDCreditHistoryCapitalField>},
        {"stock fund detail", HistoryKind::FundDetail, 1, maker<ZR::CZRVDHistoryFundDetailField>},
        {"credit fund detail", HistoryKind::FundDetail, 2, maker<ZR::CZRVDCreditHistoryFundDetailField>},
        {"stock position", HistoryKind::Position, 1, maker<ZR::CZRVDHistoryHoldField>},
        {"credit position", HistoryKind::Position, 2, maker<ZR::CZRVDCreditHistoryHoldField>},
        {"stock profit", HistoryKind::Profit, 1, maker<ZR::CZRVDHisShareProfitField>},
        {"credit profit", HistoryKind::Profit, 2, maker<ZR::CZRVDCreditHisShareProfitField>},
        {"credit debt", HistoryKind::CreditDebt, 2, maker<ZR::CZRVDCreditHistoryDebtInfoField>},
    };
    return makers;
}

} // namespace

Q_DECLARE_METATYPE(Decoder)

class tst_UserData : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void requestArgumentsAreChecked_data();
    void requestArgumentsAreChecked();
    void requestWithoutServiceIsAcceptedAndNeverAnswered();

    void eachKindHasItsOwnListAndSignal_data();
    void eachKindHasItsOwnListAndSignal();
    void answerToAnotherRequestLeavesBusyFlag();

    void managerMapsKeysToAccounts();

    void securityLookup_data();
    void securityLookup();
    void securitiesTableCoversTheThreeExchanges();

    void decoders_data();
    void decoders();
    void callTraceNamesDecoderAndBytes_data();
    void callTraceNamesDecoderAndBytes();
    void char2QStr_data();
    void char2QStr();
};

void tst_UserData::init()
{
    QLocale::setDefault(QLocale::c());
}

void tst_UserData::cleanup()
{
    Util::setCallTrace(nullptr);
    UserDataManager::instance()->userDataMap().clear();
}

void tst_UserData::requestArgumentsAreChecked_data()
{
    QTest::addColumn<HistoryKind>("kind");
    QTest::addColumn<QString>("investorId");
    QTest::addColumn<QString>("begin");
    QTest::addColumn<QString>("end");
    QTest::addColumn<char>("sortType");
    QTest::addColumn<int>("batchNo");
    QTest::addColumn<int>("error");

    struct Row { const char* name; HistoryKind kind; const char* investorId; const char* begin; const char* end; char sortType; int batchNo; int error; };
    const char* b = "20240102";
    const char* e = "20240131";
    const char* id = "310000012345";
    const Row rows[] = {
        {"empty investor", HistoryKind::Order, nullptr, b, e, '2', 1, UserData::ErrorBadInvestorId},
        {"blank investor", HistoryKind::Trade, "  ", b, e, '2', 1, UserData::ErrorBadInvestorId},
        {"begin 7 digits", HistoryKind::Delivery, id, "2024010", e, '2', 1, UserData::ErrorBadBeginDate},
        {"begin 9 digits", HistoryKind::Capital, id, "202401020", e, '2', 1, UserData::ErrorBadBeginDate},
        {"begin with dashes", HistoryKind::FundDetail, id, "2024-01-02", e, '2', 1, UserData::ErrorBadBeginDate},
        {"begin 30 February", HistoryKind::Position, id, "20240230", e, '2', 1, UserData::ErrorBadBeginDate},
        {"begin month 13", HistoryKind::Profit, id, "20241301", e, '2', 1, UserData::ErrorBadBeginDate},
        {"begin with a letter", HistoryKind::CreditDebt, id, "2024010a", e, '2', 1, UserData::ErrorBadBeginDate},
        {"begin with a sign", HistoryKind::Order, id, "+2024010", e, '2', 1, UserData::ErrorBadBeginDate},
        {"begin empty", HistoryKind::Order, id, nullptr, e, '2', 1, UserData::ErrorBadBeginDate},
        {"end 29 February 2023", HistoryKind::Order, id, b, "20230229", '2', 1, UserData::ErrorBadEndDate},
        {"end with blank", HistoryKind::Trade, id, b, "2024013 ", '2', 1, UserData::ErrorBadEndDate},
        {"end day 00", HistoryKind::Capital, id, b, "20240100", '2', 1, UserData::ErrorBadEndDate},
        {"sort 0", HistoryKind::Order, id, b, e, '0', 1, UserData::ErrorBadSortType},
        {"sort 3", HistoryKind::Profit, id, b, e, '3', 1, UserData::ErrorBadSortType},
        {"sort number 2", HistoryKind::Position, id, b, e, char(2), 1, UserData::ErrorBadSortType},
        {"batch 0", HistoryKind::Order, id, b, e, '1', 0, UserData::ErrorBadBatchNo},
        {"batch -1", HistoryKind::CreditDebt, id, b, e, '1', -1, UserData::ErrorBadBatchNo},
        {"leap day", HistoryKind::Trade, id, "20240229", "20240229", '1', 1, 0},
        {"begin after end", HistoryKind::Trade, id, "20240131", "20240102", '1', 1, 0},
        {"across a year", HistoryKind::Trade, id, "20231231", "20240101", '1', 1, 0},
        {"weekend only", HistoryKind::Trade, id, "20240106", "20240107", '1', 1, 0},
    };
    for (const Row& r : rows)
        QTest::newRow(r.name) << r.kind << QString::fromLatin1(r.investorId) << QString::fromLatin1(r.begin)
                              << QString::fromLatin1(r.end) << r.sortType << r.batchNo << r.error;
}

void tst_UserData::requestArgumentsAreChecked()
{
    QFETCH(HistoryKind, kind);
    QFETCH(QString, investorId);
    QFETCH(QString, begin);
    QFETCH(QString, end);
    QFETCH(char, sortType);
    QFETCH(int, batchNo);
    QFETCH(int, error);

    ValueAddedService service;
    UserData account(2);
    account.setService(&service);
    QSignalSpy answers(&account, UserData::finishedSignal(kind));

    int earlier = -1;
    QCOMPARE(validRequest(account, kind, earlier), 0);
    QVERIFY(service.waitForIdle());
    QCOMPARE(answers.count(), 1);

    int requestId = -1;
    QCOMPARE(request(account, kind, investorId, begin, end, sortType, batchNo, requestId), error);
    if (error == 0) {
        QVERIFY(requestId > earlier);
        QCOMPARE(account.lastRequestId(), requestId);
        QVERIFY(service.waitForIdle());
        QCOMPARE(answers.count(), 2);
        return;
    }
    QCOMPARE(requestId, -1);
    QCOMPARE(account.lastRequestId(), earlier);
    QVERIFY(!account.getIsZRVAReqing());
    QVERIFY(service.waitForIdle(0));
    QCoreApplication::processEvents();
    QCOMPARE(answers.count(), 1);
}

// Each request is accepted, as nothing is outstanding, and gets a fresh, larger id.
void tst_UserData::requestWithoutServiceIsAcceptedAndNeverAnswered()
{
    UserData stock(1);
    UserData credit(2);
    int answers = 0;
    for (UserData* account : {&stock, &credit}) {
        for (int kind = 0; kind < HistoryKindCount; ++kind)
            connect(account, UserData::finishedSignal(HistoryKind(kind)), this, [&answers] { ++answers; });
    }
    int previous = 0;
    for (int i = 0; i < HistoryKindCount * 2; ++i) {
        UserData& account = i % 2 ? credit : stock;
        int requestId = -1;
        QCOMPARE(validRequest(account, HistoryKind(i / 2), requestId), 0);
        QVERIFY2(requestId > previous, qPrintable(QStringLiteral("%1 after %2").arg(requestId).arg(previous)));
        QCOMPARE(account.lastRequestId(), requestId);
        QVERIFY(!account.getIsZRVAReqing());
        previous = requestId;
    }
    QTest::qWait(20);
    QCOMPARE(answers, 0);
    for (int kind = 0; kind < HistoryKindCount; ++kind)
        QVERIFY(stock.resultList(HistoryKind(kind)).isEmpty() && credit.resultList(HistoryKind(kind)).isEmpty());
}

void tst_UserData::eachKindHasItsOwnListAndSignal_data()
{
    QTest::addColumn<int>("maker");
    for (int i = 0; i < recordMakers().size(); ++i)
        QTest::newRow(recordMakers().at(i).name) << i;
}

// The account is destroyed holding the records: the sanitizer build reports one freed as the
// wrong type or not at all.
void tst_UserData::eachKindHasItsOwnListAndSignal()
{
    QFETCH(int, maker);
    const RecordMaker& made = recordMakers().at(maker);

    UserData account(made.accountType);
    QVector<QVector<void*>*> accessors = {
        &account.getHistoryOrderList(), &account.getHistoryTradeList(), &account.getHistoryDeliveryList(),
        &account.getHistoryCapitalList(), &account.getHistoryFundDetailList(), &account.getHistoryHoldList(),
        &account.getHisShareProfitList(), &account.getCreditHistoryDebtInfoList(),
    };
    QVector<QSignalSpy*> spies;
    for (int kind = 0; kind < HistoryKindCount; ++kind) {
        QCOMPARE(&account.resultList(HistoryKind(kind)), accessors.at(kind));
        spies.append(new QSignalSpy(&account, UserData::finishedSignal(HistoryKind(kind))));
    }

    int listSizeAtSignal = -1;
    connect(&account, UserData::finishedSignal(made.kind), this, [&] {
        listSizeAtSignal = account.resultList(made.kind).size();
    });
    void* first = made.make();
    void* second = made.make();
    account.deliverAnswer(made.kind, 77, {first, second}, 0, QString(), false);
    account.deliverAnswer(made.kind, 78, {}, 5, QStringLiteral("失败"), true);

    QCOMPARE(listSizeAtSignal, 2);
    QCOMPARE(*accessors.at(int(made.kind)), (QVector<void*>{first, second}));
    for (int kind = 0; kind < HistoryKindCount; ++kind) {
        QSignalSpy& spy = *spies.at(kind);
        if (kind != int(made.kind)) {
            QCOMPARE(spy.count(), 0);
            QVERIFY(accessors.at(kind)->isEmpty());
            continue;
        }
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(0), (QVariantList{0, QString(), false, 77}));
        QCOMPARE(spy.at(1), (QVariantList{5, QStringLiteral("失败"), true, 78}));
    }
    qDeleteAll(spies);
}

void tst_UserData::answerToAnotherRequestLeavesBusyFlag()
{
    ValueAddedService service;
    service.setLatencyMs(60000);
    UserData account(1);
    account.setService(&service);
    int requestId = -1;
    QCOMPARE(validRequest(account, HistoryKind::Capital, requestId), 0);
    QVERIFY(account.getIsZRVAReqing());

    account.deliverAnswer(HistoryKind::Capital, requestId + 1000, {}, 0, QString(), true);
    QVERIFY(account.getIsZRVAReqing());
    account.deliverAnswer(HistoryKind::Capital, requestId, {}, 0, QString(), true);
    QVERIFY(!account.getIsZRVAReqing());
}

void tst_UserData::managerMapsKeysToAccounts()
{
    UserDataManager* manager = UserDataManager::instance();
    QCOMPARE(UserDataManager::instance(), manager);
    auto& accounts = manager->userDataMap();
    UserData stock(1);
    auto credit = std::make_unique<UserData>(2);
    accounts.insert(7, &stock);
    accounts.insert(9, credit.get());
    accounts.insert(10, credit.get());
    QCOMPARE(manager->userData(7), &stock);
    QCOMPARE(manager->userData(9), credit.get());
    QCOMPARE(manager->userData(8), nullptr);

    // A destroyed account leaves the map under every key it had.
    credit.reset();
    QCOMPARE(accounts.keys(), QList<int>{7});
    QCOMPARE(manager->userData(7), &stock);
}

void tst_UserData::securityLookup_data()
{
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<char>("exchange");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("displayId");

    QTest::newRow("SH bank") << QByteArray("600000") << '1' << QStringLiteral("浦发银行") << QStringLiteral("600000");
    QTest::newRow("SH STAR") << QByteArray("688981") << '1' << QStringLiteral("中芯国际") << QStringLiteral("688981");
    QTest::newRow("SZ bank") << QByteArray("000001") << '2' << QStringLiteral("平安银行") << QStringLiteral("000001");
    QTest::newRow("SZ ChiNext") << QByteArray("300750") << '2' << QStringLiteral("宁德时代") << QStringLiteral("300750");
    QTest::newRow("BJ") << QByteArray("830799") << '4' << QStringLiteral("艾融软件") << QStringLiteral("830799");
    QTest::newRow("SH ETF") << QByteArray("510300") << '1' << QStringLiteral("沪深300ETF") << QStringLiteral("510300");
    QTest::newRow("SZ ETF") << QByteArray("159915") << '2' << QStringLiteral("创业板ETF") << QStringLiteral("159915");
    QTest::newRow("SH repo") << QByteArray("204001") << '1' << QStringLiteral("GC001") << QStringLiteral("204001");
    QTest::newRow("SZ convertible") << QByteArray("127045") << '2' << QStringLiteral("牧原转债") << QStringLiteral("127045");
    QTest::newRow("padded code") << QByteArray("600519 ") << '1' << QStringLiteral("贵州茅台") << QStringLiteral("600519");
    QTest::newRow("SZ code on SH") << QByteArray("000001") << '1' << QString() << QStringLiteral("000001");
    QTest::newRow("SH code on SZ") << QByteArray("600000") << '2' << QString() << QStringLiteral("600000");
    QTest::newRow("SH code on BJ") << QByteArray("600000") << '4' << QString() << QStringLiteral("600000");
    QTest::newRow("unknown code") << QByteArray("999999") << '1' << QString() << QStringLiteral("999999");
    QTest::newRow("unknown exchange") << QByteArray("600000") << '3' << QString() << QStringLiteral("600000");
    QTest::newRow("empty code") << QByteArray("") << '1' << QString() << QString();
    QTest::newRow("null code") << QByteArray() << '2' << QString() << QString();
}

void tst_UserData::securityLookup()
{
    QFETCH(QByteArray, code);
    QFETCH(char, exchange);
    QFETCH(QString, name);
    QFETCH(QString, displayId);

    UserData account(1);
    QCOMPARE(account.Translate2SecurityName(code.isNull() ? nullptr : code.data(), exchange), name);
    QCOMPARE(account.translateNameCalls, 1);
    QCOMPARE(account.displaySecurityIdCalls, 0);
    QCOMPARE(account.GetDisplaySecurityID(QString::fromLatin1(code), exchange), displayId);
    QCOMPARE(account.displaySecurityIdCalls, 1);
    QCOMPARE(account.translateNameCalls, 1);
}

void tst_UserData::securitiesTableCoversTheThreeExchanges()
{
    QVERIFY(SecurityTable::size() >= 300);
    QMap<char, int> perExchange;
    QSet<QByteArray> keys;
    for (int i = 0; i < SecurityTable::size(); ++i) {
        const SecurityInfo& security = SecurityTable::at(i);
        const QByteArray code(security.code);
        QCOMPARE(code.size(), 6);
        QVERIFY2(std::all_of(code.begin(), code.end(), [](char c) { return c >= '0' && c <= '9'; }), security.code);
        QVERIFY(!QByteArray(security.name).isEmpty());
        QCOMPARE(SecurityTable::find(code, security.exchange), &security);
        QVERIFY2(!keys.contains(security.exchange + code), security.code);
        keys.insert(security.exchange + code);
        ++perExchange[security.exchange];
    }
    QCOMPARE(perExchange.keys(), (QList<char>{'1', '2', '4'}));
    QVERIFY(perExchange.value('1') >= 100);
    QVERIFY(perExchange.value('2') >= 100);
    QVERIFY(perExchange.value('4') >= 10);
}

void tst_UserData::decoders_data()
{
    QTest::addColumn<Decoder>("decoder");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QString>("text");

    QTest::newRow("stock buy") << Decoder::StockDirection << QByteArray("0") << QStringLiteral("买入");
    QTest::newRow("stock sell") << Decoder::StockDirection << QByteArray("1") << QStringLiteral("卖出");
    QTest::newRow("stock reverse repo") << Decoder::StockDirection << QByteArray("6") << QStringLiteral("逆回购");
    QTest::newRow("credit buy") << Decoder::CreditDirection << QByteArray("0") << QStringLiteral("买入");
    QTest::newRow("credit sell") << Decoder::CreditDirection << QByteArray("1") << QStringLiteral("卖出");
    QTest::newRow("margin buy") << Decoder::CreditDirection << QByteArray("a") << QStringLiteral("融资买入");
    QTest::newRow("short sell") << Decoder::CreditDirection << QByteArray("b") << QStringLiteral("融券卖出");
    QTest::newRow("sell to repay") << Decoder::CreditDirection << QByteArray("j") << QStringLiteral("卖券还款");
    QTest::newRow("buy to return") << Decoder::CreditDirection << QByteArray("c") << QStringLiteral("买券还券");
    QTest::newRow("direct repay") << Decoder::CreditDirection << QByteArray("d") << QStringLiteral("直接还款");
    QTest::newRow("stock filled") << Decoder::StockOrderStatus << QByteArray("3") << QStringLiteral("全部成交");
    QTest::newRow("stock cancelled") << Decoder::StockOrderStatus << QByteArray("1") << QStringLiteral("已撤");
    QTest::newRow("credit invalid") << Decoder::CreditOrderStatus << QByteArray("5") << QStringLiteral("废单");
    QTest::newRow("credit partly cancelled") << Decoder::CreditOrderStatus << QByteArray("6") << QStringLiteral("部成部撤");
    QTest::newRow("stock SH") << Decoder::StockExchangeID << QByteArray("1") << QStringLiteral("上交所");
    QTest::newRow("stock SZ") << Decoder::StockExchangeID << QByteArray("2") << QStringLiteral("深交所");
    QTest::newRow("stock BJ") << Decoder::StockExchangeID << QByteArray("4") << QStringLiteral("北交所");
    QTest::newRow("credit SZ") << Decoder::CreditExchangeID << QByteArray("2") << QStringLiteral("深交所");
    QTest::newRow("limit") << Decoder::StockOrderPriceType << QByteArray("000") << QStringLiteral("限价");
    QTest::newRow("limit, NUL protection") << Decoder::StockOrderPriceType << QByteArray("00\0", 3) << QStringLiteral("限价");
    QTest::newRow("limit fill or kill") << Decoder::CreditOrderPriceType << QByteArray("0f0") << QStringLiteral("限价全额成交或撤销");
    QTest::newRow("best five then cancel") << Decoder::StockOrderPriceType << QByteArray("1a0") << QStringLiteral("最优五档即时成交剩余撤销");
    QTest::newRow("best five, protected") << Decoder::StockOrderPriceType << QByteArray("1a1") << QStringLiteral("最优五档即时成交剩余撤销(保护限价)");
    QTest::newRow("best five then limit") << Decoder::CreditOrderPriceType << QByteArray("1b0") << QStringLiteral("最优五档即时成交剩余转限价");
    QTest::newRow("counterparty best") << Decoder::StockOrderPriceType << QByteArray("1c0") << QStringLiteral("对手方最优价格");
    QTest::newRow("own best") << Decoder::CreditOrderPriceType << QByteArray("1d0") << QStringLiteral("本方最优价格");
    QTest::newRow("fill or kill") << Decoder::StockOrderPriceType << QByteArray("1f0") << QStringLiteral("全额成交或撤销");
    QTest::newRow("after hours") << Decoder::StockOrderPriceType << QByteArray("200") << QStringLiteral("盘后固定价格");
    // Unknown codes name the code.
    QTest::newRow("margin code on stock") << Decoder::StockDirection << QByteArray("a") << QStringLiteral("未知(a)");
    QTest::newRow("repo code on credit") << Decoder::CreditDirection << QByteArray("6") << QStringLiteral("未知(6)");
    QTest::newRow("status 9") << Decoder::StockOrderStatus << QByteArray("9") << QStringLiteral("未知(9)");
    QTest::newRow("status x") << Decoder::CreditOrderStatus << QByteArray("x") << QStringLiteral("未知(x)");
    QTest::newRow("exchange 3") << Decoder::StockExchangeID << QByteArray("3") << QStringLiteral("未知(3)");
    QTest::newRow("exchange NUL") << Decoder::CreditExchangeID << QByteArray("\0", 1) << QStringLiteral("未知(0x00)");
    QTest::newRow("exchange high byte") << Decoder::StockExchangeID << QByteArray("\xe4") << QStringLiteral("未知(0xE4)");
    QTest::newRow("market variant z") << Decoder::StockOrderPriceType << QByteArray("1z0") << QStringLiteral("未知(1,z,0)");
    QTest::newRow("limit variant a") << Decoder::CreditOrderPriceType << QByteArray("0a0") << QStringLiteral("未知(0,a,0)");
    QTest::newRow("protected limit") << Decoder::StockOrderPriceType << QByteArray("001") << QStringLiteral("未知(0,0,1)");
    QTest::newRow("protection 9") << Decoder::CreditOrderPriceType << QByteArray("1a9") << QStringLiteral("未知(1,a,9)");
    QTest::newRow("price kind 7") << Decoder::StockOrderPriceType << QByteArray("700") << QStringLiteral("未知(7,0,0)");
}

void tst_UserData::decoders()
{
    QFETCH(Decoder, decoder);
    QFETCH(QByteArray, code);
    QFETCH(QString, text);
    QCOMPARE(decode(decoder, code), text);
}

void tst_UserData::callTraceNamesDecoderAndBytes_data()
{
    QTest::addColumn<Decoder>("decoder");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QString>("line");

    QTest::newRow("stock direction") << Decoder::StockDirection << QByteArray("1") << QStringLiteral("parseZRStockDirection(1)");
    QTest::newRow("credit direction") << Decoder::CreditDirection << QByteArray("j") << QStringLiteral("parseZRCreditDirection(j)");
    QTest::newRow("stock status") << Decoder::StockOrderStatus << QByteArray("5") << QStringLiteral("parseZRStockOrderStatus(5)");
    QTest::newRow("credit status") << Decoder::CreditOrderStatus << QByteArray("5") << QStringLiteral("parseZRCreditOrderStatus(5)");
    QTest::newRow("stock exchange") << Decoder::StockExchangeID << QByteArray("4") << QStringLiteral("parseZRStockExchangeID(4)");
    QTest::newRow("credit exchange NUL") << Decoder::CreditExchangeID << QByteArray("\0", 1) << QStringLiteral("parseZRCreditExchangeID(0x00)");
    QTest::newRow("stock price type") << Decoder::StockOrderPriceType << QByteArray("0ab") << QStringLiteral("parseZRStockOrderPriceType(0,a,b)");
    QTest::newRow("credit price type") << Decoder::CreditOrderPriceType << QByteArray("1c0") << QStringLiteral("parseZRCreditOrderPriceType(1,c,0)");
}

void tst_UserData::callTraceNamesDecoderAndBytes()
{
    QFETCH(Decoder, decoder);
    QFETCH(QByteArray, code);
    QFETCH(QString, line);

    decode(decoder, code);   // not traced
    QStringList trace;
    Util::setCallTrace(&trace);
    decode(decoder, code);
    decode(decoder, code);
    QCOMPARE(trace, (QStringList{line, line}));
    Util::setCallTrace(nullptr);
    decode(decoder, code);
    QCOMPARE(trace.size(), 2);
}

void tst_UserData::char2QStr_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("null") << QByteArray() << QString();
    QTest::newRow("empty") << QByteArray("", 1) << QString();
    QTest::newRow("ascii") << QByteArray("abc") << QStringLiteral("abc");
    QTest::newRow("utf-8") << QByteArray("委托价格超出涨跌停限制") << QStringLiteral("委托价格超出涨跌停限制");
    QTest::newRow("stops at NUL") << QByteArray("已撤\0junk", 11) << QStringLiteral("已撤");
}

void tst_UserData::char2QStr()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(Util::char2QStr(bytes.isNull() ? nullptr : bytes.constData()), text);
}

QTEST_MAIN(tst_UserData)
#include "tst_userdata.moc"
