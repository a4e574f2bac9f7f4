#pragma once

#include "project/ProjectContents.h"
#include "project/StationRecord.h"

#include <QByteArray>
#include <QString>

// Reading and writing project files (".sprj"): the 664-byte header followed by one 308-byte
// record per station, little-endian, no magic number. Every failure is a CommandError whose
// message names the file and the problem; nothing is shown from here.
class ProjectFile
{
public:
    // Reads a project. Refuses (throws) a file that cannot be opened, is shorter than the header
    // or than the station block it announces, or holds values the window cannot use (see
    // ProjectHeader::problem(), and station coordinates that are not finite). A count above 1000
    // reads as 1000 and later records are ignored. After the last record only the optional block
    // is read (see ProjectExtras); a damaged one is reported in extrasProblem, not refused.
    static ProjectContents read(const QString &path);
    // The same for bytes already in memory; fileName only names the file in messages.
    static ProjectContents parse(const QByteArray &bytes, const QString &fileName);

    // The file's bytes for header and stations[0 .. header.stationCount-1]. Throws when the count
    // is outside 0..1000, a path does not fit its field, or a value is one read() would refuse,
    // so a saved project can always be opened again.
    static QByteArray serialize(const ProjectHeader &header, const Station *stations, const QString &fileName);

    // The same for a whole project (the count is the table's), with its optional block.
    static QByteArray serialize(const ProjectContents &project, const QString &fileName);

    // Writes the project through a temporary file that replaces `path` only when complete, so a
    // failed save leaves any earlier file of that name intact. Throws on every failure.
    static void write(const QString &path, const ProjectContents &project);

    // A digest of a file's bytes (empty when there is no such file): a save compares it with the
    // one taken when the job last read or wrote the file, to tell that another program wrote it.
    static QByteArray digest(const QString &path);

    static qint64 fileSize(int stationCount) { return ProjectHeader::Size + qint64(StationRecord::Size) * stationCount; }
};
