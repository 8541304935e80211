#pragma once

#include <QTableView>

namespace VEK_SC_Space {

// The page's table. A table repaints its whole viewport whenever its row count changes, even
// for rows appended below the last one in sight; while Load all streams in a million rows a
// hundred at a time, that is a repaint per answer and most of the time spent. Here a layout
// that only follows such rows updates the scroll bar and the headers' geometry and leaves the
// picture alone: it has not changed.
class HistoryTableView : public QTableView
{
    Q_OBJECT

public:
    explicit HistoryTableView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    void doItemsLayout() override;
    void setRootIndex(const QModelIndex& index) override;

private:
    void rowsAboutToBeInserted(const QModelIndex& parent, int first);
    void changed();

    enum class Pending {
        Nothing,
        RowsOutOfSight, // only rows appended below the ones in sight
        Repaint,        // anything else
    };
    Pending pending = Pending::Nothing;
};

} // namespace VEK_SC_Space
