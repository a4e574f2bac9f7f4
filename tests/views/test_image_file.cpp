// Reading image files into a working image: the formats scans come in and how they paint,
// damaged files, and scans too large for the readers' default limit or for the memory.
#include "support/TestFiles.h"
#include "views/ImageFile.h"
#include "views/ViewPainter.h"
#include "views/ViewSnapshot.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>

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
    void unreadableFilesGiveNoImage_data();
    void unreadableFilesGiveNoImage();
    void scansBeyondTheReadersDefaultLimitOpen();
    void impossibleSizeIsReportedAsTooLarge();

private:
    QString write(const QString &name, const QImage &image, const char *format, int quality = -1);
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
    QTest::newRow("bmp 24-bit") << "a.bmp" << QByteArray("bmp") << int(QImage::Format_RGB888) << -1 << 0 << rgb;
    QTest::newRow("bmp palette") << "p.bmp" << QByteArray("bmp") << indexed << -1 << 0 << indexed;
    QTest::newRow("png colour") << "a.png" << QByteArray("png") << rgb << -1 << 0 << rgb;
    QTest::newRow("png with alpha") << "alpha.png" << QByteArray("png") << int(QImage::Format_ARGB32) << -1 << 0 << rgb;
    QTest::newRow("png palette") << "p.png" << QByteArray("png") << indexed << -1 << 0 << indexed;
    QTest::newRow("png grey") << "g.png" << QByteArray("png") << grey << -1 << 0 << grey;
    QTest::newRow("png 16-bit grey") << "g16.png" << QByteArray("png") << int(QImage::Format_Grayscale16) << -1 << 1 << grey;
    QTest::newRow("png 16-bit colour") << "c16.png" << QByteArray("png") << int(QImage::Format_RGBA64) << -1 << 1 << rgb;
    QTest::newRow("jpeg colour") << "a.jpg" << QByteArray("jpeg") << rgb << 95 << 12 << rgb;
    QTest::newRow("jpeg grey") << "g.jpg" << QByteArray("jpeg") << grey << 95 << 12 << grey;
    QTest::newRow("tiff colour") << "a.tif" << QByteArray("tiff") << rgb << -1 << 0 << rgb;
    QTest::newRow("tiff grey") << "g.tif" << QByteArray("tiff") << grey << -1 << 0 << grey;
    QTest::newRow("gif") << "quarters.gif" << QByteArray("gif") << indexed << -1 << 0 << rgb; // frames come composed
    QTest::newRow("webp lossless") << "a.webp" << QByteArray("webp") << rgb << 100 << 0 << rgb;
    QTest::newRow("webp lossy") << "l.webp" << QByteArray("webp") << rgb << 80 << 16 << rgb;
    QTest::newRow("pgm") << "a.pgm" << QByteArray("pgm") << grey << -1 << 0 << grey;
    QTest::newRow("ppm") << "a.ppm" << QByteArray("ppm") << rgb << -1 << 0 << rgb;
    QTest::newRow("pbm") << "a.pbm" << QByteArray("pbm") << int(QImage::Format_Mono) << -1 << 0 << indexed;
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
    // Qt writes no GIF; that one is a fixture.
    const QString path = format == "gif" ? TestFiles::dataPath(name) : write(name, source, format.constData(), quality);

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

void ImageFileTest::unreadableFilesGiveNoImage_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    const QByteArray png = [] {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        quarters(QImage::Format_RGB32).save(&buffer, "png");
        return bytes;
    }();
    QTest::newRow("missing file") << "missing.png" << QByteArray();
    QTest::newRow("text") << "notes.png" << QByteArray("Survey notes, not a picture.\n");
    QTest::newRow("empty") << "empty.bmp" << QByteArray("");
    // The header is fine; the pixels end before they begin.
    QTest::newRow("png cut short") << "cut.png" << png.left(png.indexOf("IDAT") + 12);
}

void ImageFileTest::unreadableFilesGiveNoImage()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    const QString path = m_dir.filePath(name);
    if (name != QLatin1String("missing.png")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const ImageRead read = ImageFile::read(path);
    QCOMPARE(read.problem, ImageRead::Problem::NotReadable);
    QVERIFY(read.image.isNull());
}

void ImageFileTest::scansBeyondTheReadersDefaultLimitOpen()
{
    // 144 megapixels of grey: 144 MB of pixels, over the 128 MB Qt's readers accept by default.
    // Uniform, so the file stays small.
    QImage big(12000, 12000, QImage::Format_Grayscale8);
    QVERIFY(!big.isNull());
    big.fill(200);
    for (int x = 0; x < 12000; x += 1000)
        big.setPixel(x, 11999, 0);
    const QString path = write(QStringLiteral("big.png"), big, "png");
    big = QImage();

    QImageReader::setAllocationLimit(128);
    QVERIFY(QImageReader(path).read().isNull()); // what a plain reader does

    const ImageRead read = ImageFile::read(path);
    QVERIFY(read.ok());
    QCOMPARE(read.image.size(), QSize(12000, 12000));
    QCOMPARE(read.image.format(), QImage::Format_Grayscale8); // one byte per pixel, not four
    QCOMPARE(qGray(read.image.pixel(5000, 11999)), 0);
    QCOMPARE(qGray(read.image.pixel(5001, 11999)), 200);
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

QTEST_MAIN(ImageFileTest)
#include "test_image_file.moc"
