#include "browser/win32/CWebBrowser.h"

#include <ole2.h>

#include <cstring>

#include "browser/win32/AxHosting.h"
#include "browser/win32/BrowserEventSink.h"
#include "browser/win32/MyAxHostWindowEx.h"

namespace browser {
namespace {

constexpr wchar_t kWindowClass[] = L"CWebBrowserWnd";
constexpr wchar_t kBrowserControl[] = L"Shell.Explorer.2";

// The superclass: the host window class with room for the object's address after the base's bytes.
struct WindowClass {
    bool registered = false;
    WNDPROC baseProcedure = DefWindowProcW;
    int objectOffset = 0;
};

// The object whose Create runs on this thread, until its window's first message picks it up.
thread_local CWebBrowser* t_creating = nullptr;

// The control's persisted state from the creation parameter, or none.
ComPtr<IStream> PersistedState(const void* parameter) {
    if (parameter == nullptr) {
        return nullptr;
    }
    uint16_t count = 0;
    std::memcpy(&count, parameter, sizeof count);
    if (count == 0) {
        return nullptr;
    }
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, count);
    void* bytes = memory != nullptr ? GlobalLock(memory) : nullptr;
    if (bytes == nullptr) {
        if (memory != nullptr) {
            GlobalFree(memory);
        }
        return nullptr;
    }
    std::memcpy(bytes, static_cast<const uint8_t*>(parameter) + sizeof count, count);
    GlobalUnlock(memory);
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, stream.Put()))) {
        GlobalFree(memory);
        return nullptr;
    }
    return stream;
}

}  // namespace

static const WindowClass& RegisteredWindowClass(WNDPROC procedure) {
    static const WindowClass windowClass = [procedure] {
        WindowClass registered;
        if (!AxHostInitialize()) {
            return registered;
        }
        WNDCLASSEXW base = {};
        base.cbSize = sizeof base;
        if (!GetClassInfoExW(GetModuleHandleW(nullptr), kAxHostWindowClass, &base)) {
            return registered;
        }
        registered.baseProcedure = base.lpfnWndProc;
        registered.objectOffset = base.cbWndExtra;
        WNDCLASSEXW superclass = base;
        superclass.lpfnWndProc = procedure;
        superclass.cbWndExtra = base.cbWndExtra + static_cast<int>(sizeof(LONG_PTR));
        superclass.hInstance = GetModuleHandleW(nullptr);
        superclass.lpszClassName = kWindowClass;
        registered.registered =
            RegisterClassExW(&superclass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
        return registered;
    }();
    return windowClass;
}

CWebBrowser::CWebBrowser(bool showScrollBars) : CWebBrowser(showScrollBars, kBrowserControl) {}

CWebBrowser::CWebBrowser(bool showScrollBars, std::wstring controlName)
    : showScrollBars_(showScrollBars), controlName_(std::move(controlName)) {}

// A window that outlived its object must not reach it any more.
CWebBrowser::~CWebBrowser() {
    if (window_ != nullptr && IsWindow(window_)) {
        DestroyWindow(window_);
    }
    ReleaseControl();
}

HWND CWebBrowser::Create(HWND parent, const RECT& rect, const wchar_t* title, DWORD style, DWORD exStyle,
                         UINT_PTR menuOrId, const void* creationParameter) {
    if (window_ != nullptr) {
        return nullptr;
    }
    const WindowClass& windowClass = RegisteredWindowClass(&CWebBrowser::WindowProc);
    if (!windowClass.registered) {
        return nullptr;
    }
    t_creating = this;
    HWND window = CreateWindowExW(
        exStyle, kWindowClass, title != nullptr ? title : L"", style != 0 ? style : kDefaultStyle, rect.left,
        rect.top, rect.right - rect.left, rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(menuOrId),
        GetModuleHandleW(nullptr), const_cast<void*>(creationParameter));
    t_creating = nullptr;
    return window;
}

bool CWebBrowser::EventsConnected() const {
    return events_ && events_->Connected();
}

bool CWebBrowser::TranslateAccelerator(MSG& message) {
    return keyHandler_ && keyHandler_->TranslateAccelerator(&message) == S_OK;
}

CWebBrowser* CWebBrowser::Attached(HWND window) {
    const int offset = RegisteredWindowClass(&CWebBrowser::WindowProc).objectOffset;
    auto* self = reinterpret_cast<CWebBrowser*>(GetWindowLongPtrW(window, offset));
    if (self == nullptr && t_creating != nullptr) {
        self = t_creating;
        t_creating = nullptr;
        self->window_ = window;
        SetWindowLongPtrW(window, offset, reinterpret_cast<LONG_PTR>(self));
    }
    return self;
}

LRESULT CALLBACK CWebBrowser::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWebBrowser* self = Attached(window);
    if (self == nullptr) {
        return CallWindowProcW(RegisteredWindowClass(&CWebBrowser::WindowProc).baseProcedure, window, message,
                               wParam, lParam);
    }
    LRESULT result = 0;
    if (!self->ProcessWindowMessage(window, message, wParam, lParam, result, 0)) {
        result = self->DefaultProcessing(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, RegisteredWindowClass(&CWebBrowser::WindowProc).objectOffset, 0);
        self->window_ = nullptr;
        // After the host class has let the control go: nothing of OLE is used by this window any more.
        if (self->oleInitialized_) {
            self->oleInitialized_ = false;
            OleUninitialize();
        }
        self->OnFinalMessage(window);
    }
    return result;
}

