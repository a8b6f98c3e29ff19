#pragma once

#include <QString>
#include <QtGlobal>

namespace Numbers {

// Leading blanks skipped, then the decimal number at the start (optional sign,
// digits, one point); a text that does not start with a number reads as 0.
// "  12abc" -> 12, "abc" -> 0.
double readLeading(const QString &text);

// The fuller reading used where ranks and scores are compared: blanks, tabs,
// CR and LF are skipped wherever they stand, then an optional sign, digits,
// one point and an exponent. " - 1 2" -> -12.
double readLoose(const QString &text);

// Nearest integer, halves to the even neighbour (7279.5 -> 7280,
// 7280.5 -> 7280, -0.5 -> 0).
double roundHalfEven(double value);

// roundHalfEven into the range of the type; a value outside it throws
// ReadFailure rather than wrapping silently: a number from a page that does
// not fit ends the command with a message instead of a wrong figure.
qint16 toInt16(double value);
qint32 toInt32(double value);

// A number in report text: one blank before a value that is not negative,
// a minus sign otherwise (" 12", "-12").
QString reportText(qint64 value);
QString reportText(double value);
// The same number without the blank ("12", "-12").
QString plainText(qint64 value);
QString plainText(double value);

} // namespace Numbers
