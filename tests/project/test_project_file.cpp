// The project file byte by byte: sizes and offsets, little-endian fields, the refusals of a
// damaged file, a bit-for-bit round trip, and saving that never spoils an earlier file.
#include "survey/CommandError.h"
#include "support/TestFiles.h"
#include "survey/NumberText.h"
#include "document/SurveyDocument.h"
#include "project/ProjectFile.h"
#include "survey/AnsiText.h"
#include "project/StationRecord.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

Q_DECLARE_METATYPE(ProjectHeader)

namespace {

Station station(int i)
{
    // Distinct values in every field, bytes after the text terminators included.
    Station s{};
    s.planX = 100.25f + float(i);
    s.planY = -3.5f * float(i);
    s.profileX = 1e-40f; // subnormal
    s.profileY = -0.0f;
    s.planXMetres = 5.0f + float(i) / 3.0f;
    s.planYMetres = 3.4028235e38f;
    s.profileYMetres = -1.17549435e-38f;
    QByteArray label, comment;
    for (int b = 0; b < 3; ++b)
        label += char(0xC0 + i + b);
    for (int b = 0; b < StationCommentChars; ++b)
        comment += char(1 + (b * 7 + i) % 255); // every byte but zero, so the comment fills its field
    s.label = AnsiText::decode(label);
    s.comment = AnsiText::decode(comment);
    s.branchEnd = i % 2 != 0;
    return s;
}

ProjectHeader unusualHeader(int count)
{
    ProjectHeader h;
    h.stationCount = count;
    h.planImagePath = QStringLiteral("C:\\Пещеры\\план.bmp");
    h.profileImagePath = QString();
    h.planZoom = 0.03125;
    h.profileZoom = 8.0;
    h.profileKind = 2;
    h.planPaneFraction = 300.0f / 861.0f;
    h.profilePaneFraction = 561.0f / 861.0f;
    h.planGridPixels = -0.0;
    h.profileGridPixels = 1e-300;
    h.planMetresPerPixel = 0.1 + 0.2;
    h.profileMetresPerPixel = 1.0 / 3.0;
    h.planGridShiftUp = -500;
    h.planGridShiftRight = -5;
    h.profileGridShiftUp = 500;
    h.profileGridShiftRight = 1;
    h.planGridMetresEntry = 10.0;
    h.planGridPixelsEntry = 123.456;
    h.profileGridMetresEntry = -7.0;
    h.profileGridPixelsEntry = 1e20;
    h.planOrientationEntry = 359.999;
    h.planGridShown = 0;
    h.profileGridShown = 1;
    h.showLabels = 0;
    h.showLines = 1;
    h.dataFormatIndex = 2;
    h.dataStyleIndex = 1;
    return h;
}

ProjectContents contents(const ProjectHeader &header, std::vector<Station> stations = {})
{
    ProjectContents project;
    project.header = header;
    project.stations.assign(std::move(stations));
    return project;
}

QByteArray validFile(int count)
{
    std::vector<Station> stations;
    for (int i = 0; i < count; ++i)
        stations.push_back(station(i));
    return ProjectFile::serialize(unusualHeader(count), stations.data(), QStringLiteral("x.sprj"));
}

void putInt32(QByteArray &bytes, int at, qint32 value) { qToLittleEndian<qint32>(value, bytes.data() + at); }
void putDouble(QByteArray &bytes, int at, double value)
{
    quint64 bits;
    std::memcpy(&bits, &value, 8);
    qToLittleEndian<quint64>(bits, bytes.data() + at);
}
void putFloat(QByteArray &bytes, int at, float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, 4);
    qToLittleEndian<quint32>(bits, bytes.data() + at);
}

bool sameBits(const Station &a, const Station &b)
{
    const float fa[] = {a.planX, a.planY, a.profileX, a.profileY, a.planXMetres, a.planYMetres, a.profileYMetres};
    const float fb[] = {b.planX, b.planY, b.profileX, b.profileY, b.planXMetres, b.planYMetres, b.profileYMetres};
    return std::memcmp(fa, fb, sizeof fa) == 0 && a.label == b.label && a.comment == b.comment
        && a.branchEnd == b.branchEnd;
}

template <typename T> bool sameBits(T a, T b) { return std::memcmp(&a, &b, sizeof a) == 0; }

QString refusal(const QByteArray &bytes)
{
    try {
        ProjectFile::parse(bytes, QStringLiteral("/caves/bad.sprj"));
    } catch (const CommandError &error) {
        return error.message();
    }
    return QString();
}

} // namespace

