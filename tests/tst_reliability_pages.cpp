// The real pages under a hostile world: answers emitted in bulk from other threads among stale
// ids and errors, pages deleted while answers are still on their way, and the simulated service
// failing in the middle of Load all. Nothing may crash and the page must end in the state its
// query cycle prescribes; the sanitizer build judges that no record leaks or is freed twice.

#include "ClientConstants.h"
#include "HistoryRecordFactory.h"
#include "PageTestSupport.h"
#include "PostedEvents.h"

#include <QtTest>

#include <array>
#include <thread>

using namespace PageTest;

class tst_ReliabilityPages : public QObject
{
    Q_OBJECT

private slots:
    void hostile_data();
    void hostile();
    void hostDeletes_data();
    void hostDeletes();
};

void tst_ReliabilityPages::hostile_data()
{
    QTest::addColumn<int>("accountType");
    QTest::addColumn<int>("records"); // the service holds of each kind; 0: no service, the test answers
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("end"); // tips | query state | rows shown, records in the list | boxes

    const int stock = int(AccountKind::Stock), credit = int(AccountKind::Credit);
    const QString all = QStringLiteral("所有数据已加载完毕(共%1条) | last 1, id -1 | %1 rows, %1 listed | ");
    const QString failed = QStringLiteral("历史委托查询错误 | last 1, id -1 | some rows, some listed | 查询失败: 历史委托查询失败\n错误号: %1\n错误信息: %2");
    QTest::newRow("std::thread, stock") << stock << 0 << "thread 150, thread 120, thread 300, thread 80 last" << all.arg(650);
    QTest::newRow("QThread, credit") << credit << 0 << "qthread 400, qthread 0, qthread 250 last" << all.arg(650);
    QTest::newRow("deleted with answers queued") << stock << 0 << "qthread 90, queue 50 last, delete"
                                                 << "deleted, 0 listed";
    QTest::newRow("deleted during Load all") << stock << 1000 << "loadall, delete"
                                             << "deleted, 50 listed";
    QTest::newRow("connection lost") << stock << 1000 << "loadall, disconnect" << failed.arg(-1001).arg("增值服务连接已断开");
    QTest::newRow("logged out") << stock << 1000 << "loadall, logout" << failed.arg(-1002).arg("增值服务已登出");
    QTest::newRow("error answer, then all") << credit << 1000 << "loadall, error, restore"
                                            << all.arg(1000) + "查询失败: 历史委托查询失败\n错误号: 42\n错误信息: 柜台拒绝";
    QTest::newRow("service busy") << stock << 1000 << "loadall, busy"
                                  << "下滑滚动条以显示更多记录(已加载some条) | last 0, id -1 | some rows, some listed | 查询失败: 上次查询正在进行中，请稍后重试。";
    QTest::newRow("service busy, then all") << stock << 1000 << "loadall, busy, restore" << all.arg(1000) + "查询失败: 上次查询正在进行中，请稍后重试。";
}

