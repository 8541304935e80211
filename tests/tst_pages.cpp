// The eight pages as the client meets them: made by the plug-in's factory, loaded with QLibrary
// and resolved by name. What each page is on each kind of account, what the factory refuses,
// and how a page takes its records from the account's list and frees them.

#include "Approval.h"
#include "ClientConstants.h"
#include "PageTestSupport.h"

#include <QtTest>

#include <cstring>
#include <cxxabi.h>
#include <memory>

using namespace PageTest;

namespace {

constexpr int StockKey = 5101, CreditKey = 5102, OddKey = 5103;
// The result list of each of PageTypes.
const HistoryKind Kinds[] = {HistoryKind::Order, HistoryKind::Trade, HistoryKind::CreditDebt, HistoryKind::Delivery,
                             HistoryKind::Capital, HistoryKind::FundDetail, HistoryKind::Position, HistoryKind::Profit};
HistoryKind kindOf(int code)
{
    return Kinds[std::find(std::begin(PageTypes), std::end(PageTypes), PageType(code)) - std::begin(PageTypes)];
}

QString typeName(const std::type_info& type)
{
    std::unique_ptr<char, decltype(&std::free)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, nullptr), &std::free);
    return QString::fromLatin1(name ? name.get() : type.name());
}

} // namespace

class tst_Pages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("tst_pages"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_pages"));
        QVERIFY(create = pluginFactory());
        for (int type = 1; type <= 3; ++type)
            accounts[type - 1] = std::make_unique<Account>(StockKey + type - 1, type);
    }
    void matrix();
    void collectsAndFrees_data();
    void collectsAndFrees();
    void newerPageTakesOver_data();
    void newerPageTakesOver();

private:
    Factory create = nullptr;
    std::unique_ptr<Account> accounts[3];
};

// Every page on every kind of account, one line each: class, title, column set, columns shown of
// all, the records taken from an answer of three, the debug lines of its end with its parent,
// and the records its end left in the account's list. Then the factory's refusals.
void tst_Pages::matrix()
{
    QStringList lines;
    for (PageType type : PageTypes) {
        const int code = int(type);
        for (const auto& account : accounts) {
            const HistoryKind kind = kindOf(code);
            QString line = QStringLiteral("%1 type %2 | ").arg(code).arg(account->userData.accountType);
            auto* host = new QWidget;
            DebugLines log;
            QPointer<ISubModuleWid> page = create(account->key, code, host);
            if (!page) {
                lines << line + QStringLiteral("refused: ") + log.lines().join(QLatin1Char(';'));
                delete host;
                continue;
            }
            QVERIFY(page->parentWidget() == host && !columnSetOf(page) && !modelOf(page)); // the client sets it up
            page->initSubModule();
            TableHeader* columns = columnSetOf(page);
            query(page);
            account->answer(kind, 3, true);
            const QList<std::any>& records = recordsOf(page);
            // The model's copy holds the page's records themselves: the same pointers, bit for bit.
            for (int row = 0; row < modelOf(page)->rowCount(); ++row)
                QVERIFY(std::memcmp(&modelOf(page)->record(row), &records.at(row), sizeof(std::any)) == 0);
            line += QStringLiteral("%1 | %2 | %3 | %4 of %5 columns | %6 x %7 | ")
                        .arg(QString::fromLatin1(page->metaObject()->className()), titleOf(page),
                             columns ? columns->key() : QStringLiteral("no columns"))
                        .arg(modelOf(page)->columnCount())
                        .arg(columns ? columns->allColumns().size() : 0)
                        .arg(records.size())
                        .arg(records.isEmpty() ? QStringLiteral("none") : typeName(records.first().type()));
            const int before = log.lines().size();
            delete host;
            QVERIFY(page.isNull());
            lines << line + log.lines().mid(before).join(QLatin1Char(' ')) + QStringLiteral(" | %1 left").arg(account->userData.resultList(kind).size());
        }
    }

    // What the factory refuses, with one debug line each; a second page of a type on an account
    // is made (it takes the records over, see newerPageTakesOver).
    QWidget host;
    const int orders = int(PageType::Order);
    std::unique_ptr<ISubModuleWid> open(create(CreditKey, orders, nullptr));
    const auto attempt = [&](int key, int code) {
        DebugLines log;
        std::unique_ptr<ISubModuleWid> page(create(key, code, &host));
        lines << QStringLiteral("%1 on %2 | %3 | %4 | %5 widgets").arg(code).arg(key).arg(page ? "made" : "refused").arg(log.lines().join(QLatin1Char(';'))).arg(host.children().size());
    };
    for (int code : {0, 21, 24, 50, 57, -22})
        attempt(StockKey, code);
    for (int key : {5199, CreditKey, StockKey})
        attempt(key, orders);
    attempt(CreditKey, int(PageType::Trade));
    open.reset();
    attempt(CreditKey, orders);
    QVERIFY(matchesApproved(QStringLiteral("pages/matrix.txt"), lines));
}

void tst_Pages::collectsAndFrees_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("accountType");
    for (PageType type : PageTypes) {
        const int code = int(type);
        QTest::addRow("%d stock", code) << code << int(AccountKind::Stock);
        QTest::addRow("%d credit", code) << code << int(AccountKind::Credit);
    }
    QTest::newRow("51 type 3") << int(PageType::CreditDebt) << 3;
}

