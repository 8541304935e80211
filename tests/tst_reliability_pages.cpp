// The real pages under a hostile world: answers emitted in bulk from other threads among stale
// ids and errors, pages destroyed while answers are still on their way, two pages of different
// kinds sharing one account, and the simulated service failing in the middle of Load all.
// Nothing may crash, no record may leak or be freed twice, and the page must end in the state
// its query cycle prescribes.

#include "DeletionWatch.h"
#include "HistoryRecordFactory.h"
#include "PageTestSupport.h"
#include "api/ZRVDHistoryFields.h"
#include "service/ValueAddedService.h"

#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QThread>
#include <QtTest>

#include <cstdint>
#include <memory>
#include <thread>
#include <vector>

using namespace VEK_SC_Space;
using namespace PageTest;

namespace {

constexpr int AccountKey = 4901;
constexpr int OrdersPage = 22;

QString completeTips(int rows)
{
    return QStringLiteral("所有数据已加载完毕(共%1条)").arg(rows);
}

// A page from the module's factory, initialised and shown, with the controls a user touches.
class LivePage
{
public:
    LivePage(int accountKey, int pageType)
        : widget(CreateISubModuleWid_HistoryRecordWid(accountKey, pageType, nullptr))
    {
        if (!widget)
            return;
        widget->initSubModule();
        widget->show();
        query = child<QPushButton>("pushButton_historyordertradewid_request");
        loadAll = child<QPushButton>("pushButton_historyordertradewid_loadall");
        tips = child<QLabel>("label_historyordertradewid_tips");
        table = child<QTableView>("tableView_historyordertradewid");
        // The whole history the service holds.
        child<QDateEdit>("dateEdit_historyordertradewid_begdate")->setDate(QDate(2023, 1, 1));
        child<QDateEdit>("dateEdit_historyordertradewid_enddate")->setDate(QDate(2024, 3, 14));
    }

    template <typename W>
    W* child(const char* name) const
    {
        return widget->findChild<W*>(QString::fromLatin1(name));
    }

    int rows() const { return table->model()->rowCount(); }
    QString title() const { return titleOf(widget.get()); }
    QList<std::any>& records() const { return recordsOf(widget.get()); }
    void clickLoadAll() { QMetaObject::invokeMethod(widget.get(), "on_pushButton_historyordertradewid_loadall_clicked"); }

    // The texts of one column of the first rows, to tell that shown rows stayed as they were.
    QStringList column(int column, int rows) const
    {
        QStringList texts;
        for (int row = 0; row < qMin(rows, this->rows()); ++row)
            texts.append(table->model()->index(row, column).data().toString());
        return texts;
    }

    std::unique_ptr<ISubModuleWid> widget;
    QPushButton* query = nullptr;
    QPushButton* loadAll = nullptr;
    QLabel* tips = nullptr;
    QTableView* table = nullptr;
};

// An account on its own simulated service, registered under AccountKey.
class ServiceAccount
{
public:
    ServiceAccount(int accountType, int records, int batchSize, int latencyMs)
        : account(accountType)
    {
        service.setReferenceDate(QDate(2024, 3, 15));
        service.setHistoryDays(60);
        service.setRecordsPerKind(records);
        service.setBatchSize(batchSize);
        service.setLatencyMs(latencyMs);
        account.setDefaultInvestorID(QStringLiteral("880012345"));
        account.setService(&service);
        UserDataManager::instance()->userDataMap().insert(AccountKey, &account);
    }
    ~ServiceAccount()
    {
        UserDataManager::instance()->userDataMap().remove(AccountKey);
        account.setService(nullptr);
    }

