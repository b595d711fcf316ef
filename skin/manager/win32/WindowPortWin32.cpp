#include "skin/manager/win32/WindowPortWin32.h"
#include "skin/markup/win32/SystemRect.h"

#include "skin/drawing/win32/GdiCanvas.h"
#include "skin/manager/WindowMessages.h"
#include "skin/manager/win32/StartupTrace.h"

namespace SkinUI {

namespace {

// BeginPaint and EndPaint around one paint message.
class ScopedPaint {
  public:
    explicit ScopedPaint(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~ScopedPaint() { EndPaint(window_, &paint_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    HDC Dc() const { return dc_; }
    const RECT& Rect() const { return paint_.rcPaint; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// The screen's device context for the life of the scope.
class ScreenDc {
  public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_ != nullptr) {
            ReleaseDC(nullptr, dc_);
        }
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HDC dc_;
};

using SetLayeredWindowAttributesProc = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Looked up at run time: the function is missing on the oldest systems the launcher starts on.
SetLayeredWindowAttributesProc LayeredAttributesFunction() {
    static const auto function = reinterpret_cast<SetLayeredWindowAttributesProc>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetLayeredWindowAttributes")));
    return function;
}

void SetExtendedStyleBit(HWND window, LONG_PTR bit, bool on) {
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_EXSTYLE);
    const LONG_PTR wanted = on ? (style | bit) : (style & ~bit);
    if (wanted != style) {
        SetWindowLongPtrW(window, GWL_EXSTYLE, wanted);
    }
}

// The child window a notify, command or control-colour message came from.
HWND SendingChild(uint32_t message, intptr_t lParam) {
    if (lParam == 0) {
        return nullptr;
    }
    if (message == SkinMessage::kNotify) {
        return reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    }
    return reinterpret_cast<HWND>(lParam);
}

// Composes the client area the way a layered window's frame is composed: onto a transparent surface
// whose alpha counts.
void ComposeWithAlpha(GdiDibSurface& surface, const SkinRect& client, ISkinClientPainter& painter) {
    surface.Fill(0);  // what the skin leaves unpainted lets the desktop through
    GdiCanvas canvas(surface);
    painter.PaintClient(canvas, client);
}

}  // namespace

void SkinWindowPortWin32::Attach(HWND window) {
    window_ = window;
    offscreen_.reset();
    tooltip_.SetOwner(window);
}

uintptr_t SkinWindowPortWin32::WindowId() const {
    return reinterpret_cast<uintptr_t>(window_);
}

SkinRect SkinWindowPortWin32::ClientRect() const {
    RECT client{};
    GetClientRect(window_, &client);
    return FromRect(client);
}

void SkinWindowPortWin32::Invalidate(const SkinRect& rect) {
    const RECT r = ToRect(rect);
    InvalidateRect(window_, &r, FALSE);
}

void SkinWindowPortWin32::InvalidateAll() {
    InvalidateRect(window_, nullptr, FALSE);
}

SkinRect SkinWindowPortWin32::UpdateRect() const {
    RECT update{};
    if (!GetUpdateRect(window_, &update, FALSE)) {
        return SkinRect{};
    }
    return FromRect(update);
}

void SkinWindowPortWin32::ValidateAll() {
    ValidateRect(window_, nullptr);
}

GdiDibSurface* SkinWindowPortWin32::Offscreen(const SkinSize& size) {
    if (!offscreen_ || offscreen_->Width() != size.cx || offscreen_->Height() != size.cy) {
        offscreen_.reset();
        auto surface = std::make_unique<GdiDibSurface>(size.cx, size.cy);
        if (!surface->IsValid()) {
            return nullptr;
        }
        offscreen_ = std::move(surface);
    }
    return offscreen_.get();
}

void SkinWindowPortWin32::PaintUpdate(bool layered, ISkinClientPainter& painter) {
    ScopedPaint paint(window_);
    if (layered) {
        PaintLayered(painter);
    } else {
        PaintOffscreen(paint.Dc(), paint.Rect(), painter);
    }
}

void SkinWindowPortWin32::PaintOffscreen(HDC windowDc, const RECT& paintRect, ISkinClientPainter& painter) {
    const SkinRect client = ClientRect();
    GdiDibSurface* surface = Offscreen(SkinSize{client.Width(), client.Height()});
    if (surface == nullptr) {
        // Without a bitmap the tree paints straight onto the window.
        GdiCanvas canvas(windowDc);
        painter.PaintClient(canvas, FromRect(paintRect));
        return;
    }
    {
        GdiCanvas canvas(surface->Dc());
        painter.PaintClient(canvas, FromRect(paintRect));
    }
    BitBlt(windowDc, paintRect.left, paintRect.top, paintRect.right - paintRect.left,
           paintRect.bottom - paintRect.top, surface->Dc(), paintRect.left, paintRect.top, SRCCOPY);
}

void SkinWindowPortWin32::PaintLayered(ISkinClientPainter& painter) {
    SetExtendedStyleBit(window_, WS_EX_LAYERED, true);
    const SkinRect client = ClientRect();
    if (client.IsEmpty()) {
        return;
    }
    GdiDibSurface* surface = Offscreen(SkinSize{client.Width(), client.Height()});
    if (surface == nullptr) {
        return;
    }
    TOLVANE_TRACE("layered paint: surface ready");
    ComposeWithAlpha(*surface, client, painter);
    TOLVANE_TRACE("layered paint: composed (images decoded on first draw)");
    RECT window{};
    GetWindowRect(window_, &window);
    POINT destination{window.left, window.top};
    SIZE size{client.Width(), client.Height()};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ScreenDc screen;
    UpdateLayeredWindow(window_, screen.Get(), &destination, &size, surface->Dc(), &source, 0, &blend,
                        ULW_ALPHA);
    TOLVANE_TRACE("layered window updated");
    TOLVANE_TRACE_WRITE();
    // The system keeps the window's picture from here on; the next frame is composed afresh anyway, so
    // the whole-window bitmap is not held between frames.
    offscreen_.reset();
}

void SkinWindowPortWin32::DropOffscreen() {
    offscreen_.reset();
}

void SkinWindowPortWin32::PrintClient(uintptr_t wParam, intptr_t, ISkinClientPainter& painter) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    if (dc == nullptr) {
        return;
    }
    const SkinRect client = ClientRect();
    if ((GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_LAYERED) != 0 && !client.IsEmpty()) {
        // A layered window prints the picture its frames show, alpha included.
        GdiDibSurface frame(client.Width(), client.Height());
        if (frame.IsValid()) {
            ComposeWithAlpha(frame, client, painter);
            BitBlt(dc, 0, 0, client.Width(), client.Height(), frame.Dc(), 0, 0, SRCCOPY);
        }
    } else {
        GdiCanvas canvas(dc);
        painter.PaintClient(canvas, client);
    }
    // Child windows print themselves at their places.
    for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) {
            continue;
        }
        RECT place{};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&place), 2);
        POINT previous{};
        OffsetViewportOrgEx(dc, place.left, place.top, &previous);
        SendMessageW(child, WM_PRINT, wParam, PRF_CHECKVISIBLE | PRF_CHILDREN | PRF_CLIENT | PRF_NONCLIENT);
        SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
    }
}

