// CSV export of a complete orders table (every record loaded, all fifteen columns shown) through
// the page's Export button, timed from accepting the save dialog to the success box. The floor
// writes the very same bytes with std::to_chars and memcpy into one buffer and one fwrite, from
// cell values prepared beforehand; the peer is a plain QTextStream over the proxy's display
// texts. All three files must be equal byte for byte. Also the most the page's export adds to
// the resident set at any moment (the high-water mark, reset before, over the resident set
// before), which includes the save dialog and the boxes, and the CPU time the floor's and the
// page's thread spent, which a machine busy with other work leaves closer to the truth than the
// clock (it leaves out waits: the page's flush to disk too). Each size runs twice: in the locale's
// encoding here (UTF-8) and in GBK, the code page of a Chinese Windows system, set as the
// locale's codec the way Qt finds it there.

#include "BenchSupport.h"

#include "TableHeader.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QTextStream>

#include <charconv>
#include <cstdio>
#include <ctime>
#include <malloc.h>
#include <variant>

using namespace Bench;

namespace {

constexpr int OrdersPage = 22;
const QString OrderColumnsKey = QStringLiteral("THStockHistoryOrder");

// One cell as the floor writes it: a number with its decimals, an int, or the text's bytes.
struct Number
{
    double value;
    int decimals;
};
using Value = std::variant<Number, int, QByteArray>;

// The cell values of the table as shown, in the table's row and column order.
struct Values
{
    QByteArray header;
    QVector<QVector<Value>> rows;
};

// Texts are held in the file's encoding, `codec`'s.
Values prepare(const QAbstractItemModel& table, QTextCodec* codec)
{
    Values values;
    for (int column = 0; column < table.columnCount(); ++column)
        values.header += codec->fromUnicode(table.headerData(column, Qt::Horizontal).toString()) + ',';
    values.header += '\n';
    values.rows.reserve(table.rowCount());
    for (int row = 0; row < table.rowCount(); ++row) {
        QVector<Value> cells;
        cells.reserve(table.columnCount());
        for (int column = 0; column < table.columnCount(); ++column) {
            const QModelIndex index = table.index(row, column);
            const QVariant raw = index.data(Qt::UserRole);
            const QString text = index.data().toString();
            if (raw.userType() == QMetaType::Double && text == QString::number(raw.toDouble(), 'f', 2))
                cells.append(Number{raw.toDouble(), 2});
            else if (raw.userType() == QMetaType::Double && text == QString::number(raw.toDouble(), 'f', 3))
                cells.append(Number{raw.toDouble(), 3});
            else if (raw.userType() == QMetaType::Int && text == QString::number(raw.toInt()))
                cells.append(raw.toInt());
            else
                cells.append(codec->fromUnicode(text));
        }
        values.rows.append(cells);
    }
    return values;
}

// The CPU time of the calling thread, in seconds: on a machine shared with other work it stays
// what the export costs where the clock also counts the waits for a core.
double threadCpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Wall-clock seconds; `cpu`: the thread's CPU seconds over the same time.
double floorRun(const Values& values, const QString& path, double& cpu)
{
    const double cpuBefore = threadCpuSeconds();
    const auto cpuAfter = qScopeGuard([&] { cpu = threadCpuSeconds() - cpuBefore; });
    return seconds([&] {
        std::vector<char> buffer;
        buffer.reserve(std::size_t(values.rows.size()) * 256 + std::size_t(values.header.size()));
        buffer.insert(buffer.end(), values.header.cbegin(), values.header.cend());
        char number[64];
        for (const QVector<Value>& row : values.rows) {
            for (const Value& cell : row) {
                if (const auto* n = std::get_if<Number>(&cell)) {
                    const auto result = std::to_chars(number, number + sizeof number, n->value, std::chars_format::fixed, n->decimals);
                    buffer.insert(buffer.end(), number, result.ptr);
                } else if (const auto* i = std::get_if<int>(&cell)) {
                    const auto result = std::to_chars(number, number + sizeof number, *i);
                    buffer.insert(buffer.end(), number, result.ptr);
                } else {
                    const QByteArray& text = std::get<QByteArray>(cell);
                    buffer.insert(buffer.end(), text.cbegin(), text.cend());
                }
                buffer.push_back(',');
            }
            buffer.push_back('\n');
        }
        FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
        std::fwrite(buffer.data(), 1, buffer.size(), file);
        std::fclose(file);
    });
}

double peerRun(const QAbstractItemModel& table, const QString& path)
{
    return seconds([&] {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate))
            return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
        // Qt 6's stream knows no code pages: each line in the locale's codec, as Qt 5's stream wrote.
        QTextCodec* codec = QTextCodec::codecForLocale();
        QString text;
        QTextStream line(&text);
        const auto flush = [&] { line.flush(); file.write(codec->fromUnicode(text)); text.clear(); };
#else
        QTextStream line(&file);
        const auto flush = [] {};
#endif
        for (int column = 0; column < table.columnCount(); ++column)
            line << table.headerData(column, Qt::Horizontal).toString() << ',';
        line << '\n';
        flush();
        for (int row = 0; row < table.rowCount(); ++row) {
            for (int column = 0; column < table.columnCount(); ++column)
                line << table.index(row, column).data().toString() << ',';
            line << '\n';
            flush();
        }
    });
}

