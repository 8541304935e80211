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

#include <QtTest>
#include <QtWidgets>

#include <algorithm>
#include <functional>
#include <iterator>
#include <memory>

using namespace VEK_SC_Space;

namespace {

// Documented exit codes of history-client.
constexpr int OkExit = 0, UsageExit = 2, PluginMissingExit = 3, FactoryMissingExit = 4;

// More than one batch and more than one model page, so that the demo pages in and loads all.
constexpr int DemoRecords = 150;
constexpr int DemoBatch = 100;

// What every page shows with no column choice saved.
struct PageCase
{
    int code;
    const char* name;
    const char* firstTitle;
    int defaultColumns;
};

const PageCase pageCases[] = {
    {22, "orders", "委托日期", 14},   {23, "trades", "成交日期", 11},  {51, "debts", "交易日期", 13},
    {52, "delivery", "成交日期", 21}, {53, "capital", "交易日", 11},   {54, "fundflows", "交易日", 11},
    {55, "positions", "交易日", 11},  {56, "profit", "证券代码", 12},
};

struct ClientRun
{
    int exitCode = -1;   // also for a crash or a client that does not finish
    QString out;
    QString err;
};

ClientRun runClient(const QStringList& arguments,
                    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment())
{
    // In a sanitizer build, full stacks at every allocation would slow the client's demo tenfold;
    // its leaks are still reported, with shorter stacks.
    const QString asan = QStringLiteral("ASAN_OPTIONS");
    if (environment.contains(asan))
        environment.insert(asan, environment.value(asan) + QStringLiteral(":fast_unwind_on_malloc=1"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(CLIENT_EXECUTABLE), arguments);
    const bool finished = process.waitForFinished(240000) && process.exitStatus() == QProcess::NormalExit;
    return {finished ? process.exitCode() : -1, QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
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
    if (lines.constLast().isEmpty())
        lines.removeLast();
    return lines;
}

// A CSV line of the module's export: every value followed by a comma.
QString csvLine(const QStringList& values)
{
    return values.join(QLatin1Char(',')) + QLatin1Char(',');
}

bool hasHanCharacter(const QStringList& texts)
{
    static const QRegularExpression han(QStringLiteral("\\p{Han}"));
    return texts.join(QLatin1Char(' ')).contains(han);
}

QStringList arguments(const QString& line)
{
    return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

// Presses the button with the given text on every message box that comes up, and keeps the
// boxes' texts. Closes any other modal window after a few seconds, so a test fails instead of
// hanging.
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(const QString& buttonText)
    {
        clock.start();
        connect(&poll, &QTimer::timeout, this, [this, buttonText] {
            QWidget* modal = QApplication::activeModalWidget();
            auto* box = qobject_cast<QMessageBox*>(modal);
            for (QAbstractButton* button : box ? box->buttons() : QList<QAbstractButton*>()) {
                if (button->text().remove(QLatin1Char('&')) == buttonText) {
                    texts << box->text();
                    button->click();
                    return;
                }
            }
            if (modal && clock.elapsed() > 5000)
                modal->close();
        });
        poll.start(10);
    }

    QStringList texts;

private:
    QTimer poll;
    QElapsedTimer clock;
};

} // namespace

class tst_Client : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    // Every page in the window, in this process, and in the executable's demo.
    void page_data();
    void page();

    // The window, in this process.
    void refusedPage_data();
    void refusedPage();
    void zoomReachesOpenAndLaterPages();
    void languageAppliesToLaterPages();
    void serviceFault_data();
    void serviceFault();
    void serviceNumbers();
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
    void demoInEnglish();
    void commandLine_data();
    void commandLine();

private:
    ClientWindow* newWindow();
    QTabWidget* tabs() const;
    ISubModuleWid* openPage(ClientWindow& window, int code, int accountType);
    QStringList defaultTitles(int code, int accountType) const;
    QStringList inEnglish(const QStringList& titles) const;
    void runDemo();

    QTemporaryDir work;
    HistoryPlugin plugin;
    QTranslator english;
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
    QVERIFY(english.load(QStringLiteral(":/i18n/SubModule_HistoryRecord_en.qm")));
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

QStringList tst_Client::inEnglish(const QStringList& titles) const
{
    QStringList translated;
    for (const QString& title : titles)
        translated << english.translate("VEK_SC_Space::TableHeader", title.toUtf8().constData());
    return translated;
}

// One row per page of each account, named "account-page" as the demo names its files.
void tst_Client::page_data()
{
    QTest::addColumn<int>("accountType");
    QTest::addColumn<int>("pageCase");   // index into pageCases
    for (int accountType : {1, 2}) {
        for (int i = 0; i < int(std::size(pageCases)); ++i) {
            const QString name = QLatin1String(accountType == 1 ? "stock-" : "credit-") + QLatin1String(pageCases[i].name);
            QTest::newRow(qPrintable(name)) << accountType << i;
        }
    }
}

void tst_Client::page()
{
    QFETCH(int, accountType);
    QFETCH(int, pageCase);
    const int code = pageCases[pageCase].code;
    const int columns = pageCases[pageCase].defaultColumns;
    // The service holds no margin debts for a stock account.
    const int rows = accountType == 1 && code == 51 ? 0 : DemoRecords;

    ClientWindow* clientWindow = newWindow();
    QVERIFY(tabs());
    ISubModuleWid* page = openPage(*clientWindow, code, accountType);
    QVERIFY(page);
    QCOMPARE(tabs()->count(), 1);
    QCOMPARE(tabs()->currentWidget(), page);
    QVERIFY(tabs()->tabText(0).contains(PageCatalog::page(code)->displayLabel()));
    QVERIFY(tabs()->tabText(0).contains(accounts->account(accountType)->investorId));
    // Initialised: the default column set is on the table.
    const QStringList titles = PageWidgets(page).headerTitles();
    QCOMPARE(titles.size(), columns);
    QCOMPARE(titles.constFirst(), QString::fromUtf8(pageCases[pageCase].firstTitle));

    runDemo();
    const QString file = QString::fromLatin1(QTest::currentDataTag());
    QVERIFY2(rowsByPage.contains(file), "no line for the page in the demo's output");
    QCOMPARE(rowsByPage.value(file), rows);
    const QDir out(work.filePath(QStringLiteral("out")));
    const QStringList lines = fileLines(out.filePath(file + QStringLiteral(".csv")));
    QCOMPARE(lines.size(), rows + 1);
    // The header is the page's default columns, whatever the user chose in their own settings.
    QCOMPARE(lines.constFirst(), csvLine(titles));
    for (const QString& row : lines.mid(1))
        QVERIFY2(row.endsWith(QLatin1Char(',')) && row.count(QLatin1Char(',')) >= columns, qPrintable(row));
    const QImage screenshot(out.filePath(file + QStringLiteral(".png")));
    QVERIFY(screenshot.width() > 200 && screenshot.height() > 100);
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

// A page kind opens once per account: another is refused with a box that names it, and closing
// the tab deletes the page, leaves the account's other pages and frees the place.
void tst_Client::refusedPage()
{
    QFETCH(int, openFirst);
    QFETCH(int, code);
    QFETCH(QString, label);

    ClientWindow* clientWindow = newWindow();
    const ClientAccount& account = *accounts->account(2);
    QPointer<ISubModuleWid> other = openPage(*clientWindow, 23, 2);
    QPointer<ISubModuleWid> first = openFirst ? openPage(*clientWindow, openFirst, 2) : nullptr;
    QVERIFY(other && bool(first) == (openFirst != 0));
    const int open = tabs()->count();

    const PageKind unknown{99, QStringLiteral("unknown"), "Unknown", HistoryKind::Order, QStringLiteral("x"), QStringLiteral("x")};
    BoxAnswerer answerer(QStringLiteral("OK"));
    QVERIFY(!clientWindow->openPage(code == 99 ? unknown : *PageCatalog::page(code), account));
    QCOMPARE(answerer.texts.size(), 1);
    const QString text = answerer.texts.constFirst();
    QVERIFY2(text.contains(label) && text.contains(account.displayLabel()), qPrintable(text));
    QCOMPARE(tabs()->count(), open);
    if (!openFirst)
        return;
    QVERIFY(first);

    QTabBar* bar = tabs()->tabBar();
    const auto side = QTabBar::ButtonPosition(bar->style()->styleHint(QStyle::SH_TabBar_CloseButtonPosition, nullptr, bar));
    auto* close = qobject_cast<QAbstractButton*>(bar->tabButton(tabs()->indexOf(first), side));
    QVERIFY(close);
    close->click();
    QVERIFY(first.isNull() && other);
    QCOMPARE(tabs()->count(), open - 1);
    QVERIFY(openPage(*clientWindow, openFirst, 2));
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
    ClientWindow* clientWindow = newWindow();
    auto* toEnglish = clientWindow->findChild<QAction*>(QStringLiteral("language_en"));
    auto* toChinese = clientWindow->findChild<QAction*>(QStringLiteral("language_zh"));
    QVERIFY(toEnglish && toChinese);
    QVERIFY(toChinese->isChecked());
    QPointer<ISubModuleWid> before = openPage(*clientWindow, 22, 1);
    QVERIFY(before);
    const QStringList chinese = PageWidgets(before).headerTitles();

    toEnglish->trigger();
    QVERIFY(toEnglish->isChecked() && !toChinese->isChecked());
    QCOMPARE(language->language(), LanguageSwitcher::english());
    // Pages already open keep their language.
    QCOMPARE(PageWidgets(before).headerTitles(), chinese);

    ISubModuleWid* after = openPage(*clientWindow, 22, 2);
    QVERIFY(after);
    const QStringList expected = inEnglish(chinese);
    QVERIFY(!hasHanCharacter(expected));
    QCOMPARE(PageWidgets(after).headerTitles(), expected);
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

void tst_Client::serviceFault_data()
{
    QTest::addColumn<QString>("control");   // on the service panel
    QTest::addColumn<QString>("message");   // pattern for the whole text of the box
    QTest::addColumn<bool>("undo");          // clicked again to serve again; a failed answer fails once

    QTest::newRow("disconnected") << QStringLiteral("connected")
                                  << QStringLiteral("增值服务未连接，请稍后重试或重启客户端。") << true;
    QTest::newRow("logged out") << QStringLiteral("loggedIn") << QStringLiteral("增值服务未登录，请稍后重试或重启客户端。") << true;
    QTest::newRow("busy") << QStringLiteral("busy") << QStringLiteral("上次查询正在进行中，请稍后重试。") << true;
    QTest::newRow("failed answer") << QStringLiteral("failNextAnswer") << QStringLiteral("(?s).*4242.*Simulated outage") << false;
}

// A fault set on the panel reaches the page's next query; once over, the page loads as many
// records as the panel asks for, in the batches it sets.
void tst_Client::serviceFault()
{
    QFETCH(QString, control);
    QFETCH(QString, message);
    QFETCH(bool, undo);

    ClientWindow* clientWindow = newWindow();
    auto* button = clientWindow->findChild<QAbstractButton*>(control);
    auto* records = clientWindow->findChild<QSpinBox*>(QStringLiteral("recordsPerKind"));
    auto* batch = clientWindow->findChild<QSpinBox*>(QStringLiteral("batchSize"));
    auto* errorId = clientWindow->findChild<QSpinBox*>(QStringLiteral("failErrorId"));
    auto* errorText = clientWindow->findChild<QLineEdit*>(QStringLiteral("failErrorText"));
    QVERIFY(button && records && batch && errorId && errorText);
    records->setValue(37);
    batch->setValue(8);
    errorId->setValue(4242);
    errorText->setText(QStringLiteral("Simulated outage"));
    ISubModuleWid* page = openPage(*clientWindow, 53, 2);
    QVERIFY(page);
    const PageWidgets widgets(page);
    const ValueAddedService* service = accounts->service();
    widgets.beginDate->setDate(service->referenceDate().addDays(-service->historyDays()));

    button->click();
    BoxAnswerer answerer(QStringLiteral("确定"));
    widgets.query->click();
    QTRY_COMPARE(answerer.texts.size(), 1);
    const QRegularExpression expected(QRegularExpression::anchoredPattern(message));
    QVERIFY2(expected.match(answerer.texts.constFirst()).hasMatch(), qPrintable(answerer.texts.constFirst()));
    QCOMPARE(widgets.rowCount(), 0);

    if (undo)
        button->click();
    QTRY_VERIFY(widgets.query->isEnabled());
    widgets.query->click();
    QTRY_COMPARE(widgets.rowCount(), 37);
    QTRY_VERIFY(widgets.table->isSortingEnabled());
    QCOMPARE(answerer.texts.size(), 1);
}

// Each box of the panel shows its number of the service and sets it, and no other.
void tst_Client::serviceNumbers()
{
    const ValueAddedService* service = accounts->service();
    const struct {
        const char* spin;
        std::function<int()> value;
        int next;
    } numbers[] = {
        {"latency", [service] { return service->latencyMs(); }, 35},
        {"batchSize", [service] { return service->batchSize(); }, 77},
        {"recordsPerKind", [service] { return service->recordsPerKind(); }, 1000000},
        {"historyDays", [service] { return service->historyDays(); }, 45},
    };
    ClientWindow* clientWindow = newWindow();
    for (const auto& changed : numbers) {
        auto* spin = clientWindow->findChild<QSpinBox*>(QLatin1String(changed.spin));
        QVERIFY2(spin, changed.spin);
        QCOMPARE(spin->value(), changed.value());
        QVERIFY(spin->value() != changed.next);
        spin->setValue(changed.next);
        QCOMPARE(changed.value(), changed.next);
        for (const auto& number : numbers)
            QCOMPARE(number.value(), clientWindow->findChild<QSpinBox*>(QLatin1String(number.spin))->value());
    }
}

void tst_Client::columnProbe_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QList<int>>("ids");          // every id of the set, ascending
    QTest::addColumn<QList<int>>("hiddenIds");    // registered but not shown by default

    const auto range = [](int count, int without = -1) {
        QList<int> ids;
        for (int id = 0; id < count; ++id) {
            if (id != without)
                ids << id;
        }
        return ids;
    };
    // Sets with a column hidden by default, with a gap in the ids, and a plain one.
    QTest::newRow("stock orders") << QStringLiteral("THStockHistoryOrder") << range(15) << QList<int>{6};
    QTest::newRow("credit trades") << QStringLiteral("THCreditHistoryTrade") << range(12) << QList<int>{7};
    QTest::newRow("credit debts") << QStringLiteral("THCreditHistoryDebt") << range(14, 10) << QList<int>{};
    QTest::newRow("credit capital") << QStringLiteral("THCreditHistoryCapital") << range(11) << QList<int>{};
}

void tst_Client::columnProbe()
{
    QFETCH(QString, key);
    QFETCH(QList<int>, ids);
    QFETCH(QList<int>, hiddenIds);

    const QList<ColumnSetEntry> sets = PageCatalog::columnSets();
    QCOMPARE(sets.size(), 15);
    const auto set = std::find_if(sets.cbegin(), sets.cend(), [&key](const ColumnSetEntry& s) { return s.key == key; });
    QVERIFY(set != sets.cend());
    // A choice of the user's own, which probing must leave alone.
    TableHeader::saveColumnChoice(key, {1, 0});
    const QList<ColumnInfo> columns = ColumnProbe(plugin, *accounts).columns(*set);
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
    QCOMPARE(shownTitles, defaultTitles(set->page->code, set->accountType));
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
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<QString>("options");   // plugin|demo directory, "-" for no demo|language|records|batch|latency

    QTest::newRow("defaults") << QString()
                              << QStringLiteral("|-|zh|%1|%2|0").arg(ClientOptions::DefaultRecords).arg(ClientOptions::DefaultBatch);
    QTest::newRow("everything")
        << QStringLiteral("--plugin /x/lib.so --demo out --language en --records 1000000 --batch 3 --latency 40")
        << QStringLiteral("/x/lib.so|out|en|1000000|3|40");
    QTest::newRow("no records") << QStringLiteral("--records=0") << QStringLiteral("|-|zh|0|%1|0").arg(ClientOptions::DefaultBatch);
}

void tst_Client::parseOptions()
{
    QFETCH(QString, arguments);
    QFETCH(QString, options);

    const ClientOptions parsed = ClientOptions::parse(::arguments(QStringLiteral("history-client ") + arguments));
    QCOMPARE(parsed.error, QString());
    QVERIFY(!parsed.help);
    const QString demoDir = parsed.demoRequested ? parsed.demoDir : QStringLiteral("-");
    QCOMPARE(QStringLiteral("%1|%2|%3|%4|%5|%6").arg(parsed.pluginPath, demoDir, parsed.language)
                 .arg(parsed.records).arg(parsed.batch).arg(parsed.latencyMs), options);
}

void tst_Client::headless_data()
{
    QTest::addColumn<QString>("environment");   // of QT_QPA_PLATFORM, DISPLAY and WAYLAND_DISPLAY; the others unset
    QTest::addColumn<bool>("demo");             // --demo given
    QTest::addColumn<bool>("headless");

    QTest::newRow("X display") << QStringLiteral("DISPLAY=:0") << false << false;
    QTest::newRow("Wayland display") << QStringLiteral("WAYLAND_DISPLAY=wayland-0") << false << false;
    QTest::newRow("no display") << QString() << false << true;
    QTest::newRow("xcb asked for, no display") << QStringLiteral("QT_QPA_PLATFORM=xcb") << false << true;
    QTest::newRow("offscreen asked for") << QStringLiteral("QT_QPA_PLATFORM=offscreen DISPLAY=:0") << false << true;
    QTest::newRow("minimal asked for") << QStringLiteral("QT_QPA_PLATFORM=minimal DISPLAY=:0") << false << true;
    QTest::newRow("demo on a display") << QStringLiteral("DISPLAY=:0") << true << true;
}

void tst_Client::headless()
{
    QFETCH(QString, environment);
    QFETCH(bool, demo);
    QFETCH(bool, headless);

    // The platform is chosen before the application exists; this process runs offscreen already,
    // so only the environment that the decision reads is changed, and put back.
    const char* const names[] = {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"};
    const QProcessEnvironment saved = QProcessEnvironment::systemEnvironment();
    for (const char* name : names)
        qunsetenv(name);
    for (const QString& variable : arguments(environment))
        qputenv(variable.section(QLatin1Char('='), 0, 0).toLatin1().constData(), variable.section(QLatin1Char('='), 1).toUtf8());
    const bool result = ClientOptions::parse(arguments(demo ? QStringLiteral("history-client --demo out")
                                                            : QStringLiteral("history-client"))).headless();
    for (const char* name : names) {
        if (saved.contains(QLatin1String(name)))
            qputenv(name, saved.value(QLatin1String(name)).toLocal8Bit());
        else
            qunsetenv(name);
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

void tst_Client::demoInEnglish()
{
    const QString out = work.filePath(QStringLiteral("out-en"));
    const ClientRun run = runClient({QStringLiteral("--demo"), out, QStringLiteral("--language"), QStringLiteral("en"),
                                     QStringLiteral("--records"), QStringLiteral("0")});
    QVERIFY2(run.exitCode == OkExit, qPrintable(run.out + run.err));
    QCOMPARE(demoLines(run.out).size(), 16);

    const QStringList expected = inEnglish(defaultTitles(52, 2));
    QVERIFY(!hasHanCharacter(expected));
    QCOMPARE(fileLines(QDir(out).filePath(QStringLiteral("credit-delivery.csv"))), QStringList{csvLine(expected)});
}

void tst_Client::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");   // in stdout for success, stderr otherwise

    const auto row = [](const char* name, const QString& line, int exitCode, const QString& message) {
        QTest::newRow(name) << arguments(line) << exitCode << message;
    };
    row("help", QStringLiteral("--help"), OkExit, QStringLiteral("--plugin <path>"));
    row("unknown option", QStringLiteral("--frobnicate"), UsageExit, QStringLiteral("frobnicate"));
    row("records beyond a million", QStringLiteral("--records 1000001"), UsageExit, QStringLiteral("--records"));
    row("batch not a number", QStringLiteral("--batch many"), UsageExit, QStringLiteral("--batch"));
    row("negative latency", QStringLiteral("--latency -5"), UsageExit, QStringLiteral("--latency"));
    row("unknown language", QStringLiteral("--language fr"), UsageExit, QStringLiteral("--language"));
    row("stray argument", QStringLiteral("orders"), UsageExit, QStringLiteral("orders"));

    const auto library = [this](const QString& path) {
        return QStringList{QStringLiteral("--plugin"), path, QStringLiteral("--demo"), work.filePath(QStringLiteral("refused"))};
    };
    const QString missing = work.filePath(QStringLiteral("libNoSuchModule.so"));
    QTest::newRow("missing library") << library(missing) << PluginMissingExit
                                     << QStringLiteral("Cannot load the history module ") + missing;
    // A real library, but not the module: no factory in it.
    const QString baseLibrary = QFileInfo(QStringLiteral(CLIENT_EXECUTABLE)).dir().filePath(QStringLiteral("libVE_Base.so"));
    QTest::newRow("library without factory") << library(baseLibrary) << FactoryMissingExit
                                             << QStringLiteral("has no function CreateISubModuleWid_HistoryRecordWid");
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
    // A refusal writes nothing to the standard output.
    QVERIFY2(exitCode == OkExit || run.out.isEmpty(), qPrintable(run.out));
}

QTEST_MAIN(tst_Client)
#include "tst_client.moc"