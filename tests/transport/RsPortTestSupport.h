// Shared set-up of the RS-232 transport tests: a fake camera on COM3 (port index 2) and a
// clean open-port list after each test.
#pragma once

#include <gtest/gtest.h>

#include <chrono>

#include "FakeCamera.h"
#include "rsport.h"

namespace velterra::test {

class RsPortTest : public ::testing::Test {
  protected:
    static constexpr int32_t kIndex = 2;

    void SetUp() override { camera.AttachAsCom(kIndex + 1); }
    void TearDown() override {
        for (int32_t index = -1; index < 12; ++index) RSC_ClosePort(index);
    }

    // Milliseconds `action` took.
    template <class Action>
    static long long TimeMs(Action&& action) {
        const auto start = std::chrono::steady_clock::now();
        action();
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now() - start)
            .count();
    }

    FakeCamera camera;
};

}  // namespace velterra::test
