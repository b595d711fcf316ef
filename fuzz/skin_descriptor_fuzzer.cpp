// Image attribute values from skin markup: the descriptor grammar, then the compositor with what it read,
// against a canvas that checks every piece stays inside the image and the item.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "skin/drawing/Canvas.h"
#include "skin/drawing/Image.h"
#include "skin/drawing/ImageCompositor.h"
#include "skin/drawing/ImageDescriptorKeys.h"
#include "skin/drawing/ImagePixels.h"

namespace {

using SkinUI::SkinRect;

void Require(bool condition) {
    if (!condition) {
        abort();
    }
}

class CheckingCanvas final : public SkinUI::SkinCanvas {
  public:
    CheckingCanvas(const SkinUI::SkinImageInfo& image, const SkinRect& paint, const SkinRect& reach)
        : image_(image), paint_(paint), reach_(reach) {}
    ~CheckingCanvas() override { Require(openClips_ == 0); }

    void FillSolid(const SkinRect&, SkinUI::SkinColor) override {}
    void FillGradient(const SkinRect&, SkinUI::SkinColor, SkinUI::SkinColor, bool, int32_t) override {}
    void DrawLine(const SkinUI::SkinPoint&, const SkinUI::SkinPoint&, int32_t, SkinUI::SkinColor,
                  int32_t) override {}
    void DrawRect(const SkinRect&, int32_t, SkinUI::SkinColor) override {}
    void DrawRoundRect(const SkinRect&, int32_t, int32_t, int32_t, SkinUI::SkinColor) override {}
    void PaintText(const SkinRect&, const std::wstring&, SkinUI::SkinColor, SkinUI::SkinFontHandle,
                   uint32_t) override {}
    void CopyImage(const SkinRect& dest, const SkinUI::SkinImageInfo& image,
                   const SkinRect& source) override {
        Require(dest.Width() == source.Width() && dest.Height() == source.Height());
        Check(dest, image, source);
    }
    void StretchImage(const SkinRect& dest, const SkinUI::SkinImageInfo& image,
                      const SkinRect& source) override {
        Check(dest, image, source);
    }
    void BlendImage(const SkinRect& dest, const SkinUI::SkinImageInfo& image, const SkinRect& source,
                    uint8_t) override {
        Check(dest, image, source);
    }
    void SaveClip() override { ++openClips_; }
    void IntersectClip(const SkinRect&) override { Require(openClips_ > 0); }
    void IntersectRoundClip(const SkinRect&, int32_t, int32_t) override { Require(openClips_ > 0); }
    void RestoreClip() override {
        Require(openClips_ > 0);
        --openClips_;
    }

  private:
    void Check(const SkinRect& dest, const SkinUI::SkinImageInfo& image, const SkinRect& source) {
        Require(&image == &image_);
        Require(!dest.IsEmpty() && !source.IsEmpty());
        Require(source.left >= 0 && source.top >= 0 && source.right <= image.width &&
                source.bottom <= image.height);
        Require(SkinUI::RectsOverlap(dest, paint_));
        Require(reach_.Contains(dest));
    }

    const SkinUI::SkinImageInfo& image_;
    SkinRect paint_;
    SkinRect reach_;
    int openClips_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // UTF-16 code units, little-endian, as markup text reaches the engine.
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        text.push_back(static_cast<wchar_t>(data[i] | data[i + 1] << 8));
    }
    const SkinUI::ImageDescriptorKeys keys = SkinUI::ParseImageDescriptor(text);

    SkinUI::SkinImageInfo image;
    image.width = 13;
    image.height = 9;
    image.pixels = SkinUI::AllocateHeapPixels(image.width, image.height);
    image.hasAlpha = keys.mask != 0;
    const SkinRect item{-40, 30, 160, 130};
    const SkinRect paint{-10, 20, 90, 100};
    const SkinRect dest = SkinUI::DescriptorDestination(item, keys.dest);
    if (!SkinUI::RectsOverlap(dest, item)) {
        return 0;
    }
    SkinUI::ImageDrawParams params;
    params.source = keys.source.IsZero() ? SkinRect{0, 0, image.width, image.height} : keys.source;
    params.corners = keys.corner;
    params.fade = keys.fade;
    params.hole = keys.hole;
    params.xTiled = keys.xTiled;
    params.yTiled = keys.yTiled;
    // Corners are drawn unscaled, so they may stick out of the destination by up to the image's size.
    const SkinRect reach{dest.left - image.width, dest.top - image.height, dest.right + image.width,
                         dest.bottom + image.height};
    CheckingCanvas canvas(image, paint, reach);
    SkinUI::CompositeImage(canvas, image, dest, paint, params);
    return 0;
}
