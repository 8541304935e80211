// The trading-client host as a user meets it: the command line and its exit codes, the window
// opening, refusing and closing pages with zoom and language, the service panel's faults
// reaching a page, and the headless demo on a small data set.

#include "Approval.h"
#include "ClientAccounts.h"
#include "ClientOptions.h"
#include "ClientWindow.h"
#include "ColumnProbe.h"
#include "HistoryPlugin.h"
#include "ISubModuleWid.h"
#include "LanguageSwitcher.h"
#include "PageCatalog.h"
#include "PageWidgets.h"
#include "SettingsLocation.h"
#include "TableHeader.h"
#include "service/ValueAddedService.h"

#include <QtTest>
#include <QtWidgets>

using namespace VEK_SC_Space;

namespace {

// Output and files of the client end their lines as the platform does (CRLF on Windows).
QStringList lines(const QString& text)
{
    return text.split(QRegularExpression(QStringLiteral("\r?\n")), Qt::SkipEmptyParts);
}

#ifdef Q_OS_WIN
const QString demoFolder = QStringLiteral("o u t"); // no quotes in Windows file names
#else
// A quote in the folder's name: the save dialog's name box reads quotes as separators.
const QString demoFolder = QStringLiteral("o\"u\"t");
#endif

// Answers the message boxes that open while it lives and keeps their texts.
struct Boxes : QTimer
{
    Boxes()
    {
        callOnTimeout([this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                texts << box->text(), box->done(QMessageBox::Ok);
        });
        start(10);
    }
    QStringList texts;
};

} // namespace

class tst_Client : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void commandLine();
    void window_data();
    void window();
    void serviceFault_data();
    void serviceFault();
    void demo_data();
    void demo();
    void columnProbe();

private:
    QString parse(const QString& arguments, const QString& environment);
    QString run(const QStringList& arguments, const QString& config = QString());
    ClientWindow& newWindow() { return *(clientWindow = std::make_unique<ClientWindow>(plugin, *accounts, *language)); }
    ISubModuleWid* open(PageType code, AccountKind type) { return clientWindow->openPage(*PageCatalog::page(code), *accounts->account(type)); }

    QTemporaryDir work;
    HistoryPlugin plugin;
    std::unique_ptr<ClientAccounts> accounts;
    std::unique_ptr<LanguageSwitcher> language;
    std::unique_ptr<ClientWindow> clientWindow;
    QString demoRun;
    QString demoOut; // the demo's standard output, then the user's settings after it
};

void tst_Client::initTestCase()
{
    QCoreApplication::setOrganizationName(QStringLiteral("VEK")); // the client's settings file
    QCoreApplication::setApplicationName(QStringLiteral("history-client"));
    SettingsLocation::use(work.filePath(QStringLiteral("config")));
    QCOMPARE(plugin.load(HistoryPlugin::defaultPath()), ExitOk);
    accounts = std::make_unique<ClientAccounts>();
    language = std::make_unique<LanguageSwitcher>();
}

void tst_Client::init()
{
    clientWindow.reset();
    QVERIFY(language->setLanguage(LanguageSwitcher::chinese()));
    accounts->service()->setRecordsPerKind(150);
    accounts->service()->setBatchSize(100);
}

