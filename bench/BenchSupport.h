#pragma once

// What every benchmark shares: options, clocks, medians, resident memory, an account on the
// simulated service, the real pages and waiting on the event loop.

#include "ColumnSetCatalog.h"
#include "HistoryRecordFactory.h"
#include "ISubModuleWid.h"
#include "UserData.h"
#include "UserDataManager.h"
#include "myHistoryModel.h"
#include "service/HistoryGenerator.h"
#include "service/HistoryWindow.h"
#include "service/ValueAddedService.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDate>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardItemModel>
#include <QStringList>
#include <QTableView>
#include <QTimer>
#include <QVector>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <unistd.h>
#include <vector>

namespace Bench {

using namespace VEK_SC_Space;

struct Options
{
    QVector<int> sizes;
    int runs = 5;
    bool child = false; // one size in a process of its own (memory figures)

    // --sizes 10000,100000,1000000 --runs 5
    static Options parse(int argc, char** argv, QVector<int> defaultSizes, int defaultRuns = 5)
    {
        Options options;
        options.sizes = std::move(defaultSizes);
        options.runs = defaultRuns;
        const QStringList args = QCoreApplication::arguments();
        Q_UNUSED(argc)
        Q_UNUSED(argv)
        for (int i = 1; i < args.size(); ++i) {
            if (args.at(i) == QLatin1String("--sizes") && i + 1 < args.size()) {
                options.sizes.clear();
                for (const QString& size : args.at(++i).split(QLatin1Char(','), Qt::SkipEmptyParts))
                    options.sizes.append(size.toInt());
            } else if (args.at(i) == QLatin1String("--runs") && i + 1 < args.size()) {
                options.runs = qMax(1, args.at(++i).toInt());
            } else if (args.at(i) == QLatin1String("--child")) {
                options.child = true;
            }
        }
        return options;
    }
};

inline double median(QVector<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const int middle = values.size() / 2;
    return values.size() % 2 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2;
}

// Seconds spent in f.
template <typename F>
double seconds(F&& f)
{
    QElapsedTimer clock;
    clock.start();
    f();
    return double(clock.nsecsElapsed()) / 1e9;
}

inline long residentBytes()
{
    long size = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &size, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * sysconf(_SC_PAGESIZE);
}

inline QString sizeName(int n)
{
    if (n >= 1000000 && n % 1000000 == 0)
        return QStringLiteral("%1M").arg(n / 1000000);
    if (n >= 1000 && n % 1000 == 0)
        return QStringLiteral("%1k").arg(n / 1000);
    return QString::number(n);
}

inline void print(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

// Runs the event loop until done() holds; false after timeoutMs.
inline bool waitUntil(const std::function<bool()>& done, int timeoutMs = 600000)
{
    QElapsedTimer clock;
    clock.start();
    QTimer wakeUp; // lets the loop look at the clock while nothing else happens
    wakeUp.start(50);
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// The module's debug lines ("updateTimes = ...", one per answer) would cost more than the work
// they describe; everything else still reaches the terminal.
inline void holdBackDebugLines()
{
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type != QtDebugMsg)
            std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    });
}

// A message box means a benchmark went wrong: note it, close it, let the caller give up.
class BoxWatch : public QObject
{
public:
    BoxWatch()
    {
        connect(&timer, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts.append(box->text());
                box->reject();
            }
        });
        timer.start(20);
    }
    QStringList texts;

private:
    QTimer timer;
};

// A stock or credit account on its own simulated service, registered under `Key`.
class ServiceAccount
{
public:
    static constexpr int Key = 8801;
    static inline const QDate Today = QDate(2024, 3, 15);
    static constexpr int HistoryDays = 365;

    ServiceAccount(HistoryKind kind, int records, int batchSize = 1000, int accountType = 1)
        : account(accountType)
    {
        service.setReferenceDate(Today);
        service.setHistoryDays(HistoryDays);
        service.setRecordsPerKind(0);
        service.setRecordCount(kind, records);
        service.setBatchSize(batchSize);
        service.setLatencyMs(0);
        account.setDefaultInvestorID(QStringLiteral("880012345"));
        account.setService(&service);
        UserDataManager::instance()->userDataMap().insert(Key, &account);
    }
    ~ServiceAccount()
    {
        UserDataManager::instance()->userDataMap().remove(Key);
        account.setService(nullptr);
    }

    static QString beginDate() { return Today.addDays(-HistoryDays - 1).toString(QStringLiteral("yyyyMMdd")); }
    static QString endDate() { return Today.addDays(-1).toString(QStringLiteral("yyyyMMdd")); }

    ValueAddedService service;
    UserData account;
};

