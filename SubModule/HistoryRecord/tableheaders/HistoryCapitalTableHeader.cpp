#include "HistoryCapitalTableHeader.h"

#include "ClientConstants.h"
#include "ColumnSetDefinitions.h"
#include "api/ZRVDHistoryFields.h"

#include <iterator>

namespace VEK_SC_Space {
namespace {

using namespace HistoryColumn;
using ZRVALUEADDPROAPI::CZRVDCreditHistoryCapitalField;
using ZRVALUEADDPROAPI::CZRVDHistoryCapitalField;

const ColumnSpec stockCapitalColumns[] = {
    {0, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "交易日"), 90, Centred, true},
    {1, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "总资产"), 75, Right, true},
    {2, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "客户资金"), 75, Right, true},
    {3, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "总市值"), 75, Right, true},
    {4, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "当日盈亏"), 75, Right, true},
    {5, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "入金"), 75, Right, true},
    {6, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "出金"), 75, Right, true},
    {7, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "未到期债券"), 75, Right, true},
    {8, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "基金市值"), 75, Right, true},
    {9, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "OTC资产"), 75, Right, true},
    {10, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "客户号"), 120, Centred, true},
};

// Net assets (id 3) are shown before total liabilities (id 2).
const ColumnSpec creditCapitalColumns[] = {
    {0, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "交易日"), 90, Centred, true},
    {1, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "总资产"), 75, Right, true},
    {3, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "净资产"), 75, Right, true},
    {2, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "总负债"), 75, Right, true},
    {4, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "总利息"), 75, Right, true},
    {5, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "客户资金"), 75, Right, true},
    {6, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "总市值"), 75, Right, true},
    {7, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "当日盈亏"), 75, Right, true},
    {8, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "入金"), 75, Right, true},
    {9, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "出金"), 75, Right, true},
    {10, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "客户号"), 120, Centred, true},
};

// Both sets show the trading day as id 0, the customer as id 10 and an amount for every id in
// between; only which field each of those ids shows differs.
struct StockCapital
{
    using Record = CZRVDHistoryCapitalField;
    static constexpr auto& columns = stockCapitalColumns;
    static constexpr double Record::*amounts[] = {
        &Record::TotalAsset,
        &Record::CustomerFund,
        &Record::TotalMarketValue,
        &Record::DayProfitLoss,
        &Record::Deposit,
        &Record::Withdrawal,
        &Record::UnmaturedBondValue,
        &Record::FundMarketValue,
        &Record::OTCAsset,
    };
};

struct CreditCapital
{
    using Record = CZRVDCreditHistoryCapitalField;
    static constexpr auto& columns = creditCapitalColumns;
    static constexpr double Record::*amounts[] = {
        &Record::TotalAsset,
        &Record::TotalLiability,
        &Record::NetAsset,
        &Record::TotalInterest,
        &Record::CustomerFund,
        &Record::TotalMarketValue,
        &Record::DayProfitLoss,
        &Record::Deposit,
        &Record::Withdrawal,
    };
};

template <typename Set>
struct CapitalColumns
{
    static constexpr auto& columns = Set::columns;

    template <typename Cell>
    static typename Cell::Result cell(int column, const std::any& record, UserData*)
    {
        using Record = typename Set::Record;
        constexpr int firstAmount = 1;
        constexpr int lastAmount = firstAmount + int(std::size(Set::amounts)) - 1;
        static_assert(lastAmount == 9, "ids 1 to 9 are amounts");
        return withRecord<Record>(record, [column](const Record& r) -> typename Cell::Result {
            if (column == 0)
                return Cell::text(r.TradingDay);
            if (column == 10)
                return Cell::text(r.CustomerID);
            if (column >= firstAmount && column <= lastAmount)
                return Cell::amount(r.*Set::amounts[column - firstAmount]);
            return Cell::none();
        });
    }
};

} // namespace

template <>
struct ColumnSetTraits<StockHistoryCapitalTableHeader>
    : CapitalColumns<StockCapital>, ColumnSetKey<TH_STOCK_HISTORY_CAPITAL>
{};
template <>
struct ColumnSetTraits<CreditHistoryCapitalTableHeader>
    : CapitalColumns<CreditCapital>, ColumnSetKey<TH_CREDIT_HISTORY_CAPITAL>
{};
template class ColumnSet<StockHistoryCapitalTableHeader>;
template class ColumnSet<CreditHistoryCapitalTableHeader>;

} // namespace VEK_SC_Space
