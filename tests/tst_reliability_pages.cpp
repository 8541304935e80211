// The real pages under a hostile world: answers emitted in bulk from other threads among stale
// ids and errors, pages deleted while answers are still on their way, two pages of different
// kinds sharing one account, and the simulated service failing in the middle of Load all.
// Nothing may crash and the page must end in the state its query cycle prescribes; the sanitizer
// build judges that no record leaks or is freed twice.

#include "HistoryRecordFactory.h"
#include "PageTestSupport.h"
#include "service/ValueAddedService.h"

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QtTest>

#include <array>
#include <memory>
#include <thread>

using namespace PageTest;

namespace {

constexpr int Key = 4901;

// A page from the module's factory, set up and shown, over the whole history the service holds.
std::unique_ptr<ISubModuleWid> livePage(int pageType)
{
    std::unique_ptr<ISubModuleWid> page(CreateISubModuleWid_HistoryRecordWid(Key, pageType, nullptr));
    page->initSubModule();
    page->show();
    page->findChild<QDateEdit*>(QStringLiteral("dateEdit_historyordertradewid_begdate"))->setDate(QDate(2023, 1, 1));
    page->findChild<QDateEdit*>(QStringLiteral("dateEdit_historyordertradewid_enddate"))->setDate(QDate(2024, 3, 14));
    return page;
}
QString tips(QWidget* page) { return page->findChild<QLabel*>(QStringLiteral("label_historyordertradewid_tips"))->text(); }
QString complete(int rows) { return QStringLiteral("所有数据已加载完毕(共%1条)").arg(rows); }
bool loadAllShown(QWidget* page) { return page->findChild<QPushButton*>(QStringLiteral("pushButton_historyordertradewid_loadall"))->isVisible(); }
void loadAll(QWidget* page) { QMetaObject::invokeMethod(page, "on_pushButton_historyordertradewid_loadall_clicked"); }

// An account on its own simulated service, registered under Key.
struct ServiceAccount
{
    ServiceAccount(int accountType, int records, int batchSize, int latencyMs) : account(accountType)
    {
        service.setReferenceDate(QDate(2024, 3, 15));
        service.setHistoryDays(60);
        service.setRecordsPerKind(records);
        service.setBatchSize(batchSize);
        service.setLatencyMs(latencyMs);
        account.setDefaultInvestorID(QStringLiteral("880012345"));
        account.setService(&service);
        UserDataManager::instance()->userDataMap().insert(Key, &account);
    }
    ~ServiceAccount() { UserDataManager::instance()->userDataMap().remove(Key); account.setService(nullptr); }
    bool busy() const { return account.getIsZRVAReqing(); }

    ValueAddedService service;
    UserData account;
};

} // namespace

class tst_ReliabilityPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("tst_reliability_pages"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_reliability_pages"));
    }
    void answersFromOtherThreads_data();
    void answersFromOtherThreads();
    void serviceTrouble_data();
    void serviceTrouble();
    void sharedAccount_data();
    void sharedAccount();
};

void tst_ReliabilityPages::answersFromOtherThreads_data()
{
    QTest::addColumn<bool>("useQThread");
    QTest::addColumn<int>("accountType");
    QTest::addColumn<QVector<int>>("batches");
    QTest::addColumn<bool>("deleteFirst");      // the page goes with the last batch's answers queued

    QTest::newRow("std::thread, stock") << false << 1 << QVector<int>{150, 120, 300, 80} << false;
    QTest::newRow("QThread, credit") << true << 2 << QVector<int>{400, 0, 250} << false;
    QTest::newRow("QThread, page deleted") << true << 1 << QVector<int>{90, 50} << true;
}

