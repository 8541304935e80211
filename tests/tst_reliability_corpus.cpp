// Replays the column-set fuzz corpus (fuzz/corpus/<set>/) through the checks the fuzz targets
// make (ColumnSetProbe), so that every input that once found new paths keeps running under the
// sanitizer build, together with inputs of the wrong size, a null record and foreign records.

#include "ColumnSetProbe.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace VEK_SC_Space;

class tst_ReliabilityCorpus : public QObject
{
    Q_OBJECT

private slots:
    void replay_data();
    void replay();
};

void tst_ReliabilityCorpus::replay_data()
{
    QTest::addColumn<int>("set");
    for (int i = 0; i < ColumnSetCount; ++i)
        QTest::newRow(columnSetCatalog()[i].name) << i;
}

void tst_ReliabilityCorpus::replay()
{
    QFETCH(int, set);
    const ColumnSetEntry& entry = columnSetCatalog()[set];
    const QDir folder(QStringLiteral(FUZZ_CORPUS_DIR "/") + QLatin1String(entry.name));
    QStringList names = folder.entryList(QDir::Files, QDir::Name);
    QVERIFY2(names.size() >= 5, qPrintable(folder.path()));
    QList<QByteArray> inputs;
    for (const QString& name : qAsConst(names)) {
        QFile file(folder.filePath(name));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        inputs << file.readAll();
    }
    // Every byte set and no terminator anywhere: empty, one byte short (the tail stays zero), one long.
    const int size = int(entry.recordSize);
    inputs << QByteArray() << QByteArray(size - 1, '\x7f') << QByteArray(size + 1, '\x7f');
    names << QStringLiteral("empty") << QStringLiteral("one byte short") << QStringLiteral("one byte long");

    UserData account(entry.accountType);
    for (UserData* userData : {&account, static_cast<UserData*>(nullptr)}) {
        // One probe for all inputs: the decimals a column shows are learnt once and held against the rest.
        ColumnSetProbe probe(entry, userData);
        for (int i = 0; i < inputs.size(); ++i) {
            const QByteArray& bytes = inputs.at(i);
            const QString problem = probe.check(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
            QVERIFY2(problem.isEmpty(), qPrintable(names.at(i) + QStringLiteral(": ") + problem));
        }
        const QString problem = probe.checkNullAndForeign();
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
}

QTEST_GUILESS_MAIN(tst_ReliabilityCorpus)
#include "tst_reliability_corpus.moc"