// "plugin|demo folder|language|records|batch|latency|headless", the error or "help", with only
// the given platform variables set. The platform is chosen before the application exists, so
// only the environment that the choice reads is changed, and put back.
QString tst_Client::parse(const QString& arguments, const QString& environment)
{
    const QProcessEnvironment saved = QProcessEnvironment::systemEnvironment();
    const QStringList names{"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
    for (const QString& name : names)
        qunsetenv(qPrintable(name));
    for (const QString& variable : environment.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        qputenv(qPrintable(variable.section(QLatin1Char('='), 0, 0)), variable.section(QLatin1Char('='), 1).toUtf8());
    const ClientOptions o = ClientOptions::parse(QStringList{"history-client"} + arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    const QString parsed = QStringLiteral("%1|%2|%3|%4|%5|%6|%7").arg(o.pluginPath, o.demoRequested ? o.demoDir : "-", o.language).arg(o.records).arg(o.batch).arg(o.latencyMs).arg(o.headless() ? "headless" : "window");
    for (const QString& name : names)
        saved.contains(name) ? qputenv(qPrintable(name), saved.value(name).toUtf8()) : qunsetenv(qPrintable(name));
    return !o.error.isEmpty() ? o.error : o.help ? QStringLiteral("help")
                                                 : parsed;
}

// "exit code | standard output | standard error", the folders masked.
QString tst_Client::run(const QStringList& arguments, const QString& config)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), work.path());
    if (!config.isEmpty())
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(CLIENT_EXECUTABLE), arguments);
    const bool finished = process.waitForFinished(240000) && process.exitStatus() == QProcess::NormalExit;
    demoOut = QString::fromUtf8(process.readAllStandardOutput());
    const QString bin = QFileInfo(QStringLiteral(CLIENT_EXECUTABLE)).path();
    // The client names files with the platform's separators.
    return QDir::fromNativeSeparators(QStringLiteral("%1 | %2 | %3").arg(finished ? process.exitCode() : -1).arg(lines(demoOut).value(0), lines(QString::fromUtf8(process.readAllStandardError())).join(QLatin1String(" / "))))
        .replace(work.path(), QLatin1String("<work>"))
        .replace(bin, QLatin1String("<bin>"))
        .replace(QFileInfo(QStringLiteral(CLIENT_EXECUTABLE)).fileName(), QLatin1String("<client>"))
        .replace(QStringLiteral(VE_BASE_FILE_NAME), QLatin1String("<VE_Base>"))
        .remove(QRegularExpression(QStringLiteral(": Cannot load library .*"))); // the loader's own words
}

