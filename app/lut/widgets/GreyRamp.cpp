#include "lut/widgets/GreyRamp.h"

#include <QImage>
#include <QPainter>

#include "lut/LutGreyRamp.h"

namespace velterra {

GreyRamp::GreyRamp(Qt::Orientation orientation, int id, QWidget* parent)
    : QFrame(parent), orientation_(orientation) {
    setObjectName(QString::number(id));
}

void GreyRamp::paintEvent(QPaintEvent*) {
    const int w = width();
    const int h = height();
    if (w <= 0 || h <= 0) return;
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int g = orientation_ == Qt::Horizontal ? HorizontalRampGrey(x, 0, w)
                                                         : VerticalRampGrey(y, h, h);
            line[x] = qRgb(g, g, g);
        }
    }
    QPainter(this).drawImage(0, 0, image);
}

}  // namespace velterra
