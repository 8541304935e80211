// Replays the column-set fuzz corpus (fuzz/corpus/<set>/) through the same checks the fuzz
// targets make, so that every input that once found new paths keeps running under the
// sanitizer build. Also shows that those checks catch the faults they are meant for.

#include "ColumnSetProbe.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QtTest>

#include <cstring>
#include <memory>

using namespace VEK_SC_Space;

namespace {

const QString CorpusDir = QStringLiteral(FUZZ_CORPUS_DIR);

// One probe per set and account, kept across rows: the decimals a column shows are learnt from
// one input and held against the next.
class Probes
{
public:
    ColumnSetProbe& probe(const ColumnSetEntry& set, bool withAccount)
    {
        const QString key = QString::fromLatin1(set.name) + (withAccount ? QStringLiteral("+account") : QString());
        auto it = probes.find(key);
        if (it == probes.end()) {
            UserData* userData = nullptr;
            if (withAccount) {
                accounts.push_back(std::make_unique<UserData>(set.accountType));
                userData = accounts.back().get();
            }
            it = probes.insert(key, std::make_shared<ColumnSetProbe>(set, userData));
        }
        return **it;
    }

private:
    std::vector<std::unique_ptr<UserData>> accounts;
    QMap<QString, std::shared_ptr<ColumnSetProbe>> probes;
};

// A small record and a set over it with one deliberate fault, to prove that the probe sees it.
struct ToyRecord
{
    char Code[8];
    char Name[8];
    double Price;
    int32_t Volume;
};

enum class Fault { None, ReadsPastTerminator, WritesRecord, Unstable, WrongDecimals, DriftingDecimals, ExtraColumn };

Fault toyFault = Fault::None;

class ToyColumns : public TableHeader
{
public:
    ToyColumns() : TableHeader(QStringLiteral("tst_reliability_corpus"), nullptr)
    {
        addColumn(0, QStringLiteral("代码"), 80, Qt::AlignCenter, true);
        addColumn(1, QStringLiteral("名称"), 80, Qt::AlignCenter, true);
        addColumn(2, QStringLiteral("价格"), 80, Qt::AlignRight | Qt::AlignVCenter, true);
        addColumn(3, QStringLiteral("数量"), 80, Qt::AlignRight | Qt::AlignVCenter, true);
    }

    QString getColumnDisplayText(int column, std::any record, UserData*) override
    {
        ToyRecord* toy = std::any_cast<ToyRecord*>(record);
        if (!toy)
            return QString();
        switch (column) {
        case 0:
            if (toyFault == Fault::ReadsPastTerminator)
                return QString::fromLatin1(toy->Code, int(sizeof toy->Code));
            return QString::fromLatin1(toy->Code, int(strnlen(toy->Code, sizeof toy->Code)));
        case 1:
            if (toyFault == Fault::WritesRecord)
                toy->Name[0] = 'x';
            return QString::fromLatin1(toy->Name, int(strnlen(toy->Name, sizeof toy->Name)));
        case 2: {
            int decimals = toyFault == Fault::WrongDecimals ? 4 : 3;
            if (toyFault == Fault::DriftingDecimals && toy->Volume % 2 != 0)
                decimals = 2;
            return QString::number(toy->Price, 'f', decimals);
        }
        case 3:
            if (toyFault == Fault::Unstable)
                return QString::number(toy->Volume + (++calls % 2));
            return QString::number(toy->Volume);
        case 4:
            return toyFault == Fault::ExtraColumn ? QStringLiteral("?") : QString();
        default:
            return QString();
        }
    }

    QVariant getColumnRawValue(int column, std::any record, UserData*) override
    {
        const ToyRecord* toy = std::any_cast<ToyRecord*>(record);
        if (!toy)
            return QVariant();
        switch (column) {
        case 0: return QString::fromLatin1(toy->Code, int(strnlen(toy->Code, sizeof toy->Code)));
        case 1: return QString::fromLatin1(toy->Name, int(strnlen(toy->Name, sizeof toy->Name)));
        case 2: return toy->Price;
        case 3: return toy->Volume;
        default: return QVariant();
        }
    }

private:
    int calls = 0;
};

QByteArray toyBytes(const char* code, const char* name, double price, int32_t volume)
{
    ToyRecord toy{};
    std::strncpy(toy.Code, code, sizeof toy.Code);
    std::strncpy(toy.Name, name, sizeof toy.Name);
    toy.Price = price;
    toy.Volume = volume;
    return QByteArray(reinterpret_cast<const char*>(&toy), int(sizeof toy));
}

QString check(ColumnSetProbe& probe, const QByteArray& bytes)
{
    return probe.check(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
}

} // namespace

Q_DECLARE_METATYPE(Fault)

class tst_ReliabilityCorpus : public QObject
{
    Q_OBJECT

private slots:
    void everySetHasACorpus_data();
    void everySetHasACorpus();
    void replay_data();
    void replay();
    void nullAndForeignRecords_data();
    void nullAndForeignRecords();
    void shortAndLongInputs_data();
    void shortAndLongInputs();
    void probeSeesFaults_data();
    void probeSeesFaults();

private:
    Probes probes;
};

void tst_ReliabilityCorpus::everySetHasACorpus_data()
{
    QTest::addColumn<int>("set");
    for (int i = 0; i < ColumnSetCount; ++i)
        QTest::newRow(columnSetCatalog()[i].name) << i;
}

void tst_ReliabilityCorpus::everySetHasACorpus()
{
    QFETCH(int, set);
    const QDir folder(CorpusDir + QLatin1Char('/') + QString::fromLatin1(columnSetCatalog()[set].name));
    QVERIFY2(folder.exists(), qPrintable(folder.path()));
    QVERIFY(folder.entryList(QDir::Files).size() >= 5);
}

void tst_ReliabilityCorpus::replay_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<QString>("path");
    for (int i = 0; i < ColumnSetCount; ++i) {
        const QString name = QString::fromLatin1(columnSetCatalog()[i].name);
        const QDir folder(CorpusDir + QLatin1Char('/') + name);
        for (const QString& file : folder.entryList(QDir::Files, QDir::Name))
            QTest::newRow(qPrintable(name + QLatin1Char('/') + file)) << i << folder.filePath(file);
    }
}

