#include "PageWidgets.h"

#include <QAbstractItemModel>
#include <QDateEdit>
#include <QPushButton>
#include <QTableView>

namespace VEK_SC_Space {

namespace {
const char QueryName[] = "pushButton_historyordertradewid_request";
const char ExportName[] = "pushButton_historyordertradewid_export";
const char LoadAllName[] = "pushButton_historyordertradewid_loadall";
const char TableName[] = "tableView_historyordertradewid";
const char BeginDateName[] = "dateEdit_historyordertradewid_begdate";
} // namespace

PageWidgets::PageWidgets(QWidget* page)
    : query(page->findChild<QPushButton*>(QueryName))
    , exportButton(page->findChild<QPushButton*>(ExportName))
    , loadAll(page->findChild<QPushButton*>(LoadAllName))
    , table(page->findChild<QTableView*>(TableName))
    , beginDate(page->findChild<QDateEdit*>(BeginDateName))
{
}

QStringList PageWidgets::missing() const
{
    QStringList names;
    if (!query)
        names << QLatin1String(QueryName);
    if (!exportButton)
        names << QLatin1String(ExportName);
    if (!loadAll)
        names << QLatin1String(LoadAllName);
    if (!table)
        names << QLatin1String(TableName);
    if (!beginDate)
        names << QLatin1String(BeginDateName);
    return names;
}

QStringList PageWidgets::headerTitles() const
{
    QStringList titles;
    const QAbstractItemModel* model = table ? table->model() : nullptr;
    if (!model)
        return titles;
    for (int column = 0; column < model->columnCount(); ++column)
        titles << model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    return titles;
}

int PageWidgets::rowCount() const
{
    const QAbstractItemModel* model = table ? table->model() : nullptr;
    return model ? model->rowCount() : 0;
}

} // namespace VEK_SC_Space