    ValueAddedService service;
    UserData account;
};

QVector<void*> appendOrders(UserData& account, int count)
{
    QVector<void*> added;
    for (int i = 0; i < count; ++i) {
        added.append(Account::newRecord(HistoryKind::Order, account.accountType));
        account.getHistoryOrderList().append(added.last());
    }
    return added;
}

// Emits the answers on a thread of the given kind and waits for it to finish: every answer is
// then queued to the page, none has run.
struct Answer
{
    int errorId;
    bool isTotalLast;
    int requestId;
};

void emitFromThread(bool useQThread, UserData* account, const QVector<Answer>& answers)
{
    const auto emitAll = [account, answers] {
        for (const Answer& a : answers) {
            emit account->signal_ZRVA_RspInquiryHistoryOrderFinished(
                a.errorId, a.errorId ? QStringLiteral("过期应答") : QString(), a.isTotalLast, a.requestId);
        }
    };
    if (useQThread) {
        std::unique_ptr<QThread> thread(QThread::create(emitAll));
        thread->start();
        thread->wait();
    } else {
        std::thread thread(emitAll);
        thread.join();
    }
}

// The record pointer a page's record list element holds, as the exact type of the kind.
void* heldPointer(const std::any& held, HistoryKind kind, int accountType)
{
    return withRecordType(kind, accountType, [&held](auto type) -> void* {
        using Record = typename decltype(type)::type;
        Record* const* pointer = std::any_cast<Record*>(&held);
        return pointer ? *pointer : nullptr;
    });
}

// The page holds exactly the records of the list, in its order, each as its exact type.
bool holdsExactly(const QList<std::any>& held, const QVector<void*>& list, HistoryKind kind, int accountType)
{
    if (held.size() != list.size())
        return false;
    for (int i = 0; i < list.size(); ++i) {
        if (heldPointer(held.at(i), kind, accountType) != list.at(i))
            return false;
    }
    return true;
}

std::vector<const void*> pointers(const QVector<void*>& records)
{
    return std::vector<const void*>(records.cbegin(), records.cend());
}

// Whether this process lets the watch see deletions: under valgrind its own operator delete
// takes over, and valgrind reports double and missing frees itself. Found out once, before any
// other watch starts (a watch replaces the one before).
bool deletionsVisible = true;

void probeDeletionWatch()
{
    auto* probe = new ZRVALUEADDPROAPI::CZRVDHistoryOrderEXField{};
    DeletionWatch::watch({probe});
    // The watch counts by address; keep it as a number so no freed pointer is ever read.
    const volatile std::uintptr_t address = reinterpret_cast<std::uintptr_t>(probe);
    delete probe;
    deletionsVisible = DeletionWatch::deletions(reinterpret_cast<const void*>(address)) == 1;
    DeletionWatch::stop();
}

bool deletedOnce(const QVector<void*>& records)
{
    if (!deletionsVisible)
        return true;
    for (const void* record : records) {
        if (DeletionWatch::deletions(record) != 1)
            return false;
    }
    return true;
}

} // namespace

class tst_ReliabilityPages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void bulkAnswersFromOtherThreads_data();
    void bulkAnswersFromOtherThreads();
    void pageDestroyedWithAnswersQueued_data();
    void pageDestroyedWithAnswersQueued();
    void twoKindsOnOneAccount_data();
    void twoKindsOnOneAccount();
    void faultDuringLoadAll_data();
    void faultDuringLoadAll();
};

void tst_ReliabilityPages::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("tst_reliability_pages"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_reliability_pages"));
    probeDeletionWatch();
}

void tst_ReliabilityPages::bulkAnswersFromOtherThreads_data()
{
    QTest::addColumn<bool>("useQThread");
    QTest::addColumn<int>("accountType");
    QTest::addColumn<QVector<int>>("batches");

    QTest::newRow("std::thread, stock") << false << 1 << QVector<int>{150, 120, 300, 80};
    QTest::newRow("QThread, stock") << true << 1 << QVector<int>{150, 120, 300, 80};
    QTest::newRow("std::thread, credit") << false << 2 << QVector<int>{400, 0, 250};
    QTest::newRow("QThread, credit, one batch") << true << 2 << QVector<int>{90};
}

