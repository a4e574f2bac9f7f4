#include "output/TherionText.h"

#include "app/AnsiText.h"
#include "output/StationNames.h"

namespace {

QByteArray oneLine(QByteArray bytes)
{
    bytes.replace('\r', ' ');
    bytes.replace('\n', ' ');
    return bytes;
}

QByteArray quoted(const QString &text)
{
    return '"' + oneLine(AnsiText::encode(text)) + '"';
}

// Therion's person is "first names/surname"; a name of more than two words needs the "/" to say
// where the surname starts.
QByteArray person(const QString &name)
{
    QStringList words = name.simplified().split(QLatin1Char(' '));
    if (words.size() > 2) {
        const QString surname = words.takeLast();
        return quoted(words.join(QLatin1Char(' ')) + QLatin1Char('/') + surname);
    }
    return quoted(words.join(QLatin1Char(' ')));
}

} // namespace

namespace TherionText {

SurveyText build(const StationTable &stations, SurveyStyle style, double planOrientation, const SurveyDetails &details)
{
    SurveyText text;
    const StationNames names(stations, NameRules::Therion);
    const QByteArray entrance = details.entrance.isEmpty() ? QByteArray() : names.nameOf(details.entrance);
    const QByteArray survey =
        details.caveName.isEmpty() ? QByteArray("cave") : StationNames::word(details.caveName, NameRules::Therion);
    QList<QByteArray> &lines = text.lines;

    lines.append("encoding cp1251");
    if (!details.source.isEmpty())
        lines.append("# scans: " + oneLine(AnsiText::encode(details.source)));
    QByteArray head = "survey " + survey;
    if (!details.caveName.isEmpty())
        head += " -title " + quoted(details.caveName);
    if (!entrance.isEmpty())
        head += " -entrance " + entrance;
    lines.append(head);
    lines.append("  centreline");
    const QByteArray in = "    ";
    if (details.date.isValid())
        lines.append(in + "date " + details.date.toString(QStringLiteral("yyyy.MM.dd")).toLatin1());
    for (const TeamMember &member : details.team) {
        const QByteArray roles = member.roles.join(QLatin1Char(' ')).toLatin1();
        lines.append(in + "team " + person(member.name) + (roles.isEmpty() ? "" : " " + roles));
    }
    const QPair<const char *, QString> instruments[] = {
        {"tape", details.tapeInstrument}, {"compass", details.compassInstrument}, {"clino", details.clinoInstrument}};
    for (const auto &[quantity, name] : instruments) {
        if (!name.isEmpty())
            lines.append(in + "instrument " + quantity + ' ' + quoted(name));
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
        lines.append(in + "# the entrance " + quoted(details.entrance) + " is not a station of this survey");
    }
    // With no declination given, Therion computes one from the date and the fixed coordinates;
    // a grid angle needs a coordinate system.
    if (details.north == NorthReference::Magnetic && !details.declinationFromDateAndPlace)
        lines.append(in + "declination " + SurveyText::shortestNumber(details.declinationDeg) + " degrees");
    else if (details.north == NorthReference::True)
        lines.append(in + "declination 0 degrees");
    else if (details.north == NorthReference::Grid && details.entranceHasCoordinates)
        lines.append(in + "grid-angle 0 degrees");
    lines.append(in + (style == SurveyStyle::DepthChange ? "data diving from to length compass depthchange"
                                                        : "data normal from to length compass clino"));

    QSet<QByteArray> explained;
    const bool complete =
        SurveyText::visitLegs(stations, style, planOrientation, names, &text, [&](int j, const SurveyLeg *leg) {
            const Station &station = stations.at(j);
            QByteArray note = hasComment(station) ? oneLine(commentBytes(station)) : QByteArray();
            if (!leg) {
                // A new branch has no leg line; only its comment survives.
                if (!note.isEmpty())
                    lines.append(in + "# " + note);
                return;
            }
            const QByteArray changedNames = SurveyText::nameNotes(names, j - 1, j, &explained);
            note += (note.isEmpty() || changedNames.isEmpty() ? "" : "; ") + changedNames;
            QByteArray line = in + names.name(j - 1) + '\t' + names.name(j) + '\t' + SurveyText::legValues(*leg);
            if (!note.isEmpty())
                line += "# " + note;
            lines.append(line);
        });
    if (complete) {
        lines.append("  endcentreline");
        lines.append("endsurvey");
    }
    return text;
}

} // namespace TherionText
