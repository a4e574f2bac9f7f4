#pragma once

#include "checks/CentrelineDrawing.h"

#include <QWidget>

// The centreline drawn in 3D: drag to turn it, the wheel zooms about the cursor, P, N and E show
// the plan and the north- and east-facing elevations.
class CentrelineView : public QWidget
{
    Q_OBJECT
public:
    explicit CentrelineView(QWidget *parent = nullptr);

    // A new scene keeps the way it is looked at, unless it is the first with any stations.
    void setScene(const CentrelineScene &scene);
    void setLabelsShown(bool shown);
    // One of the presets, fitted to the widget.
    void look(const CentrelineCamera &camera);
    const CentrelineCamera &camera() const { return m_camera; }

    QSize sizeHint() const override { return {720, 520}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    CentrelineScene m_scene;
    CentrelineCamera m_camera;
    bool m_labels = false;
    bool m_fitted = false;
    QPointF m_dragFrom;
};
