#include "UserData.h"

#include "SecurityTable.h"
#include "UserDataManager.h"
#include "service/RecordTypes.h"
#include "service/ValueAddedService.h"

#include <QAtomicInt>
#include <QDate>

namespace VEK_SC_Space {

namespace {

// Ids are unique across accounts, so an answer can never be taken for another account's.
QAtomicInt lastIssuedRequestId;

QDate parseRequestDate(const QString& text)
{
    if (text.size() != 8)
        return QDate();
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return QDate();
    }
    return QDate::fromString(text, QStringLiteral("yyyyMMdd"));
}

} // namespace

UserData::UserData(int type, QObject* parent)
    : QObject(parent)
    , accountType(type)
{
}

UserData::~UserData()
{
    if (valueAddedService)
        valueAddedService->detach(this);
    for (int kind = 0; kind < HistoryKindCount; ++kind) {
        for (void* record : qAsConst(lists[kind]))
            deleteRecord(HistoryKind(kind), accountType, record);
    }
    auto& accounts = UserDataManager::instance()->userDataMap();
    for (auto it = accounts.begin(); it != accounts.end();) {
        if (it.value() == this)
            it = accounts.erase(it);
        else
            ++it;
    }
}

QString UserData::getDefaultInvestorID() const
{
    return defaultInvestorId;
}

void UserData::setDefaultInvestorID(const QString& id)
{
    defaultInvestorId = id;
}

bool UserData::getIsZRVAReqing() const
{
    return pendingRequestId != 0 || (valueAddedService && valueAddedService->isBusy());
}

void UserData::setService(ValueAddedService* service)
{
    if (valueAddedService == service)
        return;
    if (valueAddedService)
        valueAddedService->detach(this);
    pendingRequestId = 0;
    valueAddedService = service;
    if (service)
        service->attach(this);
}

ValueAddedService* UserData::service() const
{
    return valueAddedService;
}

int UserData::lastRequestId() const
{
    return latestRequestId;
}

int UserData::ReqQryHistoryOrderEx(QString investorId, QString beginDate, QString endDate, char sortType, int batchNo, int& requestId)
{
    return sendRequest(HistoryKind::Order, investorId, beginDate, endDate, sortType, batchNo, requestId);
}

int UserData::ReqQryHistoryTradeEx(QString investorId, QString beginDate, QString endDate, char sortType, int batchNo, int& requestId)
{
    return sendRequest(HistoryKind::Trade, investorId, beginDate, endDate, sortType, batchNo, requestId);
}

int UserData::ReqQryHistoryDelivery(QString investorId, QString beginDate, QString endDate, char sortType, int batchNo, int& requestId)
{
    return sendRequest(HistoryKind::Delivery, investorId, beginDate, endDate, sortType, batchNo, requestId);
}

int UserData::ReqQryHistoryCapital(QString investorId, QString beginDate, QString endDate, char sortType, int batchNo, int& requestId)
{
    return sendRequest(HistoryKind::Capital, investorId, beginDate, endDate, sortType, batchNo, requestId);
}

int UserData::ReqQryHistoryFundDetail(QString investorId, QString beginDate, QString endDate, char sortType, int batchNo, int& requestId)
{
    return sendRequest(HistoryKind::FundDetail, investorId, beginDate, endDate, sortType, batchNo, requestId);
}

int UserData::ReqQryHistoryPosition(QString investorId, QString beginDate, QString endDate, char sortType, int batchNo, int& requestId)
{
    return sendRequest(HistoryKind::Position, investorId, beginDate, endDate, sortType, batchNo, requestId);
}

int UserData::ReqQryHistoryProfit(QString investorId, QString beginDate, QString endDate, char sortType, int batchNo, int& requestId)
{
    return sendRequest(HistoryKind::Profit, investorId, beginDate, endDate, sortType, batchNo, requestId);
}

int UserData::ReqQryHistoryCreditDebtInfo(QString investorId, QString beginDate, QString endDate, char sortType, int batchNo, int& requestId)
{
    return sendRequest(HistoryKind::CreditDebt, investorId, beginDate, endDate, sortType, batchNo, requestId);
}

