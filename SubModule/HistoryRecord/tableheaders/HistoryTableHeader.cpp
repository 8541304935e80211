#include "HistoryTableHeader.h"

#include <QSet>

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
    // Built afresh on every call: the set is tiny and keeps the function free of shared state.
    QSet<char> category3 = {'1', 'b', 'j', 'k', 'm', 'u'};
    if (set == DirectionSet::Stock)
        category3.insert('6');
    return category3.contains(direction) ? 3 : 2;
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