// Each batch is answered once among two hundred stale answers (older ids, errors, last-batch
// flags) and followed by a repeat of itself; only the one real answer may count.
void tst_ReliabilityPages::bulkAnswersFromOtherThreads()
{
    QFETCH(bool, useQThread);
    QFETCH(int, accountType);
    QFETCH(QVector<int>, batches);

    Account account(AccountKey, accountType);
    ModalScript modals;     // no step: any box would be closed and counted
    LivePage page(AccountKey, OrdersPage);
    QVERIFY(page.widget);
    page.query->click();

    QVector<void*> all;
    for (int i = 0; i < batches.size(); ++i) {
        // The page either waits for an answer already or is asked to go on.
        if (requestIdOf(page.widget.get()) == -1)
            page.clickLoadAll();
        const int current = requestIdOf(page.widget.get());
        QVERIFY(current > 0);
        const bool last = i == batches.size() - 1;
        all += appendOrders(account.userData, batches.at(i));

        // Ids of earlier requests, and 0; never -1, the id of no request, which a page that
        // waits for none takes for its own.
        const auto staleId = [current](int k) { return k % 11 == 0 || current - k < 0 ? 0 : current - k; };
        QVector<Answer> answers;
        for (int k = 1; k <= 100; ++k)
            answers.append({k % 3 == 0 ? 500 + k : 0, k % 7 == 0, staleId(k)});
        answers.append({0, last, current});
        answers.append({77, true, current});
        for (int k = 1; k <= 100; ++k)
            answers.append({k % 2 ? 0 : 600, k % 5 == 0, staleId(k)});
        emitFromThread(useQThread, &account.userData, answers);

        QVERIFY(page.records().size() < all.size() || batches.at(i) == 0);
        QTRY_COMPARE(page.records().size(), all.size());
        QTest::qWait(5);
        QCOMPARE(page.records().size(), all.size());
    }

    QTRY_COMPARE(page.rows(), all.size());
    QCOMPARE(page.tips->text(), completeTips(all.size()));
    QVERIFY(isTotalLastOf(page.widget.get()));
    QCOMPARE(requestIdOf(page.widget.get()), -1);
    QCOMPARE(modals.seen.size(), 0);
    QCOMPARE(modals.unanswered, 0);
    QVERIFY(holdsExactly(page.records(), all, HistoryKind::Order, accountType));

    // Every record the page took is freed with the page, once.
    DeletionWatch::watch(pointers(all));
    page.widget.reset();
    QVERIFY(deletedOnce(all));
    DeletionWatch::stop();
    QVERIFY(account.userData.getHistoryOrderList().isEmpty());
}

void tst_ReliabilityPages::pageDestroyedWithAnswersQueued_data()
{
    QTest::addColumn<int>("scenario");
    QTest::newRow("answers queued from another thread") << 0;
    QTest::newRow("the service's answer in flight") << 1;
    QTest::newRow("in the middle of Load all") << 2;
}

void tst_ReliabilityPages::pageDestroyedWithAnswersQueued()
{
    QFETCH(int, scenario);

    if (scenario == 0) {
        Account account(AccountKey, 1);
        LivePage page(AccountKey, OrdersPage);
        page.query->click();
        const int current = requestIdOf(page.widget.get());
        const QVector<void*> records = appendOrders(account.userData, 50);
        QVector<Answer> answers;
        for (int k = 0; k < 300; ++k)
            answers.append({k % 4 == 3 ? 9 : 0, k % 2 == 0, k % 5 == 0 ? current : 0});
        emitFromThread(true, &account.userData, answers);

        DeletionWatch::watch(pointers(records));
        page.widget.reset();
        QVERIFY(deletedOnce(records));
        DeletionWatch::stop();
        QTest::qWait(20);   // the queued answers find no page
        QVERIFY(account.userData.getHistoryOrderList().isEmpty());
        return;
    }

    // With the service: the batch that arrives after the page is gone stays with the account,
    // which frees it in its turn.
    ServiceAccount account(1, 3000, 100, scenario == 1 ? 30 : 2);
    {
        LivePage page(AccountKey, OrdersPage);
        page.query->click();
        if (scenario == 2) {
            QTRY_VERIFY(page.loadAll->isVisible() && !account.account.getIsZRVAReqing());
            page.loadAll->click();
            QTRY_VERIFY(page.rows() >= 600);
        }
        QVERIFY(account.account.getIsZRVAReqing());
    }
    QVERIFY(account.service.waitForIdle(10000));
    QTest::qWait(20);
    QCOMPARE(account.account.getHistoryOrderList().size(), 100);
    QVERIFY(!account.account.getIsZRVAReqing());
}