// Each batch is answered once among two hundred stale answers (older ids, errors, last-batch
// flags) and a repeat of itself with an error; only the one real answer may count.
void tst_ReliabilityPages::answersFromOtherThreads()
{
    QFETCH(bool, useQThread);
    QFETCH(int, accountType);
    QFETCH(QVector<int>, batches);
    QFETCH(bool, deleteFirst);

    Account account(Key, accountType);
    ModalScript modals;     // no step: any box would be closed and counted
    auto page = livePage(22);
    query(page.get());
    QVector<void*>& list = account.userData.getHistoryOrderList();
    for (int i = 0; i < batches.size(); ++i) {
        if (requestIdOf(page.get()) == -1)
            loadAll(page.get());                // the page waits for an answer already or is asked to go on
        const int current = requestIdOf(page.get());
        QVERIFY(current > 0);
        const bool last = i == batches.size() - 1;
        for (int k = 0; k < batches.at(i); ++k)
            list.append(Account::newRecord(HistoryKind::Order, accountType));
        // Ids of earlier requests and 0; never -1, which a page that waits for none takes for its own.
        QVector<std::array<int, 3>> answers;    // error, last, id
        for (int k = 1; k <= 200; ++k)
            answers.append({k % 3 ? 0 : 500 + k, k % 7 == 0, k % 11 == 0 || current - k < 0 ? 0 : current - k});
        answers.insert(100, {0, last, current});
        answers.insert(101, {77, true, current});
        const auto emitAll = [&] {
            for (const auto& a : answers)
                emit account.userData.signal_ZRVA_RspInquiryHistoryOrderFinished(a[0], a[0] ? "过期应答" : QString(), a[1], a[2]);
        };
        if (useQThread) {
            std::unique_ptr<QThread> thread(QThread::create(emitAll));
            thread->start();
            thread->wait();
        } else {
            std::thread(emitAll).join();
        }
        if (last && deleteFirst) {
            page.reset();
            QTest::qWait(20);       // the queued answers find no page
            QVERIFY(list.isEmpty());
            return;
        }
        QCOMPARE(recordsOf(page.get()).size() < list.size(), batches.at(i) > 0);   // all still queued
        QTRY_COMPARE(recordsOf(page.get()).size(), list.size());
        QTest::qWait(5);
        QCOMPARE(heldPointers(recordsOf(page.get()), HistoryKind::Order, accountType), list);
    }
    QTRY_COMPARE(proxyOf(page.get())->rowCount(), list.size());
    QCOMPARE(QStringLiteral("%1, last %2, id %3, %4 boxes").arg(tips(page.get())).arg(isTotalLastOf(page.get()))
                 .arg(requestIdOf(page.get())).arg(modals.seen.size() + modals.unanswered),
             QStringLiteral("%1, last 1, id -1, 0 boxes").arg(complete(list.size())));
    page.reset();
    QVERIFY(list.isEmpty());
}

void tst_ReliabilityPages::serviceTrouble_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("box");           // text; then the tips, and whether the query ended
    QTest::addColumn<QString>("after");

    const QString failed = QStringLiteral("历史委托查询失败\n错误号: %1\n错误信息: %2 | 历史委托查询错误 | last 1");
    QTest::newRow("page deleted") << "delete" << QString() << QString();
    QTest::newRow("connection lost") << "disconnect" << failed.arg(-1001).arg("增值服务连接已断开") << QString();
    QTest::newRow("logged out") << "logout" << failed.arg(-1002).arg("增值服务已登出") << QString();
    QTest::newRow("error answer") << "error" << failed.arg(42).arg("柜台拒绝") << QString();
    QTest::newRow("service busy") << "busy" << "上次查询正在进行中，请稍后重试。 | 下滑滚动条以显示更多记录(已加载%1条) | last 0" << QString();
}

