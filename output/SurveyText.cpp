#include "output/SurveyText.h"

#include "survey/AnsiText.h"
#include "survey/CommandError.h"
#include "survey/SafeLine.h"
#include "survey/StationNames.h"

#include <QSet>
#include <charconv>
#include <string_view>

namespace {

void appendFixed2(QByteArray &out, double value)
{
    // std::to_chars never looks at the locale (the C library's printf does once the application
    // has set the system's), and rounds as "%.2f" does. A value that rounds to zero is written
    // "0.00" whatever its sign: "-0.00" reads as a mistake.
    char buffer[400]; // room for the largest double in fixed notation
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value + 0.0, std::chars_format::fixed, 2);
    if (result.ec != std::errc())
        return;
    const char *start = buffer;
    if (std::string_view(buffer, size_t(result.ptr - buffer)) == "-0.00")
        ++start;
    out.append(start, int(result.ptr - start));
}

QList<QByteArray> headerLines(SurveyFormat format, SurveyStyle style)
{
    const bool depth = style == SurveyStyle::DepthChange;
    switch (format) {
    case SurveyFormat::LumaroLabel:
        return depth ? QList<QByteArray>{"#label", "#fall"} : QList<QByteArray>{"#label"};
    case SurveyFormat::LumaroFromTo:
        return depth ? QList<QByteArray>{"#from_to", "#fall"} : QList<QByteArray>{"#from_to"};
    case SurveyFormat::Survex:
        // Style Angle keeps Survex's default reading order: from, to, tape, compass, clino.
        return depth ? QList<QByteArray>{"*begin", "*data diving from to tape compass depthchange"}
                     : QList<QByteArray>{"*begin"};
    }
    return {};
}

// The Survex commands for the details, in an order the manual allows: *title, then *date, *team,
// *instrument and *ref (valid only at the start of a block), the coordinate systems before
// anything positioned in them, the declination before the legs, then the entrance.
QList<QByteArray> survexDetailLines(const SurveyDetails &details, const StationNames &names)
{
    const auto line = [](const QByteArray &code) { return SafeLine(LineSyntax::Survex, code); };
    QList<QByteArray> lines;
    if (!details.caveName.isEmpty())
        lines.append(line("*title ").quoted(details.caveName).bytes());
    if (details.date.isValid())
        lines.append("*date " + details.date.toString(QStringLiteral("yyyy.MM.dd")).toLatin1());
    for (const TeamMember &member : details.team) {
        const QByteArray roles = member.roles.join(QLatin1Char(' ')).toLatin1();
        lines.append(line("*team ").quoted(member.name).code(roles.isEmpty() ? "" : ' ' + roles).bytes());
    }
    const QPair<const char *, QString> instruments[] = {
        {"tape", details.tapeInstrument}, {"compass", details.compassInstrument}, {"clino", details.clinoInstrument}};
    for (const auto &[quantity, name] : instruments) {
        if (!name.isEmpty())
            lines.append(line(QByteArray("*instrument ") + quantity + ' ').quoted(name).bytes());
    }
    if (!details.source.isEmpty())
        lines.append(line("*ref ").quoted(details.source).bytes());
    const QByteArray position = SurveyText::shortestNumber(details.entranceEast) + ' ' +
                                SurveyText::shortestNumber(details.entranceNorth) + ' ' +
                                SurveyText::shortestNumber(details.entranceAltitude);
    if (details.entranceHasCoordinates) {
        const QByteArray system = "EPSG:" + QByteArray::number(details.epsgCode);
        lines.append("*cs " + system);
        lines.append("*cs out " + system);
    }
    // True and grid bearings need no correction: Survex's own north is then the drawing's.
    if (details.north == NorthReference::Magnetic) {
        if (details.declinationFromDateAndPlace)
            lines.append("*declination auto " + position);
        else if (details.declinationDeg != 0.0)
            lines.append("*declination " + SurveyText::shortestNumber(details.declinationDeg) + " degrees");
    }
    if (!details.entrance.isEmpty()) {
        const QByteArray entrance = names.nameOf(details.entrance);
        if (entrance.isEmpty()) {
            lines.append(line("; the entrance ").quoted(details.entrance).code(" is not a station of this survey").bytes());
        } else {
            lines.append("*fix " + entrance + (details.entranceHasCoordinates ? ' ' + position : QByteArray()));
            lines.append("*entrance " + entrance);
        }
    }
    return lines;
}

} // namespace

