#pragma once

#include "ClientConstants.h"
#include "ClientExitCode.h"

#include <QLibrary>
#include <QString>

class QWidget;

namespace VEK_SC_Space {

class ISubModuleWid;

// The history-records module, loaded at run time. Pages come only from its one exported factory.
class HistoryPlugin
{
public:
    static QString defaultPath(); // SubModule_HistoryRecord next to the executable

    // ExitOk when the factory was found; otherwise the exit code for the failure, with
    // errorString() saying what went wrong.
    ClientExitCode load(const QString& path);
    QString errorString() const;

    // Null when the module has no such page for the account.
    ISubModuleWid* createPage(int accountKey, PageType pageType, QWidget* parent) const;

private:
    using Factory = ISubModuleWid* (*)(int accountKey, int pageType, QWidget* parent);

    // Never unloaded: pages, their meta-objects and the module's resources live in it.
    QLibrary library;
    Factory factory = nullptr;
    QString error;
};

} // namespace VEK_SC_Space
