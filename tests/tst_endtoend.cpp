// Every page of both accounts over the simulated service, as the client uses them: created by the
// plug-in's factory, set up, queried, loaded to the end, sorted and exported, then closed.

#include "ClientConstants.h"
#include "PageTestSupport.h"
#include "service/HistoryGenerator.h"
#include "service/ValueAddedService.h"

#include <QAbstractItemModelTester>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLibrary>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace PageTest;

namespace {

using Factory = ISubModuleWid* (*)(int accountKey, int pageType, QWidget* parent);

constexpr int Key = 8101;
constexpr int Records = 260;
constexpr int BatchSize = 100;
const QDate Today(2024, 3, 15);

struct PageType
{
    int code;
    const char* name;
    HistoryKind kind;
};

const PageType PageTypes[] = {
    {22, "orders", HistoryKind::Order},       {23, "trades", HistoryKind::Trade},
    {51, "debts", HistoryKind::CreditDebt},   {52, "delivery", HistoryKind::Delivery},
    {53, "capital", HistoryKind::Capital},    {54, "fund flows", HistoryKind::FundDetail},
    {55, "positions", HistoryKind::Position}, {56, "profit", HistoryKind::Profit},
};

// Thirty days of history up to Today, records per kind, answered in batches.
void setUp(ValueAddedService& service, int records, int batchSize)
{
    service.setReferenceDate(Today);
    service.setHistoryDays(30);
    service.setRecordsPerKind(records);
    service.setBatchSize(batchSize);
}

} // namespace

class tst_EndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void everyPage_data();
    void everyPage();
    void everyPageUnderModelTester_data();
    void everyPageUnderModelTester();

private:
    QLibrary library{QStringLiteral(HISTORY_PLUGIN_FILE)};
    Factory factory = nullptr;
    QTemporaryDir files;
    bool folderExisted = false;
};

void tst_EndToEnd::initTestCase()
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QCoreApplication::setOrganizationName(QStringLiteral("tst_endtoend"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_endtoend"));
    for (const QString& key : {TH_STOCK_HISTORY_ORDER, TH_CREDIT_HISTORY_ORDER, TH_STOCK_HISTORY_TRADE,
                               TH_CREDIT_HISTORY_TRADE, TH_STOCK_HISTORY_DELIVERY, TH_CREDIT_HISTORY_DELIVERY,
                               TH_CREDIT_HISTORY_DEBT, TH_STOCK_HISTORY_CAPITAL, TH_CREDIT_HISTORY_CAPITAL,
                               TH_STOCK_HISTORY_FUNDDETAIL, TH_CREDIT_HISTORY_FUNDDETAIL, TH_STOCK_HISTORY_POSITION,
                               TH_CREDIT_HISTORY_POSITION, TH_STOCK_HISTORY_PROFIT, TH_CREDIT_HISTORY_PROFIT})
        TableHeader::clearColumnChoice(key);
    folderExisted = QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/表格导出")).exists();
    QVERIFY(files.isValid());
    QVERIFY2(library.load(), qPrintable(library.errorString()));
    factory = reinterpret_cast<Factory>(library.resolve("CreateISubModuleWid_HistoryRecordWid"));
    QVERIFY(factory);
}

void tst_EndToEnd::cleanupTestCase()
{
    if (!folderExisted)
        QDir().rmdir(QCoreApplication::applicationDirPath() + QStringLiteral("/表格导出"));
}

void tst_EndToEnd::everyPage_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("accountType");

    for (const PageType& type : PageTypes) {
        QTest::addRow("%s stock", type.name) << type.code << int(type.kind) << 1;
        QTest::addRow("%s credit", type.name) << type.code << int(type.kind) << 2;
    }
}

