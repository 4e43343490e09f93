#include "lut/widgets/LutView.h"

#include <QMouseEvent>
#include <QPainter>
#include <vector>

#include "lut/CurveEditor.h"
#include "lut/LutTexts.h"

namespace velterra {

CLutView::CLutView(CCurveEditor& editor, QWidget* parent) : QWidget(parent), editor_(editor) {
    setObjectName(QString::number(kId));
    setWindowTitle(QString::fromUtf8(LutTexts::kImageView));
    // Moves without a button show the LUT position under the mouse.
    setMouseTracking(true);
    editor_.SetRedrawHandler([this] { update(); });
    editor_.SetViewSize(width(), height());
}

CLutView::~CLutView() {
    editor_.SetRedrawHandler({});
}

void CLutView::paintEvent(QPaintEvent*) {
    const CurveGeometry g = editor_.Geometry();
    if (!g.visible) return;
    QPainter painter(this);
    const QColor face = palette().color(QPalette::Button);
    painter.fillRect(rect(), face);

    painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
    for (int x : g.gridX) painter.drawLine(x, 0, x, g.height);
    for (int y : g.gridY) painter.drawLine(0, y, g.width, y);

    painter.setPen(QPen(Qt::black, 0, Qt::SolidLine));
    painter.setBrush(face);
    for (const NodeSquare& n : g.nodes) {
        if (n.selected) {
            painter.fillRect(n.left, n.top, n.right - n.left, n.bottom - n.top, Qt::black);
        } else {
            // An outline stroke covers one pixel more than the rectangle it is given.
            painter.drawRect(n.left, n.top, n.right - n.left - 1, n.bottom - n.top - 1);
        }
    }

    std::vector<QPoint> points;
    points.reserve(g.polyline.size());
    for (const ScreenPoint& p : g.polyline) points.emplace_back(p.x, p.y);
    if (!points.empty()) painter.drawPolyline(points.data(), static_cast<int>(points.size()));
}

void CLutView::resizeEvent(QResizeEvent*) {
    editor_.SetViewSize(width(), height());
}

void CLutView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint p = event->position().toPoint();
    editor_.OnLeftButtonDown(p.x(), p.y());
}

void CLutView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    editor_.OnMouseMove(p.x(), p.y(), (event->buttons() & Qt::LeftButton) != 0);
}

void CLutView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint p = event->position().toPoint();
    editor_.OnLeftButtonUp(p.x(), p.y());
}

}  // namespace velterra