// Answers the save dialog with `path` and the success box with its button, and notes the
// moments between which the page writes the file.
class ExportDriver : public QObject
{
public:
    explicit ExportDriver(const QString& fileName)
        : path(fileName)
    {
        qApp->installEventFilter(this);
        clock.start();
    }
    ~ExportDriver() override { qApp->removeEventFilter(this); }

    qint64 accepted = -1;
    qint64 reported = -1;
    double acceptedCpu = 0; // the thread's CPU seconds at those moments
    double reportedCpu = 0;
    QString report;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        if (auto* dialog = qobject_cast<QFileDialog*>(watched)) {
            QTimer::singleShot(0, dialog, [this, dialog] {
                dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
                accepted = clock.nsecsElapsed();
                acceptedCpu = threadCpuSeconds();
                QMetaObject::invokeMethod(dialog, "accept");
            });
        } else if (auto* box = qobject_cast<QMessageBox*>(watched)) {
            reported = clock.nsecsElapsed();
            reportedCpu = threadCpuSeconds();
            report = box->text();
            QTimer::singleShot(0, box, [box] {
                for (QAbstractButton* button : box->buttons()) {
                    if (button->text().remove(QLatin1Char('&')) == QStringLiteral("确定"))
                        button->click();
                }
            });
        }
        return false;
    }

private:
    QString path;
    QElapsedTimer clock;
};

// The resident set's high-water mark (VmHWM), or -1.
long highWaterBytes()
{
    long kilobytes = -1;
    if (FILE* status = std::fopen("/proc/self/status", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, status)) {
            if (std::sscanf(line, "VmHWM: %ld kB", &kilobytes) == 1)
                break;
        }
        std::fclose(status);
    }
    return kilobytes < 0 ? -1 : kilobytes * 1024;
}

// Sets the high-water mark to the resident set now (Linux 4.0 and later); false if refused.
bool resetHighWater()
{
    FILE* clear = std::fopen("/proc/self/clear_refs", "w");
    if (!clear)
        return false;
    const bool written = std::fputs("5", clear) >= 0;
    return std::fclose(clear) == 0 && written;
}

