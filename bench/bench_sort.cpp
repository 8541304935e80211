// Sorting the complete table of the orders page by a numeric and by a text column: the page's
// proxy (HistorySortProxyModel) against its peer, a plain QSortFilterProxyModel whose source
// builds a fresh QVariant on every call, and against the floor, std::sort of the same values
// taken straight from the records. Both proxies sit on the page's model holding every record.
// Then, each proxy alone on its model: a dataChanged over the whole sorted table that changes
// nothing, and pages of 100 rows appended to a shown table sorted by the side (buy or sell).

#include "BenchSupport.h"

#include "HistorySortProxyModel.h"
#include "api/ZRVDHistoryFields.h"

#include <QSortFilterProxyModel>
#include <QTableView>

#include <cstring>
#include <memory>
#include <string>

using namespace Bench;
using Record = ZRVALUEADDPROAPI::CZRVDHistoryOrderEXField;

namespace {

struct Column
{
    const char* name;
    int id; // in the stock order set
    bool numeric;
};

const Column Columns[] = {
    {"price (double)", 8, true},
    {"order time (text)", 1, false},
};

// The floor: the same values out of the records into one vector, then std::sort.
double floorRun(const std::vector<void*>& records, bool numeric)
{
    if (numeric) {
        return seconds([&] {
            std::vector<double> values;
            values.reserve(records.size());
            for (void* record : records)
                values.push_back(static_cast<const Record*>(record)->OrderPrice);
            std::sort(values.begin(), values.end());
        });
    }
    return seconds([&] {
        std::vector<std::string> values;
        values.reserve(records.size());
        for (void* record : records) {
            // The order time as its column shows it: up to the first '.'.
            const char* time = static_cast<const Record*>(record)->OrderTime;
            const std::size_t length = strnlen(time, sizeof Record::OrderTime);
            const void* dot = std::memchr(time, '.', length);
            values.emplace_back(time, dot ? std::size_t(static_cast<const char*>(dot) - time) : length);
        }
        std::sort(values.begin(), values.end());
    });
}

int mismatchedRows(const QAbstractProxyModel& a, const QAbstractProxyModel& b)
{
    int mismatches = 0;
    for (int row = 0; row < a.rowCount(); ++row) {
        if (a.mapToSource(a.index(row, 0)).row() != b.mapToSource(b.index(row, 0)).row())
            ++mismatches;
    }
    return mismatches;
}

// Every 997th row: the proxy's Qt::UserRole value is what the column set returns for the record.
bool rawValuesUntouched(const QAbstractProxyModel& proxy, LoadedModel& table, int column)
{
    const int id = table.columns.at(column)->id;
    for (int row = 0; row < proxy.rowCount(); row += 997) {
        const int source = proxy.mapToSource(proxy.index(row, column)).row();
        const QVariant expected = table.header->getColumnRawValue(id, table.records.at(source), &table.account);
        const QVariant served = proxy.index(row, column).data(Qt::UserRole);
        if (served.userType() != expected.userType() || served != expected)
            return false;
    }
    return true;
}

QVector<int> rowMap(const QAbstractProxyModel& proxy)
{
    QVector<int> rows;
    rows.reserve(proxy.rowCount());
    for (int row = 0; row < proxy.rowCount(); ++row)
        rows.append(proxy.mapToSource(proxy.index(row, 0)).row());
    return rows;
}

// A dataChanged over every cell of the table, values unchanged, as a source that refreshes.
// Seconds per refresh; `moved` tells whether any row moved.
double refreshRun(QAbstractProxyModel& proxy, LoadedModel& table, bool& moved)
{
    const QVector<int> before = rowMap(proxy);
    QAbstractItemModel& model = table.model;
    const double time = seconds([&] {
        emit model.dataChanged(model.index(0, 0), model.index(model.rowCount() - 1, model.columnCount() - 1));
    });
    moved = moved || rowMap(proxy) != before;
    return time;
}

// A shown table of `n` rows sorted by the side, the page's model holding `pages` pages of 100
// rows more, to be shown as answers show them.
template <typename Proxy>
class ShownTable
{
public:
    ShownTable(int n, int pages, int sideId)
        : table(*findColumnSet("StockHistoryOrderTableHeader"), n + 100 * pages)
    {
        table.model.setDataSource(table.records.mid(0, n));
        table.model.setDataSource(table.records);
        column = table.columnOf(sideId);
        proxy.setSortRole(Qt::UserRole);
        proxy.setSourceModel(&table.model);
        proxy.sort(column, Qt::AscendingOrder);
        view.setModel(&proxy);
        view.resize(1079, 537);
        view.show();
        QApplication::processEvents();
    }

