// The delivery, margin-debt, capital, fund-flow, position and profit column sets, fed with
// records built byte by byte at the documented offsets.

#include "HistoryCapitalTableHeader.h"
#include "HistoryCreditDebtTableHeader.h"
#include "HistoryDeliveryTableHeader.h"
#include "HistoryFundDetailTableHeader.h"
#include "HistoryPositionTableHeader.h"
#include "HistoryProfitTableHeader.h"
#include "RecordBytes.h"
#include "SecurityTable.h"
#include "UserData.h"
#include "UserDataManager.h"
#include "Util.h"
#include "api/ZRVDHistoryFields.h"
#include "myHistoryModel.h"

#include <QAbstractItemModelTester>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <climits>
#include <functional>
#include <memory>
#include <vector>

using namespace VEK_SC_Space;
using namespace ZRVALUEADDPROAPI;

namespace {

constexpr int C = 132;   // AlignHCenter | AlignVCenter
constexpr int R = 130;   // AlignRight | AlignVCenter

struct Column
{
    int id;
    const char* title;
    int width;
    int alignment;
};

QString describe(int id, const QString& title, int width, int alignment, bool flag)
{
    return QStringLiteral("id %1 \"%2\" width %3 align %4 flag %5").arg(id).arg(title).arg(width).arg(alignment).arg(flag);
}

QStringList describe(const QList<ColProperty*>& columns)
{
    QStringList lines;
    for (const ColProperty* column : columns)
        lines << describe(column->id, column->title, column->width, int(column->alignment), column->flag);
    return lines;
}

// What one value operation asked of the base library.
struct Calls
{
    int names = 0;
    int ids = 0;
    QStringList decoders;
};

bool operator==(const Calls& a, const Calls& b)
{
    return a.names == b.names && a.ids == b.ids && a.decoders == b.decoders;
}

char* toString(const Calls& calls)
{
    return qstrdup(qPrintable(QStringLiteral("names %1, ids %2, decoders [%3]")
                                  .arg(calls.names).arg(calls.ids).arg(calls.decoders.join(QLatin1String("; ")))));
}

template <typename Operation>
Calls observe(UserData& userData, Operation operation)
{
    const int names = userData.translateNameCalls;
    const int ids = userData.displaySecurityIdCalls;
    QStringList trace;
    Util::setCallTrace(&trace);
    operation();
    Util::setCallTrace(nullptr);
    return {userData.translateNameCalls - names, userData.displaySecurityIdCalls - ids, trace};
}

// The decoder calls that one direct call of a decoder leaves in the trace.
QStringList traceOf(QString (*decoder)(char), char code)
{
    QStringList trace;
    Util::setCallTrace(&trace);
    decoder(code);
    Util::setCallTrace(nullptr);
    return trace;
}

QVariant str(const char* text) { return QVariant(QString::fromUtf8(text)); }

// Name of a security as the base library knows it, for the cells that must show the lookup.
QString nameOf(const char* code, char exchange)
{
    UserData oracle(1);
    QByteArray copy(code);
    return oracle.Translate2SecurityName(copy.data(), exchange);
}

QString displayIdOf(const char* code, char exchange)
{
    UserData oracle(1);
    return oracle.GetDisplaySecurityID(QString::fromUtf8(code), exchange);
}

// A code that the securities table lists on this exchange only, so that a lookup with the
// wrong exchange character gives another name.
QByteArray codeOnlyOn(char exchange)
{
    for (int i = 0; i < SecurityTable::size(); ++i) {
        const SecurityInfo& info = SecurityTable::at(i);
        if (info.exchange != exchange || QByteArray(info.name).isEmpty())
            continue;
        bool unique = true;
        for (char other : {'1', '2', '4'}) {
            if (other != exchange && SecurityTable::find(info.code, other))
                unique = false;
        }
        if (unique)
            return info.code;
    }
    return QByteArray();
}

// One column set under test: how to build it, what it registers, a full record for it and the
// std::any contents it must refuse.
struct SetInfo
{
    QString name;
    QString key;
    std::function<std::unique_ptr<TableHeader>()> make;
    QVector<Column> columns;
    std::any nullRecord;
    std::any sample;
    QVector<QPair<const char*, std::any>> wrongRecords;
    QVector<int> unknownIds;
};

} // namespace

Q_DECLARE_METATYPE(Calls)

class tst_ColumnsMore : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void registration_data();
    void registration();
    void titlesTranslatedInTableHeaderContext_data();
    void titlesTranslatedInTableHeaderContext();
    void cells_data();
    void cells();
    void nullRecord_data();
    void nullRecord();
    void wrongRecordType_data();
    void wrongRecordType();
    void unknownColumn_data();
    void unknownColumn();
    void inModel_data();
    void inModel();

    void debtEntrustType_data();
    void debtEntrustType();
    void debtStatus_data();
    void debtStatus();
    void debtFixedTextsTranslated();
    void debtQuantities_data();
    void debtQuantities();
    void debtAmounts_data();
    void debtAmounts();
    void capitalSharedBytesMeanDifferentFields();
    void exchangeLetters_data();
    void exchangeLetters();
    void codeFillingItsRoom_data();
    void codeFillingItsRoom();
    void positionCostPrice_data();
    void positionCostPrice();
    void profitExchange_data();
    void profitExchange();

private:
    const SetInfo& set(const QString& name) const;
    void addSetRows(const QStringList& names = {});
    template <typename Record>
    std::any keep(RecordBytes<Record> bytes);
    // A fresh record for the set, changed by modify(RecordBytes<Record>&), alive for the run.
    template <typename Modify>
    std::any recordFor(const QString& setName, Modify modify);
    std::any recordFor(const QString& setName) { return recordFor(setName, [](auto&) {}); }
    template <typename Set, typename Record, typename Foreign>
    void addSet(const char* name, const char* key, QVector<Column> columns, std::any sample, int highestId);

    QTemporaryDir settingsDir;
    std::vector<std::shared_ptr<void>> records;   // every record a row refers to
    QVector<SetInfo> sets;
    QByteArray shCode, szCode, bjCode;
};

// ---- records at the documented offsets ----

