#include "HistorySortProxyModel.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QVariant>
#include <QtNumeric>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <numeric>
#include <utility>

namespace VEK_SC_Space {

namespace {

constexpr quint64 InvalidKey = std::numeric_limits<quint64>::max();

quint64 intKey(int value)
{
    return quint64(quint32(value) ^ 0x80000000u);
}

// The IEEE-754 bits turned so that unsigned order is numeric order; -0 and 0 compare equal as
// doubles and get one key; every NaN gets the key after +inf. Never InvalidKey.
quint64 doubleKey(double value)
{
    constexpr quint64 sign = quint64(1) << 63;
    constexpr quint64 nanKey = (quint64(0x7FF) << 52 | sign) + 1;
    if (qIsNaN(value))
        return nanKey;
    if (value == 0)
        value = 0;
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits & sign ? ~bits : bits | sign;
}

// The order of sort values (see the class comment): Qt's comparison within a type, made a
// strict weak order for NaN and across types.
bool valueLess(const QVariant& left, const QVariant& right, Qt::CaseSensitivity sensitivity, bool localeAware)
{
    const int type = left.userType();
    const int rightType = right.userType();
    if (type == QMetaType::UnknownType)
        return false;
    if (rightType == QMetaType::UnknownType)
        return true;
    if (type != rightType)
        return type < rightType;
    switch (type) {
    case QMetaType::Int:
        return left.toInt() < right.toInt();
    case QMetaType::UInt:
        return left.toUInt() < right.toUInt();
    case QMetaType::LongLong:
        return left.toLongLong() < right.toLongLong();
    case QMetaType::ULongLong:
        return left.toULongLong() < right.toULongLong();
    case QMetaType::Float:
    case QMetaType::Double: {
        // A float widens to a double exactly: the same order as comparing the floats.
        const double a = left.toDouble();
        const double b = right.toDouble();
        if (qIsNaN(a) || qIsNaN(b))
            return !qIsNaN(a) && qIsNaN(b);
        return a < b;
    }
    case QMetaType::QChar:
        return left.toChar() < right.toChar();
    case QMetaType::QDate:
        return left.toDate() < right.toDate();
    case QMetaType::QTime:
        return left.toTime() < right.toTime();
    case QMetaType::QDateTime:
        return left.toDateTime() < right.toDateTime();
    default:
        if (localeAware)
            return left.toString().localeAwareCompare(right.toString()) < 0;
        return left.toString().compare(right.toString(), sensitivity) < 0;
    }
}

// Replaces the keys of the valid strings by their rank among them; equal strings share a rank.
template <typename Less>
void rankStrings(const std::vector<QString>& strings, std::vector<quint64>& keys, Less less)
{
    std::vector<int> order;
    order.reserve(keys.size());
    for (std::size_t row = 0; row < keys.size(); ++row) {
        if (keys[row] != InvalidKey)
            order.push_back(int(row));
    }
    std::sort(order.begin(), order.end(), [&](int a, int b) { return less(strings[std::size_t(a)], strings[std::size_t(b)]); });
    quint64 rank = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && less(strings[std::size_t(order[i - 1])], strings[std::size_t(order[i])]))
            ++rank;
        keys[std::size_t(order[i])] = rank;
    }
}

