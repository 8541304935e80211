#pragma once

#include "../UserData.h"
#include "../api/ZRVDHistoryFields.h"

namespace VEK_SC_Space {

// The record type of each query kind, for a stock and for a credit account. The debt query has
// one record type only.
template <typename Stock, typename Credit>
struct RecordPair
{
    using StockRecord = Stock;
    using CreditRecord = Credit;
};

template <HistoryKind Kind>
struct RecordTypes;

template <>
struct RecordTypes<HistoryKind::Order>
    : RecordPair<ZRVALUEADDPROAPI::CZRVDHistoryOrderEXField, ZRVALUEADDPROAPI::CZRVDCreditHistoryOrderEXField>
{};
template <>
struct RecordTypes<HistoryKind::Trade>
    : RecordPair<ZRVALUEADDPROAPI::CZRVDHistoryTradeEXField, ZRVALUEADDPROAPI::CZRVDCreditHistoryTradeEXField>
{};
template <>
struct RecordTypes<HistoryKind::Delivery>
    : RecordPair<ZRVALUEADDPROAPI::CZRVDHistoryDeliveryField, ZRVALUEADDPROAPI::CZRVDCreditHistoryDeliveryField>
{};
template <>
struct RecordTypes<HistoryKind::Capital>
    : RecordPair<ZRVALUEADDPROAPI::CZRVDHistoryCapitalField, ZRVALUEADDPROAPI::CZRVDCreditHistoryCapitalField>
{};
template <>
struct RecordTypes<HistoryKind::FundDetail>
    : RecordPair<ZRVALUEADDPROAPI::CZRVDHistoryFundDetailField, ZRVALUEADDPROAPI::CZRVDCreditHistoryFundDetailField>
{};
template <>
struct RecordTypes<HistoryKind::Position>
    : RecordPair<ZRVALUEADDPROAPI::CZRVDHistoryHoldField, ZRVALUEADDPROAPI::CZRVDCreditHistoryHoldField>
{};
template <>
struct RecordTypes<HistoryKind::Profit>
    : RecordPair<ZRVALUEADDPROAPI::CZRVDHisShareProfitField, ZRVALUEADDPROAPI::CZRVDCreditHisShareProfitField>
{};
template <>
struct RecordTypes<HistoryKind::CreditDebt>
    : RecordPair<ZRVALUEADDPROAPI::CZRVDCreditHistoryDebtInfoField, ZRVALUEADDPROAPI::CZRVDCreditHistoryDebtInfoField>
{};

template <typename Record>
struct RecordTag
{
    using type = Record;
};

namespace detail {
template <HistoryKind Kind, typename F>
decltype(auto) withAccountRecord(int accountType, F&& f)
{
    using Types = RecordTypes<Kind>;
    if (accountType == 2)
        return f(RecordTag<typename Types::CreditRecord>());
    return f(RecordTag<typename Types::StockRecord>());
}
} // namespace detail

// Calls f(RecordTag<Record>()) with the record type that a list of this kind holds on an account
// of this type (2 credit, anything else stock). Every branch of f must return the same type.
template <typename F>
decltype(auto) withRecordType(HistoryKind kind, int accountType, F&& f)
{
    switch (kind) {
    case HistoryKind::Order: return detail::withAccountRecord<HistoryKind::Order>(accountType, f);
    case HistoryKind::Trade: return detail::withAccountRecord<HistoryKind::Trade>(accountType, f);
    case HistoryKind::Delivery: return detail::withAccountRecord<HistoryKind::Delivery>(accountType, f);
    case HistoryKind::Capital: return detail::withAccountRecord<HistoryKind::Capital>(accountType, f);
    case HistoryKind::FundDetail: return detail::withAccountRecord<HistoryKind::FundDetail>(accountType, f);
    case HistoryKind::Position: return detail::withAccountRecord<HistoryKind::Position>(accountType, f);
    case HistoryKind::Profit: return detail::withAccountRecord<HistoryKind::Profit>(accountType, f);
    case HistoryKind::CreditDebt: break;
    }
    return detail::withAccountRecord<HistoryKind::CreditDebt>(accountType, f);
}

} // namespace VEK_SC_Space
