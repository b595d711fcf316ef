#include <gtest/gtest.h>

#include "app/Channel.h"
#include "app/ProcessRole.h"

namespace {

int32_t ChannelOf(std::vector<std::wstring> tail) {
    return ParseChannel(ChannelTextFromTail(tail));
}

TEST(ProcessRole, FiveArgumentsRunTheChildOneTheHallAnythingElseNothing) {
    EXPECT_EQ(RoleForArgumentCount(5), ProcessRole::Child);
    EXPECT_EQ(RoleForArgumentCount(1), ProcessRole::Hall);
    for (int count : {0, 2, 3, 4, 6, 7, 100, -1}) {
        EXPECT_EQ(RoleForArgumentCount(count), ProcessRole::None) << count;
    }
}

TEST(Channel, TailWithTwoArgumentsCarriesTheChannelAfterTheKey) {
    EXPECT_EQ(ChannelOf({L"fromc=12", L"x"}), 12);
    EXPECT_EQ(ChannelOf({L"fromc=-3", L"x"}), -3);
    EXPECT_EQ(ChannelOf({L"fromc=12abc", L"x"}), 12);
    EXPECT_EQ(ChannelOf({L"fromc=", L"x"}), 0);
    EXPECT_EQ(ChannelOf({L"fromc=abc", L"x"}), 0);
}

TEST(Channel, KeyIsCaseSensitiveAndMustStartTheFirstArgument) {
    EXPECT_EQ(ChannelOf({L"FROMC=12", L"x"}), 0);
    EXPECT_EQ(ChannelOf({L"x", L"fromc=12"}), 0);
    EXPECT_EQ(ChannelOf({L" fromc=12", L"x"}), 0);
    EXPECT_EQ(ChannelTextFromTail({L"other", L"x"}), L"");
}

TEST(Channel, AnyOtherArgumentCountGivesTheDefault) {
    EXPECT_EQ(ChannelOf({}), 46);
    EXPECT_EQ(ChannelOf({L"fromc=12"}), 46);
    EXPECT_EQ(ChannelOf({L"fromc=12", L"a", L"b"}), 46);
    EXPECT_EQ(ChannelTextFromTail({}), L"46");
}

TEST(Channel, ParsesLikeTheRuntimesWcstol) {
    EXPECT_EQ(ParseChannel(L"  \t\n42"), 42);
    EXPECT_EQ(ParseChannel(L"+7"), 7);
    EXPECT_EQ(ParseChannel(L"- 7"), 0);
    EXPECT_EQ(ParseChannel(L"0x10"), 0);
    EXPECT_EQ(ParseChannel(L"007"), 7);
    EXPECT_EQ(ParseChannel(L"2147483647"), 2147483647);
    EXPECT_EQ(ParseChannel(L"2147483648"), 2147483647);
    EXPECT_EQ(ParseChannel(L"99999999999999999999999"), 2147483647);
    EXPECT_EQ(ParseChannel(L"-2147483648"), -2147483647 - 1);
    EXPECT_EQ(ParseChannel(L"-2147483649"), -2147483647 - 1);
    EXPECT_EQ(ParseChannel(L""), 0);
}

}  // namespace