bool SkinWindowPortWin32::HasKeyboardFocus() const {
    return GetFocus() == window_;
}

void SkinWindowPortWin32::TakeKeyboardFocus() {
    if (GetFocus() != window_) {
        ::SetFocus(window_);
    }
}

void SkinWindowPortWin32::GiveFocusToOwner() {
    if (HWND owner = GetWindow(window_, GW_OWNER)) {
        ::SetFocus(owner);
    }
}

bool SkinWindowPortWin32::ShiftDown() const {
    return GetKeyState(VK_SHIFT) < 0;
}

void SkinWindowPortWin32::CaptureMouse() {
    ::SetCapture(window_);
}

void SkinWindowPortWin32::ReleaseMouse() {
    if (GetCapture() == window_) {
        ::ReleaseCapture();
    }
}

void SkinWindowPortWin32::TrackMouse(uint32_t hoverMs) {
    TRACKMOUSEEVENT track{sizeof(track), TME_HOVER | TME_LEAVE, window_, hoverMs};
    TrackMouseEvent(&track);
}

void SkinWindowPortWin32::SetCursor(SkinCursor cursor) {
    const wchar_t* shape = IDC_ARROW;
    switch (cursor) {
        case SkinCursor::Hand:
            shape = IDC_HAND;
            break;
        case SkinCursor::SizeNorthSouth:
            shape = IDC_SIZENS;
            break;
        case SkinCursor::SizeWestEast:
            shape = IDC_SIZEWE;
            break;
        case SkinCursor::Arrow:
            break;
    }
    ::SetCursor(LoadCursorW(nullptr, shape));
}

