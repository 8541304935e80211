#include "HistoryDeliveryTableHeader.h"

#include "ClientConstants.h"
#include "ColumnSetDefinitions.h"
#include "api/ZRVDHistoryFields.h"

namespace VEK_SC_Space {
namespace {

using namespace HistoryColumn;
using ZRVALUEADDPROAPI::CZRVDCreditHistoryDeliveryField;
using ZRVALUEADDPROAPI::CZRVDHistoryDeliveryField;

const ColumnSpec deliveryColumns[] = {
    {0, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "成交日期"), 90, Centred, true},
    {1, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "成交时间"), 90, Centred, true},
    {2, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "证券代码"), 90, Centred, true},
    {3, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "证券名称"), 130, Centred, true},
    {4, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "买卖类别"), 75, Centred, true},
    {5, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "成交价格"), 65, Right, true},
    {6, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "成交数量"), 65, Right, true},
    {7, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "成交金额"), 75, Right, true},
    {8, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "实付金额"), 75, Right, true},
    {9, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "开仓成本价"), 75, Right, true},
    {10, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "平仓盈亏"), 75, Right, true},
    {11, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "资金余额"), 75, Right, true},
    {12, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "股份余额"), 75, Right, true},
    {13, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "实收佣金"), 75, Right, true},
    {14, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "印花税"), 75, Right, true},
    {15, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "过户费"), 75, Right, true},
    {16, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "交易规费"), 75, Right, true},
    {17, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "流水号"), 75, Centred, true},
    {18, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "客户号"), 120, Centred, true},
    {19, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "股东号"), 110, Centred, true},
    {20, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "交易所"), 65, Centred, true},
};

// The serial number is text in the stock record and an int in the credit record.
template <typename Cell, std::size_t N>
typename Cell::Result serialNo(const char (&field)[N]) { return Cell::text(field); }

template <typename Cell>
typename Cell::Result serialNo(int value) { return Cell::count(value); }

template <typename Record>
struct DeliveryColumns
{
    static constexpr auto& columns = deliveryColumns;

    template <typename Cell>
    static typename Cell::Result cell(int column, const std::any& record, UserData*)
    {
        return withRecord<Record>(record, [column](const Record& r) -> typename Cell::Result {
            switch (column) {
            case 0: return Cell::text(r.TradeDate);
            case 1: return Cell::text(r.TradeTime);
            case 2: return Cell::text(r.SecurityID);
            case 3: return Cell::text(r.SecurityName);
            case 4: return Cell::text(r.DirectionName);
            case 5: return Cell::price(r.TradePrice);
            case 6: return Cell::count(r.TradeVolume);
            case 7: return Cell::amount(r.TradeAmount);
            case 8: return Cell::amount(r.NetAmount);
            case 9: return Cell::price(r.OpenCostPrice);
            case 10: return Cell::amount(r.CloseProfitLoss);
            case 11: return Cell::amount(r.FundBalance);
            case 12: return Cell::count(r.ShareBalance);
            case 13: return Cell::amount(r.Commission);
            case 14: return Cell::amount(r.StampTax);
            case 15: return Cell::amount(r.TransferFee);
            case 16: return Cell::amount(r.RegulatoryFee);
            case 17: return serialNo<Cell>(r.SerialNo);
            case 18: return Cell::text(r.CustomerID);
            case 19: return Cell::text(r.ShareholderID);
            case 20: return Cell::text(r.ExchangeName);
            default: return Cell::none();
            }
        });
    }
};

} // namespace

template <>
struct ColumnSetTraits<StockHistoryDeliveryTableHeader>
    : DeliveryColumns<CZRVDHistoryDeliveryField>, ColumnSetKey<TH_STOCK_HISTORY_DELIVERY>
{};
template <>
struct ColumnSetTraits<CreditHistoryDeliveryTableHeader>
    : DeliveryColumns<CZRVDCreditHistoryDeliveryField>, ColumnSetKey<TH_CREDIT_HISTORY_DELIVERY>
{};
template class ColumnSet<StockHistoryDeliveryTableHeader>;
template class ColumnSet<CreditHistoryDeliveryTableHeader>;

} // namespace VEK_SC_Space
