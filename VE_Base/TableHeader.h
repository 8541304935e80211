#pragma once

#include "VE_Base_global.h"

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

#include <any>

class QWidget;

namespace VEK_SC_Space {

class UserData;

// One registered column of a column set.
class VE_BASE_EXPORT ColProperty
{
public:
    int id = 0;
    QString title;
    int width = 0;
    Qt::Alignment alignment;
    bool flag = true;  // shown by default
    bool shown = true; // the user's choice (initUserColumn)
};

// Base of every column set: the registered columns, the set's key and the user's column
// choices, which are kept in QSettings under the key. A set turns one record (a std::any holding
// a record pointer) into the text and the sortable value of a cell.
class VE_BASE_EXPORT TableHeader : public QObject
{
    Q_OBJECT

public:
    TableHeader(QString key, QWidget* parent);
    ~TableHeader() override;

    QString key() const;

    // key, every column (id, title, width, alignment, flag, shown) in registration order, and
    // "choices": the ids of the shown columns in display order.
    virtual QJsonObject toJson() const;
    virtual QString getColumnDisplayText(int column, std::any record, UserData* userData) = 0;
    virtual QVariant getColumnRawValue(int column, std::any record, UserData* userData) = 0;
    virtual QVariant getColumnValueUserRoleOffset(int column, int offset, std::any record, UserData* userData);
    virtual QVariant getHiddenColumnValue(int column, std::any record, UserData* userData);

    // Applies the saved column choices; with none saved, every column whose flag is true,
    // in registration order.
    void initUserColumn();
    QList<ColProperty*> getShowColumns() const; // shown columns, in display order
    QList<ColProperty*> allColumns() const;     // every column, in registration order

    // The user's column choices for a key: ids in display order. Empty: none saved.
    static QList<int> savedColumnChoice(const QString& key);
    static void saveColumnChoice(const QString& key, const QList<int>& ids);
    static void clearColumnChoice(const QString& key);

protected:
    void addColumn(int id, QString title, int width, QFlags<Qt::AlignmentFlag> alignment, bool flag);

private:
    ColProperty* columnById(int id) const;

    QString tableKey;
    QList<ColProperty*> columns;      // owned
    QList<ColProperty*> shownColumns; // subset of columns
};

} // namespace VEK_SC_Space
