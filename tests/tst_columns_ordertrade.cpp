// The order and trade column sets of both account kinds, fed with records built byte by byte at
// the documented offsets.

#include "HistoryOrderTableHeader.h"
#include "HistoryTradeTableHeader.h"
#include "RecordBytes.h"
#include "UserData.h"
#include "UserDataManager.h"
#include "Util.h"
#include "api/ZRVDHistoryFields.h"
#include "myHistoryModel.h"

#include <QAbstractItemModelTester>
#include <QSortFilterProxyModel>
#include <QTranslator>
#include <QtTest>

#include <climits>
#include <memory>

using namespace VEK_SC_Space;
using namespace ZRVALUEADDPROAPI;

namespace {

enum class Set { StockOrder, CreditOrder, StockTrade, CreditTrade };
const Set allSets[] = {Set::StockOrder, Set::CreditOrder, Set::StockTrade, Set::CreditTrade};
const Set orderSets[] = {Set::StockOrder, Set::CreditOrder};
const Set tradeSets[] = {Set::StockTrade, Set::CreditTrade};

bool isOrder(Set set) { return set == Set::StockOrder || set == Set::CreditOrder; }
bool isStock(Set set) { return set == Set::StockOrder || set == Set::StockTrade; }
int highestId(Set set) { return isOrder(set) ? 14 : 11; }

const char* nameOf(Set set)
{
    switch (set) {
    case Set::StockOrder: return "stock order";
    case Set::CreditOrder: return "credit order";
    case Set::StockTrade: return "stock trade";
    case Set::CreditTrade: return "credit trade";
    }
    return "";
}

std::unique_ptr<TableHeader> makeSet(Set set)
{
    switch (set) {
    case Set::StockOrder: return std::make_unique<StockHistoryOrderTableHeader>();
    case Set::CreditOrder: return std::make_unique<CreditHistoryOrderTableHeader>();
    case Set::StockTrade: return std::make_unique<StockHistoryTradeTableHeader>();
    case Set::CreditTrade: return std::make_unique<CreditHistoryTradeTableHeader>();
    }
    return nullptr;
}

// A record as the sets receive it, kept alive by the test row that holds it.
struct Sample
{
    std::shared_ptr<void> bytes;
    std::any record;
};

template <typename Record>
Sample sample(RecordBytes<Record>& built)
{
    std::shared_ptr<Record> owner(built.release());
    return {owner, std::any(owner.get())};
}

template <typename Record>
Sample filledWith(char value)
{
    RecordBytes<Record> bytes;
    bytes.fill(0, value, sizeof(Record));
    return sample(bytes);
}

struct Text
{
    std::size_t offset;
    std::size_t room;
};

// Where the fields lie in the two order records.
struct OrderLayout
{
    Text customerId, securityId;
    std::size_t priceType, direction, orderPrice, orderVolume, priceTypeAux1, priceTypeAux2, exchangeId;
    Text shareholderId;
    std::size_t orderStatus, tradedVolume;
    Text orderDate, orderTime, statusMsg;
    std::size_t tradedAmount;
};

const OrderLayout stockOrderAt{{0, 13}, {13, 60}, 73, 74, 88, 96, 100, 101, 129, {131, 94},
                               225, 228, {236, 9}, {245, 58}, {303, 257}, 560};
const OrderLayout creditOrderAt{{0, 13}, {13, 51}, 64, 65, 80, 88, 92, 93, 121, {123, 94},
                                217, 220, {228, 9}, {237, 58}, {295, 257}, 552};

struct Order
{
    QByteArray customerId = "310012345678";
    QByteArray securityId = "600519";
    char priceType = '0';
    char direction = '0';
    double orderPrice = 12.5;
    int orderVolume = 300;
    char priceTypeAux1 = 'a';
    char priceTypeAux2 = 'b';
    char exchangeId = '1';
    QByteArray shareholderId = "A123456789";
    char orderStatus = '0';
    int tradedVolume = -3;
    QByteArray orderDate = "20240315";
    QByteArray orderTime = "09:30:01.250";
    QByteArray statusMsg = "已报 部分成交";
    double tradedAmount = 12.5;
};

template <typename Record>
Sample buildOrder(const OrderLayout& at, const Order& o)
{
    RecordBytes<Record> bytes;
    bytes.text(at.customerId.offset, o.customerId.constData(), at.customerId.room)
        .text(at.securityId.offset, o.securityId.constData(), at.securityId.room)
        .byte(at.priceType, o.priceType)
        .byte(at.direction, o.direction)
        .f64(at.orderPrice, o.orderPrice)
        .i32(at.orderVolume, o.orderVolume)
        .byte(at.priceTypeAux1, o.priceTypeAux1)
        .byte(at.priceTypeAux2, o.priceTypeAux2)
        .byte(at.exchangeId, o.exchangeId)
        .text(at.shareholderId.offset, o.shareholderId.constData(), at.shareholderId.room)
        .byte(at.orderStatus, o.orderStatus)
        .i32(at.tradedVolume, o.tradedVolume)
        .text(at.orderDate.offset, o.orderDate.constData(), at.orderDate.room)
        .text(at.orderTime.offset, o.orderTime.constData(), at.orderTime.room)
        .text(at.statusMsg.offset, o.statusMsg.constData(), at.statusMsg.room)
        .f64(at.tradedAmount, o.tradedAmount);
    return sample(bytes);
}

Sample orderRecord(Set set, const Order& order)
{
    return set == Set::StockOrder ? buildOrder<CZRVDHistoryOrderEXField>(stockOrderAt, order)
                                  : buildOrder<CZRVDCreditHistoryOrderEXField>(creditOrderAt, order);
}

// Where the fields lie in the two trade records.
struct TradeLayout
{
    Text customerId, securityId;
    std::size_t exchangeId;
    Text tradeId;
    std::size_t direction;
    Text shareholderId;
    std::size_t tradePrice, tradeVolume;
    Text tradeDate, tradeTime;
    std::size_t commission;
};

const TradeLayout stockTradeAt{{0, 13}, {13, 47}, 60, {61, 21}, 82, {105, 47}, 152, 160, {164, 9}, {173, 115}, 288};
const TradeLayout creditTradeAt{{0, 13}, {13, 47}, 60, {61, 21}, 82, {105, 47}, 152, 160, {164, 9}, {173, 107}, 280};

struct Trade
{
    QByteArray customerId = "310012345678";
    QByteArray securityId = "000001";
    char exchangeId = '2';
    QByteArray tradeId = "T202403150001";
    char direction = '0';
    QByteArray shareholderId = "0123456789";
    double tradePrice = 12.5;
    int tradeVolume = -3;
    QByteArray tradeDate = "20240315";
    QByteArray tradeTime = "09:30:01.250";
    double commission = 12.5;
};

template <typename Record>
Sample buildTrade(const TradeLayout& at, const Trade& t)
{
    RecordBytes<Record> bytes;
    bytes.text(at.customerId.offset, t.customerId.constData(), at.customerId.room)
        .text(at.securityId.offset, t.securityId.constData(), at.securityId.room)
        .byte(at.exchangeId, t.exchangeId)
        .text(at.tradeId.offset, t.tradeId.constData(), at.tradeId.room)
        .byte(at.direction, t.direction)
        .text(at.shareholderId.offset, t.shareholderId.constData(), at.shareholderId.room)
        .f64(at.tradePrice, t.tradePrice)
        .i32(at.tradeVolume, t.tradeVolume)
        .text(at.tradeDate.offset, t.tradeDate.constData(), at.tradeDate.room)
        .text(at.tradeTime.offset, t.tradeTime.constData(), at.tradeTime.room)
        .f64(at.commission, t.commission);
    return sample(bytes);
}

Sample tradeRecord(Set set, const Trade& trade)
{
    return set == Set::StockTrade ? buildTrade<CZRVDHistoryTradeEXField>(stockTradeAt, trade)
                                  : buildTrade<CZRVDCreditHistoryTradeEXField>(creditTradeAt, trade);
}

Sample filledRecord(Set set, char value)
{
    switch (set) {
    case Set::StockOrder: return filledWith<CZRVDHistoryOrderEXField>(value);
    case Set::CreditOrder: return filledWith<CZRVDCreditHistoryOrderEXField>(value);
    case Set::StockTrade: return filledWith<CZRVDHistoryTradeEXField>(value);
    case Set::CreditTrade: return filledWith<CZRVDCreditHistoryTradeEXField>(value);
    }
    return {};
}

std::any nullOf(Set set)
{
    switch (set) {
    case Set::StockOrder: return static_cast<CZRVDHistoryOrderEXField*>(nullptr);
    case Set::CreditOrder: return static_cast<CZRVDCreditHistoryOrderEXField*>(nullptr);
    case Set::StockTrade: return static_cast<CZRVDHistoryTradeEXField*>(nullptr);
    case Set::CreditTrade: return static_cast<CZRVDCreditHistoryTradeEXField*>(nullptr);
    }
    return {};
}

// The decoder that a set of the given account kind must use, for the expected texts.
QString direction(Set set, char code)
{
    return isStock(set) ? Util::parseZRStockDirection(code) : Util::parseZRCreditDirection(code);
}
QString orderStatus(Set set, char code)
{
    return isStock(set) ? Util::parseZRStockOrderStatus(code) : Util::parseZRCreditOrderStatus(code);
}
QString exchange(Set set, char code)
{
    return isStock(set) ? Util::parseZRStockExchangeID(code) : Util::parseZRCreditExchangeID(code);
}
QString orderPriceType(Set set, char type, char aux1, char aux2)
{
    return isStock(set) ? Util::parseZRStockOrderPriceType(type, aux1, aux2)
                        : Util::parseZRCreditOrderPriceType(type, aux1, aux2);
}

// The lookups as an account answers them, asked of an account of its own so that the counters
// of the account under test count only the sets' calls.
QString displayCode(const QByteArray& code, char exchangeId)
{
    UserData account(1);
    return account.GetDisplaySecurityID(QString::fromUtf8(code), exchangeId);
}
QString securityName(QByteArray code, char exchangeId)
{
    UserData account(1);
    return account.Translate2SecurityName(code.data(), exchangeId);
}

QString utf8(const char* text) { return QString::fromUtf8(text); }
QVariant string(const QString& text) { return QVariant(text); }
QVariant string(const char* text) { return QVariant(QString::fromUtf8(text)); }

// One column as registered, on one line: id|title|width|alignment|flag.
QString describe(int id, const QString& title, int width, int alignment, bool flag)
{
    return QStringLiteral("%1|%2|%3|%4|%5").arg(id).arg(title).arg(width).arg(alignment).arg(flag);
}

QStringList registeredColumns(const TableHeader& set)
{
    QStringList columns;
    for (const ColProperty* column : set.allColumns())
        columns << describe(column->id, column->title, column->width, int(column->alignment), column->flag);
    return columns;
}

// Answers every source text of TableHeader's context, and nothing in any other context.
class TableHeaderContextTranslator : public QTranslator
{
public:
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        if (qstrcmp(context, "VEK_SC_Space::TableHeader") != 0)
            return QString();
        return QStringLiteral("en:") + QString::fromUtf8(sourceText);
    }
    bool isEmpty() const override { return false; }
};

} // namespace

