#include "views/PdfFile.h"

#include "app/Truncate.h"

#include <QCoreApplication>
#include <QVariant>
#include <cmath>
#include <poppler-qt6.h>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(PdfFile)
};

ImageRead failure(const QString &path, ImageRead::Problem problem, const QString &reason)
{
    ImageRead result;
    result.path = path;
    result.problem = problem;
    result.reason = reason;
    return result;
}

bool shouldStop(const QVariant &payload)
{
    const auto *control = reinterpret_cast<const ReadControl *>(payload.value<quintptr>());
    return control && control->cancelled();
}

bool hasColour(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            if (qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel))
                return true;
        }
    }
    return false;
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
    if (request.pdfPage == 0) {
        result.problem = Problem::ChoosePage;
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

    // The page is rendered in 32-bit colour whatever it holds, so that is the memory it needs.
    const QSizeF points = page->pageSizeF();
    const double width = std::ceil(points.width() * dpi / 72.0);
    const double height = std::ceil(points.height() * dpi / 72.0);
    if (!(width >= 1.0 && height >= 1.0 && width * height < 4e9))
        return failure(fileName, Problem::NotReadable,
                       Words::tr("The PDF page has no usable size at %1 dpi.").arg(dpi));
    result.size = QSize(truncToInt(width), truncToInt(height));
    result.bytesNeeded = qint64(result.size.width()) * result.size.height() * 4;
    if (QImage(result.size, QImage::Format_RGB32).isNull())
        return failure(fileName, Problem::TooLarge, Words::tr("Out of memory."));
    if (result.bytesNeeded > request.memoryAllowed) {
        result.problem = Problem::NeedsConsent;
        return result;
    }

    document->setRenderHint(Poppler::Document::Antialiasing, true);
    document->setRenderHint(Poppler::Document::TextAntialiasing, true);
    document->setPaperColor(Qt::white);
    if (control)
        control->setPermille(-1); // Poppler does not tell how far it has got
    result.image = page->renderToImage(dpi, dpi, -1, -1, -1, -1, Poppler::Page::Rotate0, nullptr, nullptr, shouldStop,
                                       QVariant::fromValue(quintptr(control)));
    if (control && control->cancelled())
        return failure(fileName, Problem::Cancelled, QString());
    if (result.image.isNull())
        return failure(fileName, Problem::NotReadable, Words::tr("The PDF page could not be rendered."));
    if (result.image.depth() != 32)
        result.image.convertTo(QImage::Format_RGB32);
    result.image.convertTo(hasColour(result.image) ? QImage::Format_RGB32 : QImage::Format_Grayscale8);
    if (result.image.isNull())
        return failure(fileName, Problem::TooLarge, Words::tr("Out of memory."));
    result.size = result.image.size();
    result.bytesNeeded = result.image.sizeInBytes();
    if (control)
        control->setPermille(1000);
    return result;
}
