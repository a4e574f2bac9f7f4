#pragma once

#include <QTimer>
#include <QWidget>

// An up-down spinner without an edit box: two arrow buttons, a position clamped to a range
// (no wrap-around) and an increment. A press reports mouseDown (with the modifiers) before the
// first step, so a handler can set the increment that this very press uses; each step that
// changes the position emits clicked, and holding an arrow repeats the step.
class UpDown : public QWidget
{
    Q_OBJECT
public:
    UpDown(Qt::Orientation orientation, QWidget *parent = nullptr);

    int position() const { return m_position; }
    void setPosition(int position); // clamped; no clicked signal
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    void setRange(int minimum, int maximum);
    int increment() const { return m_increment; }
    void setIncrement(int increment) { m_increment = increment; }
    Qt::Orientation orientation() const { return m_orientation; }

    // The point to press for the "up" arrow (right arrow when horizontal) or the other one.
    QPoint arrowCentre(bool up) const;

signals:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void step();
    QRect arrowRect(bool up) const;

    Qt::Orientation m_orientation;
    int m_position = 0;
    int m_minimum = 0;
    int m_maximum = 100;
    int m_increment = 1;
    int m_pressedArrow = 0; // +1 up, -1 down, 0 none
    QTimer m_repeat;
};