// The sort role of one column as one unsigned key per source row, in the order of valueLess:
// numbers map onto keys that keep their order (NaN last), strings get their rank, and invalid
// values the largest key. Only for columns whose valid values are all of one of the types
// below; anything else returns false.
bool buildSortKeys(const QAbstractItemModel& source, int column, int role, Qt::CaseSensitivity sensitivity,
                   bool localeAware, std::vector<quint64>& keys)
{
    const int rows = source.rowCount();
    keys.assign(std::size_t(rows), InvalidKey);
    std::vector<QString> strings;
    int type = QMetaType::UnknownType;
    for (int row = 0; row < rows; ++row) {
        const QVariant value = source.data(source.index(row, column), role);
        if (!value.isValid())
            continue;
        if (type == QMetaType::UnknownType) {
            type = value.userType();
            if (type == QMetaType::QString)
                strings.resize(std::size_t(rows));
            else if (type != QMetaType::Int && type != QMetaType::UInt && type != QMetaType::Double
                     && type != QMetaType::Float)
                return false;
        } else if (value.userType() != type) {
            return false;
        }
        const std::size_t at = std::size_t(row);
        switch (type) {
        case QMetaType::Int:
            keys[at] = intKey(value.toInt());
            break;
        case QMetaType::UInt:
            keys[at] = value.toUInt();
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            keys[at] = doubleKey(value.toDouble());
            break;
        default:
            strings[at] = value.toString();
            keys[at] = 0; // valid; ranked below
            break;
        }
    }

    if (type == QMetaType::QString) {
        if (localeAware) {
            rankStrings(strings, keys, [](const QString& a, const QString& b) { return a.localeAwareCompare(b) < 0; });
        } else {
            rankStrings(strings, keys, [sensitivity](const QString& a, const QString& b) {
                return QString::compare(a, b, sensitivity) < 0;
            });
        }
    }
    return true;
}

// Contiguous runs of rows, from the highest down, so that removing one leaves the rows of the
// next where they were.
template <typename RemoveRun>
void forRunsDescending(std::vector<int> rows, RemoveRun removeRun)
{
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    std::size_t i = 0;
    while (i < rows.size()) {
        std::size_t j = i + 1;
        while (j < rows.size() && rows[j] == rows[j - 1] - 1)
            ++j;
        removeRun(rows[j - 1], rows[i]);
        i = j;
    }
}

} // namespace

template <typename Reorder>
void HistorySortProxyModel::relayout(const QList<QPersistentModelIndex>& parents,
                                     QAbstractItemModel::LayoutChangeHint hint, Reorder reorder)
{
    emit layoutAboutToBeChanged(parents, hint);
    const QModelIndexList persistent = persistentIndexList();
    std::vector<std::pair<int, int>> cells; // source row, column
    cells.reserve(std::size_t(persistent.size()));
    for (const QModelIndex& index : persistent)
        cells.emplace_back(index.row() < rowCount() ? sourceRow(index.row()) : -1, index.column());
    reorder();
    QModelIndexList after;
    after.reserve(persistent.size());
    for (const auto& cell : cells) {
        const int row = proxyRow(cell.first);
        after.append(row < 0 ? QModelIndex() : createIndex(row, cell.second));
    }
    changePersistentIndexList(persistent, after);
    emit layoutChanged(parents, hint);
}

HistorySortProxyModel::HistorySortProxyModel(QObject* parent)
    : QAbstractProxyModel(parent)
{
}

HistorySortProxyModel::~HistorySortProxyModel() = default;

