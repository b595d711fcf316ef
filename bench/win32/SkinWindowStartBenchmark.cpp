// How long a skinned window takes from its creation to the end of its first paint, beside a bare window
// that paints one bitmap of the launcher's size, in the same run. The skinned windows are built from the
// launcher's and the game window's skins in the program's skin archive: markup read and parsed, the tree
// built, attached and laid out, every image decoded and the whole client area composed. Run under Wine or
// Windows:
//   skin_window_start_bench [rounds]
// Windows stay open until the program ends: hiding a window can wait on the display.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "skin/drawing/win32/GdiDibSurface.h"
#include "skin/manager/win32/WindowImplBase.h"
#include "skin/resources/Resources.h"

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_VISIBLE;

class ShippedSkinWnd : public SkinUI::WindowImplBase {
  public:
    explicit ShippedSkinWnd(const wchar_t* file) : file_(file) {}
    const wchar_t* WindowClassName() const override { return L"BenchShippedSkin"; }
    std::wstring SkinFileName() const override { return file_; }
    SkinUI::SkinSourceKind SkinSourceKind() const override { return SkinUI::SkinSourceKind::ArchiveResource; }
    uint32_t SkinResourceId() const override { return 113; }

  private:
    const wchar_t* file_;
};

// A window that copies one prepared bitmap onto itself when it paints.
class BareBitmapWindow {
  public:
    explicit BareBitmapWindow(const SkinUI::GdiDibSurface& picture) : picture_(picture) {}
    HWND Create() {
        static const bool registered = [] {
            WNDCLASSEXW windowClass{};
            windowClass.cbSize = sizeof(windowClass);
            windowClass.lpfnWndProc = &Procedure;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
            windowClass.lpszClassName = L"BenchBareBitmap";
            return RegisterClassExW(&windowClass) != 0;
        }();
        if (!registered) {
            return nullptr;
        }
        return CreateWindowExW(0, L"BenchBareBitmap", L"Bare", kStyle, 0, 0, picture_.Width(),
                               picture_.Height(), nullptr, nullptr, GetModuleHandleW(nullptr), this);
    }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            SetWindowLongPtrW(
                window, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        }
        auto* self = reinterpret_cast<BareBitmapWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (message == WM_PAINT && self != nullptr) {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            BitBlt(dc, 0, 0, self->picture_.Width(), self->picture_.Height(), self->picture_.Dc(), 0, 0,
                   SRCCOPY);
            EndPaint(window, &paint);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    const SkinUI::GdiDibSurface& picture_;
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Creates one window with `create` and paints it; the time of both.
template <typename Create>
double TimeToFirstPaint(Create create) {
    LARGE_INTEGER start;
    LARGE_INTEGER end;
    QueryPerformanceCounter(&start);
    HWND window = create();
    if (window != nullptr) {
        UpdateWindow(window);
    }
    QueryPerformanceCounter(&end);
    return window != nullptr ? Milliseconds(start, end) : -1.0;
}

void Report(const char* name, std::vector<double> times) {
    if (times.empty() || times.front() < 0) {
        std::printf("%-34s failed\n", name);
        return;
    }
    const double first = times.front();
    std::sort(times.begin() + 1, times.end());
    const double median = times.size() > 1 ? times[1 + (times.size() - 1) / 2] : first;
    std::printf("%-34s first %8.2f ms   median of the rest %8.2f ms   (%zu rounds)\n", name, first, median,
                times.size());
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(2, std::atoi(argv[1])) : 10;
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring launcher = program;
    launcher = launcher.substr(0, launcher.find_last_of(L"\\/") + 1) + L"TolvaneRunecourt.exe";
    HMODULE resources =
        LoadLibraryExW(launcher.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (resources == nullptr) {
        std::printf("TolvaneRunecourt.exe not found beside the benchmark\n");
        return 1;
    }
    SkinUI::SetResourceModule(resources);

    std::vector<std::unique_ptr<ShippedSkinWnd>> skinned;
    std::vector<double> launcherTimes;
    std::vector<double> gameTimes;
    SkinUI::GdiDibSurface picture(1280, 768);
    picture.Fill(0xFF204080);
    std::vector<std::unique_ptr<BareBitmapWindow>> bare;
    std::vector<double> bareTimes;
    // Alternating, so that both meet the same load of the machine.
    for (int i = 0; i < rounds; ++i) {
        for (auto* run : {&launcherTimes, &gameTimes}) {
            skinned.push_back(
                std::make_unique<ShippedSkinWnd>(run == &launcherTimes ? L"main.xml" : L"game.xml"));
            ShippedSkinWnd& window = *skinned.back();
            run->push_back(TimeToFirstPaint(
                [&] { return window.CreateNativeWindow(nullptr, L"Skinned", kStyle, 0, 0, 0); }));
        }
        bare.push_back(std::make_unique<BareBitmapWindow>(picture));
        BareBitmapWindow& plain = *bare.back();
        bareTimes.push_back(TimeToFirstPaint([&] { return plain.Create(); }));
    }
    Report("skinned window from main.xml", launcherTimes);
    Report("skinned window from game.xml", gameTimes);
    Report("bare window painting one bitmap", bareTimes);
    std::fflush(stdout);
    // The windows go with the process.
    ExitProcess(0);
}