void tst_ReliabilityCorpus::replay()
{
    QFETCH(int, set);
    QFETCH(QString, path);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const ColumnSetEntry& entry = columnSetCatalog()[set];
    for (const bool withAccount : {true, false}) {
        const QString problem = check(probes.probe(entry, withAccount), bytes);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
    }
}

void tst_ReliabilityCorpus::nullAndForeignRecords_data()
{
    everySetHasACorpus_data();
}

void tst_ReliabilityCorpus::nullAndForeignRecords()
{
    QFETCH(int, set);
    const ColumnSetEntry& entry = columnSetCatalog()[set];
    UserData account(entry.accountType);
    ColumnSetProbe probe(entry, &account);
    QVERIFY(!probe.registeredColumns().isEmpty());
    const QString problem = probe.checkNullAndForeign();
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void tst_ReliabilityCorpus::shortAndLongInputs_data()
{
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("extra");   // bytes beyond (+) or short of (-) the record's size
    for (int i = 0; i < ColumnSetCount; ++i) {
        const QByteArray name(columnSetCatalog()[i].name);
        QTest::newRow((name + " empty").constData()) << i << -int(columnSetCatalog()[i].recordSize);
        QTest::newRow((name + " one byte short").constData()) << i << -1;
        QTest::newRow((name + " one byte long").constData()) << i << 1;
    }
}

void tst_ReliabilityCorpus::shortAndLongInputs()
{
    QFETCH(int, set);
    QFETCH(int, extra);
    const ColumnSetEntry& entry = columnSetCatalog()[set];
    // Every byte set, no terminator anywhere: a short input leaves the tail zero.
    const QByteArray bytes(int(entry.recordSize) + extra, '\x7f');
    const QString problem = check(probes.probe(entry, true), bytes);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
}

void tst_ReliabilityCorpus::probeSeesFaults_data()
{
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<QString>("expected");   // part of the report; empty: no report

    QTest::newRow("sound set") << Fault::None << QString();
    QTest::newRow("reads past the terminator") << Fault::ReadsPastTerminator << "column 0: the display text holds a NUL";
    QTest::newRow("writes into the record") << Fault::WritesRecord << "the record was changed";
    QTest::newRow("answers differently when asked again") << Fault::Unstable << "column 3: the display text differs";
    QTest::newRow("shows four decimals") << Fault::WrongDecimals << "column 2: the text is not the raw number";
    QTest::newRow("decimals change between records") << Fault::DriftingDecimals << "column 2: the number of decimals changed from 3";
    QTest::newRow("cell in an unregistered column") << Fault::ExtraColumn << "column 4: an unregistered column gave a cell";
}

void tst_ReliabilityCorpus::probeSeesFaults()
{
    QFETCH(Fault, fault);
    QFETCH(QString, expected);

    toyFault = fault;
    const auto reset = qScopeGuard([] { toyFault = Fault::None; });
    const ColumnSetEntry toy = CatalogDetail::entry<ToyColumns, ToyRecord>("ToyColumns", HistoryKind::Order, 1);
    ColumnSetProbe probe(toy, nullptr);

    QString report;
    for (const QByteArray& bytes : {toyBytes("600000", "浦发", 12.5, 100), toyBytes("000001", "AB", 3.25, 7)}) {
        report = check(probe, bytes);
        if (!report.isEmpty())
            break;
    }
    if (expected.isEmpty())
        QVERIFY2(report.isEmpty(), qPrintable(report));
    else
        QVERIFY2(report.contains(expected), qPrintable(report));
}

QTEST_GUILESS_MAIN(tst_ReliabilityCorpus)
#include "tst_reliability_corpus.moc"
