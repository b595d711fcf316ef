// Command lines and numbers from outside the process: the child's switches and the hall's channel.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/Channel.h"
#include "childproc/ChildSwitches.h"
#include "skin/markup/Numbers.h"

namespace {

// Splits the input into up to six arguments at NUL bytes, each byte widened as it stands.
std::vector<std::wstring> ArgumentsFrom(const uint8_t* data, size_t size) {
    std::vector<std::wstring> arguments(1);
    for (size_t i = 0; i < size && arguments.size() <= 6; ++i) {
        if (data[i] == 0) {
            arguments.emplace_back();
        } else {
            arguments.back().push_back(static_cast<wchar_t>(data[i]));
        }
    }
    return arguments;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::wstring> arguments = ArgumentsFrom(data, size);
    childproc::ChildSwitches switches;
    if (childproc::ParseChildSwitches(arguments, switches) &&
        (switches.hallWindow == 0 || switches.ipcName.empty())) {
        __builtin_trap();
    }
    std::vector<std::wstring> tail(arguments.begin() + 1, arguments.end());
    app::ParseChannel(app::ChannelTextFromTail(tail));
    const wchar_t* end = nullptr;
    const std::wstring& text = arguments.front();
    SkinUI::ParseUInt32(text.c_str(), &end, 16);
    if (end < text.c_str() || end > text.c_str() + text.size()) {
        __builtin_trap();
    }
    return 0;
}
