// Memory and speed of opening PDF pages.
//
//   BM_OpenPdfSheet/DPI        an A4 survey sheet (a grid, 3000 strokes and their labels) opened at
//                              that resolution, drawn by the helper in bands.
//   BM_OpenPdfSheetInOneGo/DPI the same page drawn in this process by one Poppler call, as it was
//                              before the helper: what the helper costs.
//   BM_OpenA0Sheet/DPI         an A0 sheet (a grid, 30,000 strokes, 3,000 labels) opened at that
//                              resolution, with window_cpu_s and helper_cpu_s, the processor time
//                              of each side; BM_PdftoppmA0Sheet/DPI: pdftoppm -gray on the same page.
//   BM_OpenComplexPdf/DPI      an A4 page of one filled path of 300,000 segments, opened: takes
//                              about a minute at 72 dpi, several at 300 and a quarter of an hour at
//                              1200 (Poppler's scan conversion is slow on such a path, whoever runs it).
//   BM_CancelComplexPdf/DPI    that page at that resolution, cancelled after a second of drawing:
//                              cancel_ms is the time from Cancel to the reading's end.
//
// Each reports peak_rss_MB, this process's high-water mark (the window's side), and the PDF ones
// helper_peak_MB, the largest helper's. Run one benchmark per process to read them, e.g.
//   speomark-bench --benchmark_filter=BM_OpenComplexPdf/300
#include "views/ImageFile.h"
#include "views/ImageLoader.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QThread>
#include <poppler-qt6.h>
#include <algorithm>
#include <sys/resource.h>

namespace {

double peakMegabytes(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}

QString sheetPdf()
{
    const QString path = QStringLiteral("/tmp/speomark-bench-sheet.pdf");
    if (QFileInfo::exists(path))
        return path;
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(72);
    QPainter painter(&writer);
    painter.setPen(QPen(QColor(120, 120, 120), 0.3));
    for (int at = 0; at < 842; at += 20) {
        painter.drawLine(0, at, 595, at);
        painter.drawLine(at, 0, at, 842);
    }
    painter.setPen(QPen(Qt::black, 0.8));
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 4));
    quint32 random = 99;
    const auto next = [&](int range) { return int(((random = random * 1664525u + 1013904223u) >> 8) % quint32(range)); };
    QPointF from(300, 400);
    for (int i = 0; i < 3000; ++i) {
        const QPointF to(std::clamp(from.x() + next(41) - 20, 20.0, 575.0), std::clamp(from.y() + next(41) - 20, 20.0, 822.0));
        painter.drawLine(from, to);
        if (i % 10 == 0)
            painter.drawText(to, QString::number(i));
        from = to;
    }
    painter.end();
    return path;
}

// A one-page PDF of that size in points, drawn by `content`, with Helvetica as /F1.
QString onePagePdf(const QString &path, int width, int height, const QByteArray &content)
{
    if (QFileInfo::exists(path))
        return path;
    const QByteArray stream = qCompress(content, 9).mid(4);
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + QByteArray::number(width) + ' ' + QByteArray::number(height)
            + "] /Contents 4 0 R /Resources << /Font << /F1 5 0 R >> >> >>",
        "<< /Length " + QByteArray::number(stream.size()) + " /Filter /FlateDecode >>\nstream\n" + stream + "\nendstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    QByteArray pdf = "%PDF-1.4\n";
    QByteArray table;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        table += QByteArray::number(pdf.size()).rightJustified(10, '0') + " 00000 n \n";
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const QByteArray start = QByteArray::number(pdf.size());
    pdf += "xref\n0 6\n0000000000 65535 f \n" + table + "trailer\n<< /Size 6 /Root 1 0 R >>\nstartxref\n" + start
        + "\n%%EOF\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return QString();
    return path;
}

QString complexPdf()
{
    quint32 random = 7;
    const auto next = [&](quint32 range) { return ((random = random * 1664525u + 1013904223u) >> 8) % range; };
    QByteArray content = "0.2 0.2 0.2 rg 300 400 m\n";
    for (int i = 0; i < 300000; ++i)
        content += QByteArray::number(next(595)) + ' ' + QByteArray::number(next(842)) + " l\n";
    content += "f\n";
    return onePagePdf(QStringLiteral("/tmp/speomark-bench-300000-segments.pdf"), 595, 842, content);
}

// An A0 survey sheet: a grey grid every 20 points, 30,000 black strokes and a label on every tenth.
QString a0Pdf()
{
    constexpr int Width = 2384, Height = 3370;
    QByteArray content = "0.47 G 0.3 w\n";
    for (int at = 0; at < Height; at += 20)
        content += "0 " + QByteArray::number(at) + " m " + QByteArray::number(Width) + ' ' + QByteArray::number(at) + " l S\n";
    for (int at = 0; at < Width; at += 20)
        content += QByteArray::number(at) + " 0 m " + QByteArray::number(at) + ' ' + QByteArray::number(Height) + " l S\n";
    content += "0 G 0.8 w 1 J 1 j\n";
    quint32 random = 99;
    const auto next = [&](int range) { return int(((random = random * 1664525u + 1013904223u) >> 8) % quint32(range)); };
    int x = Width / 2, y = Height / 2;
    for (int i = 0; i < 30000; ++i) {
        const int toX = std::clamp(x + next(41) - 20, 20, Width - 20), toY = std::clamp(y + next(41) - 20, 20, Height - 20);
        content += QByteArray::number(x) + ' ' + QByteArray::number(y) + " m " + QByteArray::number(toX) + ' '
            + QByteArray::number(toY) + " l S\n";
        if (i % 10 == 0)
            content += "BT /F1 4 Tf " + QByteArray::number(toX) + ' ' + QByteArray::number(toY) + " Td ("
                + QByteArray::number(i) + ") Tj ET\n";
        x = toX;
        y = toY;
    }
    return onePagePdf(QStringLiteral("/tmp/speomark-bench-a0.pdf"), Width, Height, content);
}

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