class ProjectFileTest : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void anyFolderNameIsSavedAndRead_data();
    void anyFolderNameIsSavedAndRead();
    void placesFieldsAtTheirOffsets();
    void readsTheFixtureWrittenFromTheLayout();
    void roundTripsEveryFieldBitForBit();
    void readsUpDownPositionsFromTheirLow16Bits_data();
    void readsUpDownPositionsFromTheirLow16Bits();
    void readsAtMost1000Stations();
    void ignoresReservedAndTrailingBytes();
    void readsFullWidthTextsBounded();
    void refusesDamagedFiles_data();
    void refusesDamagedFiles();
    void acceptsTheBoundsOfZoomFractionAndScale();
    void refusesToSaveWhatCannotBeReadBack_data();
    void refusesToSaveWhatCannotBeReadBack();
    void convertsEntryTextsBeforeStoringAny();
    void reopenedEntriesReadAsTheWindowReadsThem();
    void aDocumentSavesWhatItOpened();
    void optionalBlockRoundTripsAndReportsDamage_data();
    void optionalBlockRoundTripsAndReportsDamage();
    void projectionAzimuthRoundTrips_data();
    void projectionAzimuthRoundTrips();
    void passageDimensionsRoundTrip_data();
    void passageDimensionsRoundTrip();
    void writesThroughAFileThatReplacesTheOldOneWhole();
    void failedWriteLeavesTheOldFile_data();
    void failedWriteLeavesTheOldFile();
};

void ProjectFileTest::placesFieldsAtTheirOffsets()
{
    const QByteArray empty = ProjectFile::serialize(ProjectHeader(), nullptr, QStringLiteral("e.sprj"));
    QCOMPARE(empty.size(), 664);
    QCOMPARE(empty.mid(4, 4), QByteArray::fromHex("e8030000")); // capacity 1000
    QCOMPARE(empty.mid(8, 520), QByteArray(520, '\0'));          // two empty paths
    QCOMPARE(ProjectFile::parse(empty, QStringLiteral("e.sprj")).stations.count(), 0);

    const QByteArray bytes = validFile(3);
    QCOMPARE(bytes.size(), 664 + 308 * 3);
    QCOMPARE(bytes.mid(0, 4), QByteArray::fromHex("03000000"));
    QCOMPARE(bytes.mid(544, 4), QByteArray::fromHex("02000000")); // ProfileExtended, then reserved
    QCOMPARE(bytes.mid(596, 4), QByteArray::fromHex("fbffffff")); // GridL2 at -5
    QCOMPARE(bytes.mid(648, 4), QByteArray::fromHex("00010001")); // the four check boxes
    QCOMPARE(bytes.mid(652, 12), QByteArray::fromHex("020000000100000000000000"));
    for (int i = 0; i < 3; ++i) {
        const char *record = bytes.constData() + 664 + 308 * i;
        float planX;
        const quint32 bits = qFromLittleEndian<quint32>(record);
        std::memcpy(&planX, &bits, 4);
        QCOMPARE(planX, 100.25f + float(i));
        QCOMPARE(quint8(record[28]), quint8(0xC0 + i));
        QCOMPARE(quint8(record[48 + 1]), quint8(1 + (7 + i) % 255));
        QCOMPARE(int(record[304]), i % 2);
        QCOMPARE(QByteArray(record + 305, 3), QByteArray(3, '\0'));
    }
}

void ProjectFileTest::readsTheFixtureWrittenFromTheLayout()
{
    const QString path = TestFiles::dataPath(QStringLiteral("five-stations.sprj"));
    const ProjectContents project = ProjectFile::read(path);
    const ProjectHeader &h = project.header;
    QCOMPARE(h.stationCount, 5);
    QCOMPARE(h.planImagePath, QStringLiteral("plan.bmp"));
    QCOMPARE(h.profileImagePath, QStringLiteral("profile.bmp"));
    QCOMPARE(h.planZoom, 1.0);
    QCOMPARE(h.profileZoom, 0.5);
    QCOMPARE(h.planMetresPerPixel, 0.05);
    QCOMPARE(h.profileMetresPerPixel, 0.04);
    QCOMPARE(h.planGridShiftRight, -5);
    QCOMPARE(h.profileGridShiftRight, 12);
    QCOMPARE(h.profileGridPixelsEntry, 250.0);
    QCOMPARE(h.showLines, quint8(0));
    QCOMPARE(project.stations.count(), 5);
    QCOMPARE(project.stations.at(4).label, QStringLiteral("D"));
    QCOMPARE(project.stations.at(4).comment, QStringLiteral("sump"));
    QVERIFY(project.stations.at(2).branchEnd);
    QCOMPARE(project.stations.at(4).profileYMetres, -3.0f);
    // The writer gives back the very bytes the layout describes.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(ProjectFile::serialize(h, project.stations.data(), path), file.readAll());
}