void HistorySortProxyModel::setSourceModel(QAbstractItemModel* source)
{
    if (source == sourceModel())
        return;
    beginResetModel();
    if (QAbstractItemModel* old = sourceModel())
        disconnect(old, nullptr, this, nullptr);
    QAbstractProxyModel::setSourceModel(source);
    if (source) {
        using Model = QAbstractItemModel;
        using Self = HistorySortProxyModel;
        connect(source, &Model::rowsAboutToBeInserted, this, &Self::sourceRowsAboutToBeInserted);
        connect(source, &Model::rowsInserted, this, &Self::sourceRowsInserted);
        connect(source, &Model::rowsAboutToBeRemoved, this, &Self::sourceRowsAboutToBeRemoved);
        connect(source, &Model::rowsRemoved, this, &Self::sourceRowsRemoved);
        connect(source, &Model::columnsAboutToBeInserted, this,
                [this](const QModelIndex& parent, int first, int last) {
                    if (!parent.isValid())
                        beginInsertColumns(QModelIndex(), first, last);
                });
        connect(source, &Model::columnsInserted, this, &Self::sourceColumnsInserted);
        connect(source, &Model::columnsAboutToBeRemoved, this,
                [this](const QModelIndex& parent, int first, int last) {
                    if (!parent.isValid())
                        beginRemoveColumns(QModelIndex(), first, last);
                });
        connect(source, &Model::columnsRemoved, this, &Self::sourceColumnsRemoved);
        connect(source, &Model::modelAboutToBeReset, this, &Self::sourceAboutToBeReset);
        connect(source, &Model::modelReset, this, &Self::sourceReset);
        connect(source, &Model::layoutAboutToBeChanged, this, &Self::sourceLayoutAboutToBeChanged);
        connect(source, &Model::layoutChanged, this, &Self::sourceLayoutChanged);
        // Moves are passed on as a layout change of the root, as the base proxy does.
        const auto moving = [this] { sourceLayoutAboutToBeChanged({QPersistentModelIndex()}); };
        connect(source, &Model::rowsAboutToBeMoved, this, moving);
        connect(source, &Model::rowsMoved, this, &Self::sourceLayoutChanged);
        connect(source, &Model::columnsAboutToBeMoved, this, moving);
        connect(source, &Model::columnsMoved, this, &Self::sourceLayoutChanged);
        connect(source, &Model::dataChanged, this, &Self::sourceDataChanged);
        connect(source, &Model::headerDataChanged, this, &Self::sourceHeaderDataChanged);
        connect(source, &QObject::destroyed, this, &Self::sourceDestroyed);
    }
    resetRows();
    endResetModel();
}

void HistorySortProxyModel::sort(int column, Qt::SortOrder order)
{
    if (column == sortedColumn && order == sortedOrder)
        return;
    sortedColumn = column;
    sortedOrder = order;
    resort();
}

// Each setting sorts anew from the present order, or goes back to the source order when there
// is no sort column, as the base proxy does, even when nothing was sorted.
void HistorySortProxyModel::setSortRole(int value)
{
    if (value == sortingRole)
        return;
    sortingRole = value;
    resort();
    emit sortRoleChanged(value);
}

void HistorySortProxyModel::setSortCaseSensitivity(Qt::CaseSensitivity value)
{
    if (value == sensitivity)
        return;
    sensitivity = value;
    resort();
    emit sortCaseSensitivityChanged(value);
}

void HistorySortProxyModel::setSortLocaleAware(bool on)
{
    if (on == localeAware)
        return;
    localeAware = on;
    resort();
    emit sortLocaleAwareChanged(on);
}

void HistorySortProxyModel::invalidate()
{
    relayout({}, QAbstractItemModel::NoLayoutChangeHint, [this] { resetRows(); });
}

void HistorySortProxyModel::resort()
{
    relayout({}, QAbstractItemModel::VerticalSortHint, [this] { applySort(); });
}

QModelIndex HistorySortProxyModel::index(int row, int column, const QModelIndex& parent) const
{
    if (parent.isValid() || row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex HistorySortProxyModel::parent(const QModelIndex&) const
{
    return QModelIndex();
}

QModelIndex HistorySortProxyModel::sibling(int row, int column, const QModelIndex& index) const
{
    return index.isValid() ? this->index(row, column) : QModelIndex();
}

int HistorySortProxyModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return mapped ? int(toSource.size()) : rows;
}

int HistorySortProxyModel::columnCount(const QModelIndex& parent) const
{
    const QAbstractItemModel* source = sourceModel();
    return source && !parent.isValid() ? source->columnCount() : 0;
}

bool HistorySortProxyModel::hasChildren(const QModelIndex& parent) const
{
    const QAbstractItemModel* source = sourceModel();
    if (!source || parent.isValid())
        return false;
    // Our own rows first: Qt 6's proxy base reports header changes while a source removal is
    // still under way, when the source is already empty and these rows are not yet removed.
    if (rowCount() > 0 && columnCount() > 0)
        return true;
    // Rows the source can still fetch count as children, as for the base proxy.
    return source->hasChildren() && source->canFetchMore(QModelIndex());
}

QVariant HistorySortProxyModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const QAbstractItemModel* source = sourceModel();
    if (!source)
        return QVariant();
    if (orientation == Qt::Horizontal)
        return source->headerData(section, orientation, role);
    if (section < 0 || section >= rowCount())
        return QVariant();
    return source->headerData(sourceRow(section), orientation, role);
}

