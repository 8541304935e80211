// The eight page classes built in: their meta-objects and titles, the column set and record type
// of each account kind, incremental collection, the request and the answer signal of each, and
// who frees which record when.

#include "ClientConstants.h"
#include "DeletionWatch.h"
#include "HistoryCapitalWid.h"
#include "HistoryCreditDebtWid.h"
#include "HistoryDeliveryWid.h"
#include "HistoryFundDetailWid.h"
#include "HistoryOrderWid.h"
#include "HistoryPositionWid.h"
#include "HistoryProfitWid.h"
#include "HistoryTradeWid.h"
#include "PageTestSupport.h"
#include "service/ValueAddedService.h"

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTranslator>
#include <QtTest>

#include <memory>
#include <typeindex>
#include <vector>

using namespace PageTest;

namespace {

constexpr int Key = 6101;

struct PageClass
{
    int code;
    const QMetaObject* metaObject;
    const char* title;
    HistoryKind kind;
    QString stockColumns;
    QString creditColumns;
    bool bothKinds;     // stock and credit records; false: credit records only
};

const QList<PageClass>& pageClasses()
{
    static const QList<PageClass> classes = {
        {22, &HistoryOrderWid::staticMetaObject, "历史委托", HistoryKind::Order, TH_STOCK_HISTORY_ORDER,
         TH_CREDIT_HISTORY_ORDER, true},
        {23, &HistoryTradeWid::staticMetaObject, "历史成交", HistoryKind::Trade, TH_STOCK_HISTORY_TRADE,
         TH_CREDIT_HISTORY_TRADE, true},
        {51, &HistoryCreditDebtWid::staticMetaObject, "历史两融负债", HistoryKind::CreditDebt, TH_CREDIT_HISTORY_DEBT,
         TH_CREDIT_HISTORY_DEBT, false},
        {52, &HistoryDeliveryWid::staticMetaObject, "历史交割单", HistoryKind::Delivery, TH_STOCK_HISTORY_DELIVERY,
         TH_CREDIT_HISTORY_DELIVERY, true},
        {53, &HistoryCapitalWid::staticMetaObject, "历史资金", HistoryKind::Capital, TH_STOCK_HISTORY_CAPITAL,
         TH_CREDIT_HISTORY_CAPITAL, true},
        {54, &HistoryFundDetailWid::staticMetaObject, "历史资金流水", HistoryKind::FundDetail,
         TH_STOCK_HISTORY_FUNDDETAIL, TH_CREDIT_HISTORY_FUNDDETAIL, true},
        {55, &HistoryPositionWid::staticMetaObject, "历史持仓", HistoryKind::Position, TH_STOCK_HISTORY_POSITION,
         TH_CREDIT_HISTORY_POSITION, true},
        {56, &HistoryProfitWid::staticMetaObject, "历史盈亏", HistoryKind::Profit, TH_STOCK_HISTORY_PROFIT,
         TH_CREDIT_HISTORY_PROFIT, true},
    };
    return classes;
}

const PageClass& pageClass(int code)
{
    for (const PageClass& page : pageClasses()) {
        if (page.code == code)
            return page;
    }
    qFatal("no page class %d in the test's table", code);
}

// Built directly, not through the factory, so that pages the factory refuses can be built too.
std::unique_ptr<HistoryRecordWid> makePage(int code, int accountKey, QWidget* parent = nullptr)
{
    HistoryRecordWid* page = nullptr;
    switch (code) {
    case 22: page = new HistoryOrderWid(accountKey, code, parent); break;
    case 23: page = new HistoryTradeWid(accountKey, code, parent); break;
    case 51: page = new HistoryCreditDebtWid(accountKey, code, parent); break;
    case 52: page = new HistoryDeliveryWid(accountKey, code, parent); break;
    case 53: page = new HistoryCapitalWid(accountKey, code, parent); break;
    case 54: page = new HistoryFundDetailWid(accountKey, code, parent); break;
    case 55: page = new HistoryPositionWid(accountKey, code, parent); break;
    case 56: page = new HistoryProfitWid(accountKey, code, parent); break;
    }
    return std::unique_ptr<HistoryRecordWid>(page);
}

// The exact type a page holds its records as, on an account of this type; void for none.
std::type_index heldType(HistoryKind kind, int accountType)
{
    if (accountType != 1 && accountType != 2)
        return typeid(void);
    if (kind == HistoryKind::CreditDebt && accountType != 2)
        return typeid(void);
    return withRecordType(kind, accountType, [](auto type) { return std::type_index(typeid(typename decltype(type)::type*)); });
}

// The pointer a record list element holds, whatever its type.
const void* heldPointer(const std::any& element, HistoryKind kind, int accountType)
{
    return withRecordType(kind, accountType, [&](auto type) -> const void* {
        return std::any_cast<typename decltype(type)::type*>(element);
    });
}

// The Query button's slot; the button itself stays locked for a second after each click.
void query(HistoryRecordWid* page)
{
    page->on_pushButton_historyordertradewid_request_clicked();
}

// Answers every translation with "context|source".
class ContextTranslator : public QTranslator
{
public:
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        return QString::fromUtf8(context) + QLatin1Char('|') + QString::fromUtf8(sourceText);
    }
    bool isEmpty() const override { return false; }
};

