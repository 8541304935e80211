// The trading-client host as a user meets it: its window driving the module's pages in this
// process, and the executable: the headless demo on a small data set, its refusals of an
// unusable module library and of a bad command line.

#include "ClientAccounts.h"
#include "ClientOptions.h"
#include "ClientWindow.h"
#include "ColumnChoiceDialog.h"
#include "ColumnProbe.h"
#include "HistoryPlugin.h"
#include "ISubModuleWid.h"
#include "LanguageSwitcher.h"
#include "PageCatalog.h"
#include "PageWidgets.h"
#include "SettingsLocation.h"
#include "TableHeader.h"
#include "UserData.h"
#include "service/ValueAddedService.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <functional>
#include <memory>

using namespace VEK_SC_Space;

namespace {

// Documented exit codes of history-client.
constexpr int OkExit = 0;
constexpr int UsageExit = 2;
constexpr int PluginMissingExit = 3;
constexpr int FactoryMissingExit = 4;

// More than one batch and more than one model page, so that the demo pages in and loads all.
constexpr int DemoRecords = 150;
constexpr int DemoBatch = 100;

const char ColumnContext[] = "VEK_SC_Space::TableHeader";

// What every page shows with no column choice saved.
struct PageCase
{
    int code;
    const char* name;
    const char* firstTitle;
    int defaultColumns;
};

const PageCase pageCases[] = {
    {22, "orders", "委托日期", 14},
    {23, "trades", "成交日期", 11},
    {51, "debts", "交易日期", 13},
    {52, "delivery", "成交日期", 21},
    {53, "capital", "交易日", 11},
    {54, "fundflows", "交易日", 11},
    {55, "positions", "交易日", 11},
    {56, "profit", "证券代码", 12},
};

// Records a page of the demo ends up with: the service holds no margin debts for a stock
// account, and the margin-debt page collects none there.
int demoRows(int accountType, const PageCase& page)
{
    return accountType == 1 && page.code == 51 ? 0 : DemoRecords;
}

// One row per page of each account, named "account-page" as the demo names its files.
template <typename AddRow>
void forEachPage(AddRow addRow)
{
    for (int accountType : {1, 2}) {
        for (const PageCase& page : pageCases) {
            const QString name = QStringLiteral("%1-%2").arg(accountType == 1 ? QLatin1String("stock") : QLatin1String("credit"),
                                                             QLatin1String(page.name));
            addRow(name, accountType, page);
        }
    }
}

struct ClientRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

ClientRun runClient(const QStringList& arguments,
                    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    // In a sanitizer build, full stacks at every allocation would slow the client's demo tenfold;
    // its leaks are still reported, with shorter stacks.
    QProcessEnvironment clientEnvironment = environment;
    if (clientEnvironment.contains(QStringLiteral("ASAN_OPTIONS")))
        clientEnvironment.insert(QStringLiteral("ASAN_OPTIONS"),
                                 clientEnvironment.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":fast_unwind_on_malloc=1"));
    QProcess process;
    process.setProcessEnvironment(clientEnvironment);
    process.start(QStringLiteral(CLIENT_EXECUTABLE), arguments);
    ClientRun run;
    if (!process.waitForFinished(240000)) {
        process.kill();
        process.waitForFinished();
        run.err = QStringLiteral("client did not finish");
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

// "account-page" -> rows, from the demo's lines "page account rows rows seconds s".
QMap<QString, int> demoLines(const QString& out)
{
    static const QRegularExpression line(QStringLiteral("^(\\w+)\\s+(stock|credit)\\s+(\\d+) rows\\s+([\\d.]+) s$"));
    QMap<QString, int> rows;
    for (const QString& text : out.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = line.match(text);
        if (match.hasMatch())
            rows.insert(match.captured(2) + QLatin1Char('-') + match.captured(1), match.captured(3).toInt());
    }
    return rows;
}

QStringList fileLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

// A CSV line of the module's export: every value followed by a comma.
QString csvLine(const QStringList& values)
{
    QString line;
    for (const QString& value : values)
        line += value + QLatin1Char(',');
    return line;
}

bool hasHanCharacter(const QStringList& texts)
{
    for (const QString& text : texts) {
        for (const QChar c : text) {
            if (c.script() == QChar::Script_Han)
                return true;
        }
    }
    return false;
}

// Presses the button with the given text on every message box that comes up, and keeps the
// boxes' texts. Closes any other modal window after a few seconds, so a test fails instead of
// hanging.
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(QString buttonText)
        : buttonText(std::move(buttonText))
    {
        clock.start();
        connect(&poll, &QTimer::timeout, this, &BoxAnswerer::answer);
        poll.start(10);
    }

    QStringList texts;

private:
    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            for (QAbstractButton* button : box->buttons()) {
                if (button->text().remove(QLatin1Char('&')) == buttonText) {
                    texts << box->text();
                    button->click();
                    return;
                }
            }
        }
        if (clock.elapsed() > 5000)
            modal->close();
    }

    QString buttonText;
    QTimer poll;
    QElapsedTimer clock;
};

