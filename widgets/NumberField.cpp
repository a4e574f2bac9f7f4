#include "widgets/NumberField.h"

#include "survey/NumberText.h"
#include "widgets/Controls.h"

#include <QLineEdit>
#include <utility>

NumberField::NumberField(QLineEdit *box, QString fieldName)
    : QObject(box), m_box(box), m_fieldName(std::move(fieldName)), m_inForce(box->text())
{
    connect(box, &QLineEdit::textEdited, this, &NumberField::edited);
    connect(box, &QLineEdit::editingFinished, this, &NumberField::left);
}

QString NumberField::problem(const QString &text) const
{
    double value = 0.0;
    if (!NumberText::tryToDouble(text, &value))
        return tr("%1: \"%2\" is not a number; %3 stays in force.").arg(m_fieldName, text, m_inForce);
    if (!(value >= m_minimum && value <= m_maximum))
        return tr("%1: %2 is outside %3 to %4; %5 stays in force.")
            .arg(m_fieldName, text, NumberText::fromDouble(m_minimum), NumberText::fromDouble(m_maximum), m_inForce);
    return QString();
}

QString NumberField::takeRefusal()
{
    return std::exchange(m_lastRefusal, QString());
}

void NumberField::show(const QString &text)
{
    m_inForce = text;
    if (m_marked && m_box->hasFocus())
        return;
    mark(QString());
    Controls::showText(m_box, text);
}

void NumberField::edited(const QString &text)
{
    const QString reason = problem(text);
    m_lastRefusal = reason;
    mark(reason);
    if (!reason.isEmpty()) {
        emit refused(reason);
        return;
    }
    m_inForce = text;
    emit accepted(text);
}

void NumberField::left()
{
    // Enter or leaving the box: the refused text gives way to the value in force.
    if (!m_marked)
        return;
    mark(QString());
    Controls::showText(m_box, m_inForce);
}

void NumberField::mark(const QString &reason)
{
    const bool marked = !reason.isEmpty();
    m_box->setToolTip(reason);
    if (marked == m_marked)
        return;
    m_marked = marked;
    // A red frame on the box itself, so the caver sees which entry was refused.
    m_box->setStyleSheet(marked ? QStringLiteral("QLineEdit { border: 1px solid #d00000; background: #ffe4e4; }")
                                : QString());
}