Q_DECLARE_METATYPE(Set)
Q_DECLARE_METATYPE(Sample)

class TestOrderTradeColumns : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void key_data();
    void key();
    void metaObjectIsTableHeaders_data();
    void metaObjectIsTableHeaders();
    void columns_data();
    void columns();
    void titlesTranslateInTableHeaderContext_data();
    void titlesTranslateInTableHeaderContext();

    void cells_data();
    void cells();
    void rowCategory_data();
    void rowCategory();
    void textFillingItsRoom_data();
    void textFillingItsRoom();
    void decoderCalls_data();
    void decoderCalls();
    void lookups_data();
    void lookups();
    void withoutAccount_data();
    void withoutAccount();

    void nullRecord_data();
    void nullRecord();
    void unknownColumn_data();
    void unknownColumn();
    void wrongRecordType_data();
    void wrongRecordType();

    void modelServesTheSet_data();
    void modelServesTheSet();

private:
    QStringList trace;
};

void TestOrderTradeColumns::init()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));   // numbers must ignore it
    trace.clear();
    Util::setCallTrace(nullptr);
}

void TestOrderTradeColumns::cleanup()
{
    Util::setCallTrace(nullptr);
    QLocale::setDefault(QLocale::c());
}

void TestOrderTradeColumns::key_data()
{
    QTest::addColumn<Set>("set");
    QTest::addColumn<QString>("key");
    QTest::newRow("stock order") << Set::StockOrder << "THStockHistoryOrder";
    QTest::newRow("credit order") << Set::CreditOrder << "THCreditHistoryOrder";
    QTest::newRow("stock trade") << Set::StockTrade << "THStockHistoryTrade";
    QTest::newRow("credit trade") << Set::CreditTrade << "THCreditHistoryTrade";
}

