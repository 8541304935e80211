#include "ApiCodes.h"

#include <QStringList>

#include <iterator>

namespace VEK_SC_Space {
namespace ApiCodes {

namespace {

constexpr CodeText stockDirectionTexts[] = {
    {DirectionBuy, "买入"},
    {DirectionSell, "卖出"},
    {DirectionEtfSubscribe, "ETF申购"},
    {DirectionEtfRedeem, "ETF赎回"},
    {DirectionIpoSubscribe, "新股申购"},
    {DirectionRightsIssue, "配股认购"},
    {DirectionReverseRepo, "逆回购"},
};

constexpr CodeText creditDirectionTexts[] = {
    {DirectionBuy, "买入"},
    {DirectionSell, "卖出"},
    {DirectionMarginBuy, "融资买入"},
    {DirectionShortSell, "融券卖出"},
    {DirectionBuyToReturn, "买券还券"},
    {DirectionDirectRepayCash, "直接还款"},
    {DirectionDirectReturnShares, "直接还券"},
    {DirectionCollateralIn, "担保品划入"},
    {DirectionForcedBuyToReturn, "平仓买券还券"},
    {DirectionSellToRepay, "卖券还款"},
    {DirectionForcedSell, "平仓卖出"},
    {DirectionForcedSellToRepay, "平仓卖券还款"},
    {DirectionCollateralOut, "担保品划出"},
};

constexpr CodeText orderStatusTexts[] = {
    {StatusReported, "已报"},
    {StatusCancelled, "已撤"},
    {StatusPartlyFilled, "部分成交"},
    {StatusFilled, "全部成交"},
    {StatusCancelPending, "待撤"},
    {StatusInvalid, "废单"},
    {StatusPartlyCancelled, "部成部撤"},
    {StatusRejected, "已拒绝"},
    {StatusNotReported, "未报"},
};

constexpr CodeText exchangeTexts[] = {
    {ExchangeSH, "上交所"},
    {ExchangeSZ, "深交所"},
    {ExchangeBJ, "北交所"},
};

constexpr PriceTypeText priceTypeTexts[] = {
    {PriceLimit, '0', "限价"},
    {PriceLimit, 'f', "限价全额成交或撤销"},
    {PriceMarket, 'a', "最优五档即时成交剩余撤销"},
    {PriceMarket, 'b', "最优五档即时成交剩余转限价"},
    {PriceMarket, 'c', "对手方最优价格"},
    {PriceMarket, 'd', "本方最优价格"},
    {PriceMarket, 'e', "即时成交剩余撤销"},
    {PriceMarket, 'f', "全额成交或撤销"},
    {PriceAfterHours, '0', "盘后固定价格"},
};

} // namespace

const char* CodeTable::text(char code) const
{
    for (int i = 0; i < count; ++i) {
        if (entries[i].code == code)
            return entries[i].text;
    }
    return nullptr;
}

const CodeTable& stockDirections()
{
    static const CodeTable table(stockDirectionTexts);
    return table;
}

const CodeTable& creditDirections()
{
    static const CodeTable table(creditDirectionTexts);
    return table;
}

const CodeTable& orderStatuses()
{
    static const CodeTable table(orderStatusTexts);
    return table;
}

const CodeTable& exchanges()
{
    static const CodeTable table(exchangeTexts);
    return table;
}

int priceTypeCount()
{
    return int(std::size(priceTypeTexts));
}

const PriceTypeText& priceTypeAt(int i)
{
    return priceTypeTexts[i];
}

QString priceTypeText(char type, char variant, char protection)
{
    const bool protectedPrice = protection == PriceProtected;
    if (!protectedPrice && protection != PriceAuxNone && protection != '\0')
        return QString();
    if (protectedPrice && type != PriceMarket)
        return QString();
    for (const PriceTypeText& entry : priceTypeTexts) {
        if (entry.type == type && entry.variant == variant) {
            const QString text = QString::fromUtf8(entry.text);
            return protectedPrice ? text + QStringLiteral("(保护限价)") : text;
        }
    }
    return QString();
}

QString codeByte(char code)
{
    const auto byte = static_cast<unsigned char>(code);
    if (byte > 0x20 && byte < 0x7f)
        return QString(QLatin1Char(code));
    return QStringLiteral("0x") + QString::number(byte, 16).rightJustified(2, QLatin1Char('0')).toUpper();
}

QString unknownCode(const char* bytes, int count)
{
    QStringList shown;
    for (int i = 0; i < count; ++i)
        shown << codeByte(bytes[i]);
    return QStringLiteral("未知(%1)").arg(shown.join(QLatin1Char(',')));
}

} // namespace ApiCodes
} // namespace VEK_SC_Space
