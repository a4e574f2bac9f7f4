// Whole-file writes: a failed sync or write keeps the earlier file and says why; a picture is
// byte for byte what Qt's BMP writer made of the whole picture, though drawn a band of rows at a
// time, and is saved without memory for a second picture.
#include "survey/CommandError.h"
#include "output/BitmapFile.h"
#include "output/SurveyOutput.h"
#include "output/WholeFile.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"
#include "views/ViewPainter.h"
#include "views/ViewSnapshot.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <sys/resource.h>
#include <unistd.h>

namespace {

int syncError = 0;
int failingSync(int) // a disk that cannot keep what it took into its cache
{
    errno = syncError;
    return -1;
}

QByteArray earlierFile(const QString &path)
{
    const QByteArray earlier = "an earlier file";
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(earlier) == earlier.size() ? earlier : QByteArray("<not made>");
}

// The overlay's marks, labels and lines, legs and the guide circle running across the bands' edges.
ViewSnapshot scene(int width, int height, QImage::Format format)
{
    ViewSnapshot view{QImage(width, height, QImage::Format_RGB32), width, height};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            view.image.setPixel(x, y, qRgb(x * 7 + y, x * 13 ^ y * 3, x + y * 5));
    view.image.convertTo(format);
    view.gridShown = true;
    view.gridPixels = 9.5;
    view.gridOrigin = QPoint(3, 2);
    for (int i = 0; i < 10; ++i) {
        view.stations.append(QPointF(i * 7 % 10 * width / 10.0 + 0.7, i * 3 % 10 * height / 10.0 + 0.3));
        view.labels.append(i % 3 ? QStringLiteral("П%1").arg(i) : QString());
        view.legBefore.append(i > 0 && i != 6);
    }
    view.guide = ViewSnapshot::Guide::Circle;
    view.guideCircleBox = QRect(width / 4, height / 5, width / 2 + 1, height / 2);
    view.pendingShown = view.pendingLegShown = true;
    view.pending = QPointF(0.8 * width, 0.7 * height);
    view.pendingLegFrom = view.stations[9];
    return view;
}

// The child process of savesAPictureWithoutMemoryForASecondOne: a 5000 x 4000 view (a 60 MB
// picture over an 80 MB scan) saved with only `spare` megabytes of address space to spare.
int savePicture(const QString &path, qint64 spare)
{
    ViewSnapshot view{QImage(5000, 4000, QImage::Format_RGB32), 5000, 4000};
    view.image.fill(qRgb(200, 180, 150));
    for (int i = 0; i < 40; ++i) {
        view.stations.append(QPointF(100 + i * 120, 3900 - i * 97));
        view.legBefore.append(i > 0);
    }
    // Large fills are shared out to Qt's painting threads: started now, their stacks count already.
    QImage warm(4096, 1024, QImage::Format_RGB888);
    QPainter(&warm).fillRect(warm.rect(), Qt::white);
    QFile statm(QStringLiteral("/proc/self/statm"));
    statm.open(QIODevice::ReadOnly);
    const rlim_t bytes = rlim_t(statm.readAll().split(' ').value(0).toLongLong() * sysconf(_SC_PAGESIZE) + (spare << 20));
    const rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_AS, &limit);
    try {
        SurveyOutput::writePicture(view, path);
    } catch (const CommandError &error) {
        std::printf("%s\n", qPrintable(error.message())); // stderr has Qt's warnings
        return 1;
    }
    return 0;
}

} // namespace

class WholeFileTest : public QObject
{
    Q_OBJECT
private slots:
    void failedWritesKeepTheEarlierFile_data();
    void failedWritesKeepTheEarlierFile();
    void picturesAreWhatQtsBitmapWriterMade_data();
    void picturesAreWhatQtsBitmapWriterMade();
    void savesAPictureWithoutMemoryForASecondOne_data();
    void savesAPictureWithoutMemoryForASecondOne();
};

void WholeFileTest::failedWritesKeepTheEarlierFile_data()
{
    QTest::addColumn<int>("syncFails");   // errno of a failing sync; 0: the system's sync
    QTest::addColumn<int>("sizeLimit");   // bytes a file may reach; 0: no limit
    QTest::addColumn<int>("pictureSize"); // a picture of this width and height; 0: text
    QTest::addColumn<QString>("reason");
    const QString picture = QStringLiteral("Cannot make the picture for %1: ");
    QTest::newRow("sync: input/output error") << EIO << 0 << 0 << "Cannot write file %1: Input/output error.";
    QTest::newRow("picture beyond a file-size limit") << 0 << 1000 << 50 << "Cannot write file %1: File too large.";
    QTest::newRow("picture larger than a BMP file holds")
        << 0 << 0 << 40000 << picture + "40000 x 40000 pixels are more than a BMP file can hold.";
}

