// Cost of one cell: nanoseconds per data() call of the page's model, for the display text and
// for the raw value, per kind of column. The indexes are made beforehand; each figure is the
// median over several passes over every row.

#include "BenchSupport.h"

#include <cstring>

using namespace Bench;

namespace {

struct Cell
{
    const char* set;
    int id;
    const char* kind;
};

const Cell Cells[] = {
    {"StockHistoryOrderTableHeader", 12, "text"},
    {"StockHistoryOrderTableHeader", 0, "date text / row category"},
    {"StockHistoryOrderTableHeader", 1, "time cut at '.'"},
    {"StockHistoryOrderTableHeader", 6, "message (Util::char2QStr)"},
    {"StockHistoryOrderTableHeader", 8, "price, 3 decimals"},
    {"StockHistoryOrderTableHeader", 11, "amount, 2 decimals"},
    {"StockHistoryOrderTableHeader", 9, "count"},
    {"StockHistoryOrderTableHeader", 4, "code, direction decoder"},
    {"StockHistoryOrderTableHeader", 7, "code, 3-byte price type"},
    {"StockHistoryOrderTableHeader", 14, "code, exchange decoder"},
    {"StockHistoryOrderTableHeader", 2, "security code lookup"},
    {"StockHistoryOrderTableHeader", 3, "security name lookup"},
    {"StockHistoryFundDetailTableHeader", 4, "name by exchange letters"},
    {"StockHistoryPositionTableHeader", 5, "cost price (quotient)"},
    {"CreditHistoryCreditDebtTableHeader", 4, "entrust type text"},
    {"CreditHistoryCreditDebtTableHeader", 7, "unpaid quantity (computed)"},
    {"CreditHistoryCreditDebtTableHeader", 9, "unpaid amount (computed)"},
};

double nanosPerCall(const QVector<QModelIndex>& indexes, int role, int runs)
{
    QVector<double> passes;
    qsizetype sink = 0;
    for (int run = 0; run < runs; ++run) {
        passes.append(seconds([&] {
                          for (const QModelIndex& index : indexes)
                              sink += index.data(role).userType();
                      })
                      * 1e9 / indexes.size());
    }
    if (sink == 42)
        print(QString()); // keeps the calls from being optimised away
    return median(passes);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const Options options = Options::parse(argc, argv, {100000});
    const int n = options.sizes.first();

    print(QStringLiteral("== 6. Cell cost: ns per data() call over %1 rows, median of %2 passes").arg(sizeName(n)).arg(options.runs));
    print(QStringLiteral("%1 %2 %3 %4").arg(QStringLiteral("column kind"), -30).arg(QStringLiteral("set / id"), -40).arg(QStringLiteral("display ns"), 11).arg(QStringLiteral("raw ns"), 9));
    std::unique_ptr<LoadedModel> table;
    for (const Cell& cell : Cells) {
        if (!table || std::strcmp(table->set.name, cell.set) != 0) {
            table.reset();
            table = std::make_unique<LoadedModel>(*findColumnSet(cell.set), n, true);
        }
        const int column = table->columnOf(cell.id);
        QVector<QModelIndex> indexes;
        indexes.reserve(n);
        for (int row = 0; row < n; ++row)
            indexes.append(table->model.index(row, column));
        nanosPerCall(indexes, Qt::DisplayRole, 1); // warm-up
        const double display = nanosPerCall(indexes, Qt::DisplayRole, options.runs);
        const double raw = nanosPerCall(indexes, Qt::UserRole, options.runs);
        print(QStringLiteral("%1 %2 %3 %4").arg(QString::fromLatin1(cell.kind), -30).arg(QStringLiteral("%1 / %2").arg(QString::fromLatin1(cell.set)).arg(cell.id), -40).arg(display, 11, 'f', 0).arg(raw, 9, 'f', 0));
    }
    return 0;
}
