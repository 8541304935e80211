#pragma once

#include "VE_Base_global.h"

#include <QString>
#include <QStringList>

namespace VEK_SC_Space {

// Decoders of the value-added API's codes into the texts the client shows.
// An unknown code gives a visible fallback that names the code.
class VE_BASE_EXPORT Util
{
public:
    static QString char2QStr(const char* text);

    static QString parseZRStockDirection(char code);
    static QString parseZRCreditDirection(char code);
    static QString parseZRStockOrderStatus(char code);
    static QString parseZRCreditOrderStatus(char code);
    static QString parseZRStockExchangeID(char code);
    static QString parseZRCreditExchangeID(char code);
    static QString parseZRStockOrderPriceType(char type, char aux1, char aux2);
    static QString parseZRCreditOrderPriceType(char type, char aux1, char aux2);

    // When set, every decoder call appends "name(bytes)" to the list; tests read it to check
    // which decoder ran with which bytes. Not thread-safe; null by default.
    static void setCallTrace(QStringList* trace);
};

} // namespace VEK_SC_Space
