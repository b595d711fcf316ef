#pragma once

#include <cstdint>

namespace SkinUI {

// A 64-bit result brought back into 32 bits, saturated at the limits rather than wrapped.
constexpr int32_t SaturateToInt32(int64_t value) {
    return value < INT32_MIN ? INT32_MIN : value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
}

// Number reading with the semantics of the Windows C runtime's wcstol and wcstoul, where long is 32
// bits wide on every target: leading white space skipped, an optional sign, an optional "0x" in base
// 16, digits up to the first other character. *end (when given) receives the first character not
// read, or the text itself when no digit was read. Out-of-range values saturate as the runtime does.
int32_t ParseInt32(const wchar_t* text, const wchar_t** end = nullptr, int base = 10);
uint32_t ParseUInt32(const wchar_t* text, const wchar_t** end = nullptr, int base = 10);

}  // namespace SkinUI
