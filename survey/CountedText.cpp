#include "survey/CountedText.h"

#include <QCoreApplication>

QString countedText(const char *context, const char *many, const char *one, qsizetype n)
{
    const QString english = QString::fromUtf8(n == 1 ? one : many).replace(QLatin1String("%n"), QString::number(n));
    const QString translated = QCoreApplication::translate(context, many, nullptr, int(n));
    // With no translation the plural text comes back as it is written, %n filled in.
    const QString untranslated = QString::fromUtf8(many).replace(QLatin1String("%n"), QString::number(n));
    return translated == untranslated ? english : translated;
}
