#include "Util.h"

#include "service/ApiCodes.h"

namespace VEK_SC_Space {

namespace {

QStringList* callTrace = nullptr;

void trace(const char* name, std::initializer_list<char> bytes)
{
    if (!callTrace)
        return;
    QStringList shown;
    for (char byte : bytes)
        shown << ApiCodes::codeByte(byte);
    callTrace->append(QStringLiteral("%1(%2)").arg(QLatin1String(name), shown.join(QLatin1Char(','))));
}

QString decode(const char* name, const ApiCodes::CodeTable& table, char code)
{
    trace(name, {code});
    if (const char* text = table.text(code))
        return ApiCodes::shown(text);
    return ApiCodes::unknownCode(&code, 1);
}

QString decodePriceType(const char* name, char type, char aux1, char aux2)
{
    trace(name, {type, aux1, aux2});
    const QString text = ApiCodes::priceTypeText(type, aux1, aux2);
    if (!text.isNull())
        return text;
    const char bytes[] = {type, aux1, aux2};
    return ApiCodes::unknownCode(bytes, 3);
}

} // namespace

QString Util::char2QStr(const char* text)
{
    return text ? QString::fromUtf8(text) : QString();
}

QString Util::parseZRStockDirection(char code)
{
    return decode("parseZRStockDirection", ApiCodes::stockDirections(), code);
}

QString Util::parseZRCreditDirection(char code)
{
    return decode("parseZRCreditDirection", ApiCodes::creditDirections(), code);
}

QString Util::parseZRStockOrderStatus(char code)
{
    return decode("parseZRStockOrderStatus", ApiCodes::orderStatuses(), code);
}

QString Util::parseZRCreditOrderStatus(char code)
{
    return decode("parseZRCreditOrderStatus", ApiCodes::orderStatuses(), code);
}

QString Util::parseZRStockExchangeID(char code)
{
    return decode("parseZRStockExchangeID", ApiCodes::exchanges(), code);
}

QString Util::parseZRCreditExchangeID(char code)
{
    return decode("parseZRCreditExchangeID", ApiCodes::exchanges(), code);
}

QString Util::parseZRStockOrderPriceType(char type, char aux1, char aux2)
{
    return decodePriceType("parseZRStockOrderPriceType", type, aux1, aux2);
}

QString Util::parseZRCreditOrderPriceType(char type, char aux1, char aux2)
{
    return decodePriceType("parseZRCreditOrderPriceType", type, aux1, aux2);
}

void Util::setCallTrace(QStringList* trace)
{
    callTrace = trace;
}

} // namespace VEK_SC_Space
