// What choosing another sheet's tab costs on the window's thread, in a project of five plan sheets
// of 150 megapixels in colour: the document's sheet and scan cache calls, the snapshot and the
// repaint the switch brings, and, when the sheet's scan was let go, the scan put in place once the
// background has read it. The background decode is counted apart (it leaves the window usable).
//
// Going back and forth between two sheets finds both scans held; going round all five always
// finds the next one let go (four scans of 600 MB are beyond the cache's budget besides the one
// on screen), so each switch reads it again in the background.
#include "app/ui/MainWindow.h"
#include "BenchDialogs.h"
#include "app/ui/SpeomarkWindows.h"
#include "project/ProjectContents.h"
#include "project/ProjectFile.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QThread>
#include <cmath>
#include <cstdio>
#include <memory>

namespace {

constexpr int Sheets = 5;
constexpr int Megapixels = 150;

QTemporaryDir *workDir = nullptr;
QString projectPath;

// A 4:3 colour sheet of that many pixels: off-white paper with a little noise, a faint printed
// grid and ink strokes, so that it compresses and decodes as a scan does.
QImage scan(int megapixels)
{
    const double pixels = megapixels * 1e6;
    const int width = int(std::sqrt(pixels * 4.0 / 3.0));
    QImage image(width, int(pixels / width), QImage::Format_RGB32);
    quint32 random = 12345;
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            random = random * 1664525u + 1013904223u;
            int grey = 240 + int(random >> 30); // 240..243
            if (x % 173 == 0 || y % 173 == 0)
                grey = 190;
            if ((x + 2 * y) % 997 < 3)
                grey = 30;
            row[x] = qRgb(grey, grey - 3, grey - 10);
        }
    }
    return image;
}

// One scan file on disk, named by all five sheets (each holds its own decoded copy).
bool makeProject()
{
    const QString scanPath = workDir->filePath(QStringLiteral("sheet.png"));
    QImageWriter writer(scanPath, "png");
    writer.setCompression(1); // quick to write; decoding it is what is measured
    if (!writer.write(scan(Megapixels)))
        return false;
    std::vector<ViewSettings> sheets;
    for (int i = 0; i <= Sheets; ++i) {
        ViewSettings sheet;
        sheet.id = i;
        sheet.kind = i < Sheets ? SheetKind::Plan : SheetKind::Profile;
        sheet.imagePath = i < Sheets ? scanPath : QString();
        sheet.calibration.metresPerPixel = 0.01;
        sheets.push_back(sheet);
    }
    SurveyDocument document;
    document.setSheets(sheets);
    projectPath = workDir->filePath(QStringLiteral("five-sheets.sprj"));
    ProjectFile::write(projectPath, ProjectContents::capture(document));
    return true;
}

struct Window
{
    Window()
    {
        form().setDialogService(std::make_unique<FixedDialogs>());
        form().resize(1600, 1000);
        form().show();
        QApplication::processEvents();
    }
    MainWindow &form() { return windows.mainWindow; }
    SpeomarkWindows windows;
};

bool planScanHeld(MainWindow &form) { return !form.document().view(ViewSide::Plan).image.isNull(); }

// Lets the events through until the plan's scan is in place: the time spent handling events
// while it arrives is the window's, the time waited between them the background's.
void waitForScan(MainWindow &form, double *windowMs, double *backgroundMs)
{
    QElapsedTimer waited;
    waited.start();
    double handling = 0.0;
    while (!planScanHeld(form)) {
        QElapsedTimer step;
        step.start();
        QApplication::processEvents();
        const double ms = step.nsecsElapsed() / 1e6;
        if (planScanHeld(form)) {
            step.restart();
            QApplication::processEvents(); // the repaint it brings
            *windowMs += ms + step.nsecsElapsed() / 1e6;
            break;
        }
        handling += ms;
        QThread::msleep(1);
    }
    *backgroundMs += waited.nsecsElapsed() / 1e6 - handling;
}

void BM_SheetTabSwitch(benchmark::State &state)
{
    const bool roundAll = state.range(0) != 0;
    Window window;
    MainWindow &form = window.form();
    form.openProject(projectPath);
    while (form.imageLoader().isBusy())
        form.imageLoader().waitForFinished();
    // Every sheet seen once, so that the cache holds what its budget allows.
    for (int i = 1; i < Sheets; ++i) {
        form.sheets().show(ViewSide::Plan, i);
        while (form.imageLoader().isBusy())
            form.imageLoader().waitForFinished();
    }
    int shown = Sheets - 1;
    double arrivalMs = 0.0;
    double decodeMs = 0.0;
    int reads = 0;
    double switchMs = 0.0;
    double repaintMs = 0.0;
    for (auto _ : state) {
        shown = roundAll ? (shown + 1) % Sheets : (shown == Sheets - 1 ? Sheets - 2 : Sheets - 1);
        QElapsedTimer timer;
        timer.start();
        form.sheets().show(ViewSide::Plan, shown);
        const qint64 called = timer.nsecsElapsed();
        QApplication::processEvents(); // the repaint
        const qint64 repainted = timer.nsecsElapsed();
        state.SetIterationTime(repainted / 1e9);
        switchMs += called / 1e6;
        repaintMs += (repainted - called) / 1e6;
        if (!planScanHeld(form)) {
            ++reads;
            waitForScan(form, &arrivalMs, &decodeMs);
        }
    }
    state.counters["show_sheet_ms"] = switchMs / double(state.iterations());
    state.counters["repaint_ms"] = repaintMs / double(state.iterations());
    state.counters["reads_in_background"] = reads;
    state.counters["scan_arrives_window_ms"] = reads ? arrivalMs / reads : 0.0;
    state.counters["background_decode_ms"] = reads ? decodeMs / reads : 0.0;
}

} // namespace

BENCHMARK(BM_SheetTabSwitch)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10)->UseManualTime();

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &text) {
        if (!text.contains(QLatin1String("propagateSizeHints")))
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    workDir = &dir;
    std::fprintf(stderr, "Making a %d-megapixel scan in %s...\n", Megapixels, qPrintable(dir.path()));
    if (!dir.isValid() || !makeProject()) {
        std::fprintf(stderr, "could not make the project\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