// Parsed in this process with the platform variables given, or ("run") the executable's exit
// code and messages; <work> is a scratch folder holding an empty "file".
void tst_Client::commandLine()
{
    const QString x = QStringLiteral("DISPLAY=:0"), usage = QStringLiteral("needs a whole number from");
    const struct
    {
        QString arguments, environment, result;
    } table[] = {
        {"", x, "|-|zh|1000|500|0|window"},
        {"--records=0", "WAYLAND_DISPLAY=w", "|-|zh|0|500|0|window"},
        {"", "", "|-|zh|1000|500|0|headless"},
        {"", "QT_QPA_PLATFORM=xcb", "|-|zh|1000|500|0|headless"},
        {"", "QT_QPA_PLATFORM=offscreen " + x, "|-|zh|1000|500|0|headless"},
        {"--plugin /x/lib.so --demo out --language en --records 1000000 --batch 1000000 --latency 60000", x,
         "/x/lib.so|out|en|1000000|1000000|60000|headless"},
        {"--records 1000001", x, "--records " + usage + " 0 to 1000000, not \"1000001\"."},
        {"--batch 0", x, "--batch " + usage + " 1 to 1000000, not \"0\"."},
        {"--latency 60001", x, "--latency " + usage + " 0 to 60000, not \"60001\"."},
        {"--language fr", x, "--language takes zh or en, not \"fr\"."},
        {"orders", x, "Unexpected argument \"orders\"."},
        {"--frobnicate", x, "Unknown option 'frobnicate'."},
        {"-h", x, "help"},
        {"--help", "run", "0 | Usage: <bin>/<client> [options] | "},
        {"--latency -5", "run", "2 |  | --latency " + usage + " 0 to 60000, not \"-5\". / Try --help."},
        {"--demo <work>/file/out --records 0", "run", "1 | Cannot create the output folder <work>/file/out. | "},
        {"--records --demo x", x, "Missing value for --records."},
        {"--records -h", x, "Missing value for --records."},
        {"--plugin=", x, "--plugin needs the path of the module library."},
        {"--demo=", x, "|demo-output|zh|1000|500|0|headless"},
        {"--plugin <work>/None --demo <work>/no", "run", "3 |  | Cannot load the history module <work>/None: no such file"},
        {"--plugin <work>/file --demo <work>/no", "run", "3 |  | Cannot load the history module <work>/file"},
        {"--plugin <bin>/<VE_Base> --demo <work>/no", "run",
         "4 |  | The library <bin>/<VE_Base> has no function CreateISubModuleWid_HistoryRecordWid."},
    };
    QFile file(work.filePath(QStringLiteral("file")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QStringList seen, expected;
    for (const auto& row : table) {
        const QString arguments = QString(row.arguments).replace("<work>", work.path()).replace("<bin>", QFileInfo(QStringLiteral(CLIENT_EXECUTABLE)).path()).replace("<VE_Base>", QStringLiteral(VE_BASE_FILE_NAME));
        seen << row.arguments + " -> " + (row.environment == "run" ? run(arguments.split(' ')) : parse(arguments, row.environment));
        expected << row.arguments + " -> " + row.result;
    }
    QCOMPARE(seen, expected);
}

void tst_Client::window_data()
{
    QTest::addColumn<QStringList>("steps");  // open <code> <account type> | close <tab> | <action> [times]
    QTest::addColumn<QStringList>("states"); // per tab: text, zoom, first column, date language; boxes
    const QString so = QStringLiteral("History orders · Stock account 1001000001");
    const QString co = QStringLiteral("History orders · Credit account 2002000002");
    const QString ct = QStringLiteral("History trades · Credit account 2002000002");
    // A page kind opened again on an account is a new tab; the older one hands its records over.
    QTest::newRow("a page kind again on an account") << QStringList{"open 22 1", "open 22 2", "open 22 1", "close 0", "open 22 1"}
                                                     << QStringList{so + " 100% 委托日期 zh | alive 1", so + " 100% 委托日期 zh, " + co + " 100% 委托日期 zh | alive 2",
                                                                    so + " 100% 委托日期 zh, " + co + " 100% 委托日期 zh, " + so + " 100% 委托日期 zh | alive 3",
                                                                    co + " 100% 委托日期 zh, " + so + " 100% 委托日期 zh | alive 2",
                                                                    co + " 100% 委托日期 zh, " + so + " 100% 委托日期 zh, " + so + " 100% 委托日期 zh | alive 3"};
    QTest::newRow("zoom and language") << QStringList{"open 22 1", "zoomIn 2", "language_en", "open 22 2", "zoomOut 10", "language_zh", "zoomIn 30", "open 23 2"}
                                       << QStringList{so + " 100% 委托日期 zh | alive 1", so + " 120% 委托日期 zh | alive 1", so + " 120% 委托日期 zh | alive 1",
                                                      so + " 120% 委托日期 zh, " + co + " 120% Order date en | alive 2", so + " 50% 委托日期 zh, " + co + " 50% Order date en | alive 2",
                                                      so + " 50% 委托日期 zh, " + co + " 50% Order date en | alive 2", so + " 300% 委托日期 zh, " + co + " 300% Order date en | alive 2",
                                                      so + " 300% 委托日期 zh, " + co + " 300% Order date en, " + ct + " 300% 成交日期 zh | alive 3"};
}

// Each step as a user takes it, through the menus and the tabs' close buttons.
void tst_Client::window()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, states);
    ClientWindow& window = newWindow();
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("pageTabs"));
    QList<QPointer<QWidget>> pages; // every page shown, to see it deleted
    QStringList seen;
    for (const QString& step : steps) {
        const QStringList words = step.split(QLatin1Char(' '));
        Boxes boxes;
        if (words[0] == QLatin1String("open")) {
            const QString label = accounts->account(AccountKind(words[2].toInt()))->displayLabel();
            for (QAction* action : window.findChildren<QAction*>()) {
                if (action->text().endsWith(" (" + words[1] + ")") && static_cast<QMenu*>(action->parent())->title() == label)
                    action->trigger();
            }
        } else if (words[0] == QLatin1String("close")) {
            const auto side = QTabBar::ButtonPosition(tabs->style()->styleHint(QStyle::SH_TabBar_CloseButtonPosition));
            static_cast<QAbstractButton*>(tabs->tabBar()->tabButton(words[1].toInt(), side))->click();
        } else {
            for (int i = 0; i < words.value(1, QStringLiteral("1")).toInt(); ++i)
                window.findChild<QAction*>(words[0])->trigger();
        }
        QCoreApplication::processEvents(); // zoom reaches a page from its event loop
        QStringList shown;
        for (int tab = 0; tab < tabs->count(); ++tab) {
            auto* page = static_cast<ISubModuleWid*>(tabs->widget(tab));
            const PageWidgets widgets(page);
            pages << (pages.contains(page) ? nullptr : page);
            shown << QStringLiteral("%1 %2% %3 %4").arg(tabs->tabText(tab)).arg(page->zoomPercent).arg(widgets.headerTitles().value(0), widgets.beginDate->locale().name().left(2));
        }
        seen << (QStringList{shown.join(", "), "alive " + QString::number(pages.size() - pages.count(nullptr))} + boxes.texts).join(" | ");
    }
    QCOMPARE(seen, states);
}

