#pragma once

#include "views/ViewSnapshot.h"

#include <QWidget>

// The image control of a pane: sits at the top-left of its scroll box, shows a view snapshot
// stretched by its zoom (so the widget's pixels are displayed pixels), shows a cross-hair cursor
// and reports mouse presses, moves and releases in its own displayed pixels.
//
// A redraw hands it a new snapshot; it paints only the exposed part, reading only the source
// pixels that reach it, so the cost of a repaint follows the visible area, not the scan's size.
class ImagePane : public QWidget
{
    Q_OBJECT
public:
    explicit ImagePane(QWidget *parent = nullptr);

    // Takes the snapshot, sizes itself to its displayed size and schedules a repaint.
    void setSnapshot(ViewSnapshot snapshot);
    const ViewSnapshot &snapshot() const { return m_snapshot; }
    // Shows nothing (zero size) until the next snapshot.
    void collapse();

    // The annotated view at source size, as it stands after the last redraw (for saving).
    QImage sourcePicture() const;

signals:
    void pressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at);
    void moved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPoint at);
    void released(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    ViewSnapshot m_snapshot;
};
