#include "ValueAddedService.h"

#include "HistoryGenerator.h"
#include "HistoryWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <functional>
#include <utility>

namespace VEK_SC_Space {

namespace {

const char* const connectionLostText = "增值服务连接已断开";
const char* const loggedOutText = "增值服务已登出";

// Owns the records of a batch until they are handed to an account; a batch that never reaches
// one (account gone, request cancelled, service destroyed) frees them.
class RecordBatch
{
public:
    RecordBatch(HistoryKind recordKind, int type)
        : kind(recordKind)
        , accountType(type) {}
    ~RecordBatch()
    {
        for (void* record : qAsConst(records))
            UserData::deleteRecord(kind, accountType, record);
    }
    RecordBatch(const RecordBatch&) = delete;
    RecordBatch& operator=(const RecordBatch&) = delete;

    QVector<void*> take() { return std::exchange(records, {}); }

    const HistoryKind kind;
    const int accountType;
    QVector<void*> records;
    bool isTotalLast = true;
};

// One request as the service took it: the query and the settings of the moment.
struct Job
{
    HistoryQuery query;
    int batchSize = 500;
    qint64 recordCount = 0;
    int historyDays = 30;
    QDate today;
    int latencyMs = 0;
    int errorId = 0;
    QString errorMsg;
    std::atomic_bool cancelled{false};
};

std::shared_ptr<RecordBatch> buildBatch(const Job& job)
{
    const HistoryQuery& query = job.query;
    auto batch = std::make_shared<RecordBatch>(query.kind, query.accountType);
    const qint64 count = HistoryGenerator::holds(query.kind, query.accountType) ? job.recordCount : 0;
    const HistoryWindow window(job.today, job.historyDays, count);
    const HistoryWindow::Batch selection = window.batch(query.beginDate, query.endDate, query.sortType,
                                                        query.batchNo, job.batchSize);
    const HistoryGenerator generator(query.investorId, query.accountType, window);
    batch->records.reserve(selection.indices.size());
    for (qint64 index : selection.indices) {
        if (job.cancelled)
            break;
        batch->records.append(generator.makeRecord(query.kind, index));
    }
    batch->isTotalLast = selection.isTotalLast;
    return batch;
}

// Appends the answer on the account's own thread.
void handOver(UserData* account, int requestId, const std::shared_ptr<RecordBatch>& batch,
              int errorId, const QString& errorMsg)
{
    auto deliver = [account, requestId, batch, errorId, errorMsg] {
        account->deliverAnswer(batch->kind, requestId, batch->take(), errorId, errorMsg,
                               errorId != 0 || batch->isTotalLast);
    };
    if (account->thread() == QThread::currentThread())
        deliver();
    else
        QMetaObject::invokeMethod(account, deliver, Qt::QueuedConnection);
}

} // namespace

struct ValueAddedService::Private
{
    explicit Private(ValueAddedService* service)
        : q(service) {}

    struct Settings
    {
        int latencyMs = 0;
        int batchSize = 500;
        int recordsPerKind = 1000;
        int kindCounts[HistoryKindCount] = {-1, -1, -1, -1, -1, -1, -1, -1}; // -1: recordsPerKind
        int historyDays = 30;
        QDate today;
        bool failNext = false;
        int failErrorId = 0;
        QString failErrorMsg;
        bool connected = true;
        bool loggedIn = true;
        bool busy = false;
    };

    struct Outstanding
    {
        QPointer<UserData> account;
        std::shared_ptr<Job> job;
    };

    void runOnServiceThread(std::function<void()> work);
    void dispatch(const std::shared_ptr<Job>& job);
    void deliver(const std::shared_ptr<Job>& job, const std::shared_ptr<RecordBatch>& batch);
    void applyConnectionState();
    void answerOutstanding(int errorId, const QString& errorMsg);
    static void answerWithError(UserData* account, const Job& job, int errorId, const QString& errorMsg);

    ValueAddedService* q;
    mutable QMutex mutex; // guards settings
    Settings settings;

    QThread thread;
    QObject* worker = nullptr; // lives in `thread`

