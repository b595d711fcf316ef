#pragma once

#include <algorithm>
#include <cstdint>

namespace SkinUI {

// Client-area geometry of the engine: signed 32-bit pixels, rectangles as left, top, right, bottom with
// the right and bottom edges outside the rectangle.
struct SkinPoint {
    int32_t x = 0;
    int32_t y = 0;
};

struct SkinSize {
    int32_t cx = 0;
    int32_t cy = 0;
};

struct SkinRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool IsZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool Contains(const SkinRect& other) const {
        return other.left >= left && other.top >= top && other.right <= right && other.bottom <= bottom;
    }
};

inline bool operator==(const SkinPoint& a, const SkinPoint& b) {
    return a.x == b.x && a.y == b.y;
}
inline bool operator!=(const SkinPoint& a, const SkinPoint& b) {
    return !(a == b);
}
inline bool operator==(const SkinSize& a, const SkinSize& b) {
    return a.cx == b.cx && a.cy == b.cy;
}
inline bool operator!=(const SkinSize& a, const SkinSize& b) {
    return !(a == b);
}
inline bool operator==(const SkinRect& a, const SkinRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const SkinRect& a, const SkinRect& b) {
    return !(a == b);
}

// The common part of two rectangles; false (and an all-zero result) when they do not overlap, as the
// platform's rectangle intersection answers.
inline bool IntersectRects(const SkinRect& a, const SkinRect& b, SkinRect& result) {
    const SkinRect common{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                          std::min(a.bottom, b.bottom)};
    if (common.IsEmpty()) {
        result = SkinRect{};
        return false;
    }
    result = common;
    return true;
}

inline bool RectsOverlap(const SkinRect& a, const SkinRect& b) {
    SkinRect ignored;
    return IntersectRects(a, b, ignored);
}

// The smallest rectangle holding both; an empty rectangle adds nothing.
inline SkinRect UnionRects(const SkinRect& a, const SkinRect& b) {
    if (a.IsEmpty()) {
        return b;
    }
    if (b.IsEmpty()) {
        return a;
    }
    return SkinRect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                    std::max(a.bottom, b.bottom)};
}

inline bool RectContainsPoint(const SkinRect& rect, const SkinPoint& point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

// A requested size within a control's limits; the maximum wins over a minimum above it.
inline int32_t ClampToLimits(int32_t value, int32_t minimum, int32_t maximum) {
    if (value < minimum) {
        value = minimum;
    }
    if (value > maximum) {
        value = maximum;
    }
    return value;
}

// Fractions of a parent's width and height, one per edge: where a floating control is anchored.
struct SkinFractionRect {
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
};

}  // namespace SkinUI
