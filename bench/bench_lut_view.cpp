// The LUT curve view while a node is dragged: a 14-bit curve (16384 entries) rebuilt and
// painted for every mouse move, rendered offscreen into an image the size of the view. Prints
// the median and the worst time of one move (edit, rebuild and paint).
//   bench_lut_view [moves, default 400]
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "lut/widgets/LutDialog.h"
#include "lut/widgets/LutView.h"

using namespace velterra;

int main(int argc, char** argv) {
    const int moves = argc > 1 ? std::max(10, std::atoi(argv[1])) : 400;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CLutDialog dialog;
    if (!dialog.InitLut(false, 14, 4)) return 1;
    dialog.show();
    QWidget* view = dialog.View();
    const int w = view->width();
    const int h = view->height();
    QImage image(view->size(), QImage::Format_RGB32);

    const auto send = [view](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, view->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    };
    // A node put into the middle of the curve, then dragged up and down.
    send(QEvent::MouseButtonPress, {w / 2, h - 1 - h / 2}, Qt::LeftButton);
    std::vector<double> samples;
    for (int i = 0; i < moves; ++i) {
        const QPoint at(w / 2 + (i % 40) - 20, 10 + (i * 7) % (h - 20));
        const auto start = std::chrono::steady_clock::now();
        send(QEvent::MouseMove, at, Qt::LeftButton);
        view->render(&image);
        samples.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    send(QEvent::MouseButtonRelease, {w / 2, h / 2}, Qt::NoButton);
    std::sort(samples.begin(), samples.end());
    std::printf(
        "LUT view drag, 14-bit curve (16384 entries, 4 taps kept in step), %dx%d view, %d moves:\n"
        "  median %.3f ms   90th percentile %.3f ms   worst %.3f ms per move (rebuild + paint)\n",
        w, h, moves, samples[samples.size() / 2], samples[samples.size() * 9 / 10], samples.back());
    return 0;
}