// Frees the records a test left in a list the page must not touch.
void freeList(UserData& account, HistoryKind kind)
{
    QVector<void*>& list = account.resultList(kind);
    for (void* record : qAsConst(list))
        UserData::deleteRecord(kind, account.accountType, record);
    list.clear();
}

std::vector<const void*> pointersOf(const QVector<void*>& records)
{
    return std::vector<const void*>(records.cbegin(), records.cend());
}

} // namespace

class tst_Pages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void metaObjects_data();
    void metaObjects();
    void titles_data();
    void titles();
    void columnSets_data();
    void columnSets();
    void collectsIncrementally_data();
    void collectsIncrementally();
    void answersOnlyItsOwnSignal_data();
    void answersOnlyItsOwnSignal();
    void passesItsRequestThrough_data();
    void passesItsRequestThrough();
    void sendsItsRequestToTheService_data();
    void sendsItsRequestToTheService();
    void freesEveryRecordOnce_data();
    void freesEveryRecordOnce();
    void destroyedWithEmptyList_data();
    void destroyedWithEmptyList();
    void debtPageLeavesStockListAlone();
    void accountOfNeitherKind_data();
    void accountOfNeitherKind();
};

void tst_Pages::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("tst_pages"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_pages"));
}

void tst_Pages::init()
{
    DeletionWatch::stop();
}

void tst_Pages::metaObjects_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("className");

    const char* names[] = {"HistoryOrderWid", "HistoryTradeWid", "HistoryCreditDebtWid", "HistoryDeliveryWid",
                           "HistoryCapitalWid", "HistoryFundDetailWid", "HistoryPositionWid", "HistoryProfitWid"};
    for (int i = 0; i < pageClasses().size(); ++i)
        QTest::newRow(names[i]) << pageClasses().at(i).code << QStringLiteral("VEK_SC_Space::") + QLatin1String(names[i]);
}

// Each class has its own meta-object directly below the page frame's and adds nothing to it.
void tst_Pages::metaObjects()
{
    QFETCH(int, code);
    QFETCH(QString, className);

    const QMetaObject* meta = pageClass(code).metaObject;
    QCOMPARE(QString::fromLatin1(meta->className()), className);
    QCOMPARE(meta->superClass(), &HistoryRecordWid::staticMetaObject);
    QCOMPARE(meta->methodCount(), HistoryRecordWid::staticMetaObject.methodCount());
    QCOMPARE(meta->propertyCount(), HistoryRecordWid::staticMetaObject.propertyCount());
    QCOMPARE(meta->enumeratorCount(), HistoryRecordWid::staticMetaObject.enumeratorCount());

    Account account(Key, 1);
    auto page = makePage(code, Key);
    QCOMPARE(page->metaObject(), meta);
}

void tst_Pages::titles_data()
{
    QTest::addColumn<int>("code");

    for (const PageClass& page : pageClasses())
        QTest::newRow(page.metaObject->className()) << page.code;
}

