#include "MyStandardTableModel.h"
#include "MyStandardTableModel_p.h"

#include "TableHeader.h"
#include "UserDataManager.h"

#include <cstring>

namespace VEK_SC_Space {

namespace {

// Two std::any objects with the same bytes hold the same value: a copied std::any keeps its
// manager, and a pointer held in place is stored as its own bytes. Different bytes may still
// mean equal values; that only costs a full copy, never a wrong result.
bool sameBytes(const std::any& a, const std::any& b)
{
    return std::memcmp(static_cast<const void*>(&a), static_cast<const void*>(&b), sizeof(std::any)) == 0;
}

const std::any& noRecord()
{
    static const std::any none;
    return none;
}

} // namespace

MyStandardTableModel::MyStandardTableModel(QString name, int accountKey, QObject* parent)
    : QAbstractTableModel(parent)
    , modelName(std::move(name))
    , key(accountKey)
{
}

MyStandardTableModel::~MyStandardTableModel() = default;

QString MyStandardTableModel::name() const
{
    return modelName;
}

int MyStandardTableModel::accountKey() const
{
    return key;
}

bool MyStandardTableModel::isChangingRows() const
{
    return changingRows;
}

void MyStandardTableModel::setHeader(TableHeader* header, QList<ColProperty*>& shown)
{
    const ChangingRows guard(this);
    beginResetModel();
    tableHeader = header;
    columns = shown;
    endResetModel();
}

void MyStandardTableModel::setHorizontalHeaderList(const QStringList& headerTitles)
{
    titles = headerTitles;
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void MyStandardTableModel::setAlignment(QList<int> columnAlignments)
{
    alignments = std::move(columnAlignments);
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::TextAlignmentRole});
}

void MyStandardTableModel::setDataSource(QList<std::any> source)
{
    const SourceChange change = compareSource(source);
    changeShownRows(shownRecordCount(), source.size(), change == SourceChange::Replaced,
                    [&] { adoptSource(source, change); });
}

void MyStandardTableModel::resetDataSource()
{
    changeShownRows(shownRecordCount(), 0, true, [this] { records.clear(); });
}

int MyStandardTableModel::recordCount() const
{
    return int(records.size());
}

const std::any& MyStandardTableModel::record(int row) const
{
    if (row < 0 || row >= recordCount())
        return noRecord();
    return records[std::size_t(row)];
}

QModelIndex MyStandardTableModel::index(int row, int column, const QModelIndex& parent) const
{
    // A sorting proxy asks for two indexes per comparison, twenty million times for a million
    // rows: the checks of hasIndex without its three virtual calls.
    if (parent.isValid() || !tableHeader || row < 0 || column < 0 || column >= columns.size()
        || row >= shownRecordCount())
        return QModelIndex();
    return createIndex(row, column);
}

int MyStandardTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : shownRecordCount();
}

int MyStandardTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() || !tableHeader ? 0 : columns.size();
}

QVariant MyStandardTableModel::data(const QModelIndex& index, int role) const
{
    const ColProperty* column = columnAt(index);
    if (!column || index.row() >= rowCount() || index.row() >= recordCount())
        return QVariant();
    const std::any& rowRecord = records[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return tableHeader->getColumnDisplayText(column->id, rowRecord, userData());
    case Qt::UserRole:
        return tableHeader->getColumnRawValue(column->id, rowRecord, userData());
    case Qt::TextAlignmentRole:
        return index.column() < alignments.size() ? alignments.at(index.column()) : int(column->alignment);
    default:
        return QVariant();
    }
}

QVariant MyStandardTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role != Qt::DisplayRole || section < 0 || section >= columnCount())
        return QVariant();
    return section < titles.size() ? titles.at(section) : columns.at(section)->title;
}

int MyStandardTableModel::shownRecordCount() const
{
    return recordCount();
}

MyStandardTableModel::SourceChange MyStandardTableModel::compareSource(const QList<std::any>& source) const
{
    // The page's list only grows at its end between two queries, so the first and the last
    // common record tell an extended list from a new one without a pass over all records.
    const int common = qMin(recordCount(), source.size());
    const bool samePrefix = common == 0
        || (sameBytes(records.front(), source.at(0))
            && sameBytes(records[std::size_t(common - 1)], source.at(common - 1)));
    if (!samePrefix)
        return SourceChange::Replaced;
    return source.size() >= recordCount() ? SourceChange::Extended : SourceChange::Truncated;
}

void MyStandardTableModel::adoptSource(const QList<std::any>& source, SourceChange change)
{
    switch (change) {
    case SourceChange::Extended:
        records.insert(records.end(), source.cbegin() + recordCount(), source.cend());
        break;
    case SourceChange::Truncated:
    case SourceChange::Replaced:
        records.assign(source.cbegin(), source.cend());
        break;
    }
}

UserData* MyStandardTableModel::userData() const
{
    return UserDataManager::instance()->userData(key);
}

const ColProperty* MyStandardTableModel::columnAt(const QModelIndex& index) const
{
    if (!tableHeader || !index.isValid() || index.model() != this || index.parent().isValid())
        return nullptr;
    if (index.row() < 0 || index.column() < 0 || index.column() >= columns.size())
        return nullptr;
    return columns.at(index.column());
}

} // namespace VEK_SC_Space
