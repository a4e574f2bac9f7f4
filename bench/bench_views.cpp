// Speed and memory of the image panes on large scans.
//
//   BM_RedrawAfterClick/N  a right click placing the pending plan point (both views redrawn) plus
//                          painting a 1200 x 900 visible area of an N-megapixel plan with 999
//                          labelled stations, their legs and a guide circle.
//   BM_ZoomStep/N          one plus and one minus press on that view, each painted.
//   BM_OpenImage/150       Open Plan on a 150-megapixel PNG: decode, store, first draw.
//   BM_DecodeOnly/150      a bare QImageReader::read() of the same file.
//   BM_OpenImageG4/150     Open Plan on a 150-megapixel 1-bit CCITT G4 TIFF, as BM_OpenImage.
//   BM_DecodeOnlyG4/150    a bare QImageReader::read() of that TIFF.
//   BM_OpenG4AsBefore/150  that read plus the expansion to 8 bits that opening did before.
//   BM_RedrawAfterClickOneBit/N  BM_RedrawAfterClick on a 1-bit plan.
//   BM_OpenProject/150     a project's two 150-megapixel PNG scans read (both at once) and shown.
//   BM_OpenProjectOneAfterOther/150  the same two scans read one after the other, as before.
//   BM_OpenCommandReturns/N  from starting a scan's reading to the window painted again (the
//                          reading goes on in its thread and is cancelled outside the timing).
//   BM_RepaintWhileReading/150  paints of the visible area while a 150-megapixel PNG is read:
//                          max_paint_ms is the longest.
//   BM_DragStep/W          one step of dragging a station's mark on the plan of 999 stations in
//                          Move mode, the plan painted; W=1 with the Stations list, the Survey
//                          Check and the 3D view open. follow_ms: what those windows then take,
//                          once, a moment after the edits (not part of the step).
//   BM_SixSheets/100       a project of three plan and three profile sheets, 100-megapixel PNGs,
//                          opened and every sheet shown once: rss_MB once opened, after showing
//                          every sheet, and the peak.
//   BM_UndoHistory/150     200 edits and two 150-megapixel scans opened over the first:
//                          history_MB is what the undo steps hold, rss_growth_MB what the
//                          process grew by beyond the scan shown.
//
// The PNG is made once in /tmp (by a child process, so its making does not count in this
// process's peak memory). Every benchmark reports peak_rss_MB, the process's high-water mark
// when it ends: run one benchmark per process to read it, e.g.
//   speomark-bench --benchmark_filter=BM_OpenImage/150/
#include "BenchDialogs.h"
#include "app/ui/SpeomarkWindows.h"
#include "survey/Station.h"
#include "views/ui/ImagePane.h"
#include "project/ProjectController.h"
#include "project/ProjectFile.h"
#include "views/ImageLoader.h"
#include "views/ViewEditor.h"
#include <QElapsedTimer>
#include <tiffio.h>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QDockWidget>
#include <QFile>
#include <QThread>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <cmath>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int VisibleWidth = 1200;
constexpr int VisibleHeight = 900;

QSize sizeFor(int megapixels)
{
    // A 4:3 sheet of that many pixels.
    const double pixels = megapixels * 1e6;
    const int width = int(std::sqrt(pixels * 4.0 / 3.0));
    return QSize(width, int(pixels / width));
}

// A scan-like sheet: off-white paper with a little noise, a faint printed grid and ink strokes.
QImage sheet(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return image;
    quint32 random = 12345;
    for (int y = 0; y < size.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            random = random * 1664525u + 1013904223u;
            const int noise = int(random >> 29); // 0..7
            int grey = 236 + noise;
            if (x % 173 == 0 || y % 173 == 0)
                grey = 190;
            if ((x + 2 * y) % 997 < 3)
                grey = 30;
            row[x] = qRgb(grey, grey - 3, grey - 10);
        }
    }
    return image;
}

