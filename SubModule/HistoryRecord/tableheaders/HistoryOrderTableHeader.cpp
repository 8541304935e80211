#include "HistoryOrderTableHeader.h"

#include "ClientConstants.h"
#include "api/ZRVDHistoryFields.h"

namespace VEK_SC_Space {
namespace {

using namespace HistoryColumn;

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
    static constexpr bool rawTimeIsCut = true;
    static constexpr bool rawMessageIsConverted = true;
};

struct CreditOrder : CreditCodes
{
    static constexpr bool rawTimeIsCut = false;
    static constexpr bool rawMessageIsConverted = false;
};

template <typename Record, typename Variant>
struct OrderColumns
{
    static QString displayText(int column, const std::any& value, UserData* userData)
    {
        return withRecord<Record>(value, [&](const Record& order) { return cellText(column, order, userData); });
    }

    static QVariant rawValue(int column, const std::any& value, UserData* userData)
    {
        return withRecord<Record>(value, [&](const Record& order) { return cellValue(column, order, userData); });
    }

private:
    static QString cellText(int column, const Record& order, UserData* userData)
    {
        switch (column) {
        case 0: return text(order.OrderDate);
        case 1: return timeCut(order.OrderTime);
        case 2: return securityCode(order.SecurityID, order.ExchangeID, userData);
        case 3: return securityName(order.SecurityID, order.ExchangeID, userData);
        case 4: return Variant::direction(order.Direction);
        case 5: return Variant::orderStatus(order.OrderStatus);
        case 6: return message(order.StatusMsg);
        case 7: return Variant::orderPriceType(order.PriceType, order.PriceTypeAux1, order.PriceTypeAux2);
        case 8: return price(order.OrderPrice);
        case 9: return count(order.OrderVolume);
        case 10: return count(order.TradedVolume);
        case 11: return amount(order.TradedAmount);
        case 12: return text(order.CustomerID);
        case 13: return text(order.ShareholderID);
        case 14: return Variant::exchange(order.ExchangeID);
        default: return QString();
        }
    }

    static QVariant cellValue(int column, const Record& order, UserData* userData)
    {
        switch (column) {
        case 0: return rowCategory(Variant::directions, order.OrderStatus, order.Direction);
        case 1:
            if constexpr (Variant::rawTimeIsCut)
                return timeCut(order.OrderTime);
            else
                return text(order.OrderTime);
        case 2:
        case 3:
        case 12:
        case 13: return cellText(column, order, userData);
        case 4: return code(order.Direction);
        case 5: return code(order.OrderStatus);
        case 6:
            if constexpr (Variant::rawMessageIsConverted)
                return message(order.StatusMsg);
            else
                return text(order.StatusMsg);
        case 7: return code(order.PriceType);
        case 8: return order.OrderPrice;
        case 9: return order.OrderVolume;
        case 10: return order.TradedVolume;
        case 11: return order.TradedAmount;
        case 14: return code(order.ExchangeID);
        default: return QVariant();
        }
    }
};

using StockOrderColumns = OrderColumns<ZRVALUEADDPROAPI::CZRVDHistoryOrderEXField, StockOrder>;
using CreditOrderColumns = OrderColumns<ZRVALUEADDPROAPI::CZRVDCreditHistoryOrderEXField, CreditOrder>;

} // namespace

StockHistoryOrderTableHeader::StockHistoryOrderTableHeader()
    : HistoryTableHeader(TH_STOCK_HISTORY_ORDER)
{
    addColumns(orderColumns);
}

QString StockHistoryOrderTableHeader::getColumnDisplayText(int column, std::any record, UserData* userData)
{
    return StockOrderColumns::displayText(column, record, userData);
}

QVariant StockHistoryOrderTableHeader::getColumnRawValue(int column, std::any record, UserData* userData)
{
    return StockOrderColumns::rawValue(column, record, userData);
}

CreditHistoryOrderTableHeader::CreditHistoryOrderTableHeader()
    : HistoryTableHeader(TH_CREDIT_HISTORY_ORDER)
{
    addColumns(orderColumns);
}

QString CreditHistoryOrderTableHeader::getColumnDisplayText(int column, std::any record, UserData* userData)
{
    return CreditOrderColumns::displayText(column, record, userData);
}

QVariant CreditHistoryOrderTableHeader::getColumnRawValue(int column, std::any record, UserData* userData)
{
    return CreditOrderColumns::rawValue(column, record, userData);
}

} // namespace VEK_SC_Space
