#pragma once

#include "../VE_Base_global.h"

#include <QString>

namespace VEK_SC_Space {

// Code values of the value-added API and the texts the client shows for them. The decoders in
// Util and the simulated service read the same tables, so every code the service writes has a
// text. The tables hold the Chinese source texts: the service writes them into records as data,
// the decoders show them through the translation context below.
namespace ApiCodes {

struct CodeText
{
    char code;
    const char* text; // UTF-8
};

class VE_BASE_EXPORT CodeTable
{
public:
    template <int N>
    constexpr CodeTable(const CodeText (&table)[N])
        : entries(table)
        , count(N) {}

    const char* text(char code) const; // null when the code is not in the table
    int size() const { return count; }
    const CodeText& at(int i) const { return entries[i]; }

private:
    const CodeText* entries;
    int count;
};

constexpr char ExchangeSH = '1';
constexpr char ExchangeSZ = '2';
constexpr char ExchangeBJ = '4';

constexpr char DirectionBuy = '0';
constexpr char DirectionSell = '1';
constexpr char DirectionEtfSubscribe = '2';
constexpr char DirectionEtfRedeem = '3';
constexpr char DirectionIpoSubscribe = '4';
constexpr char DirectionRightsIssue = '5';
constexpr char DirectionReverseRepo = '6';
constexpr char DirectionMarginBuy = 'a';   // 融资买入
constexpr char DirectionShortSell = 'b';   // 融券卖出
constexpr char DirectionBuyToReturn = 'c'; // 买券还券
constexpr char DirectionDirectRepayCash = 'd';
constexpr char DirectionDirectReturnShares = 'e';
constexpr char DirectionCollateralIn = 'f';
constexpr char DirectionForcedBuyToReturn = 'g';
constexpr char DirectionSellToRepay = 'j'; // 卖券还款
constexpr char DirectionForcedSell = 'k';
constexpr char DirectionForcedSellToRepay = 'm';
constexpr char DirectionCollateralOut = 'u';

constexpr char StatusReported = '0';
constexpr char StatusCancelled = '1';
constexpr char StatusPartlyFilled = '2';
constexpr char StatusFilled = '3';
constexpr char StatusCancelPending = '4';
constexpr char StatusInvalid = '5';
constexpr char StatusPartlyCancelled = '6';
constexpr char StatusRejected = '7';
constexpr char StatusNotReported = '8';

// Order price type: three bytes. The first is the kind (limit, market, after-hours fixed
// price), the second the variant, the third '1' when a market order carries a protection price
// ('0' or NUL otherwise).
constexpr char PriceLimit = '0';
constexpr char PriceMarket = '1';
constexpr char PriceAfterHours = '2';
constexpr char PriceAuxNone = '0';
constexpr char PriceProtected = '1';

const CodeTable& stockDirections();
const CodeTable& creditDirections();
const CodeTable& orderStatuses();
const CodeTable& exchanges();

struct PriceTypeText
{
    char type;
    char variant;
    const char* text;
};
int priceTypeCount();
const PriceTypeText& priceTypeAt(int i);

// Context of the shown texts, the one lupdate files them under: the decoders are Util's.
constexpr char TranslationContext[] = "VEK_SC_Space::Util";
// A table's source text as the user reads it: translated when a translation is installed.
QString shown(const char* text);

// Shown text for a price type, or a null string when the combination is unknown.
QString priceTypeText(char type, char variant, char protection);

// Visible (shown) fallback for a code no table knows, e.g. "未知(x)" or "未知(1,z,0)".
QString unknownCode(const char* bytes, int count);
// A code byte as shown in fallbacks and traces: the character itself, or 0xNN when not printable.
QString codeByte(char code);

} // namespace ApiCodes
} // namespace VEK_SC_Space