namespace {

template <typename Record>
RecordBytes<Record> deliveryRecord(bool credit)
{
    RecordBytes<Record> bytes;
    bytes.text(0, "C0001", 13).text(13, "20240105", 9).text(22, "09:31:05", 9).text(31, "600000", 31)
        .text(62, "浦发银行", 41).text(103, "上交所", 43).text(146, "证券买入", 46)
        .f64(192, -9812.34).f64(200, 9800.0).i32(208, 1000).f64(216, 9.8).f64(224, 4.9)
        .f64(232, 0.2).f64(240, 5.01).f64(248, 0.24);
    if (credit) {
        bytes.i32(256, 123).text(260, "E012345678", 12).i32(272, 2000).f64(280, 50000.5)
            .f64(296, 10.125).f64(304, -12.0);
    } else {
        bytes.text(256, "SN123", 13).text(269, "A123456789", 11).i32(280, 2000).f64(288, 50000.5)
            .f64(304, 10.125).f64(312, -12.0);
    }
    return bytes;
}

RecordBytes<CZRVDCreditHistoryDebtInfoField> debtRecord()
{
    RecordBytes<CZRVDCreditHistoryDebtInfoField> bytes;
    bytes.text(0, "20240105", 9).text(9, "C0002", 94).text(103, "20231120", 49).i32(152, 61)
        .byte(156, '1').text(157, "E012345678", 11).text(168, "600000", 112).i32(280, 1000)
        .i32(296, 0).f64(312, 1000.5).f64(320, 500.0).i32(332, 300).f64(376, 2.25).i32(480, 0);
    return bytes;
}

// Both capital records: the three doubles from offset 88 differ only in meaning. The unread
// bytes carry values of their own so that a read from the wrong place shows.
template <typename Record>
RecordBytes<Record> capitalRecord()
{
    RecordBytes<Record> bytes;
    bytes.text(0, "20240105", 9).text(9, "C0003", 15).f64(24, 1234.5).f64(32, 200.25).f64(40, 1034.25)
        .f64(48, 100.0).f64(56, 50.5).f64(64, -3.75).f64(72, 777.0).f64(80, 888.0)
        .f64(88, 11.11).f64(96, 22.22).f64(104, 33.33);
    if (sizeof(Record) > 112)
        bytes.f64(112, 999.0).f64(120, 999.0);
    return bytes;
}

template <typename Record>
RecordBytes<Record> fundDetailRecord()
{
    RecordBytes<Record> bytes;
    bytes.text(0, "F20240105001", 31).text(31, "20240105", 9).text(40, "10:15:00", 9).text(49, "C0004", 74)
        .text(123, "证券买入", 37).f64(160, 100.0).f64(168, 9812.34).f64(176, 40188.16)
        .text(184, "买入 浦发银行 1000股", 81).text(265, "SH", 5).text(270, "600000", 50);
    return bytes;
}

template <typename Record>
RecordBytes<Record> positionRecord()
{
    RecordBytes<Record> bytes;
    bytes.text(0, "20240105", 9).text(9, "C0005", 44).text(53, "A123456789", 11).text(64, "sh", 35)
        .text(99, "600000", 81).i32(180, 300).f64(184, 555.0).f64(192, 1000.0).f64(200, -12.5)
        .f64(208, 666.0).f64(216, 3.25);
    return bytes;
}

template <typename Record>
RecordBytes<Record> profitRecord()
{
    RecordBytes<Record> bytes;
    bytes.text(0, "C0006", 13).byte(13, '2').text(14, "000001", 34).f64(48, 10000.5).f64(56, 12000.75)
        .f64(64, 3000.0).f64(72, 1500.25).f64(80, -12.5).text(88, "20240131", 12).i32(100, 500)
        .i32(104, 800);
    return bytes;
}

const QVector<Column> deliveryColumns = {
    {0, "成交日期", 90, C}, {1, "成交时间", 90, C}, {2, "证券代码", 90, C}, {3, "证券名称", 130, C},
    {4, "买卖类别", 75, C}, {5, "成交价格", 65, R}, {6, "成交数量", 65, R}, {7, "成交金额", 75, R},
    {8, "实付金额", 75, R}, {9, "开仓成本价", 75, R}, {10, "平仓盈亏", 75, R}, {11, "资金余额", 75, R},
    {12, "股份余额", 75, R}, {13, "实收佣金", 75, R}, {14, "印花税", 75, R}, {15, "过户费", 75, R},
    {16, "交易规费", 75, R}, {17, "流水号", 75, C}, {18, "客户号", 120, C}, {19, "股东号", 110, C},
    {20, "交易所", 65, C},
};

const QVector<Column> debtColumns = {
    {1, "交易日期", 75, C}, {0, "开仓日期", 75, C}, {2, "证券代码", 75, C}, {3, "证券名称", 130, C},
    {4, "委托类型", 75, C}, {5, "负债状态", 75, C}, {6, "负债数量", 65, R}, {7, "未还数量", 65, R},
    {8, "负债金额", 65, R}, {9, "未还金额", 65, R}, {11, "客户号", 100, C}, {12, "股东号", 100, C},
    {13, "交易所", 65, C},
};

const QVector<Column> stockCapitalColumns = {
    {0, "交易日", 90, C}, {1, "总资产", 75, R}, {2, "客户资金", 75, R}, {3, "总市值", 75, R},
    {4, "当日盈亏", 75, R}, {5, "入金", 75, R}, {6, "出金", 75, R}, {7, "未到期债券", 75, R},
    {8, "基金市值", 75, R}, {9, "OTC资产", 75, R}, {10, "客户号", 120, C},
};

const QVector<Column> creditCapitalColumns = {
    {0, "交易日", 90, C}, {1, "总资产", 75, R}, {3, "净资产", 75, R}, {2, "总负债", 75, R},
    {4, "总利息", 75, R}, {5, "客户资金", 75, R}, {6, "总市值", 75, R}, {7, "当日盈亏", 75, R},
    {8, "入金", 75, R}, {9, "出金", 75, R}, {10, "客户号", 120, C},
};

const QVector<Column> fundDetailColumns = {
    {0, "交易日", 75, C}, {1, "入账时间", 75, C}, {2, "业务科目", 140, R}, {3, "证券代码", 75, R},
    {4, "证券名称", 100, R}, {5, "入金", 75, R}, {6, "出金", 75, R}, {7, "资金余额", 75, R},
    {8, "操作摘要", 300, R}, {9, "流水号", 80, R}, {10, "客户号", 120, R},
};

const QVector<Column> positionColumns = {
    {0, "交易日", 75, C}, {1, "证券代码", 75, R}, {2, "证券名称", 100, R}, {3, "持仓数量", 75, R},
    {4, "持仓成本", 75, R}, {5, "持仓成本价", 75, R}, {6, "开仓成本价", 75, R}, {7, "累计盈亏", 75, R},
    {8, "客户号", 120, R}, {9, "股东号", 110, R}, {10, "交易所", 65, R},
};

const QVector<Column> profitColumns = {
    {0, "证券代码", 90, C}, {1, "证券名称", 130, C}, {2, "期初市值", 65, R}, {3, "期末市值", 65, R},
    {4, "期初持仓", 65, R}, {5, "期末持仓", 65, R}, {6, "开仓金额", 75, R}, {7, "平仓金额", 75, R},
    {8, "盈亏", 75, R}, {9, "客户号", 120, C}, {10, "交易所", 65, C}, {11, "结束日期", 90, C},
};

const QStringList deliverySets = {"StockDelivery", "CreditDelivery"};
const QStringList fundDetailSets = {"StockFundDetail", "CreditFundDetail"};
const QStringList positionSets = {"StockPosition", "CreditPosition"};
const QStringList profitSets = {"StockProfit", "CreditProfit"};

// A translator that marks every text of the column-set context, so a test can tell which texts
// went through tr there.
class MarkingTranslator : public QTranslator
{
public:
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        if (qstrcmp(context, "VEK_SC_Space::TableHeader") != 0)
            return QString();
        return QStringLiteral("<%1>").arg(QString::fromUtf8(sourceText));
    }
    bool isEmpty() const override { return false; }
};

} // namespace

