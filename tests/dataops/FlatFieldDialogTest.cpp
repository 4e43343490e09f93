// The flat-field dialog on a scripted camera whose probes are slow: the window keeps running
// its event loop through the wait, the controls follow the steps, and Cancel during a wait
// closes the dialog and sends nothing more.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <functional>
#include <thread>

#include "EngineTestSupport.h"
#include "dataops/DataOpsTexts.h"
#include "dataops/widgets/FlatFieldDialog.h"

using namespace velterra;

namespace enginetest {
namespace {

using Dialog = CFlatFieldDialog;
constexpr int kSlowProbeMs = 400;

QApplication& App() {
    static int argc = 1;
    static char name[] = "dataops_widget_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}

// Runs the event loop until the condition holds; false after the time limit.
bool RunUntil(const std::function<bool()>& condition, int limitMs = 10000) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > limitMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

template <class Widget>
Widget* Control(Dialog& dialog, int id) {
    return dialog.findChild<Widget*>(QString::number(id));
}

class FlatFieldDialogTest : public ::testing::Test {
  protected:
    FlatFieldDialogTest() {
        App();
        f.camera.duringCall = [](const Call& call) {
            if (call.command == 0x8F) {
                std::this_thread::sleep_for(std::chrono::milliseconds(kSlowProbeMs));
            }
        };
    }
    EngineFixture f;
};

TEST_F(FlatFieldDialogTest, WaitKeepsTheWindowRunningThenCancelCloses) {
    // Dark step: the camera answers the second poll. Bright step: busy until cancelled.
    f.camera.commandResults = {1, 0, 1, 1};
    f.camera.commandResult = 0;
    Dialog dialog(f.doc, 30);
    dialog.show();
    auto* text = Control<QLabel>(dialog, Dialog::kIdText);
    auto* progress = Control<QProgressBar>(dialog, Dialog::kIdProgress);
    auto* next = Control<QPushButton>(dialog, Dialog::kIdNext);
    auto* skip = Control<QPushButton>(dialog, Dialog::kIdSkip);
    auto* cancel = Control<QPushButton>(dialog, Dialog::kIdCancel);
    ASSERT_TRUE(text && progress && next && skip && cancel);
    EXPECT_EQ(dialog.windowTitle(), "Flat-Field Correction");
    EXPECT_EQ(text->text().toStdString(), DataOpsText::kFlatFieldDarkStep);
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(next->text(), "Next");

    int ticks = 0;
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] { ++ticks; });
    heartbeat.start(20);
    next->click();
    EXPECT_EQ(text->text().toStdString(), DataOpsText::kFlatFieldPleaseWait);
    EXPECT_TRUE(progress->isVisible() && cancel->isVisible());
    EXPECT_FALSE(next->isVisible() || skip->isVisible());
    EXPECT_EQ(progress->value(), 5);
    ASSERT_TRUE(RunUntil([&] { return progress->value() == 10; }));
    ASSERT_TRUE(RunUntil([&] { return !dialog.Wizard().Waiting(); }));
    // Two slow probes and two pauses went by with the event loop running all along.
    EXPECT_GT(ticks, 50);
    EXPECT_EQ(text->text().toStdString(), DataOpsText::kFlatFieldBrightStep);
    EXPECT_TRUE(next->isVisible() && skip->isVisible() && cancel->isVisible());
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(f.doc.FfcRunning);

    next->click();
    ASSERT_TRUE(RunUntil([&] { return progress->value() == 10; }));
    EXPECT_TRUE(f.doc.FfcRunning);
    cancel->click();
    EXPECT_FALSE(f.doc.FfcRunning);
    ASSERT_TRUE(RunUntil([&] { return !dialog.isVisible(); }));
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    const auto sent = f.camera.Calls().size();
    QElapsedTimer settle;
    settle.start();
    RunUntil([&] { return settle.elapsed() > 1500; });
    EXPECT_EQ(f.camera.Calls().size(), sent);
}

TEST_F(FlatFieldDialogTest, SkipTwiceThenFinishAccepts) {
    Dialog dialog(f.doc, 30);
    dialog.show();
    auto* next = Control<QPushButton>(dialog, Dialog::kIdNext);
    auto* skip = Control<QPushButton>(dialog, Dialog::kIdSkip);
    skip->click();
    skip->click();
    EXPECT_EQ(next->text(), "Finish");
    EXPECT_FALSE(skip->isVisible());
    next->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(f.camera.Calls().empty());
}

}  // namespace
}  // namespace enginetest
