#pragma once

#include "CellText.h"
#include "TableHeader.h"
#include "UserData.h"
#include "Util.h"

#include <QString>
#include <QVariant>

#include <any>
#include <cstddef>
#include <cstring>
#include <utility>

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

} // namespace HistoryColumn

// The module's column sets derive from this. It adds to TableHeader the key hand-over and a
// row's display texts as descriptions (CellText), which the export writes without a QString
// per cell; on purpose no Q_OBJECT, so every set translates in TableHeader's context.
class HistoryTableHeader : public TableHeader
{
public:
    explicit HistoryTableHeader(QString key);
    ~HistoryTableHeader() override;

    // Describes into `cells` what getColumnDisplayText shows for each of `columns` (ids, `count`
    // of them) of one record. Both come from the same switch of the set; one call per row keeps
    // the export's cost per cell down to the cell itself.
    virtual void describeRow(HistoryColumn::CellText* cells, const std::any& record, const int* shown, int count,
                             UserData* userData)
        = 0;

protected:
    // Registers the columns in the table's order, each title through TableHeader::tr.
    template <std::size_t N>
    void addColumns(const HistoryColumn::ColumnSpec (&table)[N])
    {
        for (const HistoryColumn::ColumnSpec& column : table)
            addColumn(column.id, tr(column.title, nullptr, -1), column.width, column.alignment, column.flag);
    }
};

// The conversions that every column set shares.
namespace HistoryColumn {

constexpr Qt::Alignment Centred = Qt::AlignHCenter | Qt::AlignVCenter; // 132
constexpr Qt::Alignment Right = Qt::AlignRight | Qt::AlignVCenter;     // 130

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

// Raw value of a code column: the code byte as a signed char widened to int.
inline QVariant code(char value) { return QVariant(int(static_cast<signed char>(value))); }

// Order time without its fraction: the part before the first ".", cut on the field itself, so the
// fraction is never converted. A "." byte never occurs inside a multi-byte UTF-8 sequence, so
// cutting the bytes equals cutting the text.
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
enum class DirectionSet { Stock,
                          Credit };
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

// The display face of a cell, for the switches of the column sets.
struct TextCell
{
    using Result = CellText;
    static constexpr bool isDisplay = true;
    static CellText none() { return CellText(); }
    template <std::size_t N>
    static CellText text(const char (&field)[N]) { return CellText::utf8(field, strnlen(field, N)); }
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

// Describes the cells of one row, `columns` in turn, as cellOf(column) describes each: the body
// of every set's describeRow.
template <typename CellOf>
inline void describeCells(CellText* cells, const int* columns, int count, CellOf cellOf)
{
    for (int i = 0; i < count; ++i)
        cells[i] = cellOf(columns[i]);
}

} // namespace HistoryColumn
} // namespace VEK_SC_Space
