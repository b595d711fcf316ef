#include "skin/drawing/win32/GdiImageLibrary.h"

#include <string>

#include "skin/drawing/CanvasPixelBlend.h"
#include "skin/drawing/win32/GdiCanvasObjects.h"
#include "skin/drawing/win32/GdiPixelBuffer.h"

namespace SkinUI {
namespace {

// The library from the system folder: already loaded in most processes; loaded from there (never from
// the search path) otherwise, and kept for the life of the process.
HMODULE SystemImageLibrary() {
    static const HMODULE library = [] {
        HMODULE loaded = GetModuleHandleW(L"msimg32.dll");
        if (loaded != nullptr) {
            return loaded;
        }
        wchar_t folder[MAX_PATH] = {};
        const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) {
            return HMODULE{nullptr};
        }
        return LoadLibraryW((std::wstring(folder, length) + L"\\msimg32.dll").c_str());
    }();
    return library;
}

template <typename Proc>
Proc LookUp(const char* name) {
    HMODULE library = SystemImageLibrary();
    FARPROC found = library != nullptr ? GetProcAddress(library, name) : nullptr;
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(found));
}

// The size of the bitmap selected into a device context.
bool SelectedBitmapSize(HDC dc, SIZE& size) {
    HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    BITMAP info = {};
    if (bitmap == nullptr || GetObjectW(bitmap, sizeof(info), &info) == 0) {
        return false;
    }
    size = SIZE{info.bmWidth, info.bmHeight < 0 ? -info.bmHeight : info.bmHeight};
    return true;
}

// A top-down 32-bit copy of a rectangle of a device context, alpha included.
class ScratchCopy {
  public:
    ScratchCopy(HDC from, int x, int y, int width, int height)
        : bitmap_(CreateTopDownDib(width, height, &bits_)), dc_(from), select_(dc_.Get(), bitmap_.Get()) {
        copied_ =
            bitmap_ && dc_.Get() != nullptr && BitBlt(dc_.Get(), 0, 0, width, height, from, x, y, SRCCOPY);
        GdiFlush();
    }
    bool IsValid() const { return copied_; }
    HDC Dc() const { return dc_.Get(); }
    uint8_t* Bits() const { return bits_; }

  private:
    uint8_t* bits_ = nullptr;
    GdiObject<HBITMAP> bitmap_;
    MemoryDc dc_;
    ScopedSelect select_;
    bool copied_ = false;
};

}  // namespace

BOOL WINAPI SoftwareAlphaBlend(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                               int sourceY, int sourceWidth, int sourceHeight, BLENDFUNCTION blend) {
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0 || blend.BlendOp != AC_SRC_OVER) {
        return FALSE;
    }
    SIZE sourceSize = {};
    if (!SelectedBitmapSize(source, sourceSize) || sourceX < 0 || sourceY < 0 ||
        sourceWidth > sourceSize.cx - sourceX || sourceHeight > sourceSize.cy - sourceY) {
        return FALSE;
    }
    // Both sides go through top-down bitmaps of their own: whatever the bitmaps' row order, and whatever
    // the destination (and its clip), they are read and written as the system reads and writes them.
    GdiFlush();
    const ScratchCopy from(source, sourceX, sourceY, sourceWidth, sourceHeight);
    const ScratchCopy to(dest, x, y, width, height);
    if (!from.IsValid() || !to.IsValid()) {
        return FALSE;
    }
    BlendPixels(PixelBlock{to.Bits(), width, height, width * 4}, SkinRect{0, 0, width, height},
                ConstPixelBlock{from.Bits(), sourceWidth, sourceHeight, sourceWidth * 4},
                SkinRect{0, 0, sourceWidth, sourceHeight}, blend.SourceConstantAlpha,
                (blend.AlphaFormat & AC_SRC_ALPHA) != 0);
    return BitBlt(dest, x, y, width, height, to.Dc(), 0, 0, SRCCOPY);
}

AlphaBlendProc AlphaBlendFunction() {
    static const AlphaBlendProc function = [] {
        const AlphaBlendProc system = LookUp<AlphaBlendProc>("AlphaBlend");
        return system != nullptr ? system : &SoftwareAlphaBlend;
    }();
    return function;
}

GradientFillProc GradientFillFunction() {
    static const GradientFillProc function = LookUp<GradientFillProc>("GradientFill");
    return function;
}

}  // namespace SkinUI
