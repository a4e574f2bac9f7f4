// The whole-file writer: a file written in pieces replaces the earlier one only once every byte is
// written and synced to the disk; a short write or a failed sync keeps the earlier file and says why.
#include "app/CommandError.h"
#include "output/WholeFile.h"
#include "support/FileSizeLimit.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <memory>

namespace {

int syncError = 0;

// A disk that takes the data into its cache and then cannot keep it.
int failingSync(int)
{
    errno = syncError;
    return -1;
}

} // namespace

class WholeFileTest : public QObject
{
    Q_OBJECT
private slots:
    void replacesTheFileOnlyWhenAllIsOnTheDisk_data();
    void replacesTheFileOnlyWhenAllIsOnTheDisk();
};

void WholeFileTest::replacesTheFileOnlyWhenAllIsOnTheDisk_data()
{
    QTest::addColumn<int>("syncFails");    // errno of a failing sync; 0: the system's sync
    QTest::addColumn<int>("sizeLimit");    // bytes a file may reach; 0: no limit
    QTest::addColumn<QString>("reason");   // why the write fails; empty: it succeeds
    QTest::newRow("written and synced") << 0 << 0 << QString();
    QTest::newRow("sync: input/output error") << EIO << 0 << "Input/output error";
    QTest::newRow("sync: disk full") << ENOSPC << 0 << "No space left on device";
    QTest::newRow("file-size limit") << 0 << 2500 << "File too large";
}

void WholeFileTest::replacesTheFileOnlyWhenAllIsOnTheDisk()
{
    QFETCH(int, syncFails);
    QFETCH(int, sizeLimit);
    QFETCH(QString, reason);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("cave.svx"));
    const QByteArray earlier = "an earlier file";
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(earlier);
    }
    const QByteArray piece(1000, 'x');
    syncError = syncFails;
    try {
        std::unique_ptr<FileSizeLimit> limit;
        if (sizeLimit > 0)
            limit = std::make_unique<FileSizeLimit>(rlim_t(sizeLimit));
        WholeFile::Writer file(path, syncFails ? &failingSync : nullptr);
        for (int i = 0; i < 3; ++i)
            file.write(piece);
        file.commit();
        QVERIFY2(reason.isEmpty(), "the write reported success");
        QCOMPARE(TestFiles::bytes(path), piece + piece + piece);
    } catch (const CommandError &error) {
        QCOMPARE(error.message(),
                 QStringLiteral("Cannot write file %1: %2. Any earlier file of that name is unchanged.").arg(path, reason));
        QCOMPARE(TestFiles::bytes(path), earlier);
    }
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("cave.svx")});
}

QTEST_GUILESS_MAIN(WholeFileTest)
#include "test_whole_file.moc"
