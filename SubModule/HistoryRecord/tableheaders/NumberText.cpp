#include "NumberText.h"

#include <QString>

#include <charconv>
#include <cstdint>
#include <cstring>

namespace VEK_SC_Space {
namespace HistoryColumn {

char* fixed(char* out, double value, int decimals)
{
    // Qt's rule: the exact binary value rounded to `decimals` places, a tie away from zero. Done
    // here in integers: the value is m * 2^e, so |value| * 10^decimals is m * 10^decimals shifted
    // by e, whose dropped bits decide the rounding. Infinities, NaN and values of 2^52 and more go
    // through Qt.
    static constexpr std::uint64_t powers[] = {1, 10, 100, 1000};
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = int(bits >> 52 & 0x7FF);
    std::uint64_t mantissa = bits & ((std::uint64_t(1) << 52) - 1);
    const int exponent = biased == 0 ? -1074 : biased - 1075;
    if (biased != 0)
        mantissa |= std::uint64_t(1) << 52;
    // At 2^52 and up (exponent 0 or more) there are no fractions to round: Qt does those.
    const bool exact = biased != 0x7FF && exponent < 0 && decimals >= 0 && decimals <= 3;
    std::uint64_t units = 0; // |value| * 10^decimals, rounded
    if (exact) {
        const std::uint64_t scaled = mantissa * powers[decimals]; // below 2^63
        const int shift = -exponent;
        if (shift < 64) {
            const std::uint64_t half = std::uint64_t(1) << (shift - 1);
            units = (scaled >> shift) + ((scaled & (2 * half - 1)) >= half ? 1 : 0);
        }
    }
    if (!exact) {
        const QString text = QString::number(value, 'f', decimals);
        for (const QChar c : text)
            *out++ = char(c.unicode());
        return out;
    }
    // Unlike QString::number, no minus sign on a value that rounds to zero: a settled debt with
    // a floating-point residue of -7.3e-12 reads "-0.00", which a trader takes for a debt.
    if (value < 0 && units != 0)
        *out++ = '-';
    if (units < powers[decimals]) {
        // Below one: "0", the point, the zeros after it, then the digits.
        *out++ = '0';
        if (decimals == 0)
            return out;
        *out++ = '.';
        const int length = int(std::to_chars(out, out + 3, units).ptr - out);
        std::memmove(out + decimals - length, out, std::size_t(length));
        std::memset(out, '0', std::size_t(decimals - length));
        return out + decimals;
    }
    char* end = std::to_chars(out, out + 24, units).ptr;
    if (decimals == 0)
        return end;
    // The last `decimals` digits move up one place for the point.
    for (int i = 1; i <= decimals; ++i)
        end[1 - i] = end[-i];
    end[-decimals] = '.';
    return end + 1;
}

char* integer(char* out, int value)
{
    return std::to_chars(out, out + 12, value).ptr;
}

} // namespace HistoryColumn
} // namespace VEK_SC_Space
