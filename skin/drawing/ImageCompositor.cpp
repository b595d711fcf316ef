#include "skin/drawing/ImageCompositor.h"
#include "skin/markup/Numbers.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace SkinUI {
namespace {

// Rectangle arithmetic in 64 bits: margins added to coordinates near the ends of the 32-bit range must
// not wrap.
struct WideRect {
    int64_t left;
    int64_t top;
    int64_t right;
    int64_t bottom;

    int64_t Width() const { return right - left; }
    int64_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

WideRect Widen(const SkinRect& r) {
    return WideRect{r.left, r.top, r.right, r.bottom};
}

SkinRect Narrow(const WideRect& r) {
    return SkinRect{SaturateToInt32(r.left), SaturateToInt32(r.top), SaturateToInt32(r.right),
                    SaturateToInt32(r.bottom)};
}

// Draws the pieces that meet the paint rectangle as they come.
class PieceSink {
  public:
    PieceSink(SkinCanvas& canvas, const SkinImageInfo& image, const SkinRect& paint, uint8_t fade)
        : canvas_(canvas),
          image_(image),
          paint_(Widen(paint)),
          blend_(image.hasAlpha || fade != 255),
          fade_(fade) {}

    void Add(const WideRect& dest, const WideRect& source) {
        if (dest.IsEmpty() || source.IsEmpty() || !Meets(dest)) {
            return;
        }
        const SkinRect to = Narrow(dest);
        const SkinRect from = Narrow(source);
        if (blend_) {
            canvas_.BlendImage(to, image_, from, fade_);
        } else if (to.Width() == from.Width() && to.Height() == from.Height()) {
            canvas_.CopyImage(to, image_, from);
        } else {
            canvas_.StretchImage(to, image_, from);
        }
    }
    bool Meets(const WideRect& r) const {
        return r.left < paint_.right && r.right > paint_.left && r.top < paint_.bottom &&
               r.bottom > paint_.top;
    }
    const WideRect& Paint() const { return paint_; }

