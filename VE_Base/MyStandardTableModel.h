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

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    virtual int shownRecordCount() const; // rows visible to the view

    // How a new record list relates to the one held.
    enum class SourceChange {
        Extended,  // same records first, maybe more behind them
        Truncated, // same records first, fewer of them
        Replaced,  // other records
    };
    SourceChange compareSource(const QList<std::any>& source) const;
    void adoptSource(const QList<std::any>& source, SourceChange change);

    // Runs `apply`, which changes the visible rows from `before` to `after`, inside the matching
    // insert, remove or (when the shown records were replaced) reset bracket. Defined in
    // MyStandardTableModel_p.h, for the models of this library only.
    template <typename Apply>
    void changeShownRows(int before, int after, bool replaced, Apply apply);
    bool isChangingRows() const;

    std::vector<std::any> records; // our own copy, never shared with the caller

private:
    // Views and proxies ask for more rows from the slots of the row signals; a page inserted
    // then would reach later receivers of the same signal before they saw the first change.
    class ChangingRows;

    UserData* userData() const;
    const ColProperty* columnAt(const QModelIndex& index) const;

    bool changingRows = false;
    QString modelName;
    int key;
    TableHeader* tableHeader = nullptr; // not owned
    QList<ColProperty*> columns;
    QStringList titles;
    QList<int> alignments;
};

} // namespace VEK_SC_Space
