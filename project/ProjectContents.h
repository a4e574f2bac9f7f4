#pragma once

#include "document/SurveyDocument.h"
#include "survey/Survey.h"
#include "survey/SurveyDetails.h"
#include "project/ProjectExtras.h"

#include <vector>
#include "project/ProjectHeader.h"
#include "survey/StationTable.h"

enum class ViewSide;

class SurveyDocument;


// A project as a file holds it: the header and the stations. Read into this first and checked
// whole before anything changes, so a bad file never leaves a half-loaded job behind; written
// from it by capturing the document. header.stationCount equals stations.count().
struct ProjectContents
{
    ProjectHeader header;
    StationTable stations;
    ProjectExtras extras;     // the optional block after the stations
    QString extrasProblem;    // why the optional block could not be read (the rest is usable)

    // What saving the document writes. With MustBeNumbers it throws CommandError when a grid entry
    // or the orientation entry is not a number (the first one, in the file's order, is reported);
    // AsTheyStand writes 0 for such an entry (the recovery file keeps the texts themselves).
    enum class Entries { MustBeNumbers, AsTheyStand };
    static ProjectContents capture(const SurveyDocument &document, Entries entries = Entries::MustBeNumbers);

    // Puts the stations and every setting into the document: paths, zooms, pane fractions, grid
    // cells, scales, grid shifts, entries and switches, orientation, profile kind, display and
    // output choices. The images are the caller's to read.
    // A project read from `projectPath` finds its further sheets' scans where its folder moved.
    void applyTo(SurveyDocument &document, const QString &projectPath = QString()) const;

    // What every survey file is written from: the stations, the saved orientation as the window
    // reads it back, the saved style, the details (empty when they cannot be read).
    Survey survey() const;

    // The survey details of the optional block: empty when it has none, or when they cannot be
    // read (then detailsProblem() says why; the rest of the project is usable).
    SurveyDetails details() const;
    QString detailsProblem() const;

    // A projected profile's azimuth as typed, kept in the optional block: "0" when the project has
    // none, or when it cannot be read (then projectionProblem() says why; the rest is usable).
    QString projectionAzimuthEntry() const;
    QString projectionProblem() const;
    static const QByteArray ProjectionTag;

    // Scan paths the header's fields cannot hold, kept whole in the optional block; put in the
    // header when the file is read (see ProjectFile::parse).
    static const QByteArray FullPathsTag;
    void takeFullPaths();
    // The other way: a scan path the header's Windows-1251 field cannot hold (another alphabet,
    // more than 259 bytes) goes whole into the optional block, and the field gets the file's name
    // where that fits, so older readers find a scan beside the project.
    void fitPaths();

    // A PDF sheet's page and resolution for one view, kept in the optional block; 0 for both
    // where the view shows no PDF or the project has no such section (page 1 at 300 dpi then).
    struct ScanPage
    {
        int page = 0;
        int dotsPerInch = 0;
    };
    ScanPage scanPage(ViewSide side) const;
    static const QByteArray ScanPagesTag;

    // Where each scan lies relative to the project file's folder, kept in the optional block so
    // a project folder moved with its scans (in "scans/", say) finds them again. Empty where the
    // view has no scan or the project does not say.
    void rememberScansRelativeTo(const QString &projectPath);
    // Keeps the stations' passage dimensions in the optional block, as saving a document does
    // (for a project put together without one).
    void keepDimensions();
    QString scanRelativePath(ViewSide side) const;
    // The file a stored scan path names: the stored path when it exists, else the same place
    // relative to the project, else a file of that name beside the project, else the stored path.
    QString scanPath(ViewSide side, const QString &projectPath) const;
    static const QByteArray ScanPlacesTag;

    // The passage dimensions of the stations that have any, kept in the optional block (a project
    // without any keeps the fixed layout). A section that cannot be read leaves every station
    // without dimensions, and dimensionsProblem() says so; the rest of the project is usable.
    static const QByteArray DimensionsTag;
    QString dimensionsProblem() const;

    // Projects of several sheets: the first plan and profile sheet stay in the header, every
    // sheet (with its settings) is listed in the optional block, and so are the sheets of each
    // station. Such a project's header has zero zooms, so a reader that knows only the header
    // refuses it instead of showing every station on the first sheets.
    static const QByteArray SheetsTag;
    static const QByteArray StationSheetsTag;
    bool hasSheets() const { return extras.has(SheetsTag); }
    // The sheets as the document holds them (from the block, or the header's two).
    std::vector<ViewSettings> sheets() const;
    // What is damaged in the block's sheets or in the sheets it gives the stations; empty when
    // nothing is (or the project has no such block). Such a project is not opened: taking the
    // header's two sheets instead would move stations onto other sheets without a word.
    QString sheetsProblem() const;
};
