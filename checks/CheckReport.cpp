#include "checks/CheckReport.h"

#include "survey/CountedText.h"
#include "survey/SafeLine.h"

#include <QCoreApplication>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace CheckReport {

QByteArray fixed2(double value)
{
    // A value that rounds to nothing is 0.00 here, whichever side of zero it came from: a check
    // that says "-0.00 m" would look like a finding.
    if (std::fabs(value) < 0.005)
        value = 0.0;
    char buffer[400]; // room for the largest double in fixed notation
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 2);
    return result.ec == std::errc() ? QByteArray(buffer, int(result.ptr - buffer)) : QByteArray("nan");
}

namespace {

// The report in the interface's language; speomark-export installs no translation, so the report
// it writes is the English one it has always been.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(CheckReport)
};

QString counted(qsizetype count, const char *many, const char *one)
{
    return countedText("CheckReport", many, one, count);
}

// A field as RFC 4180 has it: quoted, with its quotes doubled, when it holds a comma or a quote.
// Names and comments come as the survey text writes them, so no control character (no line
// break) is left in them; any other is written as a space, as there.
QByteArray csvText(const QString &text)
{
    QByteArray bytes = text.toUtf8();
    for (char &byte : bytes) {
        if (SafeLine::isControl(byte))
            byte = ' ';
    }
    if (bytes.contains(',') || bytes.contains('"'))
        bytes = '"' + bytes.replace("\"", "\"\"") + '"';
    return bytes;
}

QString number(double value) { return QString::fromLatin1(fixed2(value)); }

// A sheet as the report names it: the kind and its place among the sheets of that kind.
QString sheetTitle(const CheckSettings &settings, SheetKind kind, SheetId id)
{
    if (kind == SheetKind::Plan) {
        for (size_t k = 0; k < settings.plans.size(); ++k)
            if (settings.plans[k].first == id)
                return Words::tr("plan %1").arg(k + 1);
        return Words::tr("plan sheet %1").arg(id);
    }
    // The sheet numbered as the first profile may be a plan in a project that began otherwise.
    const bool firstIsPlan = std::any_of(settings.plans.begin(), settings.plans.end(),
                                         [](const auto &plan) { return plan.first == ProfileSheet; });
    if (id == ProfileSheet && !firstIsPlan)
        return Words::tr("profile %1").arg(1);
    for (size_t k = 0; k < settings.otherProfiles.size(); ++k)
        if (settings.otherProfiles[k].first == id)
            return Words::tr("profile %1").arg(k + (firstIsPlan ? 1 : 2));
    return Words::tr("profile sheet %1").arg(id);
}

QString entries(const QVector<int> &indexes)
{
    QStringList parts;
    for (const int index : indexes)
        parts.append(QString::number(index));
    if (parts.size() == 1)
        return Words::tr("table entry %1").arg(parts.constFirst());
    const QString last = parts.takeLast();
    return Words::tr("table entries %1 and %2").arg(parts.join(QStringLiteral(", ")), last);
}

} // namespace

QByteArray csvHeader()
{
    return "from,to,tape_m,compass_deg,clino_deg,depth_change_m,plan_horizontal_m,profile_horizontal_m,"
           "disagreement_m,disagreement_pct,flag,comment\r\n";
}

QByteArray legsCsv(const QVector<LegCheck> &legs)
{
    QByteArray out = csvHeader();
    for (const LegCheck &leg : legs) {
        out += csvText(leg.fromName) + ',' + csvText(leg.toName);
        for (const double value : {leg.tape, leg.compass, leg.clino, leg.depthChange, leg.planCompared()})
            out += ',' + fixed2(value);
        if (leg.hasProfileLength)
            out += ',' + fixed2(leg.profileCompared()) + ',' + fixed2(leg.disagreement) + ','
                   + fixed2(leg.disagreementPercent);
        else
            out += ",,,";
        out += leg.flagged ? ",1," : ",0,";
        out += csvText(leg.comment) + "\r\n";
    }
    return out;
}

