#pragma once

#include "survey/Limits.h"
#include "survey/Sheet.h"
#include "survey/Survey.h"
#include "survey/SurveyDetails.h"
#include "survey/SurveyLeg.h"
#include "survey/StationTable.h"
#include "survey/TypedDegrees.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <functional>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

constexpr int GridShiftLimit = Limits::GridShiftLimit;

enum class ViewSide { Plan = 0, Profile = 1 };

// What reopens a scan: its file, and for a PDF sheet the page and the resolution it is drawn at.
struct ScanSource
{
    QString path;
    int pdfPage = 0;
    int pdfDotsPerInch = 0;
    bool operator==(const ScanSource &) const = default;
};

// What an edit may change about one sheet, and undo brings back: its scan (the file, page and
// resolution: never the decoded pixels), its calibration and the grid entries as typed.
struct SheetSettings
{
    SheetId id = PlanSheet;
    SheetKind kind = SheetKind::Plan;
    QString imagePath;
    int pdfPage = 0;             // imagePath a PDF: the page shown (from 1); 0 for other images
    int pdfDotsPerInch = 0;      // and the resolution it is rendered at
    Calibration calibration;     // no scale until one is set
    QString gridMetresEntry = QStringLiteral("10");
    QString gridPixelsEntry = QStringLiteral("50");
    TypedDegrees north;          // a plan: north, degrees clockwise from the image's top, as typed
    QString name;                              // as its tab shows it; empty: kind and number

    ScanSource scan() const { return {imagePath, pdfPage, pdfDotsPerInch}; }
    bool operator==(const SheetSettings &) const = default;
};

// What a project stores about one drawing and its view: the sheet's settings, and the ways of
// looking at it that are no edits (zoom, the pane's share of the width, the lattice's shift and
// whether it is shown), with the decoded scan.
struct ViewSettings : SheetSettings
{
    QImage image;                // the decoded scan (read again from imagePath when a project opens)
    double zoom = 1.0;           // displayed pixels per source pixel
    float paneFraction = 0.5f;   // share of (window width - 20) given to this pane
    int gridShiftRight = 0;      // the horizontal grid up-down
    int gridShiftUp = 0;         // the vertical one; the lattice's y offset is its negation
    bool gridShown = true;

    int imageWidth() const { return image.width(); }
    int imageHeight() const { return image.height(); }
};

// The survey-wide settings an edit may change.
struct SurveySettings
{
    ProfileKind profileKind = ProfileKind::Extended;
    TypedDegrees projectionAzimuth; // a projected profile's azimuth, degrees, as typed
    SurveyDetails details;
    bool operator==(const SurveySettings &) const = default;
};

// One change to the station table, with what it replaced, so it can be undone and redone.
struct StationEdit
{
    enum class Kind { Set, Append, Insert, Remove };
    Kind kind;
    int index;      // Set: index == count() is the pending entry
    Station before; // Set: the old value; Remove: the station removed
    Station after;  // Set: the new value; Insert: the station put in
};

// The settings that undo and redo restore: those a command may change, as values, so that no
// field can be left out of a step. (Zoom, pane sizes, the grid's shift and visibility and the
// display choices are ways of looking, not edits.)
struct UndoableSettings
{
    std::vector<SheetSettings> sheets; // in the document's order of sheets
    SheetId shown[2] = {PlanSheet, ProfileSheet}; // an edit that shows a sheet shows it again
    SurveySettings survey;
    bool operator==(const UndoableSettings &) const = default;
};

// Which stations a change touched: table indexes first..last (the pending entry is count());
// everything when it cannot say.
struct StationRange
{
    int first = 0;
    int last = std::numeric_limits<int>::max();

    static StationRange none() { return {1, 0}; }
    bool isEmpty() const { return last < first; }
    bool isAll() const { return first == 0 && last == std::numeric_limits<int>::max(); }
    StationRange united(const StationRange &other) const;
};

// The survey being digitised: everything a project file stores (stations, both views' settings,
// plan orientation, profile kind, display and output choices) and whether it changed since it
// was last saved. Every change goes through a setter, which reports it with changed(); a
// ChangeBatch groups the changes of one command into one report.
class SurveyDocument : public QObject
{
    Q_OBJECT
public:
    enum Part {
        StationsPart = 0x01,
        PlanViewPart = 0x02,
        ProfileViewPart = 0x04,
        ProfileKindPart = 0x08,
        DisplayPart = 0x10,     // labels and legs shown
        OutputPart = 0x20,      // format and style of the survey text
        OrientationPart = 0x40,
        ModifiedPart = 0x80,
        GridEntriesPart = 0x100, // the grid entries as typed: nothing shows them until "OK"
        PanesPart = 0x200,       // the panes' shares of the width
        DetailsPart = 0x400,     // the survey details (cave, date, team, north, entrance ...)
        SheetsPart = 0x800,      // sheets added, removed or renamed
        ShownPart = 0x1000,      // another sheet shown on a pane: a way of looking, no change to save
    };
    Q_DECLARE_FLAGS(Parts, Part)
    static Part viewPart(ViewSide side) { return side == ViewSide::Plan ? PlanViewPart : ProfileViewPart; }

    explicit SurveyDocument(QObject *parent = nullptr);

