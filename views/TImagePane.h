#pragma once

#include <QWidget>

// The image control of a pane: sits at the top-left of its scroll box, is as large as the source
// image times the zoom, shows a cross-hair cursor and reports mouse presses, moves and releases
// in its own displayed pixels.
class TImagePane : public QWidget
{
    Q_OBJECT
public:
    explicit TImagePane(QWidget *parent = nullptr);

signals:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseMove(Qt::KeyboardModifiers modifiers, int x, int y);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
};
