#pragma once
#include <QWidget>

namespace velterra {

class CCurveEditor;

// The curve of the selected LUT option with its nodes on a grid, edited with the mouse. The
// editor holds every rule; this widget hands it the size and the mouse and paints what it
// computes. Qt's backing store paints off-screen and shows the result in one step.
class CLutView : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kId = 103;

    explicit CLutView(CCurveEditor& editor, QWidget* parent = nullptr);
    ~CLutView() override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    CCurveEditor& editor_;
};

}  // namespace velterra
