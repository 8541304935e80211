#include "ClientAccounts.h"
#include "ClientExitCode.h"
#include "ClientOptions.h"
#include "ClientWindow.h"
#include "HeadlessDemo.h"
#include "HistoryPlugin.h"
#include "LanguageSwitcher.h"
#include "PageCatalog.h"
#include "SettingsLocation.h"
#include "service/ValueAddedService.h"

#include <QApplication>
#include <QFont>
#include <QTemporaryDir>

#include <cstdio>

using namespace VEK_SC_Space;

namespace {

QStringList commandLine(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void printLine(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

// No display, or a demo asked for: the offscreen platform, without a desktop theme that
// would replace Qt's own file dialog.
void prepareHeadless()
{
    if (!qgetenv("QT_QPA_PLATFORM").startsWith("offscreen"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("QT_QPA_PLATFORMTHEME");
    qunsetenv("QT_STYLE_OVERRIDE");
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
}

void configureService(ValueAddedService* service, const ClientOptions& options)
{
    service->setRecordsPerKind(options.records);
    service->setBatchSize(options.batch);
    service->setLatencyMs(options.latencyMs);
}

} // namespace

int main(int argc, char** argv)
{
    const ClientOptions options = ClientOptions::parse(commandLine(argc, argv));
    if (!options.error.isEmpty()) {
        printLine(stderr, options.error);
        printLine(stderr, QStringLiteral("Try --help."));
        return ExitUsage;
    }
    if (options.help) {
        QCoreApplication app(argc, argv);
        printLine(stdout, ClientOptions::helpText());
        return ExitOk;
    }
    const bool headless = options.headless();
    if (headless)
        prepareHeadless();

    // Qt reads options of its own from the command line (-plugin among them); ours are not
    // meant for it.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("VEK"));
    QCoreApplication::setApplicationName(QStringLiteral("history-client"));
    if (headless) {
        // The pages' column widths are made for the 9 pt of a trading desktop; the offscreen
        // platform would start at 12 pt and cut the cells in the screenshots.
        QFont font = QApplication::font();
        font.setPointSize(9);
        QApplication::setFont(font);
    }

    // The demo keeps its settings to itself: the user's column choices neither shape it nor
    // get changed by it.
    QTemporaryDir demoSettings;
    SettingsLocation::use(headless ? demoSettings.path() : SettingsLocation::userDefault());

    HistoryPlugin plugin;
    const ClientExitCode loaded = plugin.load(options.pluginPath.isEmpty() ? HistoryPlugin::defaultPath()
                                                                           : options.pluginPath);
    if (loaded != ExitOk) {
        printLine(stderr, plugin.errorString());
        return loaded;
    }

    LanguageSwitcher language;
    if (!language.setLanguage(options.language))
        printLine(stderr, QStringLiteral("The module brings no translation for \"%1\".").arg(options.language));

    ClientAccounts accounts;
    configureService(accounts.service(), options);

    if (headless)
        return HeadlessDemo(plugin, accounts, options.demoDir).run();

    ClientWindow window(plugin, accounts, language);
    window.openPage(PageCatalog::pages().constFirst(), accounts.accounts().constFirst());
    window.show();
    return app.exec();
}
