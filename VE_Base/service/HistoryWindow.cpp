#include "HistoryWindow.h"

#include <algorithm>

namespace VEK_SC_Space {

HistoryWindow::HistoryWindow(const QDate& today, int historyDays, qint64 recordCount)
{
    for (QDate day = today.addDays(-qMax(historyDays, 0)); day < today; day = day.addDays(1)) {
        if (day.dayOfWeek() <= 5)
            days.append(day);
    }
    records = days.isEmpty() ? 0 : qMax<qint64>(recordCount, 0);
}

int HistoryWindow::dayOf(qint64 index) const
{
    return int(index * days.size() / records);
}

qint64 HistoryWindow::firstRecordOf(int day) const
{
    const qint64 dayCount = days.size();
    if (dayCount == 0)
        return 0;
    return (day * records + dayCount - 1) / dayCount;
}

HistoryWindow::Batch HistoryWindow::batch(const QDate& begin, const QDate& end, char sortType,
                                          int batchNo, int batchSize) const
{
    Batch answer;
    if (records == 0 || begin > end || batchNo < 1 || batchSize < 1)
        return answer;

    const int firstDay = int(std::lower_bound(days.begin(), days.end(), begin) - days.begin());
    const int endDay = int(std::upper_bound(days.begin(), days.end(), end) - days.begin());
    const qint64 first = firstRecordOf(firstDay);
    const qint64 last = firstRecordOf(qMax(firstDay, endDay));

    const qint64 start = qint64(batchNo - 1) * batchSize;
    const qint64 stop = qMin(start + batchSize, last - first);
    answer.isTotalLast = stop >= last - first;
    if (start >= stop)
        return answer;
    answer.indices.reserve(int(stop - start));
    for (qint64 position = start; position < stop; ++position)
        answer.indices.append(sortType == '2' ? last - 1 - position : first + position);
    return answer;
}

} // namespace VEK_SC_Space
