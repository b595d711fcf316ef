#include "skin/markup/AttributeValues.h"
#include "skin/markup/AsciiText.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "skin/markup/Numbers.h"

namespace SkinUI {
namespace {

constexpr double kLargestFraction = 1e6;

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

int32_t ClampCoordinate(int32_t value) {
    return std::clamp(value, -kLargestSkinCoordinate, kLargestSkinCoordinate);
}

// Decimal digits with an optional fraction, after optional blanks and a sign; *end is the text itself
// when no digit was read.
double ReadFraction(const wchar_t* text, const wchar_t** end) {
    const wchar_t* p = text;
    while (IsAsciiSpace(*p)) {
        ++p;
    }
    const bool negative = *p == L'-';
    if (*p == L'-' || *p == L'+') {
        ++p;
    }
    double value = 0.0;
    bool anyDigit = false;
    for (; IsDigit(*p); ++p) {
        value = std::min(value * 10.0 + (*p - L'0'), kLargestFraction * 10.0);
        anyDigit = true;
    }
    if (*p == L'.') {
        double scale = 0.1;
        for (++p; IsDigit(*p); ++p) {
            value += (*p - L'0') * scale;
            scale /= 10.0;
            anyDigit = true;
        }
    }
    if (!anyDigit) {
        *end = text;
        return 0.0;
    }
    *end = p;
    value = std::min(value, kLargestFraction);
    return negative ? -value : value;
}

}  // namespace

bool IsTrueText(const wchar_t* text) {
    return text != nullptr && std::wcscmp(text, L"true") == 0;
}

void SkinValueReader::StepAfter(const wchar_t* end) {
    // One separator is skipped; the terminator is never stepped over.
    next_ = *end != L'\0' ? end + 1 : end;
}

int32_t SkinValueReader::NextInteger() {
    const wchar_t* end = next_;
    const int32_t value = ParseInt32(next_, &end, 10);
    StepAfter(end);
    return value;
}

int32_t SkinValueReader::NextCoordinate() {
    return ClampCoordinate(NextInteger());
}

double SkinValueReader::NextFraction() {
    const wchar_t* end = next_;
    const double value = ReadFraction(next_, &end);
    StepAfter(end);
    return value;
}

int32_t ParseIntegerValue(const wchar_t* text) {
    return ParseInt32(text != nullptr ? text : L"", nullptr, 10);
}

int32_t ParseCoordinateValue(const wchar_t* text) {
    return ClampCoordinate(ParseIntegerValue(text));
}

SkinRect ParseRectValue(const wchar_t* text) {
    SkinValueReader reader(text);
    SkinRect rect;
    rect.left = reader.NextCoordinate();
    rect.top = reader.NextCoordinate();
    rect.right = reader.NextCoordinate();
    rect.bottom = reader.NextCoordinate();
    return rect;
}

SkinSize ParseSizeValue(const wchar_t* text) {
    SkinValueReader reader(text);
    SkinSize size;
    size.cx = reader.NextCoordinate();
    size.cy = reader.NextCoordinate();
    return size;
}

SkinFractionRect ParseFractionRectValue(const wchar_t* text) {
    SkinValueReader reader(text);
    SkinFractionRect fractions;
    fractions.left = reader.NextFraction();
    fractions.top = reader.NextFraction();
    fractions.right = reader.NextFraction();
    fractions.bottom = reader.NextFraction();
    return fractions;
}

int32_t ScaleByFraction(int32_t size, double fraction) {
    const double limit = 16.0 * kLargestSkinCoordinate;
    if (std::isnan(fraction)) {
        return 0;
    }
    const double product = std::clamp(static_cast<double>(size) * fraction, -limit, limit);
    return static_cast<int32_t>(product);
}

}  // namespace SkinUI