void ProjectFileTest::roundTripsEveryFieldBitForBit()
{
    const QByteArray bytes = validFile(4);
    const ProjectContents back = ProjectFile::parse(bytes, QStringLiteral("x.sprj"));
    const ProjectHeader h = unusualHeader(4);
    const ProjectHeader &r = back.header;
    QCOMPARE(r.stationCount, 4);
    QCOMPARE(r.stationCapacity, 1000);
    QCOMPARE(r.planImagePath, h.planImagePath);
    QCOMPARE(r.profileImagePath, h.profileImagePath);
    for (auto field : {&ProjectHeader::planZoom, &ProjectHeader::profileZoom, &ProjectHeader::planGridPixels,
                       &ProjectHeader::profileGridPixels, &ProjectHeader::planMetresPerPixel,
                       &ProjectHeader::profileMetresPerPixel, &ProjectHeader::planGridMetresEntry,
                       &ProjectHeader::planGridPixelsEntry, &ProjectHeader::profileGridMetresEntry,
                       &ProjectHeader::profileGridPixelsEntry, &ProjectHeader::planOrientationEntry})
        QVERIFY(sameBits(r.*field, h.*field));
    QVERIFY(sameBits(r.planPaneFraction, h.planPaneFraction));
    QVERIFY(sameBits(r.profilePaneFraction, h.profilePaneFraction));
    for (auto field : {&ProjectHeader::planGridShiftUp, &ProjectHeader::planGridShiftRight, &ProjectHeader::profileGridShiftUp,
                       &ProjectHeader::profileGridShiftRight, &ProjectHeader::dataFormatIndex, &ProjectHeader::dataStyleIndex})
        QCOMPARE(r.*field, h.*field);
    for (auto field : {&ProjectHeader::profileKind, &ProjectHeader::planGridShown, &ProjectHeader::profileGridShown,
                       &ProjectHeader::showLabels, &ProjectHeader::showLines})
        QCOMPARE(r.*field, h.*field);
    for (int i = 0; i < 4; ++i)
        QVERIFY2(sameBits(back.stations.at(i), station(i)), qPrintable(QString::number(i)));
    QCOMPARE(ProjectFile::serialize(r, back.stations.data(), QStringLiteral("x.sprj")), bytes);
}

void ProjectFileTest::readsUpDownPositionsFromTheirLow16Bits_data()
{
    QTest::addColumn<qint32>("stored");
    QTest::addColumn<qint32>("position");
    QTest::newRow("-5") << qint32(-5) << -5;
    QTest::newRow("high bits set") << qint32(0x0001FFFB) << -5;
    QTest::newRow("most negative") << qint32(0x00008000) << -32768;
    QTest::newRow("high bits only") << qint32(0x7FFF0000) << 0;
    QTest::newRow("500") << qint32(500) << 500;
}

void ProjectFileTest::readsUpDownPositionsFromTheirLow16Bits()
{
    QFETCH(qint32, stored);
    QFETCH(qint32, position);
    QByteArray bytes = validFile(0);
    putInt32(bytes, 604, stored);
    QCOMPARE(ProjectFile::parse(bytes, QStringLiteral("x")).header.profileGridShiftRight, position);
}

void ProjectFileTest::readsAtMost1000Stations()
{
    QByteArray bytes = validFile(0);
    putInt32(bytes, 0, 1500);
    for (int i = 0; i < 1500; ++i) {
        QByteArray record(308, '\0');
        StationRecord::write(station(i % 7), record.data());
        putFloat(record, 0, float(i));
        bytes += record;
    }
    const ProjectContents project = ProjectFile::parse(bytes, QStringLiteral("big.sprj"));
    QCOMPARE(project.header.stationCount, 1000);
    QCOMPARE(project.stations.count(), 1000);
    QCOMPARE(project.stations.at(999).planX, 999.0f);
    // 1000 announced records are enough even when the count says more.
    bytes.truncate(664 + 308 * 1000);
    QCOMPARE(ProjectFile::parse(bytes, QStringLiteral("big.sprj")).stations.count(), 1000);
}

void ProjectFileTest::ignoresReservedAndTrailingBytes()
{
    const QByteArray clean = validFile(2);
    QByteArray dirty = clean;
    for (int at : {545, 546, 547, 556, 557, 558, 559, 660, 661, 662, 663, 664 + 305, 664 + 308 + 307})
        dirty[at] = char(0xAB);
    dirty += QByteArray(100, 'x');
    const ProjectContents project = ProjectFile::parse(dirty, QStringLiteral("d.sprj"));
    QCOMPARE(ProjectFile::serialize(project.header, project.stations.data(), QStringLiteral("d.sprj")), clean);
}

