#pragma once
#include <QFrame>

namespace velterra {

// A picture frame beside the curve view painted as a grey ramp: under the graph black on the
// left to white on the right, left of it white at the top to black at the bottom.
class GreyRamp : public QFrame {
    Q_OBJECT

  public:
    GreyRamp(Qt::Orientation orientation, int id, QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    Qt::Orientation orientation_;
};

}  // namespace velterra
