#pragma once

#include "../UserData.h"
#include "../VE_Base_global.h"

#include <QDate>
#include <QObject>
#include <QString>

#include <memory>

namespace VEK_SC_Space {

struct HistoryQuery
{
    HistoryKind kind = HistoryKind::Order;
    int accountType = 1; // 1 stock records, 2 credit records
    QString investorId;
    QDate beginDate;
    QDate endDate;
    char sortType = '2'; // '2' newest first, '1' oldest first
    int batchNo = 1;
    int requestId = 0;
};

// The simulated value-added history service. Deterministic per investor id: the same account
// and settings always give the same records. Each answer batch is built on a worker thread and
// handed to the requesting UserData's thread, which appends it and emits the finished-signal.
// Every setter is thread-safe and takes effect with the next request.
//
// An account holds recordCount(kind) records of each kind, spread evenly over the trading days
// (weekends skipped) of the historyDays() calendar days that end the day before referenceDate().
// A stock account holds no margin debts.
class VE_BASE_EXPORT ValueAddedService : public QObject
{
    Q_OBJECT

public:
    enum AnswerError {
        ErrorConnectionLost = -1001,
        ErrorLoggedOut = -1002,
    };

    explicit ValueAddedService(QObject* parent = nullptr);
    // Stops the worker; answers not yet delivered are dropped and every outstanding request is
    // answered with ErrorConnectionLost.
    ~ValueAddedService() override;

    void setLatencyMs(int ms); // delay before each answer, default 0
    int latencyMs() const;
    void setBatchSize(int records); // records per answer batch, default 500
    int batchSize() const;
    void setRecordsPerKind(int records); // records an account holds of each kind, default 1000
    int recordsPerKind() const;
    void setRecordCount(HistoryKind kind, int records); // overrides one kind
    int recordCount(HistoryKind kind) const;
    void setHistoryDays(int days); // calendar days of history, default 30
    int historyDays() const;
    void setReferenceDate(const QDate& today); // "today"; invalid (default): the current date
    QDate referenceDate() const;

    // The next answer carries this error instead of records.
    void failNextAnswer(int errorId, const QString& errorMsg);

    // Connection and login of every attached account. Dropping either answers the outstanding
    // requests with ErrorConnectionLost or ErrorLoggedOut. Both are up by default.
    void setConnected(bool connected);
    bool isConnected() const;
    void setLoggedIn(bool loggedIn);
    bool isLoggedIn() const;
    // A busy service makes every attached account report a request in progress.
    void setBusy(bool busy);
    bool isBusy() const;

    // Called by UserData::setService, on the service's thread.
    void attach(UserData* account);
    void detach(UserData* account);

    // Called by UserData for a request that passed its local checks, on the service's thread.
    void submit(UserData* account, const HistoryQuery& query);

    // Runs the event loop until no submitted request is outstanding (tests, benchmarks).
    bool waitForIdle(int timeoutMs = 30000);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace VEK_SC_Space
