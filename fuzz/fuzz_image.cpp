// Arbitrary bytes as a scan for the decoding layer (Qt's image readers, and Poppler for PDF): every
// answer must be what ImageFile promises, an image in one of the four working formats whose pixels
// all name a colour of an opaque palette, or a problem without one, and never undefined behaviour.
#include "views/ImageFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Names the broken promise in the report.
#define check(condition) ((condition) ? void() : fail(#condition))
[[noreturn]] void fail(const char *promise)
{
    std::fprintf(stderr, "broken: %s\n", promise);
    std::abort();
}

// Small, so a header announcing a huge image is refused quickly rather than decoded.
constexpr qint64 MemoryAllowed = 16 * 1024 * 1024;

void checkAnswer(const ImageRead &read)
{
    using Problem = ImageRead::Problem;
    const bool hasImage = read.problem == Problem::None || read.problem == Problem::Damaged;
    check(read.image.isNull() != hasImage);
    check(read.problem != Problem::Cancelled); // nothing cancels here
    if (hasImage) {
        const QImage::Format format = read.image.format();
        check(format == QImage::Format_RGB32 || format == QImage::Format_Grayscale8
              || format == QImage::Format_Indexed8 || format == QImage::Format_Mono);
        check(read.size == read.image.size() && read.bytesNeeded == read.image.sizeInBytes());
        for (const QRgb colour : read.image.colorTable())
            check(qAlpha(colour) == 255);
        // A pixel beyond the palette would have the painter read past it.
        if (format == QImage::Format_Indexed8 || format == QImage::Format_Mono)
            for (int y = 0; y < read.image.height(); ++y)
                for (int x = 0; x < read.image.width(); ++x)
                    check(read.image.pixelIndex(x, y) < read.image.colorCount());
    }
    if (read.problem == Problem::NeedsConsent)
        check(read.size.isValid() && read.bytesNeeded > MemoryAllowed);
    if (read.problem == Problem::NotReadable || read.problem == Problem::TooLarge)
        check(!read.reason.isEmpty());
    if (read.problem == Problem::ChoosePage)
        check(read.pageCount >= 1 && read.pdfHighestDotsPerInch.size() == read.pageCount);
}

QString scratchFile()
{
    static const QString path = QDir::temp().filePath(
        QStringLiteral("speomark-fuzz-image-%1").arg(QCoreApplication::applicationPid()));
    return path;
}

} // namespace

// The layer asks for pixel memory it may not get (a null image, then "too large"), as the system
// allows; under the sanitizer that has to be asked for too.
extern "C" const char *__asan_default_options() { return "allocator_may_return_null=1"; }

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication application(*argc, *argv);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {}); // readers' warnings
    scratchFile(); // made before the exit handler is registered, so it outlives it
    std::atexit([] { QFile::remove(scratchFile()); });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size)
{
    // The layer reads files, as the window does.
    QFile file(scratchFile());
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    check(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size));
    file.close();

    ImageRequest request;
    request.memoryAllowed = MemoryAllowed;
    const ImageRead read = ImageFile::read(scratchFile(), request);
    checkAnswer(read);
    if (read.problem == ImageRead::Problem::ChoosePage) {
        // The first page, coarse enough to stay quick.
        request.pdfPage = 1;
        request.dotsPerInch = 9;
        checkAnswer(ImageFile::read(scratchFile(), request));
    }
    return 0;
}
