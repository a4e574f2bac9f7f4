#pragma once

#include <QValidator>

// A number entry box's check as the user types: characters that can never make a number (a
// letter, a second sign) are refused, and refused() says what the field takes; a text on its way
// to a number ("", "-", "4.5e") or a number out of range stays, and reason() says why it is not a
// value yet. Numbers are read as NumberText reads them, with "." or ",".
class NumberValidator : public QValidator
{
    Q_OBJECT
public:
    // field is the field's name as a sentence starts with it ("The easting").
    NumberValidator(const QString &field, double minimum, double maximum, bool whole, QObject *parent);
    State validate(QString &input, int &pos) const override;

    // Why text is not a value of the field, naming it; empty when it is one.
    QString reason(const QString &text) const;

signals:
    void refused(const QString &message) const;

private:
    QString m_field;
    double m_minimum;
    double m_maximum;
    bool m_whole;
};