    const StationTable &stations() const { return m_stations; }
    // The sheets, each by its id, and the sheet each pane shows.
    const std::vector<ViewSettings> &sheets() const { return m_sheets; }
    const ViewSettings &sheet(SheetId id) const;
    SheetId shownSheet(ViewSide side) const { return m_shown[int(side)]; }
    const ViewSettings &view(ViewSide side) const { return sheet(shownSheet(side)); }
    static SheetKind kindOf(ViewSide side) { return side == ViewSide::Plan ? SheetKind::Plan : SheetKind::Profile; }
    static ViewSide sideOf(SheetKind kind) { return kind == SheetKind::Plan ? ViewSide::Plan : ViewSide::Profile; }
    // The sheets of one kind, in the order they were added.
    std::vector<SheetId> sheetsOf(SheetKind kind) const;
    // The name a tab shows: the sheet's own, or "Plan 2" and the like.
    QString sheetName(SheetId id) const;
    ProfileKind profileKind() const { return m_settings.profileKind; }
    // A projected profile's azimuth (see Survey::projectionAzimuthDeg), and north on the plan
    // sheet on screen: the degrees, and the text as typed.
    const TypedDegrees &projectionAzimuth() const { return m_settings.projectionAzimuth; }
    const TypedDegrees &orientation() const { return view(ViewSide::Plan).north; }
    const QString &projectionAzimuthEntry() const { return projectionAzimuth().text(); }
    const QString &orientationEntry() const { return orientation().text(); }
    bool showLabels() const { return m_showLabels; }
    bool showLines() const { return m_showLines; }
    SurveyFormat format() const { return m_format; }
    SurveyStyle style() const { return m_style; }
    bool modified() const { return m_modified; }
    const SurveyDetails &details() const { return m_settings.details; }
    // What every survey file is written from and the check reads: the one place the document
    // becomes a Survey. A plan sheet's north or the projection azimuth that is not a number stops
    // it: throws CommandError naming the text, for writers and the check alike.
    Survey survey() const;

    // Station edits. Each is recorded while a recording runs (see EditHistory), so it can be undone.
    void setStation(int index, const Station &station); // index == count() sets the pending entry
    void appendPendingStation();
    void insertStation(int index, const Station &station);
    void removeStation(int index);
    // Any change to the whole table at once (opening, closing): not recorded.
    void editStations(const std::function<void(StationTable &)> &change);
    void editView(ViewSide side, const std::function<void(ViewSettings &)> &change);
    // Sheets: a new one of a kind (returned), one taken away (never the last of its kind), one
    // renamed, and which sheet a pane shows (its scan, when not held, is read by the window: see
    // scanWanted()).
    SheetId addSheet(SheetKind kind, const QString &name = QString());
    void removeSheet(SheetId id);
    void renameSheet(SheetId id, const QString &name);
    void showSheet(ViewSide side, SheetId id);
    // Every sheet at once (a project opened): at least one of each kind; the first of each is
    // shown. Not recorded.
    void setSheets(std::vector<ViewSettings> sheets);
    void setGridEntries(ViewSide side, const QString &metres, const QString &pixels);
    void setPaneFractions(float plan, float profile);
    void setProfileKind(ProfileKind kind);
    void setProjectionAzimuthEntry(const QString &text);
    void setOrientationEntry(const QString &text);
    void setShowLabels(bool shown);
    void setShowLines(bool shown);
    void setFormat(SurveyFormat format);
    void setStyle(SurveyStyle style);
    void setModified(bool modified);
    void setDetails(const SurveyDetails &details);

    // Changes made between begin and end are reported once, at the end.
    void beginChanges();
    void endChanges();

    // Recording station edits for undo, and playing them back either way.
    void startRecording();
    std::vector<StationEdit> stopRecording();
    bool recording() const { return m_recording; }
    void undoStationEdits(const std::vector<StationEdit> &edits);
    void redoStationEdits(const std::vector<StationEdit> &edits);
    UndoableSettings undoableSettings() const;
    // Brings settings back; a scan whose source differs from the one shown is read again.
    void restore(const UndoableSettings &settings);
    // Scans are read off the window's thread by whoever shows them: a sheet shown (a tab, undo or
    // redo of opening a scan, a recovered job) whose decoded scan is not held says so here, and
    // its scan is handed in when read. Sheets shown lately keep their scans within a budget, so
    // going back to one is instant; beyond it the least recently shown let theirs go.
    static constexpr qint64 ScanCacheBytes = qint64(2) << 30; // besides the two scans on screen
    std::optional<std::pair<SheetId, ScanSource>> scanWanted() const;
    // Puts a scan read for a sheet in place, when the sheet still shows that source.
    void setSheetImage(SheetId id, const ScanSource &scan, QImage image);

signals:
    // What changed; for the stations, which of them.
    void changed(SurveyDocument::Parts parts, StationRange stations);

private:
    void notify(Parts parts, StationRange stations = StationRange::none());

    ViewSettings &shown(ViewSide side);

    StationTable m_stations;
    std::vector<ViewSettings> m_sheets;
    SheetId m_shown[2] = {PlanSheet, ProfileSheet};
    std::vector<ViewSettings> m_removed; // how removed sheets were looked at, for undo (no scans)
    SurveySettings m_settings;
    bool m_showLabels = true;
    bool m_showLines = true;
    SurveyFormat m_format = SurveyFormat::LumaroFromTo;
    SurveyStyle m_style = SurveyStyle::Angle;
    bool m_modified = false;
    int m_batchDepth = 0;
    Parts m_batched;
    StationRange m_batchedStations = StationRange::none();
    void keepScansWithinBudget();
    std::vector<SheetId> m_recentlyShown;
    bool m_recording = false;
    std::vector<StationEdit> m_recorded;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(SurveyDocument::Parts)
