#include "ValueAddedService.h"

#include <QMetaObject>
#include <QPointer>

namespace VEK_SC_Space {

// First cut: settings are kept and every request is answered with an empty last batch.
struct ValueAddedService::Private {
    int latency = 0;
    int batch = 500;
    int perKind = 1000;
    int counts[HistoryKindCount] = {-1, -1, -1, -1, -1, -1, -1, -1};
    int days = 30;
    QDate today;
    bool connected = true;
    bool loggedIn = true;
    bool busy = false;
};

ValueAddedService::ValueAddedService(QObject* parent) : QObject(parent), d(new Private) {}
ValueAddedService::~ValueAddedService() = default;

void ValueAddedService::setLatencyMs(int ms) { d->latency = ms; }
int ValueAddedService::latencyMs() const { return d->latency; }
void ValueAddedService::setBatchSize(int records) { d->batch = records; }
int ValueAddedService::batchSize() const { return d->batch; }
void ValueAddedService::setRecordsPerKind(int records) { d->perKind = records; }
int ValueAddedService::recordsPerKind() const { return d->perKind; }
void ValueAddedService::setRecordCount(HistoryKind kind, int records) { d->counts[int(kind)] = records; }
int ValueAddedService::recordCount(HistoryKind kind) const { return d->counts[int(kind)] < 0 ? d->perKind : d->counts[int(kind)]; }
void ValueAddedService::setHistoryDays(int days) { d->days = days; }
int ValueAddedService::historyDays() const { return d->days; }
void ValueAddedService::setReferenceDate(const QDate& today) { d->today = today; }
QDate ValueAddedService::referenceDate() const { return d->today.isValid() ? d->today : QDate::currentDate(); }
void ValueAddedService::failNextAnswer(int, const QString&) {}
void ValueAddedService::setConnected(bool connected) { d->connected = connected; }
bool ValueAddedService::isConnected() const { return d->connected; }
void ValueAddedService::setLoggedIn(bool loggedIn) { d->loggedIn = loggedIn; }
bool ValueAddedService::isLoggedIn() const { return d->loggedIn; }
void ValueAddedService::setBusy(bool busy) { d->busy = busy; }
bool ValueAddedService::isBusy() const { return d->busy; }

void ValueAddedService::attach(UserData* account)
{
    account->zrvaConnected = d->connected;
    account->zrvaLoggedIn = d->loggedIn;
}

void ValueAddedService::detach(UserData*) {}

void ValueAddedService::submit(UserData* account, const HistoryQuery& query)
{
    QMetaObject::invokeMethod(account, [account, query] {
        account->deliverAnswer(query.kind, query.requestId, {}, 0, QString(), true);
    }, Qt::QueuedConnection);
}

bool ValueAddedService::waitForIdle(int) { return true; }

} // namespace VEK_SC_Space
