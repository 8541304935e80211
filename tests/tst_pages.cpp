// The eight pages as the client meets them: made by the plug-in's factory, loaded with QLibrary
// and resolved by name. What each page is on each kind of account, what the factory refuses,
// and how a page takes its records from the account's list and frees them.

#include "PageTestSupport.h"
#include "Approval.h"

#include <QtTest>

#include <cxxabi.h>
#include <memory>

using namespace PageTest;

namespace {

constexpr int StockKey = 5101, CreditKey = 5102, OddKey = 5103, MissingKey = 5199;
const int Codes[] = {22, 23, 51, 52, 53, 54, 55, 56};
const HistoryKind Kinds[] = {HistoryKind::Order, HistoryKind::Trade, HistoryKind::CreditDebt, HistoryKind::Delivery,
                             HistoryKind::Capital, HistoryKind::FundDetail, HistoryKind::Position, HistoryKind::Profit};

HistoryKind kindOf(int code) { return Kinds[std::find(std::begin(Codes), std::end(Codes), code) - std::begin(Codes)]; }

QString typeName(const std::type_info& type)
{
    char* name = abi::__cxa_demangle(type.name(), nullptr, nullptr, nullptr);
    const QString text = QString::fromLatin1(name ? name : type.name());
    std::free(name);
    return text;
}

} // namespace

class tst_Pages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void matrix();
    void refusals_data();
    void refusals();
    void collectsAndFrees_data();
    void collectsAndFrees();

private:
    Factory create = nullptr;
    std::unique_ptr<Account> stock, credit, odd;
};

void tst_Pages::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("tst_pages"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_pages"));
    QVERIFY(create = pluginFactory());
    stock = std::make_unique<Account>(StockKey, 1);
    credit = std::make_unique<Account>(CreditKey, 2);
    odd = std::make_unique<Account>(OddKey, 3);
}

// Every page on every kind of account, one line each: class, title,
// column set, columns shown of all, records taken from an answer of three, the debug lines of
// its end with its parent, and what became of the account's list.
void tst_Pages::matrix()
{
    QStringList lines;
    for (int code : Codes) {
        for (Account* account : {stock.get(), credit.get(), odd.get()}) {
            const HistoryKind kind = kindOf(code);
            QString line = QStringLiteral("%1 type %2 | ").arg(code).arg(account->userData.accountType);
            auto* host = new QWidget;
            DebugLines refusal;
            QPointer<ISubModuleWid> page = create(account->key, code, host);
            if (!page) {
                lines << line + QStringLiteral("refused: ") + refusal.lines().join(QLatin1Char(';'));
                delete host;
                continue;
            }
            QCOMPARE(page->parentWidget(), host);
            QVERIFY(!columnSetOf(page) && !modelOf(page));     // the client sets the page up
            page->initSubModule();
            TableHeader* columns = columnSetOf(page);
            query(page);
            account->answer(kind, 3, true);
            const QList<std::any>& records = recordsOf(page);
            line += QStringLiteral("%1 | %2 | %3 | %4 of %5 columns | %6 x %7 | ")
                        .arg(QString::fromLatin1(page->metaObject()->className()), titleOf(page),
                             columns ? columns->key() : QStringLiteral("no columns"))
                        .arg(modelOf(page)->columnCount()).arg(columns ? columns->allColumns().size() : 0)
                        .arg(records.size()).arg(records.isEmpty() ? QStringLiteral("none") : typeName(records.first().type()));
            DebugLines end;
            delete host;
            QVERIFY(page.isNull());
            const int left = account->userData.resultList(kind).size();
            lines << line + end.lines().join(QLatin1Char(' ')) + (left ? QStringLiteral(" | %1 left").arg(left) : QString());
        }
    }
    QVERIFY(matchesApproved(QStringLiteral("pages/matrix.txt"), lines));
}

