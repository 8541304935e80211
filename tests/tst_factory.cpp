// The module as the client meets it: the plug-in loaded with QLibrary and its factory resolved by
// name. Pages are read through pointers to the page frame's members.

#include "ClientConstants.h"
#include "PageTestSupport.h"
#include "api/ZRVDHistoryFields.h"

#include <QLibrary>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QtTest>

#include <memory>
#include <typeindex>
#include <typeinfo>

using namespace PageTest;
namespace ZR = ZRVALUEADDPROAPI;

namespace {

using Factory = ISubModuleWid* (*)(int accountKey, int pageType, QWidget* parent);

constexpr int StockKey = 5101;
constexpr int CreditKey = 5102;
constexpr int OddKey = 5103;        // an account of neither kind
constexpr int MissingKey = 5199;

struct PageType
{
    int code;
    const char* className;
    const char* title;
    HistoryKind kind;
    QString stockColumns;           // empty: no page for that kind of account
    QString creditColumns;
    std::type_index stockRecord;
    std::type_index creditRecord;
};

const QList<PageType>& pageTypes()
{
    static const QList<PageType> types = {
        {22, "VEK_SC_Space::HistoryOrderWid", "历史委托", HistoryKind::Order, TH_STOCK_HISTORY_ORDER,
         TH_CREDIT_HISTORY_ORDER, typeid(ZR::CZRVDHistoryOrderEXField*), typeid(ZR::CZRVDCreditHistoryOrderEXField*)},
        {23, "VEK_SC_Space::HistoryTradeWid", "历史成交", HistoryKind::Trade, TH_STOCK_HISTORY_TRADE,
         TH_CREDIT_HISTORY_TRADE, typeid(ZR::CZRVDHistoryTradeEXField*), typeid(ZR::CZRVDCreditHistoryTradeEXField*)},
        {51, "VEK_SC_Space::HistoryCreditDebtWid", "历史两融负债", HistoryKind::CreditDebt, TH_CREDIT_HISTORY_DEBT,
         TH_CREDIT_HISTORY_DEBT, typeid(void), typeid(ZR::CZRVDCreditHistoryDebtInfoField*)},
        {52, "VEK_SC_Space::HistoryDeliveryWid", "历史交割单", HistoryKind::Delivery, TH_STOCK_HISTORY_DELIVERY,
         TH_CREDIT_HISTORY_DELIVERY, typeid(ZR::CZRVDHistoryDeliveryField*), typeid(ZR::CZRVDCreditHistoryDeliveryField*)},
        {53, "VEK_SC_Space::HistoryCapitalWid", "历史资金", HistoryKind::Capital, TH_STOCK_HISTORY_CAPITAL,
         TH_CREDIT_HISTORY_CAPITAL, typeid(ZR::CZRVDHistoryCapitalField*), typeid(ZR::CZRVDCreditHistoryCapitalField*)},
        {54, "VEK_SC_Space::HistoryFundDetailWid", "历史资金流水", HistoryKind::FundDetail, TH_STOCK_HISTORY_FUNDDETAIL,
         TH_CREDIT_HISTORY_FUNDDETAIL, typeid(ZR::CZRVDHistoryFundDetailField*),
         typeid(ZR::CZRVDCreditHistoryFundDetailField*)},
        {55, "VEK_SC_Space::HistoryPositionWid", "历史持仓", HistoryKind::Position, TH_STOCK_HISTORY_POSITION,
         TH_CREDIT_HISTORY_POSITION, typeid(ZR::CZRVDHistoryHoldField*), typeid(ZR::CZRVDCreditHistoryHoldField*)},
        {56, "VEK_SC_Space::HistoryProfitWid", "历史盈亏", HistoryKind::Profit, TH_STOCK_HISTORY_PROFIT,
         TH_CREDIT_HISTORY_PROFIT, typeid(ZR::CZRVDHisShareProfitField*), typeid(ZR::CZRVDCreditHisShareProfitField*)},
    };
    return types;
}

const PageType& pageType(int code)
{
    for (const PageType& type : pageTypes()) {
        if (type.code == code)
            return type;
    }
    qFatal("no page type %d in the test's table", code);
}

} // namespace