void tst_ReliabilityPages::twoKindsOnOneAccount_data()
{
    QTest::addColumn<int>("accountType");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<int>("firstKind");
    QTest::addColumn<int>("secondKind");

    QTest::newRow("stock: orders and trades") << 1 << 22 << 23 << int(HistoryKind::Order) << int(HistoryKind::Trade);
    QTest::newRow("stock: positions and profit") << 1 << 55 << 56 << int(HistoryKind::Position) << int(HistoryKind::Profit);
    QTest::newRow("credit: orders and margin debts") << 2 << 22 << 51 << int(HistoryKind::Order) << int(HistoryKind::CreditDebt);
    QTest::newRow("credit: capital and fund flows") << 2 << 53 << 54 << int(HistoryKind::Capital) << int(HistoryKind::FundDetail);
}

// The account answers one request at a time: the second page meets the busy check while the
// first loads, then loads its own kind; neither touches the other's records.
void tst_ReliabilityPages::twoKindsOnOneAccount()
{
    QFETCH(int, accountType);
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(int, firstKind);
    QFETCH(int, secondKind);
    constexpr int Records = 450;

    ServiceAccount account(accountType, Records, 100, 1);
    LivePage a(AccountKey, first);
    LivePage b(AccountKey, second);
    QVERIFY(a.widget && b.widget);
    const QString bReady = b.tips->text();

    ModalScript modals;
    modals.pressButton(QStringLiteral("确定"));
    a.query->click();
    b.query->click();
    QCOMPARE(modals.seen.size(), 1);
    QCOMPARE(modals.seen.first().title, QStringLiteral("查询失败"));
    QCOMPARE(modals.seen.first().text, QStringLiteral("上次查询正在进行中，请稍后重试。"));
    QCOMPARE(modals.seen.first().parent, b.widget.get());
    QCOMPARE(b.rows(), 0);
    QCOMPARE(b.tips->text(), bReady);

    // Load all once the account is free again: a request of its own in flight would meet the
    // busy check.
    QTRY_VERIFY(a.loadAll->isVisible() && !account.account.getIsZRVAReqing());
    a.clickLoadAll();
    QTRY_COMPARE_WITH_TIMEOUT(a.tips->text(), completeTips(Records), 20000);
    QCOMPARE(a.rows(), Records);

    QTest::qWait(1100);     // the Query button's lock
    b.query->click();
    QTRY_VERIFY(!account.account.getIsZRVAReqing());
    b.clickLoadAll();
    QTRY_COMPARE_WITH_TIMEOUT(b.tips->text(), completeTips(Records), 20000);
    QCOMPARE(b.rows(), Records);
    QCOMPARE(modals.unanswered, 0);

    // Each page holds exactly its own kind's list, in order.
    QVector<void*>& listA = account.account.resultList(HistoryKind(firstKind));
    QVector<void*>& listB = account.account.resultList(HistoryKind(secondKind));
    QCOMPARE(listA.size(), Records);
    QCOMPARE(listB.size(), Records);
    QVERIFY(holdsExactly(a.records(), listA, HistoryKind(firstKind), accountType));
    QVERIFY(holdsExactly(b.records(), listB, HistoryKind(secondKind), accountType));

    // A new query on one page leaves the other's table as it was.
    const QStringList shownB = b.column(0, 50);
    a.query->click();
    QTRY_VERIFY(!account.account.getIsZRVAReqing());
    QCOMPARE(b.rows(), Records);
    QCOMPARE(b.column(0, 50), shownB);
    QCOMPARE(listB.size(), Records);

    const QVector<void*> recordsB = listB;
    DeletionWatch::watch(pointers(recordsB));
    b.widget.reset();
    QVERIFY(deletedOnce(recordsB));
    DeletionWatch::stop();
    QVERIFY(listB.isEmpty());
    QVERIFY(!listA.isEmpty());
    a.widget.reset();
    QVERIFY(listA.isEmpty());
}

