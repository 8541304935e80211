#pragma once

#include "ISubModuleWid.h"

#include <QList>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QTimer>

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

    // A newer page of the same kind on the same account takes the account's result list over:
    // this page lets go of its rows, says so, and never reads or frees the list again.
    void yieldResultList();

protected:
    virtual void createTableHeader() = 0;
    virtual void connectResponseSignal() = 0;
    virtual int collectNewRecords() = 0;
    virtual void clearRecords() = 0;
    // Fetches records.at(index) toward the processor's cache, for a loop that reads it soon; a
    // hint only, which a page that knows its record type gives.
    virtual void prefetchRecord(int /*index*/) const {}
    virtual int sendHistoryRequest(QString investorId, QString beginDate, QString endDate,
                                   char sortType, int batchNo, int& requestId)
        = 0;

    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

public slots:
    void slot_myModel_numberPopulated(bool isFetchMore, int rowCount);
    void on_pushButton_historyordertradewid_request_clicked();
    void on_pushButton_historyordertradewid_export_clicked();
    void on_pushButton_historyordertradewid_loadall_clicked();
    void slot_InquiryHistoryFinished(int errorID, QString errorMsg, bool isLastBatch, int nRequestID);

protected:
    // Where the page's query stands. The label, Load all, sorting and what Export does follow
    // from it alone (view()); every change of it goes through enter().
    //
    // | Phase    | What the user sees                             | What moves it on               |
    // |----------|------------------------------------------------|--------------------------------|
    // | Ready    | no rows, the start text (click Query + title); | Query: Fetching, or Failed if  |
    // |          | Export writes the header without asking        | the request is refused; stays  |
    // |          |                                                | Ready after a pre-check box    |
    // | Fetching | no rows, "loading data"; Export asks first     | an answer: Fetching (the next  |
    // |          |                                                | batch at once), Partial or     |
    // |          |                                                | Complete; an error: Failed     |
    // | Partial  | rows, "scroll for more (n loaded)", Load all;  | scrolling, Load all, answers:  |
    // |          | a follow-up may be on its way; Export asks     | Partial or Complete; an error  |
    // |          |                                                | answer: Failed                 |
    // | Complete | every record of the query shown once, "all     | Query                          |
    // |          | loaded (n)", sorting on; Export writes at once |                                |
    // | Failed   | the rows that came, the error (title + query   | Query                          |
    // |          | error, or the local error number); Load all    |                                |
    // |          | while held rows are unshown; Export asks       |                                |
    // | Detached | no rows, why: the account is gone, or a newer  | nothing: Query and Export say  |
    // |          | page took the records over; sorting off        | why in a box                   |
    //
    // Query, the account's deletion and a newer page's take-over move any phase on. Facts beside
    // the phase: requestId (the awaited answer's id, -1 for none; never awaited outside Fetching
    // and Partial), isTotalLast (no further batch to ask for; always true outside Fetching and
    // Partial) and loadAllRequested (only in Fetching and Partial).
    enum class Phase { Ready,
                       Fetching,
                       Partial,
                       Complete,
                       Failed,
                       Detached };

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

    Phase phase = Phase::Ready;
    // Unlocks the Query button a second after a click.
    QTimer queryLock;

private:
    enum class ExportMode { Write,
                            Ask,
                            Refuse };
    struct View
    {
        QString tips;
        bool loadAll = false;
        bool sortable = false;
        ExportMode exportMode = ExportMode::Write;
    };
    View view() const;
    void showState();
    void enter(Phase next, const QString& text = QString());
    void settle();
    void detach(const QString& label, const QString& why);
    bool detachedAfterBox(const QPointer<HistoryRecordWid>& alive) const;
    int rowHeightForFont() const;

    void initTableView();
    void applyColumnSet();
    void rescaleFonts(int percent);
    void applySizes();
    bool checkServiceReady();
    int sendNextRequest();
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
    // Failed: the label's text; Detached: the label's text and what Query and Export say.
    QString endText;
    QString detachedWhy;
    // A follow-up asked for from inside the table's own handling goes out from the event loop.
    QTimer followUp;
};

} // namespace VEK_SC_Space