QByteArray SurveyText::survexBlock(const SurveyDetails &details)
{
    return details.caveName.isEmpty() ? QByteArray() : StationNames::word(details.caveName, NameRules::Survex);
}

QByteArray SurveyText::legValues(const SurveyLeg &leg)
{
    QByteArray out;
    for (double value : {leg.Tape, leg.Compass, leg.Vertical}) {
        appendFixed2(out, value);
        out.append('\t');
    }
    return out;
}

QByteArray SurveyText::stationName(const Station &station, int index)
{
    return StationNames::stored(station, index);
}

QByteArray SurveyText::shortestNumber(double value)
{
    char buffer[400]; // room for the largest double in fixed notation
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value + 0.0, std::chars_format::fixed);
    return result.ec == std::errc() ? QByteArray(buffer, int(result.ptr - buffer)) : QByteArray("0");
}

QByteArray SurveyText::dimensionValue(const std::optional<double> &metres)
{
    if (!metres || !(*metres >= 0.0))
        return QByteArray("-");
    QByteArray out;
    appendFixed2(out, *metres);
    return out;
}

bool SurveyText::hasWrittenDimensions(const Station &station)
{
    const PassageDimensions &d = station.dimensions;
    return dimensionValue(d.left) != "-" || dimensionValue(d.right) != "-" || dimensionValue(d.up) != "-"
        || dimensionValue(d.down) != "-";
}

QList<QByteArray> SurveyText::passageLines(const StationTable &stations, const StationNames &names, int first,
                                           int last, LineSyntax syntax, const QByteArray &indent,
                                           const QByteArray &dataLine)
{
    QList<QByteArray> lines;
    bool inRun = false;
    for (int k = first; k <= last && k < stations.count(); ++k) {
        const Station &station = stations.at(k);
        if (!hasWrittenDimensions(station)) {
            inRun = false;
            continue;
        }
        if (!inRun)
            lines.append(indent + dataLine);
        inRun = true;
        const PassageDimensions &d = station.dimensions;
        lines.append(SafeLine(syntax, indent)
                         .text(names.name(k))
                         .code('\t' + dimensionValue(d.left) + '\t' + dimensionValue(d.right) + '\t'
                               + dimensionValue(d.up) + '\t' + dimensionValue(d.down))
                         .bytes());
    }
    return lines;
}

QByteArray SurveyText::nameNotes(const StationNames &names, int from, int to, QSet<QByteArray> *explained)
{
    QByteArray notes;
    for (int k : {from, to}) {
        if (!names.changed(k) || explained->contains(names.name(k)))
            continue;
        explained->insert(names.name(k));
        notes += (notes.isEmpty() ? "" : "; ") + names.name(k) + " = " + names.storedName(k);
    }
    return notes;
}

bool SurveyText::visitLegs(const StationTable &stations, SurveyStyle style, const PlanNorths &planOrientation,
                           const StationNames &names, SurveyText *text,
                           const std::function<void(int, const SurveyLeg *)> &visit)
{
    for (int j = 1; j < stations.count(); ++j) {
        if (!stations.hasLegBefore(j)) {
            visit(j, nullptr);
            continue;
        }
        SurveyLeg leg;
        try {
            leg = ComputeLeg(stations.at(j - 1), stations.at(j), planOrientation.of(stations.at(j - 1).planSheet), style);
        } catch (const CommandError &error) {
            text->error = error.message();
            text->failedFrom = j - 1;
            text->failedTo = j;
            text->failedFromName = AnsiText::decode(names.name(j - 1));
            text->failedToName = AnsiText::decode(names.name(j));
            return false;
        }
        visit(j, &leg);
    }
    return true;
}

SurveyText SurveyText::build(const StationTable &stations, SurveyFormat format, SurveyStyle style,
                             const PlanNorths &planOrientation)
{
    return build(stations, format, style, planOrientation, SurveyDetails());
}

