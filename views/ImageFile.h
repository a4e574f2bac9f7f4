#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <atomic>

// What reading an image file gave: the image, or why there is none, or what must be asked first.
struct ImageRead
{
    enum class Problem {
        None,
        NotReadable,  // missing file, not an image, damaged beyond reading: `reason` says which
        TooLarge,     // decodable, but there is not enough memory for its pixels
        NeedsConsent, // readable, but its pixels need more memory than is taken without asking
                      // (`size`, `bytesNeeded`): read again with that much allowed if the user agrees
        Damaged,      // decoded, but its data end early: `image` holds what could be read
        ChoosePage,   // a PDF (`pageCount` pages): read again with a page and a resolution
        Cancelled     // stopped by ReadControl::cancel()
    };

    QImage image;
    Problem problem = Problem::None;
    QString reason;          // the reader's own words, when it gave any
    QString path;            // the file read
    QSize size;              // the pixels the file announces, upright (when it announces any)
    qint64 bytesNeeded = 0;  // the memory those pixels take once opened
    int pageCount = 0;       // PDF: its number of pages; 0 for other files
    int pdfPage = 0;         // PDF: the page rendered (from 1); 0 for other files
    int dotsPerInch = 0;     // PDF: the resolution it was rendered at
    QList<int> pdfHighestDotsPerInch; // ChoosePage: for each page, the finest resolution whose
                                      // pixels this computer can hold

    bool ok() const { return problem == Problem::None; }
};

// How to read: the memory the user has agreed to, and a PDF's page and resolution.
struct ImageRequest
{
    // Scans of 150 megapixels in colour (600 MB) open without a question; beyond this, or when a
    // file's size is not what its header said, the user is asked or the file refused.
    static constexpr qint64 MemoryWithoutAsking = 600LL * 1024 * 1024;
    static constexpr int DefaultDotsPerInch = 300;

    qint64 memoryAllowed = MemoryWithoutAsking; // bytes of pixels
    int pdfPage = 0;                            // from 1; 0 = not chosen yet (a PDF answers ChoosePage)
    int dotsPerInch = DefaultDotsPerInch;

    // Reading again a scan opened before, from the page and resolution it was opened at (0: none
    // kept, the first page at the usual resolution).
    static ImageRequest again(int pdfPage, int pdfDotsPerInch, qint64 memoryAllowed = MemoryWithoutAsking)
    {
        ImageRequest request;
        request.memoryAllowed = memoryAllowed;
        request.pdfPage = pdfPage > 0 ? pdfPage : 1;
        if (pdfDotsPerInch > 0)
            request.dotsPerInch = pdfDotsPerInch;
        return request;
    }
};

// Shared between a reading thread and the thread that watches it: how far the reading has got,
// and a request to stop. Both sides may call anything at any time.
class ReadControl
{
public:
    void cancel() { m_cancelled.store(true); }
    bool cancelled() const { return m_cancelled.load(); }
    // Share read so far in thousandths; -1 while it cannot be told (a busy indicator).
    int permille() const { return m_permille.load(); }
    void setPermille(int permille) { m_permille.store(permille); }

private:
    std::atomic<bool> m_cancelled{false};
    std::atomic<int> m_permille{-1};
};

// Reading a user-chosen scan into a working image.
//
// Any format Qt's image readers know is accepted (BMP, PNG, JPEG, TIFF, GIF, WebP, PBM/PGM/PPM,
// ...), and PDF pages through Poppler; only the first image of a multi-image file is read. Images
// are turned upright as their EXIF orientation says. The image keeps the decoded pixels without a
// second full copy: colour images as opaque 32-bit RGB, greyscale ones as 8-bit grey, palette ones
// as 8-bit indexed and two-colour ones as 1-bit (Format_Mono), both with an opaque palette; all
// four paint directly.
namespace ImageFile {

ImageRead read(const QString &fileName, const ImageRequest &request = ImageRequest(),
               ReadControl *control = nullptr);

// Whether the file starts like a PDF document (its mark within the first kilobyte).
bool isPdf(const QString &fileName);

} // namespace ImageFile
