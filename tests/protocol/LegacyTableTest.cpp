// The legacy 8160-pixel correction tables: two text files moved to and from the camera in
// 120-byte half blocks, with the failures shown through the message handler.
//
// A whole direction takes 272 to 544 exchanges of at least 200 ms each on the RS-232
// transport, so the tests that run one (suffix Slow) are kept to three.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "BulkTestCameras.h"
#include "LegacyLayout.h"
#include "velterradll.h"

namespace velterra::test {
namespace {

namespace fs = std::filesystem;

constexpr int kValues = 8160;
constexpr uint8_t kReadHalf = 0xC5;
constexpr uint8_t kWriteHalf = 0xC6;
constexpr uint8_t kSelectHalf = 0xC7;

std::vector<std::string>& Messages() {
    static std::vector<std::string> messages;
    return messages;
}

void CollectMessage(const char* text) {
    Messages().push_back(text);
}

// The file format the camera-to-file direction writes.
std::string TableText(const std::vector<int>& values) {
    std::string text;
    for (size_t i = 0; i < values.size(); ++i) {
        text += std::to_string(values[i]) + "\t";
        if ((i + 1) % 10 == 0) text += "\n";
    }
    return text;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class LegacyTable : public FakePortTest {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("velterra-legacy-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        fpn_ = (dir_ / "FPNTable.txt").string();
        prnu_ = (dir_ / "PRNUTable.txt").string();
        Messages().clear();
        tvr_SetMessageHandler(&CollectMessage);
        OpenShortFrame();
    }
    void TearDown() override {
        tvr_SetMessageHandler(nullptr);
        FakePortTest::TearDown();
        fs::remove_all(dir_);
    }

    void WriteFile(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    void WriteGoodFiles() {
        WriteFile(fpn_, TableText(std::vector<int>(kValues, 1)));
        WriteFile(prnu_, TableText(std::vector<int>(kValues, 2)));
    }
    int32_t Transfer(int32_t writeFlag, int32_t portType = kRs232, int32_t port = kPort) {
        const char* const names[2] = {fpn_.c_str(), prnu_.c_str()};
        return tvr_TableReadWriteOld4T5500(portType, port, writeFlag, names);
    }
    // Answers NAK to the frames `refuse` picks.
    void Refuse(std::function<bool(const SeenFrame&)> refuse) {
        short_.Override([refuse](size_t, const SeenFrame& frame) -> std::optional<Bytes> {
            if (refuse(frame)) return Bytes{0x15};
            return std::nullopt;
        });
    }
    // Table t of the camera filled with values unique to their place.
    void FillCamera(int t) {
        ShortFrameCamera::LegacyTable table{};
        for (int tap = 0; tap < 4; ++tap) {
            for (int k = 0; k < 2040; ++k) {
                table[tap][k] = static_cast<uint16_t>(t * 30000 + tap * 2040 * 3 + k * 3 + 1);
            }
        }
        short_.FillLegacy(t, table);
    }
    // The camera's table t in file order.
    std::vector<int> CameraInFileOrder(int t) {
        const auto table = short_.Legacy(t);
        std::vector<int> values(kValues);
        for (int i = 0; i < kValues; ++i) {
            const TapSlot slot = TapSlotOfFileIndex(i);
            values[i] = table[slot.tap - 1][slot.position];
        }
        return values;
    }

    fs::path dir_;
    std::string fpn_;
    std::string prnu_;
};

TEST_F(LegacyTable, FileToCameraSendsBothTablesInTheTapLayoutSlow) {
    std::vector<int> fpn(kValues);
    std::vector<int> prnu(kValues);
    for (int i = 0; i < kValues; ++i) {
        fpn[i] = (i * 37) % 65536;
        prnu[i] = 40000 + i;
    }
    prnu[5] = -1;  // the camera takes the low 16 bits
    // Numbers past the 8160th are ignored; any white space separates numbers.
    WriteFile(fpn_, TableText(fpn) + "1 2 3 4 5\n");
    std::string prnuText;
    for (int v : prnu) prnuText += std::to_string(v) + "\r\n";
    WriteFile(prnu_, prnuText);

    ASSERT_EQ(Transfer(1), 1);
    EXPECT_TRUE(Messages().empty());
    const auto frames = short_.Frames();
    ASSERT_EQ(frames.size(), 272u);
    for (size_t j = 0; j < frames.size(); ++j) {
        const Bytes address = {static_cast<uint8_t>(j / 136),
                               static_cast<uint8_t>(j % 136 / 34 + 1),
                               static_cast<uint8_t>(j % 34 / 2), static_cast<uint8_t>(j % 2)};
        ASSERT_EQ(frames[j].commandId, kWriteHalf);
        ASSERT_EQ(frames[j].data.size(), 124u);
        ASSERT_EQ(Bytes(frames[j].data.begin(), frames[j].data.begin() + 4), address) << j;
    }
    std::vector<int> expectedPrnu(prnu.begin(), prnu.end());
    expectedPrnu[5] = 0xFFFF;
    EXPECT_EQ(CameraInFileOrder(0), fpn);
    EXPECT_EQ(CameraInFileOrder(1), expectedPrnu);
}

TEST_F(LegacyTable, CameraToFileWritesTheFpnFileThenStopsAtAFailedSelectSlow) {
    FillCamera(0);
    FillCamera(1);
    Refuse([](const SeenFrame& frame) {
        return frame.commandId == kSelectHalf && frame.data.at(0) == 1;
    });
    EXPECT_EQ(Transfer(0), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Sending command 0xC7 to COM9 is failed!"}));
    EXPECT_EQ(ReadText(fpn_), TableText(CameraInFileOrder(0)));
    EXPECT_FALSE(fs::exists(prnu_));

    const auto frames = short_.Frames();
    ASSERT_EQ(frames.size(), 273u);
    for (size_t j = 0; j < 272; j += 2) {
        const size_t half = j / 2;
        const Bytes address = {0, static_cast<uint8_t>(half / 34 + 1),
                               static_cast<uint8_t>(half % 34 / 2), static_cast<uint8_t>(half % 2)};
        ASSERT_EQ(frames[j].commandId, kSelectHalf);
        ASSERT_EQ(frames[j].data, address) << j;
        // Read flag plus 120: the length byte 0xF8.
        ASSERT_EQ(frames[j + 1].commandId, kReadHalf);
        ASSERT_TRUE(frames[j + 1].read);
        ASSERT_EQ(frames[j + 1].length, 120u);
    }
    EXPECT_EQ(frames[272].data, (Bytes{1, 1, 0, 0}));
}

TEST_F(LegacyTable, CameraToFileReportsAFileThatCannotBeWrittenSlow) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "needs /dev/full";
    fpn_ = "/dev/full";  // opens, but every write fails when it reaches the device
    EXPECT_EQ(Transfer(0), 0);
    EXPECT_EQ(Messages(), (std::vector<std::string>{"The file close fail."}));
    EXPECT_EQ(short_.Frames().size(), 272u);  // table 1 is not asked for
}

TEST_F(LegacyTable, FailedExchangesAreReportedWithTheCommandAndComNumber) {
    WriteGoodFiles();
    Refuse([](const SeenFrame& frame) { return frame.commandId == kWriteHalf; });
    EXPECT_EQ(Transfer(1), 0);
    EXPECT_EQ(short_.Frames().size(), 1u);

    Refuse([](const SeenFrame& frame) { return frame.commandId == kReadHalf; });
    fs::remove(fpn_);
    EXPECT_EQ(Transfer(0), 0);
    EXPECT_EQ(short_.Frames().size(), 3u);
    EXPECT_FALSE(fs::exists(fpn_));

    // Camera Link ports are named COM too; nothing is open on this one.
    WriteGoodFiles();
    EXPECT_EQ(Transfer(1, 0, 4), 0);
    // The largest index has no COM number of its own; naming it must not overflow.
    EXPECT_EQ(Transfer(0, kRs232, INT32_MAX), 0);
    EXPECT_EQ(Messages(),
              (std::vector<std::string>{"Sending command 0xC6 to COM9 is failed!",
                                        "Reading command 0xC5 from COM9 is failed!",
                                        "Sending command 0xC6 to COM5 is failed!",
                                        "Sending command 0xC7 to COM-2147483648 is failed!"}));
}

TEST_F(LegacyTable, UnreadableOrIncompleteFilesSendNothing) {
    const std::string good = TableText(std::vector<int>(kValues, 9));
    struct Case {
        std::string fpn;  // file text, or no file when "-"
        std::string prnu;
        std::string message;
    };
    auto tooShort = [](const std::string& path, int numbers) {
        return "The file " + path + " holds only " + std::to_string(numbers) +
               " readable numbers of the 8160 a table needs; nothing was sent to the camera.";
    };
    const std::vector<Case> cases = {
        {"-", good, "The file open fail."},
        {good, "-", "The file open fail."},
        {TableText(std::vector<int>(100, 4)), good, tooShort(fpn_, 100)},
        {good, "1 2 3 x " + good, tooShort(prnu_, 3)},
        {good, "12.5 " + good, tooShort(prnu_, 1)},
        {"", good, tooShort(fpn_, 0)},
    };
    for (const Case& c : cases) {
        fs::remove(fpn_);
        fs::remove(prnu_);
        if (c.fpn != "-") WriteFile(fpn_, c.fpn);
        if (c.prnu != "-") WriteFile(prnu_, c.prnu);
        Messages().clear();
        EXPECT_EQ(Transfer(1), 0);
        EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
    }
    EXPECT_EQ(tvr_TableReadWriteOld4T5500(kRs232, kPort, 1, nullptr), 0);
    EXPECT_TRUE(short_.Frames().empty());
}

// The caller's handler runs inside the export; what it throws ends the transfer as a failure
// and never crosses the C boundary, where it would end the calling program.
TEST_F(LegacyTable, AHandlerThatThrowsMakesTheTransferFailInsteadOfEndingTheProgram) {
    tvr_SetMessageHandler([](const char*) { throw std::runtime_error("handler"); });
    EXPECT_EQ(Transfer(1), 0);  // no files exist: the message goes to the handler
    EXPECT_TRUE(short_.Frames().empty());
}

TEST_F(LegacyTable, WithoutAHandlerMessagesGoToStandardError) {
    tvr_SetMessageHandler(nullptr);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Transfer(1), 0);  // no files exist
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "The file open fail.\n");
    EXPECT_TRUE(Messages().empty());
}

}  // namespace
}  // namespace velterra::test