  private:
    SkinCanvas& canvas_;
    const SkinImageInfo& image_;
    WideRect paint_;
    bool blend_;
    uint8_t fade_;
};

// The tiles along one axis: the first index whose tile reaches past `visibleFrom` and the count of tiles
// up to `visibleTo`, for tiles of `tile` pixels laid from `start` over `extent` pixels.
struct TileRange {
    int64_t first;
    int64_t last;  // exclusive
};

TileRange VisibleTiles(int64_t start, int64_t extent, int64_t tile, int64_t visibleFrom, int64_t visibleTo) {
    const int64_t count = (extent + tile - 1) / tile;
    const int64_t first = visibleFrom > start ? (visibleFrom - start) / tile : 0;
    const int64_t last = visibleTo > start ? (visibleTo - start + tile - 1) / tile : 0;
    return TileRange{first, std::min(last, count)};
}

void AddMiddle(PieceSink& list, const WideRect& dest, const WideRect& source, bool xTiled, bool yTiled) {
    if (dest.IsEmpty() || source.IsEmpty()) {
        return;
    }
    if (!xTiled && !yTiled) {
        list.Add(dest, source);
        return;
    }
    const int64_t tileWidth = xTiled ? source.Width() : dest.Width();
    const int64_t tileHeight = yTiled ? source.Height() : dest.Height();
    const TileRange columns =
        VisibleTiles(dest.left, dest.Width(), tileWidth, list.Paint().left, list.Paint().right);
    const TileRange rows =
        VisibleTiles(dest.top, dest.Height(), tileHeight, list.Paint().top, list.Paint().bottom);
    for (int64_t row = rows.first; row < rows.last; ++row) {
        const int64_t top = dest.top + row * tileHeight;
        const int64_t bottom = std::min(top + tileHeight, dest.bottom);
        // Tiled rows draw as much of the source as the (possibly cut) row is high; a stretched row uses
        // the whole source height.
        const int64_t sourceBottom = yTiled ? source.top + (bottom - top) : source.bottom;
        for (int64_t column = columns.first; column < columns.last; ++column) {
            const int64_t left = dest.left + column * tileWidth;
            const int64_t right = std::min(left + tileWidth, dest.right);
            const int64_t sourceRight = xTiled ? source.left + (right - left) : source.right;
            list.Add(WideRect{left, top, right, bottom},
                     WideRect{source.left, source.top, sourceRight, sourceBottom});
        }
    }
}

void AddBorders(PieceSink& list, const WideRect& d, const WideRect& s, const WideRect& c) {
    // Left-top, top, right-top.
    if (c.left > 0 && c.top > 0) {
        list.Add({d.left, d.top, d.left + c.left, d.top + c.top},
                 {s.left, s.top, s.left + c.left, s.top + c.top});
    }
    if (c.top > 0) {
        list.Add({d.left + c.left, d.top, d.right - c.right, d.top + c.top},
                 {s.left + c.left, s.top, s.right - c.right, s.top + c.top});
    }
    if (c.right > 0 && c.top > 0) {
        list.Add({d.right - c.right, d.top, d.right, d.top + c.top},
                 {s.right - c.right, s.top, s.right, s.top + c.top});
    }
    // Left, right.
    if (c.left > 0) {
        list.Add({d.left, d.top + c.top, d.left + c.left, d.bottom - c.bottom},
                 {s.left, s.top + c.top, s.left + c.left, s.bottom - c.bottom});
    }
    if (c.right > 0) {
        list.Add({d.right - c.right, d.top + c.top, d.right, d.bottom - c.bottom},
                 {s.right - c.right, s.top + c.top, s.right, s.bottom - c.bottom});
    }
    // Left-bottom, bottom, right-bottom.
    if (c.left > 0 && c.bottom > 0) {
        list.Add({d.left, d.bottom - c.bottom, d.left + c.left, d.bottom},
                 {s.left, s.bottom - c.bottom, s.left + c.left, s.bottom});
    }
    if (c.bottom > 0) {
        list.Add({d.left + c.left, d.bottom - c.bottom, d.right - c.right, d.bottom},
                 {s.left + c.left, s.bottom - c.bottom, s.right - c.right, s.bottom});
    }
    if (c.right > 0 && c.bottom > 0) {
        list.Add({d.right - c.right, d.bottom - c.bottom, d.right, d.bottom},
                 {s.right - c.right, s.bottom - c.bottom, s.right, s.bottom});
    }
}

// The source inside the image; margins between 0 and the source's extent, so that no piece reads
// outside the source.
WideRect SourceInImage(const SkinRect& source, const SkinImageInfo& image) {
    return WideRect{std::max<int64_t>(source.left, 0), std::max<int64_t>(source.top, 0),
                    std::min<int64_t>(source.right, image.width),
                    std::min<int64_t>(source.bottom, image.height)};
}

WideRect MarginsInSource(const SkinRect& corners, const WideRect& source) {
    return WideRect{std::clamp<int64_t>(corners.left, 0, source.Width()),
                    std::clamp<int64_t>(corners.top, 0, source.Height()),
                    std::clamp<int64_t>(corners.right, 0, source.Width()),
                    std::clamp<int64_t>(corners.bottom, 0, source.Height())};
}

// Where the pieces may reach: the destination, and beyond it where corners are wider or higher than it.
WideRect PiecesBounds(const WideRect& d, const WideRect& c) {
    return WideRect{std::min(d.left, d.right - c.right), std::min(d.top, d.bottom - c.bottom),
                    std::max(d.right, d.left + c.left), std::max(d.bottom, d.top + c.top)};
}

bool Contains(const WideRect& outer, const WideRect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

void CompositeImage(SkinCanvas& canvas, const SkinImageInfo& image, const SkinRect& dest,
                    const SkinRect& paint, const ImageDrawParams& params) {
    if (image.Bits() == nullptr || !RectsOverlap(dest, paint)) {
        return;
    }
    const WideRect source = SourceInImage(params.source, image);
    if (source.IsEmpty()) {
        return;
    }
    const WideRect c = MarginsInSource(params.corners, source);
    const WideRect d = Widen(dest);
    // Pieces are drawn whole; only when one may reach outside the paint rectangle does the canvas clip.
    const bool needsClip = !Contains(Widen(paint), PiecesBounds(d, c));
    if (needsClip) {
        canvas.SaveClip();
        canvas.IntersectClip(paint);
    }
    PieceSink sink(canvas, image, paint, params.fade);
    if (!params.hole) {
        AddMiddle(sink, WideRect{d.left + c.left, d.top + c.top, d.right - c.right, d.bottom - c.bottom},
                  WideRect{source.left + c.left, source.top + c.top, source.right - c.right,
                           source.bottom - c.bottom},
                  params.xTiled, params.yTiled);
    }
    AddBorders(sink, d, source, c);
    if (needsClip) {
        canvas.RestoreClip();
    }
}

}  // namespace SkinUI
