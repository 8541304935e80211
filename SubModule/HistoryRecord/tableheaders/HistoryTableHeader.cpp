#include "HistoryTableHeader.h"

#include <QIODevice>
#include <QTextCodec>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace VEK_SC_Space {

HistoryTableHeader::HistoryTableHeader(QString key)
    : TableHeader(key, nullptr)
{
}

HistoryTableHeader::~HistoryTableHeader() = default;

namespace HistoryColumn {

char exchangeFromLetters(const QString& letters)
{
    const QString upper = letters.toUpper();
    if (upper == QLatin1String("SH"))
        return '1';
    if (upper == QLatin1String("SZ"))
        return '2';
    if (upper == QLatin1String("BJ"))
        return '4';
    return 0;
}

int rowCategory(DirectionSet set, char direction)
{
    // Built afresh on every call, on the stack: this runs for every comparison while sorting, so
    // it neither allocates nor shares state. The credit set is the first six.
    const char category3[] = {'1', 'b', 'j', 'k', 'm', 'u', '6'};
    const std::size_t size = set == DirectionSet::Stock ? 7 : 6;
    return std::memchr(category3, direction, size) ? 3 : 2;
}

int rowCategory(DirectionSet set, char orderStatus, char direction)
{
    switch (orderStatus) {
    case '1':
    case '5':
    case '6':
    case '7':
        return 1;
    default:
        return rowCategory(set, direction);
    }
}

char* fixed(char* out, double value, int decimals)
{
    // Qt's rule: the exact binary value rounded to `decimals` places, a tie away from zero; a
    // minus sign on any negative value but -0. Done here in integers: the value is m * 2^e, so
    // |value| * 10^decimals is m * 10^decimals shifted by e, whose dropped bits decide the
    // rounding. Infinities, NaN and values of 2^52 and more go through Qt.
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
    std::uint64_t units = 0;    // |value| * 10^decimals, rounded
    if (exact) {
        const std::uint64_t scaled = mantissa * powers[decimals];    // below 2^63
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
    if (value < 0)
        *out++ = '-';
    char digits[24];
    int length = int(std::to_chars(digits, digits + sizeof digits, units).ptr - digits);
    // At least one digit before the point.
    const int whole = std::max(length - decimals, 1);
    const int padding = whole + decimals - length;
    std::memmove(digits + padding, digits, std::size_t(length));
    std::memset(digits, '0', std::size_t(padding));
    length += padding;
    std::memcpy(out, digits, std::size_t(whole));
    out += whole;
    if (decimals > 0) {
        *out++ = '.';
        std::memcpy(out, digits + whole, std::size_t(decimals));
        out += decimals;
    }
    return out;
}

char* integer(char* out, int value)
{
    return std::to_chars(out, out + 12, value).ptr;
}

QString CellText::toString() const
{
    switch (kind) {
    case Kind::Empty: return QString();
    case Kind::Utf8: return QString::fromUtf8(bytes, size);
    case Kind::String: return string;
    case Kind::Price: return HistoryColumn::price(value);
    case Kind::Amount: return HistoryColumn::amount(value);
    case Kind::Count: return HistoryColumn::count(integer);
    case Kind::Code: return decoder(byte);
    case Kind::PriceType: return priceTypeDecoder(byte, aux[0], aux[1]);
    case Kind::Message: {
        QVarLengthArray<char, 128> copy(size + 1);
        std::memcpy(copy.data(), bytes, std::size_t(size));
        copy[size] = '\0';
        return Util::char2QStr(copy.data());
    }
    case Kind::SecurityCode: return userData->GetDisplaySecurityID(QString::fromUtf8(bytes, size), byte);
    case Kind::SecurityName: {
        QVarLengthArray<char, 64> copy(size + 1);
        std::memcpy(copy.data(), bytes, std::size_t(size));
        copy[size] = '\0';
        return userData->Translate2SecurityName(copy.data(), byte);
    }
    }
    return QString();
}

struct CellTextWriter::Decoded
{
    QString (*decoder)(char);
    std::array<QByteArray, 256> texts;
    std::array<bool, 256> known{};
};

namespace {

bool isAscii(const char* text, std::size_t length)
{
    std::size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text + i, 8);
        if (word & 0x8080808080808080u)
            return false;
    }
    for (; i < length; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

CellTextWriter::CellTextWriter(QTextCodec* fileCodec)
    : codec(fileCodec)
    , utf8(fileCodec->mibEnum() == 106)
{
    buffer.resize(1 << 17);
}

CellTextWriter::~CellTextWriter() = default;

void CellTextWriter::grow(std::size_t more)
{
    buffer.resize(std::max(buffer.size() * 2, used + more));
}

char* CellTextWriter::room(std::size_t bytes)
{
    if (used + bytes > buffer.size())
        grow(bytes);
    return buffer.data() + used;
}

bool CellTextWriter::writeTo(QIODevice& device)
{
    const std::size_t size = used;
    used = 0;
    if (utf8)
        return device.write(buffer.data(), qint64(size)) == qint64(size);
    const QByteArray bytes = codec->fromUnicode(reinterpret_cast<const QChar*>(buffer.data()), int(size / 2));
    return device.write(bytes) == bytes.size();
}

QByteArray CellTextWriter::encoded(const QString& text) const
{
    if (utf8)
        return codec->fromUnicode(text);
    return QByteArray(reinterpret_cast<const char*>(text.constData()), text.size() * 2);
}

void CellTextWriter::appendBytes(const char* bytes, std::size_t length)
{
    std::memcpy(room(length), bytes, length);
    used += length;
}

void CellTextWriter::appendAscii(const char* text, std::size_t length)
{
    if (utf8) {
        appendBytes(text, length);
        return;
    }
    if (used + 2 * length > buffer.size())
        grow(2 * length);
    char16_t* out = reinterpret_cast<char16_t*>(buffer.data() + used);
    for (std::size_t i = 0; i < length; ++i)
        out[i] = char16_t(static_cast<unsigned char>(text[i]));
    used += 2 * length;
}

void CellTextWriter::appendUtf8(const char* text, std::size_t length)
{
    // ASCII goes as it is; anything else takes QString's own decoding (invalid bytes and a
    // leading byte-order mark included), as the table's text does.
    if (utf8) {
        // Copied and checked in one pass; the copy counts only if it was all ASCII.
        char* out = room(length);
        unsigned char seen = 0;
        for (std::size_t i = 0; i < length; ++i) {
            out[i] = text[i];
            seen |= static_cast<unsigned char>(text[i]);
        }
        if (seen < 0x80) {
            used += length;
            return;
        }
    } else if (isAscii(text, length)) {
        appendAscii(text, length);
        return;
    }
    append(QString::fromUtf8(text, int(length)));
}

void CellTextWriter::append(const QString& text)
{
    if (!utf8) {
        appendBytes(reinterpret_cast<const char*>(text.constData()), std::size_t(text.size()) * 2);
        return;
    }
    const char16_t* units = reinterpret_cast<const char16_t*>(text.constData());
    const std::size_t length = std::size_t(text.size());
    if (std::all_of(units, units + length, [](char16_t c) { return c < 0x80; })) {
        std::transform(units, units + length, room(length), [](char16_t c) { return char(c); });
        used += length;
        return;
    }
    const QByteArray bytes = codec->fromUnicode(text);
    appendBytes(bytes.constData(), std::size_t(bytes.size()));
}

const QByteArray& CellTextWriter::decoded(const CellText& cell)
{
    auto found = std::find_if(decoders.begin(), decoders.end(), [&](const Decoded& d) { return d.decoder == cell.decoder; });
    if (found == decoders.end()) {
        decoders.emplace_back();
        found = decoders.end() - 1;
        found->decoder = cell.decoder;
    }
    const auto index = static_cast<unsigned char>(cell.byte);
    if (!found->known[index]) {
        found->texts[index] = encoded(cell.decoder(cell.byte));
        found->known[index] = true;
    }
    return found->texts[index];
}

const QByteArray& CellTextWriter::memoized(const CellText& cell)
{
    Made* made = nullptr;
    switch (cell.kind) {
    case CellText::Kind::PriceType: {
        const char key[] = {cell.byte, cell.aux[0], cell.aux[1]};
        made = &priceTypes.find(std::string_view(key, 3));
        break;
    }
    case CellText::Kind::Message:
        made = &messages.find(std::string_view(cell.bytes, std::size_t(cell.size)));
        break;
    default: {
        // The code's bytes and the exchange: a row's code and name share their entry.
        Security& security = securities.find(std::string_view(cell.bytes, std::size_t(cell.size)), cell.byte);
        made = cell.kind == CellText::Kind::SecurityCode ? &security.code : &security.name;
        break;
    }
    }
    if (!made->made) {
        made->text = encoded(cell.toString());
        made->made = true;
    }
    return made->text;
}

void CellTextWriter::append(const CellText& cell)
{
    switch (cell.kind) {
    case CellText::Kind::Empty: return;
    case CellText::Kind::Utf8: appendUtf8(cell.bytes, std::size_t(cell.size)); return;
    case CellText::Kind::String: append(cell.string); return;
    case CellText::Kind::Price:
    case CellText::Kind::Amount: {
        const int decimals = cell.kind == CellText::Kind::Price ? 3 : 2;
        if (utf8) {
            used = std::size_t(fixed(room(FixedRoom), cell.value, decimals) - buffer.data());
            return;
        }
        char digits[FixedRoom];
        appendAscii(digits, std::size_t(fixed(digits, cell.value, decimals) - digits));
        return;
    }
    case CellText::Kind::Count: {
        if (utf8) {
            used = std::size_t(integer(room(12), cell.integer) - buffer.data());
            return;
        }
        char digits[12];
        appendAscii(digits, std::size_t(integer(digits, cell.integer) - digits));
        return;
    }
    case CellText::Kind::Code: {
        const QByteArray& text = decoded(cell);
        appendBytes(text.constData(), std::size_t(text.size()));
        return;
    }
    case CellText::Kind::PriceType:
    case CellText::Kind::Message:
    case CellText::Kind::SecurityCode:
    case CellText::Kind::SecurityName: {
        const QByteArray& text = memoized(cell);
        appendBytes(text.constData(), std::size_t(text.size()));
        return;
    }
    }
}

} // namespace HistoryColumn
} // namespace VEK_SC_Space
