// speomark-pdf-render: draws rows of one PDF page for the window, in a process of its own so that
// Poppler's appetite for memory cannot reach the window (see PdfRender.h).
//
//   speomark-pdf-render FILE PAGE DPI WIDTH HEIGHT FIRST_ROW BAND_ROWS MEMORY
//
// writes rows FIRST_ROW .. HEIGHT-1 of the page drawn at DPI, WIDTH opaque RGB32 pixels each with
// no padding, to its standard output, drawing BAND_ROWS rows at a time and taking no more than
// MEMORY bytes of address space. Its exit status is one of PdfRender::HelperExit.
#include "views/PdfRender.h"

#include <QImage>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <new>
#include <poppler-qt6.h>
#include <sys/resource.h>
#include <unistd.h>

// Poppler meets some allocations it cannot have by leaving out what needed them (an image
// scaled to the page, for one) and printing "Out of memory": a band drawn so is wrong, not
// merely late. Every allocation here goes through these, which hand it to the C library's own
// allocator and note a refusal.
namespace {
std::atomic<bool> allocationRefused{false};
}

extern "C" {
void *__libc_malloc(size_t size);
void *__libc_calloc(size_t count, size_t size);
void *__libc_realloc(void *block, size_t size);

void *malloc(size_t size) noexcept
{
    void *block = __libc_malloc(size);
    if (!block && size > 0)
        allocationRefused = true;
    return block;
}

void *calloc(size_t count, size_t size) noexcept
{
    void *block = __libc_calloc(count, size);
    if (!block && count > 0 && size > 0)
        allocationRefused = true;
    return block;
}

void *realloc(void *block, size_t size) noexcept
{
    void *moved = __libc_realloc(block, size);
    if (!moved && size > 0)
        allocationRefused = true;
    return moved;
}
}

namespace {

bool number(const char *text, long long low, long long high, long long *value)
{
    char *end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || parsed < low || parsed > high)
        return false;
    *value = parsed;
    return true;
}

bool writeAll(int fd, const uchar *data, size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= size_t(written);
    }
    return true;
}

// Never more than asked, nor more than this process was already allowed.
void limitAddressSpace(long long bytes)
{
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0)
        return;
    if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > rlim_t(bytes))
        limit.rlim_cur = rlim_t(bytes);
    setrlimit(RLIMIT_AS, &limit);
}

int draw(int argc, char **argv)
{
    using namespace PdfRender;
    constexpr long long MaxSide = 1 << 24;
    long long page = 0, dpi = 0, width = 0, height = 0, first = 0, band = 0, memory = 0;
    if (argc != 9 || !number(argv[2], 1, 1 << 30, &page) || !number(argv[3], 1, 1 << 20, &dpi)
        || !number(argv[4], 1, MaxSide, &width) || !number(argv[5], 1, MaxSide, &height)
        || !number(argv[6], 0, height - 1, &first) || !number(argv[7], 1, height, &band)
        || !number(argv[8], 1, 1LL << 50, &memory))
        return Usage;
    // The rows go to a descriptor of their own; anything a library prints lands on stderr (or
    // nowhere, when there is none).
    const int rowsOut = dup(STDOUT_FILENO);
    if (rowsOut < 0)
        return OutputClosed;
    if (dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
    limitAddressSpace(memory);

    const std::unique_ptr<Poppler::Document> document = Poppler::Document::load(QString::fromLocal8Bit(argv[1]));
    if (!document || document->isLocked())
        return NotReadable;
    const std::unique_ptr<Poppler::Page> pdfPage = document->page(int(page - 1));
    if (!pdfPage)
        return NotReadable;
    document->setRenderHint(Poppler::Document::Antialiasing, true);
    document->setRenderHint(Poppler::Document::TextAntialiasing, true);
    document->setPaperColor(Qt::white);
    for (long long y = first; y < height; y += band) {
        const int rows = int(std::min(band, height - y));
        QImage image = pdfPage->renderToImage(double(dpi), double(dpi), 0, int(y), int(width), rows);
        // Poppler answers a picture it cannot allocate with a 1 x 1 one, or with none.
        if (image.size() != QSize(int(width), rows) || allocationRefused)
            return OutOfMemory;
        if (image.format() != QImage::Format_RGB32)
            image.convertTo(QImage::Format_RGB32);
        if (image.isNull())
            return OutOfMemory;
        for (int row = 0; row < rows; ++row)
            if (!writeAll(rowsOut, image.constScanLine(row), size_t(width) * 4))
                return OutputClosed;
    }
    return Drawn;
}

} // namespace

int main(int argc, char **argv)
{
    try {
        return draw(argc, argv);
    } catch (const std::bad_alloc &) {
        return PdfRender::OutOfMemory;
    }
}
