#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Conversions between stored texts and numbers, compatible with the program the stored
// files come from.
namespace VbConvert
{

// The leading-number rule: blanks and tabs before the number are skipped, then an optional
// sign, digits, an optional decimal point with digits and an optional exponent are read;
// the rest of the text is ignored. No number at all gives 0. "1abc" is 1, " 3" is 3,
// " -2.5x" is -2.5.
double leadingNumber(const QString& text);

// Rounds to a 16-bit integer with halves to the even neighbour (1.5 and 2.5 both give 2).
// Numbers outside -32768..32767 give the nearest end of that range; NaN gives 0.
qint16 toInt16(double value);

// leadingNumber() followed by toInt16().
qint16 leadingInt16(const QString& text);

// Yes/no text: "True" or "False" in any letter case, or a number (non-zero is yes).
// Anything else has no value.
std::optional<bool> toBool(const QString& text);

// The stored form of a yes/no answer: "True" or "False".
QString fromBool(bool value);

// A 16-bit number as the program's Str() writes it: a leading blank for positive numbers
// and zero, a minus sign otherwise (" 3", "-1").
QString strOf(qint16 value);

} // namespace VbConvert
