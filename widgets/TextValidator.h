#pragma once

#include <QValidator>
#include <functional>

class QLineEdit;

// Refuses, as they are typed or pasted, texts a check finds fault with (characters the 8-bit code
// page cannot hold, a line break or another control character), so what is stored is exactly what
// the user sees. The edit keeps the text it had; refused() carries the check's message, which
// names the field.
class TextValidator : public QValidator
{
    Q_OBJECT
public:
    using Check = std::function<QString(const QString &)>; // the problem, empty when there is none

    TextValidator(Check check, QObject *parent);
    State validate(QString &input, int &pos) const override;

    // Puts a validator with the check on the edit, whose refusals show as a tip beside it.
    static TextValidator *attach(QLineEdit *edit, Check check);

signals:
    void refused(const QString &message) const;

private:
    Check m_check;
};
