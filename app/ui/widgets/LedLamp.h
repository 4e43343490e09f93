#pragma once
#include <QColor>
#include <QWidget>
#include <functional>

namespace velterra {

// The view's 12x12 status lamp: red while the camera does not answer or a transfer runs, dark
// grey otherwise. It asks for its state when it paints, so a late repaint shows the current one.
class LedLamp : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kSide = 12;
    static QColor OnColor() { return QColor(255, 0, 0); }
    static QColor OffColor() { return QColor(45, 45, 45); }

    explicit LedLamp(std::function<bool()> lit, QWidget* parent = nullptr);
    QColor CurrentColor() const { return lit_() ? OnColor() : OffColor(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::function<bool()> lit_;
};

}  // namespace velterra
