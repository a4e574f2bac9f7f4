#include "output/DrawnPieces.h"

#include "survey/SafeLine.h"
#include "survey/StationNames.h"
#include "output/SurveyText.h"

#include <QHash>
#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr double Radians = 3.14159265358979323846 / 180.0;

// Metres east and north of a drawn offset on a plan sheet with its north; metres of the drawing's
// north are turned to the file's by a fixed declination.
void turned(double dx, double dy, double northDeg, double *east, double *north)
{
    const double compass = (std::atan2(dx, -dy) / Radians - northDeg) * Radians;
    const double horizontal = std::hypot(dx, dy);
    *east = horizontal * std::sin(compass);
    *north = horizontal * std::cos(compass);
}

QByteArray number(double value) { return SurveyText::shortestNumber(std::round(value * 100.0) / 100.0 + 0.0); }

int root(QVector<int> &parent, int i)
{
    while (parent[i] != i)
        i = parent[i] = parent[parent[i]];
    return i;
}

} // namespace

DrawnPieces DrawnPieces::of(const Survey &survey, const StationNames &names, const QByteArray &entrance)
{
    DrawnPieces result;
    const StationTable &stations = survey.stations;
    const int count = stations.count();
    // Names as the file writes them, numbered; a name only in a leg-less entry takes no part.
    QHash<QByteArray, int> numberOf;
    QVector<int> nameOf(count, -1), firstEntry;
    QVector<bool> inLeg;
    for (int j = 0; j < count; ++j) {
        const QByteArray name = names.name(j);
        auto it = numberOf.find(name);
        if (it == numberOf.end()) {
            it = numberOf.insert(name, int(firstEntry.size()));
            firstEntry.append(j);
            inLeg.append(false);
        }
        nameOf[j] = *it;
    }
    QVector<int> parent(firstEntry.size());
    std::iota(parent.begin(), parent.end(), 0);
    for (int j = 1; j < count; ++j)
        if (stations.hasLegBefore(j)) {
            inLeg[nameOf[j]] = inLeg[nameOf[j - 1]] = true;
            parent[root(parent, nameOf[j])] = root(parent, nameOf[j - 1]);
        }
    int reference = entrance.isEmpty() ? -1 : numberOf.value(entrance, -1);
    if (reference < 0 || !inLeg[reference])
        reference = int(std::find(inLeg.cbegin(), inLeg.cend(), true) - inLeg.cbegin());
    if (reference >= inLeg.size())
        return result;
    result.reference = firstEntry[reference];
    const Station &origin = stations.at(result.reference);
    const double north = survey.sheet(origin.planSheet).northDeg;
    const bool profile = survey.profileKind != ProfileKind::None;

    // Each piece once, from its first station in table order.
    QVector<bool> seen(firstEntry.size(), false);
    seen[root(parent, reference)] = true;
    double eastmost = 0.0;
    for (int j = 0; j < count; ++j) {
        const Station &s = stations.at(j);
        if (s.planSheet == origin.planSheet && inLeg[nameOf[j]]) {
            double e = 0.0, n = 0.0;
            turned(double(s.planXMetres) - origin.planXMetres, double(s.planYMetres) - origin.planYMetres, north, &e, &n);
            if (std::isfinite(e))
                eastmost = std::max(eastmost, e);
        }
    }
    for (int j = 0; j < count; ++j) {
        const int piece = root(parent, nameOf[j]);
        if (!inLeg[nameOf[j]] || seen[piece])
            continue;
        seen[piece] = true;
        DrawnPiece drawn;
        drawn.first = j;
        const Station &first = stations.at(j);
        drawn.asDrawn = first.planSheet == origin.planSheet && (!profile || first.profileSheet == origin.profileSheet);
        if (drawn.asDrawn) {
            turned(double(first.planXMetres) - origin.planXMetres, double(first.planYMetres) - origin.planYMetres, north,
                   &drawn.east, &drawn.north);
            drawn.up = double(origin.profileYMetres) - double(first.profileYMetres);
        }
        if (!std::isfinite(drawn.east) || !std::isfinite(drawn.north) || !std::isfinite(drawn.up))
            drawn = {j, 0.0, 0.0, 0.0, false};
        if (!drawn.asDrawn) {
            eastmost += 10.0;
            drawn.east = eastmost;
        }
        result.pieces.append(drawn);
    }
    return result;
}

QList<QByteArray> DrawnPieces::lines(Reader reader, const StationNames &names, const QByteArray &indent,
                                     const SurveyDetails &details) const
{
    QList<QByteArray> out;
    if (pieces.isEmpty())
        return out;
    const bool survex = reader == Reader::Survex;
    const LineSyntax syntax = survex ? LineSyntax::Survex : LineSyntax::Therion;
    const QByteArray comment = indent + (survex ? "; " : "# ");
    const QByteArray fix = indent + (survex ? "*fix " : "fix ");
    const bool known = details.entranceHasCoordinates && !details.entrance.isEmpty()
                       && names.nameOf(details.entrance) == names.name(reference);
    const double e0 = known ? details.entranceEast : 0.0, n0 = known ? details.entranceNorth : 0.0,
                 z0 = known ? details.entranceAltitude : 0.0;
    // The reference is fixed too, unless the entrance's own fix is it; Survex fixes nothing
    // else without being told once any station is fixed.
    const bool entranceFixed = !details.entrance.isEmpty() && names.nameOf(details.entrance) == names.name(reference);
    if (!entranceFixed) {
        out.append(SafeLine(syntax, comment).comment("the survey is in pieces: each is fixed where the drawings put it, from")
                       .code(" ").text(names.name(reference)).bytes());
        out.append(fix + names.name(reference) + " 0 0 0");
    }
    // A turn of a magnetic drawing to the file's north: the declination when it is given.
    const double turn = details.north == NorthReference::Magnetic && !details.declinationFromDateAndPlace
                            ? details.declinationDeg * Radians
                            : 0.0;
    for (const DrawnPiece &piece : pieces) {
        const double east = piece.east * std::cos(turn) + piece.north * std::sin(turn);
        const double north = piece.north * std::cos(turn) - piece.east * std::sin(turn);
        SafeLine note(syntax, comment);
        note.code("no leg joins ").text(names.name(piece.first)).code(" to ").text(names.name(reference));
        note.code(piece.asDrawn ? ": fixed where the drawings put it" : ": drawn on another sheet, fixed east of the rest");
        out.append(note.bytes());
        out.append(fix + names.name(piece.first) + ' ' + number(e0 + east) + ' ' + number(n0 + north) + ' '
                   + number(z0 + piece.up));
    }
    return out;
}