const ColumnSetEntry* columnSet(const QList<ColumnSetEntry>& sets, const QString& key)
{
    for (const ColumnSetEntry& set : sets) {
        if (set.key == key)
            return &set;
    }
    return nullptr;
}

} // namespace

class tst_Client : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    // The window, in this process.
    void openPage_data();
    void openPage();
    void refusedPage_data();
    void refusedPage();
    void closingTabDeletesPage();
    void zoomReachesOpenAndLaterPages();
    void languageAppliesToLaterPages();
    void serviceSwitchesReachPages_data();
    void serviceSwitchesReachPages();
    void serviceNumbers_data();
    void serviceNumbers();
    void pageLoadsWhatThePanelSet();
    void failNextAnswer();
    void columnProbe_data();
    void columnProbe();
    void columnChoiceAppliesToLaterPages();

    // The command line, parsed in this process.
    void parseOptions_data();
    void parseOptions();
    void headless_data();
    void headless();
    void readmeListsTheOptions();

    // The executable.
    void demoRunsEveryPage();
    void demoPage_data();
    void demoPage();
    void demoInEnglish();
    void refusedLibrary_data();
    void refusedLibrary();
    void commandLine_data();
    void commandLine();

private:
    ClientWindow* newWindow();
    QTabWidget* tabs() const;
    ISubModuleWid* openPage(ClientWindow& window, int code, int accountType);
    QStringList defaultTitles(int code, int accountType) const;
    void runDemo();

    QTemporaryDir work;
    HistoryPlugin plugin;
    std::unique_ptr<ClientAccounts> accounts;
    std::unique_ptr<LanguageSwitcher> language;
    std::unique_ptr<ClientWindow> window;
    int defaultHistoryDays = 0;

    bool demoRan = false;
    ClientRun demo;
    QString userConfig;
    QMap<QString, int> rowsByPage;   // "account-page" -> rows the demo printed
};

void tst_Client::initTestCase()
{
    QVERIFY(work.isValid());
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QCoreApplication::setOrganizationName(QStringLiteral("VEK"));
    QCoreApplication::setApplicationName(QStringLiteral("history-client"));
    SettingsLocation::use(work.filePath(QStringLiteral("config")));

    QCOMPARE(plugin.load(HistoryPlugin::defaultPath()), VEK_SC_Space::ExitOk);
    accounts = std::make_unique<ClientAccounts>();
    defaultHistoryDays = accounts->service()->historyDays();
    language = std::make_unique<LanguageSwitcher>();
}

void tst_Client::init()
{
    QLocale::setDefault(QLocale::c());
    window.reset();
    QVERIFY(language->setLanguage(LanguageSwitcher::chinese()));
    accounts->setConnected(true);
    accounts->setLoggedIn(true);
    ValueAddedService* service = accounts->service();
    service->setBusy(false);
    service->setRecordsPerKind(DemoRecords);
    service->setBatchSize(DemoBatch);
    service->setLatencyMs(0);
    service->setHistoryDays(defaultHistoryDays);
}

void tst_Client::cleanupTestCase()
{
    window.reset();
    language.reset();
    accounts.reset();
}

ClientWindow* tst_Client::newWindow()
{
    window = std::make_unique<ClientWindow>(plugin, *accounts, *language);
    return window.get();
}

QTabWidget* tst_Client::tabs() const
{
    return window ? window->findChild<QTabWidget*>(QStringLiteral("pageTabs")) : nullptr;
}

ISubModuleWid* tst_Client::openPage(ClientWindow& clientWindow, int code, int accountType)
{
    const PageKind* kind = PageCatalog::page(code);
    const ClientAccount* account = accounts->account(accountType);
    return kind && account ? clientWindow.openPage(*kind, *account) : nullptr;
}

// The column titles of a freshly set-up page, straight from the module.
QStringList tst_Client::defaultTitles(int code, int accountType) const
{
    const std::unique_ptr<ISubModuleWid> page(plugin.createPage(accounts->account(accountType)->key, code, nullptr));
    if (!page)
        return {};
    page->initSubModule();
    return PageWidgets(page.get()).headerTitles();
}

void tst_Client::openPage_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("accountType");
    QTest::addColumn<QString>("firstTitle");
    QTest::addColumn<int>("columns");
    forEachPage([](const QString& name, int accountType, const PageCase& page) {
        QTest::newRow(qPrintable(name)) << page.code << accountType << QString::fromUtf8(page.firstTitle)
                                        << page.defaultColumns;
    });
}

