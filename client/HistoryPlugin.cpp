#include "HistoryPlugin.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace VEK_SC_Space {

namespace {
const char FactoryName[] = "CreateISubModuleWid_HistoryRecordWid";

// QLibrary also tries the platform's file names for <name> (lib<name>.so and <name>.so on
// Unix, <name>.dll on Windows) and reports its last try, a file the user never named; a
// missing file is reported under the name given.
bool libraryFileExists(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists())
        return true;
#ifdef Q_OS_WIN
    return QFileInfo::exists(path + QLatin1String(".dll"));
#else
    return QFileInfo::exists(path + QLatin1String(".so"))
        || QFileInfo::exists(info.dir().filePath(QLatin1String("lib") + info.fileName() + QLatin1String(".so")));
#endif
}
} // namespace

QString HistoryPlugin::defaultPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("SubModule_HistoryRecord"));
}

ClientExitCode HistoryPlugin::load(const QString& path)
{
    if (!libraryFileExists(path)) {
        error = QCoreApplication::translate("HistoryPlugin", "Cannot load the history module %1: %2")
                    .arg(QDir::toNativeSeparators(path),
                         QCoreApplication::translate("HistoryPlugin", "no such file"));
        return ExitPluginMissing;
    }
    library.setFileName(path);
    if (!library.load()) {
        error = QCoreApplication::translate("HistoryPlugin", "Cannot load the history module %1: %2")
                    .arg(QDir::toNativeSeparators(path), library.errorString());
        return ExitPluginMissing;
    }
    factory = reinterpret_cast<Factory>(library.resolve(FactoryName));
    if (!factory) {
        error = QCoreApplication::translate("HistoryPlugin", "The library %1 has no function %2.")
                    .arg(QDir::toNativeSeparators(library.fileName()), QLatin1String(FactoryName));
        return ExitFactoryMissing;
    }
    error.clear();
    return ExitOk;
}

QString HistoryPlugin::errorString() const
{
    return error;
}

ISubModuleWid* HistoryPlugin::createPage(int accountKey, PageType pageType, QWidget* parent) const
{
    return factory ? factory(accountKey, int(pageType), parent) : nullptr;
}

} // namespace VEK_SC_Space
