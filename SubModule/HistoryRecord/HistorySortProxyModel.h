#pragma once

#include <QSortFilterProxyModel>
#include <QString>
#include <QtGlobal>

#include <vector>

namespace VEK_SC_Space {

// The page's sorting proxy. Sorting a complete answer of a million rows compares some twenty
// million pairs, and the plain proxy asks the column set for both values of every pair. This
// one reads the sort role of each source row once when a sort starts, compares those values as
// typed keys while QSortFilterProxyModel orders the rows, and drops them when it is done.
// The order is the plain proxy's, pair for pair; every role, Qt::UserRole included, still
// serves exactly what the source returns.
class HistorySortProxyModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit HistorySortProxyModel(QObject* parent = nullptr);
    ~HistorySortProxyModel() override;

    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

protected:
    bool lessThan(const QModelIndex& sourceLeft, const QModelIndex& sourceRight) const override;

private:
    // The sort role of one column as one unsigned key per source row, ordered as the values
    // are: numbers map onto keys that keep their order, strings get their rank among the
    // column's strings, and invalid values the largest key, as an invalid value is never less
    // and greater than any valid one. Comparing two keys answers what comparing the two values
    // would. Built only for one type that orders strictly (ints, doubles without NaN, strings);
    // anything else is left to QSortFilterProxyModel's own comparison.
    class SortKeys
    {
    public:
        bool build(const QAbstractItemModel* source, int column, int role, Qt::CaseSensitivity sensitivity,
                   bool localeAware);
        void clear();
        bool covers(const QModelIndex& left, const QModelIndex& right) const;
        bool lessThan(int leftRow, int rightRow) const
        {
            return keys[std::size_t(leftRow)] < keys[std::size_t(rightRow)];
        }

    private:
        template <typename Less>
        void rankStrings(const std::vector<QString>& strings, Less less);
        bool failed();

        int column = -1;
        std::vector<quint64> keys;
    };

    SortKeys keys;
};

} // namespace VEK_SC_Space
