#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace app {

// The distribution channel that the hall puts into the server-list address.
inline constexpr int32_t kDefaultChannel = 46;

// The channel text of a hall command-line tail already split into arguments. Exactly two arguments:
// the rest of the first one after "fromc=" (case-sensitive), or empty when it does not start so. Any
// other count, a failed split included (pass an empty list): "46".
std::wstring ChannelTextFromTail(const std::vector<std::wstring>& tailArguments);

// Decimal text to channel as wcstol does on Windows: leading white space skipped, an optional sign,
// digits up to the first other character; no digits give 0, values beyond 32 bits saturate.
int32_t ParseChannel(const std::wstring& text);

}  // namespace app
