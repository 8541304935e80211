// First page: the time from the answer that completes the first batch to 100 rows shown, with
// 1,000 or a million records held by the service. The page asks for one batch of 1,000 and
// shows its first 100 rows whatever the service holds, so the two should not differ. The peer
// is the common Qt approach: a QStandardItemModel filled with every cell (display text and raw
// value) of every record up front, then shown; its clock starts with all records in memory.
// "Shown" means the table's rows are in its model and its viewport has painted once since.

#include "BenchSupport.h"

#include "api/ZRVDHistoryFields.h"

#include <QEvent>
#include <QHeaderView>
#include <QStandardItemModel>

using namespace Bench;

namespace {

constexpr int Rows = 100;

// Notes when a widget has painted.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(QWidget* widget) { widget->installEventFilter(this); }
    bool painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

struct Times
{
    double rows = 0;    // first 100 rows in the table's model
    double painted = 0; // and the viewport painted
};

Times pageRun(int n, bool& ok)
{
    ServiceAccount account(HistoryKind::Order, n, 1000);
    QElapsedTimer clock;
    bool answered = false;
    // Connected before the page connects its own slot, so it runs first.
    QObject::connect(&account.account, &UserData::signal_ZRVA_RspInquiryHistoryOrderFinished, &account.account,
                     [&] {
                         if (!answered)
                             clock.start();
                         answered = true;
                     });
    Page page(22);
    BoxWatch boxes;
    ok = false;
    if (!page.isValid() || !waitUntil([] { return true; }, 1000))
        return {};
    // Nothing pending: the window is painted before the query starts.
    QCoreApplication::processEvents();

    Times times;
    PaintWatch paints(page.table->viewport());
    QObject::connect(page.table->model(), &QAbstractItemModel::rowsInserted, page.table, [&] {
        if (times.rows == 0 && page.rows() >= Rows) {
            times.rows = double(clock.nsecsElapsed()) / 1e9;
            paints.painted = false;
        }
    });
    page.query->click();
    ok = waitUntil([&] { return !boxes.texts.isEmpty() || (times.rows > 0 && paints.painted); }, 60000)
        && boxes.texts.isEmpty();
    times.painted = double(clock.nsecsElapsed()) / 1e9;
    // Let the rest of the query go before the page is torn down.
    waitUntil([&] { return !account.account.getIsZRVAReqing(); }, 60000);
    return times;
}

Times peerRun(LoadedModel& records, bool& ok)
{
    QTableView view;
    view.resize(1079, 537);
    view.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view.verticalHeader()->setDefaultSectionSize(23);
    view.show();
    QCoreApplication::processEvents();
    PaintWatch paints(view.viewport());
    QStandardItemModel model;
    Times times;
    QElapsedTimer clock;
    clock.start();
    records.fillPeer(model);
    view.setModel(&model);
    times.rows = double(clock.nsecsElapsed()) / 1e9;
    paints.painted = false;
    ok = waitUntil([&] { return paints.painted; }, 60000);
    times.painted = double(clock.nsecsElapsed()) / 1e9;
    view.setModel(nullptr);
    return times;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    holdBackDebugLines();
    const Options options = Options::parse(argc, argv, {1000, 1000000});
    const bool withPeer = !QCoreApplication::arguments().contains(QStringLiteral("--no-peer"));

    print(QStringLiteral("== 2. First page: answer of the first batch to %1 rows shown, median of %2 runs").arg(Rows).arg(options.runs));
    print(QStringLiteral("%1 %2 %3 %4 %5").arg(QStringLiteral("N"), -6).arg(QStringLiteral("page rows ms"), 13).arg(QStringLiteral("page shown ms"), 14).arg(QStringLiteral("peer rows s"), 12).arg(QStringLiteral("peer shown s"), 13));
    QMap<int, double> shown;
    QMap<int, double> peerShown;
    bool allOk = true;
    for (int n : options.sizes) {
        QVector<double> rows;
        QVector<double> painted;
        for (int run = 0; run < options.runs; ++run) {
            bool ok = false;
            const Times times = pageRun(n, ok);
            allOk = allOk && ok;
            rows.append(times.rows);
            painted.append(times.painted);
        }
        QVector<double> peerRows;
        QVector<double> peerPainted;
        if (withPeer) {
            LoadedModel records(*findColumnSet("StockHistoryOrderTableHeader"), n);
            for (int run = 0; run < options.runs; ++run) {
                bool ok = false;
                const Times times = peerRun(records, ok);
                allOk = allOk && ok;
                peerRows.append(times.rows);
                peerPainted.append(times.painted);
            }
        }
        shown[n] = median(painted);
        peerShown[n] = median(peerPainted);
        print(QStringLiteral("%1 %2 %3 %4 %5").arg(sizeName(n), -6).arg(median(rows) * 1e3, 13, 'f', 2).arg(shown[n] * 1e3, 14, 'f', 2).arg(withPeer ? QString::number(median(peerRows), 'f', 3) : QStringLiteral("-"), 12).arg(withPeer ? QString::number(peerShown[n], 'f', 3) : QStringLiteral("-"), 13));
    }
    const int small = options.sizes.first();
    const int big = options.sizes.last();
    if (small != big) {
        const double ratio = shown[big] / shown[small];
        print(QStringLiteral("page shown time(%1)/time(%2): %3 (target <= 1.5) %4")
                  .arg(sizeName(big), sizeName(small))
                  .arg(ratio, 0, 'f', 2)
                  .arg(ratio <= 1.5 ? QStringLiteral("MET") : QStringLiteral("MISSED")));
        if (withPeer)
            print(QStringLiteral("peer/page at %1: %2").arg(sizeName(big)).arg(peerShown[big] / shown[big], 0, 'f', 0));
    }
    return allOk ? 0 : 1;
}
