// Reading image files into a working image: the formats scans come in and how they paint,
// hostile and damaged files, PDF sheets, upright photos, 1-bit scans, a reading cancelled on the
// way, scans too large for the readers' default limit or for the memory, and PDF pages drawn in
// bands by their helper under a memory cap.
#include "document/EditSession.h"
#include "document/SurveyDocument.h"
#include "project/ProjectController.h"
#include "project/ProjectFile.h"
#include "support/MemoryLimit.h"
#include "support/TestFiles.h"
#include "views/ImageFile.h"
#include "views/ImageLoader.h"
#include "views/PdfRender.h"
#include "views/ViewEditor.h"
#include "views/ViewPainter.h"
#include "views/ViewSnapshot.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <csignal>
#include <thread>
#include <tiffio.h>

Q_DECLARE_METATYPE(ImageRead::Problem)

namespace {

// Four solid quarters, so lossy formats keep each quarter's colour near its middle.
QImage quarters(QImage::Format format)
{
    QImage image(64, 48, QImage::Format_RGB32);
    const QRgb colours[4] = {qRgb(200, 30, 30), qRgb(30, 160, 40), qRgb(20, 40, 210), qRgb(250, 250, 250)};
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            image.setPixel(x, y, colours[(y >= 24) * 2 + (x >= 32)]);
    if (format == QImage::Format_Indexed8)
        return image.convertToFormat(format, Qt::ThresholdDither | Qt::AvoidDither);
    return image.convertToFormat(format);
}

QImage blackAndWhite()
{
    QImage image(64, 48, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    for (int y = 0; y < 48; ++y)
        for (int x = 32; x < 64; ++x)
            image.setPixel(x, y, 1);
    return image;
}

// A 1-bit scan as CCITT G4 compresses it (white is 0, as scanners write it).
bool writeG4(const QString &path, const QImage &mono)
{
    TIFF *tiff = TIFFOpen(QFile::encodeName(path).constData(), "w");
    if (!tiff)
        return false;
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, mono.width());
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, mono.height());
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, 1);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, 1);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_CCITTFAX4);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISWHITE);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, mono.height());
    bool written = true;
    for (int y = 0; y < mono.height() && written; ++y)
        written = TIFFWriteScanline(tiff, const_cast<uchar *>(mono.constScanLine(y)), uint32_t(y), 0) >= 0;
    TIFFClose(tiff);
    return written;
}

QByteArray encoded(const QImage &image, const char *format, int quality = -1)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setQuality(quality);
    writer.write(image);
    return bytes;
}

// A PDF of those objects (numbered from 1) with a correct cross-reference table.
QByteArray pdfOf(const QList<QByteArray> &objects, const QByteArray &trailerExtra = QByteArray())
{
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets.append(pdf.size());
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R " + trailerExtra
        + " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

// The colour of row y of stripes(): greys that differ from each row to the next, and one red row.
QRgb stripe(int y, bool red)
{
    const int grey = 37 * y % 256;
    return red && y == 150 ? qRgb(255, 0, 0) : qRgb(grey, grey, grey);
}

// Pages of 144 x 72 points (600 x 300 pixels at 300 dpi): the first grey, the others with a
// red square.
QByteArray sheetsPdf(int pages)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setPageSize(QPageSize(QSizeF(144, 72), QPageSize::Point));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(72);
    QPainter painter(&writer);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        painter.fillRect(QRect(10, 10, 40, 30), page == 0 ? QColor(60, 60, 60) : QColor(220, 0, 0));
    }
    painter.end();
    return bytes;
}

// Pages of those media boxes, all drawn by one content stream.
QByteArray pagesPdf(const QList<QByteArray> &mediaBoxes, const QByteArray &content)
{
    const QByteArray stream = qCompress(content, 9).mid(4); // a zlib stream after Qt's length
    QList<QByteArray> objects = {"<< /Type /Catalog /Pages 2 0 R >>",
                                 "<< /Type /Pages /Count " + QByteArray::number(mediaBoxes.size()) + " /Kids [] >>",
                                 "<< /Length " + QByteArray::number(stream.size()) + " /Filter /FlateDecode >>\nstream\n"
                                     + stream + "\nendstream"};
    for (const QByteArray &box : mediaBoxes) {
        objects[1].insert(objects[1].indexOf(']'), QByteArray::number(objects.size() + 1) + " 0 R ");
        objects.append("<< /Type /Page /Parent 2 0 R /MediaBox [" + box + "] /Contents 3 0 R >>");
    }
    return pdfOf(objects);
}

// A 40 x 300 point page whose every row at 72 dpi has its own colour (the one below).
QByteArray stripes(bool red)
{
    QByteArray content;
    for (int y = 0; y < 300; ++y) {
        const QRgb colour = stripe(y, red);
        for (const int channel : {qRed(colour), qGreen(colour), qBlue(colour)})
            content += QByteArray::number(channel / 255.0, 'f', 6) + ' ';
        content += "rg 0 " + QByteArray::number(299 - y) + " 40 1 re f\n";
    }
    return content;
}

// One filled path of that many segments between points spread over the middle of an A4 page
// (100 to 495 points across, 100 to 742 up): each crosses a third of the rows on average.
QByteArray segments(int count)
{
    quint32 random = 7;
    const auto next = [&](quint32 range) { return ((random = random * 1664525u + 1013904223u) >> 8) % range; };
    QByteArray content = "0.2 0.2 0.2 rg 300 400 m\n";
    for (int i = 0; i < count; ++i)
        content += QByteArray::number(100 + next(396)) + ' ' + QByteArray::number(100 + next(643)) + " l\n";
    return content + "f\n";
}

