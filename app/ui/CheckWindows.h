#pragma once

#include "views/ViewSnapshot.h"

#include <QObject>
#include <QVector>

class CentrelineWindow;
class EditSession;
class SurveyCheckWindow;
class SurveyDocument;
class QWidget;

// The survey check and the 3D view, each made when first asked for and then kept, and what the
// check draws over the views (a traverse, the adjustment's arrows).
class CheckWindows : public QObject
{
    Q_OBJECT
public:
    CheckWindows(SurveyDocument &document, EditSession &session, QWidget *window);

    void showCheck();
    void show3d();
    void hide();
    const ViewOverlay &overlay() const { return m_overlay; }

signals:
    void stationChosen(int index);
    void overlayChanged();
    // Give these table entries one label: the check found them to be one station.
    void tieAsked(const QVector<int> &entries, const QString &label);

private:
    SurveyDocument &m_document;
    EditSession &m_session;
    QWidget *m_window;
    SurveyCheckWindow *m_check = nullptr;
    CentrelineWindow *m_centreline = nullptr;
    ViewOverlay m_overlay;
};