void TestOrderTradeColumns::key()
{
    QFETCH(Set, set);
    QFETCH(QString, key);
    QCOMPARE(makeSet(set)->key(), key);
}

void TestOrderTradeColumns::metaObjectIsTableHeaders_data()
{
    QTest::addColumn<Set>("set");
    for (Set set : allSets)
        QTest::newRow(nameOf(set)) << set;
}

void TestOrderTradeColumns::metaObjectIsTableHeaders()
{
    QFETCH(Set, set);
    const auto columnSet = makeSet(set);
    QCOMPARE(columnSet->metaObject()->className(), "VEK_SC_Space::TableHeader");
    QVERIFY(columnSet->metaObject() == &TableHeader::staticMetaObject);
    QVERIFY(columnSet->parent() == nullptr);
}

void TestOrderTradeColumns::columns_data()
{
    QTest::addColumn<Set>("set");
    QTest::addColumn<QStringList>("expected");

    const int centred = 132;
    const int right = 130;
    const QStringList orders = {
        describe(0, utf8("委托日期"), 90, centred, true),
        describe(1, utf8("委托时间"), 90, centred, true),
        describe(2, utf8("证券代码"), 90, centred, true),
        describe(3, utf8("证券名称"), 130, centred, true),
        describe(4, utf8("买卖类别"), 75, centred, true),
        describe(5, utf8("报单状态"), 100, centred, true),
        describe(7, utf8("报单类型"), 100, centred, true),
        describe(8, utf8("委托价格"), 65, right, true),
        describe(9, utf8("委托数量"), 65, right, true),
        describe(10, utf8("成交数量"), 65, right, true),
        describe(11, utf8("成交金额"), 75, right, true),
        describe(12, utf8("客户号"), 120, centred, true),
        describe(13, utf8("股东号"), 110, centred, true),
        describe(14, utf8("交易所"), 65, centred, true),
        describe(6, utf8("状态信息"), 100, centred, false),
    };
    const QStringList trades = {
        describe(0, utf8("成交日期"), 90, centred, true),
        describe(1, utf8("成交时间"), 90, centred, true),
        describe(2, utf8("证券代码"), 90, centred, true),
        describe(3, utf8("证券名称"), 130, centred, true),
        describe(4, utf8("买卖类别"), 75, centred, true),
        describe(5, utf8("成交价格"), 65, right, true),
        describe(6, utf8("成交数量"), 65, right, true),
        describe(8, utf8("成交编号"), 140, right, true),
        describe(9, utf8("客户号"), 120, centred, true),
        describe(10, utf8("股东号"), 110, centred, true),
        describe(11, utf8("交易所"), 65, centred, true),
        describe(7, utf8("实收佣金"), 75, right, false),
    };
    QTest::newRow("stock order") << Set::StockOrder << orders;
    QTest::newRow("credit order") << Set::CreditOrder << orders;
    QTest::newRow("stock trade") << Set::StockTrade << trades;
    QTest::newRow("credit trade") << Set::CreditTrade << trades;
}

void TestOrderTradeColumns::columns()
{
    QFETCH(Set, set);
    QFETCH(QStringList, expected);
    QCOMPARE(registeredColumns(*makeSet(set)), expected);
}

void TestOrderTradeColumns::titlesTranslateInTableHeaderContext_data()
{
    metaObjectIsTableHeaders_data();
}

