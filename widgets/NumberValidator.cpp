#include "widgets/NumberValidator.h"

#include "survey/NumberText.h"

#include <QRegularExpression>

namespace {

// Every text that typing more could turn into a number: a sign, digits, one separator, an exponent.
bool beginsANumber(const QString &text, bool whole)
{
    static const QRegularExpression real(QStringLiteral("^\\s*[+-]?\\d*([.,]\\d*)?([eE][+-]?\\d*)?\\s*$"));
    static const QRegularExpression integer(QStringLiteral("^\\s*\\+?\\d*\\s*$"));
    return (whole ? integer : real).match(text).hasMatch();
}

} // namespace

NumberValidator::NumberValidator(const QString &field, double minimum, double maximum, bool whole, QObject *parent)
    : QValidator(parent), m_field(field), m_minimum(minimum), m_maximum(maximum), m_whole(whole)
{
}

QValidator::State NumberValidator::validate(QString &input, int &) const
{
    if (!beginsANumber(input, m_whole)) {
        emit refused(m_whole ? tr("%1 takes only a whole number.").arg(m_field)
                             : tr("%1 takes only a number: digits, a sign, a decimal point and an exponent, as in "
                                  "12.5 or 4.5e6.")
                                   .arg(m_field));
        return Invalid;
    }
    return reason(input).isEmpty() ? Acceptable : Intermediate;
}

QString NumberValidator::reason(const QString &text) const
{
    double value = 0.0;
    if (!beginsANumber(text, m_whole) || !NumberText::tryToDouble(text, &value))
        return tr("%1 is not a number.").arg(m_field);
    if (value < m_minimum || value > m_maximum)
        return tr("%1 must lie between %2 and %3.")
            .arg(m_field, NumberText::fromDouble(m_minimum), NumberText::fromDouble(m_maximum));
    return QString();
}
