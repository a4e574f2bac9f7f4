#include "project/ProjectFile.h"

#include "survey/CommandError.h"
#include "output/WholeFile.h"
#include "project/StationRecord.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

// Texts the user reads, in the interface's language (speomark-export installs no translation
// and prints them in English).
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(ProjectFile)
};

QString shown(const QString &path) { return QDir::toNativeSeparators(path); }

CommandError unusable(const QString &fileName, const QString &problem)
{
    return CommandError(Words::tr("Project file %1 cannot be used: %2.").arg(shown(fileName), problem));
}

CommandError unsavable(const QString &fileName, const QString &problem)
{
    return CommandError(Words::tr("Cannot save project file %1: %2.").arg(shown(fileName), problem));
}

QString badStation(int index, int count)
{
    return Words::tr("station record %1 of %2 holds a coordinate that is not a finite number")
        .arg(index + 1)
        .arg(count);
}

} // namespace

ProjectContents ProjectFile::parse(const QByteArray &bytes, const QString &fileName)
{
    if (bytes.size() < ProjectHeader::Size)
        throw unusable(fileName, Words::tr("it is %1 bytes long, shorter than the %2-byte header")
                                     .arg(bytes.size())
                                     .arg(ProjectHeader::Size));
    ProjectContents contents;
    contents.header = ProjectHeader::decode(bytes.constData());
    // A project of several sheets has zero zooms in its header, so that readers of the header
    // alone refuse it; its sheets' zooms are in the optional block (see ProjectContents).
    const QString asRead = contents.header.problem();
    const bool sheetsAside = contents.header.planZoom == 0.0 && contents.header.profileZoom == 0.0;
    if (sheetsAside)
        contents.header.planZoom = contents.header.profileZoom = 1.0;
    const QString problem = contents.header.problem();
    if (!problem.isEmpty())
        throw unusable(fileName, problem);

    // The table has 1000 entries; records beyond them are not read.
    const int count = std::min(contents.header.stationCount, std::int32_t(StationTable::TableSize));
    contents.header.stationCount = count;
    const qint64 records = (qint64(bytes.size()) - ProjectHeader::Size) / StationRecord::Size;
    if (records < count)
        throw unusable(
            fileName,
            Words::tr("it announces %1 stations but holds complete records for only %2").arg(count).arg(records));

    std::vector<Station> stations;
    stations.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        const char *record = bytes.constData() + ProjectHeader::Size + qint64(i) * StationRecord::Size;
        stations.push_back(StationRecord::read(record));
        if (!StationRecord::hasFiniteCoordinates(stations.back()))
            throw unusable(fileName, badStation(i, count));
    }
    contents.stations.assign(std::move(stations));
    QString extrasProblem;
    contents.extras = ProjectExtras::decode(bytes.mid(fileSize(count)), &extrasProblem);
    if (sheetsAside && contents.sheets().size() < 3 && !contents.extras.has(ProjectContents::SheetsTag))
        throw unusable(fileName, asRead);
    const QString sheets = contents.sheetsProblem();
    if (!sheets.isEmpty())
        throw unusable(fileName, Words::tr("%1; it is not opened, so that no station is put on another sheet").arg(sheets));
    contents.takeFullPaths();
    if (!extrasProblem.isEmpty())
        contents.extrasProblem =
            Words::tr("Project file %1: %2; the stations and settings were read.").arg(shown(fileName), extrasProblem);
    return contents;
}

ProjectContents ProjectFile::read(const QString &path)
{
    // A pipe or a device named where a project was would block the window for good in open().
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        throw CommandError(Words::tr("Cannot open project file %1: it is not a file.").arg(shown(path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw CommandError(Words::tr("Cannot open project file %1: %2.").arg(shown(path), file.errorString()));
    const QByteArray bytes = file.read(fileSize(StationTable::TableSize) + ProjectExtras::MaxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        throw CommandError(Words::tr("Cannot read project file %1: %2.").arg(shown(path), file.errorString()));
    return parse(bytes, path);
}

QByteArray ProjectFile::serialize(const ProjectHeader &header, const Station *stations, const QString &fileName)
{
    const int count = header.stationCount;
    if (count < 0 || count > StationTable::TableSize)
        throw unsavable(fileName,
                        Words::tr("the station count %1 is outside 0 to %2").arg(count).arg(StationTable::TableSize));
    QByteArray bytes;
    try {
        bytes = header.encode();
    } catch (const CommandError &error) {
        throw unsavable(fileName, error.message());
    }
    const QString problem = header.problem();
    if (!problem.isEmpty())
        throw unsavable(fileName, problem);
    bytes.resize(fileSize(count));
    for (int i = 0; i < count; ++i) {
        if (!StationRecord::hasFiniteCoordinates(stations[i]))
            throw unsavable(fileName, badStation(i, count));
        const QString texts = StationRecord::problem(stations[i]);
        if (!texts.isEmpty())
            throw unsavable(fileName, Words::tr("station %1: %2").arg(i).arg(texts));
        StationRecord::write(stations[i], bytes.data() + ProjectHeader::Size + qint64(i) * StationRecord::Size);
    }
    return bytes;
}

QByteArray ProjectFile::serialize(const ProjectContents &contents, const QString &fileName)
{
    // Whatever paths the contents hold, as read or as captured, are saved whole.
    ProjectContents project = contents;
    project.fitPaths();
    ProjectHeader header = project.header;
    header.stationCount = project.stations.count();
    // A project of several sheets keeps zero zooms in its header (see ProjectContents::SheetsTag):
    // the rest of the header is checked as usual.
    const bool sheetsAside = project.hasSheets() && header.planZoom == 0.0 && header.profileZoom == 0.0;
    ProjectHeader checked = header;
    if (sheetsAside)
        checked.planZoom = checked.profileZoom = 1.0;
    QByteArray bytes = serialize(checked, project.stations.data(), fileName);
    if (sheetsAside)
        bytes.replace(0, ProjectHeader::Size, header.encode());
    return bytes + project.extras.encode();
}

void ProjectFile::write(const QString &path, const ProjectContents &project)
{
    WholeFile::write(path, serialize(project, path));
}

QByteArray ProjectFile::digest(const QString &path)
{
    if (!QFileInfo(path).isFile())
        return QByteArray();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!hash.addData(&file))
        return QByteArray();
    return hash.result();
}