void TestOrderTradeColumns::titlesTranslateInTableHeaderContext()
{
    QFETCH(Set, set);
    const auto untranslated = makeSet(set);
    QStringList sources;
    for (const ColProperty* column : untranslated->allColumns())
        sources << column->title;

    TableHeaderContextTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    const auto translated = makeSet(set);
    QCoreApplication::removeTranslator(&translator);

    QStringList titles;
    for (const ColProperty* column : translated->allColumns())
        titles << column->title;
    QStringList expected;
    for (const QString& source : qAsConst(sources))
        expected << QStringLiteral("en:") + source;
    QCOMPARE(titles, expected);
}

void TestOrderTradeColumns::cells_data()
{
    QTest::addColumn<Set>("set");
    QTest::addColumn<int>("column");
    QTest::addColumn<Sample>("record");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QVariant>("raw");

    const auto row = [](Set set, const char* what, int column) {
        return &(QTest::addRow("%s %s col %d", nameOf(set), what, column) << set << column);
    };

    for (Set set : orderSets) {
        const bool stock = isStock(set);
        const Order o;
        const Sample r = orderRecord(set, o);
        *row(set, "order", 0) << r << "20240315" << QVariant(2);
        *row(set, "order", 1) << r << "09:30:01" << string(stock ? "09:30:01" : "09:30:01.250");
        *row(set, "order", 2) << r << displayCode("600519", '1') << string(displayCode("600519", '1'));
        *row(set, "order", 3) << r << securityName("600519", '1') << string(securityName("600519", '1'));
        *row(set, "order", 4) << r << direction(set, '0') << QVariant(int('0'));
        *row(set, "order", 5) << r << orderStatus(set, '0') << QVariant(int('0'));
        *row(set, "order", 6) << r << Util::char2QStr(o.statusMsg.constData())
                              << string(stock ? Util::char2QStr(o.statusMsg.constData()) : utf8(o.statusMsg));
        *row(set, "order", 7) << r << orderPriceType(set, '0', 'a', 'b') << QVariant(int('0'));
        *row(set, "order", 8) << r << "12.500" << QVariant(12.5);
        *row(set, "order", 9) << r << "300" << QVariant(300);
        *row(set, "order", 10) << r << "-3" << QVariant(-3);
        *row(set, "order", 11) << r << "12.50" << QVariant(12.5);
        *row(set, "order", 12) << r << "310012345678" << string("310012345678");
        *row(set, "order", 13) << r << "A123456789" << string("A123456789");
        *row(set, "order", 14) << r << exchange(set, '1') << QVariant(int('1'));

        Order round;
        round.orderPrice = 10;
        round.tradedAmount = 10;
        const Sample whole = orderRecord(set, round);
        *row(set, "whole", 8) << whole << "10.000" << QVariant(10.0);
        *row(set, "whole", 11) << whole << "10.00" << QVariant(10.0);

        Order fine;
        fine.orderPrice = 12.3456;
        fine.tradedAmount = 1234567.891;
        fine.orderVolume = 2147483647;
        fine.tradedVolume = 0;
        const Sample unrounded = orderRecord(set, fine);
        *row(set, "unrounded", 8) << unrounded << "12.346" << QVariant(12.3456);
        *row(set, "unrounded", 11) << unrounded << "1234567.89" << QVariant(1234567.891);
        *row(set, "unrounded", 9) << unrounded << "2147483647" << QVariant(2147483647);
        *row(set, "unrounded", 10) << unrounded << "0" << QVariant(0);

        Order zero;
        zero.orderPrice = 0;
        zero.tradedAmount = -12.5;
        const Sample zeros = orderRecord(set, zero);
        *row(set, "zero", 8) << zeros << "0.000" << QVariant(0.0);
        *row(set, "negative", 11) << zeros << "-12.50" << QVariant(-12.5);

        Order noDot;
        noDot.orderTime = "093001";
        *row(set, "time without dot", 1) << orderRecord(set, noDot) << "093001" << string("093001");
        Order leadingDot;
        leadingDot.orderTime = ".250";
        *row(set, "time with leading dot", 1) << orderRecord(set, leadingDot) << ""
                                              << string(stock ? "" : ".250");
        Order twoDots;
        twoDots.orderTime = "09:30:01.250.7";
        *row(set, "time with two dots", 1) << orderRecord(set, twoDots) << "09:30:01"
                                           << string(stock ? "09:30:01" : "09:30:01.250.7");
        Order chineseTime;
        chineseTime.orderTime = "九点半.一";
        *row(set, "multi-byte time", 1) << orderRecord(set, chineseTime) << utf8("九点半")
                                        << string(stock ? "九点半" : "九点半.一");

        // Codes are signed bytes; the order type's raw value is its first byte alone.
        Order high;
        high.direction = '\xE9';
        high.orderStatus = '\x80';
        high.priceType = '\xFF';
        high.priceTypeAux1 = 'z';
        high.exchangeId = '4';
        const Sample highs = orderRecord(set, high);
        *row(set, "high byte", 4) << highs << direction(set, '\xE9') << QVariant(-23);
        *row(set, "high byte", 5) << highs << orderStatus(set, '\x80') << QVariant(-128);
        *row(set, "high byte", 7) << highs << orderPriceType(set, '\xFF', 'z', 'b') << QVariant(-1);
        *row(set, "other exchange", 14) << highs << exchange(set, '4') << QVariant(int('4'));

        Order texts;
        texts.shareholderId = "股东甲";
        texts.customerId = "";
        texts.statusMsg = "";
        const Sample textual = orderRecord(set, texts);
        *row(set, "multi-byte text", 13) << textual << utf8("股东甲") << string("股东甲");
        *row(set, "empty text", 12) << textual << "" << string("");
        *row(set, "empty message", 6) << textual << Util::char2QStr("")
                                      << string(stock ? Util::char2QStr("") : QString());

        Order otherSecurity;
        otherSecurity.securityId = "000001";
        otherSecurity.exchangeId = '2';
        const Sample sz = orderRecord(set, otherSecurity);
        *row(set, "other security", 2) << sz << displayCode("000001", '2') << string(displayCode("000001", '2'));
        *row(set, "other security", 3) << sz << securityName("000001", '2') << string(securityName("000001", '2'));
    }

    for (Set set : tradeSets) {
        const Trade t;
        const Sample r = tradeRecord(set, t);
        *row(set, "trade", 0) << r << "20240315" << QVariant(2);
        *row(set, "trade", 1) << r << "09:30:01.250" << string("09:30:01.250");
        *row(set, "trade", 2) << r << displayCode("000001", '2') << string(displayCode("000001", '2'));
        *row(set, "trade", 3) << r << securityName("000001", '2') << string(securityName("000001", '2'));
        *row(set, "trade", 4) << r << direction(set, '0') << QVariant(int('0'));
        *row(set, "trade", 5) << r << "12.500" << QVariant(12.5);
        *row(set, "trade", 6) << r << "-3" << QVariant(-3);
        *row(set, "trade", 7) << r << "12.50" << QVariant(12.5);
        *row(set, "trade", 8) << r << "T202403150001" << string("T202403150001");
        *row(set, "trade", 9) << r << "310012345678" << string("310012345678");
        *row(set, "trade", 10) << r << "0123456789" << string("0123456789");
        *row(set, "trade", 11) << r << exchange(set, '2') << QVariant(int('2'));

        Trade round;
        round.tradePrice = 10;
        round.commission = 10;
        round.tradeVolume = 0;
        const Sample whole = tradeRecord(set, round);
        *row(set, "whole", 5) << whole << "10.000" << QVariant(10.0);
        *row(set, "whole", 7) << whole << "10.00" << QVariant(10.0);
        *row(set, "zero", 6) << whole << "0" << QVariant(0);

        Trade fine;
        fine.tradePrice = 0.0005;
        fine.commission = 5.678;
        const Sample unrounded = tradeRecord(set, fine);
        *row(set, "unrounded", 5) << unrounded << "0.001" << QVariant(0.0005);
        *row(set, "unrounded", 7) << unrounded << "5.68" << QVariant(5.678);

        Trade noDot;
        noDot.tradeTime = "093001";
        *row(set, "time without dot", 1) << tradeRecord(set, noDot) << "093001" << string("093001");

        Trade high;
        high.direction = '\xE9';
        high.exchangeId = '\x81';
        high.securityId = "600519";
        high.tradeId = "成交1";
        const Sample highs = tradeRecord(set, high);
        *row(set, "high byte", 4) << highs << direction(set, '\xE9') << QVariant(-23);
        *row(set, "high byte", 11) << highs << exchange(set, '\x81') << QVariant(-127);
        *row(set, "high byte exchange", 2) << highs << displayCode("600519", '\x81')
                                           << string(displayCode("600519", '\x81'));
        *row(set, "multi-byte text", 8) << highs << utf8("成交1") << string("成交1");
    }

    // The commission lies 8 bytes earlier in the credit record; bytes at the other offset are
    // not read.
    {
        RecordBytes<CZRVDCreditHistoryTradeEXField> credit;
        credit.f64(280, 7.25).f64(288, 99.0);
        const Sample c = sample(credit);
        *row(Set::CreditTrade, "commission at 280", 7) << c << "7.25" << QVariant(7.25);
        RecordBytes<CZRVDHistoryTradeEXField> stock;
        stock.f64(280, 99.0).f64(288, 7.25);
        const Sample s = sample(stock);
        *row(Set::StockTrade, "commission at 288", 7) << s << "7.25" << QVariant(7.25);
    }
}

