#include <gtest/gtest.h>

#include "skin/markup/Numbers.h"

namespace SkinUI {
namespace {

TEST(TextNumbers, EndPointsAfterTheDigitsOrAtTheStartWhenNoneWereRead) {
    const wchar_t* text = L" 12,34";
    const wchar_t* end = nullptr;
    EXPECT_EQ(ParseInt32(text, &end), 12);
    EXPECT_EQ(end, text + 3);
    const wchar_t* none = L" -x";
    EXPECT_EQ(ParseInt32(none, &end), 0);
    EXPECT_EQ(end, none);
    const wchar_t* hex = L"0xg";
    EXPECT_EQ(ParseUInt32(hex, &end, 16), 0u);  // "0" read, the x is not a prefix without a digit
    EXPECT_EQ(end, hex + 1);
}

TEST(TextNumbers, HexadecimalPrefixUnsignedNegationAndSaturation) {
    EXPECT_EQ(ParseUInt32(L"0xFF00ff00", nullptr, 16), 0xFF00FF00u);
    EXPECT_EQ(ParseUInt32(L"123456789", nullptr, 16), 0xFFFFFFFFu);
    EXPECT_EQ(ParseUInt32(L"-1"), 0xFFFFFFFFu);
    EXPECT_EQ(ParseInt32(L"-2147483648"), INT32_MIN);
    EXPECT_EQ(ParseInt32(L"4294967296"), INT32_MAX);
    EXPECT_EQ(ParseInt32(nullptr), 0);
}

}  // namespace
}  // namespace SkinUI
