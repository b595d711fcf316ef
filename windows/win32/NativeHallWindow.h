#pragma once

#include <windows.h>

// A plain top-level window of a fixed client size, registered under the hall's class name. The launcher
// and the game window stand on it until their skins take over.
class NativeHallWindow {
public:
    NativeHallWindow(int width, int height) : width_(width), height_(height) {}
    virtual ~NativeHallWindow() = default;
    NativeHallWindow(const NativeHallWindow&) = delete;
    NativeHallWindow& operator=(const NativeHallWindow&) = delete;

    // The window is created without WS_EX_LAYERED: its content is painted the ordinary way.
    HWND CreateNativeWindow(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle);
    void Show(bool show, bool takeFocus);
    void CenterOnWorkArea();
    void SetWindowIcon(UINT resourceId);
    HWND GetHWND() const { return hwnd_; }

protected:
    virtual LRESULT OnWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
    int width_;
    int height_;
};
