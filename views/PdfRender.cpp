#include "views/PdfRender.h"

#include "views/ImageFile.h"
#include "views/ImageMessages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <algorithm>
#include <cstdlib>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Texts the user reads, in the interface's language.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(PdfRender)
};

constexpr qint64 MiB = 1024 * 1024;
constexpr qint64 HelperMemory = 2048 * MiB;
// How often a running helper is checked for Cancel: well within a second.
constexpr int PollMilliseconds = 50;

enum class Run { Finished, Cancelled, NotStarted, NotReadable, OutOfMemory, NoRoom, Broken };

// The page as it arrives: room for its pixels is made once the first helper says whether it is
// grey, and later helpers must say the same.
struct Page
{
    int width = 0;
    int height = 0;
    bool grey = false;
    qsizetype stride = 0; // bytes from one row to the next: 4-byte aligned, as QImage wants
    uchar *pixels = nullptr;

    ~Page() { std::free(pixels); }
    qsizetype rowBytes() const { return qsizetype(width) * (grey ? 1 : 4); }
    bool makeRoom(bool greyPage)
    {
        grey = greyPage;
        stride = (rowBytes() + 3) & ~qsizetype(3);
        // Zeroed, so the padding is defined; the system hands out such a block untouched until
        // a row lands in it.
        pixels = static_cast<uchar *>(std::calloc(size_t(height), size_t(stride)));
        return pixels != nullptr;
    }
};

// One helper, from `*row` to the last row in bands of `*bandRows` (0: of its choosing, which it
// tells). `*row` moves past every whole row received, whatever happens after.
Run runHelper(const PdfRender::Job &job, qint64 memory, int *bandRows, Page *page, int *row, ReadControl *control,
              QString *error)
{
    QProcess helper;
    // Poppler's complaints pass through to our stderr instead of piling up here.
    helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    helper.setStandardInputFile(QProcess::nullDevice());
    const QStringList arguments = {job.path,
                                   QString::number(job.page),
                                   QString::number(job.dotsPerInch),
                                   QString::number(job.size.width()),
                                   QString::number(job.size.height()),
                                   QString::number(*row),
                                   QString::number(*bandRows),
                                   QString::number(memory),
                                   QString::number(::getpid())};
    // The helper is killed when the thread that starts it ends (it asks the system to), and this
    // thread waits for it here; it is handed our process id to notice a window already gone.
    helper.start(PdfRender::helperPath(), arguments, QIODevice::ReadOnly);
    if (!helper.waitForStarted(-1)) {
        *error = helper.errorString();
        return Run::NotStarted;
    }
    PdfRender::Header header;
    qint64 headerAt = 0;
    qint64 inRow = 0; // bytes of row *row received
    for (;;) {
        if (control && control->cancelled()) {
            helper.kill();
            helper.waitForFinished(-1);
            return Run::Cancelled;
        }
        if (helper.bytesAvailable() > 0) {
            if (headerAt < qint64(sizeof header)) {
                const qint64 got = helper.read(reinterpret_cast<char *>(&header) + headerAt, sizeof header - headerAt);
                headerAt += std::max<qint64>(got, 0);
                if (headerAt < qint64(sizeof header))
                    continue;
                const bool grey = header.grey != 0;
                if (header.bandRows < 1 || header.bandRows > quint32(page->height)) {
                    helper.kill();
                    helper.waitForFinished(-1);
                    *error = QStringLiteral("band");
                    return Run::Broken;
                }
                *bandRows = int(header.bandRows);
                if (!page->pixels && !page->makeRoom(grey)) {
                    helper.kill();
                    helper.waitForFinished(-1);
                    return Run::NoRoom;
                }
                if (grey != page->grey) { // the same page cannot change its colours
                    helper.kill();
                    helper.waitForFinished(-1);
                    *error = QStringLiteral("grey");
                    return Run::Broken;
                }
            } else if (*row < page->height) {
                const qint64 got = helper.read(reinterpret_cast<char *>(page->pixels) + *row * page->stride + inRow,
                                               page->rowBytes() - inRow);
                inRow += std::max<qint64>(got, 0);
                if (inRow == page->rowBytes()) {
                    inRow = 0;
                    ++*row;
                    if (control)
                        control->setPermille(int(qint64(*row) * 999 / page->height));
                }
            } else {
                helper.readAll(); // more than the page holds: not ours to keep
            }
            continue;
        }
        if (helper.state() == QProcess::NotRunning)
            break;
        helper.waitForReadyRead(PollMilliseconds);
    }
    if (*row == page->height)
        return Run::Finished; // every row arrived, however the helper ended after that
    if (helper.exitStatus() == QProcess::CrashExit)
        return Run::OutOfMemory; // under its address-space limit, running out is how it crashes
    switch (helper.exitCode()) {
    case PdfRender::OutOfMemory:
        return Run::OutOfMemory;
    case PdfRender::NotReadable:
        return Run::NotReadable;
    default:
        *error = QString::number(helper.exitCode());
        return Run::Broken;
    }
}

bool hasColour(const Page &page)
{
    for (int y = 0; y < page.height; ++y) {
        const auto *pixel = reinterpret_cast<const QRgb *>(page.pixels + y * page.stride);
        for (int x = 0; x < page.width; ++x)
            if (qRed(pixel[x]) != qGreen(pixel[x]) || qGreen(pixel[x]) != qBlue(pixel[x]))
                return true;
    }
    return false;
}

