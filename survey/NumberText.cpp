#include "survey/NumberText.h"

#include "survey/CommandError.h"

#include <QCoreApplication>
#include <QLocale>
#include <cmath>
#include <charconv>
#include <string>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(NumberText)
};

} // namespace

namespace NumberText {

static QChar decimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QChar('.') : point.at(0);
}

bool tryToDouble(const QString &text, double *value)
{
    const QString trimmed = text.trimmed();
    const QChar separator = decimalSeparator();
    // Build a plain C-locale number while checking the shape: [sign] digits [sep digits] [e [sign] digits].
    std::string plain;
    int i = 0;
    const int n = int(trimmed.size());
    auto isDigit = [&](int k) { return k < n && trimmed.at(k) >= QChar('0') && trimmed.at(k) <= QChar('9'); };
    if (i < n && (trimmed.at(i) == QChar('+') || trimmed.at(i) == QChar('-')))
        plain += char(trimmed.at(i++).unicode());
    int mantissaDigits = 0;
    while (isDigit(i)) {
        plain += char(trimmed.at(i++).unicode());
        ++mantissaDigits;
    }
    // Either separator is read, whatever the locale: a German caver typing 2.5 means 2.5.
    if (i < n && (trimmed.at(i) == separator || trimmed.at(i) == QChar('.') || trimmed.at(i) == QChar(','))) {
        plain += '.';
        ++i;
        while (isDigit(i)) {
            plain += char(trimmed.at(i++).unicode());
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return false;
    if (i < n && (trimmed.at(i) == QChar('e') || trimmed.at(i) == QChar('E'))) {
        plain += 'e';
        ++i;
        if (i < n && (trimmed.at(i) == QChar('+') || trimmed.at(i) == QChar('-')))
            plain += char(trimmed.at(i++).unicode());
        if (!isDigit(i))
            return false;
        while (isDigit(i))
            plain += char(trimmed.at(i++).unicode());
    }
    if (i != n)
        return false;
    // from_chars reads "." whatever the C library's locale; strtod would follow the system's.
    double result = 0.0;
    const char *first = plain.c_str();
    if (*first == '+')
        ++first; // from_chars takes no plus sign
    const auto [end, error] = std::from_chars(first, plain.c_str() + plain.size(), result);
    if (error != std::errc() || end != plain.c_str() + plain.size() || !std::isfinite(result))
        return false;
    if (value)
        *value = result;
    return true;
}

double toDouble(const QString &text)
{
    double value = 0.0;
    if (!tryToDouble(text, &value))
        throw CommandError(Words::tr("'%1' is not a valid floating point value").arg(text));
    return value;
}

QString fromDouble(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    // to_chars, unlike printf, ignores the C library's locale (which the application sets from
    // the system), so the separator below is the only one that can appear.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    QString text = QString::fromLatin1(buffer, int(result.ptr - buffer));
    // C writes exponents as "e+20" / "e-05"; the entry boxes have always shown "1E20" / "1E-5".
    const int e = int(text.indexOf(QChar('e')));
    if (e >= 0) {
        QString mantissa = text.left(e);
        QString exponent = text.mid(e + 1);
        const bool negative = exponent.startsWith(QChar('-'));
        if (exponent.startsWith(QChar('+')) || negative)
            exponent.remove(0, 1);
        while (exponent.size() > 1 && exponent.startsWith(QChar('0')))
            exponent.remove(0, 1);
        text = mantissa + QChar('E') + (negative ? QStringLiteral("-") : QString()) + exponent;
    }
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text.replace(QChar('.'), decimalSeparator());
}

} // namespace NumberText
