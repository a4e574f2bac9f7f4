// How far a survey drawn over several sheets lands from the cave it was drawn from, digitised as
// a caver does it, and what each way of holding the sheets together gains.
//
// The cave: a main passage of 180 stations wandering east over about 430 m with 30 side passages
// that loop back to it and 12 dead ends, 460 stations in all. It is drawn on three plan sheets
// (0.042, 0.05 and 0.0635 m a pixel, north 0, 15 and -20 degrees) that overlap by 30 m, and on two
// extended profiles (0.05 and 0.0475 m a pixel); every mark is rounded to a whole pixel. Each
// plan's north is measured from its drawn arrow (ends on whole pixels, 250 pixels long), each
// scale from a 10 m bar drawn in whole pixels. The digitiser follows each passage, places a tie
// where the passage runs off its sheet, and clicks `noise` pixels from each mark in a random
// direction.
//
//   BM_SheetsDigitised/<noise px>/<way>  worst_m: the worst station's distance from where the
//       cave has it, every station placed by the check's own walk from station 0 (no loop
//       adjusted); flagged_pairs: pairs of sheets the check says disagree.
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
#include "checks/SurveyNetwork.h"
#include "survey/Truncate.h"

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
    std::vector<int> main;
    Point3 at;
    double heading = 90.0;
    for (int i = 0; i < 180; ++i) {
        if (i > 0) {
            heading = std::clamp(heading + random.between(-35, 35), 30.0, 150.0);
            const double length = random.between(1.5, 4.0);
            at.east += length * std::sin(heading * Radians);
            at.north += length * std::cos(heading * Radians);
            at.up += random.between(-0.8, 0.6);
        }
        main.push_back(int(cave.stations.size()));
        cave.stations.push_back(at);
    }
    cave.passages.push_back(main);
    // Side passages out to one side and back, six stations further on.
    for (int k = 0; k < 30; ++k) {
        const int from = main[size_t(3 + 5 * k)], to = main[size_t(9 + 5 * k)];
        const Point3 a = cave.stations[size_t(from)], b = cave.stations[size_t(to)];
        const double side = (k % 2 ? 1.0 : -1.0) * random.between(6, 14);
        std::vector<int> passage{from};
        for (int j = 1; j < 8; ++j) {
            const double t = j / 8.0;
            Point3 p{a.east + (b.east - a.east) * t + random.between(-0.7, 0.7),
                     a.north + (b.north - a.north) * t + side * std::sin(t * M_PI),
                     a.up + (b.up - a.up) * t + random.between(-0.5, 0.5)};
            passage.push_back(int(cave.stations.size()));
            cave.stations.push_back(p);
        }
        passage.push_back(to);
        cave.passages.push_back(passage);
    }
    // Dead ends.
    for (int k = 0; k < 12; ++k) {
        const int from = main[size_t(7 + 14 * k)];
        Point3 p = cave.stations[size_t(from)];
        const double bearing = random.between(0, 360);
        std::vector<int> passage{from};
        for (int j = 0; j < 5; ++j) {
            const double length = random.between(2, 4);
            p.east += length * std::sin((bearing + random.between(-30, 30)) * Radians);
            p.north += length * std::cos((bearing + random.between(-30, 30)) * Radians);
            p.up += random.between(-1, 1);
            passage.push_back(int(cave.stations.size()));
            cave.stations.push_back(p);
        }
        cave.passages.push_back(passage);
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
        {PlanSheet, SheetKind::Plan, -20, 170, 0.042, 0.0},
        {2, SheetKind::Plan, 140, 320, 0.05, 15.0},
        {3, SheetKind::Plan, 290, 500, 0.0635, 340.0},
        {ProfileSheet, SheetKind::Profile, -20, 250, 0.05, 0.0},
        {4, SheetKind::Profile, 220, 500, 0.0475, 0.0},
    };
    return sheets;
}

int whole(double value) { return truncToInt(std::round(value)); }

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
    const QPointF head(whole(200 + 250 * std::sin(n)), whole(400 - 250 * std::cos(n)));
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

Digitised digitise(const Cave &cave, double noise, bool tenths, bool clickedOnce)
{
    const std::vector<DrawnSheet> &sheets = drawnSheets();
    Random random{7u + quint32(noise * 1000)};
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
        if (sheet.kind == SheetKind::Plan)
            sheet.northDeg = fit.northDeg;
        if (scales) {
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
    double worst = 0.0;
    int flagged = 0, stations = 0, shared = 0;
    for (auto _ : state) {
        Digitised digitised = digitise(cave, noise, way == 0, way >= 2);
        if (way >= 3)
            align(digitised.survey, way >= 4);
        const SurveyNetwork network =
            SurveyNetwork::build(digitised.survey.stations, CheckSettings::of(digitised.survey, LegTolerance{}));
        worst = worstError(cave, digitised, network);
        flagged = network.flaggedSheetCount();
        stations = digitised.survey.stations.count();
        shared = 0;
        for (const SheetComparison &pair : network.sheetComparisons)
            shared += int(pair.stations.size());
    }
    state.counters["worst_m"] = worst;
    state.counters["flagged_pairs"] = flagged;
    state.counters["entries"] = stations;
    state.counters["shared"] = shared;
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
