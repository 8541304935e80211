#include "CsvWriter.h"

#include <QIODevice>
#include <QTextCodec>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace VEK_SC_Space {

using HistoryColumn::CellText;

namespace {

// Per byte: 1 a character that makes a value need quotes, 2 not ASCII.
constexpr unsigned char Special = 1;
constexpr unsigned char NotAscii = 2;

constexpr std::array<unsigned char, 256> byteClasses()
{
    std::array<unsigned char, 256> classes{};
    for (int c = 0x80; c < 0x100; ++c)
        classes[std::size_t(c)] = NotAscii;
    for (const char c : {',', '"', '\r', '\n'})
        classes[std::size_t(c)] = Special;
    return classes;
}
constexpr std::array<unsigned char, 256> ByteClass = byteClasses();

bool needsQuotes(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.unicode() < 0x80 && ByteClass[c.unicode()] == Special;
    });
}

// Copies `length` bytes to `out` and returns the classes of the bytes met, or-ed together. Eight
// bytes at a time where there are eight (the last word overlaps the one before it), as most
// fields are a few words of ASCII.
unsigned char copyAndClassify(const char* bytes, std::size_t length, char* out)
{
    if (length < 8) {
        unsigned char classes = 0;
        for (std::size_t i = 0; i < length; ++i) {
            out[i] = bytes[i];
            classes |= ByteClass[static_cast<unsigned char>(bytes[i])];
        }
        return classes;
    }
    constexpr std::uint64_t Ones = 0x0101010101010101u;
    constexpr std::uint64_t Highs = 0x8080808080808080u;
    // Whether a byte of `word` is `c`: exact for words of ASCII, which is all it is asked of.
    const auto has = [](std::uint64_t word, unsigned char c) {
        const std::uint64_t x = word ^ (Ones * c);
        return (x - Ones) & ~x & Highs;
    };
    std::uint64_t all = 0;
    std::uint64_t special = 0;
    const auto step = [&](std::size_t at) {
        std::uint64_t word;
        std::memcpy(&word, bytes + at, 8);
        std::memcpy(out + at, &word, 8);
        all |= word;
        special |= has(word, ',') | has(word, '"') | has(word, '\r') | has(word, '\n');
    };
    for (std::size_t at = 0; at + 8 < length; at += 8)
        step(at);
    step(length - 8);
    if (all & Highs)
        return NotAscii;
    return special ? Special : 0;
}

// RFC 4180's quoting. Written bare, a value with a comma would shift every later column of its
// line, and one with a line break would split its row in two.
QString quoted(const QString& text)
{
    QString result = text;
    result.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + result + QLatin1Char('"');
}

// Whether the codec writes each ASCII character as that one byte, as every code page does, so
// that ASCII text can go into the file's bytes without it.
bool writesAsciiAsIs(QTextCodec* codec)
{
    QByteArray ascii;
    for (int c = 1; c < 0x80; ++c)
        ascii.append(char(c));
    return codec->fromUnicode(QString::fromLatin1(ascii)) == ascii;
}

} // namespace

CsvWriter::CsvWriter(QTextCodec* fileCodec)
    : codec(fileCodec)
    , direct(writesAsciiAsIs(fileCodec))
{
    buffer.resize(1 << 17);
}

CsvWriter::~CsvWriter() = default;

void CsvWriter::grow(std::size_t more)
{
    buffer.resize(std::max(buffer.size() * 2, used + more));
}

char* CsvWriter::room(std::size_t bytes)
{
    if (used + bytes > buffer.size())
        grow(bytes);
    return buffer.data() + used;
}

bool CsvWriter::writeTo(QIODevice& device)
{
    const std::size_t size = used;
    used = 0;
    if (direct)
        return device.write(buffer.data(), qint64(size)) == qint64(size);
    const QByteArray bytes = codec->fromUnicode(reinterpret_cast<const QChar*>(buffer.data()), int(size / 2));
    return device.write(bytes) == bytes.size();
}

QByteArray CsvWriter::encoded(const QString& text) const
{
    const QString value = needsQuotes(text) ? quoted(text) : text;
    if (direct)
        return codec->fromUnicode(value);
    return QByteArray(reinterpret_cast<const char*>(value.constData()), value.size() * 2);
}

void CsvWriter::appendBytes(const char* bytes, std::size_t length)
{
    std::memcpy(room(length), bytes, length);
    used += length;
}

