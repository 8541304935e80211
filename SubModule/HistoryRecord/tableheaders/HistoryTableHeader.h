#pragma once

#include "TableHeader.h"
#include "UserData.h"
#include "Util.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <any>
#include <cstddef>
#include <cstring>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QIODevice;
class QTextCodec;

namespace VEK_SC_Space {

namespace HistoryColumn {

// One column as a set registers it. The title is the untranslated source text; mark it with
// QT_TRANSLATE_NOOP("VEK_SC_Space::TableHeader", ...) so that it is extracted in the context
// it is translated in.
struct ColumnSpec
{
    int id;
    const char* title;
    int width;
    Qt::Alignment alignment;
    bool flag;
};

class CellText;
class CellTextWriter;

} // namespace HistoryColumn

// The module's column sets derive from this. It adds to TableHeader the key hand-over and a
// row's display texts appended straight to the export's buffer (see CellText), without a
// QString per cell; on purpose no Q_OBJECT, so every set translates in TableHeader's context.
class HistoryTableHeader : public TableHeader
{
public:
    explicit HistoryTableHeader(QString key);
    ~HistoryTableHeader() override;

    // Appends what getColumnDisplayText shows for each of `columns` (ids, `count` of them) of
    // one record, a comma after each. Both come from the same switch of the set; one call per
    // row keeps the export's cost per cell down to the cell itself.
    virtual void appendRow(HistoryColumn::CellTextWriter& out, const std::any& record, const int* columns, int count,
                           UserData* userData) = 0;

protected:
    // Registers the columns in the table's order, each title through TableHeader::tr.
    template <std::size_t N>
    void addColumns(const HistoryColumn::ColumnSpec (&specs)[N])
    {
        for (const HistoryColumn::ColumnSpec& column : specs)
            addColumn(column.id, tr(column.title, nullptr, -1), column.width, column.alignment, column.flag);
    }
};

// The conversions that every column set shares.
namespace HistoryColumn {

constexpr Qt::Alignment Centred = Qt::AlignHCenter | Qt::AlignVCenter;   // 132
constexpr Qt::Alignment Right = Qt::AlignRight | Qt::AlignVCenter;       // 130

// A text field up to its first NUL, never past its room.
template <std::size_t N>
inline QString text(const char (&field)[N])
{
    return QString::fromUtf8(field, int(strnlen(field, N)));
}

// A NUL-terminated copy of a text field, for calls that take a bare char pointer: a field that
// fills its whole room without a NUL must not be read past its room. Lives on the stack.
template <std::size_t N>
class FieldCopy
{
public:
    explicit FieldCopy(const char (&field)[N])
    {
        const std::size_t length = strnlen(field, N);
        std::memcpy(bytes, field, length);
        bytes[length] = '\0';
    }
    char* data() { return bytes; }

private:
    char bytes[N + 1];
};

// Room for any double with three decimals, sign and point.
constexpr int FixedRoom = 330;

// Writes QString::number(value, 'f', decimals) to `out` (FixedRoom chars) and returns its end.
char* fixed(char* out, double value, int decimals);
// Writes QString::number(value) to `out` (12 chars) and returns its end.
char* integer(char* out, int value);

inline QString price(double value)
{
    char digits[FixedRoom];
    return QString::fromLatin1(digits, int(fixed(digits, value, 3) - digits));
}
inline QString amount(double value)
{
    char digits[FixedRoom];
    return QString::fromLatin1(digits, int(fixed(digits, value, 2) - digits));
}
inline QString count(int value)
{
    char digits[12];
    return QString::fromLatin1(digits, int(integer(digits, value) - digits));
}

// Raw value of a code column: the code byte as a signed char widened to int.
inline QVariant code(char value) { return QVariant(int(static_cast<signed char>(value))); }

// Order time without its fraction: the part before the first ".".
inline QString timeCut(const QString& time)
{
    const int dot = time.indexOf(QLatin1Char('.'));
    return dot < 0 ? time : time.left(dot);
}

// The same cut on the field itself, so the fraction is never converted. A "." byte never occurs
// inside a multi-byte UTF-8 sequence, so cutting the bytes equals cutting the text.
template <std::size_t N>
inline QString timeCut(const char (&field)[N])
{
    const std::size_t length = strnlen(field, N);
    const void* dot = std::memchr(field, '.', length);
    const std::size_t kept = dot ? std::size_t(static_cast<const char*>(dot) - field) : length;
    return QString::fromUtf8(field, int(kept));
}

// A text field through the base library's text conversion.
template <std::size_t N>
inline QString message(const char (&field)[N])
{
    FieldCopy<N> copy(field);
    return Util::char2QStr(copy.data());
}

// The displayed security code and the security name of a code field and an exchange code byte.
// Without an account there is nothing to look up in: empty text.
template <std::size_t N>
inline QString securityCode(const char (&codeField)[N], char exchange, UserData* userData)
{
    return userData ? userData->GetDisplaySecurityID(text(codeField), exchange) : QString();
}

template <std::size_t N>
inline QString securityName(const char (&codeField)[N], char exchange, UserData* userData)
{
    if (!userData)
        return QString();
    FieldCopy<N> copy(codeField);
    return userData->Translate2SecurityName(copy.data(), exchange);
}

// Exchange letters as the one-character code the name lookup takes: exact SH, SZ or BJ in any
// letter case give '1', '2' or '4'; anything else gives 0 (no lookup).
char exchangeFromLetters(const QString& letters);

// Row category of column 0 of the order and trade sets.
enum class DirectionSet { Stock, Credit };
int rowCategory(DirectionSet set, char direction);
int rowCategory(DirectionSet set, char orderStatus, char direction);

// The decoders and the category-3 directions of each account kind.
struct StockCodes
{
    static constexpr DirectionSet directions = DirectionSet::Stock;
    static QString direction(char code) { return Util::parseZRStockDirection(code); }
    static QString orderStatus(char code) { return Util::parseZRStockOrderStatus(code); }
    static QString exchange(char code) { return Util::parseZRStockExchangeID(code); }
    static QString orderPriceType(char type, char aux1, char aux2)
    {
        return Util::parseZRStockOrderPriceType(type, aux1, aux2);
    }
};

struct CreditCodes
{
    static constexpr DirectionSet directions = DirectionSet::Credit;
    static QString direction(char code) { return Util::parseZRCreditDirection(code); }
    static QString orderStatus(char code) { return Util::parseZRCreditOrderStatus(code); }
    static QString exchange(char code) { return Util::parseZRCreditExchangeID(code); }
    static QString orderPriceType(char type, char aux1, char aux2)
    {
        return Util::parseZRCreditOrderPriceType(type, aux1, aux2);
    }
};

// The record pointer held by a std::any; throws std::bad_any_cast for anything else.
template <typename Record>
inline const Record* record(const std::any& value)
{
    return std::any_cast<Record*>(value);
}

// The skeleton of both value operations: the record out of the std::any (std::bad_any_cast for
// anything else), an empty result for a null record, otherwise convert(record).
template <typename Record, typename Convert>
inline auto withRecord(const std::any& value, Convert convert) -> decltype(convert(std::declval<const Record&>()))
{
    const Record* r = record<Record>(value);
    if (!r)
        return {};
    return convert(*r);
}

// Name of a security whose record gives the exchange in letters; unknown letters: no lookup.
template <std::size_t N, std::size_t M>
inline QString securityNameByLetters(const char (&codeField)[N], const char (&letters)[M], UserData* userData)
{
    const char exchange = exchangeFromLetters(text(letters));
    return exchange ? securityName(codeField, exchange, userData) : QString();
}

// A cell's display text, described rather than built: a text field's bytes, a number, a code
// with its decoder, a security to look up, or a ready text. toString() gives the text the table
// shows; CellTextWriter appends the same text to the export's buffer without a QString each.
class CellText
{
public:
    enum class Kind : unsigned char {
        Empty, Utf8, String, Price, Amount, Count, Code, PriceType, Message, SecurityCode, SecurityName
    };

