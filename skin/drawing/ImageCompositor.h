#pragma once

#include <cstdint>

#include "skin/drawing/Canvas.h"
#include "skin/drawing/Image.h"
#include "skin/markup/Geometry.h"

namespace SkinUI {

// How a part of an image covers a destination.
struct ImageDrawParams {
    SkinRect source;   // image pixels to draw
    SkinRect corners;  // nine-part margins (left, top, right, bottom); 0 = no border pieces
    uint8_t fade = 255;
    bool hole = false;  // leave the middle piece out
    bool xTiled = false;
    bool yTiled = false;
};

// Draws `params.source` of the image over `dest`, limited to `paint`:
// - the middle piece (dest and source shrunk by the corners) is stretched, or tiled from the left/top edge
//   in x, y or both with the last tile cut at the edge (never scaled); it is left out with `hole`;
// - then the border pieces whose margins are positive: the four corners unscaled, the four edges
//   stretched along their length (left-top, top, right-top, left, right, left-bottom, bottom,
//   right-bottom);
// - pieces outside `paint` are skipped and nothing is drawn outside it;
// - images with alpha, or a fade below 255, are blended with the fade as constant opacity; the others are
//   copied, or stretched where the piece is scaled.
// The source is first limited to the image and the margins to the source.
void CompositeImage(SkinCanvas& canvas, const SkinImageInfo& image, const SkinRect& dest,
                    const SkinRect& paint, const ImageDrawParams& params);

}  // namespace SkinUI
