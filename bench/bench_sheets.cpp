// How far a survey drawn over several sheets lands from the cave it was drawn from, digitised as
// a caver does it, and what each way of holding the sheets together gains.
//
// The cave: a main passage of 150 stations wandering east over about 420 m, an upper level 30 m
// north of it from end to end, ten crawls joining the two and 14 dead ends: 390 stations, 11
// loops. It is drawn on three plan sheets
// (0.042, 0.05 and 0.0635 m a pixel, north 0, 15 and -20 degrees) that overlap by 20 m, and on two
// extended profiles (0.05 and 0.0475 m a pixel); every mark is rounded to a whole pixel. Each
// plan's north is measured from its drawn arrow (ends on whole pixels, 250 pixels long), each
// scale from a 10 m bar drawn in whole pixels. The digitiser follows each passage, places a tie
// where the passage runs off its sheet, places each station drawn where two sheets overlap on
// both, and clicks `noise` pixels from each mark in a random direction.
//
//   BM_SheetsDigitised/<noise px>/<way>  worst_m: the worst station's distance from where the
//       cave has it, every station placed by the check's own walk from station 0 (no loop
//       adjusted), over five runs of random clicks; mean_worst_m: the mean of each run's worst;
//       runs_flagged: runs in which the check says a pair of sheets disagree. SHOW_REPORT=1 in
//       the environment prints the check's report of each run.
//       way 0  north rounded to 0.1 degree (as Measure North did), every tie, branch start and
//              loop closure clicked again
//       way 1  north kept as measured
//       way 2  ... and a station clicked once on each sheet, later entries taking that point
//       way 3  ... and each plan after the first turned by SheetAlignment to the stations it
//              shares with the others
//       way 4  ... and each sheet after the first given the scale its ties fit too
//   BM_SheetTurned/<noise px>  the second plan's north set 0.5 degree off (north kept as
//       measured, stations clicked once): north_flagged counts the pairs of plans the check
//       flags for north, of the two that hold that sheet.
#include "checks/SheetAlignment.h"
#include "checks/CheckReport.h"
#include <cstdio>
#include "checks/SurveyNetwork.h"
#include "survey/Truncate.h"

#include <QPointF>

#include <benchmark/benchmark.h>

#include <cmath>
#include <map>
#include <vector>

