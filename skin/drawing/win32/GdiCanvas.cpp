#include "skin/drawing/win32/GdiCanvas.h"
#include "skin/markup/win32/SystemRect.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "skin/drawing/CanvasGradientBands.h"
#include "skin/drawing/Image.h"
#include "skin/drawing/win32/GdiFontEngine.h"
#include "skin/drawing/win32/GdiImageLibrary.h"
#include "skin/drawing/win32/GdiPixelBuffer.h"

namespace SkinUI {
namespace {

COLORREF ToColorRef(SkinColor color) {
    return RGB(ColorRed(color), ColorGreen(color), ColorBlue(color));
}

COLOR16 ToColor16(uint8_t channel) {
    return static_cast<COLOR16>(channel << 8);
}

TRIVERTEX Vertex(int32_t x, int32_t y, SkinColor color) {
    TRIVERTEX vertex = {};
    vertex.x = x;
    vertex.y = y;
    vertex.Red = ToColor16(ColorRed(color));
    vertex.Green = ToColor16(ColorGreen(color));
    vertex.Blue = ToColor16(ColorBlue(color));
    vertex.Alpha = ToColor16(ColorAlpha(color));
    return vertex;
}

}  // namespace

// The image's bitmap selected into the canvas's image device context for one blit. Images whose pixels
// are not in a bitmap of their own (heap storage) are copied into a temporary one.
class GdiCanvas::ImageSource {
  public:
    ImageSource(HDC imageDc, const SkinImageInfo& image) : imageDc_(imageDc) {
        const auto* own = dynamic_cast<const GdiPixelBuffer*>(image.pixels.get());
        HBITMAP bitmap = own != nullptr ? own->Bitmap() : nullptr;
        if (bitmap == nullptr && image.Bits() != nullptr) {
            uint8_t* bits = nullptr;
            temporary_.Reset(CreateTopDownDib(image.width, image.height, &bits));
            if (temporary_) {
                CopyMemory(bits, image.Bits(), image.pixels->ByteSize());
                bitmap = temporary_.Get();
            }
        }
        if (bitmap != nullptr && imageDc_ != nullptr) {
            previous_ = SelectObject(imageDc_, bitmap);
        }
    }
    ~ImageSource() {
        if (previous_ != nullptr) {
            SelectObject(imageDc_, previous_);
        }
    }
    ImageSource(const ImageSource&) = delete;
    ImageSource& operator=(const ImageSource&) = delete;

    HDC Dc() const { return previous_ != nullptr ? imageDc_ : nullptr; }

  private:
    HDC imageDc_;
    GdiObject<HBITMAP> temporary_;
    HGDIOBJ previous_ = nullptr;
};

// Makes what one GDI call draws on an alpha surface opaque. GDI leaves the pixels it does not draw
// alone and writes alpha 0 into those it draws, so: before the call every pixel of the area it may
// reach gets alpha 255 as a mark, its own alpha kept aside; afterwards a pixel whose alpha became 0
// was drawn and stays opaque, and every other pixel gets its own alpha back.
class GdiCanvas::OpaqueOutput {
  public:
    // `reach` is in logical units; the area is that part of it inside the clip and the surface.
    OpaqueOutput(const GdiCanvas& canvas, const SkinRect& reach) : surface_(canvas.alphaSurface_) {
        RECT clip{};
        if (surface_ == nullptr || !surface_->IsValid() || GetClipBox(canvas.dc_, &clip) == ERROR) {
            surface_ = nullptr;
            return;
        }
        POINT corners[2] = {
            {std::max<LONG>(clip.left, reach.left), std::max<LONG>(clip.top, reach.top)},
            {std::min<LONG>(clip.right, reach.right), std::min<LONG>(clip.bottom, reach.bottom)}};
        LPtoDP(canvas.dc_, corners, 2);
        area_ = RECT{std::max<LONG>(corners[0].x, 0), std::max<LONG>(corners[0].y, 0),
                     std::min<LONG>(corners[1].x, surface_->Width()),
                     std::min<LONG>(corners[1].y, surface_->Height())};
        if (area_.left >= area_.right || area_.top >= area_.bottom) {
            surface_ = nullptr;
            return;
        }
        saved_.reserve(static_cast<size_t>(area_.right - area_.left) *
                       static_cast<size_t>(area_.bottom - area_.top));
        ForEachAlpha([this](uint8_t& alpha) {
            saved_.push_back(alpha);
            alpha = 255;
        });
    }
    ~OpaqueOutput() {
        if (surface_ == nullptr) {
            return;
        }
        size_t next = 0;
        ForEachAlpha([this, &next](uint8_t& alpha) { alpha = alpha == 0 ? 255 : saved_[next++]; });
    }
    OpaqueOutput(const OpaqueOutput&) = delete;
    OpaqueOutput& operator=(const OpaqueOutput&) = delete;

