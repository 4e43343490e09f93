// Bad-pixel positions: the camera block to BadPixels.txt and back through a scripted kernel-1
// camera, the file rules and every refusal that must leave the camera untouched.
#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>

#include "EngineTestSupport.h"
#include "dataops/BadPixelsFile.h"
#include "dataops/CameraFunctions.h"

using namespace velterra;

namespace enginetest {
namespace {

using Kind = Call::Kind;

// A 68-byte block of limits 8 and 8 with the given lists.
Bytes Block(std::vector<std::pair<int16_t, int16_t>> even,
            std::vector<std::pair<int16_t, int16_t>> odd,
            std::optional<int16_t> evenCount = std::nullopt,
            std::optional<int16_t> oddCount = std::nullopt) {
    Bytes block(68, 0);
    auto put = [&block](std::size_t at, int16_t v) {
        block[at] = static_cast<uint8_t>(v & 0xFF);
        block[at + 1] = static_cast<uint8_t>((static_cast<uint16_t>(v) >> 8) & 0xFF);
    };
    put(0, evenCount.value_or(static_cast<int16_t>(even.size())));
    for (std::size_t i = 0; i < even.size(); ++i) {
        put(2 + 4 * i, even[i].first);
        put(4 + 4 * i, even[i].second);
    }
    put(34, oddCount.value_or(static_cast<int16_t>(odd.size())));
    for (std::size_t i = 0; i < odd.size(); ++i) {
        put(36 + 4 * i, odd[i].first);
        put(38 + 4 * i, odd[i].second);
    }
    return block;
}

class BadPixelsTest : public ::testing::Test {
  protected:
    BadPixelsTest() : fixture(scratch.Path()), functions(fixture.doc) {
        scratch.Write("Command.ini", "[BadPixelsPos]\nCommandID=0xb4\n");
        fixture.doc.CameraKernel = 1;
    }
    std::string File() const {
        std::ifstream in(scratch.Path() + "/BadPixels.txt", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    bool Read() { return functions.ReadBadPixels(8, 8); }
    bool Write() { return functions.WriteBadPixels(8, 8); }

    ScratchConfig scratch;
    EngineFixture fixture;
    velterra::CameraFunctions functions;
};

TEST_F(BadPixelsTest, ReadWritesTheListsAndTheFileWritesBackTheSameBlock) {
    const Bytes block = Block({{10, 11}, {-5, 300}, {7, 8}}, {});
    fixture.camera.values[0xB4] = block;
    EXPECT_TRUE(Read());
    EXPECT_EQ(File(), "3\n10\t11\n-5\t300\n7\t8\n0\n");
    const auto reads = fixture.camera.CallsOf(Kind::ReadWrite2);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].command, 0xB4);
    EXPECT_EQ(reads[0].length, 68u);
    EXPECT_EQ(reads[0].write, 0);

