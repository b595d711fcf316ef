// The yardstick for the launcher's start-up: a plain window of the launcher's size that paints one
// bitmap of that size, made in memory at start.
#include <windows.h>

#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 768;

HBITMAP g_bitmap = nullptr;

HBITMAP MakeBitmap() {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kWidth;
    info.bmiHeader.biHeight = -kHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr) {
        auto* pixels = static_cast<DWORD*>(bits);
        for (int i = 0; i < kWidth * kHeight; ++i) {
            pixels[i] = 0xFF203048u + static_cast<DWORD>(i % kWidth);
        }
    }
    return bitmap;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC target = BeginPaint(window, &paint);
            HDC source = CreateCompatibleDC(target);
            HGDIOBJ old = SelectObject(source, g_bitmap);
            BitBlt(target, 0, 0, kWidth, kHeight, source, 0, 0, SRCCOPY);
            SelectObject(source, old);
            DeleteDC(source);
            EndPaint(window, &paint);
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    g_bitmap = MakeBitmap();
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = &WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"BareBitmapWindow";
    RegisterClassW(&windowClass);
    CreateWindowExW(0, L"BareBitmapWindow", L"Bare bitmap window", WS_POPUP | WS_VISIBLE, 100, 100, kWidth,
                    kHeight, nullptr, nullptr, instance, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
    }
    DeleteObject(g_bitmap);
    return 0;
}