class tst_Factory : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void exportsOnlyTheFactory();

    void everyPage_data();
    void everyPage();
    void unknownPageType_data();
    void unknownPageType();
    void noAccount_data();
    void noAccount();
    void accountOfNeitherKind_data();
    void accountOfNeitherKind();
    void onePagePerKindAndAccount_data();
    void onePagePerKindAndAccount();
    void freedWithItsParent();
    void debtPageOnStockAccount();

private:
    ISubModuleWid* create(int accountKey, int pageType, QWidget* parent = nullptr)
    {
        return factory(accountKey, pageType, parent);
    }

    QLibrary library{QStringLiteral(HISTORY_PLUGIN_FILE)};
    Factory factory = nullptr;
    std::unique_ptr<Account> stock;
    std::unique_ptr<Account> credit;
    std::unique_ptr<Account> odd;
};

void tst_Factory::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("tst_factory"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_factory"));
    QVERIFY2(library.load(), qPrintable(library.errorString()));
    factory = reinterpret_cast<Factory>(library.resolve("CreateISubModuleWid_HistoryRecordWid"));
    QVERIFY(factory);
    stock = std::make_unique<Account>(StockKey, 1);
    credit = std::make_unique<Account>(CreditKey, 2);
    odd = std::make_unique<Account>(OddKey, 3);
}

void tst_Factory::cleanupTestCase()
{
    odd.reset();
    credit.reset();
    stock.reset();
    // The plug-in stays loaded: Qt keeps references into it until the process ends.
}

void tst_Factory::exportsOnlyTheFactory()
{
    const QString nm = QStandardPaths::findExecutable(QStringLiteral("nm"));
    if (nm.isEmpty())
        QSKIP("nm (binutils) is not installed; scripts/bootstrap installs it");
    QProcess process;
    process.start(nm, {QStringLiteral("-D"), QStringLiteral("--defined-only"), library.fileName()});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);

    QStringList symbols;
    const QStringList lines = QString::fromLocal8Bit(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QVERIFY2(fields.size() >= 2, qPrintable(line));
        const QString name = fields.last();
        if (name == QLatin1String("__bss_start") || name == QLatin1String("_edata") || name == QLatin1String("_end"))
            continue;
        symbols.append(fields.at(fields.size() - 2) + QLatin1Char(' ') + name);
    }
    QCOMPARE(symbols, QStringList{QStringLiteral("T CreateISubModuleWid_HistoryRecordWid")});
}

void tst_Factory::everyPage_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("accountKey");

    for (const PageType& type : pageTypes()) {
        QTest::addRow("%d stock", type.code) << type.code << StockKey;
        QTest::addRow("%d credit", type.code) << type.code << CreditKey;
    }
}

