#pragma once

#include "../VE_Base_global.h"

#include <QDate>
#include <QVector>

namespace VEK_SC_Space {

// Where an account's records of one kind lie in time: `recordCount` records, index 0 the
// oldest, spread evenly over the trading days (Monday to Friday) of the `historyDays` calendar
// days that end the day before `today`. Everything is computed, nothing is stored per record.
class VE_BASE_EXPORT HistoryWindow
{
public:
    HistoryWindow(const QDate& today, int historyDays, qint64 recordCount);

    qint64 recordCount() const { return records; }
    int tradingDayCount() const { return int(days.size()); }
    QDate tradingDay(int day) const { return days.at(day); }

    int dayOf(qint64 index) const;       // trading day of a record
    qint64 firstRecordOf(int day) const; // day == tradingDayCount(): recordCount()

    struct Batch
    {
        QVector<qint64> indices; // in answer order
        bool isTotalLast = true;
    };
    // Batch `batchNo` (from 1) of `batchSize` records among those dated within [begin, end],
    // newest first for sortType '2', oldest first otherwise.
    Batch batch(const QDate& begin, const QDate& end, char sortType, int batchNo, int batchSize) const;

private:
    QVector<QDate> days;
    qint64 records;
};

} // namespace VEK_SC_Space
