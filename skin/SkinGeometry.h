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

}  // namespace SkinUI