int UserData::sendRequest(HistoryKind kind, const QString& investorId, const QString& beginDate,
                          const QString& endDate, char sortType, int batchNo, int& requestId)
{
    if (investorId.trimmed().isEmpty())
        return ErrorBadInvestorId;
    const QDate begin = parseRequestDate(beginDate);
    if (!begin.isValid())
        return ErrorBadBeginDate;
    const QDate end = parseRequestDate(endDate);
    if (!end.isValid())
        return ErrorBadEndDate;
    if (sortType != '1' && sortType != '2')
        return ErrorBadSortType;
    if (batchNo < 1)
        return ErrorBadBatchNo;
    if (valueAddedService) {
        if (!zrvaConnected)
            return ErrorNotConnected;
        if (!zrvaLoggedIn)
            return ErrorNotLoggedIn;
        if (getIsZRVAReqing())
            return ErrorBusy;
    }

    requestId = lastIssuedRequestId.fetchAndAddRelaxed(1) + 1;
    latestRequestId = requestId;
    if (!valueAddedService)
        return 0;

    pendingRequestId = requestId;
    HistoryQuery query;
    query.kind = kind;
    query.accountType = accountType;
    query.investorId = investorId;
    query.beginDate = begin;
    query.endDate = end;
    query.sortType = sortType;
    query.batchNo = batchNo;
    query.requestId = requestId;
    valueAddedService->submit(this, query);
    return 0;
}

QVector<void*>& UserData::getHistoryOrderList()
{
    return lists[int(HistoryKind::Order)];
}

QVector<void*>& UserData::getHistoryTradeList()
{
    return lists[int(HistoryKind::Trade)];
}

QVector<void*>& UserData::getHistoryDeliveryList()
{
    return lists[int(HistoryKind::Delivery)];
}

QVector<void*>& UserData::getHistoryCapitalList()
{
    return lists[int(HistoryKind::Capital)];
}

QVector<void*>& UserData::getHistoryFundDetailList()
{
    return lists[int(HistoryKind::FundDetail)];
}

QVector<void*>& UserData::getHistoryHoldList()
{
    return lists[int(HistoryKind::Position)];
}

QVector<void*>& UserData::getHisShareProfitList()
{
    return lists[int(HistoryKind::Profit)];
}

QVector<void*>& UserData::getCreditHistoryDebtInfoList()
{
    return lists[int(HistoryKind::CreditDebt)];
}

QVector<void*>& UserData::resultList(HistoryKind kind)
{
    return lists[int(kind)];
}

QString UserData::Translate2SecurityName(char* code, char exchange)
{
    ++translateNameCalls;
    if (!code)
        return QString();
    const SecurityInfo* security = SecurityTable::find(QByteArray(code), exchange);
    return security ? QString::fromUtf8(security->name) : QString();
}

QString UserData::GetDisplaySecurityID(QString code, char exchange)
{
    ++displaySecurityIdCalls;
    const SecurityInfo* security = SecurityTable::find(code.toUtf8(), exchange);
    return security ? QString::fromLatin1(security->code) : code;
}

void UserData::deliverAnswer(HistoryKind kind, int requestId, const QVector<void*>& batch,
                             int errorId, const QString& errorMsg, bool isTotalLast)
{
    lists[int(kind)] += batch;
    if (requestId == pendingRequestId)
        pendingRequestId = 0;

    emit(this->*finishedSignal(kind))(errorId, errorMsg, isTotalLast, requestId);
}

UserData::RequestFunction UserData::requestFunction(HistoryKind kind)
{
    static const RequestFunction requests[HistoryKindCount] = {
        &UserData::ReqQryHistoryOrderEx,
        &UserData::ReqQryHistoryTradeEx,
        &UserData::ReqQryHistoryDelivery,
        &UserData::ReqQryHistoryCapital,
        &UserData::ReqQryHistoryFundDetail,
        &UserData::ReqQryHistoryPosition,
        &UserData::ReqQryHistoryProfit,
        &UserData::ReqQryHistoryCreditDebtInfo,
    };
    return requests[int(kind)];
}

UserData::FinishedSignal UserData::finishedSignal(HistoryKind kind)
{
    static const FinishedSignal finishedSignals[HistoryKindCount] = {
        &UserData::signal_ZRVA_RspInquiryHistoryOrderFinished,
        &UserData::signal_ZRVA_RspInquiryHistoryTradeFinished,
        &UserData::signal_ZRVA_RspInquiryHistoryDeliveryFinished,
        &UserData::signal_ZRVA_RspInquiryHistoryCapitalFinished,
        &UserData::signal_ZRVA_RspInquiryHistoryFundDetailFinished,
        &UserData::signal_ZRVA_RspInquiryHistoryHoldFinished,
        &UserData::signal_ZRVA_RspInquiryHisShareProfitFinished,
        &UserData::signal_ZRVA_RspQryCreditHistoryDebtInfoFinished,
    };
    return finishedSignals[int(kind)];
}

void UserData::deleteRecord(HistoryKind kind, int accountType, void* record)
{
    withRecordType(kind, accountType, [record](auto tag) {
        delete static_cast<typename decltype(tag)::type*>(record);
    });
}

} // namespace VEK_SC_Space