    CellText() = default;
    CellText(QString text) : kind(Kind::String), string(std::move(text)) {}

    static CellText utf8(const char* bytes, std::size_t size)
    {
        CellText cell(Kind::Utf8);
        cell.bytes = bytes;
        cell.size = int(size);
        return cell;
    }
    static CellText number(Kind kind, double value)
    {
        CellText cell(kind);
        cell.value = value;
        return cell;
    }
    static CellText count(int value)
    {
        CellText cell(Kind::Count);
        cell.integer = value;
        return cell;
    }
    static CellText code(char value, QString (*decoder)(char))
    {
        CellText cell(Kind::Code);
        cell.byte = value;
        cell.decoder = decoder;
        return cell;
    }
    static CellText priceType(char type, char aux1, char aux2, QString (*decoder)(char, char, char))
    {
        CellText cell(Kind::PriceType);
        cell.byte = type;
        cell.aux[0] = aux1;
        cell.aux[1] = aux2;
        cell.priceTypeDecoder = decoder;
        return cell;
    }
    // A text field (up to its NUL) through the base library's text conversion.
    static CellText message(const char* bytes, std::size_t size)
    {
        CellText cell = utf8(bytes, size);
        cell.kind = Kind::Message;
        return cell;
    }
    // A security code field (up to its NUL) on an exchange, through the account's look-ups.
    static CellText security(Kind kind, const char* bytes, std::size_t size, char exchange, UserData* userData)
    {
        if (!userData)
            return CellText();
        CellText cell = utf8(bytes, size);
        cell.kind = kind;
        cell.byte = exchange;
        cell.userData = userData;
        return cell;
    }

