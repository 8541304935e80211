#include "HistorySortProxyModel.h"

#include <QVariant>
#include <QtNumeric>

#include <algorithm>
#include <cstring>
#include <limits>

namespace VEK_SC_Space {

HistorySortProxyModel::HistorySortProxyModel(QObject* parent)
    : QSortFilterProxyModel(parent)
{
}

HistorySortProxyModel::~HistorySortProxyModel() = default;

void HistorySortProxyModel::sort(int column, Qt::SortOrder order)
{
    // Rows are never filtered nor columns moved, so the proxy column is the source column.
    keys.build(sourceModel(), column, sortRole(), sortCaseSensitivity(), isSortLocaleAware());
    QSortFilterProxyModel::sort(column, order);
    // Rows inserted into a sorted table later are placed by the plain comparison.
    keys.clear();
}

bool HistorySortProxyModel::lessThan(const QModelIndex& sourceLeft, const QModelIndex& sourceRight) const
{
    if (keys.covers(sourceLeft, sourceRight))
        return keys.lessThan(sourceLeft.row(), sourceRight.row());
    return QSortFilterProxyModel::lessThan(sourceLeft, sourceRight);
}

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

} // namespace

bool HistorySortProxyModel::SortKeys::build(const QAbstractItemModel* source, int column, int role,
                                            Qt::CaseSensitivity sensitivity, bool localeAware)
{
    clear();
    if (!source || column < 0 || column >= source->columnCount())
        return false;
    const int rows = source->rowCount();
    keys.assign(std::size_t(rows), InvalidKey);
    std::vector<QString> strings;
    int type = QMetaType::UnknownType;
    for (int row = 0; row < rows; ++row) {
        const QVariant value = source->data(source->index(row, column), role);
        if (!value.isValid())
            continue;
        if (type == QMetaType::UnknownType) {
            type = value.userType();
            if (type == QMetaType::QString)
                strings.resize(std::size_t(rows));
            else if (type != QMetaType::Int && type != QMetaType::Double)
                return failed();
        } else if (value.userType() != type) {
            return failed();
        }
        const std::size_t at = std::size_t(row);
        switch (type) {
        case QMetaType::Int:
            keys[at] = intKey(value.toInt());
            break;
        case QMetaType::Double: {
            const double number = value.toDouble();
            if (qIsNaN(number))
                return failed();    // unordered: no key can stand for it
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
            rankStrings(strings, [](const QString& a, const QString& b) { return a.localeAwareCompare(b) < 0; });
        } else {
            rankStrings(strings, [sensitivity](const QString& a, const QString& b) {
                return QString::compare(a, b, sensitivity) < 0;
            });
        }
    }
    this->column = column;
    return true;
}

template <typename Less>
void HistorySortProxyModel::SortKeys::rankStrings(const std::vector<QString>& strings, Less less)
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

bool HistorySortProxyModel::SortKeys::failed()
{
    clear();
    return false;
}

void HistorySortProxyModel::SortKeys::clear()
{
    column = -1;
    std::vector<quint64>().swap(keys);
}

bool HistorySortProxyModel::SortKeys::covers(const QModelIndex& left, const QModelIndex& right) const
{
    const auto inRange = [this](const QModelIndex& index) {
        return index.column() == column && index.row() >= 0 && std::size_t(index.row()) < keys.size();
    };
    return inRange(left) && inRange(right);
}

} // namespace VEK_SC_Space
