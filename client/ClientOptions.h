#pragma once

#include <QString>
#include <QStringList>

namespace VEK_SC_Space {

// The command line of history-client. Parsed before the application object exists, because
// the options decide the platform plug-in.
class ClientOptions
{
public:
    static ClientOptions parse(const QStringList& arguments);
    static QString helpText(); // needs the application object

    QString error; // non-empty: the command line is unusable
    bool help = false;

    QString pluginPath; // empty: the library next to the executable
    bool demoRequested = false;
    QString demoDir = QStringLiteral("demo-output");
    QString language = QStringLiteral("zh");
    int records = DefaultRecords;
    int batch = DefaultBatch;
    int latencyMs = 0;

    static constexpr int DefaultRecords = 1000;
    static constexpr int DefaultBatch = 500;
    static constexpr int MaxRecords = 1000000;
    static constexpr int MaxLatencyMs = 60000;

    // True when the demo runs instead of the window: asked for, or no display to show it on.
    bool headless() const;
};

} // namespace VEK_SC_Space