template <typename Record>
std::any tst_ColumnsMore::keep(RecordBytes<Record> bytes)
{
    std::shared_ptr<Record> owner(bytes.release());
    records.push_back(owner);
    return std::any(owner.get());
}

template <typename Record, typename Modify>
RecordBytes<Record> modified(RecordBytes<Record> bytes, Modify modify)
{
    modify(bytes);
    return bytes;
}

template <typename Modify>
std::any tst_ColumnsMore::recordFor(const QString& setName, Modify modify)
{
    if (setName == QLatin1String("StockDelivery"))
        return keep(modified(deliveryRecord<CZRVDHistoryDeliveryField>(false), modify));
    if (setName == QLatin1String("CreditDelivery"))
        return keep(modified(deliveryRecord<CZRVDCreditHistoryDeliveryField>(true), modify));
    if (setName == QLatin1String("CreditDebt"))
        return keep(modified(debtRecord(), modify));
    if (setName == QLatin1String("StockCapital"))
        return keep(modified(capitalRecord<CZRVDHistoryCapitalField>(), modify));
    if (setName == QLatin1String("CreditCapital"))
        return keep(modified(capitalRecord<CZRVDCreditHistoryCapitalField>(), modify));
    if (setName == QLatin1String("StockFundDetail"))
        return keep(modified(fundDetailRecord<CZRVDHistoryFundDetailField>(), modify));
    if (setName == QLatin1String("CreditFundDetail"))
        return keep(modified(fundDetailRecord<CZRVDCreditHistoryFundDetailField>(), modify));
    if (setName == QLatin1String("StockPosition"))
        return keep(modified(positionRecord<CZRVDHistoryHoldField>(), modify));
    if (setName == QLatin1String("CreditPosition"))
        return keep(modified(positionRecord<CZRVDCreditHistoryHoldField>(), modify));
    if (setName == QLatin1String("StockProfit"))
        return keep(modified(profitRecord<CZRVDHisShareProfitField>(), modify));
    if (setName == QLatin1String("CreditProfit"))
        return keep(modified(profitRecord<CZRVDCreditHisShareProfitField>(), modify));
    qFatal("no record for %s", qPrintable(setName));
    return std::any();
}

template <typename Set, typename Record, typename Foreign>
void tst_ColumnsMore::addSet(const char* name, const char* key, QVector<Column> columns, std::any sample, int highestId)
{
    SetInfo info;
    info.name = QString::fromLatin1(name);
    info.key = QString::fromLatin1(key);
    info.make = [] { return std::unique_ptr<TableHeader>(new Set); };
    info.columns = std::move(columns);
    info.nullRecord = std::any(static_cast<Record*>(nullptr));
    info.sample = std::move(sample);
    static Record anotherRecord;   // a valid pointer, only its type is wrong
    info.wrongRecords = {
        {"empty", std::any()},
        {"int", std::any(42)},
        {"record by value", std::any(anotherRecord)},
        {"const record pointer", std::any(static_cast<const Record*>(&anotherRecord))},
        {"other set's record", std::any(static_cast<Foreign*>(nullptr))},
        {"void pointer", std::any(static_cast<void*>(&anotherRecord))},
    };
    info.unknownIds = {-1, highestId + 1, 1000, INT_MIN, INT_MAX};
    sets.append(info);
}

void tst_ColumnsMore::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German));   // cells must ignore the locale
    QVERIFY(settingsDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    QVERIFY(QSettings().fileName().startsWith(settingsDir.path()));

    shCode = codeOnlyOn('1');
    szCode = codeOnlyOn('2');
    bjCode = codeOnlyOn('4');
    QVERIFY2(!shCode.isEmpty() && !szCode.isEmpty() && !bjCode.isEmpty(),
             "the securities table needs a code unique to each exchange");
    // The samples name a Shanghai and a Shenzhen security that the table must know.
    QVERIFY(!nameOf("600000", '1').isEmpty());
    QVERIFY(!nameOf("000001", '2').isEmpty());
    QVERIFY(nameOf("600000", '1') != nameOf("600000", '2'));
    QVERIFY(nameOf("000001", '2') != nameOf("000001", '1'));

    addSet<StockHistoryDeliveryTableHeader, CZRVDHistoryDeliveryField, CZRVDCreditHistoryDeliveryField>(
        "StockDelivery", "THStockHistoryDelivery", deliveryColumns, recordFor(QStringLiteral("StockDelivery")), 20);
    addSet<CreditHistoryDeliveryTableHeader, CZRVDCreditHistoryDeliveryField, CZRVDHistoryDeliveryField>(
        "CreditDelivery", "THCreditHistoryDelivery", deliveryColumns, recordFor(QStringLiteral("CreditDelivery")), 20);
    addSet<CreditHistoryCreditDebtTableHeader, CZRVDCreditHistoryDebtInfoField, CZRVDCreditHistoryDeliveryField>(
        "CreditDebt", "THCreditHistoryDebt", debtColumns, recordFor(QStringLiteral("CreditDebt")), 13);
    sets.last().unknownIds.append(10);
    addSet<StockHistoryCapitalTableHeader, CZRVDHistoryCapitalField, CZRVDCreditHistoryCapitalField>(
        "StockCapital", "THStockHistoryCapital", stockCapitalColumns, recordFor(QStringLiteral("StockCapital")), 10);
    addSet<CreditHistoryCapitalTableHeader, CZRVDCreditHistoryCapitalField, CZRVDHistoryCapitalField>(
        "CreditCapital", "THCreditHistoryCapital", creditCapitalColumns, recordFor(QStringLiteral("CreditCapital")), 10);
    addSet<StockHistoryFundDetailTableHeader, CZRVDHistoryFundDetailField, CZRVDCreditHistoryFundDetailField>(
        "StockFundDetail", "THStockHistoryFundDetail", fundDetailColumns, recordFor(QStringLiteral("StockFundDetail")), 10);
    addSet<CreditHistoryFundDetailTableHeader, CZRVDCreditHistoryFundDetailField, CZRVDHistoryFundDetailField>(
        "CreditFundDetail", "THCreditHistoryFundDetail", fundDetailColumns, recordFor(QStringLiteral("CreditFundDetail")), 10);
    addSet<StockHistoryPositionTableHeader, CZRVDHistoryHoldField, CZRVDCreditHistoryHoldField>(
        "StockPosition", "THStockHistoryPosition", positionColumns, recordFor(QStringLiteral("StockPosition")), 10);
    addSet<CreditHistoryPositionTableHeader, CZRVDCreditHistoryHoldField, CZRVDHistoryHoldField>(
        "CreditPosition", "THCreditHistoryPosition", positionColumns, recordFor(QStringLiteral("CreditPosition")), 10);
    addSet<StockHistoryProfitTableHeader, CZRVDHisShareProfitField, CZRVDCreditHisShareProfitField>(
        "StockProfit", "THStockHistoryProfit", profitColumns, recordFor(QStringLiteral("StockProfit")), 11);
    addSet<CreditHistoryProfitTableHeader, CZRVDCreditHisShareProfitField, CZRVDHisShareProfitField>(
        "CreditProfit", "THCreditHistoryProfit", profitColumns, recordFor(QStringLiteral("CreditProfit")), 11);

    for (const SetInfo& info : qAsConst(sets))
        TableHeader::clearColumnChoice(info.key);
}