void ProjectFileTest::readsFullWidthTextsBounded()
{
    QByteArray bytes = validFile(2);
    char *record = bytes.data() + 664;
    std::memset(record + 28, 'L', 20);   // label without its zero
    std::memset(record + 48, 'C', 256);  // comment without its zero
    record[304] = 1;
    std::memset(record + 308 + 28, 'N', 20);
    const ProjectContents project = ProjectFile::parse(bytes, QStringLiteral("f.sprj"));
    QCOMPARE(AnsiText::encode(project.stations.at(0).label), QByteArray(20, 'L'));
    QCOMPARE(AnsiText::encode(project.stations.at(0).comment), QByteArray(256, 'C'));
    QVERIFY(project.stations.at(0).branchEnd);
    QCOMPARE(project.stations.at(1).label, QString(20, QChar('N')));
}

void ProjectFileTest::refusesDamagedFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");
    const QByteArray good = validFile(2);
    QTest::newRow("663 bytes") << good.left(663) << "it is 663 bytes long, shorter than the 664-byte header";
    QTest::newRow("empty") << QByteArray() << "it is 0 bytes long, shorter than the 664-byte header";
    QTest::newRow("short station block")
        << good.left(664 + 308 + 307) << "it announces 2 stations but holds complete records for only 1";
    auto with = [&](auto change) {
        QByteArray bytes = good;
        change(bytes);
        return bytes;
    };
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    QTest::newRow("negative count") << with([](QByteArray &b) { putInt32(b, 0, -1); }) << "its station count is -1";
    QTest::newRow("most negative count")
        << with([](QByteArray &b) { putInt32(b, 0, std::numeric_limits<qint32>::min()); })
        << "its station count is -2147483648";
    QTest::newRow("nan zoom") << with([&](QByteArray &b) { putDouble(b, 528, nan); })
                              << "its plan zoom is not a finite number";
    QTest::newRow("zoom 16") << with([](QByteArray &b) { putDouble(b, 536, 16.0); })
                             << "its profile zoom is 16, outside 1/32 to 8";
    QTest::newRow("zoom 1/64") << with([](QByteArray &b) { putDouble(b, 528, 1.0 / 64); })
                               << "its plan zoom is 0.015625, outside 1/32 to 8";
    QTest::newRow("zoom 0") << with([](QByteArray &b) { putDouble(b, 528, 0.0); })
                            << "its plan zoom is 0, outside 1/32 to 8";
    QTest::newRow("nan fraction") << with([](QByteArray &b) { putFloat(b, 548, std::nanf("")); })
                                  << "its plan pane fraction is not a finite number";
    QTest::newRow("fraction 1.5") << with([](QByteArray &b) { putFloat(b, 552, 1.5f); })
                                  << "its profile pane fraction is 1.5, outside 0 to 1";
    QTest::newRow("negative fraction") << with([](QByteArray &b) { putFloat(b, 548, -0.25f); })
                                       << "its plan pane fraction is -0.25, outside 0 to 1";
    QTest::newRow("infinite scale") << with([&](QByteArray &b) { putDouble(b, 584, -inf); })
                                    << "its profile scale is not a finite number";
    QTest::newRow("scale 1e300") << with([](QByteArray &b) { putDouble(b, 576, 1e300); })
                                 << "its plan scale is 1e+300, outside 0 to 100000 metres per pixel";
    QTest::newRow("negative scale") << with([](QByteArray &b) { putDouble(b, 584, -0.05); })
                                    << "its profile scale is -0.05, outside 0 to 100000 metres per pixel";
    QTest::newRow("scale just above 100000")
        << with([](QByteArray &b) { putDouble(b, 576, std::nextafter(100000.0, 1e6)); })
        << "its plan scale is 100000.00000000001, outside 0 to 100000 metres per pixel";
    QTest::newRow("nan grid cell") << with([&](QByteArray &b) { putDouble(b, 560, nan); })
                                   << "its plan grid cell size is not a finite number";
    QTest::newRow("infinite entry") << with([&](QByteArray &b) { putDouble(b, 640, inf); })
                                    << "its plan orientation entry is not a finite number";
    QTest::newRow("format 3") << with([](QByteArray &b) { putInt32(b, 652, 3); })
                              << "its data format index is 3, not 0, 1 or 2";
    QTest::newRow("format -1") << with([](QByteArray &b) { putInt32(b, 652, -1); })
                               << "its data format index is -1, not 0, 1 or 2";
    QTest::newRow("path without its zero") << with([](QByteArray &b) { std::memset(b.data() + 268, 'p', 260); })
                                           << "its profile image path is longer than the 259 bytes its field holds";
    QTest::newRow("style 2") << with([](QByteArray &b) { putInt32(b, 656, 2); })
                             << "its data style index is 2, not 0 or 1";
    QTest::newRow("nan station") << with([](QByteArray &b) { putFloat(b, 664 + 308 + 24, std::nanf("")); })
                                 << "station record 2 of 2 holds a coordinate that is not a finite number";
    QTest::newRow("infinite pixel")
        << with([](QByteArray &b) { putFloat(b, 664 + 8, std::numeric_limits<float>::infinity()); })
        << "station record 1 of 2 holds a coordinate that is not a finite number";
}

