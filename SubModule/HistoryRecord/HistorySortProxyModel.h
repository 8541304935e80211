#pragma once

#include <QAbstractProxyModel>
#include <QString>
#include <QtGlobal>

#include <vector>

namespace VEK_SC_Space {

// The page's sorting proxy over a flat table that grows a page of rows at a time, up to a
// million. It sorts as QSortFilterProxyModel does with dynamic sorting (same sort API, same
// signals, same rows, same persistent indexes), only faster, and it does not filter.
//
// Order. The sort role's values are ordered by a strict weak order: invalid values after all
// others; values of different types by their type (QMetaType id) first; values of one type as
// QSortFilterProxyModel::lessThan compares them (case sensitivity and locale awareness for
// strings), except that NaN comes after every number and NaNs are equal. Descending is the
// exact reverse: invalid values and NaN come first. Qt's own comparison is no order for NaN or
// for mixed types (an int and a string compare by the int's rules one way and by the string's
// the other), so where a column holds those, rows arriving later landed wherever the binary
// search happened to stop; here a row's place does not depend on when it arrived.
//
// Where it differs from QSortFilterProxyModel on purpose, with equal keys only:
//  - Rows that arrive in one insertion go after the rows already shown with an equal key, in
//    arrival order, as a row arriving alone does. Qt places only the first new row of each run
//    so; the new rows after it join it as long as they do not sort after the shown row there,
//    which puts them before shown rows of an equal key: a page of buys and sells, sorted by
//    side, lands with its sells before the sells already shown.
//  - When one dataChanged covers several rows, only the rows now out of order with the rows
//    that did not change (the fewest that must move) are taken out and put back after their
//    equal keys; Qt takes out every row of the range as soon as one is out of order, which
//    puts all equal keys of the range back into source order and moves the current row.
//    A change that leaves every row in order moves nothing, as in Qt.
//
// No filter. QSortFilterProxyModel's filter setters and invalidateFilter() are not virtual and
// (in Qt 5) signal nothing, so a subclass with its own row map cannot learn that the filter
// changed: a filter set through a QSortFilterProxyModel pointer would be silently ignored. The
// page and the host never filter, so the class is a QAbstractProxyModel: a caller looking for a
// filter finds none instead of one that does nothing.
//
// Speed. While the rows are in source order there is no map at all (appending costs only the
// new rows); once sorted, a flat map of row numbers. A sort reads each row's value once and,
// for a column of ints, doubles or strings, sorts flat keys. Rows arriving together are placed
// by one binary search per run of equal keys and shown in as few insertions as Qt shows them.
// A dataChanged reads each changed value once and moves only the rows out of order.
class HistorySortProxyModel : public QAbstractProxyModel
{
    Q_OBJECT
    Q_PROPERTY(int sortRole READ sortRole WRITE setSortRole NOTIFY sortRoleChanged)
    Q_PROPERTY(Qt::CaseSensitivity sortCaseSensitivity READ sortCaseSensitivity WRITE setSortCaseSensitivity
                   NOTIFY sortCaseSensitivityChanged)
    Q_PROPERTY(bool isSortLocaleAware READ isSortLocaleAware WRITE setSortLocaleAware NOTIFY sortLocaleAwareChanged)

public:
    explicit HistorySortProxyModel(QObject* parent = nullptr);
    ~HistorySortProxyModel() override;

    void setSourceModel(QAbstractItemModel* source) override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;
    int sortColumn() const { return sortedColumn; }
    Qt::SortOrder sortOrder() const { return sortedOrder; }
    int sortRole() const { return sortingRole; }
    void setSortRole(int role);
    Qt::CaseSensitivity sortCaseSensitivity() const { return sensitivity; }
    void setSortCaseSensitivity(Qt::CaseSensitivity sensitivity);
    bool isSortLocaleAware() const { return localeAware; }
    void setSortLocaleAware(bool on);

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    QModelIndex sibling(int row, int column, const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role = Qt::EditRole) override;
    bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
    bool insertColumns(int column, int count, const QModelIndex& parent = QModelIndex()) override;
    bool removeColumns(int column, int count, const QModelIndex& parent = QModelIndex()) override;

    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;
    // mapToSource for a row, without making indexes.
    int sourceRow(int proxyRow) const { return mapped ? toSource[std::size_t(proxyRow)] : proxyRow; }

public slots:
    // Sorts anew from the source order, as QSortFilterProxyModel::invalidate() does: for a
    // source whose values changed without a signal.
    void invalidate();

signals:
    void sortRoleChanged(int role);
    void sortCaseSensitivityChanged(Qt::CaseSensitivity sensitivity);
    void sortLocaleAwareChanged(bool on);

private:
    // The source's changes, passed on in proxy rows. Columns are never reordered.
    void sourceRowsAboutToBeInserted(const QModelIndex& parent, int first, int last);
    void sourceRowsInserted(const QModelIndex& parent, int first, int last);
    void sourceRowsAboutToBeRemoved(const QModelIndex& parent, int first, int last);
    void sourceRowsRemoved(const QModelIndex& parent, int first, int last);
    void sourceColumnsInserted(const QModelIndex& parent, int first, int last);
    void sourceColumnsRemoved(const QModelIndex& parent, int first, int last);
    void sourceAboutToBeReset();
    void sourceReset();
    void sourceLayoutAboutToBeChanged(const QList<QPersistentModelIndex>& parents);
    void sourceLayoutChanged();
    void sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QVector<int>& roles);
    void sourceHeaderDataChanged(Qt::Orientation orientation, int first, int last);
    void sourceDestroyed();

    int proxyRow(int sourceRow) const;
    // The proxy range covering the source rows first..last.
    std::pair<int, int> proxyRange(int first, int last) const;
    QVariant sortValue(int sourceRow) const;
    // a before b in the sort direction.
    bool before(const QVariant& a, const QVariant& b) const;

    // Runs reorder() between one layout pair and moves the persistent indexes along.
    template <typename Reorder>
    void relayout(const QList<QPersistentModelIndex>& parents, QAbstractItemModel::LayoutChangeHint hint,
                  Reorder reorder);
    void resort();
    bool isOrdered() const;
    void applySort();
    bool sortByKeys();
    void sortByValues();
    void placeNewRows(int first, int last);
    void replaceChanged(int first, int last);
    void resetRows();
    void removeProxyRows(std::vector<int> proxyRows);

    int rows = 0;                        // rows shown while the map is empty
    bool mapped = false;                 // rows follow toSource, not the source order
    std::vector<int> toSource;           // proxy row -> source row
    mutable std::vector<int> fromSource; // source row -> proxy row, rebuilt when stale
    mutable bool fromSourceStale = true;
    int sortedColumn = -1;
    Qt::SortOrder sortedOrder = Qt::AscendingOrder;
    int sortingRole = Qt::DisplayRole;
    Qt::CaseSensitivity sensitivity = Qt::CaseSensitive;
    bool localeAware = false;
    bool layoutForwarded = false; // a source layout change was passed on
    QList<QPersistentModelIndex> layoutParents;
    QList<QPersistentModelIndex> layoutSources; // source side of persistent indexes
    QModelIndexList layoutProxies;
};

} // namespace VEK_SC_Space