    fixture.camera.values.clear();
    EXPECT_TRUE(Write());
    const auto writes = fixture.camera.CallsOf(Kind::ReadWrite2);
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[1].write, 1);
    EXPECT_EQ(writes[1].length, 68u);
    EXPECT_EQ(writes[1].data, block);
}

TEST_F(BadPixelsTest, CameraCountsAboveTheLimitsAreRefusedAndTheFileKept) {
    scratch.Write("BadPixels.txt", "1\n1\t2\n0\n");
    const std::pair<Bytes, const char*> cases[] = {
        {Block({}, {}, 9, 0),
         "Invalid data format of read Bad Pixel Positions from the camera (Read Even 9 numbers)!"},
        {Block({{1, 2}}, {}, std::nullopt, 12),
         "Invalid data format of read Bad Pixel Positions from the camera (Read Odd 12 numbers)!"},
    };
    for (const auto& [block, message] : cases) {
        fixture.camera.values[0xB4] = block;
        EXPECT_FALSE(Read());
        EXPECT_EQ(fixture.ui.messages.back(), message);
        EXPECT_EQ(File(), "1\n1\t2\n0\n");
    }
    // A negative count passes, is written as it is and has no pairs.
    fixture.camera.values[0xB4] = Block({}, {{3, 4}}, -2);
    EXPECT_TRUE(Read());
    EXPECT_EQ(File(), "-2\n1\n3\t4\n");
}

TEST_F(BadPixelsTest, FileErrorsShowTheirMessageAndSendNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {"2\n1\t2\n0\n",
         "Invalid data format of read Bad Pixel Positions from BadPixels.txt (Read Even 2 numbers, "
         "but invalid line format)!"},
        {"2\n1\t2\n",
         "Invalid data format of read Bad Pixel Positions from BadPixels.txt (Read "
         "Even 2 numbers, but invalid line format)!"},
        {"",
         "Invalid data format of read Bad Pixel Positions from BadPixels.txt (Invalid file "
         "format)!"},
        {"x\n",
         "Invalid data format of read Bad Pixel Positions from BadPixels.txt (Invalid file "
         "format)!"},
        {"0\n",
         "Invalid data format of read Bad Pixel Positions from BadPixels.txt (Invalid file "
         "format)!"},
        {"9\n",
         "Invalid data format of read Bad Pixel Positions from BadPixels.txt (Read Even 9 "
         "numbers)!"},
        {"0\n9\n",
         "Invalid data format of read Bad Pixel Positions from BadPixels.txt (Read Odd 9 "
         "numbers)!"},
        {"0\n1\n5\n",
         "Invalid data format of read Bad Pixel Positions from BadPixels.txt (Read "
         "Odd 1 numbers, but invalid line format)!"},
    };
    for (const auto& [text, message] : cases) {
        scratch.Write("BadPixels.txt", text);
        EXPECT_FALSE(Write()) << text;
        EXPECT_EQ(fixture.ui.messages.back(), message) << text;
    }
    std::filesystem::remove(scratch.Path() + "/BadPixels.txt");
    EXPECT_FALSE(Write());
    EXPECT_NE(fixture.ui.messages.back().find("BadPixels.txt: No such file"), std::string::npos);
    EXPECT_TRUE(fixture.camera.Calls().empty());
    EXPECT_TRUE(fixture.view.Messages().empty());
}

TEST_F(BadPixelsTest, PairsTakeAnyBlankAndLinesEndWithLfOrCrLf) {
    scratch.Write("BadPixels.txt", "2 trailing text\r\n12 34\r\n-7\t\t8 9\r\n1\n5-6\nnot read\n");
    EXPECT_TRUE(Write());
    EXPECT_EQ(fixture.camera.Calls().back().data, Block({{12, 34}, {-7, 8}}, {{5, -6}}));
    // Numbers are stored as 16-bit values, as "%hd" stores them.
    scratch.Write("BadPixels.txt", "1\n70000 -1\n0\n");
    EXPECT_TRUE(Write());
    EXPECT_EQ(fixture.camera.Calls().back().data, Block({{4464, -1}}, {}));
}

TEST_F(BadPixelsTest, KernelZeroFailsBothWaysWithoutAnExchange) {
    fixture.doc.CameraKernel = 0;
    scratch.Write("BadPixels.txt", "0\n0\n");
    EXPECT_FALSE(Read());
    EXPECT_FALSE(Write());
    EXPECT_TRUE(fixture.camera.Calls().empty());
    EXPECT_EQ(fixture.view.Messages(),
              (std::vector<std::string>{
                  "Reading camera bad pixel positions (command 0xB4) from COM2 is failed!",
                  "Writing camera bad pixel positions (command 0xB4) to COM2 is failed!"}));
    EXPECT_EQ(File(), "0\n0\n");
}

TEST(BadPixelsSingleList, CountThenPairsWithItsOwnMessages) {
    const auto parsed = velterra::BadPixels::BlockOfText("2\n1 2\n3 4\n", 3, 0);
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.block, (Bytes{2, 0, 1, 0, 2, 0, 3, 0, 4, 0, 0, 0, 0, 0}));
    EXPECT_EQ(velterra::BadPixels::TextOfBlock(parsed.block, 3, 0).text, "2\n1\t2\n3\t4\n");
    EXPECT_EQ(velterra::BadPixels::BlockOfText("4\n", 3, 0).message,
              "Invalid data format of read Bad Pixel Positions from BadPixels.txt (Read 4 "
              "numbers)!");
    EXPECT_EQ(velterra::BadPixels::BlockOfText("1\n1\n", 3, 0).message,
              "Invalid data format of read Bad Pixel Positions from BadPixels.txt (Read 1 "
              "numbers, but invalid line format)!");
    EXPECT_EQ(
        velterra::BadPixels::TextOfBlock(Bytes{4, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 3, 0)
            .message,
        "Invalid data format of read Bad Pixel Positions from the camera (Read 4 numbers)!");
}

}  // namespace
}  // namespace enginetest
