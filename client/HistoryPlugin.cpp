#include "HistoryPlugin.h"

#include <QCoreApplication>
#include <QDir>

namespace VEK_SC_Space {

namespace {
const char FactoryName[] = "CreateISubModuleWid_HistoryRecordWid";
}

QString HistoryPlugin::defaultPath()
{
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("SubModule_HistoryRecord"));
}

ClientExitCode HistoryPlugin::load(const QString& path)
{
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

ISubModuleWid* HistoryPlugin::createPage(int accountKey, int pageType, QWidget* parent) const
{
    return factory ? factory(accountKey, pageType, parent) : nullptr;
}

} // namespace VEK_SC_Space
