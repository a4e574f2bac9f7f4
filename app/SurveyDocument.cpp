#include "app/SurveyDocument.h"

SurveyDocument::SurveyDocument(QObject *parent) : QObject(parent) {}

void SurveyDocument::notify(Parts parts)
{
    if (m_batchDepth > 0) {
        m_batched |= parts;
        return;
    }
    emit changed(parts);
}

void SurveyDocument::beginChanges()
{
    ++m_batchDepth;
}

void SurveyDocument::endChanges()
{
    if (m_batchDepth > 0 && --m_batchDepth == 0 && m_batched) {
        const Parts parts = m_batched;
        m_batched = {};
        emit changed(parts);
    }
}

void SurveyDocument::editStations(const std::function<void(StationTable &)> &change)
{
    change(m_stations);
    notify(StationsPart);
}

void SurveyDocument::editView(ViewSide side, const std::function<void(ViewSettings &)> &change)
{
    change(m_views[int(side)]);
    notify(viewPart(side));
}

void SurveyDocument::setGridEntries(ViewSide side, const QString &metres, const QString &pixels)
{
    ViewSettings &view = m_views[int(side)];
    view.gridMetresEntry = metres;
    view.gridPixelsEntry = pixels;
    notify(GridEntriesPart);
}

void SurveyDocument::setPaneFractions(float plan, float profile)
{
    m_views[int(ViewSide::Plan)].paneFraction = plan;
    m_views[int(ViewSide::Profile)].paneFraction = profile;
    notify(PanesPart);
}

void SurveyDocument::setProfileKind(ProfileKind kind)
{
    m_profileKind = kind;
    notify(ProfileKindPart);
}

void SurveyDocument::setOrientationEntry(const QString &text)
{
    m_orientationEntry = text;
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
