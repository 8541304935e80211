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

struct HistoryOrderTraits
    : HistoryPageKinds<ZRVALUEADDPROAPI::CZRVDHistoryOrderEXField, ZRVALUEADDPROAPI::CZRVDCreditHistoryOrderEXField,
                       StockHistoryOrderTableHeader, CreditHistoryOrderTableHeader>
{
    static constexpr auto request = &UserData::ReqQryHistoryOrderEx;
    static constexpr auto finishedSignal = &UserData::signal_ZRVA_RspInquiryHistoryOrderFinished;
    static constexpr auto resultList = &UserData::getHistoryOrderList;
};

struct HistoryTradeTraits
    : HistoryPageKinds<ZRVALUEADDPROAPI::CZRVDHistoryTradeEXField, ZRVALUEADDPROAPI::CZRVDCreditHistoryTradeEXField,
                       StockHistoryTradeTableHeader, CreditHistoryTradeTableHeader>
{
    static constexpr auto request = &UserData::ReqQryHistoryTradeEx;
    static constexpr auto finishedSignal = &UserData::signal_ZRVA_RspInquiryHistoryTradeFinished;
    static constexpr auto resultList = &UserData::getHistoryTradeList;
};

struct HistoryDeliveryTraits
    : HistoryPageKinds<ZRVALUEADDPROAPI::CZRVDHistoryDeliveryField, ZRVALUEADDPROAPI::CZRVDCreditHistoryDeliveryField,
                       StockHistoryDeliveryTableHeader, CreditHistoryDeliveryTableHeader>
{
    static constexpr auto request = &UserData::ReqQryHistoryDelivery;
    static constexpr auto finishedSignal = &UserData::signal_ZRVA_RspInquiryHistoryDeliveryFinished;
    static constexpr auto resultList = &UserData::getHistoryDeliveryList;
};

struct HistoryCapitalTraits
    : HistoryPageKinds<ZRVALUEADDPROAPI::CZRVDHistoryCapitalField, ZRVALUEADDPROAPI::CZRVDCreditHistoryCapitalField,
                       StockHistoryCapitalTableHeader, CreditHistoryCapitalTableHeader>
{
    static constexpr auto request = &UserData::ReqQryHistoryCapital;
    static constexpr auto finishedSignal = &UserData::signal_ZRVA_RspInquiryHistoryCapitalFinished;
    static constexpr auto resultList = &UserData::getHistoryCapitalList;
};

struct HistoryFundDetailTraits
    : HistoryPageKinds<ZRVALUEADDPROAPI::CZRVDHistoryFundDetailField, ZRVALUEADDPROAPI::CZRVDCreditHistoryFundDetailField,
                       StockHistoryFundDetailTableHeader, CreditHistoryFundDetailTableHeader>
{
    static constexpr auto request = &UserData::ReqQryHistoryFundDetail;
    static constexpr auto finishedSignal = &UserData::signal_ZRVA_RspInquiryHistoryFundDetailFinished;
    static constexpr auto resultList = &UserData::getHistoryFundDetailList;
};

struct HistoryPositionTraits
    : HistoryPageKinds<ZRVALUEADDPROAPI::CZRVDHistoryHoldField, ZRVALUEADDPROAPI::CZRVDCreditHistoryHoldField,
                       StockHistoryPositionTableHeader, CreditHistoryPositionTableHeader>
{
    static constexpr auto request = &UserData::ReqQryHistoryPosition;
    static constexpr auto finishedSignal = &UserData::signal_ZRVA_RspInquiryHistoryHoldFinished;
    static constexpr auto resultList = &UserData::getHistoryHoldList;
};

struct HistoryProfitTraits
    : HistoryPageKinds<ZRVALUEADDPROAPI::CZRVDHisShareProfitField, ZRVALUEADDPROAPI::CZRVDCreditHisShareProfitField,
                       StockHistoryProfitTableHeader, CreditHistoryProfitTableHeader>
{
    static constexpr auto request = &UserData::ReqQryHistoryProfit;
    static constexpr auto finishedSignal = &UserData::signal_ZRVA_RspInquiryHisShareProfitFinished;
    static constexpr auto resultList = &UserData::getHisShareProfitList;
};

// Margin debts exist on credit accounts only. The one column set serves every account, and a
// stock account's debt list is left alone.
struct HistoryCreditDebtTraits
    : HistoryPageKinds<void, ZRVALUEADDPROAPI::CZRVDCreditHistoryDebtInfoField,
                       CreditHistoryCreditDebtTableHeader, CreditHistoryCreditDebtTableHeader>
{
    static constexpr auto request = &UserData::ReqQryHistoryCreditDebtInfo;
    static constexpr auto finishedSignal = &UserData::signal_ZRVA_RspQryCreditHistoryDebtInfoFinished;
    static constexpr auto resultList = &UserData::getCreditHistoryDebtInfoList;
};

} // namespace VEK_SC_Space
