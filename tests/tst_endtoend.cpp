// Every page of both accounts over the simulated service, as the client uses them: made by the
// plug-in's factory, set up, queried, loaded to the end, sorted and exported, queried again and
// closed; the page's model and proxy under the model tester all the while.

#include "ClientConstants.h"
#include "PageTestSupport.h"
#include "service/HistoryGenerator.h"

#include <QtTest>

using namespace PageTest;

class tst_EndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        QCoreApplication::setOrganizationName(QStringLiteral("tst_endtoend"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_endtoend"));
        QVERIFY(create = pluginFactory());
    }
    void cleanupTestCase() { QDir().rmdir(QCoreApplication::applicationDirPath() + QStringLiteral("/表格导出")); }
    void everyPage_data();
    void everyPage();

private:
    Factory create = nullptr;
    QTemporaryDir files;
};

void tst_EndToEnd::everyPage_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("accountType");
    const PageType codes[] = {PageType::Order, PageType::Trade, PageType::Delivery, PageType::Capital,           // in the order
                              PageType::FundDetail, PageType::Position, PageType::Profit, PageType::CreditDebt}; // of the kinds
    for (int kind = 0; kind < HistoryKindCount; ++kind) {
        const int code = int(codes[kind]);
        QTest::addRow("%d stock", code) << code << kind << int(AccountKind::Stock);
        QTest::addRow("%d credit", code) << code << kind << int(AccountKind::Credit);
    }
}

void tst_EndToEnd::everyPage()
{
    QFETCH(int, code);
    QFETCH(int, kind);
    QFETCH(int, accountType);
    Account account(8101, accountType, 120, 30); // few: the model tester reads every cell at each change
    const int held = HistoryGenerator::holds(HistoryKind(kind), accountType) ? 120 : 0;

    QWidget host;
    ISubModuleWid* page = create(account.key, code, &host);
    QVERIFY(page);
    page->initSubModule();
    QAbstractItemModelTester modelTester(modelOf(page), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester proxyTester(proxyOf(page), QAbstractItemModelTester::FailureReportingMode::QtTest);
    partOf<QDateEdit>(page, "begdate")->setDate(QDate(2024, 2, 1));
    partOf<QDateEdit>(page, "enddate")->setDate(QDate(2024, 3, 14));
    auto* table = partOf<QTableView>(page);
    const auto idle = [&] { return requestIdOf(page) == -1 && !account.busy(); };

    partOf<QPushButton>(page, "request")->click();
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
    QCOMPARE(proxyOf(page)->rowCount(), qMin(held, 100));
    QCOMPARE(partOf<QPushButton>(page, "loadall")->isHidden(), held == 0);
    partOf<QPushButton>(page, "loadall")->click();
    QTRY_VERIFY_WITH_TIMEOUT(isTotalLastOf(page) && idle() && proxyOf(page)->rowCount() == held, 20000);
    QCOMPARE(account.userData.resultList(HistoryKind(kind)).size(), held);
    QCOMPARE(tipsOf(page), QStringLiteral("所有数据已加载完毕(共%1条)").arg(held));
    QVERIFY(partOf<QPushButton>(page, "loadall")->isHidden() && table->isSortingEnabled());

    // Sorted by the user through the header, the table and the file list the rows alike.
    table->sortByColumn(proxyOf(page)->columnCount() - 1, Qt::DescendingOrder);
    const QString path = files.filePath(QStringLiteral("%1-%2.csv").arg(code).arg(accountType));
    ModalScript script;
    script.saveAs(path).pressButton(QStringLiteral("确定"));
    partOf<QPushButton>(page, "export")->click();
    QTRY_VERIFY(!QApplication::activeModalWidget() && script.done());
    QCOMPARE(script.unanswered, 0);
    QFile file(path);
    // Read as text: the export writes the platform's line ends (CRLF on Windows).
    QCOMPARE(file.open(QIODevice::ReadOnly | QIODevice::Text) ? file.readAll() : QByteArray(), expectedCsv(proxyOf(page)));

    // A new query frees the first one's records; the page's end frees the second's.
    query(page);
    QVERIFY(!table->isSortingEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
    QCOMPARE(recordsOf(page).size(), held);
    delete page;
    QVERIFY(account.userData.resultList(HistoryKind(kind)).isEmpty());
}

QTEST_MAIN(tst_EndToEnd)
#include "tst_endtoend.moc"