// The title is translated once, by the page class, in its own context.
void tst_Pages::titles()
{
    QFETCH(int, code);
    const PageClass& type = pageClass(code);

    Account account(Key, 2);
    QCOMPARE(titleOf(makePage(code, Key).get()), QString::fromUtf8(type.title));

    ContextTranslator translator;
    QCoreApplication::installTranslator(&translator);
    const QString translated = titleOf(makePage(code, Key).get());
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(translated, QString::fromLatin1(type.metaObject->className()) + QLatin1Char('|') + QString::fromUtf8(type.title));
}

void tst_Pages::columnSets_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("accountType");
    QTest::addColumn<QString>("key");

    for (const PageClass& page : pageClasses()) {
        const char* name = page.metaObject->className() + 14;
        QTest::addRow("%s stock", name) << page.code << 1 << page.stockColumns;
        QTest::addRow("%s credit", name) << page.code << 2 << page.creditColumns;
        QTest::addRow("%s kind 3", name) << page.code << 3 << (page.bothKinds ? QString() : page.creditColumns);
    }
}

void tst_Pages::columnSets()
{
    QFETCH(int, code);
    QFETCH(int, accountType);
    QFETCH(QString, key);

    Account account(Key, accountType);
    auto page = makePage(code, Key);
    QVERIFY(!columnSetOf(page.get()));
    page->initSubModule();
    TableHeader* columns = columnSetOf(page.get());
    QCOMPARE(columns ? columns->key() : QString(), key);
    if (columns) {
        // Set up for the user's column choice: the model shows its shown columns.
        QVERIFY(!columns->getShowColumns().isEmpty());
        QCOMPARE(modelOf(page.get())->columnCount(), columns->getShowColumns().size());
    } else {
        QCOMPARE(modelOf(page.get())->columnCount(), 0);
    }
}

void tst_Pages::collectsIncrementally_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("accountType");

    for (const PageClass& page : pageClasses()) {
        const char* name = page.metaObject->className() + 14;
        QTest::addRow("%s stock", name) << page.code << 1;
        QTest::addRow("%s credit", name) << page.code << 2;
    }
}

// Each answer adds exactly the new records of the result list, in its order, as the very
// pointers the list holds, typed for the account kind.
void tst_Pages::collectsIncrementally()
{
    QFETCH(int, code);
    QFETCH(int, accountType);
    const HistoryKind kind = pageClass(code).kind;
    const std::type_index held = heldType(kind, accountType);

    Account account(Key, accountType);
    auto page = makePage(code, Key);
    page->initSubModule();
    query(page.get());

    int expected = 0;
    for (int count : {3, 0, 150, 1}) {
        account.answer(kind, count, false);
        if (held != typeid(void))
            expected += count;
        const QList<std::any>& records = recordsOf(page.get());
        const QVector<void*>& list = account.userData.resultList(kind);
        QCOMPARE(records.size(), expected);
        for (int i = 0; i < records.size(); ++i) {
            QCOMPARE(std::type_index(records.at(i).type()), held);
            QCOMPARE(heldPointer(records.at(i), kind, accountType), list.at(i));
        }
    }
    QCOMPARE(collectNewRecords(page.get()), 0);

    // Records that arrived without an answer are taken at the next collection, and only once.
    const QVector<void*> quiet = {Account::newRecord(kind, accountType), Account::newRecord(kind, accountType)};
    account.userData.resultList(kind) += quiet;
    const int collected = held == typeid(void) ? 0 : quiet.size();
    QCOMPARE(collectNewRecords(page.get()), collected);
    QCOMPARE(collectNewRecords(page.get()), 0);
    QCOMPARE(recordsOf(page.get()).size(), expected + collected);
    if (held == typeid(void))
        freeList(account.userData, kind);
}

void tst_Pages::answersOnlyItsOwnSignal_data()
{
    QTest::addColumn<int>("code");

    for (const PageClass& page : pageClasses())
        QTest::newRow(page.metaObject->className()) << page.code;
}

