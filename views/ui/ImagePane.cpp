#include "views/ui/ImagePane.h"

#include "survey/Truncate.h"
#include "views/ViewPainter.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

ImagePane::ImagePane(QWidget *parent) : QWidget(parent)
{
    setCursor(Qt::CrossCursor);
    setMouseTracking(true); // positions are shown while hovering, not only while dragging
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImagePane::setSnapshot(ViewSnapshot snapshot)
{
    m_snapshot = std::move(snapshot);
    resize(m_snapshot.displayedSize());
    update();
}

void ImagePane::collapse()
{
    resize(0, 0);
}

QImage ImagePane::sourcePicture() const
{
    return ViewPainter::sourcePicture(m_snapshot);
}

void ImagePane::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    ViewPainter::paintDisplayed(painter, m_snapshot, event->rect());
}

static QPoint pixel(const QPointF &at) { return QPoint(truncToInt(std::floor(at.x())), truncToInt(std::floor(at.y()))); }

void ImagePane::mousePressEvent(QMouseEvent *event)
{
    emit pressed(event->button(), event->modifiers(), pixel(event->position()));
}

void ImagePane::mouseMoveEvent(QMouseEvent *event)
{
    emit moved(event->buttons(), event->modifiers(), pixel(event->position()));
}

void ImagePane::mouseReleaseEvent(QMouseEvent *event)
{
    emit released(event->button(), event->modifiers(), pixel(event->position()));
}
