// Writes starting inputs for the column-set fuzz targets: records of the simulated service
// (realistic texts, codes and numbers) and a few hostile byte patterns (no terminators, all
// bits set). One folder per set under the given directory; file names are content hashes, as
// libFuzzer names its own finds.
//   fuzz_seed_corpus OUTDIR

#include "ColumnSetCatalog.h"
#include "service/HistoryGenerator.h"
#include "service/HistoryWindow.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QFile>

#include <cstdio>

using namespace VEK_SC_Space;

namespace {

bool writeInput(const QDir& folder, const QByteArray& bytes)
{
    const QString name = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
    QFile file(folder.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTDIR\n", argv[0]);
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const HistoryWindow window(QDate(2024, 3, 15), 30, 400);
    for (int i = 0; i < ColumnSetCount; ++i) {
        const ColumnSetEntry& set = columnSetCatalog()[i];
        QDir folder(root);
        if (!folder.mkpath(QString::fromLatin1(set.name)) || !folder.cd(QString::fromLatin1(set.name)))
            return 1;
        const int size = int(set.recordSize);
        const HistoryGenerator generator(QStringLiteral("880012345"), set.accountType, window);
        for (qint64 index : {0, 57, 133, 399}) {
            void* record = generator.makeRecord(set.kind, index);
            const QByteArray bytes(static_cast<const char*>(record), size);
            set.release(record);
            if (!writeInput(folder, bytes))
                return 1;
        }
        for (const char fill : {'\0', '\xff', 'A', '.', '9'}) {
            if (!writeInput(folder, QByteArray(size, fill)))
                return 1;
        }
    }
    return 0;
}
