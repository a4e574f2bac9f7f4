#include "output/CompassText.h"

#include "survey/AnsiText.h"

#include "survey/SafeLine.h"
#include "survey/StationNames.h"

#include <charconv>

namespace {

QByteArray fixed2(double value)
{
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value + 0.0, std::chars_format::fixed, 2);
    return result.ec == std::errc() ? QByteArray(buffer, int(result.ptr - buffer)) : QByteArray("0.00");
}

// Columns as Compass writes them: right-aligned numbers, each after a space.
QByteArray column(const QByteArray &value)
{
    return ' ' + value.rightJustified(8);
}

// A station's passage in the header's column order (left, up, down, right), in feet; an unknown or
// negative one is Compass's missing value.
QByteArray dimensionColumns(const PassageDimensions &d)
{
    QByteArray out;
    for (const std::optional<double> &metres : {d.left, d.up, d.down, d.right})
        out += column(metres && *metres >= 0.0 ? fixed2(*metres / CompassText::MetresPerFoot) : QByteArray(CompassText::MissingDimension));
    return out;
}

} // namespace

namespace CompassText {

SurveyText build(const StationTable &stations, const PlanNorths &planOrientation, const SurveyDetails &details)
{
    SurveyText text;
    const StationNames names(stations, NameRules::Compass);
    QList<QByteArray> &lines = text.lines;

    const auto line = [](const QByteArray &code) { return SafeLine(LineSyntax::Compass, code); };
    const bool named = !details.caveName.isEmpty();
    lines.append(named ? line("").text(details.caveName).bytes() : QByteArray("Survey"));
    lines.append("SURVEY NAME: " + (named ? StationNames::word(details.caveName, NameRules::Compass) : QByteArray("SURVEY")));
    // Month, day, year, as Compass orders them.
    const QByteArray date = details.date.isValid() ? details.date.toString(QStringLiteral("M d yyyy")).toLatin1()
                                                   : QByteArray("1 1 1900");
    lines.append(line("SURVEY DATE: " + date + "  COMMENT:").text(details.source).bytes());
    lines.append("SURVEY TEAM:");
    QStringList team;
    for (const TeamMember &member : details.team)
        team.append(member.name.simplified());
    lines.append(line("").text(team.join(QStringLiteral(", "))).bytes());
    const bool magnetic = details.north == NorthReference::Magnetic && !details.declinationFromDateAndPlace;
    lines.append("DECLINATION: " + fixed2(magnetic ? details.declinationDeg : 0.0) +
                 "  FORMAT: DDDDUDLRLADN  CORRECTIONS: 0.00 0.00 0.00");
    lines.append("");
    lines.append("FROM         TO             LENGTH  BEARING      INC     LEFT       UP     DOWN    RIGHT   COMMENTS");
    lines.append("");

    QSet<QByteArray> explained;
    const bool complete = SurveyText::visitLegs(
        stations, SurveyStyle::Angle, planOrientation, names, &text, [&](int j, const SurveyLeg *leg) {
            if (!leg)
                return; // Compass has no line for a station that starts a branch
            const Station &station = stations.at(j);
            QByteArray note = !station.comment.isEmpty() ? AnsiText::encode(station.comment) : QByteArray();
            const QByteArray changedNames = SurveyText::nameNotes(names, j - 1, j, &explained);
            note += (note.isEmpty() || changedNames.isEmpty() ? "" : "; ") + changedNames;
            // A plumbed leg has no bearing; Survex warns of one given, so it is written as 0.
            const QByteArray inclination = fixed2(leg->Vertical);
            const bool plumbed = inclination == "90.00" || inclination == "-90.00";
            SafeLine legLine = line(names.name(j - 1).leftJustified(StationNames::CompassLimit) + ' ' +
                                    names.name(j).leftJustified(StationNames::CompassLimit) +
                                    column(fixed2(leg->Tape / MetresPerFoot)) +
                                    column(fixed2(plumbed ? 0.0 : leg->Compass)) + column(inclination));
            legLine.code(dimensionColumns(stations.at(j - 1).dimensions));
            if (!note.isEmpty())
                legLine.code("  ").comment(note);
            lines.append(legLine.bytes());
            // A shot's dimensions are its first station's, so the last station of a traverse has
            // them on a shot of no length to itself, as Compass does.
            const bool traverseEnds = j + 1 >= stations.count() || !stations.hasLegBefore(j + 1);
            if (traverseEnds && SurveyText::hasWrittenDimensions(station))
                lines.append(line(names.name(j).leftJustified(StationNames::CompassLimit) + ' ' +
                                  names.name(j).leftJustified(StationNames::CompassLimit) + column("0.00") +
                                  column("0.00") + column("0.00") + dimensionColumns(station.dimensions))
                                 .bytes());
        });
    if (complete)
        lines.append("\f");
    return text;
}

} // namespace CompassText
