#pragma once

#include "ColumnSetCatalog.h"

#include <QHash>
#include <QString>
#include <QVector>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace VEK_SC_Space {

// Feeds arbitrary bytes to one column set as a record of its exact type and size, asks every
// column and the ids around them for both the display text and the raw value, and checks what
// must hold for any record:
//  - the record is only read: its bytes are the same afterwards;
//  - both operations give the same result when asked twice;
//  - an id the set does not register gives an empty text and an invalid value;
//  - no text, shown or raw, carries a NUL character (a field read past its terminator would);
//  - a floating-point raw value is shown as that very number with two or three decimals, and a
//    column keeps its number of decimals from one record to the next.
// Reads outside the record are left to AddressSanitizer.
class ColumnSetProbe
{
public:
    // The account whose lookups the set uses; it must outlive the probe. May be null.
    ColumnSetProbe(const ColumnSetEntry& set, UserData* userData);
    ~ColumnSetProbe();
    ColumnSetProbe(const ColumnSetProbe&) = delete;
    ColumnSetProbe& operator=(const ColumnSetProbe&) = delete;

    // Bytes beyond the record's size are ignored, missing ones are zero. Empty: all held.
    QString check(const std::uint8_t* data, std::size_t size);

    // A null record pointer gives empty cells; an empty std::any or one holding another record
    // type throws std::bad_any_cast from both operations.
    QString checkNullAndForeign();

    const QVector<int>& registeredColumns() const { return registered; }

private:
    QString checkCell(int column, const std::any& record);

    const ColumnSetEntry& set;
    UserData* userData;
    std::unique_ptr<TableHeader> header;
    QVector<int> registered;
    QVector<int> probed;              // registered ids and the ids around them
    QHash<int, int> decimalsByColumn; // learnt from the first floating-point value
};

} // namespace VEK_SC_Space
