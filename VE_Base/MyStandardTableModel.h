#pragma once

#include "VE_Base_global.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

#include <any>
#include <vector>

namespace VEK_SC_Space {

class ColProperty;
class TableHeader;
class UserData;

// A table of records whose cells come from a column set: display text under Qt::DisplayRole,
// the sortable raw value under Qt::UserRole, the column's alignment under Qt::TextAlignmentRole.
// Shows every record it holds; myHistoryModel adds paging.
class VE_BASE_EXPORT MyStandardTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    MyStandardTableModel(QString name, int accountKey, QObject* parent = nullptr);
    ~MyStandardTableModel() override;

    QString name() const;
    int accountKey() const;

    void setHeader(TableHeader* header, QList<ColProperty*>& columns);
    void setHorizontalHeaderList(const QStringList& titles);
    void setAlignment(QList<int> alignments);

    // Replaces the records. When the new list only extends the one held (as each answer batch
    // does), only the new tail is copied, so a long query costs time linear in its records.
    virtual void setDataSource(QList<std::any> records);
    virtual void resetDataSource();

    int recordCount() const;
    const std::any& record(int row) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    virtual int shownRecordCount() const;   // rows visible to the view

    std::vector<std::any> records;          // our own copy, never shared with the caller

private:
    QString modelName;
    int key;
    TableHeader* tableHeader = nullptr;     // not owned
    QList<ColProperty*> columns;
    QStringList titles;
    QList<int> alignments;
};

} // namespace VEK_SC_Space