// Processes this one started that have not been waited for, as the kernel lists them per thread.
int childProcesses()
{
    qsizetype children = 0;
    for (const QString &task : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        children += QString::fromLatin1(TestFiles::bytes(QStringLiteral("/proc/self/task/%1/children").arg(task)))
                        .split(QLatin1Char(' '), Qt::SkipEmptyParts)
                        .size();
    return int(children);
}

// The JPEG with an EXIF block saying how to turn it upright.
QByteArray withOrientation(const QByteArray &jpeg, quint16 orientation)
{
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    tiff += QByteArray("\x01\0\x12\x01\x03\0\x01\0\0\0", 10);
    tiff += char(orientation);
    tiff += QByteArray("\0\0\0\0\0\0\0", 6); // value padding, no next directory
    const QByteArray exif = QByteArray("Exif\0\0", 6) + tiff;
    const int length = int(exif.size()) + 2;
    QByteArray segment("\xFF\xE1", 2);
    segment += char(length >> 8);
    segment += char(length & 0xFF);
    return jpeg.left(2) + segment + exif + jpeg.mid(2);
}

quint32 crc32(const QByteArray &bytes)
{
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return ~crc;
}

// A PNG of that size and bit depth (grey) whose pixel data are one empty block: a header that
// claims what its data never hold.
QByteArray pngHeader(quint32 width, quint32 height, int bitDepth)
{
    const auto chunk = [](const QByteArray &type, const QByteArray &data) {
        QByteArray out;
        const auto put32 = [&](quint32 v) {
            for (int shift = 24; shift >= 0; shift -= 8)
                out += char(v >> shift);
        };
        put32(quint32(data.size()));
        out += type + data;
        put32(crc32(type + data));
        return out;
    };
    QByteArray ihdr;
    for (const quint32 v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            ihdr += char(v >> shift);
    ihdr += char(bitDepth);
    ihdr += QByteArray("\0\0\0\0", 4); // grey, deflate, adaptive filters, not interlaced
    return QByteArray("\x89PNG\r\n\x1A\n", 8) + chunk("IHDR", ihdr) + chunk("IDAT", QByteArray("\x78\x9C\x03\0\0\0\0\x01", 8))
        + chunk("IEND", QByteArray());
}

void put16(QByteArray &bytes, qsizetype at, int value, bool bigEndian)
{
    bytes[at] = char(bigEndian ? value >> 8 : value & 0xFF);
    bytes[at + 1] = char(bigEndian ? value & 0xFF : value >> 8);
}

bool near(QRgb got, QRgb want, int tolerance)
{
    return qAbs(qRed(got) - qRed(want)) <= tolerance && qAbs(qGreen(got) - qGreen(want)) <= tolerance
        && qAbs(qBlue(got) - qBlue(want)) <= tolerance;
}

} // namespace

class ImageFileTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void formatsReadAndPaintWithTheirColours_data();
    void formatsReadAndPaintWithTheirColours();
    void hostileAndDamagedFiles_data();
    void hostileAndDamagedFiles();
    void agreedMemoryAndChosenPageAreRead_data();
    void agreedMemoryAndChosenPageAreRead();
    void photosComeUpright();
    void oneBitScanStaysOneBitThroughPaintAndSave();
    void cancellingMidwayGivesNothingAndEndsTheThread();
    void bothScansOfAProjectReadAtOnce();
    void aProjectReopensItsPdfPageAndNamesAMissingScan();
    void scansBeyondTheReadersDefaultLimitOpen();
    void impossibleSizeIsReportedAsTooLarge();
    void pdfRowsArriveInOrderWhateverTheBands_data();
    void pdfRowsArriveInOrderWhateverTheBands();
    void complexPdfPageOpensUnderAMemoryCapAndCancels();
    void pdfImageTheHelperCannotScaleIsRefusedNotLeftOut();
    void pdfHelperDiesWithItsWindow();
    void pdfPageBeyondTheComputerIsRefused_data();
    void pdfPageBeyondTheComputerIsRefused();
    void shortPaletteAndMissingRowsPaintDefinedColours();

private:
    QString write(const QString &name, const QImage &image, const char *format, int quality = -1);
    QString writeBytes(const QString &name, const QByteArray &bytes);
    QTemporaryDir m_dir;
};

void ImageFileTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

QString ImageFileTest::write(const QString &name, const QImage &image, const char *format, int quality)
{
    const QString path = m_dir.filePath(name);
    QImageWriter writer(path, format);
    if (quality >= 0)
        writer.setQuality(quality);
    if (!writer.write(image))
        qWarning("%s: %s", qPrintable(name), qPrintable(writer.errorString()));
    return path;
}

QString ImageFileTest::writeBytes(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qWarning("%s: not written", qPrintable(name));
    return path;
}

