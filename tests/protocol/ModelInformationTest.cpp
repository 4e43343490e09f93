#include <gtest/gtest.h>

#include <cstring>

#include "FakeCamera.h"
#include "FrameCodec.h"
#include "rsport.h"
#include "velterradll.h"

using namespace velterra::test;
using std::chrono::milliseconds;

namespace {

constexpr int32_t kRs232 = TVR_PORT_RS232;
constexpr uint8_t kModelCommand = 0x01;
constexpr uint8_t kModelLength = 32;

class ModelInformation : public ::testing::Test {
  protected:
    static constexpr int32_t kIndex = 5;  // COM6

    void SetUp() override { camera.AttachAsCom(kIndex + 1); }
    void TearDown() override { tvr_ClosePort(kRs232, kIndex); }

    // The camera answers the model read with `text`, zero-padded to the length asked for.
    void AnswerModelText(const std::string& text) {
        Bytes data(kModelLength, 0);
        std::memcpy(data.data(), text.data(), text.size());
        camera.Script({Step::AfterShortFrame().Ack().Send(ShortReply(kModelCommand, data))});
    }

    int KernelOfOpenPort() {
        uint8_t kernel = 0xFF;
        return RSC_QueryCamKernel(kIndex, &kernel) ? kernel : -1;
    }

    FakeCamera camera;
};

}  // namespace

TEST_F(ModelInformation, FourteenCharactersEndingInMMeanTheMbKernel) {
    AnswerModelText("VLT-4096-40-CM");
    uint8_t kernel = 0xFF;
    char text[64];
    std::memset(text, 'x', sizeof text);
    ASSERT_EQ(tvr_GetModelInformation(kRs232, kIndex, 9600, kModelCommand, kModelLength, &kernel,
                                      text, 1),
              1);
    EXPECT_EQ(kernel, 1);
    EXPECT_STREQ(text, "VLT-4096-40-CM");
    EXPECT_EQ(text[15], 'x') << "only the text and its terminating zero are copied";
    EXPECT_EQ(camera.Received(), velterra::codec::EncodeShortReadRequest(kModelCommand, 32))
        << "identification always reads with a short frame";
    EXPECT_EQ(KernelOfOpenPort(), 1) << "reopened with the detected kernel";
}

TEST_F(ModelInformation, OtherTextsMeanTheShortFrameKernel) {
    for (const std::string model : {"VLT-4096-40-C", "VLT-4096-40-CX", "VLT-4096-40-CMM"}) {
        AnswerModelText(model);
        uint8_t kernel = 0xFF;
        char text[64] = {};
        ASSERT_EQ(tvr_GetModelInformation(kRs232, kIndex, 9600, kModelCommand, kModelLength,
                                          &kernel, text, 0),
                  1)
            << model;
        EXPECT_EQ(kernel, 0) << model;
        EXPECT_EQ(text, model);
        EXPECT_EQ(KernelOfOpenPort(), -1) << "without reopen the port is left closed";
    }
    // Neither output is required.
    AnswerModelText("VLT-4096-40-CM");
    EXPECT_EQ(tvr_GetModelInformation(kRs232, kIndex, 9600, kModelCommand, kModelLength, nullptr,
                                      nullptr, 1),
              1);
    EXPECT_EQ(KernelOfOpenPort(), 1);
}

TEST_F(ModelInformation, ReopensAPortThatWasAlreadyOpenAndClosesItOnFailure) {
    ASSERT_EQ(tvr_OpenPort3(kRs232, kIndex, 9600, 1), 1);
    AnswerModelText("VLT-2048");
    uint8_t kernel = 0xFF;
    ASSERT_EQ(tvr_GetModelInformation(kRs232, kIndex, 9600, kModelCommand, kModelLength, &kernel,
                                      nullptr, 1),
              1);
    EXPECT_EQ(KernelOfOpenPort(), 0);

    camera.Script({Step::AfterShortFrame().Nak()});
    char text[64] = "unchanged";
    EXPECT_EQ(tvr_GetModelInformation(kRs232, kIndex, 9600, kModelCommand, kModelLength, &kernel,
                                      text, 1),
              0);
    EXPECT_STREQ(text, "unchanged");
    EXPECT_EQ(KernelOfOpenPort(), -1);
}

TEST_F(ModelInformation, LengthsBeyondTheTextBufferAreRefusedWithoutTouchingThePort) {
    ASSERT_EQ(tvr_OpenPort3(kRs232, kIndex, 9600, 1), 1);
    uint8_t kernel = 0xFF;
    char text[256] = {};
    EXPECT_EQ(tvr_GetModelInformation(kRs232, kIndex, 9600, kModelCommand, 64, &kernel, text, 1),
              0);
    EXPECT_EQ(tvr_GetModelInformation(kRs232, kIndex, 9600, kModelCommand, 255, &kernel, text, 0),
              0);
    EXPECT_EQ(kernel, 0xFF);
    EXPECT_EQ(KernelOfOpenPort(), 1) << "the open port is left as it was";
    EXPECT_FALSE(camera.WaitForReceived(1, milliseconds(30)));
}
