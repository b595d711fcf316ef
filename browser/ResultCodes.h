#pragma once

#include <cstdint>

namespace browser {

// The platform's result codes as the page inspection reports them.
inline constexpr int32_t kResultOk = 0;
inline constexpr int32_t kResultNotImplemented = static_cast<int32_t>(0x80004001u);
inline constexpr int32_t kResultPointer = static_cast<int32_t>(0x80004003u);
inline constexpr int32_t kResultFail = static_cast<int32_t>(0x80004005u);

}  // namespace browser
