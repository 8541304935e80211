#pragma once

// Numbers as the cells show them: QString::number's fixed-point and decimal texts, ignoring the
// locale, written into the caller's buffer, so that the export formats straight into its own.
namespace VEK_SC_Space {
namespace HistoryColumn {

// Room for any double with three decimals, sign and point.
constexpr int FixedRoom = 330;

// Writes QString::number(value, 'f', decimals) to `out` (FixedRoom chars) and returns its end;
// a value that rounds to zero has no sign.
char* fixed(char* out, double value, int decimals);
// Writes QString::number(value) to `out` (12 chars) and returns its end.
char* integer(char* out, int value);

} // namespace HistoryColumn
} // namespace VEK_SC_Space
