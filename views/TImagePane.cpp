#include "views/TImagePane.h"

#include "views/ViewPainter.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

TImagePane::TImagePane(QWidget *parent) : QWidget(parent)
{
    setCursor(Qt::CrossCursor);
    setMouseTracking(true); // positions are shown while hovering, not only while dragging
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImagePane::setSnapshot(ViewSnapshot snapshot)
{
    m_snapshot = std::move(snapshot);
    resize(m_snapshot.displayedSize());
    update();
}

QImage TImagePane::sourcePicture() const
{
    return ViewPainter::sourcePicture(m_snapshot);
}

void TImagePane::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    ViewPainter::paintDisplayed(painter, m_snapshot, event->rect());
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
