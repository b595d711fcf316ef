#pragma once

#include <windows.h>

#include <functional>

namespace standin {

// Shows the control's page through OpenGL while its window sits inside a top-level window of another
// process (the hall's game window holds the page window of its browser process): Wine draws GDI output
// of such a window nowhere, but it copies a swapped OpenGL picture into the top-level's X window.
class GlView {
  public:
    GlView() = default;
    GlView(const GlView&) = delete;
    GlView& operator=(const GlView&) = delete;
    ~GlView() { Reset(); }

    // Paints the client area with `paint` into a bitmap and shows it; false when the window's
    // top-level window is ours (GDI shows it then) or OpenGL is not available.
    bool Present(HWND window, const std::function<void(HDC, const RECT&)>& paint);
    void Reset();  // before the window goes

  private:
    bool Ready(HWND window, HDC dc);

    HGLRC context_ = nullptr;
    bool failed_ = false;
};

}  // namespace standin
