#include "document/SurveyDocument.h"


#include <QThreadPool>
#include <algorithm>

namespace {

// Handing hundreds of megabytes of pixels back to the system takes a while (a sheet's scan let
// go when another is shown): a worker does it, so a tab switch does not wait for it.
void letGoInBackground(QImage &image)
{
    QThreadPool::globalInstance()->start([kept = std::move(image)]() mutable { kept = QImage(); });
    image = QImage();
}

} // namespace

SurveyDocument::SurveyDocument(QObject *parent) : QObject(parent)
{
    // Today a job has one plan and one profile sheet.
    m_sheets.resize(2);
    m_sheets[0].id = PlanSheet;
    m_sheets[0].kind = SheetKind::Plan;
    m_sheets[1].id = ProfileSheet;
    m_sheets[1].kind = SheetKind::Profile;
}

std::vector<SheetId> SurveyDocument::sheetsOf(SheetKind kind) const
{
    std::vector<SheetId> ids;
    for (const ViewSettings &sheet : m_sheets)
        if (sheet.kind == kind)
            ids.push_back(sheet.id);
    return ids;
}

QString SurveyDocument::sheetName(SheetId id) const
{
    const ViewSettings &named = sheet(id);
    if (!named.name.isEmpty())
        return named.name;
    const std::vector<SheetId> ids = sheetsOf(named.kind);
    const int number = int(std::find(ids.begin(), ids.end(), id) - ids.begin()) + 1;
    return (named.kind == SheetKind::Plan ? tr("Plan %1") : tr("Profile %1")).arg(number);
}

SheetId SurveyDocument::addSheet(SheetKind kind, const QString &name)
{
    SheetId id = 0;
    for (const ViewSettings &sheet : m_sheets)
        id = std::max(id, sheet.id + 1);
    ViewSettings sheet;
    sheet.id = id;
    sheet.kind = kind;
    sheet.name = name;
    // A new sheet starts with the grid entries of the one on screen: sheets of one survey are
    // often drawn alike.
    const ViewSettings &like = view(sideOf(kind));
    sheet.gridMetresEntry = like.gridMetresEntry;
    sheet.gridPixelsEntry = like.gridPixelsEntry;
    sheet.paneFraction = like.paneFraction;
    m_sheets.push_back(sheet);
    notify(SheetsPart);
    return id;
}

void SurveyDocument::removeSheet(SheetId id)
{
    const auto at = std::find_if(m_sheets.begin(), m_sheets.end(), [&](const ViewSettings &s) { return s.id == id; });
    if (at == m_sheets.end() || sheetsOf(at->kind).size() < 2)
        return;
    const ViewSide side = sideOf(at->kind);
    const bool shownNow = shownSheet(side) == id;
    ViewSettings kept = *at;
    kept.image = QImage();
    m_removed.push_back(kept);
    m_sheets.erase(at);
    if (shownNow)
        showSheet(side, sheetsOf(kindOf(side)).front());
    notify(SheetsPart | viewPart(side));
}

void SurveyDocument::renameSheet(SheetId id, const QString &name)
{
    for (ViewSettings &sheet : m_sheets)
        if (sheet.id == id)
            sheet.name = name;
    notify(SheetsPart);
}

void SurveyDocument::setSheets(std::vector<ViewSettings> sheets)
{
    m_sheets = std::move(sheets);
    for (const SheetKind kind : {SheetKind::Plan, SheetKind::Profile})
        if (sheetsOf(kind).empty()) {
            ViewSettings sheet;
            sheet.kind = kind;
            sheet.id = kind == SheetKind::Plan ? PlanSheet : ProfileSheet;
            m_sheets.push_back(sheet);
        }
    m_shown[0] = sheetsOf(SheetKind::Plan).front();
    m_shown[1] = sheetsOf(SheetKind::Profile).front();
    notify(PlanViewPart | ProfileViewPart | GridEntriesPart | OrientationPart | SheetsPart);
}