// `peak`: what the export added to the resident set at its most, -1 if not measurable.
double pageRun(Page& page, const QString& path, bool& ok, long& peak, double& cpu)
{
    ExportDriver driver(path);
    malloc_trim(0);
    const bool reset = resetHighWater();
    const long before = residentBytes();
    page.exportButton->click();
    const long high = highWaterBytes();
    peak = reset && high >= 0 ? high - before : -1;
    ok = driver.accepted >= 0 && driver.reported > driver.accepted
        && driver.report.endsWith(QStringLiteral("表格导出成功，文件已保存！"));
    cpu = driver.reportedCpu - driver.acceptedCpu;
    return double(driver.reported - driver.accepted) / 1e9;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("bench_export"));
    QCoreApplication::setApplicationName(QStringLiteral("bench_export"));
    holdBackDebugLines();
    const Options options = Options::parse(argc, argv, {100000});
    QTemporaryDir folder;

    print(QStringLiteral("== 4. CSV export of every loaded row of the orders page, median of %1 runs").arg(options.runs));
    print(QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10 %11 %12 %13").arg(QStringLiteral("N"), -6).arg(QStringLiteral("codec"), -6).arg(QStringLiteral("cols"), 5).arg(QStringLiteral("floor s"), 9).arg(QStringLiteral("page s"), 9).arg(QStringLiteral("peer s"), 9).arg(QStringLiteral("page/floor"), 11).arg(QStringLiteral("peer/floor"), 11).arg(QStringLiteral("files equal"), 12).arg(QStringLiteral("page peak MB"), 13).arg(QStringLiteral("floor cpu"), 10).arg(QStringLiteral("page cpu"), 10).arg(QStringLiteral("cpu ratio"), 10));
    bool allOk = true;
    bool met = true;
    for (int n : options.sizes) {
        // Every column shown, in registration order: the status message too.
        {
            const std::unique_ptr<TableHeader> columns(findColumnSet("StockHistoryOrderTableHeader")->create());
            QList<int> ids;
            for (const ColProperty* column : columns->allColumns())
                ids.append(column->id);
            TableHeader::saveColumnChoice(OrderColumnsKey, ids);
        }
        ServiceAccount account(HistoryKind::Order, n, 1000);
        Page page(OrdersPage);
        BoxWatch boxes;
        if (!page.isValid() || !page.loadEverything(n, boxes)) {
            print(QStringLiteral("  the page did not load %1 records").arg(n));
            allOk = false;
            continue;
        }
        boxes.texts.clear();
        const QAbstractItemModel& table = *page.table->model();
        for (const char* encoding : {"UTF-8", "GBK"}) {
            QTextCodec* codec = QTextCodec::codecForName(encoding);
            QTextCodec::setCodecForLocale(codec);
            const Values values = prepare(table, codec);

            QVector<double> floorTimes;
            QVector<double> pageTimes;
            QVector<double> floorCpu;
            QVector<double> pageCpu;
            QVector<double> peerTimes;
            long peak = -1; // the largest of the runs
            bool equal = true;
            for (int run = 0; run < options.runs; ++run) {
                const QString base = folder.filePath(QStringLiteral("%1-%2").arg(n).arg(run));
                double cpu = 0;
                floorTimes.append(floorRun(values, base + QStringLiteral("-floor.csv"), cpu));
                floorCpu.append(cpu);
                peerTimes.append(peerRun(table, base + QStringLiteral("-peer.csv")));
                bool ok = false;
                long added = -1;
                pageTimes.append(pageRun(page, base + QStringLiteral("-page.csv"), ok, added, cpu));
                pageCpu.append(cpu);
                peak = (run == 0 || peak >= 0) && added >= 0 ? std::max(peak, added) : -1;
                allOk = allOk && ok;
                const QByteArray pageFile = contents(base + QStringLiteral("-page.csv"));
                equal = equal && !pageFile.isEmpty() && pageFile == contents(base + QStringLiteral("-peer.csv"))
                    && pageFile == contents(base + QStringLiteral("-floor.csv"));
                for (const QString& suffix : {QStringLiteral("-floor.csv"), QStringLiteral("-peer.csv"), QStringLiteral("-page.csv")})
                    QFile::remove(base + suffix);
            }
            QTextCodec::setCodecForLocale(nullptr);
            allOk = allOk && equal;
            const double floor = median(floorTimes);
            const double pageTime = median(pageTimes);
            const double peer = median(peerTimes);
            met = met && pageTime / floor <= 2;
            const double floorCpuTime = median(floorCpu);
            const double pageCpuTime = median(pageCpu);
            print(QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9 %10 %11 %12 %13").arg(sizeName(n), -6).arg(QLatin1String(encoding), -6).arg(table.columnCount(), 5).arg(floor, 9, 'f', 3).arg(pageTime, 9, 'f', 3).arg(peer, 9, 'f', 3).arg(pageTime / floor, 11, 'f', 2).arg(peer / floor, 11, 'f', 2).arg(equal ? QStringLiteral("yes") : QStringLiteral("NO"), 12).arg(peak < 0 ? QStringLiteral("n/a") : QString::number(double(peak) / (1 << 20), 'f', 1), 13).arg(floorCpuTime, 10, 'f', 3).arg(pageCpuTime, 10, 'f', 3).arg(pageCpuTime / floorCpuTime, 10, 'f', 2));
        }
    }
    TableHeader::clearColumnChoice(OrderColumnsKey);
    print(QStringLiteral("target (page within 2x of the floor, file unchanged): %1").arg(met && allOk ? QStringLiteral("MET") : QStringLiteral("MISSED")));
    return allOk ? 0 : 1;
}