    // The insertion and the view's handling of it, then one round of the event loop (its
    // layout and paint).
    double appendPage()
    {
        return seconds([&] {
            table.model.loadNextPage();
            QApplication::processEvents();
        });
    }

    bool sorted() const
    {
        bool inOrder = proxy.rowCount() == table.records.size();
        for (int row = 1; inOrder && row < proxy.rowCount(); ++row)
            inOrder = proxy.index(row - 1, column).data(Qt::UserRole).toInt() <= proxy.index(row, column).data(Qt::UserRole).toInt();
        return inOrder;
    }

    LoadedModel table;
    Proxy proxy;
    QTableView view;
    int column = -1;
};

// The two changes of a shown, sorted table, each proxy alone on its model.
bool changesRun(const Options& options)
{
    constexpr int SideId = 4; // direction: buy or sell
    bool allOk = true;
    bool targetsMet = true;
    print(QString());
    print(QStringLiteral("== 3b. Changes of a sorted table, each proxy on its own model: refresh median of %1 runs, "
                         "append median of 25 pages")
              .arg(options.runs));
    print(QStringLiteral("%1 %2 %3 %4 %5 %6")
              .arg(QStringLiteral("N"), -6)
              .arg(QStringLiteral("change"), -40)
              .arg(QStringLiteral("page ms"), 9)
              .arg(QStringLiteral("plain ms"), 9)
              .arg(QStringLiteral("page/plain"), 11)
              .arg(QStringLiteral("checked"), 0));
    for (int n : options.sizes) {
        // Every row refreshed, nothing changed, sorted by the order time (text, many equal keys).
        double refresh[2] = {};
        bool moved = false;
        bool same = true;
        {
            LoadedModel table(*findColumnSet("StockHistoryOrderTableHeader"), n);
            const int column = table.columnOf(1);
            QVector<int> order[2];
            for (const bool page : {false, true}) {
                std::unique_ptr<QAbstractProxyModel> proxy;
                if (page) {
                    auto* own = new HistorySortProxyModel;
                    own->setSortRole(Qt::UserRole);
                    proxy.reset(own);
                } else {
                    auto* plain = new QSortFilterProxyModel;
                    plain->setSortRole(Qt::UserRole);
                    proxy.reset(plain);
                }
                proxy->setSourceModel(&table.model);
                proxy->sort(column, Qt::AscendingOrder);
                QVector<double> times;
                for (int run = 0; run < options.runs; ++run)
                    times.append(refreshRun(*proxy, table, moved));
                refresh[page] = median(times);
                order[page] = rowMap(*proxy);
            }
            same = order[0] == order[1];
        }
        const bool refreshOk = !moved && same;
        allOk = allOk && refreshOk;
        targetsMet = targetsMet && refresh[1] <= 2 * refresh[0];
        print(QStringLiteral("%1 %2 %3 %4 %5 %6")
                  .arg(sizeName(n), -6)
                  .arg(QStringLiteral("dataChanged, every row, nothing changed"), -40)
                  .arg(refresh[1] * 1000, 9, 'f', 1)
                  .arg(refresh[0] * 1000, 9, 'f', 1)
                  .arg(refresh[1] / refresh[0], 11, 'f', 2)
                  .arg(refreshOk ? QStringLiteral("no row moved, same order") : QStringLiteral("ROWS MOVED OR ORDERS DIFFER")));

        // Both tables at once, a page to each in turn, so that a change of the machine's load
        // falls on both alike; more pages than runs, as each takes milliseconds.
        constexpr int Pages = 25;
        QVector<double> appendTimes[2];
        bool sorted = true;
        {
            ShownTable<QSortFilterProxyModel> plainTable(n, Pages, SideId);
            ShownTable<HistorySortProxyModel> pageTable(n, Pages, SideId);
            for (int page = 0; page < Pages; ++page) {
                appendTimes[0].append(plainTable.appendPage());
                appendTimes[1].append(pageTable.appendPage());
            }
            sorted = plainTable.sorted() && pageTable.sorted();
        }
        const double plainAppend = median(appendTimes[0]);
        const double pageAppend = median(appendTimes[1]);
        allOk = allOk && sorted;
        targetsMet = targetsMet && pageAppend <= plainAppend;
        print(QStringLiteral("%1 %2 %3 %4 %5 %6")
                  .arg(sizeName(n), -6)
                  .arg(QStringLiteral("100 rows appended, shown, sorted by side"), -40)
                  .arg(pageAppend * 1000, 9, 'f', 1)
                  .arg(plainAppend * 1000, 9, 'f', 1)
                  .arg(pageAppend / plainAppend, 11, 'f', 2)
                  .arg(sorted ? QStringLiteral("sorted, every row") : QStringLiteral("NOT SORTED")));
    }
    print(QStringLiteral("targets (refresh within 2x of plain, append no slower than plain): %1")
              .arg(targetsMet ? QStringLiteral("MET") : QStringLiteral("MISSED")));
    return allOk;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const Options options = Options::parse(argc, argv, {100000, 1000000});

    print(QStringLiteral("== 3. Sorting the complete orders table, ascending, median of %1 runs").arg(options.runs));
    print(QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
              .arg(QStringLiteral("N"), -6)
              .arg(QStringLiteral("column"), -18)
              .arg(QStringLiteral("floor s"), 9)
              .arg(QStringLiteral("page s"), 9)
              .arg(QStringLiteral("plain s"), 9)
              .arg(QStringLiteral("page/floor"), 11)
              .arg(QStringLiteral("plain/page"), 11)
              .arg(QStringLiteral("same order, raw values"), 0));

    bool allOk = true;
    bool targetsMet = true;
    for (int n : options.sizes) {
        LoadedModel table(*findColumnSet("StockHistoryOrderTableHeader"), n);
        QSortFilterProxyModel plain;
        plain.setSortRole(Qt::UserRole);
        plain.setSourceModel(&table.model);
        HistorySortProxyModel page;
        page.setSortRole(Qt::UserRole);
        page.setSourceModel(&table.model);

        for (const Column& column : Columns) {
            const int modelColumn = table.columnOf(column.id);
            QVector<double> floorTimes;
            QVector<double> pageTimes;
            QVector<double> plainTimes;
            for (int run = 0; run < options.runs; ++run) {
                floorTimes.append(floorRun(table.raw, column.numeric));
                plain.sort(-1);
                plainTimes.append(seconds([&] { plain.sort(modelColumn, Qt::AscendingOrder); }));
                page.sort(-1);
                pageTimes.append(seconds([&] { page.sort(modelColumn, Qt::AscendingOrder); }));
            }
            const int mismatches = mismatchedRows(page, plain);
            const bool untouched = rawValuesUntouched(page, table, modelColumn);
            allOk = allOk && mismatches == 0 && untouched;
            const double floor = median(floorTimes);
            const double pageTime = median(pageTimes);
            const double plainTime = median(plainTimes);
            targetsMet = targetsMet && pageTime / floor <= 4 && plainTime / pageTime >= 2;
            print(QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
                      .arg(sizeName(n), -6)
                      .arg(QString::fromLatin1(column.name), -18)
                      .arg(floor, 9, 'f', 3)
                      .arg(pageTime, 9, 'f', 3)
                      .arg(plainTime, 9, 'f', 3)
                      .arg(pageTime / floor, 11, 'f', 2)
                      .arg(plainTime / pageTime, 11, 'f', 2)
                      .arg(mismatches == 0 ? QStringLiteral("yes") : QStringLiteral("NO (%1 rows)").arg(mismatches))
                  + (untouched ? QStringLiteral(", yes") : QStringLiteral(", NO")));
        }
    }
    print(QStringLiteral("targets (page within 4x of the floor, at least 2x faster than plain): %1")
              .arg(targetsMet ? QStringLiteral("MET") : QStringLiteral("MISSED")));
    return changesRun(options) && allOk ? 0 : 1;
}