void ImageFileTest::formatsReadAndPaintWithTheirColours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<int>("sourceFormat");
    QTest::addColumn<int>("quality");
    QTest::addColumn<int>("tolerance");
    QTest::addColumn<int>("workingFormat");
    const int rgb = QImage::Format_RGB32;
    const int grey = QImage::Format_Grayscale8;
    const int indexed = QImage::Format_Indexed8;
    const int mono = QImage::Format_Mono;
    QTest::newRow("bmp 24-bit") << "a.bmp" << QByteArray("bmp") << int(QImage::Format_RGB888) << -1 << 0 << rgb;
    QTest::newRow("bmp palette") << "p.bmp" << QByteArray("bmp") << indexed << -1 << 0 << indexed;
    QTest::newRow("bmp 1-bit") << "m.bmp" << QByteArray("bmp") << mono << -1 << 0 << mono;
    QTest::newRow("png colour") << "a.png" << QByteArray("png") << rgb << -1 << 0 << rgb;
    QTest::newRow("png with alpha") << "alpha.png" << QByteArray("png") << int(QImage::Format_ARGB32) << -1 << 0 << rgb;
    QTest::newRow("png palette") << "p.png" << QByteArray("png") << indexed << -1 << 0 << indexed;
    QTest::newRow("png grey") << "g.png" << QByteArray("png") << grey << -1 << 0 << grey;
    QTest::newRow("png 1-bit") << "m.png" << QByteArray("png") << mono << -1 << 0 << mono;
    QTest::newRow("png 16-bit grey") << "g16.png" << QByteArray("png") << int(QImage::Format_Grayscale16) << -1 << 1 << grey;
    QTest::newRow("png 16-bit colour") << "c16.png" << QByteArray("png") << int(QImage::Format_RGBA64) << -1 << 1 << rgb;
    QTest::newRow("jpeg colour") << "a.jpg" << QByteArray("jpeg") << rgb << 95 << 12 << rgb;
    QTest::newRow("jpeg grey") << "g.jpg" << QByteArray("jpeg") << grey << 95 << 12 << grey;
    QTest::newRow("tiff colour") << "a.tif" << QByteArray("tiff") << rgb << -1 << 0 << rgb;
    QTest::newRow("tiff grey") << "g.tif" << QByteArray("tiff") << grey << -1 << 0 << grey;
    QTest::newRow("tiff 1-bit") << "m.tif" << QByteArray("tiff") << mono << -1 << 0 << mono;
    QTest::newRow("tiff 1-bit g4") << "g4.tif" << QByteArray("g4") << mono << -1 << 0 << mono;
    QTest::newRow("gif") << "quarters.gif" << QByteArray("gif") << indexed << -1 << 0 << rgb; // frames come composed
    QTest::newRow("webp lossless") << "a.webp" << QByteArray("webp") << rgb << 100 << 0 << rgb;
    QTest::newRow("webp lossy") << "l.webp" << QByteArray("webp") << rgb << 80 << 16 << rgb;
    QTest::newRow("pgm") << "a.pgm" << QByteArray("pgm") << grey << -1 << 0 << grey;
    QTest::newRow("ppm") << "a.ppm" << QByteArray("ppm") << rgb << -1 << 0 << rgb;
    QTest::newRow("pbm") << "a.pbm" << QByteArray("pbm") << mono << -1 << 0 << mono;
    // Found by content whatever the name says.
    QTest::newRow("png named .dat") << "scan.dat" << QByteArray("png") << rgb << -1 << 0 << rgb;
}

void ImageFileTest::formatsReadAndPaintWithTheirColours()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(int, sourceFormat);
    QFETCH(int, quality);
    QFETCH(int, tolerance);
    QFETCH(int, workingFormat);
    const QImage source = sourceFormat == QImage::Format_Mono ? blackAndWhite() : quarters(QImage::Format(sourceFormat));
    // Qt writes no GIF (that one is a fixture) and no G4 TIFF.
    QString path;
    if (format == "gif")
        path = TestFiles::dataPath(name);
    else if (format == "g4")
        QVERIFY(writeG4(path = m_dir.filePath(name), source));
    else
        path = write(name, source, format.constData(), quality);

    const ImageRead read = ImageFile::read(path);
    QVERIFY(read.ok());
    QCOMPARE(read.image.size(), QSize(64, 48));
    QCOMPARE(int(read.image.format()), workingFormat);
    // Painted as a view, at source size and with nothing over it.
    ViewSnapshot view;
    view.image = read.image;
    view.sourceWidth = read.image.width();
    view.sourceHeight = read.image.height();
    const QImage painted = ViewPainter::sourcePicture(view);
    // Each quarter's middle has the colour written, and every pixel is opaque.
    const QImage expected = source.convertToFormat(QImage::Format_RGB32);
    for (const QPoint p : {QPoint(16, 12), QPoint(48, 12), QPoint(16, 36), QPoint(48, 36)}) {
        const QRgb got = read.image.pixel(p);
        const QRgb want = expected.pixel(p);
        QCOMPARE(qAlpha(got), 255);
        QVERIFY2(near(got, want, tolerance), qPrintable(QStringLiteral("at (%1, %2): %3, expected %4")
                                                            .arg(p.x()).arg(p.y()).arg(got, 8, 16).arg(want, 8, 16)));
        QCOMPARE(painted.pixel(p), got);
    }
}