    QString toString() const;

    Kind kind = Kind::Empty;
    char byte = 0;                      // code, or the security's exchange
    char aux[2] = {};                   // the price type's two other bytes
    int size = 0;                       // of bytes
    int integer = 0;
    double value = 0;
    const char* bytes = nullptr;        // not NUL-terminated
    QString (*decoder)(char) = nullptr;
    QString (*priceTypeDecoder)(char, char, char) = nullptr;
    UserData* userData = nullptr;
    QString string;

private:
    explicit CellText(Kind cellKind) : kind(cellKind) {}
};

// The display face of a cell, for the switches of the column sets.
struct TextCell
{
    using Result = CellText;
    static constexpr bool isDisplay = true;
    static CellText none() { return CellText(); }
    template <std::size_t N>
    static CellText text(const char (&field)[N]) { return CellText::utf8(field, strnlen(field, N)); }
    static CellText string(QString value) { return CellText(std::move(value)); }
    static CellText price(double value) { return CellText::number(CellText::Kind::Price, value); }
    static CellText amount(double value) { return CellText::number(CellText::Kind::Amount, value); }
    static CellText count(int value) { return CellText::count(value); }
    static CellText code(char value, QString (*decoder)(char)) { return CellText::code(value, decoder); }
    static CellText priceType(char type, char aux1, char aux2, QString (*decoder)(char, char, char))
    {
        return CellText::priceType(type, aux1, aux2, decoder);
    }
    template <std::size_t N>
    static CellText message(const char (&field)[N]) { return CellText::message(field, strnlen(field, N)); }
    template <std::size_t N>
    static CellText timeCut(const char (&field)[N])
    {
        const std::size_t length = strnlen(field, N);
        const void* dot = std::memchr(field, '.', length);
        return CellText::utf8(field, dot ? std::size_t(static_cast<const char*>(dot) - field) : length);
    }
    template <std::size_t N>
    static CellText securityCode(const char (&codeField)[N], char exchange, UserData* userData)
    {
        return CellText::security(CellText::Kind::SecurityCode, codeField, strnlen(codeField, N), exchange, userData);
    }
    template <std::size_t N>
    static CellText securityName(const char (&codeField)[N], char exchange, UserData* userData)
    {
        return CellText::security(CellText::Kind::SecurityName, codeField, strnlen(codeField, N), exchange, userData);
    }
    template <std::size_t N, std::size_t M>
    static CellText securityNameByLetters(const char (&codeField)[N], const char (&letters)[M], UserData* userData)
    {
        const char exchange = exchangeFromLetters(HistoryColumn::text(letters));
        return exchange ? securityName(codeField, exchange, userData) : CellText();
    }
};

struct RawCell
{
    using Result = QVariant;
    static constexpr bool isDisplay = false;
    static QVariant none() { return QVariant(); }
    template <std::size_t N>
    static QVariant text(const char (&field)[N]) { return HistoryColumn::text(field); }
    static QVariant string(const QString& value) { return value; }
    static QVariant price(double value) { return value; }
    static QVariant amount(double value) { return value; }
    static QVariant count(int value) { return value; }
    static QVariant code(char value, QString (*)(char)) { return HistoryColumn::code(value); }
    template <std::size_t N>
    static QVariant message(const char (&field)[N]) { return HistoryColumn::message(field); }
    template <std::size_t N>
    static QVariant timeCut(const char (&field)[N]) { return HistoryColumn::timeCut(field); }
    template <std::size_t N>
    static QVariant securityCode(const char (&codeField)[N], char exchange, UserData* userData)
    {
        return HistoryColumn::securityCode(codeField, exchange, userData);
    }
    template <std::size_t N>
    static QVariant securityName(const char (&codeField)[N], char exchange, UserData* userData)
    {
        return HistoryColumn::securityName(codeField, exchange, userData);
    }
};

// Values by the bytes they were made from, in a fixed number of entries chosen by the bytes'
// hash: a key finds its value in its entry, or a fresh default value there (the caller makes
// it), so the memory stays bounded whatever the records hold, and a value is never taken for
// another key's. The last entry found is tried first.
template <typename Value>
class BytesCache
{
public:
    explicit BytesCache(std::size_t sizePowerOfTwo) : entries(sizePowerOfTwo) {}

