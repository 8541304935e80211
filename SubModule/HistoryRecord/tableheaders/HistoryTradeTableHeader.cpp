#include "HistoryTradeTableHeader.h"

#include "ClientConstants.h"
#include "ColumnSetDefinitions.h"
#include "api/ZRVDHistoryFields.h"

namespace VEK_SC_Space {
namespace {

using namespace HistoryColumn;
using ZRVALUEADDPROAPI::CZRVDCreditHistoryTradeEXField;
using ZRVALUEADDPROAPI::CZRVDHistoryTradeEXField;

const ColumnSpec tradeColumns[] = {
    {0, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "成交日期"), 90, Centred, true},
    {1, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "成交时间"), 90, Centred, true},
    {2, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "证券代码"), 90, Centred, true},
    {3, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "证券名称"), 130, Centred, true},
    {4, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "买卖类别"), 75, Centred, true},
    {5, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "成交价格"), 65, Right, true},
    {6, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "成交数量"), 65, Right, true},
    {8, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "成交编号"), 140, Right, true},
    {9, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "客户号"), 120, Centred, true},
    {10, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "股东号"), 110, Centred, true},
    {11, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "交易所"), 65, Centred, true},
    {7, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "实收佣金"), 75, Right, false},
};

// One switch for both faces of a cell and both account kinds. The stock and credit trade sets
// differ only in record layout (the commission's offset), the decoders and the category-3
// directions.
template <typename Codes, typename Record>
struct TradeColumns
{
    static constexpr auto& columns = tradeColumns;

    template <typename Cell>
    static typename Cell::Result cell(int column, const std::any& value, UserData* userData)
    {
        return withRecord<Record>(value, [&](const Record& trade) -> typename Cell::Result {
            switch (column) {
            case 0:
                if constexpr (Cell::isDisplay)
                    return Cell::text(trade.TradeDate);
                else
                    return rowCategory(Codes::directions, trade.Direction);
            case 1: return Cell::text(trade.TradeTime);
            case 2: return Cell::securityCode(trade.SecurityID, trade.ExchangeID, userData);
            case 3: return Cell::securityName(trade.SecurityID, trade.ExchangeID, userData);
            case 4: return Cell::code(trade.Direction, &Codes::direction);
            case 5: return Cell::price(trade.TradePrice);
            case 6: return Cell::count(trade.TradeVolume);
            case 7: return Cell::amount(trade.Commission);
            case 8: return Cell::text(trade.TradeID);
            case 9: return Cell::text(trade.CustomerID);
            case 10: return Cell::text(trade.ShareholderID);
            case 11: return Cell::code(trade.ExchangeID, &Codes::exchange);
            default: return Cell::none();
            }
        });
    }
};

} // namespace

template <>
struct ColumnSetTraits<StockHistoryTradeTableHeader>
    : TradeColumns<StockCodes, CZRVDHistoryTradeEXField>, ColumnSetKey<TH_STOCK_HISTORY_TRADE>
{};
template <>
struct ColumnSetTraits<CreditHistoryTradeTableHeader>
    : TradeColumns<CreditCodes, CZRVDCreditHistoryTradeEXField>, ColumnSetKey<TH_CREDIT_HISTORY_TRADE>
{};
template class ColumnSet<StockHistoryTradeTableHeader>;
template class ColumnSet<CreditHistoryTradeTableHeader>;

} // namespace VEK_SC_Space