void tst_Client::openPage()
{
    QFETCH(int, code);
    QFETCH(int, accountType);
    QFETCH(QString, firstTitle);
    QFETCH(int, columns);

    ClientWindow* clientWindow = newWindow();
    QVERIFY(tabs());
    ISubModuleWid* page = openPage(*clientWindow, code, accountType);
    QVERIFY(page);
    QCOMPARE(tabs()->count(), 1);
    QCOMPARE(tabs()->currentWidget(), page);
    QVERIFY(tabs()->tabText(0).contains(PageCatalog::page(code)->displayLabel()));
    QVERIFY(tabs()->tabText(0).contains(accounts->account(accountType)->investorId));

    // Initialised: the column set is on the table.
    const QStringList titles = PageWidgets(page).headerTitles();
    QCOMPARE(titles.size(), columns);
    QCOMPARE(titles.constFirst(), firstTitle);
}

void tst_Client::refusedPage_data()
{
    QTest::addColumn<int>("openFirst");   // 0: nothing
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("label");   // named in the message

    QTest::newRow("unknown page type") << 0 << 99 << QStringLiteral("Unknown");
    QTest::newRow("second orders page") << 22 << 22 << PageCatalog::page(22)->displayLabel();
    QTest::newRow("second margin-debt page") << 51 << 51 << PageCatalog::page(51)->displayLabel();
}

void tst_Client::refusedPage()
{
    QFETCH(int, openFirst);
    QFETCH(int, code);
    QFETCH(QString, label);

    ClientWindow* clientWindow = newWindow();
    const ClientAccount& account = *accounts->account(2);
    QPointer<ISubModuleWid> first = openFirst ? openPage(*clientWindow, openFirst, 2) : nullptr;
    QCOMPARE(bool(first), openFirst != 0);
    const int open = tabs()->count();

    const PageKind unknown{99, QStringLiteral("unknown"), "Unknown", HistoryKind::Order, QStringLiteral("x"), QStringLiteral("x")};
    const PageKind& kind = code == 99 ? unknown : *PageCatalog::page(code);
    BoxAnswerer answerer(QStringLiteral("OK"));
    QVERIFY(!clientWindow->openPage(kind, account));
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY2(answerer.texts.constFirst().contains(label), qPrintable(answerer.texts.constFirst()));
    QVERIFY2(answerer.texts.constFirst().contains(account.displayLabel()), qPrintable(answerer.texts.constFirst()));
    QCOMPARE(tabs()->count(), open);
    QCOMPARE(bool(first), openFirst != 0);
}

void tst_Client::closingTabDeletesPage()
{
    ClientWindow* clientWindow = newWindow();
    QPointer<ISubModuleWid> orders = openPage(*clientWindow, 22, 1);
    QPointer<ISubModuleWid> trades = openPage(*clientWindow, 23, 1);
    QVERIFY(orders && trades);

    QTabBar* bar = tabs()->tabBar();
    const auto side = QTabBar::ButtonPosition(bar->style()->styleHint(QStyle::SH_TabBar_CloseButtonPosition, nullptr, bar));
    auto* close = qobject_cast<QAbstractButton*>(bar->tabButton(tabs()->indexOf(orders), side));
    QVERIFY(close);
    close->click();
    QVERIFY(orders.isNull());
    QVERIFY(trades);
    QCOMPARE(tabs()->count(), 1);

    // The account's orders page is free again.
    QVERIFY(openPage(*clientWindow, 22, 1));
}

void tst_Client::zoomReachesOpenAndLaterPages()
{
    ClientWindow* clientWindow = newWindow();
    ISubModuleWid* first = openPage(*clientWindow, 22, 1);
    QVERIFY(first);
    auto* zoomIn = clientWindow->findChild<QAction*>(QStringLiteral("zoomIn"));
    auto* zoomOut = clientWindow->findChild<QAction*>(QStringLiteral("zoomOut"));
    auto* zoomReset = clientWindow->findChild<QAction*>(QStringLiteral("zoomReset"));
    QVERIFY(zoomIn && zoomOut && zoomReset);

    zoomIn->trigger();
    zoomIn->trigger();
    QTRY_COMPARE(first->zoomPercent, 120);
    ISubModuleWid* second = openPage(*clientWindow, 23, 2);
    QVERIFY(second);
    QTRY_COMPARE(second->zoomPercent, 120);

    zoomReset->trigger();
    QTRY_COMPARE(first->zoomPercent, 100);
    QTRY_COMPARE(second->zoomPercent, 100);

    for (int i = 0; i < 10; ++i)
        zoomOut->trigger();
    QTRY_COMPARE(first->zoomPercent, 50);
}

