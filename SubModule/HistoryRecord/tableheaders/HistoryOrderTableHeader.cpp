#include "HistoryOrderTableHeader.h"

#include "ClientConstants.h"
#include "ColumnSetDefinitions.h"
#include "api/ZRVDHistoryFields.h"

namespace VEK_SC_Space {
namespace {

using namespace HistoryColumn;
using ZRVALUEADDPROAPI::CZRVDCreditHistoryOrderEXField;
using ZRVALUEADDPROAPI::CZRVDHistoryOrderEXField;

const ColumnSpec orderColumns[] = {
    {0, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "委托日期"), 90, Centred, true},
    {1, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "委托时间"), 90, Centred, true},
    {2, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "证券代码"), 90, Centred, true},
    {3, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "证券名称"), 130, Centred, true},
    {4, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "买卖类别"), 75, Centred, true},
    {5, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "报单状态"), 100, Centred, true},
    {7, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "报单类型"), 100, Centred, true},
    {8, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "委托价格"), 65, Right, true},
    {9, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "委托数量"), 65, Right, true},
    {10, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "成交数量"), 65, Right, true},
    {11, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "成交金额"), 75, Right, true},
    {12, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "客户号"), 120, Centred, true},
    {13, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "股东号"), 110, Centred, true},
    {14, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "交易所"), 65, Centred, true},
    {6, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "状态信息"), 100, Centred, false},
};

// Where the two accounts' order sets differ beyond record layout and decoders.
struct StockOrder : StockCodes
{
    using Record = CZRVDHistoryOrderEXField;
    static constexpr bool rawTimeIsCut = true;
    static constexpr bool rawMessageIsConverted = true;
};

struct CreditOrder : CreditCodes
{
    using Record = CZRVDCreditHistoryOrderEXField;
    static constexpr bool rawTimeIsCut = false;
    static constexpr bool rawMessageIsConverted = false;
};

template <typename Variant>
struct OrderColumns
{
    static constexpr auto& columns = orderColumns;

    // One switch for both faces of a cell and both account kinds, so that the text and the
    // value of a column, and the stock and the credit set, cannot drift apart.
    template <typename Cell>
    static typename Cell::Result cell(int column, const std::any& value, UserData* userData)
    {
        using Record = typename Variant::Record;
        return withRecord<Record>(value, [&](const Record& order) -> typename Cell::Result {
            switch (column) {
            case 0:
                if constexpr (Cell::isDisplay)
                    return Cell::text(order.OrderDate);
                else
                    return rowCategory(Variant::directions, order.OrderStatus, order.Direction);
            case 1:
                if constexpr (Cell::isDisplay || Variant::rawTimeIsCut)
                    return Cell::timeCut(order.OrderTime);
                else
                    return Cell::text(order.OrderTime);
            case 2: return Cell::securityCode(order.SecurityID, order.ExchangeID, userData);
            case 3: return Cell::securityName(order.SecurityID, order.ExchangeID, userData);
            case 4: return Cell::code(order.Direction, &Variant::direction);
            case 5: return Cell::code(order.OrderStatus, &Variant::orderStatus);
            case 6:
                if constexpr (Cell::isDisplay || Variant::rawMessageIsConverted)
                    return Cell::message(order.StatusMsg);
                else
                    return Cell::text(order.StatusMsg);
            case 7:
                if constexpr (Cell::isDisplay)
                    return Cell::priceType(order.PriceType, order.PriceTypeAux1, order.PriceTypeAux2,
                                           &Variant::orderPriceType);
                else
                    return code(order.PriceType);
            case 8: return Cell::price(order.OrderPrice);
            case 9: return Cell::count(order.OrderVolume);
            case 10: return Cell::count(order.TradedVolume);
            case 11: return Cell::amount(order.TradedAmount);
            case 12: return Cell::text(order.CustomerID);
            case 13: return Cell::text(order.ShareholderID);
            case 14: return Cell::code(order.ExchangeID, &Variant::exchange);
            default: return Cell::none();
            }
        });
    }
};

} // namespace

template <>
struct ColumnSetTraits<StockHistoryOrderTableHeader>
    : OrderColumns<StockOrder>, ColumnSetKey<TH_STOCK_HISTORY_ORDER>
{};
template <>
struct ColumnSetTraits<CreditHistoryOrderTableHeader>
    : OrderColumns<CreditOrder>, ColumnSetKey<TH_CREDIT_HISTORY_ORDER>
{};
template class ColumnSet<StockHistoryOrderTableHeader>;
template class ColumnSet<CreditHistoryOrderTableHeader>;

} // namespace VEK_SC_Space