  private:
    // Row by row over the area; Bits also waits for GDI's pending work.
    template <typename Visit>
    void ForEachAlpha(Visit visit) {
        uint8_t* bits = surface_->Bits();
        const size_t width = static_cast<size_t>(surface_->Width());
        for (LONG y = area_.top; y < area_.bottom; ++y) {
            uint8_t* alpha =
                bits + (static_cast<size_t>(y) * width + static_cast<size_t>(area_.left)) * 4 + 3;
            for (LONG x = area_.left; x < area_.right; ++x, alpha += 4) {
                visit(*alpha);
            }
        }
    }

    GdiDibSurface* surface_;
    RECT area_{};
    std::vector<uint8_t> saved_;
};

GdiCanvas::GdiCanvas(HDC dc) : dc_(dc), imageDc_(dc) {}

GdiCanvas::GdiCanvas(GdiDibSurface& alphaSurface)
    : dc_(alphaSurface.Dc()), alphaSurface_(&alphaSurface), imageDc_(alphaSurface.Dc()) {}

GdiCanvas::~GdiCanvas() {
    // A clip saved and never restored would leave the caller's context narrowed.
    while (!savedClips_.empty()) {
        RestoreClip();
    }
}

void GdiCanvas::FillSolid(const SkinRect& rect, SkinColor color) {
    const RECT area = ToRect(rect);
    const OpaqueOutput opaque(*this, rect);
    const COLORREF previous = SetBkColor(dc_, ToColorRef(color));
    ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    SetBkColor(dc_, previous);
}

void GdiCanvas::FillGradient(const SkinRect& rect, SkinColor from, SkinColor to, bool vertical,
                             int32_t steps) {
    if (rect.IsEmpty()) {
        return;
    }
    if (const GradientFillProc gradientFill = GradientFillFunction()) {
        TRIVERTEX vertices[2] = {Vertex(rect.left, rect.top, from), Vertex(rect.right, rect.bottom, to)};
        GRADIENT_RECT corners = {0, 1};
        if (gradientFill(dc_, vertices, 2, &corners, 1,
                         vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H)) {
            return;
        }
    }
    for (const GradientBand& band : GradientBands(rect, from, to, vertical, steps)) {
        FillSolid(band.rect, band.color);
    }
}

void GdiCanvas::DrawLine(const SkinPoint& from, const SkinPoint& to, int32_t width, SkinColor color,
                         int32_t penStyle) {
    GdiObject<HPEN> pen(CreatePen(penStyle, width, ToColorRef(color)));
    if (!pen) {
        return;
    }
    ScopedSelect selectPen(dc_, pen.Get());
    const int32_t reach = width + 1;
    const OpaqueOutput opaque(*this,
                              SkinRect{std::min(from.x, to.x) - reach, std::min(from.y, to.y) - reach,
                                       std::max(from.x, to.x) + reach, std::max(from.y, to.y) + reach});
    POINT previous = {};
    MoveToEx(dc_, from.x, from.y, &previous);
    LineTo(dc_, to.x, to.y);
    MoveToEx(dc_, previous.x, previous.y, nullptr);
}

void GdiCanvas::DrawRect(const SkinRect& rect, int32_t width, SkinColor color) {
    DrawOutline(rect, width, color, 0, 0);
}

void GdiCanvas::DrawRoundRect(const SkinRect& rect, int32_t width, int32_t radiusX, int32_t radiusY,
                              SkinColor color) {
    DrawOutline(rect, width, color, radiusX, radiusY);
}

void GdiCanvas::DrawOutline(const SkinRect& rect, int32_t width, SkinColor color, int32_t radiusX,
                            int32_t radiusY) {
    // Inside-frame pens keep wide outlines within the rectangle.
    GdiObject<HPEN> pen(CreatePen(PS_SOLID | PS_INSIDEFRAME, width, ToColorRef(color)));
    if (!pen) {
        return;
    }
    ScopedSelect selectPen(dc_, pen.Get());
    ScopedSelect selectBrush(dc_, GetStockObject(NULL_BRUSH));
    const OpaqueOutput opaque(*this, rect);
    if (radiusX > 0 || radiusY > 0) {
        RoundRect(dc_, rect.left, rect.top, rect.right, rect.bottom, radiusX, radiusY);
    } else {
        Rectangle(dc_, rect.left, rect.top, rect.right, rect.bottom);
    }
}

void GdiCanvas::PaintText(const SkinRect& rect, const std::wstring& text, SkinColor color,
                          SkinFontHandle font, uint32_t format) {
    if (text.empty()) {
        return;
    }
    HFONT gdiFont = GdiFontHandle(font);
    ScopedSelect selectFont(dc_, gdiFont != nullptr ? gdiFont : GetStockObject(DEFAULT_GUI_FONT));
    const int previousMode = SetBkMode(dc_, TRANSPARENT);
    const COLORREF previousColor = SetTextColor(dc_, ToColorRef(color));
    RECT area = ToRect(rect);
    // Unclipped text may run past its rectangle, anywhere in the clip.
    const OpaqueOutput opaque(
        *this, (format & DT_NOCLIP) != 0 ? SkinRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX} : rect);
    // The text is the caller's and read-only: never let the format ask for it to be rewritten.
    DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &area,
              format & ~static_cast<uint32_t>(DT_MODIFYSTRING));
    SetTextColor(dc_, previousColor);
    SetBkMode(dc_, previousMode);
}

