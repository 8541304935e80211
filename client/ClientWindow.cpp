#include "ClientWindow.h"

#include "ClientAccounts.h"
#include "ColumnChoiceDialog.h"
#include "HistoryPlugin.h"
#include "ISubModuleWid.h"
#include "LanguageSwitcher.h"
#include "PageCatalog.h"
#include "ServicePanel.h"

#include <QAction>
#include <QActionGroup>
#include <QDockWidget>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTabWidget>

namespace VEK_SC_Space {

namespace {
constexpr int ZoomStep = 10;
constexpr int ZoomMinimum = 50;
constexpr int ZoomMaximum = 300;
} // namespace

ClientWindow::ClientWindow(const HistoryPlugin& plugin, ClientAccounts& accounts, LanguageSwitcher& language,
                           QWidget* parent)
    : QMainWindow(parent)
    , plugin(plugin)
    , accounts(accounts)
    , language(language)
    , probe(plugin, accounts)
    , tabs(new QTabWidget(this))
    , zoomLabel(new QLabel(this))
{
    setWindowTitle(tr("Trading client: history records"));
    tabs->setObjectName(QStringLiteral("pageTabs"));
    tabs->setTabsClosable(true);
    tabs->setMovable(true);
    tabs->setDocumentMode(true);
    connect(tabs, &QTabWidget::tabCloseRequested, this, &ClientWindow::closePage);
    setCentralWidget(tabs);
    statusBar()->addPermanentWidget(zoomLabel);

    buildPageMenu();
    buildViewMenu();
    buildServiceDock();
    setZoom(100);
    resize(1400, 700);
}

ISubModuleWid* ClientWindow::openPage(const PageKind& kind, const ClientAccount& account)
{
    ISubModuleWid* page = plugin.createPage(account.key, kind.code, tabs);
    if (!page) {
        QMessageBox::information(this, tr("No page"),
                                 tr("The module has no page \"%1\" for the %2 (it may already be open).")
                                     .arg(kind.displayLabel(), account.displayLabel()));
        return nullptr;
    }
    // The language chosen last, not the window's from start-up, formats the page's dates.
    page->setLocale(QLocale());
    page->initSubModule();
    if (zoom != 100)
        page->setZoomPercent(zoom);
    const int index = tabs->addTab(page, tr("%1 · %2").arg(kind.displayLabel(), account.displayLabel()));
    tabs->setCurrentIndex(index);
    return page;
}

void ClientWindow::buildPageMenu()
{
    QMenu* menu = menuBar()->addMenu(tr("&Page"));
    for (const ClientAccount& account : accounts.accounts()) {
        QMenu* accountMenu = menu->addMenu(account.displayLabel());
        for (const PageKind& kind : PageCatalog::pages()) {
            QAction* action = accountMenu->addAction(tr("%1 (%2)").arg(kind.displayLabel()).arg(int(kind.code)));
            connect(action, &QAction::triggered, this, [this, &kind, &account] { openPage(kind, account); });
        }
    }
    menu->addSeparator();
    QAction* close = menu->addAction(tr("&Close page"), this, [this] { closePage(tabs->currentIndex()); });
    close->setShortcut(QKeySequence::Close);
    QAction* quit = menu->addAction(tr("&Quit"), this, &QWidget::close);
    quit->setShortcut(QKeySequence::Quit);
}

void ClientWindow::buildViewMenu()
{
    QMenu* menu = menuBar()->addMenu(tr("&View"));
    const auto addZoom = [this, menu](const QString& name, const QString& text, const QKeySequence& key, int step) {
        QAction* action = menu->addAction(text, this, [this, step] { setZoom(step ? zoom + step : 100); });
        action->setObjectName(name);
        action->setShortcut(key);
    };
    addZoom(QStringLiteral("zoomIn"), tr("Zoom &in"), QKeySequence::ZoomIn, ZoomStep);
    addZoom(QStringLiteral("zoomOut"), tr("Zoom &out"), QKeySequence::ZoomOut, -ZoomStep);
    addZoom(QStringLiteral("zoomReset"), tr("&Reset zoom"), QKeySequence(tr("Ctrl+0")), 0);
    menu->addSeparator();

    QMenu* languageMenu = menu->addMenu(tr("&Language"));
    languageGroup = new QActionGroup(this);
    const QList<QPair<QString, QString>> languages = {
        {LanguageSwitcher::chinese(), QStringLiteral("中文")},
        {LanguageSwitcher::english(), QStringLiteral("English")},
    };
    for (const auto& [code, name] : languages) {
        QAction* action = languageMenu->addAction(name);
        action->setCheckable(true);
        action->setChecked(language.language() == code);
        action->setData(code);
        action->setObjectName(QStringLiteral("language_") + code);
        languageGroup->addAction(action);
        connect(action, &QAction::triggered, this, [this, code = code] { switchLanguage(code); });
    }
    menu->addSeparator();
    menu->addAction(tr("&Columns..."), this, &ClientWindow::showColumnChoices)
        ->setObjectName(QStringLiteral("columns"));
}

void ClientWindow::buildServiceDock()
{
    auto* dock = new QDockWidget(tr("Value-added service"), this);
    dock->setObjectName(QStringLiteral("serviceDock"));
    dock->setWidget(new ServicePanel(accounts, dock));
    addDockWidget(Qt::RightDockWidgetArea, dock);
    menuBar()->addMenu(tr("&Service"))->addAction(dock->toggleViewAction());
}

void ClientWindow::closePage(int index)
{
    QWidget* page = tabs->widget(index);
    if (!page)
        return;
    tabs->removeTab(index);
    delete page;
}

void ClientWindow::setZoom(int percent)
{
    zoom = qBound(ZoomMinimum, percent, ZoomMaximum);
    for (ISubModuleWid* page : pages())
        page->setZoomPercent(zoom);
    zoomLabel->setText(tr("Zoom %1%").arg(zoom));
}

void ClientWindow::switchLanguage(const QString& code)
{
    if (!language.setLanguage(code)) {
        QMessageBox::warning(this, tr("Language"), tr("The module brings no translation for this language."));
    } else {
        probe.clear();
        statusBar()->showMessage(tr("Pages opened from now on use the new language."), 5000);
    }
    for (QAction* action : languageGroup->actions())
        action->setChecked(action->data().toString() == language.language());
}

void ClientWindow::showColumnChoices()
{
    ColumnChoiceDialog dialog(probe, this);
    dialog.exec();
}

QList<ISubModuleWid*> ClientWindow::pages() const
{
    // Every tab holds a page the factory made.
    QList<ISubModuleWid*> list;
    for (int index = 0; index < tabs->count(); ++index)
        list.append(static_cast<ISubModuleWid*>(tabs->widget(index)));
    return list;
}

} // namespace VEK_SC_Space
