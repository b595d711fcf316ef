#include "GlView.h"

#include <GL/gl.h>

#include <memory>

namespace standin {

namespace {

struct DcRelease {
    HWND window;
    void operator()(HDC dc) const { ReleaseDC(window, dc); }
};
struct DcDelete {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct ObjectDelete {
    void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};

bool RootOfAnotherProcess(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(GetAncestor(window, GA_ROOT), &process);
    return process != GetCurrentProcessId();
}

// Wine's display driver copies a swapped picture into the X drawable of the DC, but gives a DC no
// drawable when the window's top-level window belongs to another process. The driver's own escape
// names it: the top-level's X window, which Wine keeps in a window property.
void UseTopLevelDrawable(HWND window, HDC dc, const RECT& client) {
    constexpr int kWineX11Escape = 6789, kSetDrawable = 0, kIncludeInferiors = 1;
    struct {
        int code;
        UINT64 drawable;
        int mode;
        RECT rect;  // the DC's area in the drawable
    } escape = {kSetDrawable, 0, kIncludeInferiors, client};
    const HWND root = GetAncestor(window, GA_ROOT);
    escape.drawable = reinterpret_cast<ULONG_PTR>(GetPropW(root, L"__wine_x11_whole_window"));
    RECT rootRect = {};
    GetWindowRect(root, &rootRect);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&escape.rect), 2);
    OffsetRect(&escape.rect, -rootRect.left, -rootRect.top);
    if (escape.drawable != 0) {
        ExtEscape(dc, kWineX11Escape, sizeof escape, reinterpret_cast<LPCSTR>(&escape), 0, nullptr);
    }
}

}  // namespace

void GlView::Reset() {
    if (context_ != nullptr) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context_);
        context_ = nullptr;
    }
}

// A window keeps its pixel format for life, so once set the page is always shown this way.
bool GlView::Ready(HWND window, HDC dc) {
    if (context_ != nullptr) {
        return true;
    }
    if (failed_ || !RootOfAnotherProcess(window)) {
        return false;
    }
    PIXELFORMATDESCRIPTOR format = {};
    format.nSize = sizeof format;
    format.nVersion = 1;
    format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    format.iPixelType = PFD_TYPE_RGBA;
    format.cColorBits = 24;
    const int index = ChoosePixelFormat(dc, &format);
    failed_ =
        index == 0 || !SetPixelFormat(dc, index, &format) || (context_ = wglCreateContext(dc)) == nullptr;
    return !failed_;
}

bool GlView::Present(HWND window, const std::function<void(HDC, const RECT&)>& paint) {
    RECT client = {};
    GetClientRect(window, &client);
    std::unique_ptr<HDC__, DcRelease> dc(GetDC(window), DcRelease{window});
    if (!dc || client.right <= 0 || client.bottom <= 0 || !Ready(window, dc.get())) {
        return false;
    }
    // Bottom-up rows: the order glDrawPixels reads them in.
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, client.right, client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    std::unique_ptr<HDC__, DcDelete> memory(CreateCompatibleDC(dc.get()));
    std::unique_ptr<HBITMAP__, ObjectDelete> bitmap(
        CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory || !bitmap || !wglMakeCurrent(dc.get(), context_)) {
        return false;
    }
    HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
    paint(memory.get(), client);
    GdiFlush();
    glViewport(0, 0, client.right, client.bottom);
    // From the centre of the view to its bottom-left corner: a raster position on the edge of the view
    // may be clipped away, and glDrawPixels then draws nothing.
    glRasterPos2i(0, 0);
    glBitmap(0, 0, 0.0f, 0.0f, -client.right / 2.0f, -client.bottom / 2.0f, nullptr);
    glDrawPixels(client.right, client.bottom, GL_BGRA_EXT, GL_UNSIGNED_BYTE, bits);
    UseTopLevelDrawable(window, dc.get(), client);
    SwapBuffers(dc.get());
    wglMakeCurrent(nullptr, nullptr);
    SelectObject(memory.get(), previous);
    return true;
}

}  // namespace standin
