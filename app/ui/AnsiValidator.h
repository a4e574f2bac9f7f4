#pragma once

#include <QValidator>

// Refuses, as they are typed or pasted, characters that the 8-bit code page of the station
// fields cannot hold, so what is stored is exactly what the user sees.
class AnsiValidator : public QValidator
{
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};
