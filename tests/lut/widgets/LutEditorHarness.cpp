// The LUT editor on a window of its own with a bent 12-bit, 4-tap curve and a selected node:
// the picture the screenshot check takes. Prints "shown" once the dialog is on screen.
#include <QApplication>
#include <QTimer>
#include <cstdio>

#include "lut/widgets/LutDialog.h"
#include "lut/widgets/LutView.h"

using namespace velterra;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    CLutDialog dialog;
    if (!dialog.InitLut(false, 12, 4)) return 1;
    dialog.show();
    CCurveEditor& editor = dialog.Model().View();
    const int w = dialog.View()->width();
    const int h = dialog.View()->height();
    // Where the curve crosses column x of the view.
    const auto curveY = [&editor](int x) {
        for (const ScreenPoint& p : editor.Geometry().polyline)
            if (p.x >= x) return p.y;
        return 0;
    };
    // Two nodes put into the curve and pulled apart, the second one left selected.
    editor.OnLeftButtonDown(2 * w / 3, curveY(2 * w / 3));
    editor.OnMouseMove(2 * w / 3, h / 5, true);
    editor.OnLeftButtonUp(2 * w / 3, h / 5);
    editor.OnLeftButtonDown(w / 3, curveY(w / 3));
    editor.OnMouseMove(w / 3, h - 1 - h / 8, true);
    editor.OnLeftButtonUp(w / 3, h - 1 - h / 8);
    QTimer::singleShot(300, [] {
        std::printf("shown\n");
        std::fflush(stdout);
    });
    return QApplication::exec();
}
