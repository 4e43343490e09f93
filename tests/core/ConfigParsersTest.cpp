#include <gtest/gtest.h>

#include "core/ConfigParsers.h"

using namespace velterra;

namespace {

TEST(ParseLevel, WordsNumbersAndCase) {
    EXPECT_EQ(ParseLevel("TRUE"), 1);
    EXPECT_EQ(ParseLevel("true   "), 1);
    EXPECT_EQ(ParseLevel("Admin"), 2);
    EXPECT_EQ(ParseLevel("ADMIN \t"), 2);
    EXPECT_EQ(ParseLevel("FALSE"), 0);
    EXPECT_EQ(ParseLevel(""), 0);
    EXPECT_EQ(ParseLevel("0"), 0);
    EXPECT_EQ(ParseLevel("-3"), 0);
    EXPECT_EQ(ParseLevel("7"), 1);
    EXPECT_EQ(ParseLevel("2"), 1) << "only the word admin gives the password level";
    EXPECT_EQ(ParseLevel("Yes"), 0);
    EXPECT_EQ(ParseLevel("  true"), 0) << "leading blanks are not removed before the compare";
    EXPECT_EQ(ParseLevel("99999999999"), 1);
}

TEST(NumberText, HexadecimalAndDecimalRules) {
    EXPECT_EQ(ParseNumberText("0x3ff"), 1023u);
    EXPECT_EQ(ParseNumberText("0xA0"), 160u);
    EXPECT_EQ(ParseNumberText("0x"), 0u) << "two characters are read as decimal";
    EXPECT_EQ(ParseNumberText("0xzz"), 0u);
    EXPECT_FALSE(ReadNumberText("0xzz").hasDigits);
    EXPECT_EQ(ParseNumberText("0X1F"), 0u) << "upper-case prefix is decimal 0";
    EXPECT_EQ(ParseNumberText("0xffffffff"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseNumberText("0x1ffffffff"), 0xFFFFFFFFu) << "wraps at 32 bits";
    EXPECT_EQ(ParseNumberText("0x-1"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseNumberText("300"), 300u);
    EXPECT_EQ(ParseNumberText("12abc"), 12u);
    EXPECT_EQ(ParseNumberText("abc"), 0u);
    EXPECT_EQ(ParseNumberText("-5"), static_cast<uint32_t>(-5));
    EXPECT_EQ(ParseNumberText("4294967295"), 0x7FFFFFFFu) << "atol with a 32-bit long clamps";
    EXPECT_TRUE(ReadNumberText("4294967295").outOfRange);
    EXPECT_FALSE(ReadNumberText("2147483647").outOfRange);
    EXPECT_EQ(ParseNumberText("-99999999999"), 0x80000000u);
}

TEST(ParseMaxMin, RangesAsWritten) {
    uint32_t max = 1, min = 1;
    ParseMaxMin("0x3FF,0", max, min);
    EXPECT_EQ(max, 1023u);
    EXPECT_EQ(min, 0u);
    ParseMaxMin("5", max, min);
    EXPECT_EQ(max, 5u);
    EXPECT_EQ(min, 0u);
    ParseMaxMin("4095 ;, \t 0X10", max, min);
    EXPECT_EQ(max, 4095u);
    EXPECT_EQ(min, 16u) << "the whole value is lower-cased first";
    ParseMaxMin("", max, min);
    EXPECT_EQ(max, 0u);
    EXPECT_EQ(min, 0u);
    ParseMaxMin("100,20,7", max, min);
    EXPECT_EQ(max, 100u);
    EXPECT_EQ(min, 20u);
}

TEST(ParseNamedEntry, SectionAndQuotedDisplayName) {
    std::string section, display;
    ASSERT_TRUE(ParseNamedEntry("Gain_Block \"Gain and Offset\"", section, display));
    EXPECT_EQ(section, "Gain_Block");
    EXPECT_EQ(display, "Gain and Offset");

    ASSERT_TRUE(ParseNamedEntry("Sec,;\t\"\"Name\"\"  ", section, display));
    EXPECT_EQ(section, "Sec");
    EXPECT_EQ(display, "Name") << "every leading and trailing quote goes";

    ASSERT_TRUE(ParseNamedEntry("Sec \"", section, display)) << "a lone quote is both ends";
    EXPECT_EQ(display, "");

    // Leading characters of the display name that also occur in the token are eaten: the
    // name must start with its quote.
    section.clear();
    EXPECT_FALSE(ParseNamedEntry("Gain Gain", section, display));
    EXPECT_EQ(section, "Gain") << "the section name stays after a failure";
    EXPECT_FALSE(ParseNamedEntry("Gain", section, display));
    EXPECT_FALSE(ParseNamedEntry("", section, display));
    EXPECT_FALSE(ParseNamedEntry("Gain \"Gain", section, display));
    // The reader took the outer quotes of "Sec" "Name": what is left no longer parses.
    EXPECT_FALSE(ParseNamedEntry("Sec\" \"Name", section, display));
}

TEST(ParseListItem, ValueAndText) {
    uint8_t value = 9;
    std::string text;
    ASSERT_TRUE(ParseListItem("0xA0 \"Max\"", value, text));
    EXPECT_EQ(value, 160);
    EXPECT_EQ(text, "Max");
    ASSERT_TRUE(ParseListItem("300,\"Low 8 bits\"", value, text));
    EXPECT_EQ(value, 0x2C);
    ASSERT_TRUE(ParseListItem("0XaB \"Beta\"", value, text))
        << "the token is removed whatever the case of its letters";
    EXPECT_EQ(value, 0xAB);
    EXPECT_EQ(text, "Beta");
    EXPECT_FALSE(ParseListItem("12", value, text));
    EXPECT_FALSE(ParseListItem("", value, text));
    EXPECT_FALSE(ParseListItem("1 Off", value, text));
}

TEST(ParseBranchEntry, FourQuotesWithinTheFirst128Characters) {
    std::string model, file;
    // The profile reader has removed the outer quotes of "LS-1" "LS1.ini".
    ASSERT_TRUE(ParseBranchEntry("LS-1\" \"LS1.ini", model, file));
    EXPECT_EQ(model, "LS-1");
    EXPECT_EQ(file, "LS1.ini");
    ASSERT_TRUE(ParseBranchEntry("A\" anything here \"", model, file));
    EXPECT_EQ(model, "A");
    EXPECT_EQ(file, "");
    // "A" B" in the file: the reader strips the outer pair, three quotes remain with ours.
    EXPECT_FALSE(ParseBranchEntry("A\" B", model, file));
    // "A" "B in the file keeps its quotes: the first two added ones enclose an empty name.
    ASSERT_TRUE(ParseBranchEntry("\"A\" \"B", model, file));
    EXPECT_EQ(model, "");
    EXPECT_EQ(file, " ");
    EXPECT_FALSE(ParseBranchEntry("", model, file));

    // Closing quote added by the parser lands at index 127: still seen.
    EXPECT_TRUE(ParseBranchEntry(std::string(124, 'm') + "\"\"", model, file));
    EXPECT_EQ(model, std::string(124, 'm'));
    EXPECT_FALSE(ParseBranchEntry(std::string(125, 'm') + "\"\"", model, file))
        << "the fourth quote at index 128 is not looked at";
}

}  // namespace
