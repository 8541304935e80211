#include "ExportFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace VEK_SC_Space {
namespace ExportFile {

namespace {

// Made if missing, and a file can be created in it: asking the file system is the only answer
// that holds for ACLs on Windows as for permissions and read-only mounts elsewhere.
bool usableFolder(const QString& folder)
{
    if (!QDir().mkpath(folder))
        return false;
    QTemporaryFile probe(folder + QStringLiteral("/.probe-XXXXXX"));
    return probe.open();
}

} // namespace

QString proposedFolder(const QString& applicationFolder, const QString& folderName)
{
    const QString beside = applicationFolder + QLatin1Char('/') + folderName;
    if (usableFolder(beside))
        return beside;
    // Where the application is installed for all users, its folder is not theirs to write: the
    // proposal moves to their documents rather than fail every time.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
        + QLatin1Char('/') + folderName;
    QDir().mkpath(documents);
    return documents;
}

Outcome save(const QString& fileName, const std::function<bool(QIODevice&)>& write)
{
    const QFileInfo target(fileName); // a link: what it points at
    // Opening a pipe for writing blocks until a reader comes, and the save below would rename its
    // file over a device or a pipe: only a regular file is written.
    if (target.exists() && !target.isFile())
        return Outcome::NotAFile;
    // Held by another program (Windows refuses to open it then), or read-only. Opened to append,
    // which changes nothing.
    if (target.exists() && !QFile(fileName).open(QIODevice::WriteOnly | QIODevice::Append))
        return Outcome::FileNotWritable;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return Outcome::FolderNotWritable;
    if (!write(file))
        file.cancelWriting();
    // Renames the written file over the earlier one only now; on failure it is removed.
    return file.commit() ? Outcome::Saved : Outcome::WriteFailed;
}

} // namespace ExportFile
} // namespace VEK_SC_Space
