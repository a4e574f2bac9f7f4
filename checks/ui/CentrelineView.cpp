#include "checks/ui/CentrelineView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace {
constexpr double DegreesPerPixel = 0.5; // of drag
}

CentrelineView::CentrelineView(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Centreline in 3D"));
    setMinimumSize(200, 150);
}

void CentrelineView::setScene(const CentrelineScene &scene)
{
    const bool first = m_scene.stations.isEmpty();
    m_scene = scene;
    if (first || !m_fitted) {
        m_camera.fit(m_scene.stations, CentrelinePainter::drawingArea(size()));
        m_fitted = !m_scene.stations.isEmpty() && isVisible();
    }
    update();
}

void CentrelineView::setLabelsShown(bool shown)
{
    m_labels = shown;
    update();
}

void CentrelineView::look(const CentrelineCamera &camera)
{
    m_camera = camera;
    m_camera.fit(m_scene.stations, CentrelinePainter::drawingArea(size()));
    update();
}

void CentrelineView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    CentrelinePainter::paint(painter, m_scene, m_camera, size(), m_labels);
}

void CentrelineView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Until the caver turns or zooms, the survey keeps filling the window.
    if (!m_fitted) {
        m_camera.fit(m_scene.stations, CentrelinePainter::drawingArea(size()));
        m_fitted = !m_scene.stations.isEmpty() && isVisible();
    } else {
        m_camera.origin += QPointF(event->size().width() - event->oldSize().width(),
                                   event->size().height() - event->oldSize().height()) / 2.0;
    }
}

void CentrelineView::mousePressEvent(QMouseEvent *event)
{
    m_dragFrom = event->position();
    setFocus();
}

void CentrelineView::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    const QPointF moved = event->position() - m_dragFrom;
    m_dragFrom = event->position();
    // Dragging right turns the cave to the right (the viewer walks round it to the left);
    // dragging down tilts it towards looking from above.
    m_camera.rotate(-moved.x() * DegreesPerPixel, moved.y() * DegreesPerPixel);
    m_fitted = true;
    update();
}

void CentrelineView::wheelEvent(QWheelEvent *event)
{
    const double steps = event->angleDelta().y() / 120.0;
    if (steps == 0.0)
        return;
    m_camera.zoomAt(event->position(), std::pow(1.25, steps));
    m_fitted = true;
    update();
}

void CentrelineView::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_P:
        look(CentrelineCamera::plan());
        break;
    case Qt::Key_N:
        look(CentrelineCamera::northFacing());
        break;
    case Qt::Key_E:
        look(CentrelineCamera::eastFacing());
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}
