#include "widgets/TextValidator.h"

#include <QLineEdit>
#include <QToolTip>

TextValidator::TextValidator(Check check, QObject *parent) : QValidator(parent), m_check(std::move(check)) {}

QValidator::State TextValidator::validate(QString &input, int &) const
{
    const QString why = m_check(input);
    if (why.isEmpty())
        return Acceptable;
    emit refused(why);
    return Invalid;
}

TextValidator *TextValidator::attach(QLineEdit *edit, Check check)
{
    auto *validator = new TextValidator(std::move(check), edit);
    edit->setValidator(validator);
    QObject::connect(validator, &TextValidator::refused, edit, [edit](const QString &message) {
        QToolTip::showText(edit->mapToGlobal(QPoint(0, edit->height())), message, edit);
    });
    return validator;
}
