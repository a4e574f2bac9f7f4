#include "stations/WallSearch.h"

#include "document/SurveyDocument.h"
#include "stations/StationEditor.h"
#include "survey/CommandError.h"

WallSearch::WallSearch(SurveyDocument &document, StationEditor &editor, QObject *parent)
    : QObject(parent), m_document(document), m_editor(editor)
{
    m_progress.setInterval(100);
    connect(&m_progress, &QTimer::timeout, this, [this] {
        emit said(tr("Finding walls: %1 of %2 stations (Esc stops).").arg(m_finding.done()).arg(m_finding.total()));
    });
    connect(&m_finding, &WallFinding::finished, this, &WallSearch::finished);
}

void WallSearch::start()
{
    if (m_finding.isRunning())
        return;
    m_finding.start(WallFinding::searches(m_document), m_document.stations());
    m_progress.start();
}

bool WallSearch::cancel()
{
    if (!m_finding.isRunning())
        return false;
    m_finding.cancel();
    return true;
}

void WallSearch::finished()
{
    m_progress.stop();
    const WallFinding::Result &result = m_finding.result();
    if (result.cancelled) {
        emit said(tr("Find Walls stopped; nothing was changed."));
        return;
    }
    try {
        const int found = m_editor.applyFoundWalls(result.found);
        QString line = tr("%n passage dimensions found on the drawings.", nullptr, found);
        if (result.unsure > 0)
            line += QLatin1Char(' ')
                + tr("%n left empty where the drawing does not show the wall clearly.", nullptr, result.unsure);
        emit said(line);
    } catch (const CommandError &error) {
        emit failed(error.message());
    }
}
