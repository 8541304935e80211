#include "HistoryTableHeader.h"

#include <cstring>

namespace VEK_SC_Space {

HistoryTableHeader::HistoryTableHeader(QString key)
    : TableHeader(key, nullptr)
{
}

HistoryTableHeader::~HistoryTableHeader() = default;

namespace HistoryColumn {

char exchangeFromLetters(const QString& letters)
{
    const QString upper = letters.toUpper();
    if (upper == QLatin1String("SH"))
        return '1';
    if (upper == QLatin1String("SZ"))
        return '2';
    if (upper == QLatin1String("BJ"))
        return '4';
    return 0;
}

int rowCategory(DirectionSet set, char direction)
{
    // Built afresh on every call, on the stack: this runs for every comparison while sorting, so
    // it neither allocates nor shares state. The credit set is the first six.
    const char category3[] = {'1', 'b', 'j', 'k', 'm', 'u', '6'};
    const std::size_t size = set == DirectionSet::Stock ? 7 : 6;
    return std::memchr(category3, direction, size) ? 3 : 2;
}

int rowCategory(DirectionSet set, char orderStatus, char direction)
{
    switch (orderStatus) {
    case '1':
    case '5':
    case '6':
    case '7':
        return 1;
    default:
        return rowCategory(set, direction);
    }
}

} // namespace HistoryColumn
} // namespace VEK_SC_Space