void tst_ColumnsMore::cleanup()
{
    Util::setCallTrace(nullptr);
}

const SetInfo& tst_ColumnsMore::set(const QString& name) const
{
    for (const SetInfo& info : sets) {
        if (info.name == name)
            return info;
    }
    qFatal("no column set named %s", qPrintable(name));
    return sets.first();
}

void tst_ColumnsMore::addSetRows(const QStringList& names)
{
    QTest::addColumn<QString>("setName");
    for (const SetInfo& info : qAsConst(sets)) {
        if (names.isEmpty() || names.contains(info.name))
            QTest::newRow(qPrintable(info.name)) << info.name;
    }
}

// ---- every set ----

void tst_ColumnsMore::registration_data()
{
    addSetRows();
}

void tst_ColumnsMore::registration()
{
    QFETCH(QString, setName);
    const SetInfo& info = set(setName);
    QStringList expected;
    for (const Column& column : info.columns)
        expected << describe(column.id, QString::fromUtf8(column.title), column.width, column.alignment, true);

    std::unique_ptr<TableHeader> header = info.make();
    QCOMPARE(header->key(), info.key);
    QCOMPARE(header->metaObject()->className(), "VEK_SC_Space::TableHeader");
    QCOMPARE(describe(header->allColumns()), expected);

    header->initUserColumn();
    QCOMPARE(describe(header->getShowColumns()), expected);
}

void tst_ColumnsMore::titlesTranslatedInTableHeaderContext_data()
{
    addSetRows();
}

void tst_ColumnsMore::titlesTranslatedInTableHeaderContext()
{
    QFETCH(QString, setName);
    const SetInfo& info = set(setName);
    MarkingTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    std::unique_ptr<TableHeader> header = info.make();
    QCoreApplication::removeTranslator(&translator);

    QStringList expected;
    for (const Column& column : info.columns)
        expected << QStringLiteral("<%1>").arg(QString::fromUtf8(column.title));
    QStringList titles;
    for (const ColProperty* column : header->allColumns())
        titles << column->title;
    QCOMPARE(titles, expected);
}

void tst_ColumnsMore::cells_data()
{
    QTest::addColumn<QString>("setName");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("display");
    QTest::addColumn<QVariant>("raw");
    QTest::addColumn<Calls>("displayCalls");
    QTest::addColumn<Calls>("rawCalls");

    auto cell = [](const QString& setName, int column, const QString& display, const QVariant& raw,
                   const Calls& displayCalls = {}, const Calls& rawCalls = {}) {
        QTest::addRow("%s %d", qPrintable(setName), column) << setName << column << display << raw << displayCalls << rawCalls;
    };
    auto text = [&](const QString& setName, int column, const char* value) {
        cell(setName, column, QString::fromUtf8(value), str(value));
    };

    for (const QString& s : deliverySets) {
        const bool credit = s.startsWith(QLatin1String("Credit"));
        text(s, 0, "20240105");
        text(s, 1, "09:31:05");
        text(s, 2, "600000");
        text(s, 3, "浦发银行");
        text(s, 4, "证券买入");
        cell(s, 5, "9.800", 9.8);
        cell(s, 6, "1000", 1000);
        cell(s, 7, "9800.00", 9800.0);
        cell(s, 8, "-9812.34", -9812.34);
        cell(s, 9, "10.125", 10.125);
        cell(s, 10, "-12.00", -12.0);
        cell(s, 11, "50000.50", 50000.5);
        cell(s, 12, "2000", 2000);
        cell(s, 13, "5.01", 5.01);
        cell(s, 14, "4.90", 4.9);
        cell(s, 15, "0.20", 0.2);
        cell(s, 16, "0.24", 0.24);
        if (credit)
            cell(s, 17, "123", 123);
        else
            text(s, 17, "SN123");
        text(s, 18, "C0001");
        text(s, 19, credit ? "E012345678" : "A123456789");
        text(s, 20, "上交所");
    }

    const QString debt = QStringLiteral("CreditDebt");
    text(debt, 0, "20231120");
    text(debt, 1, "20240105");
    const QString displayId = displayIdOf("600000", '1');
    cell(debt, 2, displayId, displayId, Calls{0, 1, {}}, Calls{0, 1, {}});
    const QString debtName = nameOf("600000", '1');
    cell(debt, 3, debtName, debtName, Calls{1, 0, {}}, Calls{1, 0, {}});
    cell(debt, 4, "融资买入", 61);
    cell(debt, 5, "未了结", 0);
    cell(debt, 6, "1000", 1000);
    cell(debt, 7, "700", 700);
    cell(debt, 8, "1002.75", 1002.75);
    cell(debt, 9, "502.75", 502.75);
    text(debt, 11, "C0002");
    text(debt, 12, "E012345678");
    cell(debt, 13, Util::parseZRCreditExchangeID('1'), 49, Calls{0, 0, traceOf(&Util::parseZRCreditExchangeID, '1')});

    for (const QString& s : {QStringLiteral("StockCapital"), QStringLiteral("CreditCapital")}) {
        const bool credit = s.startsWith(QLatin1String("Credit"));
        text(s, 0, "20240105");
        cell(s, 1, "1234.50", 1234.5);
        if (credit) {
            cell(s, 2, "11.11", 11.11);
            cell(s, 3, "22.22", 22.22);
            cell(s, 4, "33.33", 33.33);
            cell(s, 5, "200.25", 200.25);
            cell(s, 6, "1034.25", 1034.25);
            cell(s, 7, "-3.75", -3.75);
            cell(s, 8, "100.00", 100.0);
            cell(s, 9, "50.50", 50.5);
        } else {
            cell(s, 2, "200.25", 200.25);
            cell(s, 3, "1034.25", 1034.25);
            cell(s, 4, "-3.75", -3.75);
            cell(s, 5, "100.00", 100.0);
            cell(s, 6, "50.50", 50.5);
            cell(s, 7, "11.11", 11.11);
            cell(s, 8, "22.22", 22.22);
            cell(s, 9, "33.33", 33.33);
        }
        text(s, 10, "C0003");
    }

    const QString shName = nameOf("600000", '1');
    for (const QString& s : fundDetailSets) {
        text(s, 0, "20240105");
        text(s, 1, "10:15:00");
        text(s, 2, "证券买入");
        text(s, 3, "600000");
        cell(s, 4, shName, str("600000"), Calls{1, 0, {}});
        cell(s, 5, "100.00", 100.0);
        cell(s, 6, "9812.34", 9812.34);
        cell(s, 7, "40188.16", 40188.16);
        text(s, 8, "买入 浦发银行 1000股");
        text(s, 9, "F20240105001");
        text(s, 10, "C0004");
    }

    for (const QString& s : positionSets) {
        text(s, 0, "20240105");
        text(s, 1, "600000");
        cell(s, 2, shName, str("600000"), Calls{1, 0, {}});
        cell(s, 3, "300", 300);
        cell(s, 4, "1000.000", 1000.0);
        cell(s, 5, "3.333", 1000.0 / 300.0);
        cell(s, 6, "3.250", 3.25);
        cell(s, 7, "-12.50", -12.5);
        text(s, 8, "C0005");
        text(s, 9, "A123456789");
        text(s, 10, "sh");
    }

    const QString szName = nameOf("000001", '2');
    for (const QString& s : profitSets) {
        const auto decoder = s.startsWith(QLatin1String("Credit")) ? &Util::parseZRCreditExchangeID
                                                                   : &Util::parseZRStockExchangeID;
        text(s, 0, "000001");
        cell(s, 1, szName, szName, Calls{1, 0, {}}, Calls{1, 0, {}});
        cell(s, 2, "10000.50", 10000.5);
        cell(s, 3, "12000.75", 12000.75);
        cell(s, 4, "500", 500);
        cell(s, 5, "800", 800);
        cell(s, 6, "3000.00", 3000.0);
        cell(s, 7, "1500.25", 1500.25);
        cell(s, 8, "-12.50", -12.5);
        text(s, 9, "C0006");
        cell(s, 10, decoder('2'), 50, Calls{0, 0, traceOf(decoder, '2')});
        text(s, 11, "20240131");
    }
}

