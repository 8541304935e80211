#include "ClientOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace VEK_SC_Space {

namespace {

QString translated(const char* text)
{
    return QCoreApplication::translate("ClientOptions", text);
}

// Reads a whole number in [minimum, maximum] from an option; leaves `value` alone when absent.
bool readNumber(const QCommandLineParser& parser, const QCommandLineOption& option,
                int minimum, int maximum, int& value, QString& error)
{
    if (!parser.isSet(option))
        return true;
    bool ok = false;
    const int number = parser.value(option).toInt(&ok);
    if (!ok || number < minimum || number > maximum) {
        error = translated("--%1 needs a whole number from %2 to %3, not \"%4\".")
                    .arg(option.names().constFirst())
                    .arg(minimum)
                    .arg(maximum)
                    .arg(parser.value(option));
        return false;
    }
    value = number;
    return true;
}

bool hasDisplay()
{
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// The options, shared by parsing and the help text.
struct CommandLine
{
    CommandLine();

    QCommandLineParser parser;
    const QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")}, translated("Show this help.")};
    const QCommandLineOption plugin{QStringLiteral("plugin"),
                                    translated("Load the module library from <path> instead of from next to the executable."),
                                    translated("path")};
    const QCommandLineOption demo{QStringLiteral("demo"),
                                  translated("Run the headless demo and write its CSV files and screenshots into <dir>. "
                                             "Without a display the demo runs anyway, into ./demo-output."),
                                  translated("dir")};
    const QCommandLineOption language{QStringLiteral("language"),
                                      translated("Language of the pages: zh (default) or en."), translated("zh|en")};
    const QCommandLineOption records{QStringLiteral("records"),
                                     translated("Records the service holds per account and kind, 0 to %1 (default %2).")
                                         .arg(ClientOptions::MaxRecords)
                                         .arg(ClientOptions::DefaultRecords),
                                     translated("n")};
    const QCommandLineOption batch{QStringLiteral("batch"),
                                   translated("Records per answer batch of the service (default %1).").arg(ClientOptions::DefaultBatch),
                                   translated("n")};
    const QCommandLineOption latency{QStringLiteral("latency"),
                                     translated("Delay of every service answer in milliseconds (default 0)."), translated("ms")};
};

CommandLine::CommandLine()
{
    parser.setApplicationDescription(translated(
        "Trading-client host for the SubModule_HistoryRecord plug-in. Shows the history pages of a "
        "stock and a credit account on a simulated value-added service. Without a display, or "
        "with --demo, it runs every page headless: query, load all, export a CSV, save a "
        "screenshot.\n"
        "Exit codes: 0 success, 1 a demo page failed, 2 bad command line, 3 module library not "
        "loadable, 4 no page factory in the library."));
    parser.addOptions({help, plugin, demo, language, records, batch, latency});
}

} // namespace

ClientOptions ClientOptions::parse(const QStringList& arguments)
{
    CommandLine commandLine;
    const QCommandLineParser& parser = commandLine.parser;
    ClientOptions options;
    if (!commandLine.parser.parse(arguments)) {
        options.error = parser.errorText();
        return options;
    }
    if (parser.isSet(commandLine.help)) {
        options.help = true;
        return options;
    }
    // "--records --demo x" hands "--demo" to --records as its value; say what is missing.
    const QList<const QCommandLineOption*> valued{&commandLine.plugin, &commandLine.demo, &commandLine.language,
                                                  &commandLine.records, &commandLine.batch, &commandLine.latency};
    for (const QCommandLineOption* option : valued) {
        const QString value = parser.isSet(*option) ? parser.value(*option) : QString();
        if (value.startsWith(QLatin1String("--")) || (value.startsWith(QLatin1Char('-')) && value.size() == 2 && value.at(1).isLetter())) {
            options.error = translated("Missing value for --%1.").arg(option->names().constFirst());
            return options;
        }
    }
    if (!parser.positionalArguments().isEmpty()) {
        options.error = translated("Unexpected argument \"%1\".").arg(parser.positionalArguments().constFirst());
        return options;
    }

    options.pluginPath = parser.value(commandLine.plugin);
    if (parser.isSet(commandLine.plugin) && options.pluginPath.isEmpty()) {
        options.error = translated("--plugin needs the path of the module library.");
        return options;
    }
    options.demoRequested = parser.isSet(commandLine.demo);
    // An empty folder name would put the demo's files into the current folder.
    if (options.demoRequested && !parser.value(commandLine.demo).isEmpty())
        options.demoDir = parser.value(commandLine.demo);
    if (parser.isSet(commandLine.language)) {
        options.language = parser.value(commandLine.language);
        if (options.language != QLatin1String("zh") && options.language != QLatin1String("en")) {
            options.error = translated("--language takes zh or en, not \"%1\".").arg(options.language);
            return options;
        }
    }
    if (!readNumber(parser, commandLine.records, 0, MaxRecords, options.records, options.error)
        || !readNumber(parser, commandLine.batch, 1, MaxRecords, options.batch, options.error))
        return options;
    readNumber(parser, commandLine.latency, 0, MaxLatencyMs, options.latencyMs, options.error);
    return options;
}

QString ClientOptions::helpText()
{
    CommandLine commandLine;
    commandLine.parser.parse(QCoreApplication::arguments());
    return commandLine.parser.helpText();
}

bool ClientOptions::headless() const
{
    const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
    return demoRequested || platform.startsWith(QLatin1String("offscreen"))
        || platform.startsWith(QLatin1String("minimal")) || !hasDisplay();
}

} // namespace VEK_SC_Space
