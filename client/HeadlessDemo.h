#pragma once

#include "ModalResponder.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>

#include <deque>
#include <memory>

class QTextStream;

namespace VEK_SC_Space {

class ClientAccounts;
class HistoryPlugin;
class ISubModuleWid;
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
    ~HeadlessDemo() override;

    int run(); // a ClientExitCode

private:
    struct PageRun
    {
        QString page;
        QString account;
        int rows = 0;
        double seconds = 0;
        QStringList errors;
        std::unique_ptr<ISubModuleWid> widget; // open until its screenshot is taken
        QElapsedTimer sinceQuery;
    };

    PageRun runPage(const PageKind& kind, const ClientAccount& account);
    void query(const PageWidgets& widgets, const ClientAccount& account, PageRun& run);
    void exportCsv(const PageWidgets& widgets, const QString& path, PageRun& run);
    void finishPages(bool all, QTextStream& out);
    void finishPage(PageRun& run);
    bool succeeded(const PageRun& run) const;
    QString outputPath(const PageRun& run, const QString& suffix) const;
    static void report(QTextStream& out, const PageRun& run);

    const HistoryPlugin& plugin;
    const ClientAccounts& accounts;
    QString outputDir;
    ModalResponder responder;
    std::deque<PageRun> waiting; // loaded and exported, waiting for their screenshot
    int failed = 0;
};

} // namespace VEK_SC_Space