// Answers of the other kinds, even with the page's own id, pass it by. Each of its own adds the
// list's new records as the very pointers, in order; records that came unannounced are taken at
// the next collection, once. A new query and the page's end free them (each once, as its own
// type: the sanitizer build judges). A page with no records for the account leaves the list alone.
void tst_Pages::collectsAndFrees()
{
    QFETCH(int, code);
    QFETCH(int, accountType);
    const HistoryKind own = kindOf(code);
    const bool collects = own != HistoryKind::CreditDebt || accountType == int(AccountKind::Credit);

    Account account(5104, accountType);
    std::unique_ptr<ISubModuleWid> page(create(account.key, code, nullptr));
    QVERIFY(page);
    page->initSubModule();
    query(page.get());
    const int id = account.userData.lastRequestId();
    for (HistoryKind other : Kinds) {
        if (other != own)
            account.answer(other, 2, true);
    }
    QCOMPARE(QStringLiteral("id %1, %2 records, last %3").arg(requestIdOf(page.get())).arg(recordsOf(page.get()).size()).arg(isTotalLastOf(page.get())),
             QStringLiteral("id %1, 0 records, last 0").arg(id));

    QVector<void*>& list = account.userData.resultList(own);
    const auto held = [&] { return heldPointers(recordsOf(page.get()), own, accountType); };
    for (int count : {3, 0, 150, 1}) {
        account.answer(own, count, false);
        QCOMPARE(held(), collects ? list : QVector<void*>());
    }
    list << Account::newRecord(own, accountType) << Account::newRecord(own, accountType);
    QCOMPARE(collectNewRecords(page.get()), collects ? 2 : 0);
    QCOMPARE(collectNewRecords(page.get()), 0);
    QCOMPARE(held(), collects ? list : QVector<void*>());

    const QVector<void*> before = list;
    query(page.get());
    QVERIFY(recordsOf(page.get()).isEmpty());
    QCOMPARE(list, collects ? QVector<void*>() : before);
    account.answer(own, 30, true);
    QCOMPARE(recordsOf(page.get()).size(), collects ? 30 : 0);
    page.reset();
    QCOMPARE(list.size(), collects ? 0 : before.size() + 30);
    for (HistoryKind other : Kinds)
        QCOMPARE(account.userData.resultList(other).size(), other == own ? list.size() : 2);
}

void tst_Pages::newerPageTakesOver_data()
{
    QTest::addColumn<QString>("how"); // the newer page comes while the older one...
    QTest::newRow("is open, same key") << "open";
    QTest::newRow("is open, the account under a second key") << "second key";
    QTest::newRow("awaits deletion (deleteLater)") << "deleteLater";
}

// Two pages of one kind on one account share its result list. The factory makes the newer one
// whatever the older is doing; the older lets go of its rows, says so and explains itself on
// Query and Export, and neither the newer page's query nor the older page's end frees what the
// other shows (the sanitizer build judges the repaints).
void tst_Pages::newerPageTakesOver()
{
    QFETCH(QString, how);
    Account account(5105, 1);
    UserDataManager::instance()->userDataMap().insert(5106, &account.userData);
    QPointer<ISubModuleWid> older = create(account.key, 22, nullptr);
    older->initSubModule();
    older->show();
    query(older);
    account.answer(HistoryKind::Order, 300, false);
    if (how == QLatin1String("deleteLater"))
        older->deleteLater();
    std::unique_ptr<ISubModuleWid> newer(create(how == QLatin1String("second key") ? 5106 : account.key, 22, nullptr));
    UserDataManager::instance()->userDataMap().remove(5106);
    QVERIFY(newer);
    newer->initSubModule();
    newer->show();
    query(newer.get());
    account.answer(HistoryKind::Order, 80, true);

    const auto state = [&](QWidget* page) {
        return QStringLiteral("%1 | %2 rows, %3 held").arg(tipsOf(page)).arg(proxyOf(page)->rowCount()).arg(recordsOf(page).size());
    };
    QStringList seen{state(older), state(newer.get())};
    older->grab();
    QStringList expected{"本页已在别处重新打开 | 0 rows, 0 held", "所有数据已加载完毕(共80条) | 80 rows, 80 held"};
    if (how == QLatin1String("deleteLater")) {
        QTRY_VERIFY(!older);
    } else {
        ModalScript boxes;
        boxes.pressButton(QStringLiteral("确定")).pressButton(QStringLiteral("确定"));
        query(older);
        press(older, "export");
        for (const SeenModal& box : qAsConst(boxes.seen))
            seen << box.title + QLatin1Char(' ') + box.text;
        expected << "查询失败 本页已在别处重新打开，请在新打开的页面中查询或导出。"
                 << "导出失败 本页已在别处重新打开，请在新打开的页面中查询或导出。";
        delete older.data();
    }
    newer->grab();
    seen << state(newer.get()) + QStringLiteral(", %1 listed").arg(account.userData.getHistoryOrderList().size());
    QCOMPARE(seen, expected << "所有数据已加载完毕(共80条) | 80 rows, 80 held, 80 listed");
}

QTEST_MAIN(tst_Pages)
#include "tst_pages.moc"