ImageRequest pageAt(int dotsPerInch)
{
    ImageRequest request;
    request.pdfPage = 1;
    request.dotsPerInch = dotsPerInch;
    request.memoryAllowed = 1LL << 40; // measured, not asked about
    return request;
}

void open(benchmark::State &state, const QString &path)
{
    for (auto _ : state) {
        const ImageRead read = ImageFile::read(path, pageAt(int(state.range(0))));
        if (!read.ok())
            state.SkipWithError(qPrintable(read.reason));
        benchmark::DoNotOptimize(read.image.constBits());
    }
    state.counters["peak_rss_MB"] = peakMegabytes(RUSAGE_SELF);
    state.counters["helper_peak_MB"] = peakMegabytes(RUSAGE_CHILDREN);
}

void BM_OpenPdfSheet(benchmark::State &state)
{
    open(state, sheetPdf());
}

void BM_OpenPdfSheetInOneGo(benchmark::State &state)
{
    const int dpi = int(state.range(0));
    for (auto _ : state) {
        const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(sheetPdf());
        document->setRenderHint(Poppler::Document::Antialiasing, true);
        document->setRenderHint(Poppler::Document::TextAntialiasing, true);
        document->setPaperColor(Qt::white);
        QImage image = document->page(0)->renderToImage(dpi, dpi);
        image.convertTo(QImage::Format_Grayscale8);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["peak_rss_MB"] = peakMegabytes(RUSAGE_SELF);
}

// The A0 sheet as the window opens it, with both processes' processor time, against pdftoppm
// drawing the same page in grey (when poppler-utils is installed): the two should be close.
void BM_OpenA0Sheet(benchmark::State &state)
{
    const QString path = a0Pdf();
    const double window = cpuSeconds(RUSAGE_SELF), helpers = cpuSeconds(RUSAGE_CHILDREN);
    open(state, path);
    state.counters["window_cpu_s"] = cpuSeconds(RUSAGE_SELF) - window;
    state.counters["helper_cpu_s"] = cpuSeconds(RUSAGE_CHILDREN) - helpers;
}

void BM_PdftoppmA0Sheet(benchmark::State &state)
{
    const QString path = a0Pdf();
    const double before = cpuSeconds(RUSAGE_CHILDREN);
    for (auto _ : state) {
        QProcess pdftoppm;
        pdftoppm.setStandardOutputFile(QProcess::nullDevice());
        pdftoppm.start(QStringLiteral("pdftoppm"), {QStringLiteral("-gray"), QStringLiteral("-r"),
                                                    QString::number(state.range(0)), path, QStringLiteral("-")});
        if (!pdftoppm.waitForFinished(-1) || pdftoppm.exitCode() != 0)
            state.SkipWithError("pdftoppm is not installed (poppler-utils)");
    }
    state.counters["pdftoppm_peak_MB"] = peakMegabytes(RUSAGE_CHILDREN);
    state.counters["pdftoppm_cpu_s"] = cpuSeconds(RUSAGE_CHILDREN) - before;
}

void BM_OpenComplexPdf(benchmark::State &state)
{
    open(state, complexPdf());
}

void BM_CancelComplexPdf(benchmark::State &state)
{
    const QString path = complexPdf();
    double longest = 0;
    for (auto _ : state) {
        ImageLoader loader;
        loader.start({{path, pageAt(int(state.range(0)))}});
        QThread::sleep(1);
        QElapsedTimer timer;
        timer.start();
        loader.cancel();
        loader.waitForFinished();
        longest = std::max(longest, timer.nsecsElapsed() / 1e6);
        if (loader.result(0).problem != ImageRead::Problem::Cancelled)
            state.SkipWithError("the reading was not cancelled");
    }
    state.counters["cancel_ms"] = longest;
    state.counters["peak_rss_MB"] = peakMegabytes(RUSAGE_SELF);
}

} // namespace

BENCHMARK(BM_OpenPdfSheet)->Arg(300)->Arg(1200)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();
BENCHMARK(BM_OpenPdfSheetInOneGo)->Arg(300)->Arg(1200)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3)->UseRealTime();
BENCHMARK(BM_OpenA0Sheet)->Arg(300)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_PdftoppmA0Sheet)->Arg(300)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_OpenComplexPdf)->Arg(72)->Arg(300)->Arg(1200)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_CancelComplexPdf)->Arg(72)->Arg(300)->Arg(1200)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