    // The key is `key` followed by the byte `extra`.
    Value& find(std::string_view key, char extra = 0)
    {
        if (last && last->matches(key, extra))
            return last->value;
        Entry& entry = entries[hash(key, extra) & (entries.size() - 1)];
        if (!entry.matches(key, extra)) {
            entry.key.assign(key.data(), key.size());
            entry.extra = extra;
            entry.value = Value();
            entry.used = true;
        }
        last = &entry;
        return entry.value;
    }

private:
    struct Entry
    {
        bool used = false;
        char extra = 0;
        std::string key;
        Value value;

        bool matches(std::string_view k, char e) const { return used && extra == e && std::string_view(key) == k; }
    };

    // Eight bytes per multiply: the keys are status messages of a few dozen bytes and codes.
    static std::uint64_t hash(std::string_view key, char extra)
    {
        constexpr std::uint64_t k = 0x9E3779B97F4A7C15u;
        std::uint64_t h = (key.size() << 8 | static_cast<unsigned char>(extra)) * k;
        std::size_t i = 0;
        for (; i + 8 <= key.size(); i += 8) {
            std::uint64_t word;
            std::memcpy(&word, key.data() + i, 8);
            h = (h ^ word) * k;
            h ^= h >> 29;
        }
        std::uint64_t tail = 0;
        for (std::size_t shift = 0; i < key.size(); ++i, shift += 8)
            tail |= std::uint64_t(static_cast<unsigned char>(key[i])) << shift;
        h = (h ^ tail) * k;
        return h ^ h >> 32;
    }

    std::vector<Entry> entries;
    Entry* last = nullptr;
};

// Appends cells' display texts, and separators, to the export's buffer, already in the file's
// encoding when that is UTF-8 (the usual locale on Linux), otherwise as UTF-16 that the encoding's
// codec converts on writeTo. Either way the bytes equal the codec's for the table's texts.
// Decoded codes, status messages and a security's code and name are asked of the base library
// once per writer for each distinct input, as the same input gives the same text throughout one
// export of one account, and kept encoded.
class CellTextWriter
{
public:
    explicit CellTextWriter(QTextCodec* codec);
    ~CellTextWriter();
    CellTextWriter(const CellTextWriter&) = delete;
    CellTextWriter& operator=(const CellTextWriter&) = delete;

    void append(const CellText& cell);
    void append(const QString& text);
    // A character below 0x80.
    void append(char ascii)
    {
        if (used + 2 > buffer.size())
            grow(2);
        if (utf8) {
            buffer[used++] = ascii;
        } else {
            const char16_t unit = char16_t(ascii);
            std::memcpy(buffer.data() + used, &unit, 2);
            used += 2;
        }
    }

    // Bytes held, in either form.
    std::size_t size() const { return used; }
    // Writes what is held, in the file's encoding, and empties the buffer.
    bool writeTo(QIODevice& device);

private:
    void appendAscii(const char* text, std::size_t length);
    void appendBytes(const char* bytes, std::size_t length);
    void appendUtf8(const char* text, std::size_t length);
    const QByteArray& decoded(const CellText& cell);
    const QByteArray& memoized(const CellText& cell);
    QByteArray encoded(const QString& text) const;
    // At least `bytes` free at the buffer's end, which it returns; `used` stays.
    char* room(std::size_t bytes);
    void grow(std::size_t more);

    QTextCodec* codec;
    bool utf8;                      // the buffer holds the file's bytes, else UTF-16 units
    std::vector<char> buffer;
    std::size_t used = 0;
    struct Decoded;
    std::vector<Decoded> decoders;
    // A text made yet or not, held encoded as the buffer holds it; an empty text may be a made one.
    struct Made
    {
        QByteArray text;
        bool made = false;
    };
    struct Security
    {
        Made code;
        Made name;
    };
    BytesCache<Security> securities{4096};
    BytesCache<Made> messages{1024};
    BytesCache<Made> priceTypes{256};
};

// Appends the cells of one row, `columns` in turn, as cellOf(column) describes each, a comma
// after each: the body of every set's appendRow.
template <typename CellOf>
inline void appendCells(CellTextWriter& out, const int* columns, int count, CellOf cellOf)
{
    for (int i = 0; i < count; ++i) {
        out.append(cellOf(columns[i]));
        out.append(',');
    }
}

} // namespace HistoryColumn
} // namespace VEK_SC_Space