void ProjectFileTest::refusesDamagedFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);
    QCOMPARE(refusal(bytes), QStringLiteral("Project file /caves/bad.sprj cannot be used: %1.").arg(problem));
}

void ProjectFileTest::acceptsTheBoundsOfZoomFractionAndScale()
{
    QByteArray bytes = validFile(0);
    putDouble(bytes, 528, 1.0 / 32);
    putDouble(bytes, 536, 8.0);
    putFloat(bytes, 548, 0.0f);
    putFloat(bytes, 552, 1.0f);
    putDouble(bytes, 576, 0.0); // no scale set yet
    putDouble(bytes, 584, 100000.0);
    QCOMPARE(refusal(bytes), QString());
}

void ProjectFileTest::refusesToSaveWhatCannotBeReadBack_data()
{
    QTest::addColumn<ProjectHeader>("header");
    QTest::addColumn<QString>("problem");
    ProjectHeader h;
    auto with = [&](auto change) {
        ProjectHeader changed;
        change(changed);
        return changed;
    };
    const QString longest = QString(259, QChar(u'ж')); // one byte each in Windows-1251
    // Paths the header's field cannot hold are kept whole in the optional block and read back whole.
    QTest::newRow("path of 260 bytes") << with([&](ProjectHeader &c) { c.planImagePath = longest + 'x'; }) << QString();
    QTest::newRow("emoji in path")
        << with([](ProjectHeader &c) { c.profileImagePath = QStringLiteral("/caves/\U0001F600/a.bmp"); }) << QString();
    QTest::newRow("zero in path") << with([](ProjectHeader &c) { c.planImagePath = QStringLiteral("a") + QChar(0); })
                                  << QString();
    QTest::newRow("nan zoom") << with([](ProjectHeader &c) { c.planZoom = std::nan(""); })
                              << "its plan zoom is not a finite number";
    QTest::newRow("longest path fits") << with([&](ProjectHeader &c) { c.planImagePath = longest; })
                                       << QString();
}

void ProjectFileTest::refusesToSaveWhatCannotBeReadBack()
{
    QFETCH(ProjectHeader, header);
    QFETCH(QString, problem);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("p.sprj"));
    try {
        ProjectFile::write(path, contents(header));
        QCOMPARE(QString(), problem);
        QCOMPARE(ProjectFile::read(path).header.planImagePath, header.planImagePath);
        QCOMPARE(ProjectFile::read(path).header.profileImagePath, header.profileImagePath);
    } catch (const CommandError &error) {
        QCOMPARE(error.message(), QStringLiteral("Cannot save project file %1: %2.").arg(path, problem));
        QVERIFY(!QFile::exists(path));
    }
}

void ProjectFileTest::convertsEntryTextsBeforeStoringAny()
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ProjectHeader header;
    header.setEntryTexts(QStringLiteral("10,0"), QStringLiteral("0,5"), QStringLiteral("7"), QStringLiteral("-1,25"),
                         QStringLiteral("12"));
    QCOMPARE(NumberText::fromDouble(header.planGridMetresEntry), QStringLiteral("10"));
    QCOMPARE(NumberText::fromDouble(header.planGridPixelsEntry), QStringLiteral("0,5"));
    QCOMPARE(header.profileGridPixelsEntry, -1.25);
    QCOMPARE(header.planOrientationEntry, 12.0);
    try {
        header.setEntryTexts(QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("abc"), QStringLiteral("x"),
                             QStringLiteral("5"));
        QFAIL("a text that is not a number was stored");
    } catch (const CommandError &error) {
        QCOMPARE(error.message(), QStringLiteral("'abc' is not a valid floating point value"));
    }
    QCOMPARE(header.planGridMetresEntry, 10.0); // nothing stored
    QCOMPARE(header.planOrientationEntry, 12.0);
}