void tst_Client::serviceFault_data()
{
    QTest::addColumn<QString>("control"); // on the service panel, clicked again to end the fault
    QTest::addColumn<QString>("message");
    QTest::newRow("disconnected") << "connected"
                                  << "增值服务未连接，请稍后重试或重启客户端。";
    QTest::newRow("logged out") << "loggedIn"
                                << "增值服务未登录，请稍后重试或重启客户端。";
    QTest::newRow("busy") << "busy"
                          << "上次查询正在进行中，请稍后重试。";
    QTest::newRow("failed answer") << "failNextAnswer"
                                   << "历史资金查询失败\n错误号: 4242\n错误信息: Simulated outage";
}

// The panel sets the service's numbers. A fault set on it reaches the page's next
// query; once over (a failed answer fails once), the page loads what the panel asks for.
void tst_Client::serviceFault()
{
    QFETCH(QString, control);
    QFETCH(QString, message);
    ClientWindow& window = newWindow();
    ValueAddedService* service = accounts->service();
    for (const auto& [spin, value] : {std::pair("latency", 1), {"batchSize", 8}, {"recordsPerKind", 37}, {"historyDays", 45}})
        window.findChild<QSpinBox*>(spin)->setValue(value);
    QCOMPARE(QList<int>({service->latencyMs(), service->batchSize(), service->recordsPerKind(), service->historyDays()}), QList<int>({1, 8, 37, 45}));
    window.findChild<QSpinBox*>(QStringLiteral("failErrorId"))->setValue(4242);
    window.findChild<QLineEdit*>(QStringLiteral("failErrorText"))->setText(QStringLiteral("Simulated outage"));
    const PageWidgets page(open(PageType::Capital, AccountKind::Credit));
    page.beginDate->setDate(service->referenceDate().addDays(-45));
    auto* button = window.findChild<QAbstractButton*>(control);
    Boxes boxes;
    button->click();
    page.query->click();
    QTRY_COMPARE(boxes.texts, QStringList{message});
    QVERIFY(page.rowCount() == 0 && !page.table->isSortingEnabled());
    if (control != QLatin1String("failNextAnswer"))
        button->click();
    QTRY_VERIFY(page.query->isEnabled());
    page.query->click();
    QTRY_COMPARE(page.rowCount(), 37);
    QTRY_VERIFY(page.table->isSortingEnabled());
    QCOMPARE(boxes.texts.size(), 1);
    service->setLatencyMs(0);
    service->setHistoryDays(30);
}