// The answers of the other seven kinds, even with the page's own request id, pass it by.
void tst_Pages::answersOnlyItsOwnSignal()
{
    QFETCH(int, code);
    const HistoryKind own = pageClass(code).kind;

    Account account(Key, 2);
    auto page = makePage(code, Key);
    page->initSubModule();
    query(page.get());
    const int id = account.userData.lastRequestId();
    QCOMPARE(requestIdOf(page.get()), id);

    for (int kind = 0; kind < HistoryKindCount; ++kind) {
        if (HistoryKind(kind) == own)
            continue;
        account.answer(HistoryKind(kind), 2, true);
        QCOMPARE(requestIdOf(page.get()), id);
        QVERIFY(recordsOf(page.get()).isEmpty());
        QVERIFY(!isTotalLastOf(page.get()));
    }
    account.answer(own, 2, true);
    QCOMPARE(requestIdOf(page.get()), -1);
    QCOMPARE(recordsOf(page.get()).size(), 2);
    QVERIFY(isTotalLastOf(page.get()));
    page.reset();
    // Each other kind's list still holds its two records; the account frees them.
    for (int kind = 0; kind < HistoryKindCount; ++kind)
        QCOMPARE(account.userData.resultList(HistoryKind(kind)).size(), HistoryKind(kind) == own ? 0 : 2);
}

void tst_Pages::passesItsRequestThrough_data()
{
    QTest::addColumn<int>("code");

    for (const PageClass& page : pageClasses())
        QTest::newRow(page.metaObject->className()) << page.code;
}

// The request goes to UserData with the arguments unchanged; its result and the id it writes
// come back unchanged.
void tst_Pages::passesItsRequestThrough()
{
    QFETCH(int, code);

    Account account(Key, 1);
    auto page = makePage(code, Key);
    const auto send = &PageAccess::sendHistoryRequest;

    int id = 77;
    QCOMPARE((page.get()->*send)(QString(), QStringLiteral("20240301"), QStringLiteral("20240314"), '2', 1, id),
             int(UserData::ErrorBadInvestorId));
    QCOMPARE(id, 77);
    QCOMPARE((page.get()->*send)(QStringLiteral("880012345"), QStringLiteral("2024-03-01"), QStringLiteral("20240314"), '2', 1, id),
             int(UserData::ErrorBadBeginDate));
    QCOMPARE((page.get()->*send)(QStringLiteral("880012345"), QStringLiteral("20240301"), QStringLiteral("0314"), '1', 1, id),
             int(UserData::ErrorBadEndDate));
    QCOMPARE((page.get()->*send)(QStringLiteral("880012345"), QStringLiteral("20240301"), QStringLiteral("20240314"), '3', 1, id),
             int(UserData::ErrorBadSortType));
    QCOMPARE((page.get()->*send)(QStringLiteral("880012345"), QStringLiteral("20240301"), QStringLiteral("20240314"), '1', 0, id),
             int(UserData::ErrorBadBatchNo));
    QCOMPARE(id, 77);
    QCOMPARE((page.get()->*send)(QStringLiteral("880012345"), QStringLiteral("20240301"), QStringLiteral("20240314"), '1', 4, id), 0);
    QCOMPARE(id, account.userData.lastRequestId());
}

void tst_Pages::sendsItsRequestToTheService_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("accountType");
    QTest::addColumn<int>("expectedRows");

    for (const PageClass& page : pageClasses()) {
        const char* name = page.metaObject->className() + 14;
        // A stock account holds no margin debts: the service answers the request with none.
        QTest::addRow("%s stock", name) << page.code << 1 << (page.bothKinds ? 40 : 0);
        QTest::addRow("%s credit", name) << page.code << 2 << 40;
    }
}

