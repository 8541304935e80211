#pragma once

#include "../UserData.h"
#include "HistoryWindow.h"

#include <QByteArray>
#include <QString>

namespace VEK_SC_Space {

// Builds the simulated records of one account. Record `index` of a kind is a pure function of
// the account's seed, the kind, the index and the window, so any batch can be built on its own.
// One generator serves one thread.
class VE_BASE_EXPORT HistoryGenerator
{
public:
    HistoryGenerator(const QString& investorId, int accountType, const HistoryWindow& window);

    static quint64 seedOf(const QString& investorId);

    // Records the account holds of this kind: none for a stock account's margin debts or for an
    // unknown account type.
    static bool holds(HistoryKind kind, int accountType);

    // A record allocated with `new` of its exact type (see RecordTypes).
    void* makeRecord(HistoryKind kind, qint64 index) const;

    struct Account
    {
        quint64 seed = 0;
        int accountType = 1;
        QByteArray customerId;
        QByteArray shanghaiHolder; // shareholder account on SH
        QByteArray shenzhenHolder; // on SZ; BJ trades on the Shenzhen account
        double scale = 0;          // size of the account in yuan
    };

private:
    Account account;
    const HistoryWindow& window;
    mutable QVector<QByteArray> dayTexts; // yyyyMMdd of each trading day, filled as needed
};

} // namespace VEK_SC_Space
