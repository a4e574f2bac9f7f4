#include "views/ImageFile.h"

#include "views/PdfFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMutex>
#include <QPixelFormat>
#include <algorithm>
#include <map>
#include <optional>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ImageFile)
};

// The image file as the readers see it: it counts the share read, stops them when asked (a read
// fails, which every reader treats as the end of its work), and notes whether they wanted bytes
// beyond the end of the file, which is how a file cut short shows.
class WatchedFile : public QIODevice
{
public:
    WatchedFile(const QString &path, ReadControl *control) : m_file(path), m_control(control) {}

    bool openFile()
    {
        if (!m_file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
            setErrorString(m_file.errorString());
            return false;
        }
        m_size = m_file.size();
        return open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    bool isSequential() const override { return false; }
    qint64 size() const override { return m_size; }
    bool seek(qint64 pos) override { return QIODevice::seek(pos) && m_file.seek(pos); }

    void startCounting()
    {
        m_readAtEnd = false;
        m_shortRead = false;
    }
    bool readAtEnd() const { return m_readAtEnd; }   // asked for bytes with none left
    bool shortRead() const { return m_shortRead; }   // asked for more bytes than were left
    bool stopped() const { return m_stopped; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_control && m_control->cancelled()) {
            m_stopped = true;
            return -1;
        }
        if (m_file.pos() != pos())
            m_file.seek(pos());
        const qint64 at = pos();
        if (maxSize > 0 && at >= m_size)
            m_readAtEnd = true;
        else if (maxSize > m_size - at)
            m_shortRead = true;
        const qint64 got = m_file.read(data, maxSize);
        if (m_control && m_size > 0 && got > 0) {
            const int permille = int(std::min<qint64>(1000, (at + got) * 1000 / m_size));
            if (permille > m_control->permille())
                m_control->setPermille(permille);
        }
        return got;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QFile m_file;
    ReadControl *m_control;
    qint64 m_size = 0;
    bool m_readAtEnd = false;
    bool m_shortRead = false;
    bool m_stopped = false;
};

// Qt's readers refuse any image over one process-wide allocation limit. Readings that run at the
// same time each hold their own limit here, and the one in force is the largest of them.
class AllocationLimit
{
public:
    explicit AllocationLimit(qint64 bytes) : m_megabytes(int(std::min<qint64>((bytes + MiB - 1) / MiB, 1 << 30)))
    {
        QMutexLocker lock(&s_mutex);
        ++s_active[m_megabytes];
        apply();
    }
    ~AllocationLimit()
    {
        QMutexLocker lock(&s_mutex);
        if (--s_active[m_megabytes] == 0)
            s_active.erase(m_megabytes);
        apply();
    }
    AllocationLimit(const AllocationLimit &) = delete;
    AllocationLimit &operator=(const AllocationLimit &) = delete;

private:
    static constexpr qint64 MiB = 1024 * 1024;
    static void apply()
    {
        QImageReader::setAllocationLimit(s_active.empty() ? int(ImageRequest::MemoryWithoutAsking / MiB)
                                                          : s_active.rbegin()->first);
    }
    int m_megabytes;
    static QMutex s_mutex;
    static std::map<int, int> s_active;
};

QMutex AllocationLimit::s_mutex;
std::map<int, int> AllocationLimit::s_active;

int bitsPerPixel(QImage::Format format)
{
    if (format == QImage::Format_Invalid)
        return 32;
    return QImage::toPixelFormat(format).bitsPerPixel();
}

// The format an image of that decoded format is kept in.
QImage::Format workingFormat(QImage::Format format)
{
    switch (format) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return QImage::Format_Mono;
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
        return format;
    case QImage::Format_Invalid:
        return QImage::Format_RGB32;
    default:
        return QImage::toPixelFormat(format).colorModel() == QPixelFormat::Grayscale ? QImage::Format_Grayscale8
                                                                                      : QImage::Format_RGB32;
    }
}

qint64 bytesFor(const QSize &size, QImage::Format format)
{
    const qint64 bitsPerLine = qint64(size.width()) * bitsPerPixel(format);
    return (bitsPerLine + 31) / 32 * 4 * size.height();
}

// Whether pixels of that size can be had at all. A large block is mapped lazily, so asking costs
// nothing, and a refusal now is a clear "no memory" rather than a read that fails half-way.
bool memoryAllows(const QSize &size, QImage::Format format)
{
    return !QImage(size, format).isNull();
}

// Opaque, and a colour for every index a pixel can hold: a file may give a shorter palette than
// its pixels use, and the painter would read past its end. Missing colours are black, or a grey
// ramp when there is no palette at all, as Qt's own conversions take them.
void makePaletteWhole(QImage &image)
{
    QList<QRgb> colours = image.colorTable();
    for (QRgb &colour : colours)
        colour = qRgb(qRed(colour), qGreen(colour), qBlue(colour));
    const int needed = image.format() == QImage::Format_Mono ? 2 : 256;
    const bool none = colours.isEmpty();
    for (int index = int(colours.size()); index < needed; ++index) {
        const int grey = none ? index * 255 / (needed - 1) : 0;
        colours.append(qRgb(grey, grey, grey));
    }
    image.setColorTable(colours);
}

