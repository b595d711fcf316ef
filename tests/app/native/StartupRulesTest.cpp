#include <gtest/gtest.h>

#include "app/Channel.h"

namespace app {
namespace {

TEST(ChannelTest, TheTextAfterACaseSensitiveKeyOfTwoArgumentsReadAsANumber) {
    const struct {
        std::vector<std::wstring> tail;
        int32_t channel;
    } cases[] = {
        {{L"fromc=12", L"x"}, 12},
        {{L"fromc=  +12abc", L"x"}, 12},
        {{L"fromc=", L"x"}, 0},
        {{L"fromc=2147483648", L"x"}, 2147483647},
        // The key must start the first argument, in lower case.
        {{L"FROMC=12", L"x"}, 0},
        {{L"x", L"fromc=12"}, 0},
        // Any other count of arguments, a failed split included: the default.
        {{}, 46},
        {{L"fromc=12"}, 46},
        {{L"fromc=12", L"a", L"b"}, 46},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseChannel(ChannelTextFromTail(c.tail)), c.channel) << testing::PrintToString(c.tail);
    }
}

}  // namespace
}  // namespace app