void ProjectFileTest::reopenedEntriesReadAsTheWindowReadsThem()
{
    for (double stored : {0.1 + 0.2, 10.0, -1.0 / 3.0, 1e20, 359.99999999999994, 5e-324}) {
        const double viaWindow = NumberText::toDouble(NumberText::fromDouble(stored));
        QVERIFY(sameBits(ProjectHeader::reopenedEntryValue(stored), viaWindow));
    }
    QCOMPARE(ProjectHeader::reopenedEntryValue(0.1 + 0.2), 0.3);
}

void ProjectFileTest::aDocumentSavesWhatItOpened()
{
    // Every header field and every station goes into the document and comes back out bit for bit,
    // whatever job the document held before; "modified" is not the file's business.
    SurveyDocument document;
    document.editStations([](StationTable &table) { table.assign(std::vector<Station>(999, station(5))); });
    document.setModified(true);
    const QByteArray bytes = validFile(3);
    ProjectFile::parse(bytes, QStringLiteral("x")).applyTo(document);
    QCOMPARE(document.stations().count(), 3);
    QVERIFY(document.modified());
    QCOMPARE(ProjectFile::serialize(ProjectContents::capture(document), QStringLiteral("x")), bytes);
}

void ProjectFileTest::optionalBlockRoundTripsAndReportsDamage_data()
{
    // What follows the station records, and the problem reported (empty: none).
    QTest::addColumn<int>("cut");        // bytes cut from the block's end; -1: none
    QTest::addColumn<int>("flip");       // offset in the block of a byte to change; -1: none
    QTest::addColumn<QByteArray>("tail"); // used instead of a block when not empty
    QTest::addColumn<QString>("problem");
    QTest::addColumn<bool>("sectionsRead");
    const QString cut = QStringLiteral("its additional block is cut short");
    QTest::newRow("whole") << -1 << -1 << QByteArray() << QString() << true;
    QTest::newRow("no checksum") << 4 << -1 << QByteArray() << cut << false;
    QTest::newRow("cut in a section") << 12 << -1 << QByteArray() << cut << false;
    QTest::newRow("only the mark") << 0 << -1 << QByteArray("SPMKEXT1") << cut << false;
    QTest::newRow("length beyond the end") << -1 << 16 << QByteArray() << cut << false;
    QTest::newRow("a content byte changed") << -1 << 24 << QByteArray() 
                                           << "its additional block is damaged (its checksum does not match)" << false;
    // Bytes that are not a block (an older writer's leftovers) are not read at all.
    QTest::newRow("not a block") << -1 << -1 << QByteArray("anything at all") << QString() << false;
}

void ProjectFileTest::optionalBlockRoundTripsAndReportsDamage()
{
    QFETCH(int, cut);
    QFETCH(int, flip);
    QFETCH(QByteArray, tail);
    QFETCH(QString, problem);
    QFETCH(bool, sectionsRead);
    ProjectContents project = contents(unusualHeader(2), {station(0), station(1)});
    project.extras.setSection("DETL", QByteArray("cave name\0with a zero", 21));
    project.extras.setSection("PAGE", QByteArray());
    const QByteArray fixed = validFile(2);
    QByteArray bytes = ProjectFile::serialize(project, QStringLiteral("x"));
    QCOMPARE(bytes.left(fixed.size()), fixed); // the fixed layout is untouched
    if (!tail.isEmpty())
        bytes = fixed + tail;
    if (cut >= 0)
        bytes.chop(cut);
    if (flip >= 0)
        bytes[fixed.size() + flip] = char(bytes[fixed.size() + flip] ^ 0x7f);
    const ProjectContents read = ProjectFile::parse(bytes, QStringLiteral("x.sprj"));
    QCOMPARE(read.stations.count(), 2); // the stations open whatever follows them
    QCOMPARE(read.extrasProblem.isEmpty(), problem.isEmpty());
    if (!problem.isEmpty())
        QVERIFY2(read.extrasProblem.contains(problem), qPrintable(read.extrasProblem));
    QCOMPARE(read.extras == project.extras, sectionsRead);
    if (sectionsRead)
        QCOMPARE(ProjectFile::serialize(read, QStringLiteral("x")), bytes);
}

// A projected profile's azimuth: read back as typed; none (every older project) and a damaged
// section read 0, the damage reported; the fixed layout as it was.
void ProjectFileTest::projectionAzimuthRoundTrips_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("section"); // written instead of the document's; empty: none
    QTest::addColumn<QString>("read");
    QTest::newRow("as typed") << "247,5" << QByteArray() << "247,5";
    QTest::newRow("none: an older project") << "0" << QByteArray() << "0";
    QTest::newRow("damaged") << "0" << QByteArray("\x01" "damaged") << "0";
}