void TestOrderTradeColumns::cells()
{
    QFETCH(Set, set);
    QFETCH(int, column);
    QFETCH(Sample, record);
    QFETCH(QString, display);
    QFETCH(QVariant, raw);

    UserData account(isStock(set) ? 1 : 2);
    const auto columnSet = makeSet(set);
    QCOMPARE(columnSet->getColumnDisplayText(column, record.record, &account), display);

    const QVariant value = columnSet->getColumnRawValue(column, record.record, &account);
    QCOMPARE(value.userType(), raw.userType());
    if (raw.userType() == QMetaType::Double)
        QVERIFY2(value.toDouble() == raw.toDouble(), qPrintable(QString::number(value.toDouble(), 'g', 17)));
    else
        QCOMPARE(value, raw);
}

void TestOrderTradeColumns::rowCategory_data()
{
    QTest::addColumn<Set>("set");
    QTest::addColumn<char>("status");
    QTest::addColumn<char>("direction");
    QTest::addColumn<int>("category");

    // Every byte a direction can be, and the statuses around the category-1 ones.
    QByteArray directions(1, '\0');
    for (int c = 0x20; c < 0x7F; ++c)
        directions.append(char(c));
    directions.append('\xE9');
    const QByteArray statuses = QByteArrayLiteral("0123456789a");

    for (Set set : allSets) {
        const QByteArray category3 = isStock(set) ? QByteArrayLiteral("16bjkmu") : QByteArrayLiteral("1bjkmu");
        for (char status : isOrder(set) ? statuses : QByteArray(1, '\0')) {
            const bool settled = isOrder(set) && QByteArrayLiteral("1567").contains(status);
            for (char direction : directions) {
                const int category = settled ? 1 : category3.contains(direction) ? 3 : 2;
                QTest::addRow("%s status %d direction %d", nameOf(set), status, direction)
                    << set << status << direction << category;
            }
        }
    }
}

