#include "browser/win32/MyAxHostWindowEx.h"

#include <new>

namespace browser {

std::atomic<bool> g_showScrollBars{false};

namespace {

// CGID_DocHostCommandHandler: the commands a document sends to its host.
constexpr GUID kDocHostCommandHandler = {
    0xf38bc242, 0xb950, 0x11d1, {0x89, 0x18, 0x00, 0xc0, 0x4f, 0xc2, 0xc8, 0x36}};
constexpr DWORD kShowScriptError = 40;  // OLECMDID_SHOWSCRIPTERROR

constexpr DWORD kNo3dBorder = 0x4;
constexpr DWORD kNoScrollBars = 0x8;
constexpr DWORD kThemed = 0x40000;

#ifndef _WIN64
static_assert(sizeof(DOCHOSTUIINFO) == 20, "the host information record of 32-bit processes");
#endif

}  // namespace

ComPtr<MyAxHostWindowEx> MyAxHostWindowEx::Create() {
    return ComPtr<MyAxHostWindowEx>::Adopt(new (std::nothrow) MyAxHostWindowEx());
}

void* MyAxHostWindowEx::Find(REFIID iid) {
    return iid == IID_IOleCommandTarget ? static_cast<IOleCommandTarget*>(this) : AxHostWindow::Find(iid);
}

// The record's size is that of this process's record (20 bytes in the shipped 32-bit program).
HRESULT STDMETHODCALLTYPE MyAxHostWindowEx::GetHostInfo(DOCHOSTUIINFO* info) {
    if (info == nullptr) {
        return E_POINTER;
    }
    info->cbSize = sizeof(DOCHOSTUIINFO);
    info->dwFlags |= kNo3dBorder | kThemed;
    if (!g_showScrollBars.load(std::memory_order_relaxed)) {
        info->dwFlags |= kNoScrollBars;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE MyAxHostWindowEx::QueryStatus(const GUID* group, ULONG, OLECMD*, OLECMDTEXT*) {
    return group != nullptr ? OLECMDERR_E_UNKNOWNGROUP : OLECMDERR_E_NOTSUPPORTED;
}

// A script error is reported as handled: no dialog, and the page's scripts keep running.
HRESULT STDMETHODCALLTYPE MyAxHostWindowEx::Exec(const GUID* group, DWORD command, DWORD, VARIANT*,
                                                 VARIANT* out) {
    if (group != nullptr && IsEqualGUID(*group, kDocHostCommandHandler) && command == kShowScriptError) {
        if (out != nullptr) {
            V_VT(out) = VT_BOOL;
            V_BOOL(out) = VARIANT_TRUE;
        }
        return S_OK;
    }
    return group != nullptr ? OLECMDERR_E_UNKNOWNGROUP : OLECMDERR_E_NOTSUPPORTED;
}

}  // namespace browser
