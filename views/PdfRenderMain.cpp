// speomark-pdf-render: draws rows of one PDF page for the window, in a process of its own so that
// Poppler's appetite for memory cannot reach the window (see PdfRender.h).
//
//   speomark-pdf-render FILE PAGE DPI WIDTH HEIGHT FIRST_ROW BAND_ROWS MEMORY PARENT
//
// writes to its standard output a header (PdfRender::Header: whether the rows are grey or in
// colour, and the rows drawn at a time), then rows FIRST_ROW .. HEIGHT-1 of the page drawn at
// DPI: WIDTH bytes of grey each, or WIDTH opaque RGB32 pixels, with no padding. It draws
// BAND_ROWS rows at a time (0: as many as a quarter of MEMORY holds), takes no more than MEMORY
// bytes of address space, and ends when PARENT, the process waiting for the rows, is gone. Its
// exit status is one of PdfRender::HelperExit.
//
// It works as pdftoppm does, straight on Poppler's rasteriser: a page that paints nothing but
// grey is drawn at one byte a pixel, a colour page at four.
#include "views/PdfRender.h"

#include <GlobalParams.h>
#include <PDFDoc.h>
#include <GfxState.h>
#include <OutputDev.h>
#include <SplashOutputDev.h>
#include <goo/GooString.h>
#include <splash/SplashBitmap.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <sys/prctl.h>
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

bool writeAll(int fd, const unsigned char *data, size_t size)
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

// Whether everything a page paints is grey (fills, strokes, text, images, shadings), asked
// without drawing a pixel. What it cannot tell cheaply (patterns, colour or palette images,
// shadings over colour) counts as colour; the window still keeps such a page grey when its
// pixels turn out so.
class GreyCheck : public OutputDev
{
public:
    bool grey = true;

    bool upsideDown() override { return true; }
    bool useDrawChar() override { return true; }
    bool interpretType3Chars() override { return false; }
    // Answered here rather than drawn out piece by piece: a small pattern cell can repeat
    // millions of times over a large page.
    bool useTilingPatternFill() override { return true; }
    bool useShadedFills(int) override { return true; }

    void stroke(GfxState *state) override { check(state->getStrokeColorSpace(), state->getStrokeColor()); }
    void fill(GfxState *state) override { check(state->getFillColorSpace(), state->getFillColor()); }
    void eoFill(GfxState *state) override { fill(state); }
    bool tilingPatternFill(GfxState *, Gfx *, Catalog *, GfxTilingPattern *, const double *, int, int, int, int, double,
                           double) override
    {
        grey = false;
        return true;
    }
    bool functionShadedFill(GfxState *, GfxFunctionShading *shading) override { return shaded(shading); }
    bool axialShadedFill(GfxState *, GfxAxialShading *shading, double, double) override { return shaded(shading); }
    bool radialShadedFill(GfxState *, GfxRadialShading *shading, double, double) override { return shaded(shading); }
    bool gouraudTriangleShadedFill(GfxState *, GfxGouraudTriangleShading *shading) override { return shaded(shading); }
    bool patchMeshShadedFill(GfxState *, GfxPatchMeshShading *shading) override { return shaded(shading); }

    void drawChar(GfxState *state, double, double, double, double, double, double, CharCode, int, const Unicode *,
                  int) override
    {
        const int mode = state->getRender() & 3; // fill, stroke, both, neither (then clipping)
        if (mode == 0 || mode == 2)
            fill(state);
        if (mode == 1 || mode == 2)
            stroke(state);
    }

    void drawImageMask(GfxState *state, Object *ref, Stream *str, int width, int height, bool invert,
                       bool interpolate, bool inlineImg) override
    {
        fill(state);
        OutputDev::drawImageMask(state, ref, str, width, height, invert, interpolate, inlineImg);
    }
    void drawImage(GfxState *state, Object *ref, Stream *str, int width, int height, GfxImageColorMap *colorMap,
                   bool interpolate, const int *maskColors, bool inlineImg) override
    {
        image(colorMap);
        OutputDev::drawImage(state, ref, str, width, height, colorMap, interpolate, maskColors, inlineImg);
    }
    void drawMaskedImage(GfxState *state, Object *ref, Stream *str, int width, int height, GfxImageColorMap *colorMap,
                         bool interpolate, Stream *maskStr, int maskWidth, int maskHeight, bool maskInvert,
                         bool maskInterpolate) override
    {
        image(colorMap);
        OutputDev::drawMaskedImage(state, ref, str, width, height, colorMap, interpolate, maskStr, maskWidth,
                                   maskHeight, maskInvert, maskInterpolate);
    }
    void drawSoftMaskedImage(GfxState *state, Object *ref, Stream *str, int width, int height,
                             GfxImageColorMap *colorMap, bool interpolate, Stream *maskStr, int maskWidth,
                             int maskHeight, GfxImageColorMap *maskColorMap, bool maskInterpolate) override
    {
        image(colorMap);
        OutputDev::drawSoftMaskedImage(state, ref, str, width, height, colorMap, interpolate, maskStr, maskWidth,
                                       maskHeight, maskColorMap, maskInterpolate);
    }

private:
    static bool greySpace(GfxColorSpace *space)
    {
        if (!space || space->getNComps() != 1)
            return false;
        const GfxColorSpaceMode mode = space->getMode();
        return mode == csDeviceGray || mode == csCalGray || mode == csICCBased;
    }
    void check(GfxColorSpace *space, const GfxColor *colour)
    {
        if (!space || space->getMode() == csPattern) {
            grey = false;
            return;
        }
        GfxRGB rgb;
        space->getRGB(colour, &rgb);
        if (rgb.r != rgb.g || rgb.g != rgb.b)
            grey = false;
    }
    bool shaded(GfxShading *shading)
    {
        if (!greySpace(shading->getColorSpace()))
            grey = false;
        return true;
    }
    void image(GfxImageColorMap *colorMap)
    {
        if (!colorMap || !greySpace(colorMap->getColorSpace()))
            grey = false;
    }
};