void TestOrderTradeColumns::rowCategory()
{
    QFETCH(Set, set);
    QFETCH(char, status);
    QFETCH(char, direction);
    QFETCH(int, category);

    Sample record;
    if (isOrder(set)) {
        Order order;
        order.orderStatus = status;
        order.direction = direction;
        record = orderRecord(set, order);
    } else {
        Trade trade;
        trade.direction = direction;
        record = tradeRecord(set, trade);
    }
    UserData account(isStock(set) ? 1 : 2);
    const auto columnSet = makeSet(set);
    const QVariant value = columnSet->getColumnRawValue(0, record.record, &account);
    QCOMPARE(value.userType(), int(QMetaType::Int));
    QCOMPARE(value.toInt(), category);
    QCOMPARE(columnSet->getColumnDisplayText(0, record.record, &account), QStringLiteral("20240315"));
}

void TestOrderTradeColumns::textFillingItsRoom_data()
{
    QTest::addColumn<Set>("set");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QString>("raw");

    // Every byte of the record is 'A': a text read past its room would show more letters, and
    // one read past the record's end is caught by AddressSanitizer.
    const auto letters = [](int room) { return QString(room, QLatin1Char('A')); };
    const auto bytes = [](int room) { return QByteArray(room, 'A'); };
    const auto row = [](Set set, int column) {
        return &(QTest::addRow("%s col %d", nameOf(set), column) << set << column);
    };

    for (Set set : orderSets) {
        const bool stock = isStock(set);
        const int securityRoom = stock ? 60 : 51;
        *row(set, 0) << letters(9) << QString();
        *row(set, 1) << letters(58) << letters(58);
        *row(set, 2) << displayCode(bytes(securityRoom), 'A') << displayCode(bytes(securityRoom), 'A');
        *row(set, 3) << securityName(bytes(securityRoom), 'A') << securityName(bytes(securityRoom), 'A');
        const QString message = Util::char2QStr(bytes(257).constData());
        *row(set, 6) << message << (stock ? message : letters(257));
        *row(set, 12) << letters(13) << letters(13);
        *row(set, 13) << letters(94) << letters(94);
    }
    for (Set set : tradeSets) {
        *row(set, 0) << letters(9) << QString();
        *row(set, 1) << letters(isStock(set) ? 115 : 107) << letters(isStock(set) ? 115 : 107);
        *row(set, 2) << displayCode(bytes(47), 'A') << displayCode(bytes(47), 'A');
        *row(set, 3) << securityName(bytes(47), 'A') << securityName(bytes(47), 'A');
        *row(set, 8) << letters(21) << letters(21);
        *row(set, 9) << letters(13) << letters(13);
        *row(set, 10) << letters(47) << letters(47);
    }
}

void TestOrderTradeColumns::textFillingItsRoom()
{
    QFETCH(Set, set);
    QFETCH(int, column);
    QFETCH(QString, display);
    QFETCH(QString, raw);

    const Sample record = filledRecord(set, 'A');
    UserData account(isStock(set) ? 1 : 2);
    const auto columnSet = makeSet(set);
    QCOMPARE(columnSet->getColumnDisplayText(column, record.record, &account), display);
    if (column != 0)   // column 0's raw value is the row category
        QCOMPARE(columnSet->getColumnRawValue(column, record.record, &account).toString(), raw);
}

void TestOrderTradeColumns::decoderCalls_data()
{
    QTest::addColumn<Set>("set");
    QTest::addColumn<int>("column");
    QTest::addColumn<Sample>("record");
    QTest::addColumn<QStringList>("calls");

    for (Set set : orderSets) {
        const QString kind = isStock(set) ? QStringLiteral("Stock") : QStringLiteral("Credit");
        Order order;
        order.priceType = 'x';
        order.priceTypeAux1 = 'y';
        order.priceTypeAux2 = 'z';
        order.direction = 'b';
        order.orderStatus = '8';
        order.exchangeId = '2';
        const Sample r = orderRecord(set, order);
        const auto row = [&](int column) {
            return &(QTest::addRow("%s col %d", nameOf(set), column) << set << column << r);
        };
        *row(4) << QStringList{QStringLiteral("parseZR%1Direction(b)").arg(kind)};
        *row(5) << QStringList{QStringLiteral("parseZR%1OrderStatus(8)").arg(kind)};
        *row(7) << QStringList{QStringLiteral("parseZR%1OrderPriceType(x,y,z)").arg(kind)};
        *row(14) << QStringList{QStringLiteral("parseZR%1ExchangeID(2)").arg(kind)};
        for (int column : {0, 1, 2, 3, 6, 8, 9, 10, 11, 12, 13})
            *row(column) << QStringList();
    }
    for (Set set : tradeSets) {
        const QString kind = isStock(set) ? QStringLiteral("Stock") : QStringLiteral("Credit");
        Trade trade;
        trade.direction = 'k';
        trade.exchangeId = '1';
        const Sample r = tradeRecord(set, trade);
        const auto row = [&](int column) {
            return &(QTest::addRow("%s col %d", nameOf(set), column) << set << column << r);
        };
        *row(4) << QStringList{QStringLiteral("parseZR%1Direction(k)").arg(kind)};
        *row(11) << QStringList{QStringLiteral("parseZR%1ExchangeID(1)").arg(kind)};
        for (int column : {0, 1, 2, 3, 5, 6, 7, 8, 9, 10})
            *row(column) << QStringList();
    }
}

