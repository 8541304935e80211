#pragma once

#include "NumberText.h"
#include "UserData.h"
#include "Util.h"

#include <QString>
#include <QVarLengthArray>

#include <cstddef>
#include <cstring>
#include <string_view>
#include <utility>

namespace VEK_SC_Space {
namespace HistoryColumn {

// A cell's display text, described rather than built: a text field's bytes, a number, a code
// with its decoder, a security to look up, or a ready text. render() is the one place that says
// what each kind shows; the table's display role (toString) and the export's writer are the two
// sinks it feeds, so the two cannot drift apart.
class CellText
{
public:
    enum class Kind : unsigned char {
        Empty,
        Utf8,
        String,
        Price,
        Amount,
        Count,
        Code,
        PriceType,
        Message,
        SecurityCode,
        SecurityName
    };
    // The texts that come from the base library, by what they are looked up with.
    enum class Lookup : unsigned char { PriceType,
                                        Message,
                                        SecurityCode,
                                        SecurityName };
    using Decoder = QString (*)(char);

    CellText() = default;
    CellText(QString text)
        : kind(Kind::String)
        , string(std::move(text)) {}

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
    static CellText code(char value, Decoder decoder)
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

    // Hands the text to the sink in the form it comes in: nothing, UTF-8 bytes, a QString, ASCII
    // that `format(out)` writes into FixedRoom chars at `out` (returning the end), or a text of the
    // base library that make() asks for, with what it depends on (the sink may keep it by that).
    // Returns what the sink's call returns.
    template <typename Sink>
    auto render(Sink& sink) const -> decltype(sink.empty())
    {
        switch (kind) {
        case Kind::Empty: break;
        case Kind::Utf8: return sink.utf8(bytes, std::size_t(size));
        case Kind::String: return sink.text(string);
        case Kind::Price: return sink.ascii([this](char* out) { return fixed(out, value, 3); });
        case Kind::Amount: return sink.ascii([this](char* out) { return fixed(out, value, 2); });
        case Kind::Count: return sink.ascii([this](char* out) { return HistoryColumn::integer(out, integer); });
        case Kind::Code: return sink.code(decoder, byte, [this] { return decoder(byte); });
        case Kind::PriceType: {
            const char key[] = {byte, aux[0], aux[1]};
            return sink.lookup(Lookup::PriceType, std::string_view(key, 3), 0,
                               [this] { return priceTypeDecoder(byte, aux[0], aux[1]); });
        }
        case Kind::Message:
            return sink.lookup(Lookup::Message, std::string_view(bytes, std::size_t(size)), 0, [this] {
                return Util::char2QStr(terminated().data());
            });
        case Kind::SecurityCode:
            return sink.lookup(Lookup::SecurityCode, std::string_view(bytes, std::size_t(size)), byte, [this] {
                return userData->GetDisplaySecurityID(QString::fromUtf8(bytes, size), byte);
            });
        case Kind::SecurityName:
            return sink.lookup(Lookup::SecurityName, std::string_view(bytes, std::size_t(size)), byte, [this] {
                return userData->Translate2SecurityName(terminated().data(), byte);
            });
        }
        return sink.empty();
    }

    // The text the table shows.
    QString toString() const;

    // Each kind uses only its own fields, so they share their room: the export describes a row's
    // cells afresh for every row, and a small description is quicker to make and to copy.
    Kind kind = Kind::Empty;
    char byte = 0;    // code, or the security's exchange
    char aux[2] = {}; // the price type's two other bytes
    int size = 0;     // of bytes
    union
    {
        double value = 0;
        int integer;
        const char* bytes; // not NUL-terminated
    };
    union
    {
        Decoder decoder = nullptr;
        QString (*priceTypeDecoder)(char, char, char);
        UserData* userData;
    };
    QString string;

private:
    explicit CellText(Kind k)
        : kind(k) {}

    // The bytes with a NUL after them, for calls that take a bare char pointer.
    QVarLengthArray<char, 128> terminated() const
    {
        QVarLengthArray<char, 128> copy(size + 1);
        std::memcpy(copy.data(), bytes, std::size_t(size));
        copy[size] = '\0';
        return copy;
    }
};

} // namespace HistoryColumn
} // namespace VEK_SC_Space