void ImageFileTest::hostileAndDamagedFiles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<ImageRead::Problem>("problem");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QSize>("size"); // the image kept (Damaged) or announced (NeedsConsent)
    QTest::addColumn<qint64>("bytes"); // the memory asked about (NeedsConsent)
    using P = ImageRead::Problem;
    const QImage colour = quarters(QImage::Format_RGB32);
    const QByteArray png = encoded(colour, "png");
    const QByteArray jpeg = encoded(colour, "jpeg", 90);
    const QByteArray bmp = encoded(colour, "bmp");
    const QByteArray tiff = encoded(colour, "tiff");
    const QByteArray webp = encoded(colour, "webp", 100);
    const QByteArray pgm = encoded(quarters(QImage::Format_Grayscale8), "pgm");
    const QByteArray gif = TestFiles::dataBytes(QStringLiteral("quarters.gif"));
    const QString endOfFile = QStringLiteral("Unexpected end of file.");
    const QString dataEndEarly = QStringLiteral("Its data end early.");
    const QString unsupported = QStringLiteral("Unsupported image format.");

    QTest::newRow("missing file") << "missing.png" << QByteArray() << P::NotReadable
                                  << "No such file or directory." << QSize() << qint64(0);
    QTest::newRow("text named .png") << "notes.png" << QByteArray("Survey notes, not a picture.\n") << P::NotReadable
                                     << unsupported << QSize() << qint64(0);
    QTest::newRow("empty") << "empty.bmp" << QByteArray("") << P::NotReadable << unsupported << QSize() << qint64(0);
    // Cut short: where the reader fails the file is refused; where it would give a picture with
    // a blank part, what could be read is offered with the damage named.
    QTest::newRow("png cut in its pixels") << "cut.png" << png.left(png.indexOf("IDAT") + 12) << P::NotReadable
                                           << endOfFile << QSize() << qint64(0);
    const qsizetype scan = jpeg.indexOf("\xFF\xDA");
    QTest::newRow("jpeg cut short") << "cut.jpg" << jpeg.left(scan + (jpeg.size() - scan) / 2) << P::Damaged << dataEndEarly
                                    << QSize(64, 48) << qint64(0);
    QTest::newRow("gif cut short") << "cut.gif" << gif.left(gif.size() * 2 / 3) << P::Damaged << dataEndEarly
                                   << QSize(64, 48) << qint64(0);
    QTest::newRow("bmp cut short") << "cut.bmp" << bmp.left(bmp.size() * 2 / 3) << P::Damaged << dataEndEarly
                                   << QSize(64, 48) << qint64(0);
    QTest::newRow("tiff cut short") << "cut.tif" << tiff.left(tiff.size() / 2) << P::NotReadable << endOfFile << QSize() << qint64(0);
    QTest::newRow("pgm cut short") << "cut.pgm" << pgm.left(pgm.size() / 2) << P::NotReadable << endOfFile << QSize() << qint64(0);
    QTest::newRow("webp cut short") << "cut.webp" << webp.left(webp.size() / 2) << P::NotReadable
                                    << "Unable to read image data." << QSize() << qint64(0);
    // Headers claiming far more pixels than the file holds: asked about before any is decoded.
    QByteArray hugeJpeg = jpeg;
    const qsizetype frame = hugeJpeg.indexOf("\xFF\xC0");
    put16(hugeJpeg, frame + 5, 30000, true);
    put16(hugeJpeg, frame + 7, 30000, true);
    QTest::newRow("jpeg header 30000 x 30000") << "huge.jpg" << hugeJpeg << P::NeedsConsent << QString()
                                               << QSize(30000, 30000) << qint64(30000) * 30000 * 4;
    QTest::newRow("png header 100000 x 100000 at 1 bit") << "huge.png" << pngHeader(100000, 100000, 1)
                                                         << P::NeedsConsent << QString() << QSize(100000, 100000)
                                                         << qint64(100000 / 8) * 100000;
    // A GIF whose signature is damaged is decoded to its logical screen, whatever its frame
    // says: the reader's own limit refuses it before the memory is taken.
    QByteArray bomb = gif.left(66);
    bomb[4] = 'X';
    put16(bomb, 6, 25200, false);
    put16(bomb, 8, 9638, false);
    QTest::newRow("gif growing past its frame") << "bomb.gif" << bomb << P::NotReadable << unsupported << QSize() << qint64(0);
    QByteArray zeroWidth = gif;
    put16(zeroWidth, 6, 0, false);
    put16(zeroWidth, 38, 0, false);
    QTest::newRow("gif of width 0") << "zero.gif" << zeroWidth << P::NotReadable
                                    << "Not a readable image: its header gives a size of 0 x 48 pixels." << QSize() << qint64(0);
    // PDF sheets.
    const QByteArray catalog = "<< /Type /Catalog /Pages 2 0 R >>";
    QTest::newRow("pdf of 0 pages") << "none.pdf" << pdfOf({catalog, "<< /Type /Pages /Kids [] /Count 0 >>"})
                                    << P::NotReadable << "The PDF document has no pages." << QSize() << qint64(0);
    const QByteArray u(32, '\x5A');
    const QByteArray encrypt = "<< /Filter /Standard /V 1 /R 2 /P -4 /O <" + QByteArray(32, '\x11').toHex() + "> /U <"
        + u.toHex() + "> >>";
    const QByteArray id = "/Encrypt 4 0 R /ID [<00112233445566778899AABBCCDDEEFF> <00112233445566778899AABBCCDDEEFF>]";
    QTest::newRow("pdf with a password")
        << "locked.pdf"
        << pdfOf({catalog, "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
                  "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 144 72] >>", encrypt},
                 id)
        << P::NotReadable << "The PDF document is protected by a password." << QSize() << qint64(0);
    const QByteArray sheets = sheetsPdf(3);
    QTest::newRow("pdf cut short") << "cut.pdf" << sheets.left(200) << P::NotReadable << "Not a readable PDF document."
                                   << QSize() << qint64(0);
    QTest::newRow("pdf of three pages") << "sheets.pdf" << sheets << P::ChoosePage << QString() << QSize() << qint64(0);
}

void ImageFileTest::hostileAndDamagedFiles()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(ImageRead::Problem, problem);
    QFETCH(QString, reason);
    QFETCH(QSize, size);
    QFETCH(qint64, bytes);
    const QString path = name == QLatin1String("missing.png") ? m_dir.filePath(name) : writeBytes(name, content);
    const ImageRead read = ImageFile::read(path);
    QCOMPARE(read.problem, problem);
    QCOMPARE(read.reason, reason);
    QCOMPARE(read.path, path);
    QCOMPARE(read.image.isNull(), problem != ImageRead::Problem::Damaged);
    if (problem == ImageRead::Problem::Damaged)
        QCOMPARE(read.image.size(), size);
    if (problem == ImageRead::Problem::NeedsConsent) {
        QCOMPARE(read.size, size);
        QCOMPARE(read.bytesNeeded, bytes);
    }
    if (problem == ImageRead::Problem::ChoosePage)
        QCOMPARE(read.pageCount, 3);
}

void ImageFileTest::agreedMemoryAndChosenPageAreRead_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("dpi");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("format");
    QTest::addColumn<QRgb>("inside"); // the pixel at (30, 25) points
    const QByteArray sheets = sheetsPdf(3);
    QTest::newRow("grey page at 300 dpi") << sheets << 1 << 300 << QSize(600, 300) << int(QImage::Format_Grayscale8)
                                          << qRgb(60, 60, 60);
    QTest::newRow("colour page at 150 dpi") << sheets << 2 << 150 << QSize(300, 150) << int(QImage::Format_RGB32)
                                            << qRgb(220, 0, 0);
}