// Over the simulated service each page asks for its own kind, and only its own kind answers.
void tst_Pages::sendsItsRequestToTheService()
{
    QFETCH(int, code);
    QFETCH(int, accountType);
    QFETCH(int, expectedRows);
    const HistoryKind own = pageClass(code).kind;

    ValueAddedService service;
    service.setReferenceDate(QDate(2024, 3, 15));
    service.setHistoryDays(20);
    service.setRecordsPerKind(40);
    Account account(Key, accountType);
    account.userData.setService(&service);

    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (int kind = 0; kind < HistoryKindCount; ++kind)
        spies.push_back(std::make_unique<QSignalSpy>(&account.userData, UserData::finishedSignal(HistoryKind(kind))));

    auto page = makePage(code, Key);
    page->initSubModule();
    page->findChild<QDateEdit*>(QStringLiteral("dateEdit_historyordertradewid_begdate"))->setDate(QDate(2024, 1, 1));
    query(page.get());
    QTRY_COMPARE(spies.at(int(own))->count(), 1);
    QTRY_VERIFY(isTotalLastOf(page.get()));
    for (int kind = 0; kind < HistoryKindCount; ++kind)
        QCOMPARE(spies.at(kind)->count(), HistoryKind(kind) == own ? 1 : 0);
    QCOMPARE(recordsOf(page.get()).size(), expectedRows);
    QCOMPARE(account.userData.resultList(own).size(), expectedRows);
    page.reset();
    account.userData.setService(nullptr);
}

void tst_Pages::freesEveryRecordOnce_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("accountType");

    for (const PageClass& page : pageClasses()) {
        const char* name = page.metaObject->className() + 14;
        if (page.bothKinds)
            QTest::addRow("%s stock", name) << page.code << 1;
        QTest::addRow("%s credit", name) << page.code << 2;
    }
}

// A query answered in batches, then a new query: each record of the first is deleted once, as
// its own type, before the request goes out. Destroying the page deletes the second query's.
void tst_Pages::freesEveryRecordOnce()
{
    QFETCH(int, code);
    QFETCH(int, accountType);
    const PageClass& type = pageClass(code);
    const std::size_t size = Account::recordSize(type.kind, accountType);

    Account account(Key, accountType);
    auto page = makePage(code, Key);
    page->initSubModule();
    query(page.get());
    QVector<void*> first;
    first += account.answer(type.kind, 120, false);
    first += account.answer(type.kind, 0, false);
    first += account.answer(type.kind, 95, true);
    QCOMPARE(recordsOf(page.get()).size(), first.size());
    QCOMPARE(modelOf(page.get())->recordCount(), first.size());

    DeletionWatch::watch(pointersOf(first));
    const int sentBefore = account.userData.lastRequestId();
    query(page.get());
    QVERIFY(account.userData.lastRequestId() != sentBefore);
    for (const void* record : qAsConst(first)) {
        QCOMPARE(DeletionWatch::deletions(record), 1);
        if (DeletionWatch::seesSizes())
            QCOMPARE(DeletionWatch::deletedSize(record), size);
    }
    QVERIFY(account.userData.resultList(type.kind).isEmpty());
    QVERIFY(recordsOf(page.get()).isEmpty());
    QCOMPARE(modelOf(page.get())->rowCount(), 0);

    const QVector<void*> second = account.answer(type.kind, 30, true);
    DeletionWatch::watch(pointersOf(second));
    DebugLines log;
    page.reset();
    for (const void* record : second) {
        QCOMPARE(DeletionWatch::deletions(record), 1);
        if (DeletionWatch::seesSizes())
            QCOMPARE(DeletionWatch::deletedSize(record), size);
    }
    DeletionWatch::stop();
    QVERIFY(account.userData.resultList(type.kind).isEmpty());
    const QString ownLine = QStringLiteral("~") + QString::fromLatin1(type.metaObject->className() + 14) + QStringLiteral("()");
    QCOMPARE(log.lines(), (QStringList{ownLine, QStringLiteral("~HistoryRecordWid()")}));
}

void tst_Pages::destroyedWithEmptyList_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("accountType");
    QTest::addColumn<bool>("initialised");

    for (const PageClass& page : pageClasses()) {
        const char* name = page.metaObject->className() + 14;
        for (int accountType : {1, 2}) {
            QTest::addRow("%s %d new", name, accountType) << page.code << accountType << false;
            QTest::addRow("%s %d queried", name, accountType) << page.code << accountType << true;
        }
    }
}