void ProjectFileTest::projectionAzimuthRoundTrips()
{
    QFETCH(QString, typed);
    QFETCH(QByteArray, section);
    QFETCH(QString, read);
    SurveyDocument document;
    document.editStations([](StationTable &table) { table.assign({station(0), station(1)}); });
    document.setProfileKind(ProfileKind::Projective);
    const QByteArray fixed = ProjectFile::serialize(ProjectContents::capture(document), QStringLiteral("x"));
    document.setProjectionAzimuthEntry(typed);
    ProjectContents written = ProjectContents::capture(document);
    if (!section.isEmpty())
        written.extras.setSection(ProjectContents::ProjectionTag, section);
    const QByteArray bytes = ProjectFile::serialize(written, QStringLiteral("x"));
    QCOMPARE(bytes.left(fixed.size()), fixed);
    const ProjectContents contents = ProjectFile::parse(bytes, QStringLiteral("x.sprj"));
    contents.applyTo(document);
    QCOMPARE(document.profileKind(), ProfileKind::Projective);
    QCOMPARE(document.projectionAzimuthEntry(), read);
    QCOMPARE(contents.projectionProblem().isEmpty(), section.isEmpty());
}

// Passage dimensions: kept as given, an unknown one unknown (not 0), through a station put in
// before and one taken out; none keeps the fixed layout; a damaged section is reported and read
// as none.
void ProjectFileTest::passageDimensionsRoundTrip_data()
{
    QTest::addColumn<QByteArray>("section"); // written instead of the document's; empty: the document's
    QTest::addColumn<bool>("kept");
    QTest::newRow("kept") << QByteArray() << true;
    QTest::newRow("cut short") << QByteArray("\x01\x00\x00\x00\x01\x00\x00\x00\x00\x01", 10) << false;
    QTest::newRow("a station beyond the table") << QByteArray("\x01\x00\x00\x00\x01\x00\x00\x00\x07\x04" "\x3f\xf0\0\0\0\0\0\0", 18) << false;
    QTest::newRow("not a number") << QByteArray("\x01\x00\x00\x00\x01\x00\x00\x00\x00\x01" "\x7f\xf8\0\0\0\0\0\0", 18) << false;
    // No station stands outside its passage: the value is left unknown, and said so.
    QTest::newRow("negative") << QByteArray("\x01\x00\x00\x00\x01\x00\x00\x00\x00\x01" "\xbf\xe0\0\0\0\0\0\0", 18) << false;
}

void ProjectFileTest::passageDimensionsRoundTrip()
{
    QFETCH(QByteArray, section);
    QFETCH(bool, kept);
    SurveyDocument document;
    document.editStations([](StationTable &table) { table.assign({station(0), station(1), station(2)}); });
    const QByteArray fixed = ProjectFile::serialize(ProjectContents::capture(document), QStringLiteral("x"));
    document.editStations([](StationTable &table) { table.insert(3, station(3)); });
    PassageDimensions partial;
    partial.left = 0.0;
    partial.down = 12.75;
    PassageDimensions full{1.5, 2.25, 3.0, 0.5};
    document.editStations([&](StationTable &table) {
        table.at(0).dimensions = partial;
        table.at(2).dimensions = full;
        table.at(3).dimensions = full;
        table.remove(3);                 // its dimensions go with it
        table.insert(1, station(9));     // the others stay with their stations
    });
    ProjectContents written = ProjectContents::capture(document);
    if (!section.isEmpty())
        written.extras.setSection(ProjectContents::DimensionsTag, section);
    const QByteArray bytes = ProjectFile::serialize(written, QStringLiteral("x"));
    const ProjectContents contents = ProjectFile::parse(bytes, QStringLiteral("x.sprj"));
    QCOMPARE(contents.extrasProblem, QString());
    QCOMPARE(contents.dimensionsProblem().isEmpty(), kept);
    SurveyDocument reopened;
    contents.applyTo(reopened);
    QCOMPARE(reopened.stations().count(), 4);
    QCOMPARE(reopened.stations().at(0).dimensions, kept ? partial : PassageDimensions());
    QVERIFY(!reopened.stations().at(0).dimensions.up); // unknown, not 0
    QCOMPARE(reopened.stations().at(1).dimensions, PassageDimensions());
    QCOMPARE(reopened.stations().at(3).dimensions, kept ? full : PassageDimensions());
    // Taken out again, the project is the fixed layout it was.
    reopened.editStations([](StationTable &table) {
        table.remove(1);
        for (int i = 0; i < table.count(); ++i)
            table.at(i).dimensions = PassageDimensions();
    });
    QCOMPARE(ProjectFile::serialize(ProjectContents::capture(reopened), QStringLiteral("x")), fixed);
}