void ImageFileTest::agreedMemoryAndChosenPageAreRead()
{
    QFETCH(QByteArray, content);
    QFETCH(int, page);
    QFETCH(int, dpi);
    QFETCH(QSize, size);
    QFETCH(int, format);
    QFETCH(QRgb, inside);
    const QString path = writeBytes(QStringLiteral("chosen.pdf"), content);
    ImageRequest request;
    request.pdfPage = page;
    request.dotsPerInch = dpi;
    // A page needing more memory than is taken unasked is asked about; agreed, it is read.
    request.memoryAllowed = qint64(size.width()) * size.height() * 4 - 1;
    ImageRead read = ImageFile::read(path, request);
    QCOMPARE(read.problem, ImageRead::Problem::NeedsConsent);
    QCOMPARE(read.size, size);
    request.memoryAllowed = read.bytesNeeded;
    read = ImageFile::read(path, request);
    QVERIFY2(read.ok(), qPrintable(read.reason));
    QCOMPARE(read.image.size(), size);
    QCOMPARE(int(read.image.format()), format);
    QCOMPARE(read.pdfPage, page);
    QCOMPARE(read.dotsPerInch, dpi);
    QCOMPARE(read.image.pixel(30 * dpi / 72, 25 * dpi / 72), inside);
    QCOMPARE(read.image.pixel(100 * dpi / 72, 60 * dpi / 72), qRgb(255, 255, 255));
}

void ImageFileTest::photosComeUpright()
{
    // A phone photo stored lying on its side, 60 x 40, with a dark top-left corner; orientation 6
    // says "turn a quarter clockwise to view".
    QImage lying(60, 40, QImage::Format_RGB32);
    lying.fill(qRgb(240, 240, 240));
    QPainter(&lying).fillRect(QRect(0, 0, 10, 10), QColor(10, 10, 10));
    const QString path = writeBytes(QStringLiteral("phone.jpg"), withOrientation(encoded(lying, "jpeg", 95), 6));
    const ImageRead read = ImageFile::read(path);
    QVERIFY(read.ok());
    QCOMPARE(read.image.size(), QSize(40, 60));
    QVERIFY(qGray(read.image.pixel(35, 4)) < 40);   // the dark corner is now top-right
    QVERIFY(qGray(read.image.pixel(4, 4)) > 200);
}

void ImageFileTest::oneBitScanStaysOneBitThroughPaintAndSave()
{
    // A 1-bit sheet with diagonal ink, G4 compressed as scanners write it.
    QImage sheet(997, 613, QImage::Format_Mono);
    sheet.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    sheet.fill(0);
    for (int y = 0; y < sheet.height(); ++y)
        for (int x = 0; x < sheet.width(); ++x)
            if ((x + 2 * y) % 37 < 2 || (x * 3 + y) % 101 == 0)
                sheet.setPixel(x, y, 1);
    const QString path = m_dir.filePath(QStringLiteral("sheet.tif"));
    QVERIFY(writeG4(path, sheet));

    const ImageRead read = ImageFile::read(path);
    QVERIFY(read.ok());
    QCOMPARE(read.image.format(), QImage::Format_Mono);
    QCOMPARE(read.image.sizeInBytes(), qsizetype((997 + 31) / 32 * 4 * 613));
    QCOMPARE(read.image.convertToFormat(QImage::Format_RGB32), sheet.convertToFormat(QImage::Format_RGB32));

    // Painted exactly as the same sheet in 32-bit colour is, overlay included, zoomed and not.
    ViewSnapshot oneBit;
    oneBit.image = read.image;
    oneBit.sourceWidth = 997;
    oneBit.sourceHeight = 613;
    oneBit.gridShown = true;
    oneBit.gridPixels = 50;
    oneBit.stations = {QPointF(100, 100), QPointF(400, 300)};
    oneBit.legBefore = {false, true};
    ViewSnapshot colour = oneBit;
    colour.image = sheet.convertToFormat(QImage::Format_RGB32);
    const QImage picture = ViewPainter::sourcePicture(oneBit);
    QCOMPARE(picture, ViewPainter::sourcePicture(colour));
    for (const double zoom : {0.25, 0.5, 3.0}) {
        oneBit.zoom = colour.zoom = zoom;
        QImage a(300, 200, QImage::Format_RGB32);
        QImage b(300, 200, QImage::Format_RGB32);
        const QRect area(QPoint(int(150 * zoom), int(100 * zoom)), a.size());
        QPainter pa(&a);
        pa.translate(-area.topLeft());
        ViewPainter::paintDisplayed(pa, oneBit, area);
        pa.end();
        QPainter pb(&b);
        pb.translate(-area.topLeft());
        ViewPainter::paintDisplayed(pb, colour, area);
        pb.end();
        QVERIFY2(a == b, qPrintable(QStringLiteral("zoom %1").arg(zoom)));
    }
    // Saved again as 1-bit and reopened, the same bits.
    QVERIFY(writeG4(m_dir.filePath(QStringLiteral("again.tif")), read.image));
    const ImageRead again = ImageFile::read(m_dir.filePath(QStringLiteral("again.tif")));
    QCOMPARE(again.image.format(), QImage::Format_Mono);
    QCOMPARE(again.image, read.image);
}

void ImageFileTest::cancellingMidwayGivesNothingAndEndsTheThread()
{
    // Grey noise stored without compression: large enough that reading takes a while.
    QImage noise(4000, 3000, QImage::Format_Grayscale8);
    quint32 random = 1;
    for (int y = 0; y < noise.height(); ++y) {
        uchar *line = noise.scanLine(y);
        for (int x = 0; x < noise.width(); ++x)
            line[x] = uchar((random = random * 1664525u + 1013904223u) >> 24);
    }
    const QString path = write(QStringLiteral("noise.png"), noise, "png", 100);
    noise = QImage();

    ImageLoader loader;
    QSignalSpy finished(&loader, &ImageLoader::finished);
    loader.start({{path, ImageRequest()}});
    while (loader.permille() < 100)
        QThread::yieldCurrentThread();
    QVERIFY(loader.permille() < 1000);
    loader.cancel();
    QVERIFY(finished.wait());
    QCOMPARE(finished.count(), 1);
    QVERIFY(!loader.isBusy());
    QCOMPARE(loader.result(0).problem, ImageRead::Problem::Cancelled);
    QVERIFY(loader.result(0).image.isNull());

    // Read to the end, the same file opens.
    loader.start({{path, ImageRequest()}});
    loader.waitForFinished();
    QCOMPARE(finished.count(), 2);
    QCOMPARE(loader.result(0).image.size(), QSize(4000, 3000));
    QCOMPARE(loader.permille(), 1000);

    // That reading's end, delivered late, is not taken for the end of the next one.
    loader.start({{path, ImageRequest()}});
    QCoreApplication::processEvents();
    loader.cancel();
    loader.waitForFinished();
    QCOMPARE(loader.result(0).problem, ImageRead::Problem::Cancelled);
}

