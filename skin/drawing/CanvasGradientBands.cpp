#include "skin/drawing/CanvasGradientBands.h"

#include <algorithm>

namespace SkinUI {
namespace {

SkinColor Interpolate(SkinColor from, SkinColor to, int64_t step, int64_t last) {
    SkinColor result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int64_t a = (from >> shift) & 0xFF;
        const int64_t b = (to >> shift) & 0xFF;
        const int64_t channel = last == 0 ? a : a + (b - a) * step / last;
        result |= static_cast<SkinColor>(channel) << shift;
    }
    return result;
}

}  // namespace

std::vector<GradientBand> GradientBands(const SkinRect& rect, SkinColor from, SkinColor to, bool vertical,
                                        int32_t steps) {
    std::vector<GradientBand> bands;
    if (rect.IsEmpty()) {
        return bands;
    }
    const int64_t start = vertical ? rect.top : rect.left;
    const int64_t extent = vertical ? int64_t{rect.bottom} - rect.top : int64_t{rect.right} - rect.left;
    const int64_t count = std::clamp<int64_t>(steps, 1, extent);
    bands.reserve(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i) {
        const auto begin = static_cast<int32_t>(start + extent * i / count);
        const auto end = static_cast<int32_t>(start + extent * (i + 1) / count);
        SkinRect band = rect;
        if (vertical) {
            band.top = begin;
            band.bottom = end;
        } else {
            band.left = begin;
            band.right = end;
        }
        bands.push_back(GradientBand{band, Interpolate(from, to, i, count - 1)});
    }
    return bands;
}

}  // namespace SkinUI