SurveyText SurveyText::build(const StationTable &stations, SurveyFormat format, SurveyStyle style,
                             const PlanNorths &planOrientation, const SurveyDetails &details)
{
    SurveyText text;
    const int count = stations.count();
    const bool survex = format == SurveyFormat::Survex;
    const StationNames names(stations, survex ? NameRules::Survex : NameRules::AsStored);
    const QByteArray block = survex ? survexBlock(details) : QByteArray();
    text.lines = headerLines(format, style);
    if (survex) {
        if (!block.isEmpty())
            text.lines.first() += ' ' + block;
        // Survex takes the date, team, instruments and reference only at the start of a block.
        text.lines = text.lines.mid(0, 1) + survexDetailLines(details, names) + text.lines.mid(1);
    }
    QSet<QByteArray> explained; // changed names whose label a comment has given
    const LineSyntax syntax = survex ? LineSyntax::Survex : LineSyntax::Lumaro;

    if (format == SurveyFormat::LumaroLabel) {
        // Station 0 always has a line, even in an empty table; it never carries " #end".
        SafeLine first(syntax);
        if (count > 0 && !stations.at(0).label.isEmpty())
            first.code(" ^").text(AnsiText::encode(stations.at(0).label));
        if (count > 0 && !stations.at(0).comment.isEmpty())
            first.code(" ; ").comment(AnsiText::encode(stations.at(0).comment));
        text.lines.append(first.bytes());
    }

    // Survex's passage data follows the legs of each traverse; the legs' data line comes back
    // before any further legs.
    const QByteArray legData = style == SurveyStyle::DepthChange ? QByteArray("*data diving from to tape compass depthchange")
                                                                 : QByteArray("*data normal from to tape compass clino");
    int traverseStart = 0;
    bool legDataChanged = false;
    const auto endTraverse = [&](int last) {
        if (!survex)
            return;
        const QList<QByteArray> passage = passageLines(stations, names, traverseStart, last, syntax, QByteArray(),
                                                       "*data passage station left right up down");
        text.lines += passage;
        legDataChanged = legDataChanged || !passage.isEmpty();
    };

    for (int j = 1; j < count; ++j) {
        const Station &previous = stations.at(j - 1);
        const Station &station = stations.at(j);
        const bool continuesBranch = stations.hasLegBefore(j);
        if (!continuesBranch) {
            endTraverse(j - 1);
            traverseStart = j;
        }
        SurveyLeg leg;
        if (continuesBranch) {
            try {
                leg = ComputeLeg(previous, station, planOrientation.of(previous.planSheet), style);
            } catch (const CommandError &error) {
                text.error = error.message();
                text.failedFrom = j - 1;
                text.failedTo = j;
                text.failedFromName = AnsiText::decode(names.name(j - 1));
                text.failedToName = AnsiText::decode(names.name(j));
                return text;
            }
        }

        SafeLine line(syntax);
        if (format == SurveyFormat::LumaroLabel) {
            if (continuesBranch)
                line.code(legValues(leg));
            if (!station.label.isEmpty())
                line.code(" ^").text(AnsiText::encode(station.label));
            if (station.branchEnd || j == count - 1)
                line.code(" #end");
            if (!station.comment.isEmpty())
                line.code(" ; ").comment(AnsiText::encode(station.comment));
        } else if (continuesBranch) {
            if (legDataChanged) {
                text.lines.append(legData);
                legDataChanged = false;
            }
            line.text(names.name(j - 1)).code("\t").text(names.name(j)).code('\t' + legValues(leg));
            QByteArray note = !station.comment.isEmpty() ? AnsiText::encode(station.comment) : QByteArray();
            const QByteArray changedNames = nameNotes(names, j - 1, j, &explained);
            note += (note.isEmpty() || changedNames.isEmpty() ? "" : "; ") + changedNames;
            if (!note.isEmpty())
                line.code(" ; ").comment(note);
        } else if (!station.comment.isEmpty()) {
            // A new branch has no leg line; only its comment survives.
            line.code(";").comment(AnsiText::encode(station.comment));
        } else {
            continue;
        }
        text.lines.append(line.bytes());
    }

    if (count > 0)
        endTraverse(count - 1);
    if (survex)
        text.lines.append(block.isEmpty() ? QByteArray("*end") : "*end " + block);
    return text;
}

QStringList SurveyText::previewLines() const
{
    QStringList result;
    result.reserve(lines.size());
    for (const QByteArray &line : lines)
        result.append(AnsiText::decode(line));
    return result;
}

QByteArray SurveyText::fileBytes() const
{
    return fileBytes(previewLines());
}

QByteArray SurveyText::fileBytes(const QStringList &previewLines)
{
    QByteArray bytes;
    for (const QString &line : previewLines) {
        bytes += AnsiText::encode(line);
        bytes += "\r\n";
    }
    return bytes;
}
