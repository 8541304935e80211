#pragma once

#include "VE_Base_global.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVector>

namespace VEK_SC_Space {

class ValueAddedService;

// The eight history queries of the value-added service, in the order of the result lists.
enum class HistoryKind {
    Order,
    Trade,
    Delivery,
    Capital,
    FundDetail,
    Position,
    Profit,
    CreditDebt,
};
constexpr int HistoryKindCount = 8;

// One trading account: its flags, its request channel to the value-added history service and
// the result lists that the answers fill. The lists hold records allocated with `new` of their
// exact type (stock records on a stock account, credit records on a credit account); whoever
// shows them frees them. The lists are only touched on the thread that owns this object.
class VE_BASE_EXPORT UserData : public QObject
{
    Q_OBJECT

public:
    explicit UserData(int accountType, QObject* parent = nullptr);
    ~UserData() override; // frees the records still held in the result lists

    int accountType; // 1 stock, 2 credit
    bool zrvaConnected = false;
    bool zrvaLoggedIn = false;

    QString getDefaultInvestorID() const;
    void setDefaultInvestorID(const QString& id);

    // True from a request's send until its answer has been delivered; already false when the
    // finished-signal is emitted, so the receiver may send the next batch from its slot.
    bool getIsZRVAReqing() const;

    // Not owning; null: requests are accepted, never answered. Attaching copies the service's
    // connection and login state into the two flags; detaching drops an outstanding request.
    void setService(ValueAddedService* service);
    ValueAddedService* service() const;
    int lastRequestId() const; // id written by the latest ReqQry... call

    // History requests. Dates "yyyyMMdd", sortType '2' newest first or '1' oldest first,
    // batchNo from 1. Return 0 and write a fresh id into requestId, or a negative local error
    // number (see LocalError) and send nothing.
    int ReqQryHistoryOrderEx(QString investorId, QString beginDate, QString endDate, char sortType, int batchNo, int& requestId);
    int ReqQryHistoryTradeEx(QString investorId, QString beginDate, QString endDate, char sortType, int batchNo, int& requestId);
    int ReqQryHistoryDelivery(QString investorId, QString beginDate, QString endDate, char sortType, int batchNo, int& requestId);
    int ReqQryHistoryCapital(QString investorId, QString beginDate, QString endDate, char sortType, int batchNo, int& requestId);
    int ReqQryHistoryFundDetail(QString investorId, QString beginDate, QString endDate, char sortType, int batchNo, int& requestId);
    int ReqQryHistoryPosition(QString investorId, QString beginDate, QString endDate, char sortType, int batchNo, int& requestId);
    int ReqQryHistoryProfit(QString investorId, QString beginDate, QString endDate, char sortType, int batchNo, int& requestId);
    int ReqQryHistoryCreditDebtInfo(QString investorId, QString beginDate, QString endDate, char sortType, int batchNo, int& requestId);

    enum LocalError {
        ErrorBadInvestorId = -1,
        ErrorBadBeginDate = -2,
        ErrorBadEndDate = -3,
        ErrorBadSortType = -4,
        ErrorBadBatchNo = -5,
        ErrorNotConnected = -6,
        ErrorNotLoggedIn = -7,
        ErrorBusy = -8,
    };

    // Result lists, one per query kind; only the page that shows them empties them.
    virtual QVector<void*>& getHistoryOrderList();
    virtual QVector<void*>& getHistoryTradeList();
    virtual QVector<void*>& getHistoryDeliveryList();
    virtual QVector<void*>& getHistoryCapitalList();
    virtual QVector<void*>& getHistoryFundDetailList();
    virtual QVector<void*>& getHistoryHoldList();
    virtual QVector<void*>& getHisShareProfitList();
    virtual QVector<void*>& getCreditHistoryDebtInfoList();

    QVector<void*>& resultList(HistoryKind kind);

    // Security lookups in the built-in securities table. Unknown: the code itself, an empty name.
    QString Translate2SecurityName(char* code, char exchange);
    QString GetDisplaySecurityID(QString code, char exchange);

    // How often the lookups above ran; tests use them to prove that a lookup did not happen.
    int translateNameCalls = 0;
    int displaySecurityIdCalls = 0;

    // Called on this object's thread by the service: appends the batch, clears the busy flag,
    // then emits the kind's finished-signal. Takes ownership of the records.
    void deliverAnswer(HistoryKind kind, int requestId, const QVector<void*>& batch,
                       int errorId, const QString& errorMsg, bool isTotalLast);

    static void deleteRecord(HistoryKind kind, int accountType, void* record);

    // The request and the finished-signal of each kind, for code that treats the kinds alike.
    using RequestFunction = int (UserData::*)(QString, QString, QString, char, int, int&);
    using FinishedSignal = void (UserData::*)(int, QString, bool, int);
    static RequestFunction requestFunction(HistoryKind kind);
    static FinishedSignal finishedSignal(HistoryKind kind);

signals:
    void signal_ZRVA_RspInquiryHistoryOrderFinished(int errorID, QString errorMsg, bool isTotalLast, int nRequestID);
    void signal_ZRVA_RspInquiryHistoryTradeFinished(int errorID, QString errorMsg, bool isTotalLast, int nRequestID);
    void signal_ZRVA_RspInquiryHistoryDeliveryFinished(int errorID, QString errorMsg, bool isTotalLast, int nRequestID);
    void signal_ZRVA_RspInquiryHistoryCapitalFinished(int errorID, QString errorMsg, bool isTotalLast, int nRequestID);
    void signal_ZRVA_RspInquiryHistoryFundDetailFinished(int errorID, QString errorMsg, bool isTotalLast, int nRequestID);
    void signal_ZRVA_RspInquiryHistoryHoldFinished(int errorID, QString errorMsg, bool isTotalLast, int nRequestID);
    void signal_ZRVA_RspInquiryHisShareProfitFinished(int errorID, QString errorMsg, bool isTotalLast, int nRequestID);
    void signal_ZRVA_RspQryCreditHistoryDebtInfoFinished(int errorID, QString errorMsg, bool isTotalLast, int nRequestID);

private:
    int sendRequest(HistoryKind kind, const QString& investorId, const QString& beginDate,
                    const QString& endDate, char sortType, int batchNo, int& requestId);

    QString defaultInvestorId;
    QPointer<ValueAddedService> valueAddedService;
    QVector<void*> lists[HistoryKindCount];
    int pendingRequestId = 0; // 0: none outstanding
    int latestRequestId = 0;
};

} // namespace VEK_SC_Space