    // Touched on the service's thread only.
    QHash<int, Outstanding> outstanding;
    QList<QPointer<UserData>> accounts;
};

void ValueAddedService::Private::runOnServiceThread(std::function<void()> work)
{
    if (QThread::currentThread() == q->thread())
        work();
    else
        QMetaObject::invokeMethod(q, std::move(work), Qt::QueuedConnection);
}

void ValueAddedService::Private::dispatch(const std::shared_ptr<Job>& job)
{
    if (job->cancelled)
        return;
    if (job->errorId != 0) {
        deliver(job, std::make_shared<RecordBatch>(job->query.kind, job->query.accountType));
        return;
    }
    ValueAddedService* service = q;
    QMetaObject::invokeMethod(
        worker, [service, job] {
            if (job->cancelled)
                return;
            std::shared_ptr<RecordBatch> batch = buildBatch(*job);
            QMetaObject::invokeMethod(
                service, [service, job, batch] { service->d->deliver(job, batch); },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

void ValueAddedService::Private::deliver(const std::shared_ptr<Job>& job, const std::shared_ptr<RecordBatch>& batch)
{
    const auto it = outstanding.find(job->query.requestId);
    if (it == outstanding.end() || it->job != job)
        return;
    const QPointer<UserData> account = it->account;
    outstanding.erase(it);
    // Nothing of the service is touched after this: a slot may destroy it.
    if (account)
        handOver(account, job->query.requestId, batch, job->errorId, job->errorMsg);
}

void ValueAddedService::Private::answerWithError(UserData* account, const Job& job, int errorId, const QString& errorMsg)
{
    // Queued even on the account's thread, so that no slot runs inside the caller's setter.
    const HistoryKind kind = job.query.kind;
    const int requestId = job.query.requestId;
    QMetaObject::invokeMethod(
        account, [account, kind, requestId, errorId, errorMsg] {
            account->deliverAnswer(kind, requestId, {}, errorId, errorMsg, true);
        },
        Qt::QueuedConnection);
}

void ValueAddedService::Private::answerOutstanding(int errorId, const QString& errorMsg)
{
    const auto taken = std::exchange(outstanding, {});
    for (const Outstanding& request : taken) {
        request.job->cancelled = true;
        if (request.account)
            answerWithError(request.account, *request.job, errorId, errorMsg);
    }
}

void ValueAddedService::Private::applyConnectionState()
{
    bool connected;
    bool loggedIn;
    {
        QMutexLocker lock(&mutex);
        connected = settings.connected;
        loggedIn = settings.loggedIn;
    }
    for (const QPointer<UserData>& account : qAsConst(accounts)) {
        if (account) {
            account->zrvaConnected = connected;
            account->zrvaLoggedIn = loggedIn;
        }
    }
    if (!connected)
        answerOutstanding(ErrorConnectionLost, QString::fromUtf8(connectionLostText));
    else if (!loggedIn)
        answerOutstanding(ErrorLoggedOut, QString::fromUtf8(loggedOutText));
}

ValueAddedService::ValueAddedService(QObject* parent)
    : QObject(parent)
    , d(new Private(this))
{
    d->thread.setObjectName(QStringLiteral("ValueAddedService"));
    d->worker = new QObject;
    d->worker->moveToThread(&d->thread);
    connect(&d->thread, &QThread::finished, d->worker, &QObject::deleteLater);
    d->thread.start();
}

ValueAddedService::~ValueAddedService()
{
    // Cancelling first lets the worker leave a batch it is building.
    d->answerOutstanding(ErrorConnectionLost, QString::fromUtf8(connectionLostText));
    d->thread.quit();
    d->thread.wait();
    const auto accounts = std::exchange(d->accounts, {});
    for (const QPointer<UserData>& account : accounts) {
        if (account)
            account->setService(nullptr);
    }
}

void ValueAddedService::setLatencyMs(int ms)
{
    QMutexLocker lock(&d->mutex);
    d->settings.latencyMs = qMax(0, ms);
}

int ValueAddedService::latencyMs() const
{
    QMutexLocker lock(&d->mutex);
    return d->settings.latencyMs;
}

void ValueAddedService::setBatchSize(int records)
{
    QMutexLocker lock(&d->mutex);
    d->settings.batchSize = qMax(1, records);
}

int ValueAddedService::batchSize() const
{
    QMutexLocker lock(&d->mutex);
    return d->settings.batchSize;
}

void ValueAddedService::setRecordsPerKind(int records)
{
    QMutexLocker lock(&d->mutex);
    d->settings.recordsPerKind = qMax(0, records);
}

int ValueAddedService::recordsPerKind() const
{
    QMutexLocker lock(&d->mutex);
    return d->settings.recordsPerKind;
}

void ValueAddedService::setRecordCount(HistoryKind kind, int records)
{
    QMutexLocker lock(&d->mutex);
    d->settings.kindCounts[int(kind)] = qMax(0, records);
}

int ValueAddedService::recordCount(HistoryKind kind) const
{
    QMutexLocker lock(&d->mutex);
    const int count = d->settings.kindCounts[int(kind)];
    return count < 0 ? d->settings.recordsPerKind : count;
}

void ValueAddedService::setHistoryDays(int days)
{
    QMutexLocker lock(&d->mutex);
    d->settings.historyDays = qMax(0, days);
}

int ValueAddedService::historyDays() const
{
    QMutexLocker lock(&d->mutex);
    return d->settings.historyDays;
}

void ValueAddedService::setReferenceDate(const QDate& today)
{
    QMutexLocker lock(&d->mutex);
    d->settings.today = today;
}

QDate ValueAddedService::referenceDate() const
{
    QMutexLocker lock(&d->mutex);
    return d->settings.today.isValid() ? d->settings.today : QDate::currentDate();
}

void ValueAddedService::failNextAnswer(int errorId, const QString& errorMsg)
{
    QMutexLocker lock(&d->mutex);
    d->settings.failNext = true;
    d->settings.failErrorId = errorId;
    d->settings.failErrorMsg = errorMsg;
}

void ValueAddedService::setConnected(bool connected)
{
    {
        QMutexLocker lock(&d->mutex);
        d->settings.connected = connected;
    }
    d->runOnServiceThread([this] { d->applyConnectionState(); });
}

bool ValueAddedService::isConnected() const
{
    QMutexLocker lock(&d->mutex);
    return d->settings.connected;
}

void ValueAddedService::setLoggedIn(bool loggedIn)
{
    {
        QMutexLocker lock(&d->mutex);
        d->settings.loggedIn = loggedIn;
    }
    d->runOnServiceThread([this] { d->applyConnectionState(); });
}

bool ValueAddedService::isLoggedIn() const
{
    QMutexLocker lock(&d->mutex);
    return d->settings.loggedIn;
}

void ValueAddedService::setBusy(bool busy)
{
    QMutexLocker lock(&d->mutex);
    d->settings.busy = busy;
}

bool ValueAddedService::isBusy() const
{
    QMutexLocker lock(&d->mutex);
    return d->settings.busy;
}

void ValueAddedService::attach(UserData* account)
{
    if (!d->accounts.contains(account))
        d->accounts.append(account);
    QMutexLocker lock(&d->mutex);
    account->zrvaConnected = d->settings.connected;
    account->zrvaLoggedIn = d->settings.loggedIn;
}

void ValueAddedService::detach(UserData* account)
{
    d->accounts.removeAll(account);
    for (auto it = d->outstanding.begin(); it != d->outstanding.end();) {
        if (it->account == account) {
            it->job->cancelled = true;
            it = d->outstanding.erase(it);
        } else {
            ++it;
        }
    }
}

void ValueAddedService::submit(UserData* account, const HistoryQuery& query)
{
    auto job = std::make_shared<Job>();
    job->query = query;
    {
        QMutexLocker lock(&d->mutex);
        const Private::Settings& settings = d->settings;
        job->batchSize = settings.batchSize;
        const int kindCount = settings.kindCounts[int(query.kind)];
        job->recordCount = kindCount < 0 ? settings.recordsPerKind : kindCount;
        job->historyDays = settings.historyDays;
        job->today = settings.today.isValid() ? settings.today : QDate::currentDate();
        job->latencyMs = settings.latencyMs;
        if (!settings.connected) {
            job->errorId = ErrorConnectionLost;
            job->errorMsg = QString::fromUtf8(connectionLostText);
        } else if (!settings.loggedIn) {
            job->errorId = ErrorLoggedOut;
            job->errorMsg = QString::fromUtf8(loggedOutText);
        } else if (d->settings.failNext) {
            d->settings.failNext = false;
            job->errorId = settings.failErrorId;
            job->errorMsg = settings.failErrorMsg;
        }
    }
    d->outstanding.insert(query.requestId, {account, job});

    // Never answered inside the request call: the answer always comes from the event loop.
    if (job->latencyMs > 0) {
        auto* timer = new QTimer(this);
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
        connect(timer, &QTimer::timeout, this, [this, timer, job] {
            timer->deleteLater();
            d->dispatch(job);
        });
        timer->start(job->latencyMs);
    } else {
        QMetaObject::invokeMethod(
            this, [this, job] { d->dispatch(job); }, Qt::QueuedConnection);
    }
}

bool ValueAddedService::waitForIdle(int timeoutMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer wakeUp; // lets the loop look at the clock while no answer arrives
    wakeUp.start(10);
    while (!d->outstanding.isEmpty()) {
        if (elapsed.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

} // namespace VEK_SC_Space
