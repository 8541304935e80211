#include "HistoryProfitTableHeader.h"

#include "ClientConstants.h"
#include "api/ZRVDHistoryFields.h"

namespace VEK_SC_Space {
namespace {

using namespace HistoryColumn;
using ZRVALUEADDPROAPI::CZRVDCreditHisShareProfitField;
using ZRVALUEADDPROAPI::CZRVDHisShareProfitField;

const ColumnSpec profitColumns[] = {
    {0, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "证券代码"), 90, Centred, true},
    {1, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "证券名称"), 130, Centred, true},
    {2, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "期初市值"), 65, Right, true},
    {3, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "期末市值"), 65, Right, true},
    {4, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "期初持仓"), 65, Right, true},
    {5, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "期末持仓"), 65, Right, true},
    {6, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "开仓金额"), 75, Right, true},
    {7, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "平仓金额"), 75, Right, true},
    {8, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "盈亏"), 75, Right, true},
    {9, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "客户号"), 120, Centred, true},
    {10, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "交易所"), 65, Centred, true},
    {11, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "结束日期"), 90, Centred, true},
};

// Codes: StockCodes or CreditCodes, the exchange decoder of the account kind.
template <typename Cell, typename Record, typename Codes>
typename Cell::Result profitCell(int column, const std::any& record, UserData* userData)
{
    return withRecord<Record>(record, [column, userData](const Record& r) -> typename Cell::Result {
        switch (column) {
        case 0: return Cell::text(r.SecurityID);
        case 1: return Cell::securityName(r.SecurityID, r.ExchangeID, userData);
        case 2: return Cell::amount(r.BeginMarketValue);
        case 3: return Cell::amount(r.EndMarketValue);
        case 4: return Cell::count(r.BeginVolume);
        case 5: return Cell::count(r.EndVolume);
        case 6: return Cell::amount(r.OpenAmount);
        case 7: return Cell::amount(r.CloseAmount);
        case 8: return Cell::amount(r.ProfitLoss);
        case 9: return Cell::text(r.CustomerID);
        case 10: return Cell::code(r.ExchangeID, Codes::exchange);
        case 11: return Cell::text(r.EndDate);
        default: return Cell::none();
        }
    });
}

} // namespace

StockHistoryProfitTableHeader::StockHistoryProfitTableHeader()
    : HistoryTableHeader(TH_STOCK_HISTORY_PROFIT)
{
    addColumns(profitColumns);
}

QString StockHistoryProfitTableHeader::getColumnDisplayText(int column, std::any record, UserData* userData)
{
    return profitCell<TextCell, CZRVDHisShareProfitField, StockCodes>(column, record, userData).toString();
}

void StockHistoryProfitTableHeader::appendRow(CellTextWriter& out, const std::any& record, const int* shown, int count,
                                              UserData* userData)
{
    appendCells(out, shown, count, [&](int column) {
        return profitCell<TextCell, CZRVDHisShareProfitField, StockCodes>(column, record, userData);
    });
}

QVariant StockHistoryProfitTableHeader::getColumnRawValue(int column, std::any record, UserData* userData)
{
    return profitCell<RawCell, CZRVDHisShareProfitField, StockCodes>(column, record, userData);
}

CreditHistoryProfitTableHeader::CreditHistoryProfitTableHeader()
    : HistoryTableHeader(TH_CREDIT_HISTORY_PROFIT)
{
    addColumns(profitColumns);
}

QString CreditHistoryProfitTableHeader::getColumnDisplayText(int column, std::any record, UserData* userData)
{
    return profitCell<TextCell, CZRVDCreditHisShareProfitField, CreditCodes>(column, record, userData).toString();
}

void CreditHistoryProfitTableHeader::appendRow(CellTextWriter& out, const std::any& record, const int* shown, int count,
                                               UserData* userData)
{
    appendCells(out, shown, count, [&](int column) {
        return profitCell<TextCell, CZRVDCreditHisShareProfitField, CreditCodes>(column, record, userData);
    });
}

QVariant CreditHistoryProfitTableHeader::getColumnRawValue(int column, std::any record, UserData* userData)
{
    return profitCell<RawCell, CZRVDCreditHisShareProfitField, CreditCodes>(column, record, userData);
}

} // namespace VEK_SC_Space
