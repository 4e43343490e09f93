#include <gtest/gtest.h>

#include "connect/AccessCode.h"

using namespace velterra;

namespace {

std::string CodeText() {
    std::string code;
    for (int digit : kAccessCodeDigits) code.push_back(static_cast<char>('0' + digit));
    return code;
}

TEST(AccessCode, OnlyTheSixDigitsInOrderMatch) {
    const std::string code = CodeText();
    EXPECT_TRUE(AccessCodeMatches(code));
    EXPECT_FALSE(AccessCodeMatches(code.substr(0, 5)));
    EXPECT_FALSE(AccessCodeMatches(code + "0"));
    EXPECT_FALSE(AccessCodeMatches(""));
    for (std::size_t i = 0; i < code.size(); ++i) {
        std::string wrong = code;
        wrong[i] = wrong[i] == '9' ? '0' : static_cast<char>(wrong[i] + 1);
        EXPECT_FALSE(AccessCodeMatches(wrong)) << wrong;
        wrong[i] = 'a';
        EXPECT_FALSE(AccessCodeMatches(wrong)) << wrong;
    }
}

}  // namespace
