// Reading image files into a working bitmap: the formats scans come in, the statuses of the
// three calls, damaged files and scans too large for the readers' default limit.
#include "views/ImageFile.h"
#include "support/TestFiles.h"

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
    if (format == QImage::Format_Grayscale8 || format == QImage::Format_Grayscale16)
        return image.convertToFormat(format);
    return image.convertToFormat(format);
}

QImage blackAndWhite()
{
    QImage image(64, 48, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            if (x >= 32)
                image.setPixel(x, y, 1);
    return image;
}

} // namespace

class ImageFileTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();

    void formatsOpenWithTheirColours_data();
    void formatsOpenWithTheirColours();
    void callsReportFailuresBySign_data();
    void callsReportFailuresBySign();
    void readWithoutOpenFails();
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

void ImageFileTest::formatsOpenWithTheirColours_data()
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

void ImageFileTest::formatsOpenWithTheirColours()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, format);
    QFETCH(int, sourceFormat);
    QFETCH(int, quality);
    QFETCH(int, tolerance);
    QFETCH(int, workingFormat);
    const QImage source = sourceFormat == QImage::Format_Mono ? blackAndWhite() : quarters(QImage::Format(sourceFormat));
    // Qt writes no GIF; that one is a fixture.
    const QString path = format == "gif" ? TestFiles::dataPath(name)
                                         : write(name, source, format.constData(), quality);

    QImage bitmap;
    QCOMPARE(LoadImageFile(path, bitmap), int(ImageFileOk));
    QCOMPARE(bitmap.size(), QSize(64, 48));
    QCOMPARE(int(bitmap.format()), workingFormat);
    // Each quarter's middle has the colour written, and every pixel is opaque.
    const QImage expected = source.convertToFormat(QImage::Format_RGB32);
    for (const QPoint p : {QPoint(16, 12), QPoint(48, 12), QPoint(16, 36), QPoint(48, 36)}) {
        const QRgb got = bitmap.pixel(p);
        const QRgb want = expected.pixel(p);
        QCOMPARE(qAlpha(got), 255);
        QVERIFY2(qAbs(qRed(got) - qRed(want)) <= tolerance && qAbs(qGreen(got) - qGreen(want)) <= tolerance
                     && qAbs(qBlue(got) - qBlue(want)) <= tolerance,
                 qPrintable(QStringLiteral("at (%1, %2): %3, expected %4").arg(p.x()).arg(p.y())
                                .arg(got, 8, 16).arg(want, 8, 16)));
    }
}

void ImageFileTest::callsReportFailuresBySign_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("opens"); // the header is recognised; then only the read fails
    QTest::newRow("missing file") << "missing.png" << QByteArray() << false;
    QTest::newRow("text") << "notes.png" << QByteArray("Survey notes, not a picture.\n") << false;
    QTest::newRow("empty") << "empty.bmp" << QByteArray("") << false;
}

void ImageFileTest::callsReportFailuresBySign()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, opens);
    const QString path = m_dir.filePath(name);
    if (name != QLatin1String("missing.png")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QImage bitmap(5, 5, QImage::Format_RGB32);
    bitmap.fill(Qt::green);
    ImageFileHandles handles;
    const int opened = OpenImageFile(path, handles);
    QCOMPARE(opened >= 0, opens);
    CloseImageFile(handles);
    QVERIFY(!handles.DecoderHandle);
    QCOMPARE(handles.ImageHandle, -1);
    QCOMPARE(LoadImageFile(path, bitmap), int(ImageFileNotReadable));
    QCOMPARE(bitmap.size(), QSize(5, 5));
}

void ImageFileTest::readWithoutOpenFails()
{
    ImageFileHandles handles;
    QImage bitmap(3, 3, QImage::Format_RGB32);
    bitmap.fill(Qt::red);
    QCOMPARE(ReadImageIntoBitmap(handles, bitmap), int(ImageFileNotReadable));
    QCOMPARE(bitmap.pixel(1, 1), qRgb(255, 0, 0));

    // A PNG cut short: its header opens, its pixels cannot be read; the bitmap stays as it was.
    const QString whole = write(QStringLiteral("whole.png"), quarters(QImage::Format_RGB32), "png");
    QFile file(whole);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString cut = m_dir.filePath(QStringLiteral("cut.png"));
    QFile out(cut);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(bytes.left(bytes.indexOf("IDAT") + 12));
    out.close();
    QVERIFY(OpenImageFile(cut, handles) >= 0);
    QVERIFY(ReadImageIntoBitmap(handles, bitmap) < 0);
    CloseImageFile(handles);
    QCOMPARE(bitmap.size(), QSize(3, 3));
    QCOMPARE(bitmap.pixel(1, 1), qRgb(255, 0, 0));
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

    QImage bitmap;
    QCOMPARE(LoadImageFile(path, bitmap), int(ImageFileOk));
    QCOMPARE(bitmap.size(), QSize(12000, 12000));
    QCOMPARE(bitmap.format(), QImage::Format_Grayscale8); // one byte per pixel, not four
    QCOMPARE(qGray(bitmap.pixel(5000, 11999)), 0);
    QCOMPARE(qGray(bitmap.pixel(5001, 11999)), 200);
}

void ImageFileTest::impossibleSizeIsReportedAsTooLarge()
{
    // A header asking for 900000 x 900000 colour pixels (3 TB): no memory can take it. Where the
    // system promises any amount of memory, the question cannot be asked.
    if (TestFiles::systemGrantsEveryAllocation())
        QSKIP("this system grants every allocation");
    const QString path = TestFiles::dataPath(QStringLiteral("huge-header.png"));
    QImage bitmap(2, 2, QImage::Format_RGB32);
    ImageFileHandles handles;
    QVERIFY(OpenImageFile(path, handles) >= 0);
    QCOMPARE(handles.DecoderHandle->size(), QSize(900000, 900000));
    QCOMPARE(ReadImageIntoBitmap(handles, bitmap), int(ImageFileTooLarge));
    CloseImageFile(handles);
    QCOMPARE(bitmap.size(), QSize(2, 2));
}

QTEST_MAIN(ImageFileTest)
#include "test_image_file.moc"
