#include "HistoryPositionTableHeader.h"

#include "ClientConstants.h"
#include "ColumnSetDefinitions.h"
#include "api/ZRVDHistoryFields.h"

namespace VEK_SC_Space {
namespace {

using namespace HistoryColumn;
using ZRVALUEADDPROAPI::CZRVDCreditHistoryHoldField;
using ZRVALUEADDPROAPI::CZRVDHistoryHoldField;

const ColumnSpec positionColumns[] = {
    {0, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "交易日"), 75, Centred, true},
    {1, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "证券代码"), 75, Right, true},
    {2, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "证券名称"), 100, Right, true},
    {3, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "持仓数量"), 75, Right, true},
    {4, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "持仓成本"), 75, Right, true},
    {5, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "持仓成本价"), 75, Right, true},
    {6, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "开仓成本价"), 75, Right, true},
    {7, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "累计盈亏"), 75, Right, true},
    {8, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "客户号"), 120, Right, true},
    {9, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "股东号"), 110, Right, true},
    {10, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "交易所"), 65, Right, true},
};

// Cost per share; a quantity below 1 has none, so the division never sees zero.
template <typename Cell, typename Record>
typename Cell::Result costPrice(const Record& r)
{
    if (r.HoldVolume >= 1)
        return Cell::price(r.HoldCost / double(r.HoldVolume));
    if constexpr (Cell::isDisplay)
        return QStringLiteral("-");
    else
        return Cell::none();
}

template <typename Record>
struct PositionColumns
{
    static constexpr auto& columns = positionColumns;

    template <typename Cell>
    static typename Cell::Result cell(int column, const std::any& record, UserData* userData)
    {
        return withRecord<Record>(record, [&](const Record& r) -> typename Cell::Result {
            switch (column) {
            case 0: return Cell::text(r.TradingDay);
            case 1: return Cell::text(r.SecurityID);
            case 2:
                // Sorting by name sorts by code: the raw value needs no lookup.
                if constexpr (Cell::isDisplay)
                    return Cell::securityNameByLetters(r.SecurityID, r.ExchangeCode, userData);
                else
                    return Cell::text(r.SecurityID);
            case 3: return Cell::count(r.HoldVolume);
            case 4: return Cell::price(r.HoldCost);
            case 5: return costPrice<Cell>(r);
            case 6: return Cell::price(r.OpenCostPrice);
            case 7: return Cell::amount(r.AccumulatedProfitLoss);
            case 8: return Cell::text(r.CustomerID);
            case 9: return Cell::text(r.ShareholderID);
            case 10: return Cell::text(r.ExchangeCode);
            default: return Cell::none();
            }
        });
    }
};

} // namespace

template <>
struct ColumnSetTraits<StockHistoryPositionTableHeader>
    : PositionColumns<CZRVDHistoryHoldField>, ColumnSetKey<TH_STOCK_HISTORY_POSITION>
{};
template <>
struct ColumnSetTraits<CreditHistoryPositionTableHeader>
    : PositionColumns<CZRVDCreditHistoryHoldField>, ColumnSetKey<TH_CREDIT_HISTORY_POSITION>
{};
template class ColumnSet<StockHistoryPositionTableHeader>;
template class ColumnSet<CreditHistoryPositionTableHeader>;

} // namespace VEK_SC_Space