void tst_Client::languageAppliesToLaterPages()
{
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(":/i18n/SubModule_HistoryRecord_en.qm")));

    ClientWindow* clientWindow = newWindow();
    auto* toEnglish = clientWindow->findChild<QAction*>(QStringLiteral("language_en"));
    auto* toChinese = clientWindow->findChild<QAction*>(QStringLiteral("language_zh"));
    QVERIFY(toEnglish && toChinese);
    QVERIFY(toChinese->isChecked());
    QPointer<ISubModuleWid> before = openPage(*clientWindow, 22, 1);
    QVERIFY(before);
    const QStringList chinese = PageWidgets(before).headerTitles();

    toEnglish->trigger();
    QVERIFY(toEnglish->isChecked());
    QVERIFY(!toChinese->isChecked());
    QCOMPARE(language->language(), LanguageSwitcher::english());
    // Pages already open keep their language.
    QCOMPARE(PageWidgets(before).headerTitles(), chinese);

    ISubModuleWid* after = openPage(*clientWindow, 22, 2);
    QVERIFY(after);
    QStringList expected;
    for (const QString& title : chinese)
        expected << english.translate(ColumnContext, title.toUtf8().constData());
    QCOMPARE(PageWidgets(after).headerTitles(), expected);
    QVERIFY(!hasHanCharacter(expected));
    QCOMPARE(PageWidgets(after).query->text(), english.translate("HistoryRecordWid", "查   询"));
    QCOMPARE(PageWidgets(after).beginDate->locale().language(), QLocale::English);

    toChinese->trigger();
    QVERIFY(toChinese->isChecked());
    delete before;
    ISubModuleWid* again = openPage(*clientWindow, 22, 1);
    QVERIFY(again);
    QCOMPARE(PageWidgets(again).headerTitles(), chinese);
    QCOMPARE(PageWidgets(again).beginDate->locale().language(), QLocale::Chinese);
}

void tst_Client::serviceSwitchesReachPages_data()
{
    QTest::addColumn<QString>("switchName");
    QTest::addColumn<QString>("message");
    QTest::newRow("disconnected") << QStringLiteral("connected")
                                  << QStringLiteral("增值服务未连接，请稍后重试或重启客户端。");
    QTest::newRow("logged out") << QStringLiteral("loggedIn") << QStringLiteral("增值服务未登录，请稍后重试或重启客户端。");
    QTest::newRow("busy") << QStringLiteral("busy") << QStringLiteral("上次查询正在进行中，请稍后重试。");
}

void tst_Client::serviceSwitchesReachPages()
{
    QFETCH(QString, switchName);
    QFETCH(QString, message);

    ClientWindow* clientWindow = newWindow();
    auto* serviceSwitch = clientWindow->findChild<QCheckBox*>(switchName);
    QVERIFY(serviceSwitch);
    ISubModuleWid* page = openPage(*clientWindow, 22, 2);
    QVERIFY(page);
    const PageWidgets widgets(page);

    serviceSwitch->click();
    {
        BoxAnswerer answerer(QStringLiteral("确定"));
        widgets.query->click();
        QCOMPARE(answerer.texts, QStringList{message});
    }

    // Switched back, the same page queries.
    serviceSwitch->click();
    BoxAnswerer answerer(QStringLiteral("确定"));
    QTRY_VERIFY(widgets.query->isEnabled());
    widgets.query->click();
    QTRY_VERIFY(widgets.rowCount() > 0);
    QVERIFY(answerer.texts.isEmpty());
}

void tst_Client::serviceNumbers_data()
{
    QTest::addColumn<QString>("spinName");
    QTest::addColumn<int>("value");
    QTest::newRow("answer delay") << QStringLiteral("latency") << 35;
    QTest::newRow("batch size") << QStringLiteral("batchSize") << 77;
    QTest::newRow("records per kind") << QStringLiteral("recordsPerKind") << 1000000;
    QTest::newRow("days of history") << QStringLiteral("historyDays") << 45;
}

void tst_Client::serviceNumbers()
{
    QFETCH(QString, spinName);
    QFETCH(int, value);

    const ValueAddedService* service = accounts->service();
    const QMap<QString, std::function<int()>> setting = {
        {QStringLiteral("latency"), [service] { return service->latencyMs(); }},
        {QStringLiteral("batchSize"), [service] { return service->batchSize(); }},
        {QStringLiteral("recordsPerKind"), [service] { return service->recordsPerKind(); }},
        {QStringLiteral("historyDays"), [service] { return service->historyDays(); }},
    };
    QVERIFY(setting.contains(spinName));
    ClientWindow* clientWindow = newWindow();
    auto* spin = clientWindow->findChild<QSpinBox*>(spinName);
    QVERIFY(spin);
    QCOMPARE(spin->value(), setting[spinName]());
    QVERIFY(spin->value() != value);
    spin->setValue(value);
    // Each box sets its own number and no other.
    for (auto it = setting.cbegin(); it != setting.cend(); ++it) {
        if (it.key() == spinName)
            QCOMPARE(it.value()(), value);
        else
            QCOMPARE(it.value()(), clientWindow->findChild<QSpinBox*>(it.key())->value());
    }
}

