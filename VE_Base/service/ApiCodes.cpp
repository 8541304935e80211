#include "ApiCodes.h"

#include <QCoreApplication>
#include <QStringList>

#include <iterator>

namespace VEK_SC_Space {
namespace ApiCodes {

namespace {

constexpr CodeText stockDirectionTexts[] = {
    {DirectionBuy, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "买入")},
    {DirectionSell, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "卖出")},
    {DirectionEtfSubscribe, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "ETF申购")},
    {DirectionEtfRedeem, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "ETF赎回")},
    {DirectionIpoSubscribe, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "新股申购")},
    {DirectionRightsIssue, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "配股认购")},
    {DirectionReverseRepo, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "逆回购")},
};

constexpr CodeText creditDirectionTexts[] = {
    {DirectionBuy, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "买入")},
    {DirectionSell, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "卖出")},
    {DirectionMarginBuy, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "融资买入")},
    {DirectionShortSell, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "融券卖出")},
    {DirectionBuyToReturn, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "买券还券")},
    {DirectionDirectRepayCash, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "直接还款")},
    {DirectionDirectReturnShares, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "直接还券")},
    {DirectionCollateralIn, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "担保品划入")},
    {DirectionForcedBuyToReturn, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "平仓买券还券")},
    {DirectionSellToRepay, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "卖券还款")},
    {DirectionForcedSell, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "平仓卖出")},
    {DirectionForcedSellToRepay, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "平仓卖券还款")},
    {DirectionCollateralOut, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "担保品划出")},
};

constexpr CodeText orderStatusTexts[] = {
    {StatusReported, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "已报")},
    {StatusCancelled, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "已撤")},
    {StatusPartlyFilled, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "部分成交")},
    {StatusFilled, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "全部成交")},
    {StatusCancelPending, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "待撤")},
    {StatusInvalid, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "废单")},
    {StatusPartlyCancelled, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "部成部撤")},
    {StatusRejected, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "已拒绝")},
    {StatusNotReported, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "未报")},
};

constexpr CodeText exchangeTexts[] = {
    {ExchangeSH, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "上交所")},
    {ExchangeSZ, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "深交所")},
    {ExchangeBJ, QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "北交所")},
};

constexpr PriceTypeText priceTypeTexts[] = {
    {PriceLimit, '0', QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "限价")},
    {PriceLimit, 'f', QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "限价全额成交或撤销")},
    {PriceMarket, 'a', QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "最优五档即时成交剩余撤销")},
    {PriceMarket, 'b', QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "最优五档即时成交剩余转限价")},
    {PriceMarket, 'c', QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "对手方最优价格")},
    {PriceMarket, 'd', QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "本方最优价格")},
    {PriceMarket, 'e', QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "即时成交剩余撤销")},
    {PriceMarket, 'f', QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "全额成交或撤销")},
    {PriceAfterHours, '0', QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "盘后固定价格")},
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

QString shown(const char* text)
{
    return QCoreApplication::translate(TranslationContext, text);
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
            const QString text = shown(entry.text);
            return protectedPrice ? text + shown(QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "(保护限价)")) : text;
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
    QStringList codes;
    for (int i = 0; i < count; ++i)
        codes << codeByte(bytes[i]);
    return shown(QT_TRANSLATE_NOOP("VEK_SC_Space::Util", "未知(%1)")).arg(codes.join(QLatin1Char(',')));
}

} // namespace ApiCodes
} // namespace VEK_SC_Space
