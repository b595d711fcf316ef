#pragma once

#include <cstdint>
#include <vector>

#include "skin/markup/Colors.h"
#include "skin/markup/Geometry.h"

namespace SkinUI {

struct GradientBand {
    SkinRect rect;
    SkinColor color;
};

// A gradient as solid bands, for a platform that cannot fill gradients: `steps` bands (at least one, at
// most one per pixel) from the top (vertical) or left edge, the first in `from`, the last in `to`, the
// ones between evenly interpolated per channel, alpha included.
std::vector<GradientBand> GradientBands(const SkinRect& rect, SkinColor from, SkinColor to, bool vertical,
                                        int32_t steps);

}  // namespace SkinUI
