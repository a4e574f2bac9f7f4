#include "survey/StationNames.h"

#include "survey/AnsiText.h"
#include "survey/SafeLine.h"

#include <QSet>

namespace {

bool isWordCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
}

bool readsAsIs(const QByteArray &name, NameRules rules)
{
    if (rules == NameRules::AsStored)
        return true;
    if (name.isEmpty())
        return false;
    for (char c : name) {
        if (!isWordCharacter(c))
            return false;
    }
    if (rules == NameRules::Survex)
        return true;
    // Therion takes a leading "-" for an option or a splay; Compass keeps 12 characters.
    return name.front() != '-' && (rules == NameRules::Therion || name.size() <= StationNames::CompassLimit);
}

// Upper-case Cyrillic letters of Windows-1251 and their GOST 7.79-2000 system B spelling without
// the ` and ' marks (so Ъ and Ь fall away, Ы is Y and Э is E).
struct Letter
{
    char16_t cyrillic;
    const char *latin;
};
const Letter Letters[] = {
    {u'А', "A"},  {u'Б', "B"},   {u'В', "V"},  {u'Г', "G"},  {u'Д', "D"},  {u'Е', "E"},  {u'Ё', "Yo"},
    {u'Ж', "Zh"}, {u'З', "Z"},   {u'И', "I"},  {u'Й', "J"},  {u'К', "K"},  {u'Л', "L"},  {u'М', "M"},
    {u'Н', "N"},  {u'О', "O"},   {u'П', "P"},  {u'Р', "R"},  {u'С', "S"},  {u'Т', "T"},  {u'У', "U"},
    {u'Ф', "F"},  {u'Х', "X"},   {u'Ц', "Cz"}, {u'Ч', "Ch"}, {u'Ш', "Sh"}, {u'Щ', "Shh"}, {u'Ъ', ""},
    {u'Ы', "Y"},  {u'Ь', ""},    {u'Э', "E"},  {u'Ю', "Yu"}, {u'Я', "Ya"},
    // Ukrainian, Belarusian, Serbian and Macedonian letters of the code page.
    {u'Ґ', "G"},  {u'Є', "Ye"},  {u'І', "I"},  {u'Ї', "Yi"}, {u'Ў', "U"},  {u'Ђ', "Dj"}, {u'Ѓ', "G"},
    {u'Ѕ', "Z"},  {u'Ј', "J"},   {u'Љ', "L"},  {u'Њ', "N"},  {u'Ќ', "K"},  {u'Ћ', "C"},  {u'Џ', "Dh"},
};

QByteArray withSuffix(const QByteArray &base, int number, NameRules rules)
{
    const QByteArray suffix = '_' + QByteArray::number(number);
    if (rules == NameRules::Compass)
        return base.left(StationNames::CompassLimit - suffix.size()) + suffix;
    return base + suffix;
}

} // namespace

bool StationNames::transliterate(QChar letter, QByteArray *latin)
{
    const QChar upper = letter.toUpper();
    for (const Letter &entry : Letters) {
        if (upper.unicode() != entry.cyrillic)
            continue;
        *latin = QByteArray(entry.latin);
        if (letter != upper)
            *latin = latin->toLower();
        return true;
    }
    return false;
}

QByteArray StationNames::word(const QString &text, NameRules rules)
{
    if (rules == NameRules::AsStored)
        return AnsiText::encode(text);
    QByteArray out;
    for (const QChar c : text) {
        if (c.unicode() < 128 && isWordCharacter(char(c.unicode())))
            out += char(c.unicode());
        else if (QByteArray latin; transliterate(c, &latin))
            out += latin;
        else
            out += '_';
    }
    if (out.isEmpty())
        out = "_";
    if (rules != NameRules::Survex && out.front() == '-')
        out[0] = '_';
    if (rules == NameRules::Compass)
        out.truncate(CompassLimit);
    return out;
}

StationNames::StationNames(const StationTable &stations, NameRules rules)
{
    const int count = stations.count();
    m_stored.reserve(count);
    QVector<QByteArray> distinct; // stored names in the order they first appear
    for (int i = 0; i < count; ++i) {
        const QByteArray stored = StationNames::stored(stations.at(i), i);
        m_stored.append(stored);
        if (!m_byStored.contains(stored)) {
            m_byStored.insert(stored, QByteArray());
            distinct.append(stored);
        }
    }
    // Names the target reads keep their place first, so no changed name takes it from them.
    QSet<QByteArray> taken;
    for (const QByteArray &stored : distinct) {
        if (readsAsIs(stored, rules)) {
            m_byStored[stored] = stored;
            taken.insert(stored.toLower());
        }
    }
    for (const QByteArray &stored : distinct) {
        if (readsAsIs(stored, rules))
            continue;
        const QByteArray base = word(AnsiText::decode(stored), rules);
        QByteArray candidate = base;
        for (int number = 2; taken.contains(candidate.toLower()); ++number)
            candidate = withSuffix(base, number, rules);
        taken.insert(candidate.toLower());
        m_byStored[stored] = candidate;
    }
    m_names.reserve(count);
    for (const QByteArray &stored : m_stored)
        m_names.append(m_byStored.value(stored));
}

QByteArray StationNames::nameOf(const QString &stored) const
{
    return m_byStored.value(AnsiText::encode(stored));
}

QByteArray StationNames::stored(const Station &station, int index)
{
    return station.label.isEmpty() ? QByteArray::number(index) : SafeLine::oneLine(AnsiText::encode(station.label));
}
