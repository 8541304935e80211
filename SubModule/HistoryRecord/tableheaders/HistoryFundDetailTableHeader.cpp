#include "HistoryFundDetailTableHeader.h"

#include "ClientConstants.h"
#include "ColumnSetDefinitions.h"
#include "api/ZRVDHistoryFields.h"

namespace VEK_SC_Space {
namespace {

using namespace HistoryColumn;
using ZRVALUEADDPROAPI::CZRVDCreditHistoryFundDetailField;
using ZRVALUEADDPROAPI::CZRVDHistoryFundDetailField;

const ColumnSpec fundDetailColumns[] = {
    {0, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "交易日"), 75, Centred, true},
    {1, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "入账时间"), 75, Centred, true},
    {2, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "业务科目"), 140, Right, true},
    {3, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "证券代码"), 75, Right, true},
    {4, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "证券名称"), 100, Right, true},
    {5, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "入金"), 75, Right, true},
    {6, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "出金"), 75, Right, true},
    {7, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "资金余额"), 75, Right, true},
    {8, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "操作摘要"), 300, Right, true},
    {9, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "流水号"), 80, Right, true},
    {10, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "客户号"), 120, Right, true},
};

template <typename Record>
struct FundDetailColumns
{
    static constexpr auto& columns = fundDetailColumns;

    template <typename Cell>
    static typename Cell::Result cell(int column, const std::any& record, UserData* userData)
    {
        return withRecord<Record>(record, [&](const Record& r) -> typename Cell::Result {
            switch (column) {
            case 0: return Cell::text(r.TradingDay);
            case 1: return Cell::text(r.PostingTime);
            case 2: return Cell::text(r.BusinessItem);
            case 3: return Cell::text(r.SecurityID);
            case 4:
                // Sorting by name sorts by code: the raw value needs no lookup.
                if constexpr (Cell::isDisplay)
                    return Cell::securityNameByLetters(r.SecurityID, r.ExchangeCode, userData);
                else
                    return Cell::text(r.SecurityID);
            case 5: return Cell::amount(r.Deposit);
            case 6: return Cell::amount(r.Withdrawal);
            case 7: return Cell::amount(r.FundBalance);
            case 8: return Cell::text(r.Summary);
            case 9: return Cell::text(r.SerialNo);
            case 10: return Cell::text(r.CustomerID);
            default: return Cell::none();
            }
        });
    }
};

} // namespace

template <>
struct ColumnSetTraits<StockHistoryFundDetailTableHeader>
    : FundDetailColumns<CZRVDHistoryFundDetailField>, ColumnSetKey<TH_STOCK_HISTORY_FUNDDETAIL>
{};
template <>
struct ColumnSetTraits<CreditHistoryFundDetailTableHeader>
    : FundDetailColumns<CZRVDCreditHistoryFundDetailField>, ColumnSetKey<TH_CREDIT_HISTORY_FUNDDETAIL>
{};
template class ColumnSet<StockHistoryFundDetailTableHeader>;
template class ColumnSet<CreditHistoryFundDetailTableHeader>;

} // namespace VEK_SC_Space