void ImageFileTest::bothScansOfAProjectReadAtOnce()
{
    const QString plan = write(QStringLiteral("plan.png"), quarters(QImage::Format_RGB32), "png");
    const QString text = writeBytes(QStringLiteral("profile.png"), "not a picture");
    const QString pdf = writeBytes(QStringLiteral("profile.pdf"), sheetsPdf(2));
    ImageLoader loader;
    QSignalSpy finished(&loader, &ImageLoader::finished);
    loader.start({{plan, ImageRequest()}, {text, ImageRequest()}, {pdf, ImageRequest()}});
    QVERIFY(finished.wait());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(loader.result(0).image.size(), QSize(64, 48));
    QCOMPARE(loader.result(1).problem, ImageRead::Problem::NotReadable);
    QCOMPARE(loader.result(2).problem, ImageRead::Problem::ChoosePage);

    // The page chosen, only that job runs again; the others keep their results.
    const qint64 planKey = loader.result(0).image.cacheKey();
    ImageRequest page;
    page.pdfPage = 2;
    page.dotsPerInch = 72;
    loader.retry(2, page);
    QVERIFY(finished.wait());
    QCOMPARE(loader.result(0).image.cacheKey(), planKey);
    QCOMPARE(loader.result(2).image.size(), QSize(144, 72));
    QCOMPARE(loader.job(2).request.pdfPage, 2);
}

void ImageFileTest::aProjectReopensItsPdfPageAndNamesAMissingScan()
{
    const QString pdf = writeBytes(QStringLiteral("sheets.pdf"), sheetsPdf(3));
    const QString project = m_dir.filePath(QStringLiteral("pdf.sprj"));
    SurveyDocument document;
    EditSession session;
    ImageRequest request;
    request.pdfPage = 2;
    request.dotsPerInch = 100;
    ViewEditor(document, session).applyImage(ViewSide::Profile, ImageFile::read(pdf, request));
    ProjectController(document, session).saveAs(project);

    // Page 2 at 100 dpi again; the plan names a file that is gone.
    ProjectContents contents = ProjectFile::read(project);
    contents.header.planImagePath = m_dir.filePath(QStringLiteral("gone.png"));
    SurveyDocument reopened;
    EditSession again;
    const ProjectController::Opened opened = ProjectController(reopened, again).open(contents, project);
    const ViewSettings &profile = reopened.view(ViewSide::Profile);
    QCOMPARE(profile.image.size(), QSize(200, 100));
    QCOMPARE(qRed(profile.image.pixel(40, 35)), 220);
    QCOMPARE(profile.pdfPage, 2);
    QCOMPARE(profile.pdfDotsPerInch, 100);
    QVERIFY(opened.planImageMissing && opened.plan.fileMissing);
    QCOMPARE(opened.plan.message, QStringLiteral("Problems opening the Plan image: no file %1")
                                      .arg(m_dir.filePath(QStringLiteral("gone.png"))));

    // A project without the block shows page 1 at 300 dpi.
    contents.extras = ProjectExtras();
    ProjectController(reopened, again).open(contents, project);
    QCOMPARE(reopened.view(ViewSide::Profile).image.size(), QSize(600, 300));
    QCOMPARE(reopened.view(ViewSide::Profile).pdfPage, 1);
}

void ImageFileTest::scansBeyondTheReadersDefaultLimitOpen()
{
    // 192 megapixels of grey: 192 MB of pixels, over the 128 MB Qt's readers accept by default,
    // and over 600 MB as they count it (4 bytes a pixel). Uniform, so the file stays small.
    QImage big(12000, 16000, QImage::Format_Grayscale8);
    QVERIFY(!big.isNull());
    big.fill(200);
    for (int x = 0; x < 12000; x += 1000)
        big.setPixel(x, 15999, 0);
    const QString path = write(QStringLiteral("big.png"), big, "png");
    big = QImage();

    QImageReader::setAllocationLimit(128);
    QVERIFY(QImageReader(path).read().isNull()); // what a plain reader does

    const ImageRead read = ImageFile::read(path);
    QVERIFY(read.ok());
    QCOMPARE(read.image.size(), QSize(12000, 16000));
    QCOMPARE(read.image.format(), QImage::Format_Grayscale8); // one byte per pixel, not four
    QCOMPARE(qGray(read.image.pixel(5000, 15999)), 0);
    QCOMPARE(qGray(read.image.pixel(5001, 15999)), 200);
}

void ImageFileTest::impossibleSizeIsReportedAsTooLarge()
{
    // A header asking for 900000 x 900000 colour pixels (3 TB): no memory can take it. Where the
    // system promises any amount of memory, the question cannot be asked.
    if (TestFiles::systemGrantsEveryAllocation())
        QSKIP("this system grants every allocation");
    const QString path = TestFiles::dataPath(QStringLiteral("huge-header.png"));
    QCOMPARE(QImageReader(path).size(), QSize(900000, 900000));
    const ImageRead read = ImageFile::read(path);
    QCOMPARE(read.problem, ImageRead::Problem::TooLarge);
    QVERIFY(read.image.isNull());
}