bool HistorySortProxyModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value, int role)
{
    QAbstractItemModel* source = sourceModel();
    if (!source)
        return false;
    if (orientation == Qt::Horizontal)
        return source->setHeaderData(section, orientation, value, role);
    if (section < 0 || section >= rowCount())
        return false;
    return source->setHeaderData(sourceRow(section), orientation, value, role);
}

bool HistorySortProxyModel::insertRows(int row, int count, const QModelIndex& parent)
{
    QAbstractItemModel* source = sourceModel();
    if (!source || parent.isValid() || row < 0 || row > rowCount())
        return false;
    return source->insertRows(row == rowCount() ? source->rowCount() : sourceRow(row), count);
}

bool HistorySortProxyModel::removeRows(int row, int count, const QModelIndex& parent)
{
    QAbstractItemModel* source = sourceModel();
    if (!source || parent.isValid() || row < 0 || count <= 0 || row + count > rowCount())
        return false;
    std::vector<int> sourceRows;
    sourceRows.reserve(std::size_t(count));
    for (int i = row; i < row + count; ++i)
        sourceRows.push_back(sourceRow(i));
    bool removed = true;
    forRunsDescending(std::move(sourceRows), [&](int first, int last) {
        removed = source->removeRows(first, last - first + 1) && removed;
    });
    return removed;
}

bool HistorySortProxyModel::insertColumns(int column, int count, const QModelIndex& parent)
{
    QAbstractItemModel* source = sourceModel();
    return source && !parent.isValid() && source->insertColumns(column, count);
}

bool HistorySortProxyModel::removeColumns(int column, int count, const QModelIndex& parent)
{
    QAbstractItemModel* source = sourceModel();
    return source && !parent.isValid() && source->removeColumns(column, count);
}

QModelIndex HistorySortProxyModel::mapToSource(const QModelIndex& proxyIndex) const
{
    const QAbstractItemModel* source = sourceModel();
    if (!source || !proxyIndex.isValid() || proxyIndex.model() != this || proxyIndex.row() >= rowCount())
        return QModelIndex();
    return source->index(sourceRow(proxyIndex.row()), proxyIndex.column());
}

QModelIndex HistorySortProxyModel::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid() || sourceIndex.model() != sourceModel() || sourceIndex.parent().isValid())
        return QModelIndex();
    const int row = proxyRow(sourceIndex.row());
    return row < 0 ? QModelIndex() : createIndex(row, sourceIndex.column());
}

int HistorySortProxyModel::proxyRow(int sourceRow) const
{
    if (sourceRow < 0)
        return -1;
    if (!mapped)
        return sourceRow < rows ? sourceRow : -1;
    if (fromSourceStale) {
        int size = sourceModel()->rowCount();
        for (int row : toSource)
            size = qMax(size, row + 1);
        fromSource.assign(std::size_t(size), -1);
        for (std::size_t proxy = 0; proxy < toSource.size(); ++proxy)
            fromSource[std::size_t(toSource[proxy])] = int(proxy);
        fromSourceStale = false;
    }
    return std::size_t(sourceRow) < fromSource.size() ? fromSource[std::size_t(sourceRow)] : -1;
}

std::pair<int, int> HistorySortProxyModel::proxyRange(int first, int last) const
{
    int low = std::numeric_limits<int>::max();
    int high = -1;
    if (!mapped) {
        low = first;
        high = qMin(last, rows - 1);
    } else {
        for (int row = first; row <= last; ++row) {
            const int proxy = proxyRow(row);
            if (proxy >= 0) {
                low = qMin(low, proxy);
                high = qMax(high, proxy);
            }
        }
    }
    return {low, high};
}

QVariant HistorySortProxyModel::sortValue(int sourceRow) const
{
    const QAbstractItemModel* source = sourceModel();
    return source->data(source->index(sourceRow, sortedColumn), sortingRole);
}