void CsvWriter::appendAscii(char ascii)
{
    if (direct) {
        *room(1) = ascii;
        ++used;
    } else {
        const char16_t unit = char16_t(ascii);
        std::memcpy(room(2), &unit, 2);
        used += 2;
    }
}

void CsvWriter::appendQuoted(const char* ascii, std::size_t length)
{
    // At most every character a quote, doubled, and the two around.
    char* out = room(2 * length + 2);
    char* start = out;
    *out++ = '"';
    for (std::size_t i = 0; i < length; ++i) {
        if (ascii[i] == '"')
            *out++ = '"';
        *out++ = ascii[i];
    }
    *out++ = '"';
    used += std::size_t(out - start);
}

void CsvWriter::utf8(const char* bytes, std::size_t length)
{
    // ASCII goes as it is; anything else takes QString's own decoding (invalid bytes and a
    // leading byte-order mark included), as the table's text does.
    if (direct) {
        // Copied and checked in one pass; the copy counts only if it needs nothing more.
        char* out = room(length);
        const unsigned char classes = copyAndClassify(bytes, length, out);
        if (classes == 0) {
            used += length;
            return;
        }
        if (classes == Special) {
            appendQuoted(bytes, length);
            return;
        }
    }
    text(QString::fromUtf8(bytes, int(length)));
}

void CsvWriter::text(const QString& text)
{
    const char16_t* units = reinterpret_cast<const char16_t*>(text.constData());
    const std::size_t length = std::size_t(text.size());
    if (!direct) {
        if (needsQuotes(text)) {
            const QString value = quoted(text);
            appendBytes(reinterpret_cast<const char*>(value.constData()), std::size_t(value.size()) * 2);
        } else {
            appendBytes(reinterpret_cast<const char*>(units), length * 2);
        }
        return;
    }
    if (std::all_of(units, units + length, [](char16_t c) { return c < 0x80 && ByteClass[c] == 0; })) {
        std::transform(units, units + length, room(length), [](char16_t c) { return char(c); });
        used += length;
        return;
    }
    const QByteArray bytes = encoded(text);
    appendBytes(bytes.constData(), std::size_t(bytes.size()));
}

template <typename Format>
void CsvWriter::ascii(Format format)
{
    // Numbers: never a character that needs quotes.
    if (direct) {
        used = std::size_t(format(room(HistoryColumn::FixedRoom)) - buffer.data());
        return;
    }
    char digits[HistoryColumn::FixedRoom];
    const char* end = format(digits);
    char16_t* out = reinterpret_cast<char16_t*>(room(2 * std::size_t(end - digits)));
    for (const char* c = digits; c < end; ++c)
        *out++ = char16_t(*c);
    used = std::size_t(reinterpret_cast<char*>(out) - buffer.data());
}

template <typename Make>
void CsvWriter::code(CellText::Decoder decoder, char byte, Make make)
{
    auto found = std::find_if(decoders.begin(), decoders.end(), [&](const Decoded& d) { return d.decoder == decoder; });
    if (found == decoders.end()) {
        decoders.emplace_back();
        found = decoders.end() - 1;
        found->decoder = decoder;
    }
    const auto index = static_cast<unsigned char>(byte);
    if (!found->known[index]) {
        found->texts[index] = encoded(make());
        found->known[index] = true;
    }
    const QByteArray& text = found->texts[index];
    appendBytes(text.constData(), std::size_t(text.size()));
}

template <typename Make>
void CsvWriter::lookup(CellText::Lookup which, std::string_view key, char extra, Make make)
{
    Made* made = nullptr;
    switch (which) {
    case CellText::Lookup::PriceType: made = &priceTypes.find(key); break;
    case CellText::Lookup::Message: made = &messages.find(key); break;
    // A row's code and name share their entry.
    case CellText::Lookup::SecurityCode: made = &securities.find(key, extra).code; break;
    case CellText::Lookup::SecurityName: made = &securities.find(key, extra).name; break;
    }
    if (!made->made) {
        made->text = encoded(make());
        made->made = true;
    }
    appendBytes(made->text.constData(), std::size_t(made->text.size()));
}

void CsvWriter::append(const CellText& cell)
{
    cell.render(*this);
    appendAscii(',');
}

void CsvWriter::append(const QString& value)
{
    text(value);
    appendAscii(',');
}

void CsvWriter::appendRow(const CellText* cells, int count)
{
    for (int i = 0; i < count; ++i)
        append(cells[i]);
    endLine();
}

} // namespace VEK_SC_Space
