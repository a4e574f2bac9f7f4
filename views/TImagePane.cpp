#include "views/TImagePane.h"

#include <QMouseEvent>
#include <cmath>

TImagePane::TImagePane(QWidget *parent) : QWidget(parent)
{
    setCursor(Qt::CrossCursor);
    setMouseTracking(true); // positions are shown while hovering, not only while dragging
    setAttribute(Qt::WA_OpaquePaintEvent);
}

static int pixel(qreal v) { return int(std::floor(v)); }

void TImagePane::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(event->button(), event->modifiers(), pixel(event->position().x()), pixel(event->position().y()));
}

void TImagePane::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(event->modifiers(), pixel(event->position().x()), pixel(event->position().y()));
}

void TImagePane::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseUp(event->button(), event->modifiers(), pixel(event->position().x()), pixel(event->position().y()));
}
