#include "survey/LabelSeries.h"

#include "survey/StationTable.h"

#include <QSet>

namespace LabelSeries {

namespace {

// Where the trailing ASCII number of a label starts; its size when it has none.
qsizetype numberStart(const QString &label)
{
    qsizetype start = label.size();
    while (start > 0 && label.at(start - 1).isDigit() && label.at(start - 1).unicode() < 128)
        --start;
    return start;
}

bool countingLetter(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'а' && c <= u'я') || (c >= u'А' && c <= u'Я');
}

// A letter after a number steps through its alphabet: "9a" -> "9b" (by +1) or "9b" -> "9a" (by -1).
QString letterStep(const QString &label, int by)
{
    const qsizetype n = label.size();
    if (n < 2 || !label.at(n - 2).isDigit())
        return QString();
    const char16_t c = label.at(n - 1).unicode();
    const char16_t stepped = char16_t(c + by);
    if (!countingLetter(c) || !countingLetter(stepped) || QChar(c).isUpper() != QChar(stepped).isUpper())
        return QString();
    return label.left(n - 1) + QChar(stepped);
}

} // namespace

QString next(const QString &label)
{
    const qsizetype start = numberStart(label);
    if (start == label.size())
        return letterStep(label, +1);
    QString digits = label.mid(start);
    // Add one from the right, carrying; a carry out of the first digit widens the number.
    qsizetype at = digits.size() - 1;
    while (at >= 0 && digits.at(at) == QChar('9'))
        digits[at--] = QChar('0');
    if (at < 0)
        digits.prepend(QChar('1'));
    else
        digits[at] = QChar(digits.at(at).unicode() + 1);
    return label.left(start) + digits;
}

QString previous(const QString &label)
{
    const qsizetype start = numberStart(label);
    if (start == label.size())
        return letterStep(label, -1);
    QString digits = label.mid(start);
    if (digits.count(QChar('0')) == digits.size())
        return QString(); // nothing below 0
    qsizetype at = digits.size() - 1;
    while (digits.at(at) == QChar('0'))
        digits[at--] = QChar('9');
    digits[at] = QChar(digits.at(at).unicode() - 1);
    // "10" -> "9", but "A01" keeps its width.
    if (digits.size() > 1 && digits.at(0) == QChar('0') && label.at(start) != QChar('0'))
        digits.remove(0, 1);
    return label.left(start) + digits;
}

QString proposed(const StationTable &table)
{
    int last = table.count() - 1;
    while (last >= 0 && table.at(last).label.isEmpty())
        --last;
    if (last < 0)
        return QString();
    const QString &label = table.at(last).label;
    const bool down = last > 0 && !table.at(last - 1).branchEnd && !label.isEmpty() && next(label) == table.at(last - 1).label;
    QSet<QString> used;
    for (int i = 0; i < table.count(); ++i)
        used.insert(table.at(i).label);
    QString candidate = down ? previous(label) : next(label);
    for (int tries = 0; tries < StationTable::TableSize && !candidate.isEmpty() && used.contains(candidate); ++tries)
        candidate = down ? previous(candidate) : next(candidate);
    return used.contains(candidate) ? QString() : candidate;
}

} // namespace LabelSeries
