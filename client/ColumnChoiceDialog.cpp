#include "ColumnChoiceDialog.h"

#include "TableHeader.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace VEK_SC_Space {

namespace {

constexpr int IdRole = Qt::UserRole;

// The saved choice first, in its order and checked; with none saved the default columns.
// Every other column follows unchecked.
QList<ColumnInfo> inChoiceOrder(const QList<ColumnInfo>& columns, const QList<int>& saved)
{
    if (saved.isEmpty())
        return columns;
    QList<ColumnInfo> ordered;
    QList<ColumnInfo> rest = columns;
    for (int id : saved) {
        if (auto column = takeColumn(rest, [id](const ColumnInfo& c) { return c.id == id; }))
            ordered.append({column->id, column->title, true});
    }
    for (ColumnInfo& column : rest)
        column.shown = false;
    return ordered + rest;
}

} // namespace

ColumnChoiceDialog::ColumnChoiceDialog(ColumnProbe& columnProbe, QWidget* parent)
    : QDialog(parent)
    , probe(columnProbe)
    , sets(PageCatalog::columnSets())
    , setChooser(new QComboBox(this))
    , columnList(new QListWidget(this))
    , status(new QLabel(this))
{
    setWindowTitle(tr("Columns"));
    setChooser->setObjectName(QStringLiteral("columnSet"));
    columnList->setObjectName(QStringLiteral("columnList"));
    for (const ColumnSetEntry& set : sets)
        setChooser->addItem(set.displayLabel());
    columnList->setDragDropMode(QAbstractItemView::InternalMove);
    status->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::RestoreDefaults
                                             | QDialogButtonBox::Close,
                                         this);
    connect(buttons->button(QDialogButtonBox::Save), &QPushButton::clicked, this, &ColumnChoiceDialog::save);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked,
            this, &ColumnChoiceDialog::restoreDefaults);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(setChooser, qOverload<int>(&QComboBox::currentIndexChanged), this, &ColumnChoiceDialog::showSet);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(setChooser);
    layout->addWidget(new QLabel(tr("Tick the columns to show; drag them into order. "
                                    "Pages opened afterwards use the choice."),
                                 this));
    layout->addWidget(columnList);
    layout->addWidget(status);
    layout->addWidget(buttons);
    resize(420, 560);
    showSet(0);
}

void ColumnChoiceDialog::showSet(int index)
{
    columnList->clear();
    if (index < 0 || index >= sets.size())
        return;
    const ColumnSetEntry& set = sets.at(index);
    const QList<ColumnInfo> columns = probe.columns(set);
    if (columns.isEmpty()) {
        status->setText(tr("The module opened no page to read the columns from."));
        return;
    }
    const QList<int> saved = TableHeader::savedColumnChoice(set.key);
    for (const ColumnInfo& column : inChoiceOrder(columns, saved)) {
        auto* item = new QListWidgetItem(column.title, columnList);
        item->setData(IdRole, column.id);
        item->setFlags((item->flags() | Qt::ItemIsUserCheckable) & ~Qt::ItemIsDropEnabled);
        item->setCheckState(column.shown ? Qt::Checked : Qt::Unchecked);
    }
    status->setText(saved.isEmpty() ? tr("No choice saved: the default columns.") : tr("Saved choice."));
}

void ColumnChoiceDialog::save()
{
    const QList<int> ids = checkedIds();
    if (ids.isEmpty()) {
        status->setText(tr("Tick at least one column."));
        return;
    }
    TableHeader::saveColumnChoice(sets.at(setChooser->currentIndex()).key, ids);
    status->setText(tr("Saved; pages opened from now on show these columns."));
}

void ColumnChoiceDialog::restoreDefaults()
{
    TableHeader::clearColumnChoice(sets.at(setChooser->currentIndex()).key);
    showSet(setChooser->currentIndex());
}

QList<int> ColumnChoiceDialog::checkedIds() const
{
    QList<int> ids;
    for (int row = 0; row < columnList->count(); ++row) {
        const QListWidgetItem* item = columnList->item(row);
        if (item->checkState() == Qt::Checked)
            ids.append(item->data(IdRole).toInt());
    }
    return ids;
}

} // namespace VEK_SC_Space