void SurveyDocument::showSheet(ViewSide side, SheetId id)
{
    const ViewSettings &wanted = sheet(id);
    if (wanted.id != id || wanted.kind != kindOf(side) || m_shown[int(side)] == id)
        return;
    m_shown[int(side)] = id;
    keepScansWithinBudget();
    notify(ShownPart | viewPart(side));
}

std::optional<std::pair<SheetId, ScanSource>> SurveyDocument::scanWanted() const
{
    for (const SheetId id : m_shown) {
        const ViewSettings &shown = sheet(id);
        if (shown.image.isNull() && !shown.imagePath.isEmpty())
            return std::make_pair(id, shown.scan());
    }
    return std::nullopt;
}

void SurveyDocument::setSheetImage(SheetId id, const ScanSource &scan, QImage image)
{
    for (ViewSettings &sheet : m_sheets) {
        if (sheet.id != id || sheet.scan() != scan)
            continue; // another scan was chosen for it meanwhile
        sheet.image = std::move(image);
        keepScansWithinBudget();
        // A scan read is a way of looking, not a change to save.
        notify(ShownPart | (id == m_shown[0] ? PlanViewPart : id == m_shown[1] ? ProfileViewPart : Parts()));
    }
}

void SurveyDocument::keepScansWithinBudget()
{
    // The most recently shown first; a sheet shown for the first time goes to the front.
    for (const SheetId id : {m_shown[1], m_shown[0]}) {
        m_recentlyShown.erase(std::remove(m_recentlyShown.begin(), m_recentlyShown.end(), id), m_recentlyShown.end());
        m_recentlyShown.insert(m_recentlyShown.begin(), id);
    }
    qint64 kept = 0;
    for (const SheetId id : m_recentlyShown) {
        for (ViewSettings &sheet : m_sheets) {
            if (sheet.id != id || sheet.image.isNull() || id == m_shown[0] || id == m_shown[1])
                continue;
            kept += sheet.image.sizeInBytes();
            if (kept > ScanCacheBytes && !sheet.imagePath.isEmpty())
                letGoInBackground(sheet.image); // read again when shown again
        }
    }
}

const ViewSettings &SurveyDocument::sheet(SheetId id) const
{
    for (const ViewSettings &sheet : m_sheets)
        if (sheet.id == id)
            return sheet;
    return m_sheets.front();
}

ViewSettings &SurveyDocument::shown(ViewSide side)
{
    return const_cast<ViewSettings &>(view(side));
}

StationRange StationRange::united(const StationRange &other) const
{
    if (isEmpty())
        return other;
    if (other.isEmpty())
        return *this;
    return {std::min(first, other.first), std::max(last, other.last)};
}

void SurveyDocument::notify(Parts parts, StationRange stations)
{
    if (parts & StationsPart && stations.isEmpty())
        stations = StationRange(); // a change of the stations that does not say which: all of them
    if (m_batchDepth > 0) {
        m_batched |= parts;
        m_batchedStations = m_batchedStations.united(stations);
        return;
    }
    emit changed(parts, stations);
}

void SurveyDocument::beginChanges()
{
    ++m_batchDepth;
}

void SurveyDocument::endChanges()
{
    if (m_batchDepth > 0 && --m_batchDepth == 0 && m_batched) {
        const Parts parts = m_batched;
        const StationRange stations = m_batchedStations;
        m_batched = {};
        m_batchedStations = StationRange::none();
        emit changed(parts, stations);
    }
}

void SurveyDocument::editStations(const std::function<void(StationTable &)> &change)
{
    change(m_stations);
    notify(StationsPart);
}

void SurveyDocument::setStation(int index, const Station &station)
{
    const bool pending = index == m_stations.count();
    if (pending ? !m_stations.hasPending() : !m_stations.contains(index))
        return;
    Station &target = pending ? m_stations.pending() : m_stations.at(index);
    if (m_recording)
        m_recorded.push_back({StationEdit::Kind::Set, index, target, station});
    target = station;
    notify(StationsPart, {index, index});
}