void ImageFileTest::shortPaletteAndMissingRowsPaintDefinedColours()
{
    // A BMP of 4 x 2 pixels at 8 bits whose palette names two colours while its pixels use 0, 1,
    // 2 and 255; then the same file cut after its first (bottom) row.
    const QByteArray bmp = QByteArray::fromHex("424d46000000000000003e000000" // file header, pixels at 62
                                               "28000000040000000200000001000800000000000800000013"
                                               "0b0000130b00000200000000000000" // 4 x 2, 8 bits, 2 colours
                                               "ff000000" "00ff0000"            // blue, green
                                               "00010203" "020100ff");          // bottom row, top row
    const QImage whole = ImageFile::read(writeBytes(QStringLiteral("short-palette.bmp"), bmp)).image;
    const QImage cut = ImageFile::read(writeBytes(QStringLiteral("cut-palette.bmp"), bmp.left(bmp.size() - 4))).image;
    const QRgb blue = qRgb(0, 0, 255), green = qRgb(0, 255, 0), black = qRgb(0, 0, 0);
    // Rows are stored bottom first. Indexes beyond the palette are black; missing rows are index 0.
    const QList<QRgb> wholeRows = {black, green, blue, black, blue, green, black, black};
    const QList<QRgb> cutRows = {blue, blue, blue, blue, blue, green, black, black};
    for (int i = 0; i < 8; ++i) {
        // Painted as the view paints it, and as colours the palette holds.
        QCOMPARE(whole.convertToFormat(QImage::Format_RGB32).pixel(i % 4, i / 4), wholeRows[i]);
        QCOMPARE(cut.convertToFormat(QImage::Format_RGB32).pixel(i % 4, i / 4), cutRows[i]);
        QVERIFY(whole.pixelIndex(i % 4, i / 4) < whole.colorCount());
    }
}

void ImageFileTest::pdfRowsArriveInOrderWhateverTheBands_data()
{
    QTest::addColumn<int>("bandRows"); // 0: read as the window reads, in bands of its choosing
    QTest::addColumn<bool>("red");
    QTest::addColumn<int>("helperMegabytes"); // 0: the usual
    QTest::addColumn<QString>("reason");      // why nothing was drawn
    QTest::newRow("one row a band") << 1 << false << 0 << QString();
    QTest::newRow("seven rows a band, the last short") << 7 << true << 0 << QString();
    QTest::newRow("opened grey") << 0 << false << 0 << QString();
    QTest::newRow("opened in colour") << 0 << true << 0 << QString();
    QTest::newRow("helper without memory")
        << 0 << false << 16 << "The PDF page cannot be drawn at 72 dpi within 16 MB of memory: it is too complex, or damaged.";
}

void ImageFileTest::pdfRowsArriveInOrderWhateverTheBands()
{
    QFETCH(int, bandRows);
    QFETCH(bool, red);
    QFETCH(int, helperMegabytes);
    QFETCH(QString, reason);
    const QString path = writeBytes(QStringLiteral("stripes.pdf"), pagesPdf({"0 0 40 300"}, stripes(red)));
    QImage image;
    if (bandRows > 0 || helperMegabytes > 0) {
        const PdfRender::Job job{path, 1, 72, QSize(40, 300), helperMegabytes * 1024LL * 1024, bandRows};
        const PdfRender::Outcome drawn = PdfRender::render(job, nullptr);
        QCOMPARE(drawn.reason, reason);
        image = drawn.image;
    } else {
        ImageRequest request;
        request.pdfPage = 1;
        request.dotsPerInch = 72;
        const ImageRead read = ImageFile::read(path, request);
        QVERIFY2(read.ok(), qPrintable(read.reason));
        image = read.image;
    }
    // A grey page comes from the helper at a byte a pixel and stays so.
    if (reason.isEmpty()) {
        QCOMPARE(image.size(), QSize(40, 300));
        QCOMPARE(image.format(), red ? QImage::Format_RGB32 : QImage::Format_Grayscale8);
    }
    for (int y = 0; y < 300 && reason.isEmpty(); ++y)
        for (int x = 0; x < 40; ++x)
            if (image.pixel(x, y) != stripe(y, red))
                QFAIL(qPrintable(QStringLiteral("(%1, %2) is %3").arg(x).arg(y).arg(image.pixel(x, y), 8, 16)));
}

void ImageFileTest::complexPdfPageOpensUnderAMemoryCapAndCancels()
{
    // Drawn whole, this page needs some 500 MB at 6 dpi (7 MB a row, whatever the resolution):
    // more than this process and its helper may have.
    const QString path = writeBytes(QStringLiteral("segments.pdf"), pagesPdf({"0 0 595 842"}, segments(300000)));
    const MemoryLimit cap(448LL * 1024 * 1024);
    ImageRequest request;
    request.pdfPage = 1;
    request.dotsPerInch = 6;
    const ImageRead read = ImageFile::read(path, request);
    QVERIFY2(read.ok(), qPrintable(read.reason));
    QCOMPARE(read.image.format(), QImage::Format_Grayscale8);
    QCOMPARE(read.image.size(), QSize(50, 71));
    // White paper around the path (points 100 to 495 across, 100 to 742 up: pixels 8.3 to 41.3
    // across and 8.3 to 61.8 down), the fill's grey in the middle.
    for (int y = 0; y < 71; ++y)
        for (int x = 0; x < 50; ++x)
            if (x < 8 || x > 41 || y < 8 || y > 61)
                QCOMPARE(qGray(read.image.pixel(x, y)), 255);
    QCOMPARE(qGray(read.image.pixel(25, 35)), 51);

    // At 72 dpi it would take a minute: Cancel ends it, and its helper with it.
    ImageLoader loader;
    QSignalSpy finished(&loader, &ImageLoader::finished);
    request.dotsPerInch = 72;
    loader.start({{path, request}});
    QTRY_COMPARE(childProcesses(), 1);
    loader.cancel();
    QVERIFY(finished.wait());
    QCOMPARE(loader.result(0).problem, ImageRead::Problem::Cancelled);
    QCOMPARE(childProcesses(), 0);
}

