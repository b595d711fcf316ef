#include "skin/markup/Numbers.h"
#include "skin/markup/AsciiText.h"

#include <limits>

namespace SkinUI {
namespace {

int DigitValue(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'z') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'Z') {
        return c - L'A' + 10;
    }
    return 99;
}

struct Scan {
    bool negative = false;
    bool anyDigit = false;
    bool overflow = false;   // magnitude exceeded 32 unsigned bits
    uint64_t magnitude = 0;  // clamped just above UINT32_MAX once overflow is set
    const wchar_t* stop = nullptr;
};

Scan ScanNumber(const wchar_t* text, int base) {
    Scan scan;
    scan.stop = text;
    if (text == nullptr || (base != 10 && base != 16)) {
        return scan;
    }
    const wchar_t* p = text;
    while (IsAsciiSpace(*p)) {
        ++p;
    }
    if (*p == L'+' || *p == L'-') {
        scan.negative = *p == L'-';
        ++p;
    }
    if (base == 16 && p[0] == L'0' && (p[1] == L'x' || p[1] == L'X') && DigitValue(p[2]) < 16) {
        p += 2;
    }
    const uint64_t cap = uint64_t{std::numeric_limits<uint32_t>::max()} + 1;
    for (int d; (d = DigitValue(*p)) < base; ++p) {
        scan.anyDigit = true;
        scan.magnitude = scan.magnitude * base + d;
        if (scan.magnitude >= cap) {
            scan.overflow = true;
            scan.magnitude = cap;
        }
    }
    if (scan.anyDigit) {
        scan.stop = p;
    }
    return scan;
}

}  // namespace

int32_t ParseInt32(const wchar_t* text, const wchar_t** end, int base) {
    const Scan scan = ScanNumber(text, base);
    if (end != nullptr) {
        *end = scan.stop;
    }
    const uint64_t limit = scan.negative ? uint64_t{1} << 31 : (uint64_t{1} << 31) - 1;
    if (scan.magnitude > limit) {
        return scan.negative ? std::numeric_limits<int32_t>::min() : std::numeric_limits<int32_t>::max();
    }
    const int64_t value = static_cast<int64_t>(scan.magnitude);
    return static_cast<int32_t>(scan.negative ? -value : value);
}

uint32_t ParseUInt32(const wchar_t* text, const wchar_t** end, int base) {
    const Scan scan = ScanNumber(text, base);
    if (end != nullptr) {
        *end = scan.stop;
    }
    if (scan.overflow) {
        return std::numeric_limits<uint32_t>::max();
    }
    const uint32_t value = static_cast<uint32_t>(scan.magnitude);
    return scan.negative ? 0u - value : value;
}

}  // namespace SkinUI