void SurveyDocument::appendPendingStation()
{
    if (!m_stations.hasPending())
        return;
    if (m_recording)
        m_recorded.push_back({StationEdit::Kind::Append, m_stations.count(), m_stations.pending(), Station{}});
    m_stations.appendPending();
    notify(StationsPart, {m_stations.count() - 1, m_stations.count()});
}

void SurveyDocument::insertStation(int index, const Station &station)
{
    if (index < 0 || index > m_stations.count() || m_stations.count() >= StationTable::TableSize)
        return;
    if (m_recording)
        m_recorded.push_back({StationEdit::Kind::Insert, index, Station{}, station});
    m_stations.insert(index, station);
    notify(StationsPart, {index, m_stations.count()}); // the later ones moved up
}

void SurveyDocument::removeStation(int index)
{
    if (!m_stations.contains(index))
        return;
    if (m_recording)
        m_recorded.push_back({StationEdit::Kind::Remove, index, m_stations.at(index), Station{}});
    m_stations.remove(index);
    notify(StationsPart, {index, m_stations.count() + 1}); // the later ones moved down
}

namespace {

// The stations a list of edits touched: a changed one itself, and from an inserted or removed
// one to the end, where the later ones moved.
StationRange touched(const std::vector<StationEdit> &edits, int count)
{
    StationRange range = StationRange::none();
    for (const StationEdit &edit : edits)
        range = range.united(edit.kind == StationEdit::Kind::Set ? StationRange{edit.index, edit.index}
                                                                 : StationRange{edit.index, count + 1});
    return range;
}

} // namespace

void SurveyDocument::startRecording()
{
    m_recording = true;
    m_recorded.clear();
}

std::vector<StationEdit> SurveyDocument::stopRecording()
{
    m_recording = false;
    return std::move(m_recorded);
}

void SurveyDocument::undoStationEdits(const std::vector<StationEdit> &edits)
{
    for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
        switch (edit->kind) {
        case StationEdit::Kind::Set:
            (edit->index == m_stations.count() ? m_stations.pending() : m_stations.at(edit->index)) = edit->before;
            break;
        case StationEdit::Kind::Append:
            m_stations.retractLast();
            break;
        case StationEdit::Kind::Insert:
            m_stations.remove(edit->index);
            break;
        case StationEdit::Kind::Remove:
            m_stations.insert(edit->index, edit->before);
            break;
        }
    }
    notify(StationsPart, touched(edits, m_stations.count()));
}

void SurveyDocument::redoStationEdits(const std::vector<StationEdit> &edits)
{
    for (const StationEdit &edit : edits) {
        switch (edit.kind) {
        case StationEdit::Kind::Set:
            (edit.index == m_stations.count() ? m_stations.pending() : m_stations.at(edit.index)) = edit.after;
            break;
        case StationEdit::Kind::Append:
            m_stations.appendPending();
            break;
        case StationEdit::Kind::Insert:
            m_stations.insert(edit.index, edit.after);
            break;
        case StationEdit::Kind::Remove:
            m_stations.remove(edit.index);
            break;
        }
    }
    notify(StationsPart, touched(edits, m_stations.count()));
}

UndoableSettings SurveyDocument::undoableSettings() const
{
    UndoableSettings settings{{m_sheets.begin(), m_sheets.end()}, {m_shown[0], m_shown[1]}, m_settings};
    return settings;
}