// A real page from the module's factory, initialised and shown as the client shows it, with the
// widgets a user touches.
class Page
{
public:
    Page(int pageType, int accountKey = ServiceAccount::Key)
        : widget(CreateISubModuleWid_HistoryRecordWid(accountKey, pageType, nullptr))
    {
        if (!widget)
            return;
        widget->initSubModule();
        widget->resize(1079, 537);
        widget->show();
        query = child<QPushButton>("pushButton_historyordertradewid_request");
        exportButton = child<QPushButton>("pushButton_historyordertradewid_export");
        loadAll = child<QPushButton>("pushButton_historyordertradewid_loadall");
        tips = child<QLabel>("label_historyordertradewid_tips");
        table = child<QTableView>("tableView_historyordertradewid");
        // The whole history of the service, not the last ten days.
        child<QDateEdit>("dateEdit_historyordertradewid_begdate")->setDate(ServiceAccount::Today.addDays(-ServiceAccount::HistoryDays - 1));
        child<QDateEdit>("dateEdit_historyordertradewid_enddate")->setDate(ServiceAccount::Today.addDays(-1));
    }

    bool isValid() const { return widget != nullptr; }
    int rows() const { return table->model()->rowCount(); }
    bool complete() const { return tips->text().startsWith(QStringLiteral("所有数据已加载完毕")); }

    // Query, then Load all as soon as the button offers itself, until every record is shown.
    bool loadEverything(int expected, BoxWatch& boxes)
    {
        query->click();
        const auto stuck = [&] { return !boxes.texts.isEmpty(); };
        if (!waitUntil([&] { return stuck() || complete() || !loadAll->isHidden(); }))
            return false;
        if (!complete() && !stuck())
            loadAll->click();
        return waitUntil([&] { return stuck() || (complete() && rows() == expected); }) && !stuck();
    }

    template <typename W>
    W* child(const char* name) const
    {
        return widget->findChild<W*>(QString::fromLatin1(name));
    }

    std::unique_ptr<ISubModuleWid> widget;
    QPushButton* query = nullptr;
    QPushButton* exportButton = nullptr;
    QPushButton* loadAll = nullptr;
    QLabel* tips = nullptr;
    QTableView* table = nullptr;
};

// `n` records of one column set's type from the service's generator, in a paged model that shows
// every one of them, the way a page holds a complete answer (no proxy, no view).
class LoadedModel
{
public:
    static constexpr int Key = 8802;

    // everyColumn: all registered columns, not only those a page shows by default.
    LoadedModel(const ColumnSetEntry& columnSet, int n, bool everyColumn = false)
        : set(columnSet)
        , account(columnSet.accountType)
        , header(columnSet.create())
        , model(QStringLiteral("HistoryTable"), Key)
    {
        account.setDefaultInvestorID(QStringLiteral("880012345"));
        UserDataManager::instance()->userDataMap().insert(Key, &account);
        header->initUserColumn();
        columns = everyColumn ? header->allColumns() : header->getShowColumns();
        model.setHeader(header.get(), columns);

        const HistoryWindow window(ServiceAccount::Today, ServiceAccount::HistoryDays, n);
        const HistoryGenerator generator(QStringLiteral("880012345"), set.accountType, window);
        raw.reserve(std::size_t(n));
        records.reserve(n);
        for (int i = 0; i < n; ++i) {
            raw.push_back(generator.makeRecord(set.kind, i));
            records.append(set.wrap(raw.back()));
        }
        model.setDataSource(records);
        while (model.rowCount() < n)
            model.loadNextPage();
    }
    ~LoadedModel()
    {
        model.setDataSource(QList<std::any>());
        model.resetDataSource();
        records.clear();
        for (void* record : raw)
            set.release(record);
        UserDataManager::instance()->userDataMap().remove(Key);
    }

    // The common Qt peer: every cell, display text and raw value, in a QStandardItemModel.
    void fillPeer(QStandardItemModel& peer)
    {
        const int n = records.size();
        peer.setColumnCount(columns.size());
        peer.setRowCount(n);
        for (int row = 0; row < n; ++row) {
            for (int column = 0; column < columns.size(); ++column) {
                const int id = columns.at(column)->id;
                auto* item = new QStandardItem(header->getColumnDisplayText(id, records.at(row), &account));
                item->setData(header->getColumnRawValue(id, records.at(row), &account), Qt::UserRole);
                peer.setItem(row, column, item);
            }
        }
    }

    // The model column that shows the column with this id.
    int columnOf(int id) const
    {
        for (int i = 0; i < columns.size(); ++i) {
            if (columns.at(i)->id == id)
                return i;
        }
        return -1;
    }

    const ColumnSetEntry& set;
    UserData account;
    std::unique_ptr<TableHeader> header;
    QList<ColProperty*> columns;
    myHistoryModel model;
    QList<std::any> records;
    std::vector<void*> raw;
};

} // namespace Bench