void tst_Pages::refusals_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("open");          // a page of this type already open on the credit account
    QTest::addColumn<QString>("debug");     // empty: the page is made

    const QString prefix = QStringLiteral("CreateISubModuleWid_HistoryRecordWid: ");
    for (int code : {0, 21, 24, 50, 57, -22})
        QTest::addRow("type %d", code) << StockKey << code << 0 << prefix + QStringLiteral("no page of type %1").arg(code);
    QTest::newRow("no account") << MissingKey << 22 << 0 << prefix + "no account under key 5199";
    QTest::newRow("account of type 3") << OddKey << 55 << 0 << prefix + "page type 55 cannot show account 5103 of type 3";
    QTest::newRow("debts on type 3") << OddKey << 51 << 0 << QString();
    QTest::newRow("second orders page") << CreditKey << 22 << 22 << prefix + "a page of type 22 is open on account 5102 already";
    QTest::newRow("second debts page") << CreditKey << 51 << 51 << prefix + "a page of type 51 is open on account 5102 already";
    QTest::newRow("other kind, same account") << CreditKey << 23 << 22 << QString();
    QTest::newRow("same kind, other account") << StockKey << 22 << 22 << QString();
}

void tst_Pages::refusals()
{
    QFETCH(int, key);
    QFETCH(int, code);
    QFETCH(int, open);
    QFETCH(QString, debug);

    QWidget host;
    std::unique_ptr<ISubModuleWid> first(open ? create(CreditKey, open, nullptr) : nullptr);
    QCOMPARE(first != nullptr, open != 0);
    DebugLines log;
    std::unique_ptr<ISubModuleWid> page(create(key, code, &host));
    QCOMPARE(log.lines(), debug.isEmpty() ? QStringList() : QStringList{debug});
    QCOMPARE(page != nullptr, debug.isEmpty());
    QCOMPARE(host.children().size(), debug.isEmpty() ? 1 : 0);
    if (!open)
        return;
    // The type is free again once its page is gone.
    page.reset();
    first.reset();
    page.reset(create(key, code, nullptr));
    QVERIFY(page);
}

void tst_Pages::collectsAndFrees_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("accountType");
    for (int code : Codes) {
        QTest::addRow("%d stock", code) << code << 1;
        QTest::addRow("%d credit", code) << code << 2;
    }
    QTest::newRow("51 type 3") << 51 << 3;
}

// The answers of the other seven kinds, even with the page's own request id, pass it by. Each of
// its own adds exactly the list's new records, in order, as the very pointers the list holds;
// records that arrived unannounced are taken at the next collection, once. A new query frees
// them and empties the list, and the page's end frees the next answer's records; the sanitizer
// build judges that each is freed once, as its own type. A page with no records for this kind of
// account leaves the list alone.
void tst_Pages::collectsAndFrees()
{
    QFETCH(int, code);
    QFETCH(int, accountType);
    const HistoryKind own = kindOf(code);
    const bool collects = own != HistoryKind::CreditDebt || accountType == 2;
    constexpr int Key = 5104;

    Account account(Key, accountType);
    std::unique_ptr<ISubModuleWid> page(create(Key, code, nullptr));
    QVERIFY(page);
    page->initSubModule();
    query(page.get());
    const int id = account.userData.lastRequestId();
    QCOMPARE(requestIdOf(page.get()), id);
    for (HistoryKind other : Kinds) {
        if (other != own)
            account.answer(other, 2, true);
    }
    QCOMPARE(requestIdOf(page.get()), id);
    QVERIFY(recordsOf(page.get()).isEmpty());
    QVERIFY(!isTotalLastOf(page.get()));

    QVector<void*>& list = account.userData.resultList(own);
    for (int count : {3, 0, 150, 1}) {
        account.answer(own, count, false);
        QCOMPARE(heldPointers(recordsOf(page.get()), own, accountType), collects ? list : QVector<void*>());
    }
    QCOMPARE(collectNewRecords(page.get()), 0);
    list << Account::newRecord(own, accountType) << Account::newRecord(own, accountType);
    QCOMPARE(collectNewRecords(page.get()), collects ? 2 : 0);
    QCOMPARE(collectNewRecords(page.get()), 0);
    QCOMPARE(heldPointers(recordsOf(page.get()), own, accountType), collects ? list : QVector<void*>());

    const QVector<void*> before = list;
    query(page.get());
    QVERIFY(account.userData.lastRequestId() != id);
    QVERIFY(recordsOf(page.get()).isEmpty());
    QCOMPARE(list, collects ? QVector<void*>() : before);
    account.answer(own, 30, true);
    QCOMPARE(recordsOf(page.get()).size(), collects ? 30 : 0);
    page.reset();
    QCOMPARE(list.size(), collects ? 0 : before.size() + 30);
    for (HistoryKind other : Kinds)
        QCOMPARE(account.userData.resultList(other).size(), other == own ? list.size() : 2);
}

QTEST_MAIN(tst_Pages)
#include "tst_pages.moc"
