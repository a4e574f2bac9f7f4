#include "TraceLabels.h"

#include <QHash>
#include <algorithm>

namespace TraceLabels {

namespace {

// The letters stations are lettered with, in order. Russian surveyors skip Ё, Й and the signs.
const QString Alphabets[] = {
    QStringLiteral("abcdefghijklmnopqrstuvwxyz"),
    QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"),
    QStringLiteral("абвгдежзиклмнопрстуфхцчшщэюя"),
    QStringLiteral("АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЩЭЮЯ"),
};

// Capitals (and a few small letters) that print alike in Latin and Cyrillic, pair by pair.
const QString LatinLookalikes = QStringLiteral("ABCEHKMOPTXaceopxy");
const QString CyrillicLookalikes = QStringLiteral("АВСЕНКМОРТХасеорху");

// Letters that start labels and the digits they are misread as.
const QHash<QChar, QChar> DigitLookalikes = {
    {QChar(u'S'), QChar(u'5')}, {QChar(u'O'), QChar(u'0')}, {QChar(u'B'), QChar(u'8')}, {QChar(u'I'), QChar(u'1')},
    {QChar(u'Z'), QChar(u'2')}, {QChar(u'З'), QChar(u'3')}, {QChar(u'Б'), QChar(u'6')}, {QChar(u'О'), QChar(u'0')},
    {QChar(u'G'), QChar(u'6')}, {QChar(u'T'), QChar(u'7')}, {QChar(u'A'), QChar(u'4')}, {QChar(u'Ч'), QChar(u'4')},
};

bool isCyrillic(QChar c) { return c.unicode() >= 0x0400 && c.unicode() <= 0x04ff; }
bool isLatin(QChar c) { return c.unicode() < 0x80 && c.isLetter(); }

std::optional<QString> steppedLetter(const QString &head, QChar letter, int steps)
{
    for (const QString &alphabet : Alphabets) {
        const int at = int(alphabet.indexOf(letter));
        if (at < 0)
            continue;
        const long long to = (long long)at + steps;
        if (to < 0 || to >= alphabet.size())
            return std::nullopt;
        return head + alphabet[int(to)];
    }
    return std::nullopt;
}

// Letters that print alike in the script most readings use.
QStringList inScriptOfMost(const QStringList &readings)
{
    int latin = 0, cyrillic = 0;
    for (const QString &text : readings)
        for (QChar c : text) {
            if (LatinLookalikes.contains(c) || CyrillicLookalikes.contains(c))
                continue;
            latin += isLatin(c);
            cyrillic += isCyrillic(c);
        }
    const bool toCyrillic = cyrillic > latin;
    const QString &from = toCyrillic ? LatinLookalikes : CyrillicLookalikes;
    const QString &to = toCyrillic ? CyrillicLookalikes : LatinLookalikes;
    QStringList written;
    for (QString text : readings) {
        for (QChar &c : text) {
            const qsizetype at = from.indexOf(c);
            if (at >= 0)
                c = to[at];
        }
        written << text;
    }
    return written;
}

} // namespace

std::optional<QString> stepped(const QString &label, int steps)
{
    const QString text = label.trimmed();
    qsizetype end = text.size();
    while (end > 0 && !text[end - 1].isDigit())
        --end;
    if (end == 0)
        return std::nullopt;
    qsizetype start = end;
    while (start > 0 && text[start - 1].isDigit())
        --start;
    const QString digits = text.mid(start, end - start), tail = text.mid(end);
    if (tail.size() == 1 && tail[0].isLetter())
        return steppedLetter(text.left(end), tail[0], steps);
    if (digits.size() > 9)
        return std::nullopt;
    const long long number = digits.toLongLong() + steps;
    if (number < 0)
        return std::nullopt;
    QString counted = QString::number(number);
    if (digits.size() > 1 && digits[0] == QLatin1Char('0') && counted.size() < digits.size())
        counted = QString(digits.size() - counted.size(), QLatin1Char('0')) + counted;
    return text.left(start) + counted + tail;
}

int direction(const QString &from, const QString &to)
{
    if (stepped(from, 1) == to.trimmed())
        return 1;
    if (stepped(from, -1) == to.trimmed())
        return -1;
    return 0;
}

std::optional<QString> next(const QStringList &labels)
{
    if (labels.isEmpty())
        return std::nullopt;
    const int way = labels.size() >= 2 ? direction(labels[labels.size() - 2], labels.last()) : 0;
    return stepped(labels.last(), way == -1 ? -1 : 1);
}

QStringList inOneScript(const QStringList &readings)
{
    const QStringList scripted = inScriptOfMost(readings);
    // The letters most labels start with: a reading that starts with their lookalike digit
    // (5 for S, 0 for O, 8 for B, 3 for З) instead is the same label misread.
    QHash<QString, int> heads;
    for (const QString &text : scripted) {
        qsizetype digit = 0;
        while (digit < text.size() && !text[digit].isDigit())
            ++digit;
        if (digit > 0 && digit < text.size())
            ++heads[text.left(digit)];
    }
    QString head;
    int most = 0;
    for (auto it = heads.cbegin(); it != heads.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            head = it.key();
        }
    if (head.size() != 1 || most < 2 || most * 6 < scripted.size())
        return scripted;
    const QChar lookalike = DigitLookalikes.value(head[0]);
    QStringList written;
    for (QString text : scripted) {
        if (!lookalike.isNull() && text.size() >= 2 && text[0] == lookalike && text[1].isDigit())
            text[0] = head[0];
        written << text;
    }
    return written;
}

std::vector<Settled> settle(const std::vector<Reading> &readings, double trusted)
{
    const size_t count = readings.size();
    std::vector<Settled> settled(count);
    std::vector<bool> good(count);
    for (size_t i = 0; i < count; ++i) {
        settled[i].label = readings[i].text.trimmed();
        good[i] = readings[i].confidence >= trusted && stepped(settled[i].label, 1).has_value();
    }
    // The way the series runs: what most pairs of trusted neighbours say.
    int up = 0, down = 0;
    for (size_t i = 0; i + 1 < count; ++i)
        if (good[i] && good[i + 1]) {
            const int way = direction(settled[i].label, settled[i + 1].label);
            up += way == 1;
            down += way == -1;
        }
    const int way = down > up ? -1 : 1;
    // Readings a neighbour agrees with hold the series; without any, a lone trusted one does.
    std::vector<bool> anchor(count);
    bool anyAnchor = false;
    for (size_t i = 0; i < count; ++i) {
        const bool afterLeft = i > 0 && good[i - 1] && stepped(settled[i - 1].label, way) == settled[i].label;
        const bool beforeRight = i + 1 < count && good[i + 1] && stepped(settled[i].label, way) == settled[i + 1].label;
        anchor[i] = good[i] && (afterLeft || beforeRight);
        anyAnchor = anyAnchor || anchor[i];
    }
    if (!anyAnchor)
        anchor = good;
    const auto first = std::find(anchor.begin(), anchor.end(), true);
    if (first == anchor.end()) {
        for (Settled &s : settled)
            s.forALook = true;
        return settled;
    }
    const size_t from = size_t(first - anchor.begin());
    for (size_t i = from; i-- > 0;) {
        const std::optional<QString> before = stepped(settled[i + 1].label, -way);
        if (before)
            settled[i].label = *before;
        settled[i].forALook = true;
    }
    for (size_t i = from + 1; i < count; ++i) {
        const std::optional<QString> expected = stepped(settled[i - 1].label, way);
        if (good[i] && expected == settled[i].label)
            continue;
        // A trusted reading that starts a series of its own (a neighbour agrees) is kept, for a look.
        if (anchor[i] || !expected) {
            settled[i].forALook = true;
            continue;
        }
        settled[i].label = *expected;
        settled[i].forALook = true;
    }
    return settled;
}

} // namespace TraceLabels
