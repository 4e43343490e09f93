#include <gtest/gtest.h>

#include <sstream>

#include "core/SettingsFileArchive.h"

using namespace velterra;

namespace {

std::vector<std::string> Lines(const std::string& bytes) {
    std::istringstream in(bytes, std::ios::binary);
    SettingsFileArchive archive(in);
    std::vector<std::string> lines;
    std::string line;
    while (archive.ReadString(line)) lines.push_back(line);
    return lines;
}

}  // namespace

TEST(SettingsFileArchive, LineFeedEndsALineAndDropsACarriageReturnBeforeIt) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Lines("VLT_2_5\nModel\n"), (V{"VLT_2_5", "Model"}));
    EXPECT_EQ(Lines("VLT_2_5\r\nModel\r\n"), (V{"VLT_2_5", "Model"}));
    EXPECT_EQ(Lines("a\rb\n\r\r\n"), (V{"a\rb", "\r"}));  // only the one before the line feed
    EXPECT_EQ(Lines("\n\nlast"), (V{"", "", "last"}));    // a last line without a line feed
    EXPECT_EQ(Lines(""), V{});
    EXPECT_EQ(Lines(std::string("a\0b\n", 4)), (V{std::string("a\0b", 3)}));
}

TEST(SettingsFileArchive, BytesAfterTheLinesAreReadAsTheyAre) {
    const std::string file = std::string("T\r\nM\n\x0A\x0D\x00\xFF", 9);
    std::istringstream in(file, std::ios::binary);
    SettingsFileArchive archive(in);
    std::string line;
    ASSERT_TRUE(archive.ReadString(line));
    ASSERT_TRUE(archive.ReadString(line));
    EXPECT_EQ(line, "M");
    uint8_t bytes[8] = {};
    EXPECT_EQ(archive.ReadBytes(bytes, 8), 4u);
    EXPECT_EQ(bytes[0], 0x0A);
    EXPECT_EQ(bytes[1], 0x0D);
    EXPECT_EQ(bytes[2], 0x00);
    EXPECT_EQ(bytes[3], 0xFF);
    EXPECT_EQ(archive.ReadBytes(bytes, 1), 0u);
    EXPECT_FALSE(archive.ReadString(line));
}
