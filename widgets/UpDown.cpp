#include "widgets/UpDown.h"

#include <QMouseEvent>
#include <QStyleOption>
#include <QStylePainter>
#include <algorithm>

UpDown::UpDown(Qt::Orientation orientation, QWidget *parent)
    : QWidget(parent), m_orientation(orientation)
{
    m_repeat.setSingleShot(false);
    connect(&m_repeat, &QTimer::timeout, this, [this] {
        m_repeat.setInterval(60);
        step();
    });
}

void UpDown::setPosition(int position)
{
    m_position = std::clamp(position, m_minimum, m_maximum);
    update();
}

void UpDown::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
    setPosition(m_position);
}

QRect UpDown::arrowRect(bool up) const
{
    if (m_orientation == Qt::Vertical) {
        const int half = height() / 2;
        return up ? QRect(0, 0, width(), half) : QRect(0, half, width(), height() - half);
    }
    const int half = width() / 2;
    return up ? QRect(half, 0, width() - half, height()) : QRect(0, 0, half, height());
}

QPoint UpDown::arrowCentre(bool up) const { return arrowRect(up).center(); }

void UpDown::step()
{
    if (m_pressedArrow == 0)
        return;
    const long wanted = long(m_position) + long(m_pressedArrow) * m_increment;
    const int next = int(std::clamp<long>(wanted, m_minimum, m_maximum));
    if (next == m_position)
        return; // at the end of the range: no change, no click
    m_position = next;
    update();
    emit clicked();
}

void UpDown::mousePressEvent(QMouseEvent *event)
{
    const bool up = arrowRect(true).contains(event->position().toPoint());
    emit mouseDown(event->button(), event->modifiers());
    if (event->button() != Qt::LeftButton)
        return;
    m_pressedArrow = up ? 1 : -1;
    update();
    step();
    m_repeat.start(400);
}

void UpDown::mouseReleaseEvent(QMouseEvent *)
{
    m_repeat.stop();
    m_pressedArrow = 0;
    update();
}

void UpDown::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    for (const bool up : {true, false}) {
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = arrowRect(up);
        const bool sunken = m_pressedArrow == (up ? 1 : -1);
        button.state |= sunken ? QStyle::State_Sunken : QStyle::State_Raised;
        painter.drawControl(QStyle::CE_PushButtonBevel, button);
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = button.rect.adjusted(2, 2, -2, -2);
        const QStyle::PrimitiveElement element =
            m_orientation == Qt::Vertical ? (up ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown)
                                          : (up ? QStyle::PE_IndicatorArrowRight : QStyle::PE_IndicatorArrowLeft);
        painter.drawPrimitive(element, arrow);
    }
}