// Nothing to free: the page still writes its line and the frame's, in this order, and leaves the
// other lists of the account alone.
void tst_Pages::destroyedWithEmptyList()
{
    QFETCH(int, code);
    QFETCH(int, accountType);
    QFETCH(bool, initialised);
    const PageClass& type = pageClass(code);

    Account account(Key, accountType);
    const HistoryKind other = type.kind == HistoryKind::Order ? HistoryKind::Trade : HistoryKind::Order;
    const QVector<void*> others = {Account::newRecord(other, accountType)};
    account.userData.resultList(other) = others;
    DeletionWatch::watch(pointersOf(others));

    auto page = makePage(code, Key);
    if (initialised) {
        page->initSubModule();
        query(page.get());
        account.answer(type.kind, 0, true);
        QCOMPARE(modelOf(page.get())->rowCount(), 0);
    }
    DebugLines log;
    page.reset();
    const QString ownLine = QStringLiteral("~") + QString::fromLatin1(type.metaObject->className() + 14) + QStringLiteral("()");
    QCOMPARE(log.lines(), (QStringList{ownLine, QStringLiteral("~HistoryRecordWid()")}));
    QCOMPARE(DeletionWatch::deletions(others.first()), 0);
    QCOMPARE(account.userData.resultList(other), others);
    DeletionWatch::stop();
}

// The margin-debt page on a stock account: the credit-debt columns, the request sent, nothing
// collected, and the account's debt list neither freed nor emptied by a new query or the end.
void tst_Pages::debtPageLeavesStockListAlone()
{
    Account account(Key, 1);
    auto page = makePage(51, Key);
    page->initSubModule();
    QCOMPARE(columnSetOf(page.get())->key(), TH_CREDIT_HISTORY_DEBT);

    const int before = account.userData.lastRequestId();
    query(page.get());
    QVERIFY(account.userData.lastRequestId() != before);
    QVector<void*> held = account.answer(HistoryKind::CreditDebt, 4, false);
    held += account.answer(HistoryKind::CreditDebt, 3, true);
    QVERIFY(recordsOf(page.get()).isEmpty());
    QCOMPARE(modelOf(page.get())->rowCount(), 0);
    QCOMPARE(page->findChild<QLabel*>(QStringLiteral("label_historyordertradewid_tips"))->text(),
             QStringLiteral("所有数据已加载完毕(共0条)"));

    DeletionWatch::watch(pointersOf(held));
    clearRecords(page.get());
    query(page.get());
    page.reset();
    for (const void* record : qAsConst(held))
        QCOMPARE(DeletionWatch::deletions(record), 0);
    DeletionWatch::stop();
    QCOMPARE(account.userData.getCreditHistoryDebtInfoList(), held);
    freeList(account.userData, HistoryKind::CreditDebt);
}

void tst_Pages::accountOfNeitherKind_data()
{
    QTest::addColumn<int>("code");

    for (const PageClass& page : pageClasses())
        QTest::newRow(page.metaObject->className()) << page.code;
}

// Built past the factory on an account of kind 3, a page sends its request when asked, collects
// nothing, and its clear empties only its own list of records.
void tst_Pages::accountOfNeitherKind()
{
    QFETCH(int, code);
    const HistoryKind kind = pageClass(code).kind;

    Account account(Key, 3);
    auto page = makePage(code, Key);
    page->initSubModule();
    const int before = account.userData.lastRequestId();
    query(page.get());
    QVERIFY(account.userData.lastRequestId() != before);
    const QVector<void*> held = account.answer(kind, 5, true);
    QVERIFY(recordsOf(page.get()).isEmpty());
    QCOMPARE(collectNewRecords(page.get()), 0);

    DeletionWatch::watch(pointersOf(held));
    if (pageClass(code).bothKinds) {
        recordsOf(page.get()).append(std::any(7));
        clearRecords(page.get());
        QVERIFY(recordsOf(page.get()).isEmpty());
    }
    query(page.get());
    page.reset();
    for (const void* record : held)
        QCOMPARE(DeletionWatch::deletions(record), 0);
    DeletionWatch::stop();
    QCOMPARE(account.userData.resultList(kind), held);
    freeList(account.userData, kind);
}

QTEST_MAIN(tst_Pages)
#include "tst_pages.moc"
