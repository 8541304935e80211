#pragma once

#include <QStringList>

class QDateEdit;
class QPushButton;
class QTableView;
class QWidget;

namespace VEK_SC_Space {

// The controls of a history page that the client drives as a user would, found by their
// object names.
struct PageWidgets
{
    explicit PageWidgets(QWidget* page);

    QPushButton* query = nullptr;
    QPushButton* exportButton = nullptr;
    QPushButton* loadAll = nullptr;
    QTableView* table = nullptr;
    QDateEdit* beginDate = nullptr;

    QStringList missing() const;      // object names not found
    QStringList headerTitles() const; // the table's column titles, left to right
    int rowCount() const;             // rows the table shows
};

} // namespace VEK_SC_Space
