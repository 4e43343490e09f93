// The parameter view in a window of its own, connected to a camera: velterra-camsim's COM1
// for the screenshot check. Prints "connected" once the parameters are shown.
//   view_harness CONFIG_DIR [SLOT]
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "ViewTestSupport.h"
#include "core/PortRegistry.h"
#include "core/UpdateHints.h"
#include "core/VelterraDoc.h"
#include "ui/widgets/VelterraView.h"

using namespace velterra;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: view_harness CONFIG_DIR [SLOT]\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velterra"));
    const int slot = argc > 2 ? std::atoi(argv[2]) : 6;
    std::unique_ptr<PortRegistry> registry = PortRegistry::Open(PortRegistry::BlockName());
    if (registry) registry->WriteTags();
    CVelterraDoc doc(argv[1]);
    doc.SetPortRegistry(registry.get());
    ViewTestUi ui;
    ui.openCamera = [slot](CVelterraDoc& d) { return ConnectSlotForView(d, slot); };
    doc.SetUserInterface(&ui);
    int status = 0;
    {
        CVelterraView view(doc);
        ui.view = &view;
        view.setWindowTitle(QStringLiteral("Velterra view"));
        view.resize(760, 640);
        view.show();
        view.OnInitialUpdate();
        QTimer::singleShot(0, &view, [&] {
            doc.OnOpenCamera();
            doc.LogMessage(doc.PortIndex == slot ? "connected for the screenshot"
                                                 : "the camera did not connect");
            std::printf("%s\n", doc.PortIndex == slot ? "connected" : "not connected");
            std::fflush(stdout);
        });
        status = QApplication::exec();
        ui.view = nullptr;
    }
    doc.SetUserInterface(nullptr);
    return status;
}