void tst_ColumnsMore::cells()
{
    QFETCH(QString, setName);
    QFETCH(int, column);
    QFETCH(QString, display);
    QFETCH(QVariant, raw);
    QFETCH(Calls, displayCalls);
    QFETCH(Calls, rawCalls);
    const SetInfo& info = set(setName);
    std::unique_ptr<TableHeader> header = info.make();
    UserData userData(1);

    QString shown;
    QCOMPARE(observe(userData, [&] { shown = header->getColumnDisplayText(column, info.sample, &userData); }), displayCalls);
    QCOMPARE(shown, display);

    QVariant value;
    QCOMPARE(observe(userData, [&] { value = header->getColumnRawValue(column, info.sample, &userData); }), rawCalls);
    QCOMPARE(value.userType(), raw.userType());
    QCOMPARE(value, raw);
}

void tst_ColumnsMore::nullRecord_data()
{
    addSetRows();
}

void tst_ColumnsMore::nullRecord()
{
    QFETCH(QString, setName);
    const SetInfo& info = set(setName);
    std::unique_ptr<TableHeader> header = info.make();
    UserData userData(1);
    QVector<int> ids = info.unknownIds;
    for (const Column& column : info.columns)
        ids << column.id;

    for (int id : qAsConst(ids)) {
        QString shown = QStringLiteral("unset");
        QVariant value = 1;
        const Calls calls = observe(userData, [&] {
            shown = header->getColumnDisplayText(id, info.nullRecord, &userData);
            value = header->getColumnRawValue(id, info.nullRecord, &userData);
        });
        QVERIFY2(shown.isEmpty(), qPrintable(QString::number(id)));
        QVERIFY2(!value.isValid(), qPrintable(QString::number(id)));
        QCOMPARE(calls, Calls());
    }
}

void tst_ColumnsMore::wrongRecordType_data()
{
    QTest::addColumn<QString>("setName");
    QTest::addColumn<int>("wrong");
    for (const SetInfo& info : qAsConst(sets)) {
        for (int i = 0; i < info.wrongRecords.size(); ++i)
            QTest::addRow("%s %s", qPrintable(info.name), info.wrongRecords.at(i).first) << info.name << i;
    }
}

void tst_ColumnsMore::wrongRecordType()
{
    QFETCH(QString, setName);
    QFETCH(int, wrong);
    const SetInfo& info = set(setName);
    const std::any& record = info.wrongRecords.at(wrong).second;
    std::unique_ptr<TableHeader> header = info.make();
    UserData userData(1);
    for (const Column& column : info.columns) {
        QVERIFY_EXCEPTION_THROWN(header->getColumnDisplayText(column.id, record, &userData), std::bad_any_cast);
        QVERIFY_EXCEPTION_THROWN(header->getColumnRawValue(column.id, record, &userData), std::bad_any_cast);
    }
    QVERIFY_EXCEPTION_THROWN(header->getColumnDisplayText(-1, record, &userData), std::bad_any_cast);
    QVERIFY_EXCEPTION_THROWN(header->getColumnRawValue(-1, record, &userData), std::bad_any_cast);
}

void tst_ColumnsMore::unknownColumn_data()
{
    QTest::addColumn<QString>("setName");
    QTest::addColumn<int>("column");
    for (const SetInfo& info : qAsConst(sets)) {
        for (int id : info.unknownIds)
            QTest::addRow("%s %d", qPrintable(info.name), id) << info.name << id;
    }
}

void tst_ColumnsMore::unknownColumn()
{
    QFETCH(QString, setName);
    QFETCH(int, column);
    const SetInfo& info = set(setName);
    std::unique_ptr<TableHeader> header = info.make();
    UserData userData(1);
    QString shown = QStringLiteral("unset");
    QVariant value = 1;
    const Calls calls = observe(userData, [&] {
        shown = header->getColumnDisplayText(column, info.sample, &userData);
        value = header->getColumnRawValue(column, info.sample, &userData);
    });
    QVERIFY(shown.isEmpty());
    QVERIFY(!value.isValid());
    QCOMPARE(calls, Calls());
}

void tst_ColumnsMore::inModel_data()
{
    addSetRows();
}

// The paged model asks by the id of the column at each position, not by the position.
void tst_ColumnsMore::inModel()
{
    QFETCH(QString, setName);
    const SetInfo& info = set(setName);
    const int accountKey = 4711;
    UserData userData(2);
    UserDataManager::instance()->userDataMap().insert(accountKey, &userData);
    auto unregister = qScopeGuard([&] { UserDataManager::instance()->userDataMap().remove(accountKey); });

    std::unique_ptr<TableHeader> header = info.make();
    header->initUserColumn();
    QList<ColProperty*> shown = header->getShowColumns();
    myHistoryModel model(QStringLiteral("HistoryTable"), accountKey);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setHeader(header.get(), shown);
    model.setDataSource({info.sample, info.nullRecord});
    model.loadNextPage();
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.columnCount(), info.columns.size());

    for (int position = 0; position < info.columns.size(); ++position) {
        const int id = info.columns.at(position).id;
        const QModelIndex cell = model.index(0, position);
        QCOMPARE(cell.data(Qt::DisplayRole).toString(), header->getColumnDisplayText(id, info.sample, &userData));
        QCOMPARE(cell.data(Qt::UserRole), header->getColumnRawValue(id, info.sample, &userData));
        QCOMPARE(cell.data(Qt::TextAlignmentRole).toInt(), info.columns.at(position).alignment);
        QVERIFY(model.index(1, position).data(Qt::DisplayRole).toString().isEmpty());
    }
}

