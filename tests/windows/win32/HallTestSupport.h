#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skin/drawing/Image.h"

namespace halltests {

// Pixels of a screen rectangle as 0xAARRGGBB, row by row.
struct ScreenCapture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
ScreenCapture CaptureScreen(const RECT& rect);

// An image of the skin folder the executable's archive was packed from, decoded by the engine.
std::unique_ptr<SkinUI::SkinImageInfo> LoadSkinImage(const std::wstring& name);

// Share of the image's opaque pixels (every `step` pixels) that the capture shows at (left, top) over
// whatever lies beneath, within a small tolerance per channel.
double MatchOfOpaquePixels(const ScreenCapture& capture, int left, int top,
                           const SkinUI::SkinImageInfo& image, int step);

// Mouse input as the window's thread receives it, in client coordinates.
void MoveMouse(HWND window, POINT client);
void Click(HWND window, POINT client);

// The centre of a "pos" rectangle of the skin.
POINT CentreOf(int left, int top, int right, int bottom);

// Window rectangle in screen coordinates.
RECT WindowRect(HWND window);
// Window rectangle relative to the client area of `parent`.
RECT RectInClientOf(HWND window, HWND parent);

// The first top-level window of one of `processes` whose window rectangle equals `rect`.
HWND FindWindowOfAt(const std::vector<DWORD>& processes, const RECT& rect);

// The child processes of a hall that run the launcher's own executable: its browser process (and none
// else: plug-in registration and the player's browser run other programs).
std::vector<DWORD> BrowserProcessesOf(DWORD hallId);

}  // namespace halltests
