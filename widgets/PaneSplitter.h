#pragma once

#include <QWidget>

// The vertical bar between the two panes. Dragging it resizes the left pane (never below
// MinPaneWidth on either side: no snapping a pane shut) and reports moved() when released.
class PaneSplitter : public QWidget
{
    Q_OBJECT
public:
    static constexpr int Thickness = 8;
    static constexpr int MinPaneWidth = 30;

    explicit PaneSplitter(QWidget *parent = nullptr);

signals:
    // During a drag: the left pane should become this wide (already kept in bounds by the owner).
    void dragged(int leftPaneWidth);
    void moved();

public:
    // Set by the owner before a drag can start: the current left width and the room for both.
    void setPaneRoom(int leftPaneWidth, int bothPanesWidth);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    int m_leftWidth = 0;
    int m_bothWidth = 0;
    int m_pressGlobalX = 0;
    int m_pressLeftWidth = 0;
    bool m_dragging = false;
};