bool HistorySortProxyModel::before(const QVariant& a, const QVariant& b) const
{
    return sortedOrder == Qt::AscendingOrder ? valueLess(a, b, sensitivity, localeAware)
                                             : valueLess(b, a, sensitivity, localeAware);
}

bool HistorySortProxyModel::isOrdered() const
{
    return sortedColumn >= 0 && sortedColumn < columnCount();
}

// Orders the rows for the current sort, without signals. Without a column the rows go back to
// the source order and the map is dropped; otherwise they are sorted stably from their current
// order, as the base proxy sorts.
void HistorySortProxyModel::applySort()
{
    fromSourceStale = true;
    if (!isOrdered()) {
        if (mapped)
            rows = int(toSource.size());
        mapped = false;
        std::vector<int>().swap(toSource);
        std::vector<int>().swap(fromSource);
        return;
    }
    if (!mapped) {
        toSource.resize(std::size_t(rows));
        std::iota(toSource.begin(), toSource.end(), 0);
        mapped = true;
    }
    if (!sortByKeys())
        sortByValues();
}

// A flat sort of (key, current position) pairs: equal keys keep their order, as in a stable
// sort, and the keys are read once per row instead of twice per comparison.
bool HistorySortProxyModel::sortByKeys()
{
    std::vector<quint64> keys;
    if (!buildSortKeys(*sourceModel(), sortedColumn, sortingRole, sensitivity, localeAware, keys))
        return false;
    const bool descending = sortedOrder == Qt::DescendingOrder;
    std::vector<std::pair<quint64, int>> order;
    order.reserve(toSource.size());
    for (std::size_t position = 0; position < toSource.size(); ++position) {
        const quint64 key = keys[std::size_t(toSource[position])];
        order.emplace_back(descending ? ~key : key, int(position));
    }
    keys = std::vector<quint64>();
    std::sort(order.begin(), order.end());
    std::vector<int> sorted;
    sorted.reserve(toSource.size());
    for (const auto& entry : order)
        sorted.push_back(toSource[std::size_t(entry.second)]);
    toSource.swap(sorted);
    return true;
}

// Any other column: each value read once, then a stable sort of the positions.
void HistorySortProxyModel::sortByValues()
{
    std::vector<QVariant> values;
    values.reserve(toSource.size());
    for (int row : toSource)
        values.push_back(sortValue(row));
    std::vector<int> order(toSource.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return before(values[std::size_t(a)], values[std::size_t(b)]);
    });
    std::vector<int> sorted;
    sorted.reserve(toSource.size());
    for (int position : order)
        sorted.push_back(toSource[std::size_t(position)]);
    toSource.swap(sorted);
}

// The new source rows first..last into the map, in as few insertions as the base proxy makes:
// the new rows in the order they go in (by sort value, stably; by row number while unsorted),
// each run of them that goes in at one place found by the base proxy's own bisection, so that
// rows land where its rows land even in a map left unsorted by a removed sort column. One
// departure: a new row whose key equals the shown row at that place goes after it (and after
// all shown rows of that key), not before, so rows of equal keys stay in arrival order.
void HistorySortProxyModel::placeNewRows(int first, int last)
{
    const int count = last - first + 1;
    for (int& row : toSource) {
        if (row >= first)
            row += count;
    }
    fromSourceStale = true;
    const bool ordered = isOrdered();
    std::vector<std::pair<QVariant, int>> items; // sort value, source row
    items.reserve(std::size_t(count));
    for (int row = first; row <= last; ++row)
        items.emplace_back(ordered ? sortValue(row) : QVariant(), row);
    if (ordered) {
        std::stable_sort(items.begin(), items.end(),
                         [this](const auto& a, const auto& b) { return before(a.first, b.first); });
    }
    const auto goesBefore = [&](std::size_t item, int position) {
        const int shown = toSource[std::size_t(position)];
        return ordered ? before(items[item].first, sortValue(shown)) : items[item].second < shown;
    };

    std::vector<std::pair<int, std::size_t>> runs; // proxy row, first item
    const int shownCount = int(toSource.size());
    int low = 0;
    std::size_t item = 0;
    while (item < items.size()) {
        int high = shownCount - 1;
        while (low <= high) {
            const int middle = (low + high) / 2;
            if (goesBefore(item, middle))
                high = middle - 1;
            else
                low = middle + 1;
        }
        runs.emplace_back(low, item++);
        if (low >= shownCount)
            item = items.size();
        while (item < items.size() && goesBefore(item, low))
            ++item;
    }

    // From the last run up, so that the places of the others stay valid.
    std::vector<int> run;
    for (std::size_t r = runs.size(); r-- > 0;) {
        const int at = runs[r].first;
        const std::size_t end = r + 1 < runs.size() ? runs[r + 1].second : items.size();
        run.clear();
        for (std::size_t i = runs[r].second; i < end; ++i)
            run.push_back(items[i].second);
        beginInsertRows(QModelIndex(), at, at + int(run.size()) - 1);
        toSource.insert(toSource.begin() + at, run.begin(), run.end());
        fromSourceStale = true;
        endInsertRows();
    }
}

