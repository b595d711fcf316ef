#include "app/Channel.h"

#include "skin/markup/Numbers.h"

namespace {

const std::wstring kChannelKey = L"fromc=";

}  // namespace

std::wstring ChannelTextFromTail(const std::vector<std::wstring>& tailArguments) {
    if (tailArguments.size() != 2) {
        return std::to_wstring(kDefaultChannel);
    }
    const std::wstring& first = tailArguments[0];
    if (first.compare(0, kChannelKey.size(), kChannelKey) != 0) {
        return std::wstring();
    }
    return first.substr(kChannelKey.size());
}

int32_t ParseChannel(const std::wstring& text) {
    return SkinUI::ParseInt32(text.c_str());
}