void tst_EndToEnd::everyPage()
{
    QFETCH(int, code);
    QFETCH(int, kind);
    QFETCH(int, accountType);
    const HistoryKind historyKind = HistoryKind(kind);

    ValueAddedService service;
    setUp(service, Records, BatchSize);
    Account account(Key, accountType);
    account.userData.setService(&service);
    const int held = HistoryGenerator::holds(historyKind, accountType) ? service.recordCount(historyKind) : 0;

    QWidget host;
    ISubModuleWid* page = factory(Key, code, &host);
    QVERIFY(page);
    page->initSubModule();

    page->findChild<QDateEdit*>(QStringLiteral("dateEdit_historyordertradewid_begdate"))->setDate(Today.addDays(-40));
    page->findChild<QDateEdit*>(QStringLiteral("dateEdit_historyordertradewid_enddate"))->setDate(Today.addDays(-1));
    auto* table = page->findChild<QTableView*>(QStringLiteral("tableView_historyordertradewid"));
    auto* loadAll = page->findChild<QPushButton*>(QStringLiteral("pushButton_historyordertradewid_loadall"));
    auto* tips = page->findChild<QLabel*>(QStringLiteral("label_historyordertradewid_tips"));
    auto idle = [&] { return requestIdOf(page) == -1 && !account.userData.getIsZRVAReqing(); };

    page->findChild<QPushButton*>(QStringLiteral("pushButton_historyordertradewid_request"))->click();
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
    if (!loadAll->isHidden())
        loadAll->click();
    QTRY_VERIFY_WITH_TIMEOUT(isTotalLastOf(page) && idle() && proxyOf(page)->rowCount() == held, 20000);
    QCOMPARE(recordsOf(page).size(), held);
    QCOMPARE(account.userData.resultList(historyKind).size(), held);
    QCOMPARE(tips->text(), QStringLiteral("所有数据已加载完毕(共%1条)").arg(held));
    QVERIFY(loadAll->isHidden());
    QVERIFY(table->isSortingEnabled());

    // Sorted by the user through the header, the table and the file list the rows alike.
    const int column = proxyOf(page)->columnCount() - 1;
    table->sortByColumn(column, Qt::DescendingOrder);
    QCOMPARE(proxyOf(page)->sortColumn(), column);
    const QString path = files.filePath(QString::number(code) + QLatin1Char('_') + QString::number(accountType) + QStringLiteral(".csv"));
    {
        ModalScript script;
        script.saveAs(path).pressButton(QStringLiteral("确定"));
        page->findChild<QPushButton*>(QStringLiteral("pushButton_historyordertradewid_export"))->click();
        QTRY_VERIFY(!QApplication::activeModalWidget());
        QVERIFY(script.done());
        QCOMPARE(script.unanswered, 0);
    }
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    QCOMPARE(written.count('\n'), held + 1);
    QCOMPARE(written, expectedCsv(proxyOf(page)));

    delete page;
    QVERIFY(account.userData.resultList(historyKind).isEmpty());
    account.userData.setService(nullptr);
}

void tst_EndToEnd::everyPageUnderModelTester_data()
{
    everyPage_data();
}

// The model and the proxy of each page, under the model tester through a query in batches,
// sorting, a new query and the page's end. Few records: the tester reads every cell at each change.
void tst_EndToEnd::everyPageUnderModelTester()
{
    QFETCH(int, code);
    QFETCH(int, kind);
    QFETCH(int, accountType);
    const HistoryKind historyKind = HistoryKind(kind);

    ValueAddedService service;
    setUp(service, 30, 12);
    Account account(Key, accountType);
    account.userData.setService(&service);
    const int held = HistoryGenerator::holds(historyKind, accountType) ? service.recordCount(historyKind) : 0;

    QWidget host;
    QPointer<ISubModuleWid> page = factory(Key, code, &host);
    QVERIFY(page);
    page->initSubModule();
    QAbstractItemModelTester modelTester(modelOf(page), QAbstractItemModelTester::FailureReportingMode::QtTest);
    QAbstractItemModelTester proxyTester(proxyOf(page), QAbstractItemModelTester::FailureReportingMode::QtTest);
    page->findChild<QDateEdit*>(QStringLiteral("dateEdit_historyordertradewid_begdate"))->setDate(Today.addDays(-40));
    auto idle = [&] { return requestIdOf(page) == -1 && !account.userData.getIsZRVAReqing(); };
    auto* query = page->findChild<QPushButton*>(QStringLiteral("pushButton_historyordertradewid_request"));

    query->click();
    QTRY_VERIFY_WITH_TIMEOUT(isTotalLastOf(page) && idle() && proxyOf(page)->rowCount() == held, 20000);
    page->findChild<QTableView*>(QStringLiteral("tableView_historyordertradewid"))->sortByColumn(0, Qt::AscendingOrder);
    QCOMPARE(proxyOf(page)->rowCount(), held);

    // The button stays locked for a second; its slot is the same new query.
    QVERIFY(QMetaObject::invokeMethod(page, "on_pushButton_historyordertradewid_request_clicked"));
    QTRY_VERIFY_WITH_TIMEOUT(isTotalLastOf(page) && idle() && proxyOf(page)->rowCount() == held, 20000);
    QCOMPARE(recordsOf(page).size(), held);

    delete page;
    QVERIFY(account.userData.resultList(historyKind).isEmpty());
    account.userData.setService(nullptr);
}

QTEST_MAIN(tst_EndToEnd)
#include "tst_endtoend.moc"