bool paintsOnlyGrey(PDFDoc &document, int page)
{
    GreyCheck check;
    document.displayPage(&check, page, 72, 72, 0, false, true, false);
    return check.grey;
}

int draw(int argc, char **argv)
{
    using namespace PdfRender;
    constexpr long long MaxSide = 1 << 24;
    long long page = 0, dpi = 0, width = 0, height = 0, first = 0, band = 0, memory = 0, parent = 0;
    if (argc != 10 || !number(argv[2], 1, 1 << 30, &page) || !number(argv[3], 1, 1 << 20, &dpi)
        || !number(argv[4], 1, MaxSide, &width) || !number(argv[5], 1, MaxSide, &height)
        || !number(argv[6], 0, height - 1, &first) || !number(argv[7], 0, height, &band)
        || !number(argv[8], 1, 1LL << 50, &memory) || !number(argv[9], 1, 1LL << 31, &parent))
        return Usage;
    // Killed with the window, however the window ends: a page can take gigabytes and minutes.
    // The window may have gone before this was set, leaving us to another parent.
    if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != pid_t(parent))
        return OutputClosed;
    // The rows go to a descriptor of their own; anything a library prints lands on stderr (or
    // nowhere, when there is none).
    const int rowsOut = dup(STDOUT_FILENO);
    if (rowsOut < 0)
        return OutputClosed;
    if (dup2(STDERR_FILENO, STDOUT_FILENO) < 0)
        dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
    limitAddressSpace(memory);

    globalParams = std::make_unique<GlobalParams>();
    PDFDoc document(std::make_unique<GooString>(argv[1]));
    if (!document.isOk() || page > document.getNumPages())
        return NotReadable;
    const bool grey = paintsOnlyGrey(document, int(page));
    const int bytesPerPixel = grey ? 1 : 4;
    // The rasteriser's picture keeps an alpha byte besides its colour bytes.
    if (band == 0)
        band = std::clamp(memory / 4 / (width * (bytesPerPixel + 1)), 1LL, height);
    Header header;
    header.grey = grey;
    header.bandRows = std::uint32_t(band);
    if (!writeAll(rowsOut, reinterpret_cast<const unsigned char *>(&header), sizeof header))
        return OutputClosed;

    // White paper, antialiased lines and text, as Poppler's Qt interface draws them.
    SplashColor paper;
    std::memset(paper, 0xff, sizeof paper);
    SplashOutputDev output(grey ? splashModeMono8 : splashModeXBGR8, 4, false, paper);
    output.setFontAntialias(true);
    output.setVectorAntialias(true);
    output.startDoc(&document);
    for (long long y = first; y < height; y += band) {
        const int rows = int(std::min(band, height - y));
        document.displayPageSlice(&output, int(page), double(dpi), double(dpi), 0, false, true, false, 0, int(y),
                                  int(width), rows);
        SplashBitmap *bitmap = output.getBitmap();
        // A picture Poppler could not allocate comes out the wrong size, or not at all.
        if (!bitmap || bitmap->getWidth() != width || bitmap->getHeight() != rows || allocationRefused)
            return OutOfMemory;
        for (int row = 0; row < rows; ++row) {
            unsigned char *line = bitmap->getDataPtr() + qsizetype(row) * bitmap->getRowSize();
            if (!grey) // XBGR8 is RGB32 in memory, but for its unused byte
                for (long long x = 0; x < width; ++x)
                    line[x * 4 + 3] = 0xff;
            if (!writeAll(rowsOut, line, size_t(width) * bytesPerPixel))
                return OutputClosed;
        }
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