// Each code gives its page class with its title, the column set of the account's kind, and after
// an answer the records as pointers of the account kind's exact type.
void tst_Factory::everyPage()
{
    QFETCH(int, code);
    QFETCH(int, accountKey);
    const PageType& type = pageType(code);
    Account& account = accountKey == StockKey ? *stock : *credit;
    const int accountType = account.userData.accountType;

    QWidget host;
    QPointer<ISubModuleWid> page = create(accountKey, code, &host);
    QVERIFY(page);
    QCOMPARE(page->parentWidget(), &host);
    QCOMPARE(page->metaObject()->className(), type.className);
    QVERIFY(page->inherits("VEK_SC_Space::HistoryRecordWid"));
    QCOMPARE(titleOf(page), QString::fromUtf8(type.title));
    // The factory builds the widgets only; the client sets the page up.
    QVERIFY(!columnSetOf(page));
    QVERIFY(!modelOf(page));

    page->initSubModule();
    QVERIFY(columnSetOf(page));
    QCOMPARE(columnSetOf(page)->key(), accountType == 1 ? type.stockColumns : type.creditColumns);
    QCOMPARE(modelOf(page)->columnCount(), columnSetOf(page)->getShowColumns().size());

    page->findChild<QPushButton*>(QStringLiteral("pushButton_historyordertradewid_request"))->click();
    const QVector<void*> batch = account.answer(type.kind, 3, true);
    const QList<std::any>& records = recordsOf(page);
    const bool collects = type.kind != HistoryKind::CreditDebt || accountType == 2;
    QCOMPARE(records.size(), collects ? batch.size() : 0);
    for (int i = 0; i < records.size(); ++i) {
        QCOMPARE(std::type_index(records.at(i).type()), accountType == 1 ? type.stockRecord : type.creditRecord);
        QCOMPARE(modelOf(page)->record(i).type(), records.at(i).type());
    }
    if (!collects) {
        // The list of another kind of account is not the page's: it stays as it was.
        QCOMPARE(account.userData.resultList(type.kind), batch);
        for (void* record : batch)
            UserData::deleteRecord(type.kind, accountType, record);
        account.userData.resultList(type.kind).clear();
    }

    delete page;
    QVERIFY(account.userData.resultList(type.kind).isEmpty());
}

void tst_Factory::unknownPageType_data()
{
    QTest::addColumn<int>("code");

    for (int code : {0, 1, 21, 24, 50, 57, 99, -22})
        QTest::addRow("%d", code) << code;
}

void tst_Factory::unknownPageType()
{
    QFETCH(int, code);

    QWidget host;
    DebugLines log;
    QCOMPARE(create(StockKey, code, &host), nullptr);
    QCOMPARE(create(CreditKey, code, &host), nullptr);
    QVERIFY(host.children().isEmpty());
    QCOMPARE(log.lines().size(), 2);
}

void tst_Factory::noAccount_data()
{
    QTest::addColumn<int>("code");

    for (const PageType& type : pageTypes())
        QTest::addRow("%d", type.code) << type.code;
}

void tst_Factory::noAccount()
{
    QFETCH(int, code);

    QWidget host;
    DebugLines log;
    QCOMPARE(create(MissingKey, code, &host), nullptr);
    QVERIFY(host.children().isEmpty());
    QCOMPARE(log.lines().size(), 1);
    QVERIFY2(log.lines().first().contains(QString::number(MissingKey)), qPrintable(log.lines().first()));
}

void tst_Factory::accountOfNeitherKind_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<bool>("created");

    for (const PageType& type : pageTypes())
        QTest::addRow("%d", type.code) << type.code << (type.kind == HistoryKind::CreditDebt);
}

// The seven pages with a column set per account kind have none for this account; the margin-debt
// page has one set for every account and collects nothing there.
void tst_Factory::accountOfNeitherKind()
{
    QFETCH(int, code);
    QFETCH(bool, created);

    QWidget host;
    DebugLines log;
    std::unique_ptr<ISubModuleWid> page(create(OddKey, code, &host));
    QCOMPARE(page != nullptr, created);
    QCOMPARE(log.lines().size(), created ? 0 : 1);
    if (!page)
        return;
    page->initSubModule();
    QCOMPARE(columnSetOf(page.get())->key(), TH_CREDIT_HISTORY_DEBT);
    page->findChild<QPushButton*>(QStringLiteral("pushButton_historyordertradewid_request"))->click();
    const QVector<void*> batch = odd->answer(HistoryKind::CreditDebt, 2, true);
    QVERIFY(recordsOf(page.get()).isEmpty());
    page.reset();
    QCOMPARE(odd->userData.resultList(HistoryKind::CreditDebt), batch);
    for (void* record : batch)
        UserData::deleteRecord(HistoryKind::CreditDebt, 3, record);
    odd->userData.resultList(HistoryKind::CreditDebt).clear();
}