// A colour page without a colour pixel (a grey picture stored in colour, say) becomes 8-bit grey
// in the same buffer, so it never needs room for both. Every byte is written at or before where
// its row was read from, and after its pixel was read.
void toGreyInPlace(Page *page)
{
    const qsizetype stride = (qsizetype(page->width) + 3) & ~qsizetype(3);
    for (int y = 0; y < page->height; ++y) {
        const auto *from = reinterpret_cast<const QRgb *>(page->pixels + y * page->stride);
        uchar *to = page->pixels + y * stride;
        for (int x = 0; x < page->width; ++x)
            to[x] = uchar(qBlue(from[x]));
        for (qsizetype x = page->width; x < stride; ++x)
            to[x] = 0;
    }
    page->grey = true;
    page->stride = stride;
    // Giving back the tail moves no pixels: a block this large is mapped, and shrinks in place.
    if (auto *smaller = static_cast<uchar *>(std::realloc(page->pixels, size_t(stride) * page->height)))
        page->pixels = smaller;
}

PdfRender::Outcome failed(const QString &reason)
{
    PdfRender::Outcome outcome;
    outcome.kind = PdfRender::Outcome::Kind::Failed;
    outcome.reason = reason;
    return outcome;
}

} // namespace

using PdfRender::Outcome;

qint64 PdfRender::defaultHelperMemory()
{
    qint64 memory = HelperMemory;
    // A quarter of a small computer's memory, so the helper is never what exhausts it.
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages > 0 && pageSize > 0)
        memory = std::min(memory, std::max(256 * MiB, qint64(pages) * pageSize / 4));
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
        memory = std::min(memory, qint64(limit.rlim_cur));
    return memory;
}

QString PdfRender::helperPath()
{
    const QString name = QStringLiteral("speomark-pdf-render");
    if (QCoreApplication::instance()) {
        const QDir programs(QCoreApplication::applicationDirPath());
        for (const QString &candidate :
             {programs.filePath(QStringLiteral(SPEOMARK_HELPERS_FROM_PROGRAMS "/") + name), programs.filePath(name)})
            if (QFileInfo(candidate).isExecutable())
                return candidate;
    }
    return QStringLiteral(SPEOMARK_PDF_RENDER_BUILT);
}

Outcome PdfRender::render(const Job &job, ReadControl *control)
{
    const int height = job.size.height();
    if (job.size.isEmpty() || job.page < 1 || job.dotsPerInch < 1)
        return failed(Words::tr("Not a readable PDF page."));
    const qint64 memory = job.helperMemory > 0 ? job.helperMemory : defaultHelperMemory();
    int bandRows = job.bandRows > 0 ? std::min(job.bandRows, height) : 0;
    if (control)
        control->setPermille(0);
    Page page;
    page.width = job.size.width();
    page.height = height;
    int row = 0;
    while (row < height) {
        const int from = row;
        QString error;
        switch (runHelper(job, memory, &bandRows, &page, &row, control, &error)) {
        case Run::Finished: {
            Outcome outcome;
            outcome.kind = Outcome::Kind::Rendered;
            outcome.bandRows = bandRows;
            if (!page.grey && !hasColour(page))
                toGreyInPlace(&page);
            outcome.image = QImage(page.pixels, page.width, height, page.stride,
                                   page.grey ? QImage::Format_Grayscale8 : QImage::Format_RGB32,
                                   [](void *data) { std::free(data); }, page.pixels);
            if (outcome.image.isNull()) {
                outcome.kind = Outcome::Kind::NoRoom;
                outcome.reason = Words::tr("Out of memory.");
                return outcome;
            }
            page.pixels = nullptr; // the image frees them
            if (control)
                control->setPermille(1000);
            return outcome;
        }
        case Run::Cancelled: {
            Outcome outcome;
            outcome.kind = Outcome::Kind::Cancelled;
            return outcome;
        }
        case Run::NoRoom: {
            Outcome outcome = failed(Words::tr("Out of memory."));
            outcome.kind = Outcome::Kind::NoRoom;
            return outcome;
        }
        case Run::NotStarted:
            return failed(Words::tr("The PDF renderer %1 could not be started: %2.")
                              .arg(QDir::toNativeSeparators(helperPath()), error));
        case Run::NotReadable:
            return failed(Words::tr("Not a readable PDF page."));
        case Run::Broken:
            return failed(Words::tr("The PDF renderer %1 ended with status %2.")
                              .arg(QDir::toNativeSeparators(helperPath()), error));
        case Run::OutOfMemory:
            if (bandRows == 1 && row == from)
                return failed(Words::tr("The PDF page cannot be drawn at %1 dpi within %2 of memory: it is too "
                                        "complex, or damaged.")
                                  .arg(job.dotsPerInch)
                                  .arg(ImageMessages::memoryText(memory)));
            // A helper that died before it said its band drew with at least a row.
            bandRows = std::max(1, (bandRows > 0 ? bandRows : height) / 2);
            break;
        }
    }
    return failed(Words::tr("Not a readable PDF page."));
}
