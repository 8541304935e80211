#include "TableHeader.h"

#include <QJsonArray>
#include <QSettings>
#include <QWidget>

namespace VEK_SC_Space {

namespace {

QString choiceSettingsKey(const QString& key)
{
    return QStringLiteral("TableHeader/") + key;
}

} // namespace

TableHeader::TableHeader(QString key, QWidget* parent)
    : QObject(parent)
    , tableKey(std::move(key))
{
}

TableHeader::~TableHeader()
{
    qDeleteAll(columns);
}

QString TableHeader::key() const
{
    return tableKey;
}

QJsonObject TableHeader::toJson() const
{
    QJsonArray columnArray;
    for (const ColProperty* column : columns) {
        columnArray.append(QJsonObject{
            {QStringLiteral("id"), column->id},
            {QStringLiteral("title"), column->title},
            {QStringLiteral("width"), column->width},
            {QStringLiteral("alignment"), int(column->alignment)},
            {QStringLiteral("flag"), column->flag},
            {QStringLiteral("shown"), column->shown},
        });
    }
    QJsonArray choices;
    for (const ColProperty* column : shownColumns)
        choices.append(column->id);
    return QJsonObject{
        {QStringLiteral("key"), tableKey},
        {QStringLiteral("columns"), columnArray},
        {QStringLiteral("choices"), choices},
    };
}

QVariant TableHeader::getColumnValueUserRoleOffset(int, int, std::any, UserData*)
{
    return QVariant();
}

QVariant TableHeader::getHiddenColumnValue(int, std::any, UserData*)
{
    return QVariant();
}

void TableHeader::initUserColumn()
{
    shownColumns.clear();
    for (int id : savedColumnChoice(tableKey)) {
        ColProperty* column = columnById(id);
        if (column && !shownColumns.contains(column))
            shownColumns.append(column);
    }
    if (shownColumns.isEmpty()) {
        for (ColProperty* column : qAsConst(columns)) {
            if (column->flag)
                shownColumns.append(column);
        }
    }
    for (ColProperty* column : qAsConst(columns))
        column->shown = shownColumns.contains(column);
}

QList<ColProperty*> TableHeader::getShowColumns() const
{
    return shownColumns;
}

QList<ColProperty*> TableHeader::allColumns() const
{
    return columns;
}

QList<int> TableHeader::savedColumnChoice(const QString& key)
{
    const QStringList saved = QSettings().value(choiceSettingsKey(key)).toStringList();
    QList<int> ids;
    for (const QString& text : saved) {
        bool ok = false;
        const int id = text.toInt(&ok);
        if (ok)
            ids.append(id);
    }
    return ids;
}

void TableHeader::saveColumnChoice(const QString& key, const QList<int>& ids)
{
    if (ids.isEmpty()) {
        clearColumnChoice(key);
        return;
    }
    QStringList texts;
    for (int id : ids)
        texts.append(QString::number(id));
    QSettings().setValue(choiceSettingsKey(key), texts);
}

void TableHeader::clearColumnChoice(const QString& key)
{
    QSettings().remove(choiceSettingsKey(key));
}

void TableHeader::addColumn(int id, QString title, int width, QFlags<Qt::AlignmentFlag> alignment, bool flag)
{
    auto* column = new ColProperty;
    column->id = id;
    column->title = std::move(title);
    column->width = width;
    column->alignment = alignment;
    column->flag = flag;
    column->shown = flag;
    columns.append(column);
    // Until initUserColumn runs, the default choice applies.
    if (flag)
        shownColumns.append(column);
}

ColProperty* TableHeader::columnById(int id) const
{
    for (ColProperty* column : columns) {
        if (column->id == id)
            return column;
    }
    return nullptr;
}

} // namespace VEK_SC_Space