// A thread step appends its records and answers them, then sends a repeat of the answer with an
// error and two hundred stale answers (older ids, errors, last-batch flags); only the one real
// answer may count. A fault in the middle of Load all leaves the rows shown as they were and
// asks nothing more of the service; once it is back a new query loads everything.
void tst_ReliabilityPages::hostile()
{
    QFETCH(int, accountType);
    QFETCH(int, records);
    QFETCH(QString, steps);
    QFETCH(QString, end);

    Account account(4901, accountType, records, 50, 3);
    ModalScript modals;
    modals.pressButton(QStringLiteral("确定"));
    std::unique_ptr<ISubModuleWid> page(CreateISubModuleWid_HistoryRecordWid(account.key, int(PageType::Order), nullptr));
    page->initSubModule();
    page->show();
    partOf<QDateEdit>(page.get(), "begdate")->setDate(QDate(2024, 1, 1));
    HistorySortProxyModel* table = proxyOf(page.get());
    QVector<void*>& list = account.userData.getHistoryOrderList();
    const auto loadAll = [&] {
        QTRY_VERIFY_WITH_TIMEOUT(partOf<QPushButton>(page.get(), "loadall")->isVisible() && !account.busy(), 20000);
        press(page.get(), "loadall");
    };
    query(page.get());
    for (const QString& step : steps.split(QStringLiteral(", "))) {
        const QString word = step.section(' ', 0, 0);
        if (word.endsWith(QLatin1String("thread")) || word == QLatin1String("queue")) {
            if (requestIdOf(page.get()) == -1)
                press(page.get(), "loadall"); // the page waits for an answer already or is asked to go on
            const int current = requestIdOf(page.get()), count = step.section(' ', 1, 1).toInt();
            QVERIFY(current > 0);
            for (int k = 0; k < count; ++k)
                list.append(Account::newRecord(HistoryKind::Order, accountType));
            // Ids of earlier requests and 0; never -1, which a page that waits for none takes for its own.
            QVector<std::array<int, 3>> answers; // error, last, id
            for (int k = 1; k <= 200; ++k)
                answers.append({k % 3 ? 0 : 500 + k, k % 7 == 0, k % 11 == 0 || current - k < 0 ? 0 : current - k});
            // The records came with the real answer, so it goes first: a stale answer's records are
            // never the page's, and a stale answer in front would take these for its own.
            answers.insert(0, {0, step.endsWith(QLatin1String("last")), current});
            answers.insert(1, {77, true, current});
            const auto emitAll = [&] {
                for (const auto& a : answers)
                    emit account.userData.signal_ZRVA_RspInquiryHistoryOrderFinished(a[0], a[0] ? "过期应答" : QString(), a[1], a[2]);
            };
            std::unique_ptr<QThread> thread(word == QLatin1String("thread") ? nullptr : QThread::create(emitAll));
            thread ? (thread->start(), void(thread->wait())) : std::thread(emitAll).join();
            if (word == QLatin1String("queue"))
                continue;
            QCOMPARE(recordsOf(page.get()).size() < list.size(), count > 0); // all still queued
            QTRY_COMPARE_WITH_TIMEOUT(recordsOf(page.get()).size(), list.size(), 20000);
            QVERIFY(postedEventsDelivered()); // the stale answers too
            QCOMPARE(heldPointers(recordsOf(page.get()), HistoryKind::Order, accountType), list);
        } else if (step == QLatin1String("loadall")) {
            loadAll();
            QTRY_VERIFY_WITH_TIMEOUT(table->rowCount() >= 300 && account.busy(), 20000);
        } else if (step == QLatin1String("delete")) {
            page.reset();
            // The answers on their way find no page.
            QVERIFY(account.service.waitForIdle(20000) && postedEventsDelivered());
        } else if (step == QLatin1String("restore")) {
            account.service.setBusy(false);
            query(page.get());
            loadAll();
            QTRY_VERIFY_WITH_TIMEOUT(isTotalLastOf(page.get()) && table->rowCount() == records, 20000);
        } else {
            const QByteArray shown = expectedCsv(table);
            if (step == QLatin1String("disconnect"))
                account.service.setConnected(false);
            else if (step == QLatin1String("logout"))
                account.service.setLoggedIn(false);
            else if (step == QLatin1String("error"))
                account.service.failNextAnswer(42, QStringLiteral("柜台拒绝"));
            else
                account.service.setBusy(true);
            QTRY_VERIFY_WITH_TIMEOUT(modals.done(), 20000);
            QVERIFY(account.service.waitForIdle(20000) && postedEventsDelivered());
            QCOMPARE(expectedCsv(table).left(shown.size()), shown);
        }
    }
    QString state = QStringLiteral("deleted, %1 listed").arg(list.size());
    if (page) {
        // Where the service stopped is a matter of timing.
        const auto count = [records](int n) { return n > 0 && n < records ? QStringLiteral("some") : QString::number(n); };
        const int rows = table->rowCount();
        state = QStringLiteral("%1 | last %2, id %3 | %4 rows, %5 listed | ").arg(tipsOf(page.get()).replace(QString::number(rows), count(rows))).arg(isTotalLastOf(page.get())).arg(requestIdOf(page.get())).arg(count(rows), count(list.size()));
    }
    for (const SeenModal& seen : qAsConst(modals.seen))
        state += (seen.parent == page.get() ? QString() : "elsewhere ") + seen.title + ": " + seen.text;
    QCOMPARE(state, end);
    QCOMPARE(modals.unanswered, 0);
}

void tst_ReliabilityPages::hostDeletes_data()
{
    QTest::addColumn<QString>("open"); // what is open when the host deletes the page
    for (const char* open : {"pre-check box", "export question", "save dialog", "error box", "the account goes, then Query's box"})
        QTest::newRow(open) << open;
}

// The host deletes a page while one of its boxes is open (on a logout, say), or deletes the
// account under a live page. The box goes with the page, nothing runs on the page afterwards and
// no record is read or freed after its account freed it: the sanitizer build judges.
void tst_ReliabilityPages::hostDeletes()
{
    QFETCH(QString, open);
    auto* account = new UserData(int(AccountKind::Stock));
    account->zrvaConnected = account->zrvaLoggedIn = true;
    account->setDefaultInvestorID(QStringLiteral("880012345"));
    UserDataManager::instance()->userDataMap().insert(4902, account);
    QPointer<ISubModuleWid> page(CreateISubModuleWid_HistoryRecordWid(4902, int(PageType::Order), nullptr));
    page->initSubModule();
    page->show();
    query(page);
    // A complete table exports without a question; 150 records leave the page waiting for more.
    QVector<void*> batch(open == "save dialog" ? 80 : open == "error box" ? 150
                                                                          : 250);
    for (void*& record : batch)
        record = Account::newRecord(HistoryKind::Order, account->accountType);
    account->deliverAnswer(HistoryKind::Order, account->lastRequestId(), batch, 0, QString(), open == "save dialog");
    QCOMPARE(recordsOf(page).size(), batch.size());

    int modals = 0;
    QTimer host;
    connect(&host, &QTimer::timeout, [&] { modals += QApplication::activeModalWidget() ? (delete page.data(), 1) : 0; });
    host.start(10);
    if (open == "pre-check box") {
        account->zrvaLoggedIn = false;
        query(page);
    } else if (open == "error box") {
        account->deliverAnswer(HistoryKind::Order, account->lastRequestId(), {}, 5, QStringLiteral("柜台拒绝"), true);
    } else if (open.startsWith("the account goes")) {
        delete account;
        account = nullptr;
        QCOMPARE(proxyOf(page)->rowCount() + recordsOf(page).size(), 0);
        page->grab();
        press(page, "loadall"); // nothing to load, nothing asked
        query(page);            // the box says why nothing can be done
    } else {
        press(page, "export");
    }
    QTRY_VERIFY(!page);
    QCOMPARE(modals, 1);
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    delete account;
}

QTEST_MAIN(tst_ReliabilityPages)
#include "tst_reliability_pages.moc"