QString bigPng(int megapixels)
{
    const QString path = QStringLiteral("/tmp/speomark-bench-%1mp.png").arg(megapixels);
    if (QFileInfo::exists(path))
        return path;
    std::fprintf(stderr, "Making %s once, this takes a while...\n", qPrintable(path));
    const pid_t child = fork();
    if (child == 0) {
        const QString part = path + QStringLiteral(".part");
        QImageWriter writer(part, "png");
        writer.setQuality(60);
        const bool written = writer.write(sheet(sizeFor(megapixels)));
        _exit(written && std::rename(qPrintable(part), qPrintable(path)) == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return QFileInfo::exists(path) ? path : QString();
}

// A 1-bit scan of that size, black ink on white (as the sheet above, thresholded).
QImage oneBitSheet(const QSize &size)
{
    QImage image(size, QImage::Format_Mono);
    if (image.isNull())
        return image;
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    for (int y = 0; y < size.height(); ++y) {
        uchar *row = image.scanLine(y);
        for (int x = 0; x < size.width(); ++x)
            if (x % 173 == 0 || y % 173 == 0 || (x + 2 * y) % 997 < 3)
                row[x >> 3] |= uchar(0x80 >> (x & 7));
    }
    return image;
}

QString bigG4(int megapixels)
{
    const QString path = QStringLiteral("/tmp/speomark-bench-%1mp-g4.tif").arg(megapixels);
    if (QFileInfo::exists(path))
        return path;
    std::fprintf(stderr, "Making %s once...\n", qPrintable(path));
    const pid_t child = fork();
    if (child == 0) {
        const QString part = path + QStringLiteral(".part");
        const QImage image = oneBitSheet(sizeFor(megapixels));
        TIFF *tiff = TIFFOpen(qPrintable(part), "w");
        if (!tiff || image.isNull())
            _exit(1);
        TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, image.width());
        TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, image.height());
        TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
        TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, image.height());
        for (int y = 0; y < image.height(); ++y)
            if (TIFFWriteScanline(tiff, const_cast<uchar *>(image.constScanLine(y)), uint32_t(y), 0) < 0)
                _exit(1);
        TIFFClose(tiff);
        _exit(std::rename(qPrintable(part), qPrintable(path)) == 0 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return QFileInfo::exists(path) ? path : QString();
}

double peakRssMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

// The main window, shown off screen, with a plan pane whose visible part is 1200 x 900.
struct Window
{
    Window()
    {
        auto service = std::make_unique<FixedDialogs>();
        dialogs = service.get();
        form().setDialogService(std::move(service));
        form().resize(2 * VisibleWidth + 100, VisibleHeight + 300);
        form().show();
        QApplication::processEvents();
        box()->resize(VisibleWidth + 20, VisibleHeight + 20);
    }
    MainWindow &form() { return windows.mainWindow; }
    QScrollArea *box() { return form().findChild<QScrollArea *>(QStringLiteral("ScrollBox1")); }
    ImagePane *pane() { return form().findChild<ImagePane *>(QStringLiteral("ImageLeft")); }
    QPoint scrolled() { return {box()->horizontalScrollBar()->value(), box()->verticalScrollBar()->value()}; }
    // What the window system would ask for: the pane's visible area, painted.
    void paintVisible()
    {
        const QRect visible(scrolled(), QSize(VisibleWidth, VisibleHeight));
        pane()->render(&target, QPoint(), QRegion(visible), QWidget::DrawChildren);
    }

    SpeomarkWindows windows;
    FixedDialogs *dialogs = nullptr;
    QImage target{VisibleWidth, VisibleHeight, QImage::Format_ARGB32_Premultiplied};
};

// 999 labelled stations wandering over the visible part, a pending station with both points
// placed (so the plan shows its guide circle), the grid on.
void placeSurvey(MainWindow &form, const QRect &area)
{
    std::vector<Station> stations(size_t(StationTable::MaxAdded) + 1, Station{});
    quint32 random = 777;
    auto next = [&](int range) {
        random = random * 1664525u + 1013904223u;
        return int((random >> 8) % quint32(range));
    };
    double x = area.center().x();
    double y = area.center().y();
    for (int i = 0; i <= StationTable::MaxAdded; ++i) {
        x = std::clamp(x + next(61) - 30, area.left() + 10.0, area.right() - 40.0);
        y = std::clamp(y + next(61) - 30, area.top() + 10.0, area.bottom() - 20.0);
        Station &s = stations[size_t(i)];
        s.planX = float(x);
        s.planY = float(y);
        s.profileX = float(x);
        s.profileY = float(y);
        s.label = fittedLabel(QStringLiteral("A%1").arg(i));
    }
    const Station pending = stations.back();
    stations.pop_back();
    form.document().editStations([&](StationTable &table) {
        table.assign(stations);
        table.pending() = pending;
    });
    form.session().setPointPlaced(ViewSide::Plan, true);
    form.session().setPointPlaced(ViewSide::Profile, true);
    form.document().editView(ViewSide::Plan, [](ViewSettings &view) { view.calibration.metresPerPixel = 0.2; });
    form.document().editView(ViewSide::Profile, [](ViewSettings &view) { view.calibration.metresPerPixel = 0.1; });
    form.session().setNewBranchChecked(false);
}

// A window showing an in-memory plan of that size, scrolled to its middle, with the survey.
std::unique_ptr<Window> surveyedPlan(int megapixels, bool oneBit = false)
{
    auto window = std::make_unique<Window>();
    MainWindow &form = window->form();
    const QSize size = sizeFor(megapixels);
    form.document().editView(ViewSide::Plan, [&](ViewSettings &view) {
        view.image = oneBit ? oneBitSheet(size) : sheet(size);
        view.zoom = 1.0;
    });
    QScrollArea *box = window->box();
    box->horizontalScrollBar()->setValue(size.width() / 2 - VisibleWidth / 2);
    box->verticalScrollBar()->setValue(size.height() / 2 - VisibleHeight / 2);
    placeSurvey(form, QRect(window->scrolled(), QSize(VisibleWidth, VisibleHeight)) & QRect(QPoint(0, 0), size));
    window->paintVisible(); // labels are rendered once, as after the first redraw
    return window;
}

void BM_RedrawAfterClick(benchmark::State &state)
{
    auto window = surveyedPlan(int(state.range(0)));
    const QPoint click = window->scrolled() + QPoint(VisibleWidth / 2, VisibleHeight / 2);
    for (auto _ : state) {
        window->form().releaseOnPane(ViewSide::Plan, Qt::RightButton, Qt::NoModifier, click);
        window->paintVisible();
    }
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

void BM_ZoomStep(benchmark::State &state)
{
    auto window = surveyedPlan(int(state.range(0)));
    for (auto _ : state) {
        window->form().zoomIn(ViewSide::Plan);
        window->paintVisible();
        window->form().zoomOut(ViewSide::Plan);
        window->paintVisible();
    }
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

void BM_OpenImage(benchmark::State &state)
{
    const QString path = bigPng(int(state.range(0)));
    if (path.isEmpty()) {
        state.SkipWithError("could not make the test image");
        return;
    }
    Window window;
    window.dialogs->path = path;
    for (auto _ : state) {
        state.PauseTiming();
        // Each open starts from an empty pane, as the first open of a session does.
        window.form().document().editView(ViewSide::Plan, [](ViewSettings &view) { view.image = QImage(); });
        state.ResumeTiming();
        window.form().openImage(ViewSide::Plan);
        window.form().imageLoader().waitForFinished();
        window.paintVisible();
    }
    const ViewSettings &plan = window.form().document().view(ViewSide::Plan);
    const double pixels = double(plan.imageWidth()) * plan.imageHeight();
    state.counters["peak_rss_MB"] = peakRssMegabytes();
    state.counters["budget_MB"] = 1.3 * 4.0 * pixels / (1024.0 * 1024.0) + 100.0;
}

void BM_DecodeOnly(benchmark::State &state)
{
    const QString path = bigPng(int(state.range(0)));
    if (path.isEmpty()) {
        state.SkipWithError("could not make the test image");
        return;
    }
    QImageReader::setAllocationLimit(0);
    for (auto _ : state) {
        QImageReader reader(path);
        QImage image = reader.read();
        benchmark::DoNotOptimize(image);
    }
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

void BM_RedrawAfterClickOneBit(benchmark::State &state)
{
    auto window = surveyedPlan(int(state.range(0)), true);
    const QPoint click = window->scrolled() + QPoint(VisibleWidth / 2, VisibleHeight / 2);
    for (auto _ : state) {
        window->form().releaseOnPane(ViewSide::Plan, Qt::RightButton, Qt::NoModifier, click);
        window->paintVisible();
    }
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

void BM_OpenImageG4(benchmark::State &state)
{
    const QString path = bigG4(int(state.range(0)));
    if (path.isEmpty()) {
        state.SkipWithError("could not make the test image");
        return;
    }
    Window window;
    window.dialogs->path = path;
    for (auto _ : state) {
        state.PauseTiming();
        window.form().document().editView(ViewSide::Plan, [](ViewSettings &view) { view.image = QImage(); });
        state.ResumeTiming();
        window.form().openImage(ViewSide::Plan);
        window.form().imageLoader().waitForFinished();
        window.paintVisible();
    }
    const QImage &image = window.form().document().view(ViewSide::Plan).image;
    const double pixelsMB = image.sizeInBytes() / (1024.0 * 1024.0);
    state.counters["pixels_MB"] = pixelsMB;
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

void BM_DecodeOnlyG4(benchmark::State &state)
{
    const QString path = bigG4(int(state.range(0)));
    QImageReader::setAllocationLimit(0);
    for (auto _ : state) {
        QImageReader reader(path);
        QImage image = reader.read();
        benchmark::DoNotOptimize(image);
    }
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

void BM_OpenG4AsBefore(benchmark::State &state)
{
    const QString path = bigG4(int(state.range(0)));
    QImageReader::setAllocationLimit(0);
    qint64 bytes = 0;
    for (auto _ : state) {
        QImageReader reader(path);
        QImage image = reader.read();
        image.convertTo(QImage::Format_Indexed8);
        bytes = image.sizeInBytes();
        benchmark::DoNotOptimize(image);
    }
    state.counters["pixels_MB"] = bytes / (1024.0 * 1024.0);
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

// A project naming the 150-megapixel PNG as both its plan and its profile.
ProjectContents twoScanProject(const QString &path)
{
    ProjectContents project;
    project.header.planImagePath = path;
    project.header.profileImagePath = path;
    return project;
}

void BM_OpenProject(benchmark::State &state)
{
    const QString path = bigPng(int(state.range(0)));
    Window window;
    ProjectController controller(window.form().document(), window.form().session());
    const ProjectContents project = twoScanProject(path);
    for (auto _ : state) {
        state.PauseTiming();
        for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile})
            window.form().document().editView(side, [](ViewSettings &view) { view.image = QImage(); });
        state.ResumeTiming();
        const ProjectController::Opened opened = controller.open(project, QStringLiteral("/tmp/bench.sprj"));
        if (opened.planImageMissing || opened.profileImageMissing)
            state.SkipWithError("a scan was not read");
        window.paintVisible();
    }
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

void BM_OpenProjectOneAfterOther(benchmark::State &state)
{
    const QString path = bigPng(int(state.range(0)));
    for (auto _ : state) {
        const ImageRead plan = ImageFile::read(path);
        const ImageRead profile = ImageFile::read(path);
        benchmark::DoNotOptimize(plan);
        benchmark::DoNotOptimize(profile);
    }
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

QString scanOfSize(int megapixels)
{
    return megapixels >= 150 ? bigPng(150) : bigPng(megapixels);
}

void BM_OpenCommandReturns(benchmark::State &state)
{
    const QString path = scanOfSize(int(state.range(0)));
    auto window = surveyedPlan(1);
    ImageLoader loader;
    for (auto _ : state) {
        loader.start({{path, ImageRequest()}});
        QApplication::processEvents();
        window->paintVisible();
        state.PauseTiming();
        loader.cancel();
        loader.waitForFinished();
        state.ResumeTiming();
    }
}

void BM_RepaintWhileReading(benchmark::State &state)
{
    const QString path = bigPng(int(state.range(0)));
    auto window = surveyedPlan(150);
    double longest = 0.0;
    int paints = 0;
    for (auto _ : state) {
        ImageLoader loader;
        loader.start({{path, ImageRequest()}});
        while (loader.isBusy()) {
            QElapsedTimer timer;
            timer.start();
            window->form().releaseOnPane(ViewSide::Plan, Qt::RightButton, Qt::NoModifier,
                                         window->scrolled() + QPoint(VisibleWidth / 2, VisibleHeight / 2));
            window->paintVisible();
            QApplication::processEvents();
            longest = std::max(longest, timer.nsecsElapsed() / 1e6);
            ++paints;
        }
    }
    state.counters["max_paint_ms"] = longest;
    state.counters["paints"] = paints;
}

double residentMegabytes()
{
    long pages = 0, resident = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void BM_DragStep(benchmark::State &state)
{
    auto window = surveyedPlan(1);
    MainWindow &form = window->form();
    if (state.range(0)) {
        form.findChild<QDockWidget *>()->show();
        form.checks().showCheck();
        form.checks().show3d();
    }
    QApplication::processEvents();
    StationEditor(form.document(), form.session(), &form.history()).select(500);
    const Station &station = form.document().stations().at(500);
    QPoint at(int(station.planX), int(station.planY));
    form.pressOnPane(ViewSide::Plan, Qt::LeftButton, Qt::NoModifier, at);
    int step = 0;
    for (auto _ : state) {
        at += QPoint(++step % 2 ? 1 : -1, 0);
        form.moveOnPane(ViewSide::Plan, Qt::LeftButton, at);
        window->paintVisible();
    }
    form.releaseOnPane(ViewSide::Plan, Qt::LeftButton, Qt::NoModifier, at);
    // The windows that follow the survey do so once, a moment after the last step.
    QThread::msleep(200);
    QElapsedTimer follow;
    follow.start();
    QApplication::processEvents();
    state.counters["follow_ms"] = follow.nsecsElapsed() / 1e6;
}

void BM_UndoHistory(benchmark::State &state)
{
    const QString path = bigPng(int(state.range(0)));
    const QString second = QStringLiteral("/tmp/speomark-bench-second.png");
    if (path.isEmpty() || !(QFileInfo::exists(second) || QFile::copy(path, second))) {
        state.SkipWithError("could not make the test image");
        return;
    }
    for (auto _ : state) {
        Window window;
        MainWindow &form = window.form();
        ViewEditor views(form.document(), form.session(), &form.history());
        views.openImage(ViewSide::Plan, path);
        placeSurvey(form, QRect(0, 0, 4000, 3000));
        form.history().clear();
        const double before = residentMegabytes();
        StationEditor stations(form.document(), form.session(), &form.history());
        stations.select(10);
        for (int i = 0; i < 200; ++i)
            stations.nudge(ViewSide::Plan, QPoint(i % 2 ? 1 : -1, 0)), stations.select(10 + i % 50);
        views.openImage(ViewSide::Plan, second);
        views.openImage(ViewSide::Plan, path);
        state.counters["history_MB"] = double(form.history().bytes()) / (1024.0 * 1024.0);
        state.counters["rss_growth_MB"] = residentMegabytes() - before;
        state.counters["steps"] = form.history().count();
    }
}

void BM_SixSheets(benchmark::State &state)
{
    const QString scan = bigPng(int(state.range(0)));
    if (scan.isEmpty()) {
        state.SkipWithError("could not make the test image");
        return;
    }
    const QString project = QStringLiteral("/tmp/speomark-bench-six-sheets.sprj");
    {
        std::vector<ViewSettings> sheets;
        for (int i = 0; i < 6; ++i) {
            ViewSettings sheet;
            sheet.id = i;
            sheet.kind = i < 3 ? SheetKind::Plan : SheetKind::Profile;
            sheet.imagePath = scan;
            sheet.calibration.metresPerPixel = 0.01;
            sheets.push_back(sheet);
        }
        SurveyDocument document;
        document.setSheets(sheets);
        ProjectFile::write(project, ProjectContents::capture(document));
    }
    for (auto _ : state) {
        Window window;
        MainWindow &form = window.form();
        form.openProject(project);
        while (form.imageLoader().isBusy())
            form.imageLoader().waitForFinished();
        state.counters["rss_opened_MB"] = residentMegabytes();
        for (const SheetKind kind : {SheetKind::Plan, SheetKind::Profile})
            for (const SheetId id : form.document().sheetsOf(kind))
                form.sheets().show(SurveyDocument::sideOf(kind), id);
        state.counters["rss_after_every_sheet_MB"] = residentMegabytes();
    }
    state.counters["peak_rss_MB"] = peakRssMegabytes();
}

} // namespace

BENCHMARK(BM_SixSheets)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_DragStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_UndoHistory)->Arg(150)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_RedrawAfterClick)->Arg(1)->Arg(150)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_ZoomStep)->Arg(1)->Arg(150)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_OpenImage)->Arg(150)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime();
BENCHMARK(BM_DecodeOnly)->Arg(150)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime();
BENCHMARK(BM_RedrawAfterClickOneBit)->Arg(1)->Arg(150)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_OpenImageG4)->Arg(150)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime();
BENCHMARK(BM_DecodeOnlyG4)->Arg(150)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime();
BENCHMARK(BM_OpenG4AsBefore)->Arg(150)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5)->UseRealTime();
BENCHMARK(BM_OpenProject)->Arg(150)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();
BENCHMARK(BM_OpenProjectOneAfterOther)->Arg(150)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();
BENCHMARK(BM_OpenCommandReturns)->Arg(1)->Arg(150)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_RepaintWhileReading)->Arg(150)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

int main(int argc, char **argv)
{
    // The big PNG is made before Qt starts, so the forked maker copies no windows or threads.
    bool listing = false;
    for (int i = 1; i < argc; ++i)
        listing = listing || QByteArray(argv[i]).startsWith("--benchmark_list_tests");
    if (!listing && bigPng(100).isEmpty())
        std::fprintf(stderr, "could not make /tmp/speomark-bench-100mp.png\n");
    if (!listing && bigPng(150).isEmpty())
        std::fprintf(stderr, "could not make /tmp/speomark-bench-150mp.png\n");
    if (!listing && bigG4(150).isEmpty())
        std::fprintf(stderr, "could not make /tmp/speomark-bench-150mp-g4.tif\n");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The off-screen platform remarks on every window it cannot size; that says nothing here.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) {
        if (!text.contains(QLatin1String("propagateSizeHints")))
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
