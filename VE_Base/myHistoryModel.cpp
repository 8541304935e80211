#include "myHistoryModel.h"

#include "MyStandardTableModel_p.h"

namespace VEK_SC_Space {

myHistoryModel::myHistoryModel(QString name, int accountKey, QObject* parent)
    : MyStandardTableModel(std::move(name), accountKey, parent)
{
}

void myHistoryModel::setDataSource(QList<std::any> source)
{
    const SourceChange change = compareSource(source);
    const int shown = qMin(rowsShown, source.size());
    changeShownRows(rowsShown, shown, change == SourceChange::Replaced, [&] {
        adoptSource(source, change);
        rowsShown = shown;
    });
}

void myHistoryModel::resetDataSource()
{
    changeShownRows(rowsShown, 0, true, [this] { rowsShown = 0; });
}

void myHistoryModel::loadNextPage()
{
    showNextPage(false);
}

bool myHistoryModel::canFetchMore(const QModelIndex& parent) const
{
    if (parent.isValid() || isChangingRows())
        return false;
    return rowsShown < recordCount();
}

void myHistoryModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid())
        return;
    showNextPage(true);
}

int myHistoryModel::shownRecordCount() const
{
    return rowsShown;
}

bool myHistoryModel::showNextPage(bool isFetchMore)
{
    if (isChangingRows())
        return false;
    const int start = rowsShown;
    const int remainder = recordCount() - start;
    const int itemsToFetch = qMin(PageSize, remainder);
    if (itemsToFetch <= 0) {
        // An explicit page-in still reports the rows shown: after an empty or already shown
        // final answer this is the page's only news that everything is loaded.
        if (!isFetchMore)
            emit numberPopulated(false, rowsShown);
        return false;
    }
    changeShownRows(start, start + itemsToFetch, false, [&] { rowsShown += itemsToFetch; });
    emit numberPopulated(isFetchMore, rowsShown);
    return true;
}

} // namespace VEK_SC_Space
