#include <unistd.h>

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/CoreTexts.h"
#include "core/VelterraApp.h"
#include "core/VelterraDoc.h"
#include "ui/WindowArguments.h"
#include "ui/widgets/FirstPaintReport.h"
#include "ui/widgets/MainFrame.h"
#include "ui/widgets/WindowParts.h"

using namespace velterra;

namespace {

// Longer than any single exchange with its time limits and the clearing of the line after it.
constexpr int kReleaseWaitMs = 10000;

// A path the user typed is relative to where the program was started, not to --dir.
std::string FromInvocation(const std::string& typed) {
    if (typed.empty()) return typed;
    std::error_code error;
    const std::filesystem::path path = std::filesystem::absolute(typed, error);
    return error ? typed : path.string();
}

}  // namespace

// velterra: the window. The command line is read before the toolkit sees it, so --help and
// --version work without a display.
int main(int argc, char** argv) {
    const auto start = std::chrono::steady_clock::now();
    const WindowArguments args =
        WindowArguments::Parse(std::vector<std::string>(argv + 1, argv + argc));
    switch (args.request) {
        case WindowArguments::Request::Help:
            std::printf("%s", kWindowUsage);
            return 0;
        case WindowArguments::Request::Version:
            std::printf("velterra %s\n", VELTERRA_VERSION);
            return 0;
        case WindowArguments::Request::Usage:
            std::fprintf(stderr, "velterra: %s\n%s", args.problem.c_str(), kWindowUsage);
            return 64;
        case WindowArguments::Request::Run:
            break;
    }
    const std::string settingsFile = FromInvocation(args.settingsFile);

    CVelterraApp app;
    std::string failure;
    if (!app.InitInstance({args.startupDirectory, {}}, &failure)) {
        std::fprintf(stderr, "velterra: %s\n", failure.c_str());
        return 1;
    }
    if (app.Registry() == nullptr) {
        std::fprintf(stderr, "velterra: %s; going on without the port registry\n",
                     app.RegistryFailure().c_str());
    }

    // SIGINT and SIGTERM close the window as "E&xit" does. The watcher starts before the
    // toolkit's own threads, so none of them takes the signals instead.
    std::atomic<CMainFrame*> window{nullptr};
    app.WatchTerminationSignals([&app, &window](int signal) {
        // An operation under way skips its remaining exchanges, so the window's thread is
        // soon free to close.
        app.Doc().ExchangeRuns.RequestStop();
        if (CMainFrame* frame = window.load()) {
            QMetaObject::invokeMethod(
                frame, [frame] { frame->CloseLikeExit(); }, Qt::QueuedConnection);
            return;
        }
        app.Doc().ReleaseOwnPortsNow(kReleaseWaitMs);
        _exit(128 + signal);
    });

    QApplication qapp(argc, argv);
    Q_INIT_RESOURCE(velterra);  // the icon lives in the static widgets library
    QApplication::setApplicationName(QString::fromUtf8(CoreText::kApplicationTitle));
    QApplication::setOrganizationName(QStringLiteral("Velterra"));
    QApplication::setApplicationVersion(QStringLiteral(VELTERRA_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/velterra/velterra.png")));

    int status = 0;
    {
        CMainFrame frame(app);
        CWindowParts parts(frame);
        if (args.lutFunctions) frame.SetLutFunctionsEnabled(true, false);
        window = &frame;
        FirstPaintReport::InstallIfAsked(frame, start);
        frame.show();
        parts.OnShown();
        // The window paints before the command line's requests run.
        QTimer::singleShot(0, &frame, [&frame, &args, &settingsFile] {
            frame.StartWith(args.slot, args.baudRate, settingsFile);
        });
        status = QApplication::exec();
        // No signal handler may reach the frame from here on.
        window = nullptr;
        app.StopWatchingSignals();
    }
    // The document closes this process's ports and frees their slots, then the registry goes.
    app.ExitInstance();
    return status;
}