void tst_Client::pageLoadsWhatThePanelSet()
{
    ClientWindow* clientWindow = newWindow();
    auto* records = clientWindow->findChild<QSpinBox*>(QStringLiteral("recordsPerKind"));
    auto* batch = clientWindow->findChild<QSpinBox*>(QStringLiteral("batchSize"));
    QVERIFY(records && batch);
    records->setValue(37);
    batch->setValue(8);

    ISubModuleWid* page = openPage(*clientWindow, 53, 2);
    QVERIFY(page);
    const PageWidgets widgets(page);
    BoxAnswerer answerer(QStringLiteral("确定"));
    widgets.beginDate->setDate(accounts->service()->referenceDate().addDays(-accounts->service()->historyDays()));
    widgets.query->click();
    QTRY_COMPARE(widgets.rowCount(), 37);
    QTRY_VERIFY(widgets.table->isSortingEnabled());
    QVERIFY(answerer.texts.isEmpty());
}

void tst_Client::failNextAnswer()
{
    ClientWindow* clientWindow = newWindow();
    auto* fail = clientWindow->findChild<QPushButton*>(QStringLiteral("failNextAnswer"));
    auto* errorId = clientWindow->findChild<QSpinBox*>(QStringLiteral("failErrorId"));
    auto* errorText = clientWindow->findChild<QLineEdit*>(QStringLiteral("failErrorText"));
    QVERIFY(fail && errorId && errorText);
    ISubModuleWid* page = openPage(*clientWindow, 53, 1);
    QVERIFY(page);
    const PageWidgets widgets(page);

    errorId->setValue(4242);
    errorText->setText(QStringLiteral("Simulated outage"));
    fail->click();
    BoxAnswerer answerer(QStringLiteral("确定"));
    widgets.query->click();
    QTRY_COMPARE(answerer.texts.size(), 1);
    const QString text = answerer.texts.constFirst();
    QVERIFY2(text.contains(QLatin1String("4242")) && text.contains(QLatin1String("Simulated outage")), qPrintable(text));
    QCOMPARE(widgets.rowCount(), 0);

    // Only the next answer fails.
    QTRY_VERIFY(widgets.query->isEnabled());
    widgets.query->click();
    QTRY_VERIFY(widgets.rowCount() > 0);
    QCOMPARE(answerer.texts.size(), 1);
}

void tst_Client::columnProbe_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("firstTitle");
    QTest::addColumn<QList<int>>("ids");          // every id of the set, ascending
    QTest::addColumn<QList<int>>("hiddenIds");    // registered but not shown by default

    const auto range = [](int count, QList<int> without = {}) {
        QList<int> ids;
        for (int id = 0; id < count; ++id) {
            if (!without.contains(id))
                ids << id;
        }
        return ids;
    };
    // Sets with a column hidden by default, with a gap in the ids, and registered out of id order;
    // every set is probed the same way.
    const QStringList probed = {QStringLiteral("THStockHistoryOrder"), QStringLiteral("THCreditHistoryTrade"),
                                QStringLiteral("THCreditHistoryDebt"), QStringLiteral("THCreditHistoryCapital")};
    const QList<ColumnSetEntry> sets = PageCatalog::columnSets();
    QCOMPARE(sets.size(), 15);
    for (const ColumnSetEntry& set : sets) {
        if (!probed.contains(set.key))
            continue;
        const PageCase* page = nullptr;
        for (const PageCase& candidate : pageCases) {
            if (candidate.code == set.page->code)
                page = &candidate;
        }
        QVERIFY(page);
        QList<int> hidden;
        if (set.page->code == 22)
            hidden = {6};
        else if (set.page->code == 23)
            hidden = {7};
        const QList<int> ids = set.page->code == 51 ? range(14, {10}) : range(page->defaultColumns + hidden.size());
        QTest::newRow(qPrintable(set.key)) << set.key << QString::fromUtf8(page->firstTitle) << ids << hidden;
    }
}