void SurveyDocument::restore(const UndoableSettings &settings)
{
    // The sheets as the settings have them: those still here keep their scan and their way of
    // looking, those that come back are made again, those that go are dropped.
    std::vector<ViewSettings> sheets;
    for (const SheetSettings &wanted : settings.sheets) {
        const auto old = std::find_if(m_sheets.begin(), m_sheets.end(), [&](const ViewSettings &s) { return s.id == wanted.id; });
        const auto gone = std::find_if(m_removed.begin(), m_removed.end(), [&](const ViewSettings &s) { return s.id == wanted.id; });
        ViewSettings sheet = old != m_sheets.end() ? *old : gone != m_removed.end() ? *gone : ViewSettings();
        const bool rescan = old == m_sheets.end() || sheet.scan() != wanted.scan();
        static_cast<SheetSettings &>(sheet) = wanted;
        if (rescan)
            sheet.image = QImage(); // read again by whoever shows it (see scanWanted)
        sheets.push_back(std::move(sheet));
    }
    m_sheets = std::move(sheets);
    for (const ViewSide side : {ViewSide::Plan, ViewSide::Profile}) {
        m_shown[int(side)] = settings.shown[int(side)];
        if (sheet(m_shown[int(side)]).id != m_shown[int(side)]) // the sheet shown went
            m_shown[int(side)] = sheetsOf(kindOf(side)).front();
    }
    keepScansWithinBudget();
    m_settings = settings.survey;
    notify(PlanViewPart | ProfileViewPart | ProfileKindPart | OrientationPart | GridEntriesPart | DetailsPart
           | SheetsPart);
}

void SurveyDocument::editView(ViewSide side, const std::function<void(ViewSettings &)> &change)
{
    change(shown(side));
    notify(viewPart(side));
}

void SurveyDocument::setGridEntries(ViewSide side, const QString &metres, const QString &pixels)
{
    ViewSettings &view = shown(side);
    view.gridMetresEntry = metres;
    view.gridPixelsEntry = pixels;
    notify(GridEntriesPart);
}

void SurveyDocument::setPaneFractions(float plan, float profile)
{
    shown(ViewSide::Plan).paneFraction = plan;
    shown(ViewSide::Profile).paneFraction = profile;
    notify(PanesPart);
}

void SurveyDocument::setProfileKind(ProfileKind kind)
{
    m_settings.profileKind = kind;
    notify(ProfileKindPart);
}

void SurveyDocument::setProjectionAzimuthEntry(const QString &text)
{
    m_settings.projectionAzimuth = TypedDegrees(text);
    // The profile's guide and the check's comparison follow the azimuth as they follow the kind.
    notify(ProfileKindPart);
}

void SurveyDocument::setOrientationEntry(const QString &text)
{
    shown(ViewSide::Plan).north = TypedDegrees(text);
    notify(OrientationPart);
}

void SurveyDocument::setShowLabels(bool shown)
{
    m_showLabels = shown;
    notify(DisplayPart);
}

void SurveyDocument::setShowLines(bool shown)
{
    m_showLines = shown;
    notify(DisplayPart);
}

void SurveyDocument::setFormat(SurveyFormat format)
{
    m_format = format;
    notify(OutputPart);
}

void SurveyDocument::setStyle(SurveyStyle style)
{
    m_style = style;
    notify(OutputPart);
}

void SurveyDocument::setModified(bool modified)
{
    m_modified = modified;
    notify(ModifiedPart);
}

void SurveyDocument::setDetails(const SurveyDetails &details)
{
    m_settings.details = details;
    notify(DetailsPart);
}

Survey SurveyDocument::survey() const
{
    Survey survey;
    survey.stations = m_stations;
    survey.sheets.clear();
    for (const ViewSettings &sheet : m_sheets)
        survey.sheets.push_back({sheet.id, sheet.kind, sheet.calibration,
                                 sheet.kind == SheetKind::Plan ? sheet.north.required() : 0.0,
                                 sheet.name});
    survey.style = m_style;
    survey.details = m_settings.details.writable();
    survey.profileKind = m_settings.profileKind;
    survey.projectionAzimuthDeg = m_settings.projectionAzimuth.required();
    return survey;
}