void tst_ReliabilityPages::faultDuringLoadAll_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QString>("text");          // of the one box, after the title for an answer
    QTest::addColumn<bool>("answeredWithError");

    QTest::newRow("connection lost") << 0 << "查询失败\n错误号: -1001\n错误信息: 增值服务连接已断开" << true;
    QTest::newRow("logged out") << 1 << "查询失败\n错误号: -1002\n错误信息: 增值服务已登出" << true;
    QTest::newRow("error answer") << 2 << "查询失败\n错误号: 42\n错误信息: 柜台拒绝" << true;
    QTest::newRow("service busy") << 3 << "上次查询正在进行中，请稍后重试。" << false;
}

// The rows already shown stay, the right box and tips text appear, nothing more is asked of the
// service, and once it is back a new Query loads everything.
void tst_ReliabilityPages::faultDuringLoadAll()
{
    QFETCH(int, fault);
    QFETCH(QString, text);
    QFETCH(bool, answeredWithError);
    constexpr int Records = 1000;

    ServiceAccount account(1, Records, 50, 3);
    LivePage page(AccountKey, OrdersPage);
    page.query->click();
    QTRY_VERIFY(page.loadAll->isVisible() && !account.account.getIsZRVAReqing());
    page.loadAll->click();
    QTRY_VERIFY(page.rows() >= 300);
    QVERIFY(account.account.getIsZRVAReqing());

    ModalScript modals;
    modals.pressButton(QStringLiteral("确定"));
    const int rowsBefore = page.rows();
    const QStringList shownBefore = page.column(2, 200);
    switch (fault) {
    case 0: account.service.setConnected(false); break;
    case 1: account.service.setLoggedIn(false); break;
    case 2: account.service.failNextAnswer(42, QStringLiteral("柜台拒绝")); break;
    case 3: account.service.setBusy(true); break;
    }
    QTRY_COMPARE(modals.seen.size(), 1);
    QTRY_VERIFY(modals.done());
    QVERIFY(account.service.waitForIdle(5000));
    QTest::qWait(50);

    const SeenModal box = modals.seen.first();
    QCOMPARE(box.title, QStringLiteral("查询失败"));
    QCOMPARE(box.text, answeredWithError ? page.title() + text : text);
    QCOMPARE(box.icon, QMessageBox::Critical);
    QCOMPARE(box.parent, page.widget.get());
    QCOMPARE(modals.seen.size(), 1);
    QCOMPARE(isTotalLastOf(page.widget.get()), answeredWithError);
    QCOMPARE(requestIdOf(page.widget.get()), -1);
    QVERIFY(page.rows() >= rowsBefore);
    QVERIFY(page.rows() < Records);
    QCOMPARE(page.column(2, 200), shownBefore);
    if (answeredWithError)
        QCOMPARE(page.tips->text(), page.title() + QStringLiteral("查询错误"));
    else
        QCOMPARE(page.tips->text(), QStringLiteral("下滑滚动条以显示更多记录(已加载%1条)").arg(page.rows()));

    // Back to normal: a new query goes all the way.
    account.service.setConnected(true);
    account.service.setLoggedIn(true);
    account.service.setBusy(false);
    QTest::qWait(1100);     // the Query button's lock
    page.query->click();
    QTRY_VERIFY(page.loadAll->isVisible() && !account.account.getIsZRVAReqing());
    page.loadAll->click();
    QTRY_COMPARE_WITH_TIMEOUT(page.tips->text(), completeTips(Records), 20000);
    QCOMPARE(page.rows(), Records);
    QCOMPARE(modals.seen.size(), 1);
    QCOMPARE(modals.unanswered, 0);
}

QTEST_MAIN(tst_ReliabilityPages)
#include "tst_reliability_pages.moc"
