#include "HeadlessDemo.h"

#include "ClientAccounts.h"
#include "ClientExitCode.h"
#include "HistoryPlugin.h"
#include "ISubModuleWid.h"
#include "PageCatalog.h"
#include "PageWidgets.h"
#include "QuietDebugLog.h"
#include "UserData.h"
#include "service/ValueAddedService.h"

#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QTextStream>
#include <QTimer>

#include <memory>

namespace VEK_SC_Space {

namespace {

constexpr int PageTimeoutMs = 120000;

void pause(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

HeadlessDemo::HeadlessDemo(const HistoryPlugin& loaded, const ClientAccounts& clientAccounts, QString folder,
                           QObject* parent)
    : QObject(parent)
    , plugin(loaded)
    , accounts(clientAccounts)
    , outputDir(QDir(folder).absolutePath())
{
}

HeadlessDemo::~HeadlessDemo() = default;

int HeadlessDemo::run()
{
    QTextStream out(stdout);
    if (!QDir().mkpath(outputDir)) {
        out << tr("Cannot create the output folder %1.").arg(QDir::toNativeSeparators(outputDir)) << Qt::endl;
        return ExitDemoFailed;
    }

    const QuietDebugLog quiet;
    QElapsedTimer clock;
    clock.start();
    int pages = 0;
    failed = 0;
    for (const ClientAccount& account : accounts.accounts()) {
        // The margin-debt page too on the stock account: the module shows it there, empty.
        for (const PageKind& kind : PageCatalog::pages()) {
            finishPages(false, out);
            waiting.push_back(runPage(kind, account));
            ++pages;
        }
    }
    finishPages(true, out);
    out << tr("Demo: %1 pages, %2 failed, %3 s; CSV files and screenshots in %4")
               .arg(pages)
               .arg(failed)
               .arg(clock.elapsed() / 1000.0, 0, 'f', 2)
               .arg(QDir::toNativeSeparators(outputDir))
        << Qt::endl;
    return failed == 0 ? ExitOk : ExitDemoFailed;
}

HeadlessDemo::PageRun HeadlessDemo::runPage(const PageKind& kind, const ClientAccount& account)
{
    PageRun pageRun;
    pageRun.page = kind.name;
    pageRun.account = account.name;
    QElapsedTimer clock;
    clock.start();
    responder.clearErrors();

    pageRun.widget.reset(plugin.createPage(account.key, kind.code, nullptr));
    if (!pageRun.widget) {
        pageRun.errors << tr("the module made no page");
        return pageRun;
    }
    ISubModuleWid* page = pageRun.widget.get();
    page->initSubModule();
    page->show();
    const PageWidgets widgets(page);
    if (!widgets.missing().isEmpty()) {
        pageRun.errors << tr("the page has no %1").arg(widgets.missing().join(QLatin1String(", ")));
        return pageRun;
    }

    query(widgets, account, pageRun);
    if (succeeded(pageRun)) {
        pageRun.rows = widgets.rowCount();
        const int received = account.userData->resultList(kind.kind).size();
        if (pageRun.rows != received)
            pageRun.errors << tr("shows %1 of %2 records").arg(pageRun.rows).arg(received);
    }
    if (succeeded(pageRun))
        exportCsv(widgets, outputPath(pageRun, QStringLiteral("csv")), pageRun);
    pageRun.errors << responder.errors();
    pageRun.seconds = clock.elapsed() / 1000.0;
    return pageRun;
}

// A page is photographed once its Query button, locked for a moment after each click, is
// usable again, so the picture shows the page as a user finds it. Pages wait for that in the
// order they ran; with `all` false only those already done are taken.
void HeadlessDemo::finishPages(bool all, QTextStream& out)
{
    constexpr int QueryLockWaitMs = 3000;
    while (!waiting.empty()) {
        PageRun& pageRun = waiting.front();
        const bool ready = !pageRun.errors.isEmpty() || !pageRun.widget
            || PageWidgets(pageRun.widget.get()).query->isEnabled()
            || pageRun.sinceQuery.elapsed() > QueryLockWaitMs;
        if (!ready) {
            if (!all)
                return;
            pause(10);
            continue;
        }
        finishPage(pageRun);
        report(out, pageRun);
        if (!pageRun.errors.isEmpty())
            ++failed;
        waiting.pop_front();
    }
}

void HeadlessDemo::finishPage(PageRun& pageRun)
{
    if (!pageRun.widget)
        return;
    if (pageRun.errors.isEmpty()) {
        PageWidgets(pageRun.widget.get()).table->scrollToTop();
        // No text cursor or selected date part in the picture.
        if (QWidget* focus = pageRun.widget->focusWidget())
            focus->clearFocus();
        for (QDateEdit* date : pageRun.widget->findChildren<QDateEdit*>())
            date->setSelectedSection(QDateTimeEdit::NoSection);
        if (!pageRun.widget->grab().save(outputPath(pageRun, QStringLiteral("png"))))
            pageRun.errors << tr("cannot save the screenshot");
    }
    pageRun.widget->close();
    pageRun.widget.reset();
}

void HeadlessDemo::query(const PageWidgets& widgets, const ClientAccount& account, PageRun& pageRun)
{
    // The whole history the service holds, as a user would pick it in the date edit.
    const ValueAddedService* service = accounts.service();
    widgets.beginDate->setDate(service->referenceDate().addDays(-service->historyDays()));
    widgets.query->click();
    pageRun.sinceQuery.start();

    // Answers arrive through the event loop; in between, page in whatever arrived. With nothing
    // on its way and nothing left to page in, the page holds the whole answer.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < PageTimeoutMs) {
        pause(5);
        if (!responder.errors().isEmpty())
            return;
        if (account.userData->getIsZRVAReqing())
            continue;
        if (widgets.table->isSortingEnabled())
            return;
        if (widgets.loadAll->isHidden())
            return;
        widgets.loadAll->click();
    }
    pageRun.errors << tr("not loaded within %1 s").arg(PageTimeoutMs / 1000);
}

void HeadlessDemo::exportCsv(const PageWidgets& widgets, const QString& path, PageRun& pageRun)
{
    QFile::remove(path);
    responder.setSaveFileName(path);
    widgets.exportButton->click();
    responder.setSaveFileName(QString());
    if (!QFileInfo::exists(path))
        pageRun.errors << tr("no CSV file written");
}

bool HeadlessDemo::succeeded(const PageRun& pageRun) const
{
    return pageRun.errors.isEmpty() && responder.errors().isEmpty();
}

QString HeadlessDemo::outputPath(const PageRun& pageRun, const QString& suffix) const
{
    return QDir(outputDir).filePath(pageRun.account + QLatin1Char('-') + pageRun.page + QLatin1Char('.') + suffix);
}

void HeadlessDemo::report(QTextStream& out, const PageRun& pageRun)
{
    out << QStringLiteral("%1 %2 ").arg(pageRun.page, -10).arg(pageRun.account, -7);
    if (pageRun.errors.isEmpty())
        out << QStringLiteral("%1 rows %2 s").arg(pageRun.rows, 8).arg(pageRun.seconds, 7, 'f', 2);
    else
        out << QStringLiteral("FAILED: ") << pageRun.errors.join(QLatin1String("; "));
    out << Qt::endl;
}

} // namespace VEK_SC_Space