void GdiCanvas::CopyImage(const SkinRect& dest, const SkinImageInfo& image, const SkinRect& source) {
    ImageSource from(imageDc_.Get(), image);
    if (from.Dc() != nullptr) {
        BitBlt(dc_, dest.left, dest.top, dest.Width(), dest.Height(), from.Dc(), source.left, source.top,
               SRCCOPY);
    }
}

void GdiCanvas::StretchImage(const SkinRect& dest, const SkinImageInfo& image, const SkinRect& source) {
    ImageSource from(imageDc_.Get(), image);
    if (from.Dc() == nullptr) {
        return;
    }
    const int previousMode = SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, dest.left, dest.top, dest.Width(), dest.Height(), from.Dc(), source.left, source.top,
               source.Width(), source.Height(), SRCCOPY);
    SetStretchBltMode(dc_, previousMode);
}

void GdiCanvas::BlendImage(const SkinRect& dest, const SkinImageInfo& image, const SkinRect& source,
                           uint8_t opacity) {
    ImageSource from(imageDc_.Get(), image);
    if (from.Dc() == nullptr) {
        return;
    }
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, opacity, AC_SRC_ALPHA};
    AlphaBlendFunction()(dc_, dest.left, dest.top, dest.Width(), dest.Height(), from.Dc(), source.left,
                         source.top, source.Width(), source.Height(), blend);
}

void GdiCanvas::SaveClip() {
    GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    if (region && GetClipRgn(dc_, region.Get()) != 1) {
        region.Reset();  // no clip region: restoring means removing the clip
    }
    savedClips_.push_back(std::move(region));
}

void GdiCanvas::IntersectClip(const SkinRect& rect) {
    IntersectClipRect(dc_, rect.left, rect.top, rect.right, rect.bottom);
}

void GdiCanvas::IntersectRoundClip(const SkinRect& rect, int32_t radiusX, int32_t radiusY) {
    // Regions are in device units; the rectangle is in logical ones.
    POINT corners[2] = {{rect.left, rect.top}, {rect.right, rect.bottom}};
    LPtoDP(dc_, corners, 2);
    // The region's right and bottom edges lie one pixel inside the coordinates given.
    GdiObject<HRGN> region(
        CreateRoundRectRgn(corners[0].x, corners[0].y, corners[1].x + 1, corners[1].y + 1, radiusX, radiusY));
    if (region) {
        ExtSelectClipRgn(dc_, region.Get(), RGN_AND);
    }
}

void GdiCanvas::RestoreClip() {
    if (savedClips_.empty()) {
        return;
    }
    GdiObject<HRGN> region = std::move(savedClips_.back());
    savedClips_.pop_back();
    SelectClipRgn(dc_, region.Get());
}

}  // namespace SkinUI