LRESULT CWebBrowser::DefaultProcessing(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(RegisteredWindowClass(&CWebBrowser::WindowProc).baseProcedure, window, message,
                           wParam, lParam);
}

bool CWebBrowser::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       LRESULT& result, DWORD /*mapId*/) {
    switch (message) {
        case WM_CREATE:
            result = CreateControl(window, wParam, lParam);
            return true;
        case WM_DESTROY:
            ReleaseControl();
            OnDestroying();
            return false;
        case WM_NCDESTROY:
            ReleaseControl();  // a refused creation gets no WM_DESTROY
            OnNcDestroying();
            return false;
        case WM_TIMER:
            OnTimerTick(static_cast<UINT_PTR>(wParam));
            return false;
        default:
            return false;
    }
}

// Every failure refuses the window (-1), which the system then destroys; the sink is connected last,
// so a refused window has nothing connected.
LRESULT CWebBrowser::CreateControl(HWND window, WPARAM wParam, LPARAM lParam) {
    // Makes the window's thread a single-threaded apartment (it may already be one); balanced after the
    // window's last message.
    if (!oleInitialized_) {
        oleInitialized_ = SUCCEEDED(OleInitialize(nullptr));
    }
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    const ComPtr<IStream> state = PersistedState(creation != nullptr ? creation->lpCreateParams : nullptr);

    g_showScrollBars.store(showScrollBars_, std::memory_order_relaxed);
    AxHostInitialize();
    ComPtr<MyAxHostWindowEx> site = MyAxHostWindowEx::Create();
    if (!site || FAILED(site->CreateControl(controlName_.c_str(), window, state.Get()))) {
        return -1;
    }
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(static_cast<IOleClientSite*>(site.Get())));
    DefaultProcessing(window, WM_CREATE, wParam, lParam);

    ReleaseControl();
    auto* control = reinterpret_cast<IUnknown*>(SendMessageW(window, AxGetControlMessage(), 0, 0));
    if (control == nullptr || FAILED(control->QueryInterface(IID_IWebBrowser2, browser_.PutVoid()))) {
        ReleaseControl();
        return -1;
    }
    keyHandler_ = browser_.As<IOleInPlaceActiveObject>();
    events_ = BrowserEventSink::Create(*this);
    if (!events_ || FAILED(events_->Connect(browser_.Get()))) {
        ReleaseControl();
        return -1;
    }
    const int32_t created = OnCreated(lParam);
    if (created == -1) {
        ReleaseControl();  // a refused window hears no more events and keeps no browser
    }
    return created;
}

void CWebBrowser::ReleaseControl() {
    if (events_) {
        events_->Disconnect();
        events_.Reset();
    }
    keyHandler_.Reset();
    browser_.Reset();
}

void CWebBrowser::OnFinalMessage(HWND) {}
void CWebBrowser::OnBeforeNavigate2(IDispatch*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                                    VARIANT_BOOL*) {}
void CWebBrowser::OnDocumentComplete(IDispatch*, VARIANT*) {}
void CWebBrowser::OnNewWindow3(IDispatch**, VARIANT_BOOL*, DWORD, BSTR, BSTR) {}
void CWebBrowser::OnCommandStateChange(long, VARIANT_BOOL) {}
void CWebBrowser::OnNavigateComplete(VARIANT*, VARIANT*) {}
void CWebBrowser::OnNavigateComplete2(IDispatch*, VARIANT*) {}
int32_t CWebBrowser::OnCreated(LPARAM) {
    return 0;
}
void CWebBrowser::OnDestroying() {}
void CWebBrowser::OnNcDestroying() {}
void CWebBrowser::OnTimerTick(UINT_PTR) {}

}  // namespace browser