// ---- what makes single sets special ----

void tst_ColumnsMore::debtEntrustType_data()
{
    QTest::addColumn<int>("entrustType");
    QTest::addColumn<QString>("text");
    const QVector<QPair<int, const char*>> known = {
        {1, "买入"}, {2, "卖出"}, {4, "融资"}, {5, "融券"}, {34, "融资购回"}, {35, "融券购回"},
        {61, "融资买入"}, {62, "卖券还款"}, {63, "买券还券"}, {64, "融券卖出"}, {67, "券源划入"},
        {68, "券源划出"}, {69, "余券划转"}, {70, "还券划转"}, {71, "融资强平"}, {72, "融券强平"},
        {73, "直接还款"},
    };
    for (const auto& entry : known)
        QTest::addRow("%d", entry.first) << entry.first << QString::fromUtf8(entry.second);
    for (int unknown : {0, 3, 6, 36, 60, 65, 66, 74, 99, -1, INT_MIN, INT_MAX})
        QTest::addRow("%d", unknown) << unknown << QString();
}

void tst_ColumnsMore::debtEntrustType()
{
    QFETCH(int, entrustType);
    QFETCH(QString, text);
    const std::any record = recordFor(QStringLiteral("CreditDebt"), [&](auto& bytes) { bytes.i32(152, entrustType); });
    CreditHistoryCreditDebtTableHeader header;
    QCOMPARE(header.getColumnDisplayText(4, record, nullptr), text);
    const QVariant raw = header.getColumnRawValue(4, record, nullptr);
    QCOMPARE(raw.userType(), int(QMetaType::Int));
    QCOMPARE(raw.toInt(), entrustType);
}

void tst_ColumnsMore::debtStatus_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << 0 << QStringLiteral("未了结");
    QTest::newRow("3") << 3 << QStringLiteral("已了结");
    for (int other : {1, 2, 4, -1, 30, INT_MAX})
        QTest::addRow("%d", other) << other << QString();
}

void tst_ColumnsMore::debtStatus()
{
    QFETCH(int, status);
    QFETCH(QString, text);
    const std::any record = recordFor(QStringLiteral("CreditDebt"), [&](auto& bytes) { bytes.i32(480, status); });
    CreditHistoryCreditDebtTableHeader header;
    QCOMPARE(header.getColumnDisplayText(5, record, nullptr), text);
    const QVariant raw = header.getColumnRawValue(5, record, nullptr);
    QCOMPARE(raw.userType(), int(QMetaType::Int));
    QCOMPARE(raw.toInt(), status);
}

void tst_ColumnsMore::debtFixedTextsTranslated()
{
    const std::any record = recordFor(QStringLiteral("CreditDebt"), [](auto& bytes) { bytes.i32(152, 64).i32(480, 3); });
    CreditHistoryCreditDebtTableHeader header;
    MarkingTranslator translator;
    QVERIFY(QCoreApplication::installTranslator(&translator));
    const QString entrust = header.getColumnDisplayText(4, record, nullptr);
    const QString status = header.getColumnDisplayText(5, record, nullptr);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(entrust, QStringLiteral("<融券卖出>"));
    QCOMPARE(status, QStringLiteral("<已了结>"));
}

void tst_ColumnsMore::debtQuantities_data()
{
    QTest::addColumn<int>("entrustType");
    QTest::addColumn<int>("financed");
    QTest::addColumn<int>("shortVolume");
    QTest::addColumn<int>("repaid");
    QTest::addColumn<QString>("debtShown");
    QTest::addColumn<QVariant>("debtRaw");
    QTest::addColumn<QString>("unpaidShown");
    QTest::addColumn<QVariant>("unpaidRaw");
    QTest::newRow("buy on margin") << 61 << 1000 << 0 << 300 << "1000" << QVariant(1000) << "700" << QVariant(700);
    QTest::newRow("buy on margin ignores short") << 61 << 1000 << 444 << 100 << "1000" << QVariant(1000) << "900" << QVariant(900);
    QTest::newRow("short sale repaid") << 64 << 0 << 500 << 500 << "500" << QVariant(500) << "0" << QVariant(0);
    QTest::newRow("short sale ignores financed") << 64 << 777 << 500 << 100 << "500" << QVariant(500) << "400" << QVariant(400);
    QTest::newRow("over-repaid") << 61 << 1000 << 0 << 1200 << "1000" << QVariant(1000) << "-200" << QVariant(-200);
    QTest::newRow("wraps instead of overflowing") << 61 << INT_MIN << 0 << 1
                                                  << "-2147483648" << QVariant(INT_MIN) << "2147483647" << QVariant(INT_MAX);
    for (int other : {62, 63, 73, 1, 4, 5, 0, 99})
        QTest::addRow("entrust %d", other) << other << 1000 << 500 << 300 << QString() << QVariant() << QString() << QVariant();
}

void tst_ColumnsMore::debtQuantities()
{
    QFETCH(int, entrustType);
    QFETCH(int, financed);
    QFETCH(int, shortVolume);
    QFETCH(int, repaid);
    QFETCH(QString, debtShown);
    QFETCH(QVariant, debtRaw);
    QFETCH(QString, unpaidShown);
    QFETCH(QVariant, unpaidRaw);
    const std::any record = recordFor(QStringLiteral("CreditDebt"), [&](auto& bytes) {
        bytes.i32(152, entrustType).i32(280, financed).i32(296, shortVolume).i32(332, repaid);
    });
    CreditHistoryCreditDebtTableHeader header;

    QCOMPARE(header.getColumnDisplayText(6, record, nullptr), debtShown);
    QCOMPARE(header.getColumnDisplayText(7, record, nullptr), unpaidShown);
    const QVariant debt = header.getColumnRawValue(6, record, nullptr);
    const QVariant unpaid = header.getColumnRawValue(7, record, nullptr);
    QCOMPARE(debt.userType(), debtRaw.userType());
    QCOMPARE(debt, debtRaw);
    QCOMPARE(unpaid.userType(), unpaidRaw.userType());
    QCOMPARE(unpaid, unpaidRaw);
    // The amounts are filled whatever the entrust type.
    QCOMPARE(header.getColumnDisplayText(8, record, nullptr), QStringLiteral("1002.75"));
    QCOMPARE(header.getColumnDisplayText(9, record, nullptr), QStringLiteral("502.75"));
}