void tst_Factory::onePagePerKindAndAccount_data()
{
    QTest::addColumn<int>("code");

    for (const PageType& type : pageTypes())
        QTest::addRow("%d", type.code) << type.code;
}

// Two pages of one kind on one account would share one result list; other kinds and other
// accounts are free, and the kind is free again once its page is gone.
void tst_Factory::onePagePerKindAndAccount()
{
    QFETCH(int, code);
    const int otherCode = code == 22 ? 23 : 22;

    QWidget host;
    QPointer<ISubModuleWid> first = create(CreditKey, code, &host);
    QVERIFY(first);
    {
        DebugLines log;
        QCOMPARE(create(CreditKey, code, &host), nullptr);
        QCOMPARE(log.lines().size(), 1);
    }
    QCOMPARE(host.children(), QObjectList{first.data()});

    std::unique_ptr<ISubModuleWid> onOtherAccount(create(StockKey, code));
    QVERIFY(onOtherAccount);
    std::unique_ptr<ISubModuleWid> otherKind(create(CreditKey, otherCode));
    QVERIFY(otherKind);

    delete first;
    std::unique_ptr<ISubModuleWid> again(create(CreditKey, code));
    QVERIFY(again);
    QCOMPARE(again->metaObject()->className(), pageType(code).className);
}

void tst_Factory::freedWithItsParent()
{
    auto* host = new QWidget;
    QPointer<ISubModuleWid> page = create(StockKey, 55, host);
    QVERIFY(page);
    page->initSubModule();
    page->findChild<QPushButton*>(QStringLiteral("pushButton_historyordertradewid_request"))->click();
    stock->answer(HistoryKind::Position, 4, true);
    QCOMPARE(recordsOf(page).size(), 4);

    DebugLines log;
    delete host;
    QVERIFY(page.isNull());
    QCOMPARE(log.lines(), (QStringList{QStringLiteral("~HistoryPositionWid()"), QStringLiteral("~HistoryRecordWid()")}));
    QVERIFY(stock->userData.getHistoryHoldList().isEmpty());
    std::unique_ptr<ISubModuleWid> next(create(StockKey, 55));
    QVERIFY(next);
}

// On a stock account the margin-debt page shows the credit set, sends its request, and neither
// collects, frees nor empties the account's debt list.
void tst_Factory::debtPageOnStockAccount()
{
    std::unique_ptr<ISubModuleWid> page(create(StockKey, 51));
    QVERIFY(page);
    page->initSubModule();
    QCOMPARE(columnSetOf(page.get())->key(), TH_CREDIT_HISTORY_DEBT);

    const int before = stock->userData.lastRequestId();
    page->findChild<QPushButton*>(QStringLiteral("pushButton_historyordertradewid_request"))->click();
    QVERIFY(stock->userData.lastRequestId() != before);
    QCOMPARE(requestIdOf(page.get()), stock->userData.lastRequestId());

    QVector<void*> held = stock->answer(HistoryKind::CreditDebt, 5, false);
    QVERIFY(recordsOf(page.get()).isEmpty());
    QCOMPARE(collectNewRecords(page.get()), 0);
    held += stock->answer(HistoryKind::CreditDebt, 2, true);
    QVERIFY(recordsOf(page.get()).isEmpty());
    QCOMPARE(modelOf(page.get())->rowCount(), 0);

    // A new query and the page's end leave the list alone.
    page->findChild<QPushButton*>(QStringLiteral("pushButton_historyordertradewid_request"))->click();
    QCOMPARE(stock->userData.getCreditHistoryDebtInfoList(), held);
    page.reset();
    QCOMPARE(stock->userData.getCreditHistoryDebtInfoList(), held);
    for (void* record : held)
        UserData::deleteRecord(HistoryKind::CreditDebt, 1, record);
    stock->userData.getCreditHistoryDebtInfoList().clear();
}

QTEST_MAIN(tst_Factory)
#include "tst_factory.moc"
