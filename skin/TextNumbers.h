#pragma once

#include <cstdint>

namespace SkinUI {

// Number reading with the semantics of the Windows C runtime's wcstol and wcstoul, where long is 32
// bits wide on every target: leading white space skipped, an optional sign, an optional "0x" in base
// 16, digits up to the first other character. *end (when given) receives the first character not
// read, or the text itself when no digit was read. Out-of-range values saturate as the runtime does.
int32_t ParseInt32(const wchar_t* text, const wchar_t** end = nullptr, int base = 10);
uint32_t ParseUInt32(const wchar_t* text, const wchar_t** end = nullptr, int base = 10);

}  // namespace SkinUI