void tst_Client::columnProbe()
{
    QFETCH(QString, key);
    QFETCH(QString, firstTitle);
    QFETCH(QList<int>, ids);
    QFETCH(QList<int>, hiddenIds);

    // A choice of the user's own, which probing must leave alone.
    TableHeader::saveColumnChoice(key, {1, 0});
    const QList<ColumnSetEntry> sets = PageCatalog::columnSets();
    ColumnProbe probe(plugin, *accounts);
    const QList<ColumnInfo> columns = probe.columns(*columnSet(sets, key));
    QCOMPARE(TableHeader::savedColumnChoice(key), (QList<int>{1, 0}));
    TableHeader::clearColumnChoice(key);

    QList<int> found;
    QList<int> hidden;
    QStringList shownTitles;
    for (const ColumnInfo& column : columns) {
        found << column.id;
        QVERIFY2(!column.title.isEmpty(), qPrintable(QString::number(column.id)));
        if (column.shown) {
            QVERIFY2(hidden.isEmpty(), "shown columns come first");
            shownTitles << column.title;
        } else {
            hidden << column.id;
        }
    }
    // The shown ones are what a page shows by default, in its order.
    const ColumnSetEntry* set = columnSet(sets, key);
    QCOMPARE(shownTitles, defaultTitles(set->page->code, set->accountType));
    QVERIFY(!columns.isEmpty());
    QCOMPARE(columns.constFirst().title, firstTitle);
    std::sort(found.begin(), found.end());
    QCOMPARE(found, ids);
    QCOMPARE(hidden, hiddenIds);
}

void tst_Client::columnChoiceAppliesToLaterPages()
{
    const QString key = QStringLiteral("THStockHistoryTrade");
    ColumnProbe probe(plugin, *accounts);
    ColumnChoiceDialog dialog(probe);
    auto* chooser = dialog.findChild<QComboBox*>(QStringLiteral("columnSet"));
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("columnList"));
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    QVERIFY(chooser && list && buttons);
    const int index = chooser->findText(key, Qt::MatchContains);
    QVERIFY(index >= 0);
    chooser->setCurrentIndex(index);
    QCOMPARE(list->count(), 12);

    // Keep the third and the first column, the third in front, as a user ticking and dragging.
    for (int row = 0; row < list->count(); ++row)
        list->item(row)->setCheckState(row == 0 || row == 2 ? Qt::Checked : Qt::Unchecked);
    list->insertItem(0, list->takeItem(2));
    const QList<int> chosen = {list->item(0)->data(Qt::UserRole).toInt(), list->item(1)->data(Qt::UserRole).toInt()};
    const QStringList chosenTitles = {list->item(0)->text(), list->item(1)->text()};
    buttons->button(QDialogButtonBox::Save)->click();
    QCOMPARE(TableHeader::savedColumnChoice(key), chosen);

    ClientWindow* clientWindow = newWindow();
    ISubModuleWid* page = openPage(*clientWindow, 23, 1);
    QVERIFY(page);
    QCOMPARE(PageWidgets(page).headerTitles(), chosenTitles);

    buttons->button(QDialogButtonBox::RestoreDefaults)->click();
    QVERIFY(TableHeader::savedColumnChoice(key).isEmpty());
    QCOMPARE(list->item(0)->checkState(), Qt::Checked);
    QCOMPARE(list->item(list->count() - 1)->checkState(), Qt::Unchecked);
}

void tst_Client::parseOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("plugin");
    QTest::addColumn<QString>("demoDir");     // empty: no demo asked for
    QTest::addColumn<QString>("language");
    QTest::addColumn<int>("records");
    QTest::addColumn<int>("batch");
    QTest::addColumn<int>("latency");

    QTest::newRow("defaults") << QStringList{} << QString() << QString() << QStringLiteral("zh")
                              << ClientOptions::DefaultRecords << ClientOptions::DefaultBatch << 0;
    QTest::newRow("everything") << QStringList{QStringLiteral("--plugin"), QStringLiteral("/x/lib.so"),
                                               QStringLiteral("--demo"), QStringLiteral("out"),
                                               QStringLiteral("--language"), QStringLiteral("en"),
                                               QStringLiteral("--records"), QStringLiteral("1000000"),
                                               QStringLiteral("--batch"), QStringLiteral("3"),
                                               QStringLiteral("--latency"), QStringLiteral("40")}
                                << QStringLiteral("/x/lib.so") << QStringLiteral("out") << QStringLiteral("en")
                                << 1000000 << 3 << 40;
    QTest::newRow("no records") << QStringList{QStringLiteral("--records=0")} << QString() << QString()
                                << QStringLiteral("zh") << 0 << ClientOptions::DefaultBatch << 0;
}

void tst_Client::parseOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, plugin);
    QFETCH(QString, demoDir);
    QFETCH(QString, language);
    QFETCH(int, records);
    QFETCH(int, batch);
    QFETCH(int, latency);

    const ClientOptions options = ClientOptions::parse(QStringList{QStringLiteral("history-client")} + arguments);
    QCOMPARE(options.error, QString());
    QVERIFY(!options.help);
    QCOMPARE(options.pluginPath, plugin);
    QCOMPARE(options.demoRequested, !demoDir.isEmpty());
    if (!demoDir.isEmpty())
        QCOMPARE(options.demoDir, demoDir);
    QCOMPARE(options.language, language);
    QCOMPARE(options.records, records);
    QCOMPARE(options.batch, batch);
    QCOMPARE(options.latencyMs, latency);
}

