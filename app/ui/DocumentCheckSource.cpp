#include "app/ui/DocumentCheckSource.h"

DocumentCheckSource::DocumentCheckSource(const SurveyDocument &document, EditSession &session, QObject *parent)
    : CheckSource(parent), m_document(document), m_session(session)
{
    connect(&m_document, &SurveyDocument::changed, this, [this](SurveyDocument::Parts parts) {
        // What the check reads: the stations, north, the kind of profile and its scale.
        const SurveyDocument::Parts written =
            SurveyDocument::StationsPart | SurveyDocument::OrientationPart | SurveyDocument::ProfileKindPart;
        if (parts & (written | SurveyDocument::ProfileViewPart))
            emit surveyChanged(bool(parts & written));
    });
    connect(&m_session, &EditSession::changed, this, [this](EditSession::Parts parts) {
        if (parts & EditSession::CheckPart)
            emit toleranceChanged();
    });
}

LegTolerance DocumentCheckSource::tolerance() const
{
    LegTolerance tolerance;
    tolerance.pixels = m_session.tolerancePixels();
    tolerance.metres = m_session.toleranceMetres();
    tolerance.percent = m_session.tolerancePercent();
    return tolerance;
}

void DocumentCheckSource::setTolerance(const LegTolerance &tolerance)
{
    m_session.setTolerance(tolerance.pixels, tolerance.metres, tolerance.percent);
}
