// Tracing traverses on generated sheets (TraceSheets.h): how many of the drawn stations are found
// in order, on the plan and on the profile, how many of their labels are read right, and how
// long it takes.
//
//   BM_TraceTraverse/S     a plan and its profile with 10 to 60 stations (dots, rings, triangles;
//                          forks, walls touching marks, Latin and Cyrillic labels in two fonts at
//                          three sizes, stipple, 5 % dust, blur); S is the scan: 0 colour, 1 grey,
//                          2 1-bit. One iteration is one traverse: traced on the plan from a click
//                          on its first mark to one on its last, followed on the profile along its
//                          guides, its labels read. Counters:
//                            found_in_order  share of stations found, in order, within 2 px
//                            within_half_px  share found within 0.5 px of the drawn centre
//                            false_marks     marks found where no station is, per traverse
//                            profile_found   share of profile stations found right
//                            labels_right    share of stations given their printed label
//                            ocr_right       share whose label Tesseract read right by itself
//                            for_a_look      share of labels proposed or marked for a look
//                            clicks_per_station  two clicks on the plan, one on the profile, one
//                                            for each station missed, wrong or undecided
//   BM_TraceWithoutLine/S  plans drawn without a centre line: the passage's middle is followed.
//   BM_TraceLargeSheet     a 150-megapixel grey sheet with a 50-station traverse: the time of the
//                          plan trace alone (the search the window waits for).
#include "views/LabelReader.h"
#include "views/TraceFinder.h"

#include "TraceSheets.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cmath>

namespace {

using namespace TraceSheets;

constexpr double Found = 2.0; // a mark this near a station is that station

double distance(QPointF a, QPointF b) { return std::hypot(a.x() - b.x(), a.y() - b.y()); }

Options varied(unsigned seed, Scan scan)
{
    static const int sizes[] = {11, 15, 20};
    Options o;
    o.seed = seed;
    o.scan = scan;
    o.shape = Shape(seed % 3);
    o.stations = 10 + int((seed * 17) % 51);
    o.fork = seed % 2 == 0;
    o.touchingWalls = (seed / 2) % 2 == 0;
    o.cyrillic = (seed / 3) % 2 == 1;
    o.serif = (seed / 5) % 2 == 1;
    o.labelSize = sizes[(seed / 7) % 3];
    return o;
}

// The found marks matched to the stations, in order: index into `marks` or -1 for each station.
std::vector<int> matchInOrder(const std::vector<Station> &stations, const std::vector<TraceFinder::Mark> &marks)
{
    std::vector<int> match(stations.size(), -1);
    size_t from = 0;
    for (size_t i = 0; i < stations.size(); ++i)
        for (size_t k = from; k < marks.size(); ++k)
            if (distance(marks[k].centre, stations[i].centre) <= Found) {
                match[i] = int(k);
                from = k + 1;
                break;
            }
    return match;
}

struct Tally
{
    double stations = 0, traverses = 0, found = 0, precise = 0, falseMarks = 0, profileStations = 0,
           profileFound = 0, labelsRight = 0, ocrRight = 0, forALook = 0, clicks = 0;

