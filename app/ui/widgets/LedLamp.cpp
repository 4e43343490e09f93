#include "LedLamp.h"

#include <QPainter>

namespace velterra {

LedLamp::LedLamp(std::function<bool()> lit, QWidget* parent)
    : QWidget(parent), lit_(std::move(lit)) {
    setFixedSize(kSide, kSide);
}

void LedLamp::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), CurrentColor());
}

}  // namespace velterra
