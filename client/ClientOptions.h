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
    static QString helpText();   // needs the application object

    QString error;            // non-empty: the command line is unusable
    bool help = false;

    QString pluginPath;       // empty: the library next to the executable
    bool demoRequested = false;
    QString demoDir = QStringLiteral("demo-output");
    QString language = QStringLiteral("zh");
    int records = -1;         // -1: the service's default
    int batch = -1;
    int latencyMs = 0;

    // True when the demo runs instead of the window: asked for, or no display to show it on.
    bool headless() const;
};

} // namespace VEK_SC_Space
