#pragma once

#include "TableHeader.h"

#include <QString>
#include <QVariant>

#include <any>
#include <cstddef>
#include <cstring>

namespace VEK_SC_Space {

// The module's column sets derive from this. It adds nothing to TableHeader but the key
// hand-over; on purpose no Q_OBJECT, so every set translates in TableHeader's context.
class HistoryTableHeader : public TableHeader
{
public:
    explicit HistoryTableHeader(QString key);
    ~HistoryTableHeader() override;
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

inline QString price(double value) { return QString::number(value, 'f', 3); }
inline QString amount(double value) { return QString::number(value, 'f', 2); }
inline QString count(int value) { return QString::number(value); }

// Raw value of a code column: the code byte as a signed char widened to int.
inline QVariant code(char value) { return QVariant(int(static_cast<signed char>(value))); }

// Order time without its fraction: the part before the first ".".
inline QString timeCut(const QString& time)
{
    const int dot = time.indexOf(QLatin1Char('.'));
    return dot < 0 ? time : time.left(dot);
}

// Exchange letters as the one-character code the name lookup takes: exact SH, SZ or BJ in any
// letter case give '1', '2' or '4'; anything else gives 0 (no lookup).
char exchangeFromLetters(const QString& letters);

// Row category of column 0 of the order and trade sets.
enum class DirectionSet { Stock, Credit };
int rowCategory(DirectionSet set, char direction);
int rowCategory(DirectionSet set, char orderStatus, char direction);

// The record pointer held by a std::any; throws std::bad_any_cast for anything else.
template <typename Record>
inline const Record* record(const std::any& value)
{
    return std::any_cast<Record*>(value);
}

} // namespace HistoryColumn
} // namespace VEK_SC_Space