    void report(benchmark::State &state) const
    {
        state.counters["found_in_order"] = found / stations;
        state.counters["within_half_px"] = precise / stations;
        state.counters["false_marks"] = falseMarks / traverses;
        if (profileStations > 0)
            state.counters["profile_found"] = profileFound / profileStations;
        state.counters["labels_right"] = labelsRight / stations;
        state.counters["ocr_right"] = ocrRight / stations;
        state.counters["for_a_look"] = forALook / stations;
        state.counters["clicks_per_station"] = clicks / stations;
    }
};

void tallyPlan(Tally &tally, const Sheet &plan, const TraceFinder::Trace &trace, const std::vector<int> &match)
{
    tally.stations += double(plan.stations.size());
    tally.traverses += 1;
    tally.clicks += 2;
    std::vector<bool> used(trace.marks.size());
    for (size_t i = 0; i < match.size(); ++i) {
        if (match[i] < 0) {
            tally.clicks += 1;
            continue;
        }
        used[size_t(match[i])] = true;
        tally.found += 1;
        tally.precise += distance(trace.marks[size_t(match[i])].centre, plan.stations[i].centre) <= 0.5;
    }
    for (bool u : used)
        if (!u) {
            tally.falseMarks += 1;
            tally.clicks += 1;
        }
}

LabelReader &reader()
{
    static LabelReader shared;
    return shared;
}

void BM_TraceTraverse(benchmark::State &state)
{
    const Scan scan = Scan(state.range(0));
    Tally tally;
    unsigned seed = 1;
    for (auto _ : state) {
        state.PauseTiming();
        Options o = varied(seed++, scan);
        const Sheet plan = makeSheet(o);
        o.profile = true;
        o.fork = false;
        const Sheet profile = makeSheet(o);
        const QPointF jitter(1.5, -1.0);
        state.ResumeTiming();

        const TraceFinder::Trace trace = TraceFinder::traceTraverse(plan.image, plan.stations.front().centre + jitter,
                                                                    plan.stations.back().centre - jitter);
        const std::vector<std::optional<TraceFinder::Mark>> onProfile
            = TraceFinder::followOnProfile(profile.image, profile.stations.front().centre, profile.guides);
        std::vector<QPointF> centres;
        std::vector<double> radii;
        for (const TraceFinder::Mark &m : trace.marks) {
            centres.push_back(m.centre);
            radii.push_back(m.radius);
        }
        std::vector<LabelReader::Reading> readings;
        QStringList texts;
        for (size_t k = 0; k < centres.size(); ++k) {
            readings.push_back(reader().read(plan.image, centres[k], radii[k]));
            texts << readings.back().text;
        }
        texts = TraceLabels::inOneScript(texts);
        std::vector<TraceLabels::Reading> series;
        for (size_t k = 0; k < readings.size(); ++k)
            series.push_back({texts[qsizetype(k)], readings[k].confidence});
        const std::vector<TraceLabels::Settled> labels = TraceLabels::settle(series);

        state.PauseTiming();
        const std::vector<int> match = matchInOrder(plan.stations, trace.marks);
        tallyPlan(tally, plan, trace, match);
        tally.clicks += 1; // the profile's first station
        for (size_t g = 0; g < onProfile.size(); ++g) {
            tally.profileStations += 1;
            const bool right = onProfile[g] && distance(onProfile[g]->centre, profile.stations[g + 1].centre) <= Found;
            tally.profileFound += right;
            tally.clicks += !right;
        }
        for (size_t i = 0; i < match.size(); ++i) {
            if (match[i] < 0)
                continue;
            const auto k = size_t(match[i]);
            tally.labelsRight += labels[k].label == plan.stations[i].label;
            tally.ocrRight += texts[qsizetype(k)] == plan.stations[i].label;
            tally.forALook += labels[k].forALook;
        }
        state.ResumeTiming();
    }
    tally.report(state);
}

void BM_TraceWithoutLine(benchmark::State &state)
{
    const Scan scan = Scan(state.range(0));
    Tally tally;
    unsigned seed = 100;
    for (auto _ : state) {
        state.PauseTiming();
        Options o = varied(seed++, scan);
        o.centreLine = false;
        o.fork = false;
        o.touchingWalls = false;
        const Sheet plan = makeSheet(o);
        state.ResumeTiming();
        const TraceFinder::Trace trace
            = TraceFinder::traceTraverse(plan.image, plan.stations.front().centre, plan.stations.back().centre);
        state.PauseTiming();
        tallyPlan(tally, plan, trace, matchInOrder(plan.stations, trace.marks));
        state.ResumeTiming();
    }
    state.counters["found_in_order"] = tally.found / tally.stations;
    state.counters["false_marks"] = tally.falseMarks / tally.traverses;
}

void BM_TraceLargeSheet(benchmark::State &state)
{
    Options o;
    o.stations = 50;
    o.seed = 77;
    o.legLength = 200;
    o.minimumSide = 12248; // 150 megapixels
    o.fork = true;
    o.touchingWalls = true;
    static const Sheet sheet = makeSheet(o);
    Tally tally;
    for (auto _ : state) {
        const TraceFinder::Trace trace = TraceFinder::traceTraverse(sheet.image, sheet.stations.front().centre,
                                                                    sheet.stations.back().centre);
        state.PauseTiming();
        tallyPlan(tally, sheet, trace, matchInOrder(sheet.stations, trace.marks));
        state.ResumeTiming();
    }
    state.counters["found_in_order"] = tally.found / tally.stations;
    state.counters["false_marks"] = tally.falseMarks / tally.traverses;
}

} // namespace

BENCHMARK(BM_TraceTraverse)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(24);
BENCHMARK(BM_TraceWithoutLine)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(8);
BENCHMARK(BM_TraceLargeSheet)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char **argv)
{
    // Labels are drawn with fonts, which need the GUI side of Qt (no screen).
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
