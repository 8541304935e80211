#pragma once

// The fifteen column sets with their record types, so that the fuzz targets, the corpus
// replay test and the benchmarks can walk every set the same way.

#include "ClientConstants.h"
#include "HistoryCapitalTableHeader.h"
#include "HistoryCreditDebtTableHeader.h"
#include "HistoryDeliveryTableHeader.h"
#include "HistoryFundDetailTableHeader.h"
#include "HistoryOrderTableHeader.h"
#include "HistoryPositionTableHeader.h"
#include "HistoryProfitTableHeader.h"
#include "HistoryTradeTableHeader.h"
#include "TableHeader.h"
#include "UserData.h"
#include "api/ZRVDHistoryFields.h"

#include <any>
#include <cstddef>
#include <cstring>
#include <memory>

namespace VEK_SC_Space {

struct ColumnSetEntry
{
    const char* name; // the set's class name, also the corpus folder's name
    HistoryKind kind;
    int accountType; // as UserData::accountType holds the AccountKind
    std::size_t recordSize;
    TableHeader* (*create)(); // a new set; the caller owns it
    void* (*allocate)();      // a zeroed record of the exact type, `new`-allocated
    void (*release)(void* record);
    std::any (*wrap)(void* record); // the record as the page hands it over: a typed pointer
};

namespace CatalogDetail {

template <typename Set, typename Record>
ColumnSetEntry entry(const char* name, HistoryKind kind, AccountKind accountType)
{
    return {
        name,
        kind,
        int(accountType),
        sizeof(Record),
        []() -> TableHeader* { return new Set; },
        []() -> void* { return new Record{}; },
        [](void* record) { delete static_cast<Record*>(record); },
        [](void* record) { return std::any(static_cast<Record*>(record)); },
    };
}

} // namespace CatalogDetail

inline const ColumnSetEntry* columnSetCatalog()
{
    using namespace ZRVALUEADDPROAPI;
    using CatalogDetail::entry;
    static const ColumnSetEntry sets[] = {
        entry<StockHistoryOrderTableHeader, CZRVDHistoryOrderEXField>(
            "StockHistoryOrderTableHeader", HistoryKind::Order, AccountKind::Stock),
        entry<CreditHistoryOrderTableHeader, CZRVDCreditHistoryOrderEXField>(
            "CreditHistoryOrderTableHeader", HistoryKind::Order, AccountKind::Credit),
        entry<StockHistoryTradeTableHeader, CZRVDHistoryTradeEXField>(
            "StockHistoryTradeTableHeader", HistoryKind::Trade, AccountKind::Stock),
        entry<CreditHistoryTradeTableHeader, CZRVDCreditHistoryTradeEXField>(
            "CreditHistoryTradeTableHeader", HistoryKind::Trade, AccountKind::Credit),
        entry<StockHistoryDeliveryTableHeader, CZRVDHistoryDeliveryField>(
            "StockHistoryDeliveryTableHeader", HistoryKind::Delivery, AccountKind::Stock),
        entry<CreditHistoryDeliveryTableHeader, CZRVDCreditHistoryDeliveryField>(
            "CreditHistoryDeliveryTableHeader", HistoryKind::Delivery, AccountKind::Credit),
        entry<CreditHistoryCreditDebtTableHeader, CZRVDCreditHistoryDebtInfoField>(
            "CreditHistoryCreditDebtTableHeader", HistoryKind::CreditDebt, AccountKind::Credit),
        entry<StockHistoryCapitalTableHeader, CZRVDHistoryCapitalField>(
            "StockHistoryCapitalTableHeader", HistoryKind::Capital, AccountKind::Stock),
        entry<CreditHistoryCapitalTableHeader, CZRVDCreditHistoryCapitalField>(
            "CreditHistoryCapitalTableHeader", HistoryKind::Capital, AccountKind::Credit),
        entry<StockHistoryFundDetailTableHeader, CZRVDHistoryFundDetailField>(
            "StockHistoryFundDetailTableHeader", HistoryKind::FundDetail, AccountKind::Stock),
        entry<CreditHistoryFundDetailTableHeader, CZRVDCreditHistoryFundDetailField>(
            "CreditHistoryFundDetailTableHeader", HistoryKind::FundDetail, AccountKind::Credit),
        entry<StockHistoryPositionTableHeader, CZRVDHistoryHoldField>(
            "StockHistoryPositionTableHeader", HistoryKind::Position, AccountKind::Stock),
        entry<CreditHistoryPositionTableHeader, CZRVDCreditHistoryHoldField>(
            "CreditHistoryPositionTableHeader", HistoryKind::Position, AccountKind::Credit),
        entry<StockHistoryProfitTableHeader, CZRVDHisShareProfitField>(
            "StockHistoryProfitTableHeader", HistoryKind::Profit, AccountKind::Stock),
        entry<CreditHistoryProfitTableHeader, CZRVDCreditHisShareProfitField>(
            "CreditHistoryProfitTableHeader", HistoryKind::Profit, AccountKind::Credit),
    };
    return sets;
}

constexpr int ColumnSetCount = 15;

inline const ColumnSetEntry* findColumnSet(const char* name)
{
    for (int i = 0; i < ColumnSetCount; ++i) {
        if (std::strcmp(columnSetCatalog()[i].name, name) == 0)
            return &columnSetCatalog()[i];
    }
    return nullptr;
}

} // namespace VEK_SC_Space
