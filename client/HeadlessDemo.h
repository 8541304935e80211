#pragma once

#include "ModalResponder.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QTextStream;

namespace VEK_SC_Space {

class ClientAccounts;
class HistoryPlugin;
struct ClientAccount;
struct PageKind;
struct PageWidgets;

// The scripted run without a display: every page of both accounts queries, loads all, exports
// its CSV through its own Export button and is saved as a screenshot. One line per page.
class HeadlessDemo : public QObject
{
    Q_OBJECT

public:
    HeadlessDemo(const HistoryPlugin& plugin, const ClientAccounts& accounts, QString outputDir,
                 QObject* parent = nullptr);

    int run();   // a ClientExitCode

private:
    struct PageRun
    {
        QString page;
        QString account;
        int rows = 0;
        double seconds = 0;
        QStringList errors;
    };

    PageRun runPage(const PageKind& kind, const ClientAccount& account);
    void query(const PageWidgets& widgets, const ClientAccount& account, PageRun& run);
    void exportCsv(const PageWidgets& widgets, const QString& path, PageRun& run);
    bool succeeded(const PageRun& run) const;
    QString outputPath(const PageRun& run, const QString& suffix) const;
    static void report(QTextStream& out, const PageRun& run);

    const HistoryPlugin& plugin;
    const ClientAccounts& accounts;
    QString outputDir;
    ModalResponder responder;
};

} // namespace VEK_SC_Space
