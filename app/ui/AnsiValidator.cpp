#include "app/ui/AnsiValidator.h"

#include "app/AnsiText.h"

QValidator::State AnsiValidator::validate(QString &input, int &) const
{
    return AnsiText::canEncode(input) ? Acceptable : Invalid;
}
