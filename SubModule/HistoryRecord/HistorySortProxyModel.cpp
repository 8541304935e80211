#include "HistorySortProxyModel.h"

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
// doubles and get one key. Never InvalidKey: that would be a NaN.
quint64 doubleKey(double value)
{
    if (value == 0)
        value = 0;
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    constexpr quint64 sign = quint64(1) << 63;
    return bits & sign ? ~bits : bits | sign;
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

// The sort role of one column as one unsigned key per source row, ordered as
// QSortFilterProxyModel::lessThan orders the values: numbers map onto keys that keep their
// order, strings get their rank, and invalid values the largest key (an invalid value is never
// less than anything, a valid one always less than it). Only for columns of one strictly
// ordered type: ints, doubles without NaN, strings. Anything else returns false.
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
            else if (type != QMetaType::Int && type != QMetaType::Double)
                return false;
        } else if (value.userType() != type) {
            return false;
        }
        const std::size_t at = std::size_t(row);
        switch (type) {
        case QMetaType::Int:
            keys[at] = intKey(value.toInt());
            break;
        case QMetaType::Double: {
            const double number = value.toDouble();
            if (qIsNaN(number))
                return false;       // unordered: no key can stand for it
            keys[at] = doubleKey(number);
            break;
        }
        default:
            strings[at] = value.toString();
            keys[at] = 0;           // valid; ranked below
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

HistorySortProxyModel::HistorySortProxyModel(QObject* parent)
    : QSortFilterProxyModel(parent)
{
    connect(this, &QSortFilterProxyModel::sortRoleChanged, this, &HistorySortProxyModel::sortSettingChanged);
    connect(this, &QSortFilterProxyModel::sortCaseSensitivityChanged, this, &HistorySortProxyModel::sortSettingChanged);
    connect(this, &QSortFilterProxyModel::sortLocaleAwareChanged, this, &HistorySortProxyModel::sortSettingChanged);
}

HistorySortProxyModel::~HistorySortProxyModel() = default;

void HistorySortProxyModel::setSourceModel(QAbstractItemModel* source)
{
    if (source == sourceModel())
        return;
    beginResetModel();
    if (QAbstractItemModel* old = sourceModel())
        disconnect(old, nullptr, this, nullptr);
    // The base proxy's own wiring would keep its row map as well: skipped on purpose.
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
        connect(source, &Model::rowsAboutToBeMoved, this, &Self::sourceLayoutAboutToBeChanged);
        connect(source, &Model::rowsMoved, this, &Self::sourceLayoutChanged);
        connect(source, &Model::columnsAboutToBeMoved, this, &Self::sourceLayoutAboutToBeChanged);
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
    recordSortSettings();
    relayout();
}

// Only the base's own map asks, which is kept empty this way; the rows are mapped here.
bool HistorySortProxyModel::filterAcceptsRow(int, const QModelIndex&) const
{
    return false;
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

bool HistorySortProxyModel::sourceLess(int leftRow, int rightRow) const
{
    const QAbstractItemModel* source = sourceModel();
    return lessThan(source->index(leftRow, sortedColumn), source->index(rightRow, sortedColumn));
}

bool HistorySortProxyModel::isOrdered() const
{
    return sortedColumn >= 0 && sortedColumn < columnCount();
}

// Without a range the rows are sorted anew; with one, only the source rows first..last move:
// out, then each back after the rows that do not sort after it, as the base proxy moves a row
// whose sort value changed.
void HistorySortProxyModel::relayout(int first, int last)
{
    emit layoutAboutToBeChanged(QList<QPersistentModelIndex>(), QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::pair<int, int>> cells;     // source row, column
    cells.reserve(std::size_t(before.size()));
    for (const QModelIndex& index : before)
        cells.emplace_back(index.row() < rowCount() ? sourceRow(index.row()) : -1, index.column());
    if (first < 0) {
        applySort();
    } else {
        toSource.erase(std::remove_if(toSource.begin(), toSource.end(),
                                      [=](int row) { return row >= first && row <= last; }),
                       toSource.end());
        for (int row = first; row <= last; ++row)
            toSource.insert(toSource.begin() + insertionPoint(row), row);
        fromSourceStale = true;
    }
    QModelIndexList after;
    after.reserve(before.size());
    for (const auto& cell : cells) {
        const int row = proxyRow(cell.first);
        after.append(row < 0 ? QModelIndex() : createIndex(row, cell.second));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged(QList<QPersistentModelIndex>(), QAbstractItemModel::VerticalSortHint);
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
        sortByComparison();
}

// A flat sort of (key, current position) pairs: equal keys keep their order, as in a stable
// sort, and the keys are read once per row instead of twice per comparison.
bool HistorySortProxyModel::sortByKeys()
{
    std::vector<quint64> keys;
    if (!buildSortKeys(*sourceModel(), sortedColumn, sortRole(), sortCaseSensitivity(), isSortLocaleAware(), keys))
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

void HistorySortProxyModel::sortByComparison()
{
    if (sortedOrder == Qt::AscendingOrder)
        std::stable_sort(toSource.begin(), toSource.end(), [this](int a, int b) { return sourceLess(a, b); });
    else
        std::stable_sort(toSource.begin(), toSource.end(), [this](int a, int b) { return sourceLess(b, a); });
}

// After the rows that do not sort after it, as the base proxy places a new row.
int HistorySortProxyModel::insertionPoint(int sourceRow) const
{
    if (!isOrdered())
        return int(toSource.size());
    const bool ascending = sortedOrder == Qt::AscendingOrder;
    const auto at = std::upper_bound(toSource.begin(), toSource.end(), sourceRow, [&](int row, int placed) {
        return ascending ? sourceLess(row, placed) : sourceLess(placed, row);
    });
    return int(at - toSource.begin());
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
    const int count = last - first + 1;
    if (!mapped) {
        rows += count;
        endInsertRows();
        return;
    }
    for (int& row : toSource) {
        if (row >= first)
            row += count;
    }
    fromSourceStale = true;
    for (int row = first; row <= last; ++row) {
        const int at = insertionPoint(row);
        beginInsertRows(QModelIndex(), at, at);
        toSource.insert(toSource.begin() + at, row);
        fromSourceStale = true;
        endInsertRows();
    }
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
    const bool shifted = existed && sortedColumn >= first;
    if (shifted)
        sortedColumn += count;
    endInsertColumns();
    if (shifted)
        recordSortSettings();
    // The sort column is back, as after a reset that cleared the columns: sort again.
    else if (!existed && !mapped && isOrdered())
        relayout();
}

void HistorySortProxyModel::sourceColumnsRemoved(const QModelIndex& parent, int first, int last)
{
    if (parent.isValid())
        return;
    // The rows keep the order of a removed sort column until the next sort.
    const int before = sortedColumn;
    if (sortedColumn > last)
        sortedColumn -= last - first + 1;
    else if (sortedColumn >= first)
        sortedColumn = -1;
    endRemoveColumns();
    if (sortedColumn != before)
        recordSortSettings();
}

// The base keeps what sortColumn() and sortOrder() report; its own map is empty, so this costs
// two signals.
void HistorySortProxyModel::recordSortSettings()
{
    QSortFilterProxyModel::sort(sortedColumn, sortedOrder);
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

void HistorySortProxyModel::sourceLayoutAboutToBeChanged()
{
    emit layoutAboutToBeChanged();
    layoutProxies = persistentIndexList();
    layoutSources.clear();
    for (const QModelIndex& index : qAsConst(layoutProxies))
        layoutSources.append(QPersistentModelIndex(mapToSource(index)));
}

// The source's rows moved: the rows start again from the source order and are sorted anew.
void HistorySortProxyModel::sourceLayoutChanged()
{
    resetRows();
    QModelIndexList after;
    after.reserve(layoutSources.size());
    for (const QPersistentModelIndex& source : qAsConst(layoutSources))
        after.append(mapFromSource(source));
    changePersistentIndexList(layoutProxies, after);
    layoutProxies.clear();
    layoutSources.clear();
    emit layoutChanged();
}

void HistorySortProxyModel::sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                                              const QVector<int>& roles)
{
    if (!topLeft.isValid() || !bottomRight.isValid() || topLeft.parent().isValid())
        return;
    const bool sortValueChanged = mapped && isOrdered() && sortedColumn >= topLeft.column()
        && sortedColumn <= bottomRight.column() && (roles.isEmpty() || roles.contains(sortRole()));
    if (sortValueChanged)
        relayout(topLeft.row(), bottomRight.row());
    const auto range = proxyRange(topLeft.row(), bottomRight.row());
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

void HistorySortProxyModel::sortSettingChanged()
{
    if (mapped && isOrdered())
        relayout();
}

} // namespace VEK_SC_Space