QString text(const SurveyNetwork &network)
{
    const CheckSettings &settings = network.settings;
    const LegTolerance &tolerance = settings.tolerance;
    QString out;
    // Stations as Survex counts them: table entries with one name are one station.
    int stationCount = 0;
    for (const SurveyPiece &piece : network.pieces)
        stationCount += piece.stationCount;
    out += Words::tr("Survey check: %1 (%2), %3.\n")
               .arg(counted(stationCount, QT_TRANSLATE_N_NOOP("CheckReport", "%n stations"), "%n station"),
                    counted(network.positions.size(), QT_TRANSLATE_N_NOOP("CheckReport", "%n table entries"),
                            "%n table entry"),
                    counted(network.legs.size(), QT_TRANSLATE_N_NOOP("CheckReport", "%n legs"), "%n leg"));
    const QString rule = Words::tr("%1 m or %2 % of the longer length, whichever is larger")
                             .arg(number(tolerance.metres), number(tolerance.percent));
    if (!tolerance.fromDrawing()) {
        out += Words::tr("Tolerance: %1.\n").arg(rule);
    } else {
        // What the pixels come to on the first plan and profile sheets, as an example.
        const double plan = settings.examplePlanScale(), profile = settings.exampleProfileScale();
        const double example = tolerance.ofClicks({plan, plan, profile, profile});
        out += Words::tr("Tolerance: %1 pixels for each click on the drawings").arg(number(tolerance.pixels));
        if (example >= 0.0 && settings.profileKind == ProfileKind::None)
            out += Words::tr(", %1 m where a loop closes at %2 m per pixel on the plan")
                       .arg(number(tolerance.ofClicks({plan, plan})), number(plan));
        else if (example >= 0.0)
            out += Words::tr(", %1 m on a leg or where a loop closes at %2 m per pixel on the plan and %3 on the "
                             "profile")
                       .arg(number(example), number(plan), number(profile));
        out += Words::tr("; where a scale is unknown, %1.\n").arg(rule);
    }

    // A projected profile shortens legs across its plane: the runs along its azimuth are compared.
    if (settings.projected())
        out += Words::tr("\nLegs whose plan and profile runs along the azimuth %1° disagree: ")
                   .arg(number(settings.projectionAzimuthDeg));
    else
        out += Words::tr("\nLegs whose plan and profile lengths disagree: ");
    if (settings.profileKind == ProfileKind::None) {
        out += Words::tr("not compared, the survey has no profile.\n");
    } else if (!settings.comparesLengths()) {
        out += Words::tr("not compared, the profile has no scale yet.\n");
    } else {
        out += QStringLiteral("%1\n").arg(network.flaggedLegCount());
        for (const LegCheck &leg : network.legs)
            if (leg.flagged)
                out += Words::tr("  %1 - %2: plan %3 m, profile %4 m, difference %5 m (%6 %), %7 m allowed\n")
                           .arg(leg.fromName, leg.toName, number(leg.planCompared()), number(leg.profileCompared()),
                                number(leg.disagreement), number(leg.disagreementPercent), number(leg.allowed));
    }

    QVector<const LegCheck *> broken;
    for (const LegCheck &leg : network.legs)
        if (!leg.computed)
            broken.append(&leg);
    if (!broken.isEmpty()) {
        out += Words::tr("\nLegs that cannot be computed: %1\n").arg(broken.size());
        for (const LegCheck *leg : std::as_const(broken))
            out += QStringLiteral("  %1 - %2 (%3): %4\n").arg(leg->fromName, leg->toName, entries({leg->from, leg->to}), leg->error);
    }

    out += Words::tr("\nZero-length legs: %1\n").arg(network.zeroLengthLegs.size());
    for (const int index : network.zeroLengthLegs) {
        const LegCheck &leg = network.legs[index];
        out += QStringLiteral("  %1 - %2 (%3)\n").arg(leg.fromName, leg.toName, entries({leg.from, leg.to}));
    }

    // Only a survey whose scale changed under it has these; others keep their report as it was.
    if (!network.mixedScaleLegs.isEmpty()) {
        out += Words::tr("\nLegs placed under two different scales (the scale changed between their stations and "
                         "the metres were not recalculated): %1\n")
                   .arg(network.mixedScaleLegs.size());
        for (const int index : network.mixedScaleLegs) {
            const LegCheck &leg = network.legs[index];
            out += QStringLiteral("  %1 - %2 (%3)\n").arg(leg.fromName, leg.toName, entries({leg.from, leg.to}));
        }
    }

    out += Words::tr("\nRepeated stations: %1\n").arg(network.repeated.size());
    for (const RepeatedStation &station : network.repeated)
        out += QStringLiteral("  %1: %2\n").arg(station.name, entries(station.entries));

    // Only a survey with a leg measured twice has these; others keep their report as it was.
    if (!network.repeatedLegs.isEmpty()) {
        out += Words::tr("\nRepeated legs (two stations joined again): %1\n").arg(network.repeatedLegs.size());
        for (const SurveyLoop &leg : network.repeatedLegs) {
            const LegCheck &again = network.legs[leg.closingLeg];
            out += Words::tr("  %1 - %2 (%3): the two differ by %4 m (dE %5, dN %6, dZ %7)")
                       .arg(again.fromName, again.toName, entries({again.from, again.to}), number(leg.misclosure),
                            number(leg.dEast), number(leg.dNorth), number(leg.dUp));
            if (leg.flagged)
                out += Words::tr(", more than the %1 m allowed").arg(number(leg.allowed));
            out += QLatin1Char('\n');
        }
        out += Words::tr("\nLoops: %1 (Survex counts %2, the repeated legs among them)\n")
                   .arg(network.loops.size())
                   .arg(network.survexLoopCount());
    } else {
        out += Words::tr("\nLoops: %1\n").arg(network.loops.size());
    }
    for (const SurveyLoop &loop : network.loops) {
        out += Words::tr("  closed at %1 (%2): misclosure %3 m (dE %4, dN %5, dZ %6) over %7 m of %8 (%9 %)")
                   .arg(loop.name, entries({loop.station}), number(loop.misclosure), number(loop.dEast),
                        number(loop.dNorth), number(loop.dUp), number(loop.length),
                        counted(loop.legs.size(), QT_TRANSLATE_N_NOOP("CheckReport", "%n legs"), "%n leg"),
                        number(loop.errorPercent));
        if (loop.flagged)
            out += Words::tr(", more than the %1 m allowed").arg(number(loop.allowed));
        out += QLatin1Char('\n');
    }

    out += Words::tr("\nPieces not tied to station 0: %1\n").arg(network.untiedPieceCount());
    for (const SurveyPiece &piece : network.pieces)
        if (!piece.tied)
            out += Words::tr("  from %1 (%2): %3, %4\n")
                       .arg(piece.firstName, entries({piece.firstStation}),
                            counted(piece.stationCount, QT_TRANSLATE_N_NOOP("CheckReport", "%n stations"),
                                    "%n station"),
                            piece.asDrawn ? Words::tr("placed where the drawings put it")
                                          : Words::tr("drawn on other sheets than station 0, placed east of the rest"));

    // Only a survey drawn over several sheets has these; others keep their report as it was.
    if (!network.sheetTies.isEmpty()) {
        out += Words::tr("\nStations placed on two sheets: %1\n").arg(network.sheetTies.size());
        for (const SheetTie &tie : network.sheetTies) {
            const QString sheets = tie.acrossPlans && tie.acrossProfiles ? Words::tr("plan and profile sheets")
                                   : tie.acrossPlans                    ? Words::tr("plan sheets")
                                                                        : Words::tr("profile sheets");
            out += QStringLiteral("  %1 (%2), %3: ").arg(tie.name, entries({tie.first, tie.second}), sheets);
            if (tie.loop < 0) {
                // Held against the other stations the two sheets share, where there are some.
                const SharedStation *shared = nullptr;
                for (const SheetComparison &pair : network.sheetComparisons)
                    for (const SharedStation &station : pair.stations)
                        if (pair.compared && !shared
                            && ((station.first == tie.first && station.second == tie.second)
                                || (station.first == tie.second && station.second == tie.first)))
                            shared = &station;
                if (!shared) {
                    out += Words::tr("joined only here, nothing to compare\n");
                    continue;
                }
                out += Words::tr("held against the other stations the sheets share, %1 m apart").arg(number(shared->apart));
                if (shared->flagged)
                    out += Words::tr(", more than the %1 m allowed").arg(number(shared->allowed));
                out += QLatin1Char('\n');
                continue;
            }
            const SurveyLoop &loop = network.loops[tie.loop];
            out += Words::tr("the two placements are %1 m apart (dE %2, dN %3, dZ %4)")
                       .arg(number(loop.misclosure), number(loop.dEast), number(loop.dNorth), number(loop.dUp));
            if (loop.flagged)
                out += Words::tr(", more than the %1 m allowed").arg(number(loop.allowed));
            out += QLatin1Char('\n');
        }
    }

    // Only a survey drawn over several sheets of one kind has these.
    if (!network.sheetComparisons.isEmpty()) {
        out += Words::tr("\nSheets that share stations: %1\n").arg(network.sheetComparisons.size());
        for (const SheetComparison &pair : network.sheetComparisons) {
            const bool plan = pair.kind == SheetKind::Plan;
            const QString first = sheetTitle(settings, pair.kind, pair.first);
            const QString second = sheetTitle(settings, pair.kind, pair.second);
            out += QStringLiteral("  %1 and %2: ").arg(first, second)
                   + counted(pair.stations.size(), QT_TRANSLATE_N_NOOP("CheckReport", "%n shared stations"),
                             "%n shared station");
            if (!pair.compared) {
                out += Words::tr(", too few to compare\n");
                continue;
            }
            if (plan)
                out += Words::tr("; %1 to %2 %3 m at %4° on %5, %6 m at %7° on %8")
                           .arg(pair.fromName, pair.toName, number(pair.firstSpacing), number(pair.firstBearingDeg), first,
                                number(pair.secondSpacing), number(pair.secondBearingDeg), second);
            else
                out += Words::tr("; %1 to %2 %3 m apart in depth on %4, %5 m on %6")
                           .arg(pair.fromName, pair.toName, number(pair.firstSpacing), first, number(pair.secondSpacing),
                                second);
            if (plan)
                out += Words::tr("; north on %1 %2° off (%3° allowed)")
                           .arg(second, number(pair.turnDeg), number(pair.allowedTurnDeg));
            out += Words::tr("; lengths on %1 %2 % off (%3 % allowed)")
                       .arg(second, number(pair.scalePercent), number(pair.allowedScalePercent));
            if (pair.northFlagged && pair.scaleFlagged)
                out += Words::tr(": north and scale disagree");
            else if (pair.northFlagged)
                out += Words::tr(": north disagrees");
            else if (pair.scaleFlagged)
                out += Words::tr(": scale disagrees");
            out += QLatin1Char('\n');
            for (const SharedStation &station : pair.stations) {
                out += QStringLiteral("    %1 (%2): ").arg(station.name, entries({station.first, station.second}));
                out += plan ? Words::tr("%1 m apart (dE %2, dN %3)")
                                  .arg(number(station.apart), number(station.dEast), number(station.dNorth))
                            : Words::tr("%1 m apart (dZ %2)").arg(number(station.apart), number(station.dUp));
                if (station.flagged)
                    out += Words::tr(", more than the %1 m allowed").arg(number(station.allowed));
                out += QLatin1Char('\n');
            }
        }
    }

    out += Words::tr("\nLikely ties (different names at one point of the plan and at one depth): %1\n")
               .arg(network.likelyTies.size());
    for (const LikelyTie &tie : network.likelyTies)
        out += Words::tr("  %1 and %2 (%3): %4 m apart on the plan, depths %5 m apart\n")
                   .arg(tie.firstName, tie.secondName, entries({tie.first, tie.second}), number(tie.planApart),
                        number(tie.depthApart));

    // Only a survey with passage dimensions has these; others keep their report as it was.
    if (!network.dimensionProblems.isEmpty()) {
        out += Words::tr("\nPassage dimensions that look wrong: %1\n").arg(network.dimensionProblems.size());
        for (const DimensionProblem &problem : network.dimensionProblems)
            out += QStringLiteral("  %1 (%2): ").arg(problem.name, entries({problem.station}))
                   + (problem.kind == DimensionProblem::Kind::Negative
                          ? Words::tr("a value below zero\n")
                          : (problem.kind == DimensionProblem::Kind::TooWide
                                 ? Words::tr("%1 m wide, more than %3 times the %2 m beside it\n")
                                 : Words::tr("%1 m high, more than %3 times the %2 m beside it\n"))
                                .arg(number(problem.width), number(problem.neighbourWidth))
                                .arg(SurveyNetwork::WidthJump));
    }
    if (!network.withoutDimensions.isEmpty()) {
        out += Words::tr("\nStations without passage dimensions: %1 (%2)\n")
                   .arg(network.withoutDimensions.size())
                   .arg(entries(network.withoutDimensions));
    }

    QStringList found;
    if (!broken.isEmpty())
        found.append(counted(broken.size(), QT_TRANSLATE_N_NOOP("CheckReport", "%n legs that cannot be computed"),
                             "%n leg that cannot be computed"));
    if (const int n = network.flaggedLegCount())
        found.append(counted(n, QT_TRANSLATE_N_NOOP("CheckReport", "%n legs that disagree"), "%n leg that disagrees"));
    if (const int n = int(network.zeroLengthLegs.size()))
        found.append(counted(n, QT_TRANSLATE_N_NOOP("CheckReport", "%n zero-length legs"), "%n zero-length leg"));
    if (const int n = int(network.mixedScaleLegs.size()))
        found.append(counted(n, QT_TRANSLATE_N_NOOP("CheckReport", "%n legs placed under two scales"),
                             "%n leg placed under two scales"));
    if (const int n = network.flaggedLoopCount())
        found.append(counted(n, QT_TRANSLATE_N_NOOP("CheckReport", "%n loops misclosed beyond the tolerance"),
                             "%n loop misclosed beyond the tolerance"));
    if (const int n = network.flaggedRepeatCount())
        found.append(counted(n, QT_TRANSLATE_N_NOOP("CheckReport", "%n repeated legs that disagree"),
                             "%n repeated leg that disagrees"));
    if (const int n = network.untiedPieceCount())
        found.append(counted(n, QT_TRANSLATE_N_NOOP("CheckReport", "%n pieces not tied"), "%n piece not tied"));
    if (const int n = int(network.likelyTies.size()))
        found.append(counted(n, QT_TRANSLATE_N_NOOP("CheckReport", "%n likely ties"), "%n likely tie"));
    if (const int n = network.flaggedSheetCount())
        found.append(counted(n, QT_TRANSLATE_N_NOOP("CheckReport", "%n pairs of sheets that disagree"),
                             "%n pair of sheets that disagree"));
    if (const int n = int(network.dimensionProblems.size()))
        found.append(counted(n, QT_TRANSLATE_N_NOOP("CheckReport", "%n stations with wrong passage dimensions"),
                             "%n station with wrong passage dimensions"));
    out += found.isEmpty() ? Words::tr("\nNothing flagged.\n")
                           : Words::tr("\nFlagged: %1.\n").arg(found.join(QStringLiteral(", ")));
    return out;
}

} // namespace CheckReport
