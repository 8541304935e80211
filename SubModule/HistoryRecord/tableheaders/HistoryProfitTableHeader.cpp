#include "HistoryProfitTableHeader.h"

#include "ClientConstants.h"
#include "ColumnSetDefinitions.h"
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
template <typename Record, typename Codes>
struct ProfitColumns
{
    static constexpr auto& columns = profitColumns;

    template <typename Cell>
    static typename Cell::Result cell(int column, const std::any& record, UserData* userData)
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
};

} // namespace

template <>
struct ColumnSetTraits<StockHistoryProfitTableHeader>
    : ProfitColumns<CZRVDHisShareProfitField, StockCodes>, ColumnSetKey<TH_STOCK_HISTORY_PROFIT>
{};
template <>
struct ColumnSetTraits<CreditHistoryProfitTableHeader>
    : ProfitColumns<CZRVDCreditHisShareProfitField, CreditCodes>, ColumnSetKey<TH_CREDIT_HISTORY_PROFIT>
{};
template class ColumnSet<StockHistoryProfitTableHeader>;
template class ColumnSet<CreditHistoryProfitTableHeader>;

} // namespace VEK_SC_Space
