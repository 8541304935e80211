#pragma once

#include "ColumnProbe.h"

#include <QMainWindow>

class QActionGroup;
class QLabel;
class QTabWidget;

namespace VEK_SC_Space {

class ClientAccounts;
class HistoryPlugin;
class ISubModuleWid;
class LanguageSwitcher;
struct ClientAccount;
struct PageKind;

// The trading-client window: history pages of both accounts as tabs, zoom, language, column
// choices and the controls of the simulated service.
class ClientWindow : public QMainWindow
{
    Q_OBJECT

public:
    ClientWindow(const HistoryPlugin& plugin, ClientAccounts& accounts, LanguageSwitcher& language,
                 QWidget* parent = nullptr);

    ISubModuleWid* openPage(const PageKind& kind, const ClientAccount& account);

private:
    void buildPageMenu();
    void buildViewMenu();
    void buildServiceDock();
    void closePage(int index);
    void setZoom(int percent);
    void switchLanguage(const QString& language);
    void showColumnChoices();
    QList<ISubModuleWid*> pages() const;

    const HistoryPlugin& plugin;
    ClientAccounts& accounts;
    LanguageSwitcher& language;
    ColumnProbe probe;
    QTabWidget* tabs;
    QLabel* zoomLabel;
    QActionGroup* languageGroup = nullptr;
    int zoom = 100;
};

} // namespace VEK_SC_Space