void ImageFileTest::pdfImageTheHelperCannotScaleIsRefusedNotLeftOut()
{
    // An 8 x 8 grey image over a page of 10,000 points: Poppler scales it to the page (300 MB at
    // 72 dpi) whichever rows it draws, and leaves it out when that memory is refused.
    const QByteArray image = "BI /W 8 /H 8 /CS /RGB /BPC 8 ID " + QByteArray(8 * 8 * 3, '\x80') + " EI";
    const QString path = writeBytes(QStringLiteral("stretched.pdf"),
                                    pagesPdf({"0 0 10000 10000"}, "q 10000 0 0 10000 0 0 cm " + image + " Q"));
    PdfRender::Job job{path, 1, 72, QSize(10000, 2), 256LL * 1024 * 1024, 0};
    QCOMPARE(PdfRender::render(job, nullptr).reason,
             QStringLiteral("The PDF page cannot be drawn at 72 dpi within 256 MB of memory: it is too complex, or damaged."));
    job.helperMemory = 0; // the usual
    const PdfRender::Outcome drawn = PdfRender::render(job, nullptr);
    QCOMPARE(drawn.reason, QString());
    // Drawn in colour (the image is RGB), kept as the grey it turned out to be.
    QCOMPARE(drawn.image.format(), QImage::Format_Grayscale8);
    QCOMPARE(drawn.image.pixel(5000, 1), qRgb(128, 128, 128));
}

void ImageFileTest::pdfHelperDiesWithItsWindow()
{
    // A page that takes the helper a minute, asked for by a shell standing in for the window.
    const QString path = writeBytes(QStringLiteral("segments.pdf"), pagesPdf({"0 0 595 842"}, segments(300000)));
    const auto gone = [](qint64 pid) {
        const QByteArray stat = TestFiles::bytes(QStringLiteral("/proc/%1/stat").arg(pid));
        return stat == "<missing>" || stat.mid(stat.lastIndexOf(')') + 2, 1) == "Z";
    };
    QProcess window;
    window.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    window.start(QStringLiteral("/bin/sh"),
                 {QStringLiteral("-c"), QStringLiteral("\"$0\" \"$1\" 1 72 595 842 0 0 1073741824 $$ >/dev/null & echo $!; wait"),
                  PdfRender::helperPath(), path});
    QVERIFY(window.waitForReadyRead(10000));
    const qint64 helper = window.readLine().trimmed().toLongLong();
    QVERIFY(helper > 0);
    QTest::qWait(500);
    QVERIFY(!gone(helper)); // still drawing
    // Killed outright, the window cannot end its helper: the helper ends itself.
    QVERIFY(::kill(pid_t(window.processId()), SIGKILL) == 0);
    QVERIFY(window.waitForFinished(10000));
    QTRY_VERIFY_WITH_TIMEOUT(gone(helper), 5000);

    // A helper whose window was gone before it started (it has another parent) does not draw.
    QProcess orphan;
    orphan.start(PdfRender::helperPath(), {path, QStringLiteral("1"), QStringLiteral("72"), QStringLiteral("595"),
                                           QStringLiteral("842"), QStringLiteral("0"), QStringLiteral("0"),
                                           QStringLiteral("1073741824"), QStringLiteral("1")});
    QVERIFY(orphan.waitForFinished(10000));
    QCOMPARE(orphan.exitCode(), int(PdfRender::OutputClosed));
    QCOMPARE(orphan.readAllStandardOutput(), QByteArray());
}

void ImageFileTest::pdfPageBeyondTheComputerIsRefused_data()
{
    QTest::addColumn<int>("page"); // an A0 sheet, then a page of 200 x 200 inches
    QTest::addColumn<int>("dpi");
    QTest::addColumn<ImageRead::Problem>("problem");
    QTest::addColumn<QString>("reason");
    using P = ImageRead::Problem;
    // Under the cap below, this computer holds 512 MB of pixels.
    QTest::newRow("A0 at 600 dpi") << 1 << 600 << P::TooLarge
                                   << "At 600 dpi the PDF page is 19867 x 28084 pixels and needs 2.1 GB of memory; "
                                      "this computer can hold 512 MB. Choose 294 dpi or less.";
    QTest::newRow("A0 at 294 dpi") << 1 << 294 << P::NeedsConsent << QString();
    QTest::newRow("200 inches at 72 dpi") << 2 << 72 << P::TooLarge
                                          << "At 72 dpi the PDF page is 14400 x 14400 pixels and needs 791 MB of "
                                             "memory; this computer can hold 512 MB. Choose 57 dpi or less.";
    QTest::newRow("200 inches at 57 dpi") << 2 << 57 << P::NeedsConsent << QString();
}

void ImageFileTest::pdfPageBeyondTheComputerIsRefused()
{
    QFETCH(int, page);
    QFETCH(int, dpi);
    QFETCH(ImageRead::Problem, problem);
    QFETCH(QString, reason);
    const QString path =
        writeBytes(QStringLiteral("large.pdf"), pagesPdf({"0 0 2384 3370", "0 0 14400 14400"}, "0 0 10 10 re f"));
    const MemoryLimit cap(1024LL * 1024 * 1024);
    ImageRequest request;
    QCOMPARE(ImageFile::read(path, request).pdfHighestDotsPerInch, QList<int>({294, 57}));
    request.pdfPage = page;
    request.dotsPerInch = dpi;
    request.memoryAllowed = 0; // what fits is asked about, not drawn
    const ImageRead read = ImageFile::read(path, request);
    QCOMPARE(read.problem, problem);
    QCOMPARE(read.reason, reason);
    QVERIFY(read.image.isNull());
}

QTEST_MAIN(ImageFileTest)
#include "test_image_file.moc"
