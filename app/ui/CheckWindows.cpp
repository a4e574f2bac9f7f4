#include "app/ui/CheckWindows.h"

#include "app/ui/DocumentCheckSource.h"
#include "checks/ui/CentrelineWindow.h"
#include "checks/ui/SurveyCheckWindow.h"

CheckWindows::CheckWindows(SurveyDocument &document, EditSession &session, QWidget *window)
    : QObject(window), m_document(document), m_session(session), m_window(window)
{
}

void CheckWindows::showCheck()
{
    if (!m_check) {
        m_check = new SurveyCheckWindow(new DocumentCheckSource(m_document, m_session), m_window);
        connect(m_check, &SurveyCheckWindow::stationChosen, this, &CheckWindows::stationChosen);
        connect(m_check, &SurveyCheckWindow::tieAsked, this, &CheckWindows::tieAsked);
        connect(m_check, &SurveyCheckWindow::overlayChanged, this, [this](const ViewOverlay &overlay) {
            m_overlay = overlay;
            emit overlayChanged();
        });
    }
    m_check->bringToFront();
}

void CheckWindows::show3d()
{
    if (!m_centreline)
        m_centreline = new CentrelineWindow(new DocumentCheckSource(m_document, m_session), m_window);
    m_centreline->bringToFront();
}

void CheckWindows::hide()
{
    if (m_check)
        m_check->hide();
    if (m_centreline)
        m_centreline->hide();
}