void tst_ColumnsMore::debtAmounts_data()
{
    QTest::addColumn<double>("debtAmount");
    QTest::addColumn<double>("extra");
    QTest::addColumn<double>("repaidAmount");
    QTest::addColumn<QString>("debtShown");
    QTest::addColumn<double>("debtRaw");
    QTest::addColumn<QString>("unpaidShown");
    QTest::addColumn<double>("unpaidRaw");
    QTest::newRow("sum and rest") << 1000.5 << 2.25 << 500.0 << "1002.75" << 1002.75 << "502.75" << 502.75;
    QTest::newRow("zero") << 0.0 << 0.0 << 0.0 << "0.00" << 0.0 << "0.00" << 0.0;
    QTest::newRow("extra only") << 0.0 << 12.5 << 0.0 << "12.50" << 12.5 << "12.50" << 12.5;
    QTest::newRow("over-repaid") << 100.0 << 0.0 << 150.0 << "100.00" << 100.0 << "-50.00" << -50.0;
    QTest::newRow("rounded only when shown") << 0.125 << 0.25 << 0.0 << "0.38" << 0.375 << "0.38" << 0.375;
}

void tst_ColumnsMore::debtAmounts()
{
    QFETCH(double, debtAmount);
    QFETCH(double, extra);
    QFETCH(double, repaidAmount);
    QFETCH(QString, debtShown);
    QFETCH(double, debtRaw);
    QFETCH(QString, unpaidShown);
    QFETCH(double, unpaidRaw);
    const std::any record = recordFor(QStringLiteral("CreditDebt"), [&](auto& bytes) {
        bytes.f64(312, debtAmount).f64(376, extra).f64(320, repaidAmount);
    });
    CreditHistoryCreditDebtTableHeader header;
    QCOMPARE(header.getColumnDisplayText(8, record, nullptr), debtShown);
    QCOMPARE(header.getColumnRawValue(8, record, nullptr), QVariant(debtRaw));
    QCOMPARE(header.getColumnDisplayText(9, record, nullptr), unpaidShown);
    QCOMPARE(header.getColumnRawValue(9, record, nullptr), QVariant(unpaidRaw));
}

void tst_ColumnsMore::capitalSharedBytesMeanDifferentFields()
{
    // One value at offset 88 in both records: unmatured bonds (id 7) in the stock set, total
    // liabilities (id 2) in the credit set, and in no other column.
    QStringList hits[2];
    const QString names[2] = {QStringLiteral("StockCapital"), QStringLiteral("CreditCapital")};
    for (int i = 0; i < 2; ++i) {
        const std::any record = recordFor(names[i], [](auto& bytes) { bytes.f64(88, 4242.5); });
        std::unique_ptr<TableHeader> header = set(names[i]).make();
        for (int id = 0; id <= 10; ++id) {
            if (header->getColumnDisplayText(id, record, nullptr) == QLatin1String("4242.50"))
                hits[i] << QString::number(id);
        }
    }
    QCOMPARE(hits[0], QStringList{QStringLiteral("7")});
    QCOMPARE(hits[1], QStringList{QStringLiteral("2")});
}

namespace {

// Where a set keeps the code and the exchange that its name column looks up.
struct LookupLayout
{
    std::size_t exchangeAt, exchangeRoom, codeAt, codeRoom;
    int codeColumn, nameColumn;
};

LookupLayout lookupLayout(const QString& setName)
{
    if (fundDetailSets.contains(setName))
        return {265, 5, 270, 50, 3, 4};
    if (positionSets.contains(setName))
        return {64, 35, 99, 81, 1, 2};
    if (profitSets.contains(setName))
        return {13, 1, 14, 34, 0, 1};
    return {156, 1, 168, 112, 2, 3};   // margin debt
}

} // namespace

void tst_ColumnsMore::exchangeLetters_data()
{
    QTest::addColumn<QString>("setName");
    QTest::addColumn<QByteArray>("letters");
    QTest::addColumn<char>("exchange");   // 0: no lookup
    const QVector<QPair<const char*, char>> cases = {
        {"SH", '1'}, {"sh", '1'}, {"Sh", '1'}, {"sH", '1'}, {"SZ", '2'}, {"sz", '2'}, {"sZ", '2'},
        {"BJ", '4'}, {"bj", '4'}, {"Bj", '4'}, {"", 0}, {"HK", 0}, {" SH", 0}, {"SH ", 0},
        {"SHA", 0}, {"S", 0}, {"1", 0}, {"2", 0}, {"SS", 0}, {"ZS", 0},
    };
    for (const QString& s : fundDetailSets + positionSets) {
        for (const auto& entry : cases)
            QTest::addRow("%s '%s'", qPrintable(s), entry.first) << s << QByteArray(entry.first) << entry.second;
    }
}

void tst_ColumnsMore::exchangeLetters()
{
    QFETCH(QString, setName);
    QFETCH(QByteArray, letters);
    QFETCH(char, exchange);
    // A code listed on the expected exchange only; without a lookup, a code that would have a name.
    const QByteArray code = exchange == '2' ? szCode : exchange == '4' ? bjCode : shCode;
    const LookupLayout at = lookupLayout(setName);
    const std::any record = recordFor(setName, [&](auto& bytes) {
        bytes.text(at.exchangeAt, letters.constData(), at.exchangeRoom).text(at.codeAt, code.constData(), at.codeRoom);
    });
    std::unique_ptr<TableHeader> header = set(setName).make();
    UserData userData(1);

    QString name;
    const Calls calls = observe(userData, [&] { name = header->getColumnDisplayText(at.nameColumn, record, &userData); });
    QCOMPARE(calls, (Calls{exchange ? 1 : 0, 0, {}}));
    if (exchange) {
        QVERIFY(!name.isEmpty());
        QCOMPARE(name, nameOf(code.constData(), exchange));
        for (char other : {'1', '2', '4'}) {
            if (other != exchange)
                QVERIFY(nameOf(code.constData(), other) != name);
        }
    } else {
        QVERIFY(name.isEmpty());
        QVERIFY(!nameOf(code.constData(), '1').isEmpty());
    }

    // Neither the code column nor the raw value of the name column looks anything up.
    QVariant raw;
    QString shownCode;
    const Calls rawCalls = observe(userData, [&] {
        raw = header->getColumnRawValue(at.nameColumn, record, &userData);
        shownCode = header->getColumnDisplayText(at.codeColumn, record, &userData);
    });
    QCOMPARE(rawCalls, Calls());
    QCOMPARE(raw, QVariant(QString::fromLatin1(code)));
    QCOMPARE(header->getColumnRawValue(at.codeColumn, record, &userData), raw);
    QCOMPARE(shownCode, QString::fromLatin1(code));
    if (positionSets.contains(setName)) {
        QCOMPARE(header->getColumnDisplayText(10, record, &userData), QString::fromLatin1(letters));
        QCOMPARE(header->getColumnRawValue(10, record, &userData), QVariant(QString::fromLatin1(letters)));
    }
}