// After a change of the sort values of the source rows first..last, moves the fewest of them
// that must move: in each stretch of changed rows between two unchanged ones, the longest
// run in order and between those two neighbours stays; every other changed row goes back after
// the rows that do not sort after it. A row in order costs one read of its value and three
// comparisons at most; nothing moves, and no layout change is announced, while every row is in order.
void HistorySortProxyModel::replaceChanged(int first, int last)
{
    const int shownCount = int(toSource.size());
    std::vector<int> positions;
    if (std::size_t(last - first + 1) * 8 >= std::size_t(shownCount)) {
        std::vector<char> changed(std::size_t(shownCount), 0);
        for (int row = first; row <= last; ++row) {
            const int position = proxyRow(row);
            if (position >= 0)
                changed[std::size_t(position)] = 1;
        }
        for (int position = 0; position < shownCount; ++position) {
            if (changed[std::size_t(position)])
                positions.push_back(position);
        }
    } else {
        for (int row = first; row <= last; ++row) {
            const int position = proxyRow(row);
            if (position >= 0)
                positions.push_back(position);
        }
        std::sort(positions.begin(), positions.end());
    }

    // Longest run in order (equal keys allowed) by patience sorting with back links. Only the
    // last tail's value is kept: a row in order with it costs one comparison, and only a row out
    // of order reads the values of the tails it is searched among.
    std::vector<int> moved; // proxy rows, ascending
    std::vector<int> tails;
    std::vector<int> previous;
    std::vector<char> kept;
    for (std::size_t start = 0; start < positions.size();) {
        std::size_t end = start + 1;
        while (end < positions.size() && positions[end] == positions[end - 1] + 1)
            ++end;
        const int a = positions[start];
        const int b = positions[end - 1];
        const int length = b - a + 1;
        const auto valueAt = [&](int j) { return sortValue(toSource[std::size_t(a + j)]); };
        const bool hasLow = a > 0;
        const bool hasHigh = b + 1 < shownCount;
        const QVariant lowValue = hasLow ? valueAt(-1) : QVariant();
        const QVariant highValue = hasHigh ? valueAt(length) : QVariant();
        QVariant lastTail;
        tails.clear();
        previous.assign(std::size_t(length), -1);
        for (int j = 0; j < length; ++j) {
            QVariant value = valueAt(j);
            if ((hasLow && before(value, lowValue)) || (hasHigh && before(highValue, value)))
                continue;
            if (tails.empty() || !before(value, lastTail)) {
                previous[std::size_t(j)] = tails.empty() ? -1 : tails.back();
                tails.push_back(j);
                lastTail = std::move(value);
                continue;
            }
            const auto at = std::upper_bound(tails.begin(), tails.end() - 1, j,
                                             [&](int, int tail) { return before(value, valueAt(tail)); });
            previous[std::size_t(j)] = at == tails.begin() ? -1 : *(at - 1);
            *at = j;
            if (at == tails.end() - 1)
                lastTail = std::move(value);
        }
        kept.assign(std::size_t(length), 0);
        for (int j = tails.empty() ? -1 : tails.back(); j >= 0; j = previous[std::size_t(j)])
            kept[std::size_t(j)] = 1;
        for (int j = 0; j < length; ++j) {
            if (!kept[std::size_t(j)])
                moved.push_back(a + j);
        }
        start = end;
    }
    if (moved.empty())
        return;

    // The moved rows in sort order, equal keys in their present order.
    std::vector<QVariant> movedValues;
    movedValues.reserve(moved.size());
    for (int position : moved)
        movedValues.push_back(sortValue(toSource[std::size_t(position)]));
    std::vector<std::size_t> order(moved.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t x, std::size_t y) { return before(movedValues[x], movedValues[y]); });
    relayout({QPersistentModelIndex()}, QAbstractItemModel::VerticalSortHint, [&] {
        std::vector<int> stay;
        stay.reserve(toSource.size() - moved.size());
        std::size_t next = 0;
        for (int position = 0; position < shownCount; ++position) {
            if (next < moved.size() && moved[next] == position)
                ++next;
            else
                stay.push_back(toSource[std::size_t(position)]);
        }
        std::vector<int> placed;
        placed.reserve(toSource.size());
        const int stayCount = int(stay.size());
        int low = 0;
        int copied = 0;
        for (std::size_t x : order) {
            int high = stayCount - 1;
            while (low <= high) {
                const int middle = (low + high) / 2;
                if (before(movedValues[x], sortValue(stay[std::size_t(middle)])))
                    high = middle - 1;
                else
                    low = middle + 1;
            }
            placed.insert(placed.end(), stay.begin() + copied, stay.begin() + low);
            copied = low;
            placed.push_back(toSource[std::size_t(moved[x])]);
        }
        placed.insert(placed.end(), stay.begin() + copied, stay.end());
        toSource.swap(placed);
        fromSourceStale = true;
    });
}