SkinPoint SkinWindowPortWin32::CursorPosition() const {
    POINT cursor{};
    GetCursorPos(&cursor);
    ::ScreenToClient(window_, &cursor);
    return SkinPoint{cursor.x, cursor.y};
}

SkinPoint SkinWindowPortWin32::ScreenToClient(const SkinPoint& screen) const {
    POINT point{screen.x, screen.y};
    ::ScreenToClient(window_, &point);
    return SkinPoint{point.x, point.y};
}

bool SkinWindowPortWin32::StartTimer(uint32_t windowTimerId, uint32_t elapseMs) {
    return ::SetTimer(window_, windowTimerId, elapseMs, nullptr) != 0;
}

void SkinWindowPortWin32::StopTimer(uint32_t windowTimerId) {
    ::KillTimer(window_, windowTimerId);
}

uint32_t SkinWindowPortWin32::Now() const {
    return GetTickCount();
}

int32_t SkinWindowPortWin32::TooltipInitialDelay() const {
    return tooltip_.InitialDelay();
}

void SkinWindowPortWin32::ShowTooltip(const std::wstring& text, int32_t maxWidth, const SkinRect& toolRect) {
    tooltip_.Show(text, maxWidth, ToRect(toolRect));
}

void SkinWindowPortWin32::HideTooltip() {
    tooltip_.Hide();
}

void ResizeWindowClient(HWND window, int cx, int cy) {
    // The frame is measured rather than computed from the style: a skinned window keeps styles whose
    // frame it does not draw.
    RECT outer{};
    RECT client{};
    if (!GetWindowRect(window, &outer) || !GetClientRect(window, &client)) {
        return;
    }
    const int frameWidth = (outer.right - outer.left) - client.right;
    const int frameHeight = (outer.bottom - outer.top) - client.bottom;
    SetWindowPos(window, nullptr, 0, 0, cx + frameWidth, cy + frameHeight,
                 SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
}

void SkinWindowPortWin32::ResizeClient(const SkinSize& size) {
    ResizeWindowClient(window_, size.cx, size.cy);
}

void SkinWindowPortWin32::SetOpacity(uint8_t opacity) {
    if (opacity == 255) {
        SetExtendedStyleBit(window_, WS_EX_LAYERED, false);
        return;
    }
    SetLayeredWindowAttributesProc setAttributes = LayeredAttributesFunction();
    if (setAttributes == nullptr) {
        return;
    }
    SetExtendedStyleBit(window_, WS_EX_LAYERED, true);
    setAttributes(window_, 0, opacity, LWA_ALPHA);
}

void SkinWindowPortWin32::ApplyTrackingLimits(intptr_t lParam, const SkinSize& minimum,
                                              const SkinSize& maximum) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (info == nullptr) {
        return;
    }
    if (minimum.cx > 0) {
        info->ptMinTrackSize.x = minimum.cx;
    }
    if (minimum.cy > 0) {
        info->ptMinTrackSize.y = minimum.cy;
    }
    if (maximum.cx > 0) {
        info->ptMaxTrackSize.x = maximum.cx;
    }
    if (maximum.cy > 0) {
        info->ptMaxTrackSize.y = maximum.cy;
    }
}

bool SkinWindowPortWin32::ReflectToChild(uint32_t message, uintptr_t wParam, intptr_t lParam,
                                         intptr_t& result) {
    HWND child = SendingChild(message, lParam);
    if (child == nullptr || !IsWindow(child)) {
        return false;
    }
    result = SendMessageW(child, message + SkinMessage::kReflectBase, wParam, lParam);
    return true;
}

void SkinWindowPortWin32::PostDeferredDestruction() {
    PostMessageW(window_, SkinMessage::kDestroyDeferredControls, 0, 0);
}

}  // namespace SkinUI
