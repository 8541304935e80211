#pragma once

#include <QString>

#include <functional>

class QIODevice;

namespace VEK_SC_Space {

// Where a page's export is proposed and how its file is saved: written whole beside the target
// and put in its place only when every byte is out, so that a failure never costs the user an
// earlier file.
namespace ExportFile {

// `folderName` under the application's folder, made if missing. Where that folder cannot be made
// or written (Program Files for an ordinary user), the same name under the user's documents.
QString proposedFolder(const QString& applicationFolder, const QString& folderName);

enum class Outcome {
    Saved,
    NotAFile,          // a device, a pipe or a folder: nothing written
    FileNotWritable,   // an existing file that cannot be opened for writing (in use, read-only)
    FolderNotWritable, // the folder is missing or refuses a new file
    WriteFailed        // a write, the flush or the replacement failed: the earlier file stays
};

// Saves what `write` writes (false: it failed) to `fileName`, or to the file a link there points at.
Outcome save(const QString& fileName, const std::function<bool(QIODevice&)>& write);

} // namespace ExportFile
} // namespace VEK_SC_Space