// In the middle of Load all: a page deleted leaves the batch that arrives after it with the
// account. A fault shows one box on the page; the rows already shown stay, nothing more is asked
// of the service, and once it is back a new query loads everything.
void tst_ReliabilityPages::serviceTrouble()
{
    QFETCH(QString, fault);
    QFETCH(QString, box);
    constexpr int Records = 1000;

    ServiceAccount account(1, Records, 50, 3);
    auto page = livePage(22);
    query(page.get());
    QTRY_VERIFY(loadAllShown(page.get()) && !account.busy());
    loadAll(page.get());
    QTRY_VERIFY(proxyOf(page.get())->rowCount() >= 300);
    QVERIFY(account.busy());
    if (fault == QLatin1String("delete")) {
        page.reset();
        QVERIFY(account.service.waitForIdle(10000));
        QTest::qWait(20);
        QCOMPARE(account.account.getHistoryOrderList().size(), 50);
        QVERIFY(!account.busy());
        return;
    }

    ModalScript modals;
    modals.pressButton(QStringLiteral("确定"));
    const QByteArray shown = expectedCsv(proxyOf(page.get()));
    if (fault == QLatin1String("disconnect"))
        account.service.setConnected(false);
    else if (fault == QLatin1String("logout"))
        account.service.setLoggedIn(false);
    else if (fault == QLatin1String("error"))
        account.service.failNextAnswer(42, QStringLiteral("柜台拒绝"));
    else
        account.service.setBusy(true);
    QTRY_VERIFY(modals.done());
    QVERIFY(account.service.waitForIdle(5000));
    QTest::qWait(50);
    const int rows = proxyOf(page.get())->rowCount();
    const SeenModal& seen = modals.seen.first();
    QCOMPARE(QStringLiteral("%1 | %2 | last %3").arg(seen.text, tips(page.get())).arg(isTotalLastOf(page.get())), box.arg(rows));
    QCOMPARE(QStringLiteral("%1 %2 %3 %4").arg(seen.title).arg(seen.icon).arg(seen.parent == page.get()).arg(requestIdOf(page.get())),
             QStringLiteral("查询失败 3 1 -1"));
    QVERIFY(rows < Records);
    QCOMPARE(expectedCsv(proxyOf(page.get())).left(shown.size()), shown);

    account.service.setConnected(true);
    account.service.setLoggedIn(true);
    account.service.setBusy(false);
    query(page.get());
    QTRY_VERIFY(loadAllShown(page.get()) && !account.busy());
    loadAll(page.get());
    QTRY_COMPARE_WITH_TIMEOUT(tips(page.get()), complete(Records), 20000);
    QCOMPARE(proxyOf(page.get())->rowCount(), Records);
    QCOMPARE(modals.seen.size() + modals.unanswered, 1);
}

void tst_ReliabilityPages::sharedAccount_data()
{
    QTest::addColumn<int>("accountType");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("firstKind");
    QTest::addColumn<int>("secondKind");

    QTest::newRow("stock: orders and trades") << 1 << 22 << 23 << int(HistoryKind::Order) << int(HistoryKind::Trade);
    QTest::newRow("credit: capital and margin debts") << 2 << 53 << 51 << int(HistoryKind::Capital) << int(HistoryKind::CreditDebt);
}

// The account answers one request at a time: the second page meets the busy check while the
// first loads, then loads its own kind; neither touches the other's records.
void tst_ReliabilityPages::sharedAccount()
{
    QFETCH(int, accountType);
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(int, firstKind);
    QFETCH(int, secondKind);
    constexpr int Records = 450;

    ServiceAccount account(accountType, Records, 100, 1);
    auto a = livePage(first);
    auto b = livePage(second);
    const QString ready = tips(b.get());
    ModalScript modals;
    modals.pressButton(QStringLiteral("确定"));
    query(a.get());
    query(b.get());
    QCOMPARE(modals.seen.size(), 1);
    QCOMPARE(QStringLiteral("%1 | %2 | %3 | %4").arg(modals.seen.first().text).arg(modals.seen.first().parent == b.get())
                 .arg(proxyOf(b.get())->rowCount()).arg(tips(b.get())),
             QStringLiteral("上次查询正在进行中，请稍后重试。 | 1 | 0 | ") + ready);

    for (QWidget* page : {a.get(), b.get()}) {
        if (page == b.get())
            query(page);
        QTRY_VERIFY(loadAllShown(page) && !account.busy());
        loadAll(page);
        QTRY_COMPARE_WITH_TIMEOUT(tips(page), complete(Records), 20000);
    }
    QCOMPARE(modals.unanswered, 0);
    QVector<void*>& listA = account.account.resultList(HistoryKind(firstKind));
    QVector<void*>& listB = account.account.resultList(HistoryKind(secondKind));
    QCOMPARE(listA.size() + listB.size(), 2 * Records);
    QCOMPARE(heldPointers(recordsOf(a.get()), HistoryKind(firstKind), accountType), listA);
    QCOMPARE(heldPointers(recordsOf(b.get()), HistoryKind(secondKind), accountType), listB);

    // A new query on one page leaves the other's table as it was.
    const QByteArray shownB = expectedCsv(proxyOf(b.get()));
    query(a.get());
    QTRY_VERIFY(!account.busy());
    QCOMPARE(expectedCsv(proxyOf(b.get())), shownB);
    b.reset();
    QVERIFY(listB.isEmpty() && !listA.isEmpty());
    a.reset();
    QVERIFY(listA.isEmpty());
}

QTEST_MAIN(tst_ReliabilityPages)
#include "tst_reliability_pages.moc"