void ProjectFileTest::writesThroughAFileThatReplacesTheOldOneWhole()
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("job.sprj"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(5000, 'o'));
    old.close();
    ProjectFile::write(path, contents(unusualHeader(2), {station(0), station(1)}));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), validFile(2));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("job.sprj")});
}

void ProjectFileTest::failedWriteLeavesTheOldFile_data()
{
    QTest::addColumn<QString>("folderName");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("missing folder") << "missing" << "job.sprj" << false;
    QTest::newRow("read-only folder") << "locked" << "job.sprj" << true;
    // The temporary file beside it would need a name longer than the file system allows.
    QTest::newRow("no room for the temporary name") << "plain" << QString(250, QChar('j')) + ".sprj" << false;
}

void ProjectFileTest::failedWriteLeavesTheOldFile()
{
    QFETCH(QString, folderName);
    QFETCH(QString, fileName);
    QFETCH(bool, readOnly);
    QTemporaryDir root;
    const QString folder = root.filePath(folderName);
    const QString path = folder + '/' + fileName;
    const QByteArray old = "an earlier project";
    if (folderName != QLatin1String("missing")) {
        QVERIFY(QDir().mkpath(folder));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(old);
    }
    if (readOnly) {
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        QFile probe(folder + QStringLiteral("/probe"));
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
            QSKIP("folder permissions do not bind this user (running with administrator rights)");
        }
    }
    try {
        ProjectFile::write(path, contents(unusualHeader(0)));
        QFAIL("the write reported success");
    } catch (const CommandError &error) {
        const QString message = error.message();
        QVERIFY2(message.startsWith(QStringLiteral("Cannot create file %1: ").arg(path)) ||
                     message.startsWith(QStringLiteral("Cannot write file %1: ").arg(path)),
                 qPrintable(message));
        QVERIFY2(!message.contains(QLatin1String("Unknown error")), qPrintable(message));
    }
    if (readOnly)
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (folderName != QLatin1String("missing")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), old);
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 1);
    }
}

// Scans in folders whose names Windows-1251 cannot hold, or whose paths are longer than the
// header's field: the project saves, reads back the whole path, and its recovery file too; the
// header keeps the file's name for older readers.
void ProjectFileTest::anyFolderNameIsSavedAndRead_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("German") << QStringLiteral("Höhle");
    QTest::newRow("French") << QStringLiteral("Grotte é");
    QTest::newRow("Polish") << QStringLiteral("Jaskinia ł");
    QTest::newRow("300 bytes") << QString(60, QLatin1Char('a')) + QStringLiteral("/") + QString(60, QLatin1Char('b'))
                                      + QStringLiteral("/") + QString(60, QLatin1Char('c')) + QStringLiteral("/")
                                      + QString(60, QLatin1Char('d')) + QStringLiteral("/") + QString(60, QLatin1Char('e'));
}

void ProjectFileTest::anyFolderNameIsSavedAndRead()
{
    QFETCH(QString, folder);
    QTemporaryDir base;
    const QString scan = QDir(base.path()).filePath(folder + QStringLiteral("/plan.png"));
    SurveyDocument document;
    document.editView(ViewSide::Plan, [&](ViewSettings &view) { view.imagePath = scan; });
    document.editStations([](StationTable &table) { table.assign({station(0), station(1)}); });
    ProjectContents contents = ProjectContents::capture(document);
    contents.rememberScansRelativeTo(QDir(base.path()).filePath(folder + QStringLiteral("/cave.sprj")));
    const QByteArray bytes = ProjectFile::serialize(contents, QStringLiteral("x"));
    QCOMPARE(ProjectHeader::decode(bytes.constData()).planImagePath, QStringLiteral("plan.png"));
    const ProjectContents read = ProjectFile::parse(bytes, QStringLiteral("x.sprj"));
    QCOMPARE(read.header.planImagePath, scan);
    QCOMPARE(read.sheets().front().imagePath, scan);
    QCOMPARE(read.scanRelativePath(ViewSide::Plan), QStringLiteral("plan.png"));
    // The recovery file is a project as well.
    const QByteArray recovery = ProjectFile::serialize(ProjectContents::capture(document, ProjectContents::Entries::AsTheyStand), QStringLiteral("r"));
    QCOMPARE(ProjectFile::parse(recovery, QStringLiteral("r.sprj")).sheets().front().imagePath, scan);
}

QTEST_GUILESS_MAIN(ProjectFileTest)
#include "test_project_file.moc"
