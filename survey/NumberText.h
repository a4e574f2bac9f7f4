#pragma once

#include <QString>

// Numbers as the user types and reads them in the entry boxes: shown with the decimal separator of
// the locale in force (QLocale(), which is the system's unless the program sets another), read
// with either "." or "," whatever the locale.
namespace NumberText {

// The value of a typed number: optional sign, digits, a decimal separator, optional exponent;
// spaces around it are allowed. Anything else (an empty text, group separators, "nan", "inf")
// throws CommandError "'<text>' is not a valid floating point value".
double toDouble(const QString &text);

// Same as toDouble, without the exception: false when text is not a number.
bool tryToDouble(const QString &text, double *value);

// General form with up to 15 significant digits, no trailing zeros, no separator for whole
// numbers: 10 -> "10", 0.5 -> "0.5" (with the locale's separator), 1e20 -> "1E20".
QString fromDouble(double value);

} // namespace NumberText