ImageRead failure(const QString &path, ImageRead::Problem problem, const QString &reason)
{
    ImageRead result;
    result.path = path;
    result.problem = problem;
    result.reason = reason;
    return result;
}

QString sentence(QString text)
{
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('.')))
        text += QLatin1Char('.');
    return text;
}

ImageRead readPicture(const QString &fileName, const ImageRequest &request, ReadControl *control)
{
    using Problem = ImageRead::Problem;
    const auto cancelled = [&] { return failure(fileName, Problem::Cancelled, QString()); };
    WatchedFile file(fileName, control);
    if (!file.openFile())
        return failure(fileName, Problem::NotReadable, sentence(file.errorString()));

    // A header whose size is not the size of its pixels (or that gives none) must still not take
    // more than was allowed: the readers' own limit refuses it before the memory is touched.
    std::optional<AllocationLimit> limit;
    limit.emplace(request.memoryAllowed);
    QImageReader reader(&file);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return control && control->cancelled() ? cancelled()
                                               : failure(fileName, Problem::NotReadable, sentence(reader.errorString()));

    ImageRead result;
    result.path = fileName;
    const QImage::Format announced = reader.imageFormat();
    // Most readers ask for whole blocks and get a short one at the end of any file; the BMP
    // reader asks for exactly its rows, so a short row there means rows are missing.
    const bool exactRows = reader.format() == "bmp";
    QSize size = reader.size();
    if (reader.transformation() & QImageIOHandler::TransformationRotate90)
        size.transpose();
    if (size.isValid()) {
        if (size.isEmpty())
            return failure(fileName, Problem::NotReadable,
                           Words::tr("Not a readable image: its header gives a size of %1 x %2 pixels.")
                               .arg(size.width())
                               .arg(size.height()));
        const QImage::Format kept = workingFormat(announced);
        result.size = size;
        result.bytesNeeded = bytesFor(size, kept);
        if (!memoryAllows(size, kept))
            return failure(fileName, Problem::TooLarge, Words::tr("Out of memory."));
        if (result.bytesNeeded > request.memoryAllowed) {
            result.problem = Problem::NeedsConsent;
            return result;
        }
        // From here the readers may take what the header announces, no more. They count every
        // pixel as at least 32 bits against their limit, whatever it is decoded to.
        const qint64 pixels = qint64(size.width()) * size.height();
        limit.emplace(std::max(pixels * 4, bytesFor(size, announced)));
    }

    // The BMP reader leaves rows it could not read as they were. It fills the image it is given
    // when that has the right size and format, so a blank one means missing rows come out blank
    // rather than as whatever the memory held.
    if (exactRows && size.isValid() && announced != QImage::Format_Invalid) {
        result.image = QImage(size, announced);
        if (result.image.isNull())
            return failure(fileName, Problem::TooLarge, Words::tr("Out of memory."));
        result.image.fill(0);
    }

    file.startCounting();
    const bool read = reader.read(&result.image) && !result.image.isNull();
    if (file.stopped() || (control && control->cancelled()))
        return cancelled();
    const bool endedEarly = file.readAtEnd() || (file.shortRead() && exactRows);
    if (!read) {
        if (file.readAtEnd() || file.shortRead())
            return failure(fileName, Problem::NotReadable, Words::tr("Unexpected end of file."));
        return failure(fileName, Problem::NotReadable, sentence(reader.errorString()));
    }
    limit.reset();

    const QImage::Format kept = workingFormat(result.image.format());
    if (result.image.format() != kept)
        result.image.convertTo(kept);
    if (result.image.isNull()) // the conversion could not get its memory
        return failure(fileName, Problem::TooLarge, Words::tr("Out of memory."));
    if (kept == QImage::Format_Indexed8 || kept == QImage::Format_Mono)
        makePaletteWhole(result.image);
    result.size = result.image.size();
    result.bytesNeeded = result.image.sizeInBytes();
    if (endedEarly) {
        result.problem = Problem::Damaged;
        result.reason = Words::tr("Its data end early.");
    }
    if (control)
        control->setPermille(1000);
    return result;
}

} // namespace

bool ImageFile::isPdf(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) && file.read(1024).contains("%PDF-");
}

ImageRead ImageFile::read(const QString &fileName, const ImageRequest &request, ReadControl *control)
{
    if (control && control->cancelled())
        return failure(fileName, ImageRead::Problem::Cancelled, QString());
    // A pipe or a device would keep the reading waiting in open() for good.
    const QFileInfo info(fileName);
    if (info.exists() && !info.isFile())
        return failure(fileName, ImageRead::Problem::NotReadable, Words::tr("It is not a file."));
    if (isPdf(fileName))
        return PdfFile::read(fileName, request, control);
    return readPicture(fileName, request, control);
}
