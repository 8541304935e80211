// Resident memory per record held and shown: a HistoryOrderWid loads every record of the
// simulated service (Query, Load all) and the growth of the resident set, divided by the number
// of records, less the record's own size, is what holding and showing a record costs. The peer
// is a QStandardItemModel filled with every cell up front (display text and raw value) and shown
// in a table view, measured over the same records already in memory. Every measurement runs in
// a process of its own.

#include "BenchSupport.h"

#include "api/ZRVDHistoryFields.h"

#include <QProcess>
#include <QStandardItemModel>

#include <malloc.h>

using namespace Bench;
using Record = ZRVALUEADDPROAPI::CZRVDHistoryOrderEXField;

namespace {

// Freed blocks go back to the system first, so that only what is in use is counted.
long settledResidentBytes()
{
    QCoreApplication::processEvents();
    malloc_trim(0);
    return residentBytes();
}

double measurePage(int n)
{
    ServiceAccount account(HistoryKind::Order, n, 1000);
    Page page(22);
    BoxWatch boxes;
    waitUntil([] { return true; });
    const long before = settledResidentBytes();
    if (!page.loadEverything(n, boxes))
        return -1;
    const long after = settledResidentBytes();
    return double(after - before) / n;
}

double measurePeer(int n)
{
    // The records and their account exist before the first reading: only the cells count.
    LoadedModel records(*findColumnSet("StockHistoryOrderTableHeader"), n);
    QTableView view;
    view.resize(1079, 537);
    view.show();
    const long before = settledResidentBytes();
    {
        QStandardItemModel model;
        records.fillPeer(model);
        view.setModel(&model);
        const long after = settledResidentBytes();
        view.setModel(nullptr);
        return double(after - before) / n;
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    holdBackDebugLines();
    const QStringList args = QCoreApplication::arguments();
    const int child = args.indexOf(QStringLiteral("--measure"));
    if (child > 0 && child + 2 < args.size()) {
        const int n = args.at(child + 2).toInt();
        const double perRecord = args.at(child + 1) == QLatin1String("peer") ? measurePeer(n) : measurePage(n);
        std::printf("%.1f\n", perRecord);
        return perRecord < 0 ? 1 : 0;
    }

    const Options options = Options::parse(argc, argv, {1000000}, 3);
    const bool withPeer = !args.contains(QStringLiteral("--no-peer"));
    const auto measure = [&](const char* what, int n) {
        QVector<double> values;
        for (int run = 0; run < options.runs; ++run) {
            QProcess process;
            process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            process.start(QCoreApplication::applicationFilePath(),
                          {QStringLiteral("--measure"), QString::fromLatin1(what), QString::number(n)});
            if (!process.waitForFinished(-1) || process.exitCode() != 0)
                return -1.0;
            values.append(process.readAllStandardOutput().trimmed().toDouble());
        }
        return median(values);
    };

    print(QStringLiteral("== 5. Resident bytes per record held and shown (orders, record %1 bytes), median of %2 processes")
              .arg(sizeof(Record))
              .arg(options.runs));
    print(QStringLiteral("%1 %2 %3 %4 %5").arg(QStringLiteral("N"), -6).arg(QStringLiteral("page total"), 11).arg(QStringLiteral("page beyond record"), 19).arg(QStringLiteral("peer beyond record"), 19).arg(QStringLiteral("peer/page"), 10));
    bool met = true;
    for (int n : options.sizes) {
        const double page = measure("page", n);
        const double beyond = page - double(sizeof(Record));
        const double peer = withPeer ? measure("peer", n) : 0;
        met = met && page >= 0 && beyond < 100;
        print(QStringLiteral("%1 %2 %3 %4 %5").arg(sizeName(n), -6).arg(page, 11, 'f', 1).arg(beyond, 19, 'f', 1).arg(withPeer ? QString::number(peer, 'f', 1) : QStringLiteral("-"), 19).arg(withPeer ? QString::number(peer / beyond, 'f', 1) : QStringLiteral("-"), 10));
    }
    print(QStringLiteral("target (under 100 bytes beyond the record): %1").arg(met ? QStringLiteral("MET") : QStringLiteral("MISSED")));
    return 0;
}
