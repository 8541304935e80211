#pragma once

#include "MyStandardTableModel.h"

namespace VEK_SC_Space {

// The history table: shows its records a page of 100 rows at a time.
//  - setDataSource keeps the number of rows shown (clamped to the new size);
//  - resetDataSource shows 0 rows;
//  - loadNextPage shows the next page and always emits numberPopulated(false, rows), even
//    when every record is shown already;
//  - fetchMore from the view shows the next page and emits numberPopulated(true, rows) only
//    when the number of rows shown changed.
class VE_BASE_EXPORT myHistoryModel : public MyStandardTableModel
{
    Q_OBJECT

public:
    static constexpr int PageSize = 100;

    myHistoryModel(QString name, int accountKey, QObject* parent = nullptr);

    void setDataSource(QList<std::any> records) override;
    void resetDataSource() override;
    void loadNextPage();

    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    void numberPopulated(bool isFetchMore, int rowCount);

protected:
    int shownRecordCount() const override;

private:
    bool showNextPage(bool isFetchMore);

    int rowsShown = 0;
};

} // namespace VEK_SC_Space
