#pragma once

#include "stations/WallFinding.h"

#include <QObject>
#include <QTimer>

class SurveyDocument;
class StationEditor;

// Find Walls as the window runs it: over every station of every sheet in the background, one
// undoable step when it ends; meanwhile the status line counts and Esc stops it.
class WallSearch : public QObject
{
    Q_OBJECT
public:
    WallSearch(SurveyDocument &document, StationEditor &editor, QObject *parent);

    void start();
    // False when no search was running.
    bool cancel();

signals:
    void said(const QString &line);      // for the status bar
    void failed(const QString &message); // the walls found could not be applied

private:
    void finished();

    SurveyDocument &m_document;
    StationEditor &m_editor;
    WallFinding m_finding;
    QTimer m_progress;
};
