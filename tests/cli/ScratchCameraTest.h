#pragma once
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/PortRegistry.h"

using namespace velterra;

// A test with a scratch folder of its own and a port registry of its own, so end-to-end runs
// in parallel never see each other's ports (nor those of a Velterra running on the machine).
class ScratchCameraTest : public ::testing::Test {
  protected:
    explicit ScratchCameraTest(std::string prefix) : prefix_(std::move(prefix)) {}

    void SetUp() override {
        std::string pattern = "/tmp/velterra_" + prefix_ + "_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        registryName_ = "/velterra-" + prefix_ + "-test-" + std::to_string(getpid());
        PortRegistry::Unlink(registryName_);
        setenv(PortRegistry::kNameVariable, registryName_.c_str(), 1);
    }
    void TearDown() override {
        PortRegistry::Unlink(registryName_);
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    std::filesystem::path dir_;
    std::string registryName_;

  private:
    std::string prefix_;
};
