// Arbitrary bytes as a project file and as raw station records: the reader must refuse or accept
// without undefined behaviour, anything it accepts must save and read back to the same bytes,
// and the survey text must build (or stop at a leg) with every line safe to show and save.
#include "app/CommandError.h"
#include "app/SurveyDocument.h"
#include "output/SurveyText.h"
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

void buildEveryLayout(const StationTable &stations, double orientation)
{
    const int count = stations.count();
    for (int format = 0; format < 3; ++format) {
        for (int style = 0; style < 2; ++style) {
            const SurveyText text =
                SurveyText::build(stations, SurveyFormat(format), SurveyStyle(style), orientation);
            QByteArray joined;
            for (const QByteArray &line : text.lines) {
                check(!line.contains('\r') && !line.contains('\n') && !line.contains('\0'));
                joined += line + "\r\n";
            }
            // The text preview must save back exactly what was built.
            check(SurveyText::fileBytes(text.previewLines()) == joined);
            check(text.complete() == (text.failedFrom < 0));
            if (!text.complete())
                check(text.failedTo == text.failedFrom + 1 && text.failedTo < count);
        }
    }
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
        buildEveryLayout(project->stations, ProjectHeader::reopenedEntryValue(project->header.planOrientationEntry));
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
        buildEveryLayout(table, orientation);
    }
    return 0;
}