namespace {

constexpr double Radians = 3.14159265358979323846 / 180.0;

struct Point3
{
    double east = 0.0, north = 0.0, up = 0.0;
};

// A small linear congruential generator: the same cave and clicks on every machine.
struct Random
{
    quint32 state;
    double uniform() // 0 <= u < 1
    {
        state = state * 1664525u + 1013904223u;
        return double(state >> 8) / double(1u << 24);
    }
    double between(double low, double high) { return low + (high - low) * uniform(); }
};

struct Cave
{
    std::vector<Point3> stations;
    std::vector<std::vector<int>> passages; // the first from station 0; later ones from a station before
};

Cave generateCave()
{
    Cave cave;
    Random random{20261208u};
    auto add = [&](const Point3 &p) {
        cave.stations.push_back(p);
        return int(cave.stations.size()) - 1;
    };
    // A passage from one station to another (or on, where `to` is -1) in `count` legs, wandering
    // `wander` metres either side of the straight way.
    auto passage = [&](int from, Point3 end, int to, int count, double wander) {
        const Point3 a = cave.stations[size_t(from)];
        if (to >= 0)
            end = cave.stations[size_t(to)];
        std::vector<int> way{from};
        const double side = random.between(-wander, wander);
        for (int j = 1; j < count; ++j) {
            const double t = double(j) / count, bend = side * std::sin(t * M_PI);
            const double dx = end.east - a.east, dy = end.north - a.north, length = std::hypot(dx, dy);
            way.push_back(add({a.east + dx * t - dy / length * bend + random.between(-0.8, 0.8),
                               a.north + dy * t + dx / length * bend + random.between(-0.8, 0.8),
                               a.up + (end.up - a.up) * t + random.between(-0.6, 0.6)}));
        }
        way.push_back(to >= 0 ? to : add(end));
        cave.passages.push_back(way);
        return way;
    };
    // The main passage east, about 420 m.
    std::vector<int> main{add({})};
    double heading = 90.0;
    for (int i = 1; i < 150; ++i) {
        heading = std::clamp(heading + random.between(-30, 30), 50.0, 130.0);
        const double length = random.between(2.0, 4.0);
        const Point3 &last = cave.stations[size_t(main.back())];
        main.push_back(add({last.east + length * std::sin(heading * Radians), last.north + length * std::cos(heading * Radians),
                            last.up + random.between(-0.8, 0.6)}));
    }
    cave.passages.push_back(main);
    // An upper level 25 to 35 m north, from near the entrance back down to the far end ...
    const Point3 start = cave.stations[size_t(main[4])];
    std::vector<int> upper = passage(main[4], {start.east + 5, start.north + 30, start.up + 8}, -1, 8, 2);
    for (int stretch = 0; stretch < 6; ++stretch) {
        const Point3 &last = cave.stations[size_t(upper.back())];
        const std::vector<int> on = passage(upper.back(), {last.east + 65, 30 + random.between(-5, 5), last.up + random.between(-3, 3)},
                                            -1, 22, 4);
        cave.passages.pop_back(); // one passage, drawn on as one
        upper.insert(upper.end(), on.begin() + 1, on.end());
    }
    cave.passages.pop_back();
    upper.push_back(main[146]);
    cave.passages.push_back(upper);
    // ... joined to the main passage by crawls every 40 m or so, and a few dead ends.
    for (int k = 0; k < 11; ++k)
        passage(upper[size_t(8 + 11 * k)], {}, main[size_t(4 + 13 * k)], 12, 6);
    for (int k = 0; k < 14; ++k) {
        const Point3 &from = cave.stations[size_t(main[size_t(7 + 10 * k)])];
        const double bearing = (k % 2 ? 1.0 : -1.0) * random.between(60, 120) * Radians;
        passage(main[size_t(7 + 10 * k)], {from.east + 25 * std::sin(bearing), from.north + 25 * std::cos(bearing), from.up - 4}, -1,
                8, 3);
    }
    return cave;
}

// A sheet as drawn: which part of the cave it holds (east from `west` to `east`), its true scale
// and north, where its origin lies on the image.
struct DrawnSheet
{
    SheetId id;
    SheetKind kind;
    double west, east;
    double metresPerPixel;
    double northDeg; // plans
};

const std::vector<DrawnSheet> &drawnSheets()
{
    static const std::vector<DrawnSheet> sheets = {
        {PlanSheet, SheetKind::Plan, -30, 160, 0.042, 0.0},
        {2, SheetKind::Plan, 140, 300, 0.05, 15.0},
        {3, SheetKind::Plan, 280, 500, 0.0635, 340.0},
        {ProfileSheet, SheetKind::Profile, -30, 230, 0.05, 0.0},
        {4, SheetKind::Profile, 210, 500, 0.0475, 0.0},
    };
    return sheets;
}

int whole(double value) { return truncToInt(std::round(value)); }

constexpr double ArrowPixels = 250.0; // a drawn north arrow's length

// Where a sheet draws a point of the plan, to the whole pixel.
QPointF planMark(const DrawnSheet &sheet, const Point3 &p)
{
    const double n = sheet.northDeg * Radians;
    const double east = p.east - sheet.west, north = p.north;
    return QPointF(whole(500 + (east * std::cos(n) + north * std::sin(n)) / sheet.metresPerPixel),
                   whole(4000 - (north * std::cos(n) - east * std::sin(n)) / sheet.metresPerPixel));
}

// North as measured from the drawn arrow: tail and head on whole pixels.
double measuredNorth(const DrawnSheet &sheet, bool tenths)
{
    const double n = sheet.northDeg * Radians;
    const QPointF tail(200, 400);
    const QPointF head(whole(200 + ArrowPixels * std::sin(n)), whole(400 - ArrowPixels * std::cos(n)));
    double degrees = std::atan2(head.x() - tail.x(), -(head.y() - tail.y())) / Radians;
    if (degrees < 0.0)
        degrees += 360.0;
    return tenths ? std::round(degrees * 10.0) / 10.0 : degrees;
}

// The scale as a 10 m bar drawn in whole pixels gives it.
double measuredScale(const DrawnSheet &sheet) { return 10.0 / whole(10.0 / sheet.metresPerPixel); }

struct Digitised
{
    Survey survey;
    std::vector<int> cavePoint; // per table entry
};

Digitised digitise(const Cave &cave, double noise, bool tenths, bool clickedOnce, quint32 seed = 7)
{
    const std::vector<DrawnSheet> &sheets = drawnSheets();
    Random random{seed + quint32(noise * 1000)};
    Digitised out;
    for (const DrawnSheet &sheet : sheets)
        out.survey.sheet(sheet.id) = Sheet{sheet.id, sheet.kind, Calibration{measuredScale(sheet)},
                                           sheet.kind == SheetKind::Plan ? measuredNorth(sheet, tenths) : 0.0, {}};
    out.survey.profileKind = ProfileKind::Extended;

    auto covers = [&](int sheet, int point) {
        const double east = cave.stations[size_t(point)].east;
        return east >= sheets[size_t(sheet)].west && east <= sheets[size_t(sheet)].east;
    };
    auto home = [&](SheetKind kind, int point) {
        for (int s = 0; s < int(sheets.size()); ++s)
            if (sheets[size_t(s)].kind == kind && covers(s, point))
                return s;
        return -1;
    };
    std::map<std::pair<int, int>, QPointF> profileMarks; // (point, sheet) -> drawn mark
    std::map<std::pair<int, int>, QPointF> clicks;       // (point, sheet) -> the click, when clicked once
    double furthest = 100; // the profiles' furthest mark to the right: a new branch starts beyond
    auto click = [&](int point, int sheet, QPointF mark) {
        if (clickedOnce) {
            const auto found = clicks.find({point, sheet});
            if (found != clicks.end())
                return found->second;
        }
        const double angle = random.between(0, 2 * M_PI);
        const QPointF placed = mark + QPointF(whole(noise * std::cos(angle)), whole(noise * std::sin(angle)));
        clicks[{point, sheet}] = placed;
        return placed;
    };

    std::vector<Station> table;
    int plan = 0, profile = 3;
    // A station placed on the current sheets; the profile draws it once, where the survey first
    // reaches it on that sheet, at `x` along the way. Gives back where the mark is.
    auto place = [&](int point, double x) {
        const DrawnSheet &onPlan = sheets[size_t(plan)], &onProfile = sheets[size_t(profile)];
        const Point3 &p = cave.stations[size_t(point)];
        auto [mark, fresh] = profileMarks.try_emplace({point, profile}, QPointF());
        if (fresh)
            mark->second = QPointF(whole(x), whole(2000 - p.up / onProfile.metresPerPixel));
        furthest = std::max(furthest, mark->second.x());
        const QPointF planClick = click(point, onPlan.id, planMark(onPlan, p));
        const QPointF profileClick = click(point, onProfile.id, mark->second);
        Station s{};
        s.planX = float(planClick.x());
        s.planY = float(planClick.y());
        s.profileX = float(profileClick.x());
        s.profileY = float(profileClick.y());
        s.planSheet = onPlan.id;
        s.profileSheet = onProfile.id;
        s.label = QStringLiteral("S%1").arg(point);
        table.push_back(s);
        out.cavePoint.push_back(point);
        return fresh ? x : mark->second.x();
    };
    auto columnOf = [&](int point) {
        const auto drawn = profileMarks.find({point, profile});
        return drawn != profileMarks.end() ? drawn->second.x() : furthest + 200;
    };
    for (const std::vector<int> &passage : cave.passages) {
        int previous = -1;
        double x = 0.0;
        for (const int point : passage) {
            if (previous < 0) {
                // A new branch from a station placed before (or station 0).
                plan = covers(plan, point) ? plan : home(SheetKind::Plan, point);
                profile = covers(profile, point) ? profile : home(SheetKind::Profile, point);
                if (!table.empty())
                    table.back().branchEnd = true;
                x = place(point, columnOf(point));
            } else {
                if (!covers(plan, point) || !covers(profile, point)) {
                    // The way on runs off a sheet: the last station placed again on the sheets
                    // that hold it, starting a branch there.
                    plan = covers(plan, point) ? plan : home(SheetKind::Plan, point);
                    profile = covers(profile, point) ? profile : home(SheetKind::Profile, point);
                    table.back().branchEnd = true;
                    x = place(previous, columnOf(previous));
                }
                const Point3 &a = cave.stations[size_t(previous)], &b = cave.stations[size_t(point)];
                x = place(point, x + std::hypot(b.east - a.east, b.north - a.north) / sheets[size_t(profile)].metresPerPixel);
            }
            previous = point;
        }
    }
    // Where sheets overlap, a station drawn on both is placed on the other one too, alone: a tie
    // that holds the two sheets together without a leg.
    const size_t traversed = table.size();
    for (size_t e = 0; e < traversed; ++e) {
        const int point = out.cavePoint[e];
        for (int other = 0; other < int(sheets.size()); ++other) {
            const DrawnSheet &sheet = sheets[size_t(other)];
            const SheetId placedOn = sheet.kind == SheetKind::Plan ? table[e].planSheet : table[e].profileSheet;
            if (sheet.id == placedOn || !covers(other, point) || clicks.count({point, sheet.id}))
                continue;
            plan = 0;
            profile = 3;
            for (int s = 0; s < int(sheets.size()); ++s) {
                if (sheets[size_t(s)].id == table[e].planSheet)
                    plan = s;
                if (sheets[size_t(s)].id == table[e].profileSheet)
                    profile = s;
            }
            (sheet.kind == SheetKind::Plan ? plan : profile) = other;
            table.back().branchEnd = true;
            place(point, columnOf(point));
        }
    }
    for (Station &s : table) {
        const Calibration &planScale = out.survey.sheet(s.planSheet).calibration;
        const Calibration &profileScale = out.survey.sheet(s.profileSheet).calibration;
        s.planXMetres = planScale.storedMetres(double(s.planX));
        s.planYMetres = planScale.storedMetres(double(s.planY));
        s.profileYMetres = profileScale.storedMetres(double(s.profileY));
    }
    out.survey.stations.assign(table);
    return out;
}

// Each sheet after the first of its kind laid on the others by its ties: north, and the scale too.
void align(Survey &survey, bool scales)
{
    for (const SheetId id : {SheetId(2), SheetId(3), SheetId(4)}) {
        const SheetAlignment fit = SheetAlignment::of(survey, id, scales);
        if (!fit.fitted)
            continue;
        Sheet &sheet = survey.sheet(id);
        if (sheet.kind == SheetKind::Plan && fit.northBetterThanArrow(ArrowPixels))
            sheet.northDeg = fit.northDeg;
        if (scales && fit.scaleBetterThanBar(10.0 / sheet.calibration.metresPerPixel)) {
            sheet.calibration.metresPerPixel = fit.metresPerPixel;
            for (int i = 0; i < survey.stations.count(); ++i) {
                Station &s = survey.stations.at(i);
                if (s.planSheet == id) {
                    s.planXMetres = sheet.calibration.storedMetres(double(s.planX));
                    s.planYMetres = sheet.calibration.storedMetres(double(s.planY));
                }
                if (s.profileSheet == id)
                    s.profileYMetres = sheet.calibration.storedMetres(double(s.profileY));
            }
        }
    }
}

double worstError(const Cave &cave, const Digitised &digitised, const SurveyNetwork &network)
{
    const Point3 &origin = cave.stations[size_t(digitised.cavePoint[0])];
    double worst = 0.0;
    for (int i = 0; i < network.positions.size(); ++i) {
        const Point3 &p = cave.stations[size_t(digitised.cavePoint[size_t(i)])];
        const NetworkPoint &q = network.positions[i];
        worst = std::max(worst, std::sqrt(std::pow(q.east - (p.east - origin.east), 2)
                                          + std::pow(q.north - (p.north - origin.north), 2)
                                          + std::pow(q.up - (p.up - origin.up), 2)));
    }
    return worst;
}

void BM_SheetsDigitised(benchmark::State &state)
{
    const Cave cave = generateCave();
    const double noise = double(state.range(0));
    const int way = int(state.range(1));
    // Clicks drawn at random five times over: the worst of all, the mean of each run's worst, and
    // how many runs the check flags a pair of sheets in.
    double worst = 0.0, meanWorst = 0.0;
    int flagged = 0, stations = 0, shared = 0;
    for (auto _ : state) {
        worst = meanWorst = 0.0;
        flagged = 0;
        for (quint32 seed = 1; seed <= 5; ++seed) {
            Digitised digitised = digitise(cave, noise, way == 0, way >= 2, seed);
            if (way >= 3)
                align(digitised.survey, way >= 4);
            const SurveyNetwork network =
                SurveyNetwork::build(digitised.survey.stations, CheckSettings::of(digitised.survey, LegTolerance{}));
            const double error = worstError(cave, digitised, network);
            worst = std::max(worst, error);
            meanWorst += error / 5.0;
            if (qEnvironmentVariableIsSet("SHOW_REPORT"))
                std::puts(CheckReport::text(network).toUtf8().constData());
            flagged += network.flaggedSheetCount() > 0;
            stations = digitised.survey.stations.count();
            shared = 0;
            for (const SheetComparison &pair : network.sheetComparisons)
                if (pair.kind == SheetKind::Plan)
                    shared += int(pair.stations.size());
        }
    }
    state.counters["worst_m"] = worst;
    state.counters["mean_worst_m"] = meanWorst;
    state.counters["runs_flagged"] = flagged;
    state.counters["entries"] = stations;
    state.counters["plan_ties"] = shared;
}

void BM_SheetTurned(benchmark::State &state)
{
    const Cave cave = generateCave();
    int flagged = 0;
    double turn = 0.0, allowed = 0.0;
    for (auto _ : state) {
        Digitised digitised = digitise(cave, double(state.range(0)), false, true);
        digitised.survey.sheet(2).northDeg += 0.5;
        const SurveyNetwork network =
            SurveyNetwork::build(digitised.survey.stations, CheckSettings::of(digitised.survey, LegTolerance{}));
        flagged = 0;
        for (const SheetComparison &pair : network.sheetComparisons)
            if (pair.kind == SheetKind::Plan && (pair.first == 2 || pair.second == 2)) {
                flagged += pair.northFlagged;
                if (pair.compared && pair.first == PlanSheet) {
                    turn = pair.turnDeg;
                    allowed = pair.allowedTurnDeg;
                }
            }
    }
    state.counters["north_flagged"] = flagged;
    state.counters["turn_deg"] = turn;
    state.counters["allowed_deg"] = allowed;
}

} // namespace

BENCHMARK(BM_SheetsDigitised)
    ->ArgsProduct({{0, 1, 2}, {0, 1, 2, 3, 4}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_SheetTurned)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
