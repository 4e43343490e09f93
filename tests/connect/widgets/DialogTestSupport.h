// The dialogs on a real document and protocol library, with simulated cameras behind the COM
// ports this test names and every other port leading nowhere; a private port registry.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SimulatedCamera.h"
#include "core/PortRegistry.h"
#include "core/VelterraDoc.h"

using namespace velterra;

namespace dialogtest {

// One application for the whole binary; offscreen unless the run asks for a display.
inline void EnsureApplication() {
    if (QApplication::instance() != nullptr) return;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "connect_widget_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    // The window's settings (its recent files) go to a scratch place, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setOrganizationName(QStringLiteral("VelterraTest"));
    QApplication::setApplicationName(QStringLiteral("connect_widget_tests"));
}

// Runs the event loop until done() or the time is up; each turn calls `watch` first.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 30000,
                      const std::function<void()>& watch = {}) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (watch) watch();
        if (done()) return true;
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return done();
}

// A message box stand-in that records the texts.
class RecordingUi : public IUserInterface {
  public:
    void ShowMessage(const std::string& text, MessageKind) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

inline constexpr int kCom1 = 6, kCom2 = 7, kCom3 = 8, kCom4 = 9;

class CameraPortsFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        EnsureApplication();
        registryName_ = "/velterra-dialogs-test-" + std::to_string(getpid());
        PortRegistry::Unlink(registryName_);
        registry_ = PortRegistry::Open(registryName_);
        ASSERT_NE(registry_, nullptr);
        registry_->WriteTags();
        missing_ = "/tmp/velterra-dialogs-missing-" + std::to_string(getpid());
        for (const char* name : {"VELTERRA_COM1", "VELTERRA_COM2", "VELTERRA_COM3", "VELTERRA_COM4",
                                 "VELTERRA_CLSER0", "VELTERRA_CLSER1"}) {
            setenv(name, missing_.c_str(), 1);
        }
        doc_ = std::make_unique<CVelterraDoc>(VELTERRA_CONFIG_DIR);
        doc_->SetPortRegistry(registry_.get());
        doc_->SetUserInterface(&ui_);
    }
    void TearDown() override {
        doc_.reset();  // closes the ports it holds and frees their slots
        cameras_.clear();
        registry_.reset();
        PortRegistry::Unlink(registryName_);
    }

    // A simulated camera of the sample configuration behind the variable's port.
    velterra::sim::SimulatedCamera& Camera(const char* variable, const std::string& model,
                                           double dropRate = 0.0) {
        velterra::sim::SimulatorOptions options;
        options.configDir = VELTERRA_CONFIG_DIR;
        options.model = model;
        options.dropRate = dropRate;
        auto camera = std::make_unique<velterra::sim::SimulatedCamera>(options);
        std::string error;
        EXPECT_TRUE(camera->Start(&error)) << error;
        setenv(variable, camera->SlavePath().c_str(), 1);
        cameras_.push_back(std::move(camera));
        return *cameras_.back();
    }

    static constexpr uint32_t kOtherProcess = 1;  // init: alive on every system

    std::string registryName_;
    std::string missing_;
    std::unique_ptr<PortRegistry> registry_;
    RecordingUi ui_;
    std::unique_ptr<CVelterraDoc> doc_;
    std::vector<std::unique_ptr<velterra::sim::SimulatedCamera>> cameras_;
};

}  // namespace dialogtest
