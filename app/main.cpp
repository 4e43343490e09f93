#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstring>

#include "ui/widgets/MainFrame.h"

using namespace velterra;

// velterra: the window. Options are read before Qt sees the command line so --help and
// --version work without a display.
int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("usage: velterra [--dir DIR] [--port PORT] [--baud N] [FILE.vlt]\n");
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("velterra %s\n", VELTERRA_VERSION);
            return 0;
        }
    }
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(velterra);  // the icon lives in the static widgets library
    QApplication::setApplicationName(QStringLiteral("Velterra"));
    QApplication::setOrganizationName(QStringLiteral("Velterra"));
    QApplication::setApplicationVersion(QStringLiteral(VELTERRA_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/velterra/velterra.png")));
    CMainFrame frame;
    frame.show();
    return QApplication::exec();
}