void HistorySortProxyModel::resetRows()
{
    const QAbstractItemModel* source = sourceModel();
    rows = source ? source->rowCount() : 0;
    mapped = false;
    std::vector<int>().swap(toSource);
    applySort();
}

void HistorySortProxyModel::removeProxyRows(std::vector<int> proxyRows)
{
    forRunsDescending(std::move(proxyRows), [this](int first, int last) {
        beginRemoveRows(QModelIndex(), first, last);
        toSource.erase(toSource.begin() + first, toSource.begin() + last + 1);
        fromSourceStale = true;
        endRemoveRows();
    });
}

void HistorySortProxyModel::sourceRowsAboutToBeInserted(const QModelIndex& parent, int first, int last)
{
    if (!parent.isValid() && !mapped)
        beginInsertRows(QModelIndex(), first, last);
}

void HistorySortProxyModel::sourceRowsInserted(const QModelIndex& parent, int first, int last)
{
    if (parent.isValid())
        return;
    if (!mapped) {
        rows += last - first + 1;
        endInsertRows();
        return;
    }
    placeNewRows(first, last);
}

void HistorySortProxyModel::sourceRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last)
{
    if (parent.isValid())
        return;
    if (!mapped) {
        beginRemoveRows(QModelIndex(), first, last);
        return;
    }
    std::vector<int> proxyRows;
    for (int row = first; row <= last; ++row) {
        const int proxy = proxyRow(row);
        if (proxy >= 0)
            proxyRows.push_back(proxy);
    }
    removeProxyRows(std::move(proxyRows));
}

void HistorySortProxyModel::sourceRowsRemoved(const QModelIndex& parent, int first, int last)
{
    if (parent.isValid())
        return;
    const int count = last - first + 1;
    if (!mapped) {
        rows -= count;
        endRemoveRows();
        return;
    }
    for (int& row : toSource) {
        if (row > last)
            row -= count;
    }
    fromSourceStale = true;
}

