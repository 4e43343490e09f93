// The simulated camera of a benchmark, connected on COM1 as Open Camera connects it: the camera
// in this process on a pseudo-terminal, a private port registry, the document and its connect
// steps.
#pragma once
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "SimulatedCamera.h"
#include "connect/PortConnector.h"
#include "core/PortRegistry.h"
#include "core/VelterraDoc.h"

namespace velterra {

class BenchCamera {
    // First, so they outlive the document, which closes its port at its end.
    std::unique_ptr<sim::SimulatedCamera> camera_;
    std::unique_ptr<PortRegistry> registry_ = PortRegistry::Private();

  public:
    static constexpr int kCom1Slot = 6;
    CVelterraDoc doc{VELTERRA_CONFIG_DIR};
    PortConnector connector{doc};

    // Frames the camera has received.
    std::size_t FrameCount() const { return camera_ ? camera_->FrameCount() : 0; }

    // False after a line on standard error that starts with the benchmark's name.
    bool Connect(const char* bench, const std::string& model, uint8_t kernel, uint32_t baud) {
        sim::SimulatorOptions options;
        options.configDir = VELTERRA_CONFIG_DIR;
        options.model = model;
        options.kernel = kernel;
        camera_ = std::make_unique<sim::SimulatedCamera>(options);
        std::string error;
        if (!camera_->Start(&error)) {
            std::fprintf(stderr, "%s: the simulated camera does not start: %s\n", bench,
                         error.c_str());
            return false;
        }
        setenv("VELTERRA_COM1", camera_->SlavePath().c_str(), 1);
        registry_->WriteTags();
        doc.SetPortRegistry(registry_.get());
        connector.BaudRate = baud;
        connector.Kernel = kernel == 1 ? KernelChoice::MbFrames : KernelChoice::Auto;
        if (connector.ConnectSlot(kCom1Slot) != ProbeStatus::kConnected) {
            std::fprintf(stderr, "%s: cannot connect the simulated camera on COM1\n", bench);
            return false;
        }
        doc.PortIndex = kCom1Slot;
        doc.CameraKernel = connector.Table()[kCom1Slot].Kernel;
        doc.SetPortTypeFromSlot(kCom1Slot);
        return true;
    }
};

}  // namespace velterra