void tst_Client::headless_data()
{
    QTest::addColumn<QString>("platform");   // QT_QPA_PLATFORM; empty: unset
    QTest::addColumn<QString>("display");    // DISPLAY
    QTest::addColumn<QString>("wayland");    // WAYLAND_DISPLAY
    QTest::addColumn<bool>("demo");          // --demo given
    QTest::addColumn<bool>("headless");

    QTest::newRow("X display") << QString() << QStringLiteral(":0") << QString() << false << false;
    QTest::newRow("Wayland display") << QString() << QString() << QStringLiteral("wayland-0") << false << false;
    QTest::newRow("no display") << QString() << QString() << QString() << false << true;
    QTest::newRow("xcb asked for, no display") << QStringLiteral("xcb") << QString() << QString() << false << true;
    QTest::newRow("offscreen asked for") << QStringLiteral("offscreen") << QStringLiteral(":0") << QString() << false << true;
    QTest::newRow("minimal asked for") << QStringLiteral("minimal") << QStringLiteral(":0") << QString() << false << true;
    QTest::newRow("demo on a display") << QString() << QStringLiteral(":0") << QString() << true << true;
}

void tst_Client::headless()
{
    QFETCH(QString, platform);
    QFETCH(QString, display);
    QFETCH(QString, wayland);
    QFETCH(bool, demo);
    QFETCH(bool, headless);

    // The platform is chosen before the application exists; this process runs offscreen already,
    // so only the environment that the decision reads is changed, and put back.
    const QList<QByteArray> names = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
    const QStringList values = {platform, display, wayland};
    QList<QPair<bool, QByteArray>> saved;
    for (int i = 0; i < names.size(); ++i) {
        saved.append({qEnvironmentVariableIsSet(names[i].constData()), qgetenv(names[i].constData())});
        if (values[i].isEmpty())
            qunsetenv(names[i].constData());
        else
            qputenv(names[i].constData(), values[i].toUtf8());
    }
    QStringList arguments{QStringLiteral("history-client")};
    if (demo)
        arguments << QStringLiteral("--demo") << QStringLiteral("out");
    const bool result = ClientOptions::parse(arguments).headless();
    for (int i = 0; i < names.size(); ++i) {
        if (saved[i].first)
            qputenv(names[i].constData(), saved[i].second);
        else
            qunsetenv(names[i].constData());
    }
    QCOMPARE(result, headless);
}

void tst_Client::readmeListsTheOptions()
{
    static const QRegularExpression option(QStringLiteral("--[a-z]+"));
    QStringList inHelp;
    for (const QString& line : ClientOptions::helpText().split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1Char('-')))
            inHelp << option.match(line).captured();
    }
    QStringList inReadme;
    for (const QString& line : fileLines(QStringLiteral(SOURCE_DIR "/README.md"))) {
        if (line.startsWith(QLatin1String("| `--")))
            inReadme << option.match(line).captured();
    }
    QVERIFY(inHelp.size() > 1);
    QCOMPARE(inReadme, inHelp);
}

void tst_Client::runDemo()
{
    if (demoRan)
        return;
    demoRan = true;

    // A column choice in the user's own settings, which the demo must neither pick up nor change.
    userConfig = work.filePath(QStringLiteral("user-config"));
    {
        const ScopedSettingsLocation settings(userConfig);
        TableHeader::saveColumnChoice(QStringLiteral("THStockHistoryOrder"), {0});
    }
    QVERIFY(QFile::exists(userConfig + QStringLiteral("/VEK/history-client.conf")));

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), userConfig);
    demo = runClient({QStringLiteral("--demo"), work.filePath(QStringLiteral("out")),
                      QStringLiteral("--records"), QString::number(DemoRecords),
                      QStringLiteral("--batch"), QString::number(DemoBatch)},
                     environment);
    rowsByPage = demoLines(demo.out);
}

void tst_Client::demoRunsEveryPage()
{
    runDemo();
    QVERIFY2(demo.exitCode == OkExit, qPrintable(demo.out + demo.err));
    // All eight pages of both accounts.
    QCOMPARE(rowsByPage.size(), 16);
    QVERIFY2(!demo.out.contains(QLatin1String("FAILED")), qPrintable(demo.out));
    QVERIFY(demo.out.contains(QDir::toNativeSeparators(work.filePath(QStringLiteral("out")))));

    const ScopedSettingsLocation settings(userConfig);
    QCOMPARE(TableHeader::savedColumnChoice(QStringLiteral("THStockHistoryOrder")), QList<int>{0});
    QCOMPARE(QSettings().allKeys().size(), 1);
}

void tst_Client::demoPage_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("accountType");
    QTest::addColumn<QString>("firstTitle");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    forEachPage([](const QString& name, int accountType, const PageCase& page) {
        QTest::newRow(qPrintable(name)) << name << page.code << accountType << QString::fromUtf8(page.firstTitle)
                                        << page.defaultColumns << demoRows(accountType, page);
    });
}