void tst_ColumnsMore::codeFillingItsRoom_data()
{
    addSetRows(fundDetailSets + positionSets + profitSets + QStringList{QStringLiteral("CreditDebt")});
}

// A code without a NUL in its room reaches the lookup cut at the room: nothing past it is read.
void tst_ColumnsMore::codeFillingItsRoom()
{
    QFETCH(QString, setName);
    const LookupLayout at = lookupLayout(setName);
    const std::any record = recordFor(setName, [&](auto& bytes) {
        bytes.fill(at.codeAt, '6', at.codeRoom);
        if (at.exchangeRoom == 1)
            bytes.byte(at.exchangeAt, '1');
        else
            bytes.text(at.exchangeAt, "SH", at.exchangeRoom);
    });
    std::unique_ptr<TableHeader> header = set(setName).make();
    UserData userData(1);
    const QByteArray full(int(at.codeRoom), '6');

    QString name;
    const Calls calls = observe(userData, [&] { name = header->getColumnDisplayText(at.nameColumn, record, &userData); });
    QCOMPARE(calls.names, 1);
    QCOMPARE(name, nameOf(full.constData(), '1'));
    const QString shownCode = header->getColumnDisplayText(at.codeColumn, record, &userData);
    if (setName == QLatin1String("CreditDebt"))
        QCOMPARE(shownCode, displayIdOf(full.constData(), '1'));
    else
        QCOMPARE(shownCode, QString::fromLatin1(full));
}

void tst_ColumnsMore::positionCostPrice_data()
{
    QTest::addColumn<QString>("setName");
    QTest::addColumn<double>("cost");
    QTest::addColumn<int>("volume");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QVariant>("raw");
    QTest::addColumn<QString>("volumeShown");
    for (const QString& s : positionSets) {
        QTest::addRow("%s 1000/300", qPrintable(s)) << s << 1000.0 << 300 << "3.333" << QVariant(1000.0 / 300.0) << "300";
        QTest::addRow("%s 1000/0", qPrintable(s)) << s << 1000.0 << 0 << "-" << QVariant() << "0";
        QTest::addRow("%s 1000/-100", qPrintable(s)) << s << 1000.0 << -100 << "-" << QVariant() << "-100";
        QTest::addRow("%s 1000/INT_MIN", qPrintable(s)) << s << 1000.0 << INT_MIN << "-" << QVariant() << "-2147483648";
        QTest::addRow("%s 5/1", qPrintable(s)) << s << 5.0 << 1 << "5.000" << QVariant(5.0) << "1";
        QTest::addRow("%s 0/1", qPrintable(s)) << s << 0.0 << 1 << "0.000" << QVariant(0.0) << "1";
        QTest::addRow("%s -30/4", qPrintable(s)) << s << -30.0 << 4 << "-7.500" << QVariant(-7.5) << "4";
        QTest::addRow("%s 2/3", qPrintable(s)) << s << 2.0 << 3 << "0.667" << QVariant(2.0 / 3.0) << "3";
    }
}

void tst_ColumnsMore::positionCostPrice()
{
    QFETCH(QString, setName);
    QFETCH(double, cost);
    QFETCH(int, volume);
    QFETCH(QString, shown);
    QFETCH(QVariant, raw);
    QFETCH(QString, volumeShown);
    const std::any record = recordFor(setName, [&](auto& bytes) { bytes.f64(192, cost).i32(180, volume); });
    std::unique_ptr<TableHeader> header = set(setName).make();

    QCOMPARE(header->getColumnDisplayText(5, record, nullptr), shown);
    const QVariant value = header->getColumnRawValue(5, record, nullptr);
    QCOMPARE(value.userType(), raw.userType());
    QCOMPARE(value, raw);
    // The quantity and the holding cost are shown whatever the guard decides.
    QCOMPARE(header->getColumnDisplayText(3, record, nullptr), volumeShown);
    QCOMPARE(header->getColumnRawValue(3, record, nullptr), QVariant(volume));
    QCOMPARE(header->getColumnRawValue(4, record, nullptr), QVariant(cost));
}

void tst_ColumnsMore::profitExchange_data()
{
    QTest::addColumn<QString>("setName");
    QTest::addColumn<char>("exchange");
    QTest::addColumn<int>("raw");
    for (const QString& s : profitSets) {
        QTest::addRow("%s SH", qPrintable(s)) << s << '1' << 49;
        QTest::addRow("%s SZ", qPrintable(s)) << s << '2' << 50;
        QTest::addRow("%s BJ", qPrintable(s)) << s << '4' << 52;
        QTest::addRow("%s letter", qPrintable(s)) << s << 'S' << 83;
        QTest::addRow("%s NUL", qPrintable(s)) << s << '\0' << 0;
        QTest::addRow("%s high byte", qPrintable(s)) << s << char(0xB1) << -79;
    }
}

void tst_ColumnsMore::profitExchange()
{
    QFETCH(QString, setName);
    QFETCH(char, exchange);
    QFETCH(int, raw);
    const bool credit = setName == QLatin1String("CreditProfit");
    const QByteArray code = exchange == '2' ? szCode : exchange == '4' ? bjCode : shCode;
    const std::any record = recordFor(setName, [&](auto& bytes) { bytes.byte(13, exchange).text(14, code.constData(), 34); });
    std::unique_ptr<TableHeader> header = set(setName).make();
    UserData userData(credit ? 2 : 1);

    // The name: looked up with the byte as stored, for the display text and the raw value alike.
    QString name;
    QVariant rawName;
    QCOMPARE(observe(userData, [&] { name = header->getColumnDisplayText(1, record, &userData); }), (Calls{1, 0, {}}));
    QCOMPARE(observe(userData, [&] { rawName = header->getColumnRawValue(1, record, &userData); }), (Calls{1, 0, {}}));
    QCOMPARE(name, nameOf(code.constData(), exchange));
    QCOMPARE(rawName, QVariant(name));
    if (exchange == '1' || exchange == '2' || exchange == '4')
        QVERIFY(!name.isEmpty());

    // The exchange: the account kind's own decoder for the text, the signed byte as raw value.
    const auto decoder = credit ? &Util::parseZRCreditExchangeID : &Util::parseZRStockExchangeID;
    QString shown;
    QVariant value;
    QCOMPARE(observe(userData, [&] { shown = header->getColumnDisplayText(10, record, &userData); }),
             (Calls{0, 0, traceOf(decoder, exchange)}));
    QCOMPARE(observe(userData, [&] { value = header->getColumnRawValue(10, record, &userData); }), Calls());
    QCOMPARE(shown, decoder(exchange));
    QCOMPARE(value.userType(), int(QMetaType::Int));
    QCOMPARE(value.toInt(), raw);
}

QTEST_MAIN(tst_ColumnsMore)
#include "tst_columns_more.moc"
