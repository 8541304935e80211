#include "HistoryTableView.h"

#include <QScrollBar>

namespace VEK_SC_Space {

HistoryTableView::HistoryTableView(QWidget* parent)
    : QTableView(parent)
{
}

void HistoryTableView::setModel(QAbstractItemModel* model)
{
    if (QAbstractItemModel* old = this->model())
        disconnect(old, nullptr, this, nullptr);
    QTableView::setModel(model);
    changed();
    if (!model)
        return;
    using Model = QAbstractItemModel;
    connect(model, &Model::rowsAboutToBeInserted, this, &HistoryTableView::rowsAboutToBeInserted);
    connect(model, &Model::rowsRemoved, this, &HistoryTableView::changed);
    connect(model, &Model::rowsMoved, this, &HistoryTableView::changed);
    connect(model, &Model::columnsInserted, this, &HistoryTableView::changed);
    connect(model, &Model::columnsRemoved, this, &HistoryTableView::changed);
    connect(model, &Model::columnsMoved, this, &HistoryTableView::changed);
    connect(model, &Model::layoutChanged, this, &HistoryTableView::changed);
}

void HistoryTableView::doItemsLayout()
{
    const Pending layout = pending;
    pending = Pending::Nothing;
    if (layout == Pending::RowsOutOfSight)
        updateGeometries();
    else
        QTableView::doItemsLayout();
}

// Also where a reset of the model ends up.
void HistoryTableView::setRootIndex(const QModelIndex& index)
{
    changed();
    QTableView::setRootIndex(index);
}

// With the scroll bar short of its end the rows in sight fill the viewport, so rows appended
// after the last one stay out of sight. The bar may lag behind rows appended since the last
// layout, never ahead of them: anything else that changes the rows (a removal, a reset, a new
// order) asks for a full layout and repaint. A removal also holds back the row header's
// updates until that full layout.
void HistoryTableView::rowsAboutToBeInserted(const QModelIndex& parent, int first)
{
    const QScrollBar* bar = verticalScrollBar();
    const bool outOfSight = !parent.isValid() && first == model()->rowCount() && bar->value() < bar->maximum();
    if (!outOfSight)
        changed();
    else if (pending == Pending::Nothing)
        pending = Pending::RowsOutOfSight;
}

void HistoryTableView::changed()
{
    pending = Pending::Repaint;
}

} // namespace VEK_SC_Space