void HistorySortProxyModel::sourceColumnsInserted(const QModelIndex& parent, int first, int last)
{
    if (parent.isValid())
        return;
    const int count = last - first + 1;
    const bool existed = sortedColumn >= 0 && sortedColumn < columnCount() - count;
    if (existed && sortedColumn >= first)
        sortedColumn += count;
    endInsertColumns();
    // The sort column is back, as after a reset that cleared the columns: sort again.
    if (!existed && isOrdered())
        resort();
}

// The rows keep the order of a removed sort column; new rows are placed by row number, and the
// next sort or sort setting starts from the source order, as for the base proxy.
void HistorySortProxyModel::sourceColumnsRemoved(const QModelIndex& parent, int first, int last)
{
    if (parent.isValid())
        return;
    if (sortedColumn > last)
        sortedColumn -= last - first + 1;
    else if (sortedColumn >= first)
        sortedColumn = -1;
    endRemoveColumns();
}

void HistorySortProxyModel::sourceAboutToBeReset()
{
    beginResetModel();
}

void HistorySortProxyModel::sourceReset()
{
    resetRows();
    endResetModel();
}

void HistorySortProxyModel::sourceLayoutAboutToBeChanged(const QList<QPersistentModelIndex>& parents)
{
    // Only the root has rows here: a change below another parent is no change of ours.
    layoutParents.clear();
    for (const QPersistentModelIndex& parent : parents) {
        if (!parent.isValid())
            layoutParents.append(QPersistentModelIndex());
    }
    layoutForwarded = parents.isEmpty() || !layoutParents.isEmpty();
    if (!layoutForwarded)
        return;
    emit layoutAboutToBeChanged(layoutParents);
    layoutProxies = persistentIndexList();
    layoutSources.clear();
    for (const QModelIndex& index : qAsConst(layoutProxies))
        layoutSources.append(QPersistentModelIndex(mapToSource(index)));
}

// The source's rows moved: the rows start again from the source order and are sorted anew.
void HistorySortProxyModel::sourceLayoutChanged()
{
    if (!layoutForwarded)
        return;
    layoutForwarded = false;
    resetRows();
    QModelIndexList after;
    after.reserve(layoutSources.size());
    for (const QPersistentModelIndex& source : qAsConst(layoutSources))
        after.append(mapFromSource(source));
    changePersistentIndexList(layoutProxies, after);
    layoutProxies.clear();
    layoutSources.clear();
    emit layoutChanged(layoutParents);
    layoutParents.clear();
}

// A change that names its roles without the sort role cannot move a row.
void HistorySortProxyModel::sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                              const QVector<int>& roles)
{
    if (!topLeft.isValid() || !bottomRight.isValid() || topLeft.parent().isValid())
        return;
    const int first = topLeft.row();
    const int last = qMin(bottomRight.row(), rowCount() - 1);
    if (first > last)
        return;
    if (mapped && isOrdered() && sortedColumn >= topLeft.column() && sortedColumn <= bottomRight.column()
        && (roles.isEmpty() || roles.contains(sortingRole)))
        replaceChanged(first, last);
    const auto range = proxyRange(first, last);
    if (range.first <= range.second)
        emit dataChanged(index(range.first, topLeft.column()), index(range.second, bottomRight.column()), roles);
}

void HistorySortProxyModel::sourceHeaderDataChanged(Qt::Orientation orientation, int first, int last)
{
    if (orientation == Qt::Horizontal) {
        emit headerDataChanged(orientation, first, last);
        return;
    }
    const auto range = proxyRange(first, last);
    if (range.first <= range.second)
        emit headerDataChanged(orientation, range.first, range.second);
}

// The base proxy lets go of a destroyed source on its own; the rows go with it here.
void HistorySortProxyModel::sourceDestroyed()
{
    beginResetModel();
    rows = 0;
    mapped = false;
    std::vector<int>().swap(toSource);
    std::vector<int>().swap(fromSource);
    fromSourceStale = true;
    endResetModel();
}

} // namespace VEK_SC_Space
