#pragma once

#include <QSortFilterProxyModel>
#include <QString>
#include <QtGlobal>

#include <vector>

namespace VEK_SC_Space {

// The page's sorting proxy over a flat table that grows a page of rows at a time, up to a
// million. It is a QSortFilterProxyModel with the sorting of one: rows in source order until a
// sort, then ordered stably by the sort role's values, compared as QSortFilterProxyModel::lessThan
// compares them (case sensitivity and locale awareness included), rows arriving later placed in
// order; every role still serves exactly what the source returns.
//
// It keeps its own row map instead of the base's, which is rebuilt in full on every insertion:
// a million rows paged in a hundred at a time made that quadratic. Here the map is empty while
// the rows are in source order, so appending costs only the new rows, and a sort reads each
// row's value once and orders flat keys. The base still records the sort settings (sortColumn(),
// sortOrder(), sortRole() and the rest read as usual); its own map is kept empty. No filtering.
class HistorySortProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit HistorySortProxyModel(QObject* parent = nullptr);
    ~HistorySortProxyModel() override;

    void setSourceModel(QAbstractItemModel* source) override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

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

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

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
    void sourceLayoutAboutToBeChanged();
    void sourceLayoutChanged();
    void sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QVector<int>& roles);
    void sourceHeaderDataChanged(Qt::Orientation orientation, int first, int last);
    void sourceDestroyed();
    void sortSettingChanged();

    int proxyRow(int sourceRow) const;
    // The proxy range covering the source rows first..last.
    std::pair<int, int> proxyRange(int first, int last) const;
    bool sourceLess(int leftRow, int rightRow) const;

    // Rebuilds the map for the current sort and moves the persistent indexes along.
    void relayout(int first = -1, int last = -1);
    void recordSortSettings();
    void applySort();
    bool isOrdered() const;
    bool sortByKeys();
    void sortByComparison();
    int insertionPoint(int sourceRow) const;
    void resetRows();
    void removeProxyRows(std::vector<int> proxyRows);

    int rows = 0;                           // rows shown while the map is empty
    bool mapped = false;                    // rows follow toSource, not the source order
    std::vector<int> toSource;              // proxy row -> source row
    mutable std::vector<int> fromSource;    // source row -> proxy row, rebuilt when stale
    mutable bool fromSourceStale = true;
    int sortedColumn = -1;
    Qt::SortOrder sortedOrder = Qt::AscendingOrder;
    QList<QPersistentModelIndex> layoutSources;     // source side of persistent indexes
    QModelIndexList layoutProxies;
};

} // namespace VEK_SC_Space