void WholeFileTest::failedWritesKeepTheEarlierFile()
{
    QFETCH(int, syncFails);
    QFETCH(int, sizeLimit);
    QFETCH(int, pictureSize);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("cave"));
    const QByteArray earlier = earlierFile(path);
    syncError = syncFails;
    try {
        std::optional<FileSizeLimit> limit;
        if (sizeLimit > 0)
            limit.emplace(rlim_t(sizeLimit));
        if (pictureSize != 0) {
            SurveyOutput::writePicture(ViewSnapshot{QImage(), pictureSize, pictureSize}, path);
        } else {
            WholeFile::Writer file(path, &failingSync);
            file.write(QByteArray(100, 'x'));
            file.commit();
        }
        QFAIL("the write reported success");
    } catch (const CommandError &error) {
        QCOMPARE(error.message(), reason.arg(path) + " Any earlier file of that name is unchanged.");
    }
    QCOMPARE(TestFiles::bytes(path), earlier);
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{"cave"});
}

void WholeFileTest::picturesAreWhatQtsBitmapWriterMade_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("scan");
    QTest::addColumn<int>("bandRows");
    // Rows are padded to four bytes: widths 1, 2, 3 and 5 take 1, 2, 3 and 1 padding bytes.
    QTest::newRow("1x1") << 1 << 1 << int(QImage::Format_RGB32) << 100;
    QTest::newRow("2x3") << 2 << 3 << int(QImage::Format_Grayscale8) << 100;
    QTest::newRow("3x2") << 3 << 2 << int(QImage::Format_Indexed8) << 100;
    QTest::newRow("5x4") << 5 << 4 << int(QImage::Format_RGB32) << 100;
    QTest::newRow("121x37 in one band") << 121 << 37 << int(QImage::Format_Indexed8) << 100;
    QTest::newRow("97x211 in bands of 5 rows") << 97 << 211 << int(QImage::Format_RGB32) << 5;
    QTest::newRow("64x300 in bands of 1 row") << 64 << 300 << int(QImage::Format_Grayscale8) << 1;
}

void WholeFileTest::picturesAreWhatQtsBitmapWriterMade()
{
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, scan);
    QFETCH(int, bandRows);
    const ViewSnapshot view = scene(width, height, QImage::Format(scan));
    QByteArray expected;
    QBuffer buffer(&expected);
    buffer.open(QIODevice::WriteOnly);
    QVERIFY(QImageWriter(&buffer, "bmp").write(ViewPainter::sourcePicture(view)));
    QCOMPARE(expected.size(), 54 + (width * 3 + 3) / 4 * 4 * height); // 24 bits, every row
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("left.bmp"));
    BitmapFile::writeView(view, path, qint64(width) * 3 * bandRows);
    QCOMPARE(TestFiles::bytes(path), expected);
}

void WholeFileTest::savesAPictureWithoutMemoryForASecondOne_data()
{
    QTest::addColumn<int>("spareMegabytes");
    QTest::addColumn<QString>("failure");
    QTest::newRow("room for bands, not for a picture") << 44 << QString();
    QTest::newRow("no room for a band")
        << 2 << "Cannot make the picture for %1: out of memory. Any earlier file of that name is unchanged.\n";
}

void WholeFileTest::savesAPictureWithoutMemoryForASecondOne()
{
    QFETCH(int, spareMegabytes);
    QFETCH(QString, failure);
    const auto save = [](const QString &path, int spare) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {"--save-picture", path, QString::number(spare)});
        const bool ended = child.waitForFinished(60000) && child.exitStatus() == QProcess::NormalExit;
        return QString::fromLocal8Bit(child.readAllStandardOutput()) + (ended ? QString::number(child.exitCode()) : "?");
    };
    QTemporaryDir folder;
    const QString unlimited = folder.filePath(QStringLiteral("unlimited.bmp"));
    QCOMPARE(save(unlimited, 1 << 20), QStringLiteral("0")); // a terabyte to spare: no limit to speak of
    const QString path = folder.filePath(QStringLiteral("left.bmp"));
    const QByteArray earlier = earlierFile(path);
    QCOMPARE(save(path, spareMegabytes), failure.isEmpty() ? QStringLiteral("0") : failure.arg(path) + '1');
    QVERIFY(TestFiles::bytes(path) == (failure.isEmpty() ? TestFiles::bytes(unlimited) : earlier)); // 60 MB
}

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--save-picture") == 0)
        return savePicture(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toLongLong());
    WholeFileTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_whole_file.moc"
