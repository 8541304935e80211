#include "HistoryCreditDebtTableHeader.h"

#include "ClientConstants.h"
#include "ColumnSetDefinitions.h"
#include "api/ZRVDHistoryFields.h"

#include <cstdint>

namespace VEK_SC_Space {
namespace {

using namespace HistoryColumn;
using ZRVALUEADDPROAPI::CZRVDCreditHistoryDebtInfoField;

// Id 1 before id 0, and no id 10.
const ColumnSpec debtColumns[] = {
    {1, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "交易日期"), 75, Centred, true},
    {0, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "开仓日期"), 75, Centred, true},
    {2, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "证券代码"), 75, Centred, true},
    {3, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "证券名称"), 130, Centred, true},
    {4, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "委托类型"), 75, Centred, true},
    {5, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "负债状态"), 75, Centred, true},
    {6, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "负债数量"), 65, Right, true},
    {7, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "未还数量"), 65, Right, true},
    {8, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "负债金额"), 65, Right, true},
    {9, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "未还金额"), 65, Right, true},
    {11, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "客户号"), 100, Centred, true},
    {12, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "股东号"), 100, Centred, true},
    {13, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "交易所"), 65, Centred, true},
};

struct CodeText
{
    int code;
    const char* text;
};

const CodeText entrustTypes[] = {
    {1, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "买入")},
    {2, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "卖出")},
    {4, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "融资")},
    {5, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "融券")},
    {34, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "融资购回")},
    {35, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "融券购回")},
    {61, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "融资买入")},
    {62, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "卖券还款")},
    {63, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "买券还券")},
    {64, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "融券卖出")},
    {67, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "券源划入")},
    {68, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "券源划出")},
    {69, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "余券划转")},
    {70, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "还券划转")},
    {71, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "融资强平")},
    {72, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "融券强平")},
    {73, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "直接还款")},
};

const CodeText debtStatuses[] = {
    {0, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "未了结")},
    {3, QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", "已了结")},
};

// The translated text of a business code; an unlisted code has none.
template <std::size_t N>
QString codeText(const CodeText (&table)[N], int code)
{
    for (const CodeText& entry : table) {
        if (entry.code == code)
            return TableHeader::tr(entry.text, nullptr, -1);
    }
    return QString();
}

// Display text from the table, raw value the code itself.
template <typename Cell, std::size_t N>
typename Cell::Result businessCode(const CodeText (&table)[N], int code)
{
    if constexpr (Cell::isDisplay)
        return codeText(table, code);
    else
        return QVariant(code);
}

enum EntrustType { BuyOnMargin = 61,
                   ShortSale = 64 };

// Only a financing purchase and a short sale owe a quantity.
const std::int32_t* debtVolume(const CZRVDCreditHistoryDebtInfoField& r)
{
    switch (r.EntrustType) {
    case BuyOnMargin: return &r.FinancedVolume;
    case ShortSale: return &r.ShortVolume;
    default: return nullptr;
    }
}

// Wraps like the service's own arithmetic instead of overflowing.
int difference(std::int32_t a, std::int32_t b)
{
    return int(std::uint32_t(a) - std::uint32_t(b));
}

struct DebtColumns
{
    static constexpr auto& columns = debtColumns;

    template <typename Cell>
    static typename Cell::Result cell(int column, const std::any& record, UserData* userData)
    {
        using Record = CZRVDCreditHistoryDebtInfoField;
        return withRecord<Record>(record, [column, userData](const Record& r) -> typename Cell::Result {
            switch (column) {
            case 0: return Cell::text(r.OpenDate);
            case 1: return Cell::text(r.TradeDate);
            case 2: return Cell::securityCode(r.SecurityID, r.ExchangeID, userData);
            case 3: return Cell::securityName(r.SecurityID, r.ExchangeID, userData);
            case 4: return businessCode<Cell>(entrustTypes, r.EntrustType);
            case 5: return businessCode<Cell>(debtStatuses, r.DebtStatus);
            case 6: {
                const std::int32_t* volume = debtVolume(r);
                return volume ? Cell::count(*volume) : Cell::none();
            }
            case 7: {
                const std::int32_t* volume = debtVolume(r);
                return volume ? Cell::count(difference(*volume, r.RepaidVolume)) : Cell::none();
            }
            case 8: return Cell::amount(r.ExtraDebtAmount + r.DebtAmount);
            case 9: return Cell::amount(r.ExtraDebtAmount + r.DebtAmount - r.RepaidAmount);
            case 11: return Cell::text(r.CustomerID);
            case 12: return Cell::text(r.ShareholderID);
            case 13: return Cell::code(r.ExchangeID, CreditCodes::exchange);
            default: return Cell::none();
            }
        });
    }
};

} // namespace

template <>
struct ColumnSetTraits<CreditHistoryCreditDebtTableHeader>
    : DebtColumns, ColumnSetKey<TH_CREDIT_HISTORY_DEBT>
{};
template class ColumnSet<CreditHistoryCreditDebtTableHeader>;

} // namespace VEK_SC_Space
