#include "output/TherionText.h"

#include "output/ProfileFolds.h"
#include "survey/AnsiText.h"

#include "survey/SafeLine.h"
#include "survey/StationNames.h"

#include <algorithm>

namespace {

// Therion's person is "first names/surname". Without a "/" it takes one or two words, and a word
// that starts with "#" or "[" is a comment or a list to it; any other name is written with the
// "/" before its last word. A name with a "/" is written as it is (the details' check allows one).
QString person(const QString &name)
{
    const QString simple = name.simplified();
    if (simple.contains(QLatin1Char('/')))
        return simple;
    QStringList words = simple.split(QLatin1Char(' '));
    const bool plain = words.size() <= 2 && std::none_of(words.cbegin(), words.cend(), [](const QString &word) {
                           return word.startsWith(QLatin1Char('#')) || word.startsWith(QLatin1Char('['));
                       });
    if (plain)
        return simple;
    const QString surname = words.takeLast();
    return words.join(QLatin1Char(' ')) + QLatin1Char('/') + surname;
}

} // namespace

namespace TherionText {

SurveyText build(const StationTable &stations, SurveyStyle style, const PlanNorths &planOrientation, const SurveyDetails &details,
                 ProfileKind profile)
{
    SurveyText text;
    const StationNames names(stations, NameRules::Therion);
    const QByteArray entrance = details.entrance.isEmpty() ? QByteArray() : names.nameOf(details.entrance);
    const QByteArray survey =
        details.caveName.isEmpty() ? QByteArray("cave") : StationNames::word(details.caveName, NameRules::Therion);
    QList<QByteArray> &lines = text.lines;

    const auto line = [](const QByteArray &code) { return SafeLine(LineSyntax::Therion, code); };
    lines.append("encoding cp1251");
    if (!details.source.isEmpty())
        lines.append(line("# scans: ").text(details.source).bytes());
    SafeLine head = line("survey " + survey);
    if (!details.caveName.isEmpty())
        head.code(" -title ").quoted(details.caveName);
    if (!entrance.isEmpty())
        head.code(" -entrance " + entrance);
    lines.append(head.bytes());
    lines.append("  centreline");
    const QByteArray in = "    ";
    if (details.date.isValid())
        lines.append(in + "date " + details.date.toString(QStringLiteral("yyyy.MM.dd")).toLatin1());
    for (const TeamMember &member : details.team) {
        const QByteArray roles = member.roles.join(QLatin1Char(' ')).toLatin1();
        lines.append(line(in + "team ").quoted(person(member.name)).code(roles.isEmpty() ? "" : " " + roles).bytes());
    }
    const QPair<const char *, QString> instruments[] = {
        {"tape", details.tapeInstrument}, {"compass", details.compassInstrument}, {"clino", details.clinoInstrument}};
    for (const auto &[quantity, name] : instruments) {
        if (!name.isEmpty())
            lines.append(line(in + "instrument " + quantity + ' ').quoted(name).bytes());
    }
    if (details.entranceHasCoordinates)
        lines.append(in + "cs EPSG:" + QByteArray::number(details.epsgCode));
    if (!entrance.isEmpty()) {
        // Therion's fix always takes three coordinates.
        const bool known = details.entranceHasCoordinates;
        lines.append(in + "fix " + entrance + ' ' + SurveyText::shortestNumber(known ? details.entranceEast : 0.0) + ' ' +
                     SurveyText::shortestNumber(known ? details.entranceNorth : 0.0) + ' ' +
                     SurveyText::shortestNumber(known ? details.entranceAltitude : 0.0));
        lines.append(in + "station " + entrance + " \"\" entrance");
    } else if (!details.entrance.isEmpty()) {
        lines.append(line(in + "# the entrance ").quoted(details.entrance).code(" is not a station of this survey").bytes());
    }
    // With no declination given, Therion computes one from the date and the fixed coordinates;
    // a grid angle needs a coordinate system.
    if (details.north == NorthReference::Magnetic && !details.declinationFromDateAndPlace)
        lines.append(in + "declination " + SurveyText::shortestNumber(details.declinationDeg) + " degrees");
    else if (details.north == NorthReference::True)
        lines.append(in + "declination 0 degrees");
    else if (details.north == NorthReference::Grid && details.entranceHasCoordinates)
        lines.append(in + "grid-angle 0 degrees");
    const QByteArray legData = style == SurveyStyle::DepthChange ? QByteArray("data diving from to length compass depthchange")
                                                                 : QByteArray("data normal from to length compass clino");
    lines.append(in + legData);

    // The dimensions of each traverse follow its legs; the legs' data line comes back before any
    // further legs.
    int traverseStart = 0;
    bool legDataChanged = false;
    const auto endTraverse = [&](int last) {
        const QList<QByteArray> passage = SurveyText::passageLines(stations, names, traverseStart, last, LineSyntax::Therion,
                                                                   in, "data dimensions station left right up down");
        lines += passage;
        legDataChanged = legDataChanged || !passage.isEmpty();
    };

    QSet<QByteArray> explained;
    const bool complete =
        SurveyText::visitLegs(stations, style, planOrientation, names, &text, [&](int j, const SurveyLeg *leg) {
            const Station &station = stations.at(j);
            QByteArray note = !station.comment.isEmpty() ? AnsiText::encode(station.comment) : QByteArray();
            if (!leg) {
                endTraverse(j - 1);
                traverseStart = j;
                // A new branch has no leg line; only its comment survives.
                if (!note.isEmpty())
                    lines.append(line(in + "# ").comment(note).bytes());
                return;
            }
            const QByteArray changedNames = SurveyText::nameNotes(names, j - 1, j, &explained);
            note += (note.isEmpty() || changedNames.isEmpty() ? "" : "; ") + changedNames;
            if (legDataChanged) {
                lines.append(in + legData);
                legDataChanged = false;
            }
            SafeLine legLine = line(in + names.name(j - 1) + '\t' + names.name(j) + '\t' + SurveyText::legValues(*leg));
            if (!note.isEmpty())
                legLine.code("# ").comment(note);
            lines.append(legLine.bytes());
        });
    if (complete && stations.count() > 0)
        endTraverse(stations.count() - 1);
    if (complete && profile == ProfileKind::Extended) {
        const ProfileFolds folds = ProfileFolds::of(stations, names, NameRules::Therion, details.entrance);
        if (folds.needsTelling()) {
            const auto side = [](ProfileSide way) { return way == ProfileSide::Left ? QByteArray("left ") : QByteArray("right "); };
            lines.append(in + "# the extended profile as drawn");
            lines.append(in + "extend start " + names.name(folds.start));
            for (const FoldedLeg &leg : folds.legs) {
                const QByteArray from = names.name(leg.from);
                const QByteArray to = names.name(leg.to);
                if (leg.closesLoop) {
                    lines.append(in + "extend ignore " + to + ' ' + from);
                    lines.append(in + "extend ignore " + from + ' ' + to);
                    if (leg.drawn)
                        lines.append(in + "extend " + side(*leg.drawn) + from + ' ' + to);
                } else if (leg.turns()) {
                    lines.append(in + "extend " + side(*leg.drawn) + to);
                }
            }
        }
    }
    if (complete) {
        lines.append("  endcentreline");
        lines.append("endsurvey");
    }
    return text;
}

} // namespace TherionText