void tst_Client::demo_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("accountType");
    QTest::addColumn<int>("columns"); // shown by default
    const int columns[] = {14, 11, 13, 21, 11, 11, 11, 12};
    for (const ClientAccount& account : accounts->accounts()) {
        for (int i = 0; i < PageCatalog::pages().size(); ++i) {
            const PageKind& kind = PageCatalog::pages().at(i);
            QTest::newRow(qPrintable(account.name + '-' + kind.name)) << int(kind.code) << int(account.accountType) << columns[i];
        }
    }
}

// One run of the demo, in English, with a column choice in the user's own settings that it must
// neither pick up nor change: each page's line, its CSV file with the header of the page as the
// window shows it and every row, and its screenshot.
void tst_Client::demo()
{
    QFETCH(int, code);
    QFETCH(int, accountType);
    QFETCH(int, columns);
    const QString config = work.filePath(QStringLiteral("user-config"));
    if (demoRun.isEmpty()) {
        const ScopedSettingsLocation user(config);
        TableHeader::saveColumnChoice(QStringLiteral("THStockHistoryOrder"), {0});
        demoRun = run({"--demo", work.filePath(demoFolder), "--language", "en", "--records", "150", "--batch", "100"}, config);
        demoOut += QStringLiteral("settings: %1 %2").arg(QSettings().allKeys().join(QLatin1Char(' '))).arg(TableHeader::savedColumnChoice(QStringLiteral("THStockHistoryOrder")).value(0, -1));
    }
    QVERIFY2(demoRun.startsWith(QLatin1String("0 | ")) && !demoOut.contains(QLatin1String("FAILED")), qPrintable(demoOut));
    QCOMPARE(lines(demoOut).constLast(), QStringLiteral("settings: TableHeader/THStockHistoryOrder 0"));
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    const PageType page = PageType(code);
    const AccountKind kind = AccountKind(accountType);
    const int rows = page == PageType::CreditDebt && kind == AccountKind::Stock ? 0 : 150; // no margin debts on a stock account
    const QRegularExpression line(QStringLiteral("^%1 +%2 +%3 rows ").arg(tag.section('-', 1), tag.section('-', 0, 0)).arg(rows));
    QVERIFY2(lines(demoOut).filter(line).size() == 1, qPrintable(demoOut));

    QVERIFY(language->setLanguage(LanguageSwitcher::english()));
    newWindow();
    const QStringList titles = PageWidgets(open(page, kind)).headerTitles();
    QCOMPARE(titles.size(), columns);
    QFile file(work.filePath(demoFolder + QStringLiteral("/%1.csv").arg(tag)));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList csv = lines(QString::fromUtf8(file.readAll()));
    QCOMPARE(csv.value(0), titles.join(QLatin1Char(',')) + QLatin1Char(','));
    QCOMPARE(csv.size(), rows + 1);
    for (const QString& row : csv)
        QVERIFY2(row.count(QLatin1Char(',')) >= titles.size(), qPrintable(row));
    const QImage screenshot(work.filePath(demoFolder + QStringLiteral("/%1.png").arg(tag)));
    QVERIFY(screenshot.width() > 200 && screenshot.height() > 100);
}

QTEST_MAIN(tst_Client)
// The Columns... dialog learns each set's columns by opening throw-away pages: the defaults first,
// in their order, then every other id once. "key shown+hidden" per set.
void tst_Client::columnProbe()
{
    ColumnProbe probe(plugin, *accounts);
    QStringList sets;
    for (const ColumnSetEntry& set : PageCatalog::columnSets()) {
        QStringList shown, hidden;
        QSet<int> ids;
        for (const ColumnInfo& column : probe.columns(set)) {
            (column.shown ? shown : hidden) << column.title;
            ids << column.id;
        }
        sets << QStringLiteral("%1 %2+%3%4").arg(set.key).arg(shown.size()).arg(hidden.size()).arg(ids.size() == shown.size() + hidden.size() ? "" : " (an id twice)");
    }
    QVERIFY(matchesApproved(QStringLiteral("client/columns.txt"), sets));
}

#include "tst_client.moc"
