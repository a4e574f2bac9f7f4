// Speed of the survey check and the 3D view on a survey of 1000 stations with 50 loops.
//
//   BM_CheckNetwork       legs, positions, loops, pieces and likely ties (SurveyNetwork::build)
//   BM_CheckClustered/0|1|2  the same for 999 stations clicked within one pixel: one traverse,
//                         999 stations each a piece of its own, 333 pieces of three
//   BM_Centreline3D/0|1   one repaint of the 3D view at 1000 x 700, without and with labels
#include "checks/CentrelineDrawing.h"
#include "checks/SurveyNetwork.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <cmath>

namespace {

// A main passage of 500 stations wandering east, and 50 side passages of 10 stations: each
// leaves the main passage at station 10k and comes back to it at 10k + 5, closing a loop.
StationTable loopySurvey()
{
    std::vector<Station> stations;
    quint32 random = 4242;
    auto next = [&](double range) {
        random = random * 1664525u + 1013904223u;
        return (double(random >> 8) / double(1u << 24) - 0.5) * range;
    };
    auto make = [](const QString &name, double east, double south, double down, double along) {
        Station s{};
        s.planXMetres = float(east);
        s.planYMetres = float(south);
        s.profileYMetres = float(down);
        s.planX = float(east / 0.05);
        s.planY = float(south / 0.05);
        s.profileX = float(along / 0.04);
        s.profileY = float(down / 0.04);
        s.label = fittedLabel(name);
        return s;
    };
    std::vector<Station> main;
    double east = 0, south = 0, down = 0, along = 0;
    for (int i = 0; i < 500; ++i) {
        const double de = 4 + next(2), ds = next(6), dd = next(2);
        if (i > 0) {
            along += std::hypot(de, ds);
            east += de;
            south += ds;
            down += dd;
        }
        main.push_back(make(QStringLiteral("M%1").arg(i), east, south, down, along));
    }
    stations = main;
    stations.back().branchEnd = true;
    for (int k = 0; k < 50; ++k) {
        const Station &from = main[size_t(10 * k)];
        const Station &to = main[size_t(10 * k + 5)];
        stations.push_back(from);
        double e = from.planXMetres, s = from.planYMetres, d = from.profileYMetres, a = 0;
        for (int j = 1; j < 9; ++j) {
            // Out to the south and back, ending beside the station it returns to.
            const double t = j / 9.0;
            const double ne = from.planXMetres + (to.planXMetres - from.planXMetres) * t + next(1);
            const double ns = from.planYMetres + 15 * std::sin(t * M_PI) + next(1);
            const double nd = from.profileYMetres + (to.profileYMetres - from.profileYMetres) * t + next(1);
            a += std::hypot(ne - e, ns - s);
            e = ne, s = ns, d = nd;
            stations.push_back(make(QStringLiteral("S%1_%2").arg(k).arg(j), e, s, d, a));
        }
        Station back = to;
        back.branchEnd = true;
        stations.push_back(back);
    }
    StationTable table;
    table.assign(stations);
    return table;
}

CheckSettings settings()
{
    CheckSettings s;
    s.profile.metresPerPixel = 0.04;
    return s;
}

void BM_CheckNetwork(benchmark::State &state)
{
    const StationTable table = loopySurvey();
    int loops = 0;
    for (auto _ : state) {
        const SurveyNetwork network = SurveyNetwork::build(table, settings());
        loops = int(network.loops.size());
        benchmark::DoNotOptimize(network.positions.data());
    }
    state.counters["stations"] = table.count();
    state.counters["loops"] = loops;
}

// 999 stations within a pixel on both drawings, every one named otherwise: each is a likely tie
// of the others, the worst case of the search for them.
StationTable clusteredSurvey(int arrangement)
{
    std::vector<Station> stations;
    for (int i = 0; i < 999; ++i) {
        Station s{};
        s.planX = 500.0f + float(i % 7) * 0.1f;
        s.planY = 500.0f + float(i % 5) * 0.1f;
        s.profileX = 700.0f + float(i % 3) * 0.1f;
        s.profileY = 300.0f + float(i % 11) * 0.05f;
        s.planXMetres = s.planX * 0.05f;
        s.planYMetres = s.planY * 0.05f;
        s.profileYMetres = s.profileY * 0.04f;
        s.label = fittedLabel(QStringLiteral("C%1").arg(i));
        s.branchEnd = arrangement == 1 || (arrangement == 2 && i % 3 == 2);
        stations.push_back(s);
    }
    StationTable table;
    table.assign(stations);
    return table;
}

void BM_CheckClustered(benchmark::State &state)
{
    const StationTable table = clusteredSurvey(int(state.range(0)));
    CheckSettings clustered = settings();
    clustered.plans.emplace_back(PlanSheet, Calibration{0.05});
    int ties = 0;
    for (auto _ : state) {
        const SurveyNetwork network = SurveyNetwork::build(table, clustered);
        ties = int(network.likelyTies.size());
        benchmark::DoNotOptimize(network.positions.data());
    }
    state.counters["stations"] = table.count();
    state.counters["ties"] = ties;
}

void BM_Centreline3D(benchmark::State &state)
{
    const StationTable table = loopySurvey();
    const SurveyNetwork network = SurveyNetwork::build(table, settings());
    const CentrelineScene scene = CentrelineScene::of(network);
    const QSize size(1000, 700);
    CentrelineCamera camera;
    camera.rotate(30, -50); // turned and tilted, so every leg is a slanted line
    camera.fit(scene.stations, CentrelinePainter::drawingArea(size));
    QImage picture(size, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&picture);
        CentrelinePainter::paint(painter, scene, camera, size, state.range(0) != 0);
    }
    state.counters["stations"] = scene.stations.size();
}

} // namespace

BENCHMARK(BM_CheckNetwork)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_CheckClustered)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_Centreline3D)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(5);
