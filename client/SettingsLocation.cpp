#include "SettingsLocation.h"

#include <QSettings>
#include <QStandardPaths>

namespace VEK_SC_Space {

namespace SettingsLocation {

namespace {
QString& folderInUse()
{
    static QString folder = userDefault();
    return folder;
}
} // namespace

QString userDefault()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

void use(const QString& folder)
{
#ifdef Q_OS_WIN
    // Windows keeps native settings in the registry, which no folder holds apart: INI files
    // in the folder instead, as the native format is on Unix.
    QSettings::setDefaultFormat(QSettings::IniFormat);
#endif
    folderInUse() = folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder);
}

QString current()
{
    return folderInUse();
}

} // namespace SettingsLocation

ScopedSettingsLocation::ScopedSettingsLocation(const QString& folder)
    : previous(SettingsLocation::current())
{
    SettingsLocation::use(folder);
}

ScopedSettingsLocation::~ScopedSettingsLocation()
{
    SettingsLocation::use(previous);
}

} // namespace VEK_SC_Space
