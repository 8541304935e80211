#pragma once

// The fifteen column sets with their record types, so that the fuzz targets, the corpus
// replay test and the benchmarks can walk every set the same way.

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
    const char* name;               // the set's class name, also the corpus folder's name
    HistoryKind kind;
    int accountType;                // 1 stock, 2 credit
    std::size_t recordSize;
    TableHeader* (*create)();       // a new set; the caller owns it
    void* (*allocate)();            // a zeroed record of the exact type, `new`-allocated
    void (*release)(void* record);
    std::any (*wrap)(void* record); // the record as the page hands it over: a typed pointer
};

namespace CatalogDetail {

template <typename Set, typename Record>
ColumnSetEntry entry(const char* name, HistoryKind kind, int accountType)
{
    return {
        name,
        kind,
        accountType,
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
            "StockHistoryOrderTableHeader", HistoryKind::Order, 1),
        entry<CreditHistoryOrderTableHeader, CZRVDCreditHistoryOrderEXField>(
            "CreditHistoryOrderTableHeader", HistoryKind::Order, 2),
        entry<StockHistoryTradeTableHeader, CZRVDHistoryTradeEXField>(
            "StockHistoryTradeTableHeader", HistoryKind::Trade, 1),
        entry<CreditHistoryTradeTableHeader, CZRVDCreditHistoryTradeEXField>(
            "CreditHistoryTradeTableHeader", HistoryKind::Trade, 2),
        entry<StockHistoryDeliveryTableHeader, CZRVDHistoryDeliveryField>(
            "StockHistoryDeliveryTableHeader", HistoryKind::Delivery, 1),
        entry<CreditHistoryDeliveryTableHeader, CZRVDCreditHistoryDeliveryField>(
            "CreditHistoryDeliveryTableHeader", HistoryKind::Delivery, 2),
        entry<CreditHistoryCreditDebtTableHeader, CZRVDCreditHistoryDebtInfoField>(
            "CreditHistoryCreditDebtTableHeader", HistoryKind::CreditDebt, 2),
        entry<StockHistoryCapitalTableHeader, CZRVDHistoryCapitalField>(
            "StockHistoryCapitalTableHeader", HistoryKind::Capital, 1),
        entry<CreditHistoryCapitalTableHeader, CZRVDCreditHistoryCapitalField>(
            "CreditHistoryCapitalTableHeader", HistoryKind::Capital, 2),
        entry<StockHistoryFundDetailTableHeader, CZRVDHistoryFundDetailField>(
            "StockHistoryFundDetailTableHeader", HistoryKind::FundDetail, 1),
        entry<CreditHistoryFundDetailTableHeader, CZRVDCreditHistoryFundDetailField>(
            "CreditHistoryFundDetailTableHeader", HistoryKind::FundDetail, 2),
        entry<StockHistoryPositionTableHeader, CZRVDHistoryHoldField>(
            "StockHistoryPositionTableHeader", HistoryKind::Position, 1),
        entry<CreditHistoryPositionTableHeader, CZRVDCreditHistoryHoldField>(
            "CreditHistoryPositionTableHeader", HistoryKind::Position, 2),
        entry<StockHistoryProfitTableHeader, CZRVDHisShareProfitField>(
            "StockHistoryProfitTableHeader", HistoryKind::Profit, 1),
        entry<CreditHistoryProfitTableHeader, CZRVDCreditHisShareProfitField>(
            "CreditHistoryProfitTableHeader", HistoryKind::Profit, 2),
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
