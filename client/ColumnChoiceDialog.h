#pragma once

#include "ColumnProbe.h"
#include "PageCatalog.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;

namespace VEK_SC_Space {

// The user's column choice per column set: which columns a page shows and in which order
// (drag to reorder). Saved with TableHeader::saveColumnChoice; pages opened afterwards use it.
class ColumnChoiceDialog : public QDialog
{
    Q_OBJECT

public:
    ColumnChoiceDialog(ColumnProbe& probe, QWidget* parent = nullptr);

private:
    void showSet(int index);
    void save();
    void restoreDefaults();
    QList<int> checkedIds() const;

    ColumnProbe& probe;
    const QList<ColumnSetEntry> sets;
    QComboBox* setChooser;
    QListWidget* columnList;
    QLabel* status;
};

} // namespace VEK_SC_Space
