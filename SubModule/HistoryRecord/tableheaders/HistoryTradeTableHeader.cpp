#include "HistoryTradeTableHeader.h"

#include "ClientConstants.h"
#include "api/ZRVDHistoryFields.h"

namespace VEK_SC_Space {
namespace {

using namespace HistoryColumn;

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

// The stock and credit trade sets differ only in record layout (the commission's offset), the
// decoders and the category-3 directions.
template <typename Record, typename Codes>
struct TradeColumns
{
    static QString displayText(int column, const std::any& value, UserData* userData)
    {
        return withRecord<Record>(value, [&](const Record& trade) { return cellText(column, trade, userData); });
    }

    static QVariant rawValue(int column, const std::any& value, UserData* userData)
    {
        return withRecord<Record>(value, [&](const Record& trade) { return cellValue(column, trade, userData); });
    }

private:
    static QString cellText(int column, const Record& trade, UserData* userData)
    {
        switch (column) {
        case 0: return text(trade.TradeDate);
        case 1: return text(trade.TradeTime);
        case 2: return securityCode(trade.SecurityID, trade.ExchangeID, userData);
        case 3: return securityName(trade.SecurityID, trade.ExchangeID, userData);
        case 4: return Codes::direction(trade.Direction);
        case 5: return price(trade.TradePrice);
        case 6: return count(trade.TradeVolume);
        case 7: return amount(trade.Commission);
        case 8: return text(trade.TradeID);
        case 9: return text(trade.CustomerID);
        case 10: return text(trade.ShareholderID);
        case 11: return Codes::exchange(trade.ExchangeID);
        default: return QString();
        }
    }

    static QVariant cellValue(int column, const Record& trade, UserData* userData)
    {
        switch (column) {
        case 0: return rowCategory(Codes::directions, trade.Direction);
        case 1:
        case 2:
        case 3:
        case 8:
        case 9:
        case 10: return cellText(column, trade, userData);
        case 4: return code(trade.Direction);
        case 5: return trade.TradePrice;
        case 6: return trade.TradeVolume;
        case 7: return trade.Commission;
        case 11: return code(trade.ExchangeID);
        default: return QVariant();
        }
    }
};

using StockTradeColumns = TradeColumns<ZRVALUEADDPROAPI::CZRVDHistoryTradeEXField, StockCodes>;
using CreditTradeColumns = TradeColumns<ZRVALUEADDPROAPI::CZRVDCreditHistoryTradeEXField, CreditCodes>;

} // namespace

StockHistoryTradeTableHeader::StockHistoryTradeTableHeader()
    : HistoryTableHeader(TH_STOCK_HISTORY_TRADE)
{
    addColumns(tradeColumns);
}

QString StockHistoryTradeTableHeader::getColumnDisplayText(int column, std::any record, UserData* userData)
{
    return StockTradeColumns::displayText(column, record, userData);
}

QVariant StockHistoryTradeTableHeader::getColumnRawValue(int column, std::any record, UserData* userData)
{
    return StockTradeColumns::rawValue(column, record, userData);
}

CreditHistoryTradeTableHeader::CreditHistoryTradeTableHeader()
    : HistoryTableHeader(TH_CREDIT_HISTORY_TRADE)
{
    addColumns(tradeColumns);
}

QString CreditHistoryTradeTableHeader::getColumnDisplayText(int column, std::any record, UserData* userData)
{
    return CreditTradeColumns::displayText(column, record, userData);
}

QVariant CreditHistoryTradeTableHeader::getColumnRawValue(int column, std::any record, UserData* userData)
{
    return CreditTradeColumns::rawValue(column, record, userData);
}

} // namespace VEK_SC_Space
