#pragma once

#include <cstdint>
#include <cwchar>

#include "skin/markup/Geometry.h"

namespace SkinUI {

// Coordinates and sizes read from markup are kept within this many pixels either way, so that the
// sums layout makes of them stay far from the limits of 32-bit arithmetic.
constexpr int32_t kLargestSkinCoordinate = 1 << 20;

// Attribute and interface names compare exactly, letter case included.
inline bool IsNamed(const wchar_t* name, const wchar_t* wanted) {
    return std::wcscmp(name, wanted) == 0;
}

// A boolean attribute is true exactly for "true".
bool IsTrueText(const wchar_t* text);

// Reads the numbers of a list such as "1072,132,1102,167": each number starts one character after the
// end of the one before (one separator of any kind). Numbers missing at the end read as 0.
class SkinValueReader {
  public:
    explicit SkinValueReader(const wchar_t* text) : next_(text != nullptr ? text : L"") {}

    // A decimal integer, kept within kLargestSkinCoordinate.
    int32_t NextCoordinate();
    // A decimal integer as written (saturated to 32 bits).
    int32_t NextInteger();
    // A decimal number with an optional fraction ("0.5", "-1", "2."), kept within -1e6..1e6.
    double NextFraction();

  private:
    void StepAfter(const wchar_t* end);

    const wchar_t* next_;
};

int32_t ParseIntegerValue(const wchar_t* text);
int32_t ParseCoordinateValue(const wchar_t* text);
SkinRect ParseRectValue(const wchar_t* text);
SkinSize ParseSizeValue(const wchar_t* text);
SkinFractionRect ParseFractionRectValue(const wchar_t* text);

// size * fraction truncated towards zero, saturated within 16 times kLargestSkinCoordinate.
int32_t ScaleByFraction(int32_t size, double fraction);

}  // namespace SkinUI
