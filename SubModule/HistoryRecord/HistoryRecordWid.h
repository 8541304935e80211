#pragma once

#include "ISubModuleWid.h"

#include <QList>
#include <QMessageBox>
#include <QString>

#include <any>
#include <memory>

class QIODevice;

namespace Ui {
class HistoryRecordWid;
}

namespace VEK_SC_Space {

class ColProperty;
class HistorySortProxyModel;
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
    HistorySortProxyModel* proxyModel = nullptr;
    bool loadAllRequested = false;
    int requestId = 0;
    int batchNo = 0;
    bool isTotalLast = true;
    // Records at the end of the account's list that came with answers the page did not take:
    // collectNewRecords() starts after them; clearRecords() frees them with the rest.
    int skippedRecords = 0;

private:
    void initTableView();
    void applyColumnSet();
    void rescaleFonts(int percent);
    void applySizes();
    bool checkServiceReady();
    int sendNextRequest();
    void sendNextRequestLater();
    bool awaitsAnswer() const;
    void skipNewRecords();
    void tableEndReached();
    void accountDestroyed();
    void loadAllRecords();
    void exportTableToCsv();
    bool writeTableAsCsv(QIODevice& device) const;
    bool showMessage(QMessageBox::Icon icon, const QString& caption, const QString& text);
    void setTips(const QString& text);

    // The parameters of the query of the last Query click, used by all its batches.
    QString queryBeginDate;
    QString queryEndDate;
    char querySortType = 0;
    bool queryFailed = false;
    bool nextRequestPending = false;
};

} // namespace VEK_SC_Space
