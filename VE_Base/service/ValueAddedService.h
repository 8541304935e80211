#pragma once

#include "../UserData.h"
#include "../VE_Base_global.h"

#include <QDate>
#include <QObject>
#include <QString>

#include <memory>

namespace VEK_SC_Space {

struct HistoryQuery {
    HistoryKind kind = HistoryKind::Order;
    int accountType = 1;            // 1 stock records, 2 credit records
    QString investorId;
    QDate beginDate;
    QDate endDate;
    char sortType = '2';            // '2' newest first, '1' oldest first
    int batchNo = 1;
    int requestId = 0;
};

// The simulated value-added history service. Deterministic per investor id: the same account
// and settings always give the same records. Each answer batch is built on a worker thread and
// handed to the requesting UserData's thread, which appends it and emits the finished-signal.
// Every setter is thread-safe and takes effect with the next request.
class VE_BASE_EXPORT ValueAddedService : public QObject
{
    Q_OBJECT

public:
    explicit ValueAddedService(QObject* parent = nullptr);
    ~ValueAddedService() override;   // stops the worker; answers not yet delivered are dropped

    void setLatencyMs(int ms);                  // delay before each answer, default 0
    int latencyMs() const;
    void setBatchSize(int records);             // records per answer batch, default 500
    int batchSize() const;
    void setRecordsPerKind(int records);        // records an account holds of each kind, default 1000
    int recordsPerKind() const;
    void setRecordCount(HistoryKind kind, int records);   // overrides one kind
    int recordCount(HistoryKind kind) const;

    // The next answer carries this error instead of records.
    void failNextAnswer(int errorId, const QString& errorMsg);

    // Called by UserData for a request that passed its local checks.
    void submit(UserData* account, const HistoryQuery& query);

    // Waits until every submitted request has been built and handed over (tests, benchmarks).
    bool waitForIdle(int timeoutMs = 30000);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace VEK_SC_Space