void TestOrderTradeColumns::decoderCalls()
{
    QFETCH(Set, set);
    QFETCH(int, column);
    QFETCH(Sample, record);
    QFETCH(QStringList, calls);

    UserData account(isStock(set) ? 1 : 2);
    const auto columnSet = makeSet(set);
    Util::setCallTrace(&trace);
    columnSet->getColumnDisplayText(column, record.record, &account);
    QCOMPARE(trace, calls);

    // The raw value of a code column is the byte itself: no decoder runs for it.
    trace.clear();
    columnSet->getColumnRawValue(column, record.record, &account);
    QCOMPARE(trace, QStringList());
}

void TestOrderTradeColumns::lookups_data()
{
    QTest::addColumn<Set>("set");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("codeLookups");
    QTest::addColumn<int>("nameLookups");

    for (Set set : allSets) {
        for (int column = -1; column <= highestId(set) + 1; ++column) {
            QTest::addRow("%s col %d", nameOf(set), column)
                << set << column << (column == 2 ? 1 : 0) << (column == 3 ? 1 : 0);
        }
    }
}

void TestOrderTradeColumns::lookups()
{
    QFETCH(Set, set);
    QFETCH(int, column);
    QFETCH(int, codeLookups);
    QFETCH(int, nameLookups);

    const Sample record = isOrder(set) ? orderRecord(set, Order()) : tradeRecord(set, Trade());
    UserData account(isStock(set) ? 1 : 2);
    const auto columnSet = makeSet(set);

    columnSet->getColumnDisplayText(column, record.record, &account);
    QCOMPARE(account.displaySecurityIdCalls, codeLookups);
    QCOMPARE(account.translateNameCalls, nameLookups);

    columnSet->getColumnRawValue(column, record.record, &account);
    QCOMPARE(account.displaySecurityIdCalls, 2 * codeLookups);
    QCOMPARE(account.translateNameCalls, 2 * nameLookups);
}

void TestOrderTradeColumns::withoutAccount_data()
{
    QTest::addColumn<Set>("set");
    QTest::addColumn<int>("column");
    for (Set set : allSets) {
        QTest::addRow("%s col 2", nameOf(set)) << set << 2;
        QTest::addRow("%s col 3", nameOf(set)) << set << 3;
    }
}

void TestOrderTradeColumns::withoutAccount()
{
    QFETCH(Set, set);
    QFETCH(int, column);

    const Sample record = isOrder(set) ? orderRecord(set, Order()) : tradeRecord(set, Trade());
    const auto columnSet = makeSet(set);
    QCOMPARE(columnSet->getColumnDisplayText(column, record.record, nullptr), QString());
    const QVariant value = columnSet->getColumnRawValue(column, record.record, nullptr);
    QCOMPARE(value.userType(), int(QMetaType::QString));
    QCOMPARE(value.toString(), QString());
}

void TestOrderTradeColumns::nullRecord_data()
{
    QTest::addColumn<Set>("set");
    QTest::addColumn<int>("column");
    for (Set set : allSets) {
        for (int column = -1; column <= highestId(set) + 1; ++column)
            QTest::addRow("%s col %d", nameOf(set), column) << set << column;
    }
}

void TestOrderTradeColumns::nullRecord()
{
    QFETCH(Set, set);
    QFETCH(int, column);

    UserData account(isStock(set) ? 1 : 2);
    const auto columnSet = makeSet(set);
    Util::setCallTrace(&trace);
    const QString display = columnSet->getColumnDisplayText(column, nullOf(set), &account);
    const QVariant raw = columnSet->getColumnRawValue(column, nullOf(set), &account);
    QVERIFY(display.isEmpty());
    QVERIFY(!raw.isValid());
    QCOMPARE(trace, QStringList());
    QCOMPARE(account.displaySecurityIdCalls + account.translateNameCalls, 0);
}

void TestOrderTradeColumns::unknownColumn_data()
{
    QTest::addColumn<Set>("set");
    QTest::addColumn<int>("column");
    for (Set set : allSets) {
        for (int column : {-1, highestId(set) + 1, INT_MIN, INT_MAX})
            QTest::addRow("%s col %d", nameOf(set), column) << set << column;
    }
}

void TestOrderTradeColumns::unknownColumn()
{
    QFETCH(Set, set);
    QFETCH(int, column);

    const Sample record = isOrder(set) ? orderRecord(set, Order()) : tradeRecord(set, Trade());
    UserData account(isStock(set) ? 1 : 2);
    const auto columnSet = makeSet(set);
    Util::setCallTrace(&trace);
    QVERIFY(columnSet->getColumnDisplayText(column, record.record, &account).isEmpty());
    QVERIFY(!columnSet->getColumnRawValue(column, record.record, &account).isValid());
    QCOMPARE(trace, QStringList());
    QCOMPARE(account.displaySecurityIdCalls + account.translateNameCalls, 0);
}

