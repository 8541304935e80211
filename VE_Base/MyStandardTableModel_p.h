#pragma once

// The models' own helpers, kept out of the public header so that no user of the library
// compiles them into itself.

#include "MyStandardTableModel.h"

namespace VEK_SC_Space {

class MyStandardTableModel::ChangingRows
{
public:
    explicit ChangingRows(MyStandardTableModel* changed)
        : model(changed) { model->changingRows = true; }
    ~ChangingRows() { model->changingRows = false; }
    ChangingRows(const ChangingRows&) = delete;
    ChangingRows& operator=(const ChangingRows&) = delete;

private:
    MyStandardTableModel* model;
};

template <typename Apply>
void MyStandardTableModel::changeShownRows(int before, int after, bool replaced, Apply apply)
{
    const ChangingRows guard(this);
    if (replaced && (before > 0 || after > 0)) {
        beginResetModel();
        apply();
        endResetModel();
    } else if (after > before) {
        beginInsertRows(QModelIndex(), before, after - 1);
        apply();
        endInsertRows();
    } else if (after < before) {
        beginRemoveRows(QModelIndex(), after, before - 1);
        apply();
        endRemoveRows();
    } else {
        apply();
    }
}

} // namespace VEK_SC_Space
