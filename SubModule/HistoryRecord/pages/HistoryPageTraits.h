#pragma once

#include "HistoryCapitalTableHeader.h"
#include "HistoryCreditDebtTableHeader.h"
#include "HistoryDeliveryTableHeader.h"
#include "HistoryFundDetailTableHeader.h"
#include "HistoryOrderTableHeader.h"
#include "HistoryPositionTableHeader.h"
#include "HistoryProfitTableHeader.h"
#include "HistoryTradeTableHeader.h"
#include "UserData.h"
#include "api/ZRVDHistoryFields.h"

namespace VEK_SC_Space {

// What binds a page to one history query: the record type and column set of each account kind,
// the request that starts the query, the signal that answers it and the list its records fill.
// A record type of void means the page never reads nor frees that account kind's list.
template <typename StockRecordT, typename CreditRecordT, typename StockColumnsT, typename CreditColumnsT>
struct HistoryPageKinds
{
    using StockRecord = StockRecordT;
    using CreditRecord = CreditRecordT;
    using StockColumns = StockColumnsT;
    using CreditColumns = CreditColumnsT;
};

// The request, its answer signal and its result list of one query, as static functions rather
// than constant pointers to UserData's members: on Windows those members are imported from the
// base library's DLL, and the address of an imported function is no constant expression (clang
// rejects it, MSVC takes it only as an extension). The functions inline to the direct calls.
#define HISTORY_PAGE_QUERY(requestFunction, signalFunction, listFunction)                               \
    static int request(UserData* userData, const QString& investorId, const QString& beginDate,         \
                       const QString& endDate, char sortType, int batchNo, int& requestId)              \
    {                                                                                                   \
        return userData->requestFunction(investorId, beginDate, endDate, sortType, batchNo, requestId); \
    }                                                                                                   \
    static auto finishedSignal()                                                                        \
    {                                                                                                   \
        return &UserData::signalFunction;                                                               \
    }                                                                                                   \
    static QVector<void*>& resultList(UserData* userData)                                               \
    {                                                                                                   \
        return userData->listFunction();                                                                \
    }

struct HistoryOrderTraits
    : HistoryPageKinds<ZRVALUEADDPROAPI::CZRVDHistoryOrderEXField, ZRVALUEADDPROAPI::CZRVDCreditHistoryOrderEXField,
                       StockHistoryOrderTableHeader, CreditHistoryOrderTableHeader>
{
    HISTORY_PAGE_QUERY(ReqQryHistoryOrderEx, signal_ZRVA_RspInquiryHistoryOrderFinished, getHistoryOrderList)
};

struct HistoryTradeTraits
    : HistoryPageKinds<ZRVALUEADDPROAPI::CZRVDHistoryTradeEXField, ZRVALUEADDPROAPI::CZRVDCreditHistoryTradeEXField,
                       StockHistoryTradeTableHeader, CreditHistoryTradeTableHeader>
{
    HISTORY_PAGE_QUERY(ReqQryHistoryTradeEx, signal_ZRVA_RspInquiryHistoryTradeFinished, getHistoryTradeList)
};

struct HistoryDeliveryTraits
    : HistoryPageKinds<ZRVALUEADDPROAPI::CZRVDHistoryDeliveryField, ZRVALUEADDPROAPI::CZRVDCreditHistoryDeliveryField,
                       StockHistoryDeliveryTableHeader, CreditHistoryDeliveryTableHeader>
{
    HISTORY_PAGE_QUERY(ReqQryHistoryDelivery, signal_ZRVA_RspInquiryHistoryDeliveryFinished, getHistoryDeliveryList)
};

struct HistoryCapitalTraits
    : HistoryPageKinds<ZRVALUEADDPROAPI::CZRVDHistoryCapitalField, ZRVALUEADDPROAPI::CZRVDCreditHistoryCapitalField,
                       StockHistoryCapitalTableHeader, CreditHistoryCapitalTableHeader>
{
    HISTORY_PAGE_QUERY(ReqQryHistoryCapital, signal_ZRVA_RspInquiryHistoryCapitalFinished, getHistoryCapitalList)
};

struct HistoryFundDetailTraits
    : HistoryPageKinds<ZRVALUEADDPROAPI::CZRVDHistoryFundDetailField, ZRVALUEADDPROAPI::CZRVDCreditHistoryFundDetailField,
                       StockHistoryFundDetailTableHeader, CreditHistoryFundDetailTableHeader>
{
    HISTORY_PAGE_QUERY(ReqQryHistoryFundDetail, signal_ZRVA_RspInquiryHistoryFundDetailFinished, getHistoryFundDetailList)
};

struct HistoryPositionTraits
    : HistoryPageKinds<ZRVALUEADDPROAPI::CZRVDHistoryHoldField, ZRVALUEADDPROAPI::CZRVDCreditHistoryHoldField,
                       StockHistoryPositionTableHeader, CreditHistoryPositionTableHeader>
{
    HISTORY_PAGE_QUERY(ReqQryHistoryPosition, signal_ZRVA_RspInquiryHistoryHoldFinished, getHistoryHoldList)
};

struct HistoryProfitTraits
    : HistoryPageKinds<ZRVALUEADDPROAPI::CZRVDHisShareProfitField, ZRVALUEADDPROAPI::CZRVDCreditHisShareProfitField,
                       StockHistoryProfitTableHeader, CreditHistoryProfitTableHeader>
{
    HISTORY_PAGE_QUERY(ReqQryHistoryProfit, signal_ZRVA_RspInquiryHisShareProfitFinished, getHisShareProfitList)
};

// Margin debts exist on credit accounts only. The one column set serves every account, and a
// stock account's debt list is left alone.
struct HistoryCreditDebtTraits
    : HistoryPageKinds<void, ZRVALUEADDPROAPI::CZRVDCreditHistoryDebtInfoField,
                       CreditHistoryCreditDebtTableHeader, CreditHistoryCreditDebtTableHeader>
{
    HISTORY_PAGE_QUERY(ReqQryHistoryCreditDebtInfo, signal_ZRVA_RspQryCreditHistoryDebtInfoFinished, getCreditHistoryDebtInfoList)
};

#undef HISTORY_PAGE_QUERY

} // namespace VEK_SC_Space
