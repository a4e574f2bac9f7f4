#pragma once

#include "checks/ui/CheckSource.h"

#include <QTimer>
#include <QWidget>

class CentrelineView;
class QCheckBox;
class QLabel;

// "3D view": the survey's centreline as the check places it, coloured by height, with the legs
// that disagree and the loops misclosed beyond the tolerance highlighted. It follows every
// change of the survey and of the tolerance.
class CentrelineWindow : public QWidget
{
    Q_OBJECT
public:
    // Takes the source as its own.
    explicit CentrelineWindow(CheckSource *source, QWidget *parent = nullptr);

    void bringToFront();
    CentrelineView *view() const { return m_view; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void rebuild();

    CheckSource *m_source;
    CentrelineView *m_view = nullptr;
    QCheckBox *m_labels = nullptr;
    QLabel *m_status = nullptr;
    bool m_stale = true;
    QTimer m_followTimer;
};
