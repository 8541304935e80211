#pragma once

#include "ISubModuleWid.h"

#include <QList>
#include <QString>

#include <any>
#include <memory>

class QIODevice;
class QSortFilterProxyModel;

namespace Ui {
class HistoryRecordWid;
}

namespace VEK_SC_Space {

class ColProperty;
class TableHeader;
class UserData;
class myHistoryModel;

// The page every history query shares: date range, sort order, Query / Export / Load all and
// a table that fills a page of rows at a time. A page class supplies the column set, the
// request, the answer signal and the record handling through the five pure operations.
class HistoryRecordWid : public ISubModuleWid
{
    Q_OBJECT

public:
    HistoryRecordWid(int accountKey, int pageType, QString title, QWidget* parent);
    ~HistoryRecordWid() override;

    void initSubModule() override;
    void subModuleHook() override;
    void setZoomPercent(int percent) override;

protected:
    virtual void createTableHeader() = 0;
    virtual void connectResponseSignal() = 0;
    virtual int collectNewRecords() = 0;
    virtual void clearRecords() = 0;
    virtual int sendHistoryRequest(QString investorId, QString beginDate, QString endDate,
                                   char sortType, int batchNo, int& requestId) = 0;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

public slots:
    void slot_myModel_numberPopulated(bool isFetchMore, int rowCount);
    void on_pushButton_historyordertradewid_request_clicked();
    void on_pushButton_historyordertradewid_export_clicked();
    void on_pushButton_historyordertradewid_loadall_clicked();
    void slot_InquiryHistoryFinished(int errorID, QString errorMsg, bool isTotalLast, int nRequestID);

protected:
    std::unique_ptr<Ui::HistoryRecordWid> form;
    QString title;
    int accountKey;
    UserData* userData;
    int accountType;
    TableHeader* tableHeader = nullptr;
    QList<ColProperty*> showColumns;
    QList<std::any> records;
    myHistoryModel* model = nullptr;
    QSortFilterProxyModel* proxyModel = nullptr;
    bool loadAllRequested = false;
    int requestId = 0;
    int batchNo = 0;
    bool isTotalLast = true;

private:
    void initTableView();
    void applyColumnSet();
    void rescaleFonts(int percent);
    bool checkServiceReady();
    int sendNextRequest();
    void loadAllRecords();
    void exportTableToCsv();
    void writeTableAsCsv(QIODevice& device) const;
    void setTips(const QString& text);
};

} // namespace VEK_SC_Space