void TestOrderTradeColumns::wrongRecordType_data()
{
    QTest::addColumn<Set>("set");
    QTest::addColumn<Sample>("record");

    const Sample stockOrder = orderRecord(Set::StockOrder, Order());
    const Sample creditOrder = orderRecord(Set::CreditOrder, Order());
    const Sample stockTrade = tradeRecord(Set::StockTrade, Trade());
    const Sample creditTrade = tradeRecord(Set::CreditTrade, Trade());
    const Sample right[] = {stockOrder, creditOrder, stockTrade, creditTrade};

    for (Set set : allSets) {
        for (Set other : allSets) {
            if (other != set)
                QTest::addRow("%s given %s", nameOf(set), nameOf(other)) << set << right[int(other)];
        }
        QTest::addRow("%s given an int", nameOf(set)) << set << Sample{nullptr, std::any(42)};
        QTest::addRow("%s given nothing", nameOf(set)) << set << Sample{nullptr, std::any()};
        QTest::addRow("%s given void pointer", nameOf(set))
            << set << Sample{right[int(set)].bytes, std::any(right[int(set)].bytes.get())};
    }
    QTest::newRow("stock order given const pointer")
        << Set::StockOrder
        << Sample{stockOrder.bytes, std::any(static_cast<const CZRVDHistoryOrderEXField*>(
                                        std::any_cast<CZRVDHistoryOrderEXField*>(stockOrder.record)))};
    QTest::newRow("credit trade given a null of another type")
        << Set::CreditTrade << Sample{nullptr, nullOf(Set::StockTrade)};
}

void TestOrderTradeColumns::wrongRecordType()
{
    QFETCH(Set, set);
    QFETCH(Sample, record);

    UserData account(isStock(set) ? 1 : 2);
    const auto columnSet = makeSet(set);
    for (int column : {0, 2, highestId(set), highestId(set) + 1}) {
        QVERIFY_EXCEPTION_THROWN(columnSet->getColumnDisplayText(column, record.record, &account), std::bad_any_cast);
        QVERIFY_EXCEPTION_THROWN(columnSet->getColumnRawValue(column, record.record, &account), std::bad_any_cast);
    }
    QCOMPARE(account.displaySecurityIdCalls + account.translateNameCalls, 0);
}

void TestOrderTradeColumns::modelServesTheSet_data()
{
    metaObjectIsTableHeaders_data();
}

// The paged model shows the columns whose flag is set, serves text and raw value from the set
// and, sorted by its raw value, orders column 0 by row category.
void TestOrderTradeColumns::modelServesTheSet()
{
    QFETCH(Set, set);

    const int accountKey = 7301;
    UserData account(isStock(set) ? 1 : 2);
    UserDataManager::instance()->userDataMap().insert(accountKey, &account);
    const auto forgetAccount = qScopeGuard([] { UserDataManager::instance()->userDataMap().remove(7301); });

    // Categories 3, 2 and (orders only) 1.
    QList<Sample> samples;
    const char directions[] = {'u', '0', '0'};
    for (int i = 0; i < 3; ++i) {
        if (isOrder(set)) {
            Order order;
            order.direction = directions[i];
            order.orderStatus = i == 2 ? '5' : '0';
            order.orderVolume = i;
            samples << orderRecord(set, order);
        } else {
            Trade trade;
            trade.direction = directions[i];
            trade.tradeVolume = i;
            samples << tradeRecord(set, trade);
        }
    }
    QList<std::any> records;
    for (const Sample& sample : qAsConst(samples))
        records << sample.record;

    const auto columnSet = makeSet(set);
    QList<ColProperty*> shown = columnSet->getShowColumns();
    QCOMPARE(shown.size(), highestId(set));   // all but the one column with a false flag
    for (const ColProperty* column : qAsConst(shown))
        QVERIFY(column->id != (isOrder(set) ? 6 : 7));

    myHistoryModel model(QStringLiteral("HistoryTable"), accountKey);
    QAbstractItemModelTester modelTester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setHeader(columnSet.get(), shown);
    QStringList titles;
    QList<int> alignments;
    for (const ColProperty* column : qAsConst(shown)) {
        titles << column->title;
        alignments << int(column->alignment);
    }
    model.setHorizontalHeaderList(titles);
    model.setAlignment(alignments);
    model.setDataSource(records);
    model.loadNextPage();
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.columnCount(), shown.size());

    for (int row = 0; row < 3; ++row) {
        for (int c = 0; c < shown.size(); ++c) {
            const QModelIndex index = model.index(row, c);
            QCOMPARE(index.data(Qt::DisplayRole).toString(),
                     columnSet->getColumnDisplayText(shown[c]->id, records[row], &account));
            QCOMPARE(index.data(Qt::UserRole), columnSet->getColumnRawValue(shown[c]->id, records[row], &account));
            QCOMPARE(index.data(Qt::TextAlignmentRole).toInt(), int(shown[c]->alignment));
        }
    }

    QSortFilterProxyModel proxy;
    QAbstractItemModelTester proxyTester(&proxy, QAbstractItemModelTester::FailureReportingMode::QtTest);
    proxy.setSourceModel(&model);
    proxy.setSortRole(Qt::UserRole);
    proxy.sort(0, Qt::AscendingOrder);
    QList<int> categories;
    for (int row = 0; row < proxy.rowCount(); ++row)
        categories << proxy.index(row, 0).data(Qt::UserRole).toInt();
    QCOMPARE(categories, isOrder(set) ? QList<int>({1, 2, 3}) : QList<int>({2, 2, 3}));
}

QTEST_MAIN(TestOrderTradeColumns)
#include "tst_columns_ordertrade.moc"
