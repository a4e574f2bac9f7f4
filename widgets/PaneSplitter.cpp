#include "widgets/PaneSplitter.h"

#include <QMouseEvent>
#include <QStyleOption>
#include <QStylePainter>
#include <algorithm>

PaneSplitter::PaneSplitter(QWidget *parent) : QWidget(parent)
{
    setCursor(Qt::SplitHCursor);
}

void PaneSplitter::setPaneRoom(int leftPaneWidth, int bothPanesWidth)
{
    m_leftWidth = leftPaneWidth;
    m_bothWidth = bothPanesWidth;
}

void PaneSplitter::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.frameShape = QFrame::Panel;
    frame.state |= QStyle::State_Raised;
    frame.lineWidth = 1;
    painter.drawControl(QStyle::CE_ShapedFrame, frame);
}

void PaneSplitter::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_dragging = true;
    m_pressGlobalX = int(event->globalPosition().x());
    m_pressLeftWidth = m_leftWidth;
}

void PaneSplitter::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    const int wanted = m_pressLeftWidth + int(event->globalPosition().x()) - m_pressGlobalX;
    const int upper = std::max(MinPaneWidth, m_bothWidth - MinPaneWidth);
    emit dragged(std::clamp(wanted, MinPaneWidth, upper));
}

void PaneSplitter::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_dragging || event->button() != Qt::LeftButton)
        return;
    mouseMoveEvent(event);
    m_dragging = false;
    emit moved();
}
