#include "views/PdfFile.h"

#include "survey/Truncate.h"
#include "views/ImageMessages.h"
#include "views/PdfRender.h"

#include <QCoreApplication>
#include <cmath>
#include <limits>
#include <memory>
#include <poppler-qt6.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(PdfFile)
};

// Resolutions beyond this are not looked at when asking what a page can be opened at.
constexpr int HighestLookedAt = 1 << 16;

ImageRead failure(const QString &path, ImageRead::Problem problem, const QString &reason)
{
    ImageRead result;
    result.path = path;
    result.problem = problem;
    result.reason = reason;
    return result;
}

// A page's pixels at a resolution, before they are made integers.
struct Pixels
{
    double width = 0;
    double height = 0;
    double bytes() const { return width * height * 4; } // drawn in 32-bit colour whatever it holds
    bool usable() const { return width >= 1 && height >= 1 && width <= DrawCoordLimit && height <= DrawCoordLimit; }
};

Pixels pixelsAt(const QSizeF &points, int dotsPerInch)
{
    return {std::ceil(points.width() * dotsPerInch / 72.0), std::ceil(points.height() * dotsPerInch / 72.0)};
}

// What this computer can hold of a page's pixels: half its memory, or half of what this process
// may take if that is less. The rest is for the program, the helper and everything else.
qint64 pixelMemory()
{
    qint64 memory = std::numeric_limits<qint64>::max();
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages > 0 && pageSize > 0)
        memory = qint64(pages) * pageSize;
    for (const int resource : {RLIMIT_AS, RLIMIT_DATA}) {
        rlimit limit{};
        if (getrlimit(resource, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY)
            memory = std::min(memory, qint64(limit.rlim_cur));
    }
    return memory / 2;
}

// The finest whole resolution whose pixels fit in `memory` (0 when not even 1 dpi does).
int highestDotsPerInch(const QSizeF &points, qint64 memory)
{
    const auto fits = [&](int dpi) {
        const Pixels pixels = pixelsAt(points, dpi);
        return pixels.usable() && pixels.bytes() <= double(memory);
    };
    int low = 0; // fits, or 0
    int high = HighestLookedAt + 1; // does not fit
    if (fits(HighestLookedAt))
        return HighestLookedAt;
    while (high - low > 1) {
        const int middle = low + (high - low) / 2;
        (fits(middle) ? low : high) = middle;
    }
    return low;
}

} // namespace

ImageRead PdfFile::read(const QString &fileName, const ImageRequest &request, ReadControl *control)
{
    using Problem = ImageRead::Problem;
    std::unique_ptr<Poppler::Document> document = Poppler::Document::load(fileName);
    if (!document)
        return failure(fileName, Problem::NotReadable, Words::tr("Not a readable PDF document."));
    if (document->isLocked())
        return failure(fileName, Problem::NotReadable, Words::tr("The PDF document is protected by a password."));
    const int pages = document->numPages();
    if (pages <= 0)
        return failure(fileName, Problem::NotReadable, Words::tr("The PDF document has no pages."));
    ImageRead result;
    result.path = fileName;
    result.pageCount = pages;
    const qint64 memory = pixelMemory();
    if (request.pdfPage == 0) {
        result.problem = Problem::ChoosePage;
        for (int i = 0; i < pages; ++i) {
            const std::unique_ptr<Poppler::Page> page = document->page(i);
            result.pdfHighestDotsPerInch.append(page ? highestDotsPerInch(page->pageSizeF(), memory) : 0);
        }
        return result;
    }
    if (request.pdfPage < 1 || request.pdfPage > pages)
        return failure(fileName, Problem::NotReadable,
                       Words::tr("The PDF document has no page %1 (it has %2).").arg(request.pdfPage).arg(pages));
    const std::unique_ptr<Poppler::Page> page = document->page(request.pdfPage - 1);
    const int dpi = request.dotsPerInch;
    if (!page || dpi <= 0)
        return failure(fileName, Problem::NotReadable, Words::tr("Not a readable PDF page."));
    result.pdfPage = request.pdfPage;
    result.dotsPerInch = dpi;

    // What the window will hold at most is known before anything is drawn: the page's pixels in
    // 32-bit colour (a grey page comes and stays at 8 bits). The drawing itself happens in a
    // helper whose own memory is capped.
    const QSizeF points = page->pageSizeF();
    const Pixels pixels = pixelsAt(points, dpi);
    if (pixels.bytes() > double(memory)) {
        const int highest = highestDotsPerInch(points, memory);
        const QString needs = Words::tr("At %1 dpi the PDF page is %2 x %3 pixels and needs %4 of memory; this computer "
                                        "can hold %5.")
                                  .arg(dpi)
                                  .arg(pixels.width, 0, 'f', 0)
                                  .arg(pixels.height, 0, 'f', 0)
                                  .arg(ImageMessages::memoryText(qint64(std::min(pixels.bytes(), 9e18))),
                                       ImageMessages::memoryText(memory));
        return failure(fileName, Problem::TooLarge,
                       highest > 0 ? needs + QLatin1Char(' ') + Words::tr("Choose %1 dpi or less.").arg(highest)
                                   : needs);
    }
    if (!pixels.usable())
        return failure(fileName, Problem::NotReadable,
                       Words::tr("The PDF page has no usable size at %1 dpi.").arg(dpi));
    const int width = truncToInt(pixels.width);
    const int height = truncToInt(pixels.height);
    result.size = QSize(width, height);
    result.bytesNeeded = qint64(width) * height * 4;
    if (result.bytesNeeded > request.memoryAllowed) {
        result.problem = Problem::NeedsConsent;
        return result;
    }
    document.reset(); // the helper reads the file itself

    PdfRender::Job job;
    job.path = fileName;
    job.page = request.pdfPage;
    job.dotsPerInch = dpi;
    job.size = result.size;
    const PdfRender::Outcome drawn = PdfRender::render(job, control);
    if (drawn.kind == PdfRender::Outcome::Kind::Cancelled || (control && control->cancelled()))
        return failure(fileName, Problem::Cancelled, QString());
    if (drawn.kind == PdfRender::Outcome::Kind::NoRoom)
        return failure(fileName, Problem::TooLarge, drawn.reason);
    if (drawn.kind == PdfRender::Outcome::Kind::Failed)
        return failure(fileName, Problem::NotReadable, drawn.reason);
    result.image = drawn.image;
    result.size = result.image.size();
    result.bytesNeeded = result.image.sizeInBytes();
    return result;
}
