// Arbitrary bytes as a project file, as raw station records and as a survey details block: the
// reader must refuse or accept without undefined behaviour, anything it accepts must save and read
// back to the same bytes, and every writer (the three survey text layouts, Therion, Compass and
// the check's CSV) must build (or stop at a leg) with every line safe to show and save: no control
// byte but the writers' own tabs, no Therion line ending in a backslash.
#include "survey/CommandError.h"
#include "document/SurveyDocument.h"
#include "checks/CheckReport.h"
#include "checks/SurveyLegs.h"
#include "output/CompassText.h"
#include "survey/SafeLine.h"
#include "output/SurveyText.h"
#include "output/TherionText.h"
#include "project/ProjectFile.h"
#include "project/StationRecord.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// Lines no reader can take for more than they are, and that the text preview saves back unchanged.
void checkLines(const SurveyText &text, int count, LineSyntax syntax)
{
    QByteArray joined;
    for (const QByteArray &line : text.lines) {
        const bool formFeed = syntax == LineSyntax::Compass && line == "\f" && &line == &text.lines.constLast();
        for (const char byte : line)
            check(byte == '\t' || !SafeLine::isControl(byte) || formFeed);
        if (syntax == LineSyntax::Therion) {
            const QByteArray trimmed = line.trimmed();
            check(trimmed.isEmpty() || !trimmed.endsWith('\\'));
        }
        joined += line + "\r\n";
    }
    check(SurveyText::fileBytes(text.previewLines()) == joined);
    check(text.complete() == (text.failedFrom < 0));
    if (!text.complete())
        check(text.failedTo == text.failedFrom + 1 && text.failedTo < count);
}

void buildEveryLayout(const StationTable &stations, double orientation, const SurveyDetails &details)
{
    const int count = stations.count();
    for (int style = 0; style < 2; ++style) {
        for (int format = 0; format < 3; ++format)
            checkLines(SurveyText::build(stations, SurveyFormat(format), SurveyStyle(style), orientation, details), count,
                       format == int(SurveyFormat::Survex) ? LineSyntax::Survex : LineSyntax::Lumaro);
        checkLines(TherionText::build(stations, SurveyStyle(style), orientation, details), count, LineSyntax::Therion);
    }
    checkLines(CompassText::build(stations, orientation, details), count, LineSyntax::Compass);

    // The CSV: RFC 4180 records of twelve fields, one for each leg after the heading.
    CheckSettings settings;
    settings.planOrientation = orientation;
    const QVector<LegCheck> legs = SurveyLegs::check(stations, settings);
    const QByteArray csv = CheckReport::legsCsv(legs);
    int records = 0, fields = 1;
    bool quoted = false;
    for (qsizetype i = 0; i < csv.size(); ++i) {
        const char byte = csv[i];
        check(!SafeLine::isControl(byte) || (!quoted && csv.mid(i, 2) == "\r\n") || (!quoted && byte == '\n' && i > 0 && csv[i - 1] == '\r'));
        if (byte == '"')
            quoted = !quoted;
        else if (!quoted && byte == ',')
            ++fields;
        else if (!quoted && byte == '\n') {
            check(fields == 12);
            ++records;
            fields = 1;
        }
    }
    check(!quoted && records == legs.size() + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));

    // As a project file. Whatever the reader accepts must save without complaint (an exception
    // escaping from here aborts the run) and read back to the very same bytes.
    std::optional<ProjectContents> project;
    try {
        project = ProjectFile::parse(bytes, QStringLiteral("fuzz.sprj"));
    } catch (const CommandError &) {
    }
    if (project) {
        check(project->header.stationCount >= 0 && project->header.stationCount <= StationTable::TableSize);
        check(project->stations.count() == project->header.stationCount);
        const QByteArray saved = ProjectFile::serialize(*project, QStringLiteral("f"));
        const ProjectContents again = ProjectFile::parse(saved, QStringLiteral("f"));
        check(ProjectFile::serialize(again, QStringLiteral("f")) == saved);
        // Into a document and out again: what the window saves it opens again, and then saves the
        // same bytes (the first save may tidy values the controls cannot show, such as a shift
        // beyond the up-downs' range or a switch byte other than 0 or 1).
        static SurveyDocument document;
        project->applyTo(document);
        check(document.stations().count() == project->header.stationCount);
        const QByteArray resaved = ProjectFile::serialize(ProjectContents::capture(document), QStringLiteral("f"));
        ProjectFile::parse(resaved, QStringLiteral("f")).applyTo(document);
        check(ProjectFile::serialize(ProjectContents::capture(document), QStringLiteral("f")) == resaved);
        buildEveryLayout(document.stations(), ProjectHeader::reopenedEntryValue(project->header.planOrientationEntry),
                         project->details());
    }

    // As an orientation and raw station records, coordinates that are not numbers included.
    if (size >= sizeof(double)) {
        double orientation;
        std::memcpy(&orientation, data, sizeof orientation);
        std::vector<Station> stations;
        for (size_t at = sizeof orientation; at + StationRecord::Size <= size && stations.size() < 1000;
             at += StationRecord::Size)
            stations.push_back(StationRecord::read(reinterpret_cast<const char *>(data) + at));
        StationTable table;
        table.assign(std::move(stations));
        buildEveryLayout(table, orientation, SurveyDetails());
    }

    // As a details block: what it accepts writes and reads back as the same details (a NaN would
    // not), and every writer takes it.
    QString problem;
    const SurveyDetails details = SurveyDetails::decode(bytes, &problem);
    if (!details.isEmpty()) { // read whole: kept as read, whether the files can hold them or not
        QString again;
        check(SurveyDetails::decode(details.encode(), &again) == details && again == problem);
    }
    if (problem.isEmpty()) {
        StationTable table;
        table.assign(std::vector<Station>(2, Station{}));
        buildEveryLayout(table, 0.0, details);
    }
    return 0;
}
