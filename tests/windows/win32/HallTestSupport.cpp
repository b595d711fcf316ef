#include "tests/windows/win32/HallTestSupport.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "skin/drawing/ImageDecoder.h"

namespace halltests {
namespace {

int Channel(uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

bool Near(uint32_t a, uint32_t b) {
    constexpr int kTolerance = 12;
    for (int shift : {0, 8, 16}) {
        if (std::abs(Channel(a, shift) - Channel(b, shift)) > kTolerance) {
            return false;
        }
    }
    return true;
}

struct WindowSearch {
    const std::vector<DWORD>* processes;
    RECT rect;
    HWND found;
};

BOOL CALLBACK FindAt(HWND window, LPARAM context) {
    auto& search = *reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    const RECT rect = WindowRect(window);
    if (std::find(search.processes->begin(), search.processes->end(), owner) != search.processes->end() &&
        EqualRect(&search.rect, &rect)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

void PumpInputFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&msg);
        }
        Sleep(10);
    }
}

}  // namespace

ScreenCapture CaptureScreen(const RECT& rect) {
    ScreenCapture capture;
    capture.width = rect.right - rect.left;
    capture.height = rect.bottom - rect.top;
    capture.pixels.assign(static_cast<size_t>(capture.width) * capture.height, 0);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, capture.width, capture.height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    std::copy_n(static_cast<const uint32_t*>(bits), capture.pixels.size(), capture.pixels.begin());
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return capture;
}

std::unique_ptr<SkinUI::SkinImageInfo> LoadSkinImage(const std::wstring& name) {
    wchar_t folder[MAX_PATH] = {};
    GetEnvironmentVariableW(L"TOLVANE_SKIN_SOURCE", folder, MAX_PATH);
    std::ifstream in((std::wstring(folder) + L"\\" + name).c_str(), std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return SkinUI::DecodeImageBytes(bytes.data(), bytes.size(), 0);
}

double MatchOfOpaquePixels(const ScreenCapture& capture, int left, int top,
                           const SkinUI::SkinImageInfo& image, int step) {
    int compared = 0;
    int matched = 0;
    for (int y = 0; y < image.height; y += step) {
        for (int x = 0; x < image.width; x += step) {
            const uint32_t expected = image.PixelAt(x, y);
            const int cx = left + x;
            const int cy = top + y;
            if ((expected >> 24) != 0xFF || cx < 0 || cy < 0 || cx >= capture.width || cy >= capture.height) {
                continue;
            }
            ++compared;
            matched += Near(expected, capture.At(cx, cy)) ? 1 : 0;
        }
    }
    return compared == 0 ? 0.0 : static_cast<double>(matched) / compared;
}

// Real input through the system, as the player's mouse gives it: the window under the pointer gets
// the messages, with hover tracking and capture as in use.
void MoveMouse(HWND window, POINT client) {
    POINT screen = client;
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    PumpInputFor(150);
}

void Click(HWND window, POINT client) {
    MoveMouse(window, client);
    INPUT input[2] = {};
    input[0].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].type = INPUT_MOUSE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &input[0], sizeof(INPUT));
    PumpInputFor(100);
    SendInput(1, &input[1], sizeof(INPUT));
    PumpInputFor(100);
}

POINT CentreOf(int left, int top, int right, int bottom) {
    return {(left + right) / 2, (top + bottom) / 2};
}

RECT WindowRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

RECT RectInClientOf(HWND window, HWND parent) {
    RECT rect = WindowRect(window);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND FindWindowOfAt(const std::vector<DWORD>& processes, const RECT& rect) {
    WindowSearch search{&processes, rect, nullptr};
    EnumWindows(&FindAt, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::vector<DWORD> BrowserProcessesOf(DWORD hallId) {
    std::vector<DWORD> children;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return children;
    }
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ParentProcessID == hallId && lstrcmpiW(entry.szExeFile, L"TolvaneRunecourt.exe") == 0) {
            children.push_back(entry.th32ProcessID);
        }
    }
    CloseHandle(snapshot);
    return children;
}

}  // namespace halltests