void tst_Client::demoPage()
{
    QFETCH(QString, file);
    QFETCH(int, code);
    QFETCH(int, accountType);
    QFETCH(QString, firstTitle);
    QFETCH(int, columns);
    QFETCH(int, rows);

    runDemo();
    QVERIFY2(rowsByPage.contains(file), "no line for the page in the demo's output");
    QCOMPARE(rowsByPage.value(file), rows);

    const QDir out(work.filePath(QStringLiteral("out")));
    const QStringList lines = fileLines(out.filePath(file + QStringLiteral(".csv")));
    QCOMPARE(lines.size(), rows + 1);
    // The header is the page's default columns, whatever the user chose in their own settings.
    const QStringList titles = defaultTitles(code, accountType);
    QCOMPARE(titles.size(), columns);
    QCOMPARE(titles.constFirst(), firstTitle);
    QCOMPARE(lines.constFirst(), csvLine(titles));
    for (const QString& row : lines.mid(1))
        QVERIFY2(row.endsWith(QLatin1Char(',')) && row.count(QLatin1Char(',')) >= columns, qPrintable(row));

    const QImage screenshot(out.filePath(file + QStringLiteral(".png")));
    QVERIFY(!screenshot.isNull());
    QVERIFY(screenshot.width() > 200 && screenshot.height() > 100);
}

void tst_Client::demoInEnglish()
{
    QTranslator english;
    QVERIFY(english.load(QStringLiteral(":/i18n/SubModule_HistoryRecord_en.qm")));
    const QString out = work.filePath(QStringLiteral("out-en"));
    const ClientRun run = runClient({QStringLiteral("--demo"), out, QStringLiteral("--language"), QStringLiteral("en"),
                                     QStringLiteral("--records"), QStringLiteral("0")});
    QVERIFY2(run.exitCode == OkExit, qPrintable(run.out + run.err));
    QCOMPARE(demoLines(run.out).size(), 16);

    QStringList expected;
    for (const QString& title : defaultTitles(52, 2))
        expected << english.translate(ColumnContext, title.toUtf8().constData());
    QVERIFY(!hasHanCharacter(expected));
    const QStringList lines = fileLines(QDir(out).filePath(QStringLiteral("credit-delivery.csv")));
    QCOMPARE(lines, QStringList{csvLine(expected)});
}

void tst_Client::refusedLibrary_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    const QString missing = work.filePath(QStringLiteral("libNoSuchModule.so"));
    QTest::newRow("missing library") << missing << PluginMissingExit
                                     << QStringLiteral("Cannot load the history module ") + missing;
    // A real library, but not the module: no factory in it.
    const QString baseLibrary = QFileInfo(QStringLiteral(CLIENT_EXECUTABLE)).dir().filePath(QStringLiteral("libVE_Base.so"));
    QTest::newRow("library without factory") << baseLibrary << FactoryMissingExit
                                             << QStringLiteral("has no function CreateISubModuleWid_HistoryRecordWid");
}

void tst_Client::refusedLibrary()
{
    QFETCH(QString, library);
    QFETCH(int, exitCode);
    QFETCH(QString, message);

    const ClientRun run = runClient({QStringLiteral("--plugin"), library,
                                     QStringLiteral("--demo"), work.filePath(QStringLiteral("refused"))});
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(message), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
}

void tst_Client::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");   // in stdout for success, stderr otherwise

    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << OkExit << QStringLiteral("--plugin <path>");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--frobnicate")} << UsageExit
                                    << QStringLiteral("frobnicate");
    QTest::newRow("records beyond a million") << QStringList{QStringLiteral("--records"), QStringLiteral("1000001")}
                                              << UsageExit << QStringLiteral("--records");
    QTest::newRow("batch not a number") << QStringList{QStringLiteral("--batch"), QStringLiteral("many")}
                                        << UsageExit << QStringLiteral("--batch");
    QTest::newRow("negative latency") << QStringList{QStringLiteral("--latency"), QStringLiteral("-5")}
                                      << UsageExit << QStringLiteral("--latency");
    QTest::newRow("unknown language") << QStringList{QStringLiteral("--language"), QStringLiteral("fr")}
                                      << UsageExit << QStringLiteral("--language");
    QTest::newRow("stray argument") << QStringList{QStringLiteral("orders")} << UsageExit << QStringLiteral("orders");
}

void tst_Client::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);

    const ClientRun run = runClient(arguments);
    QCOMPARE(run.exitCode, exitCode);
    const QString& text = exitCode == OkExit ? run.out : run.err;
    QVERIFY2(text.contains(message), qPrintable(run.out + run.err));
}

QTEST_MAIN(tst_Client)
#include "tst_client.moc"
