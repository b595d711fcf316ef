#include "browser/win32/WebPage.h"

#include "browser/win32/ComValues.h"
#include "childproc/win32/BrowserHandOver.h"
#include "childproc/win32/PageCommandMessage.h"
#include "childproc/win32/WebProcess.h"
#include "skin/markup/TextCodec.h"

namespace browser {
namespace {

// The browser interface a new window is opened in.
class ComHandedBrowser : public HandedBrowser {
  public:
    explicit ComHandedBrowser(ComPtr<IWebBrowser2> browser) : browser(std::move(browser)) {}
    ComPtr<IWebBrowser2> browser;
};

HWND AsWindow(WindowId id) {
    return reinterpret_cast<HWND>(id);
}

WindowId AsId(HWND window) {
    return reinterpret_cast<WindowId>(window);
}

ComPtr<IUnknown> Identity(IUnknown* object) {
    ComPtr<IUnknown> identity;
    if (object != nullptr) {
        object->QueryInterface(IID_IUnknown, identity.PutVoid());
    }
    return identity;
}

}  // namespace

WebPage::WebPage(HWND ownerWindow, bool isServerList)
    : CWebBrowser(isServerList),
      scrollEvents_(CHtmlEvents::Create()),
      hoverEvents_(CHtmlEvents::Create()),
      controller_(*this, AsId(ownerWindow), *scrollEvents_.Get(), *hoverEvents_.Get()) {}

WebPage::~WebPage() {
    if (Window() != nullptr && IsWindow(Window())) {
        DestroyWindow(Window());
    }
    // Documents may still hold the sinks; from now on they reach nothing.
    scrollEvents_->Detach();
    hoverEvents_->Detach();
}

void WebPage::Navigate(const std::wstring& address) {
    if (WebBrowser() != nullptr) {
        pageBrowser_.Borrow(WebBrowser());
        pageBrowser_.Navigate(address);
    }
}

void WebPage::OnMouseButton(HWND, UINT, int x, int y) {
    controller_.OnMouseButton(x, y);
}

HWND WebPage::OwnerWindow() const {
    return AsWindow(controller_.OwnerWindow());
}

void WebPage::SetOwnerWindow(HWND owner) {
    controller_.SetOwnerWindow(AsId(owner));
}

void WebPage::SetPendingAddress(std::string address) {
    controller_.SetPendingAddress(std::move(address));
}

void WebPage::SetThread(HANDLE handle, DWORD id) {
    threadHandle_ = handle;
    threadId_ = id;
}

bool WebPage::ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                   DWORD mapId) {
    const bool handled = CWebBrowser::ProcessWindowMessage(window, message, wParam, lParam, result, mapId);
    const UINT pageCommand = childproc::PageCommandMessage();
    if (pageCommand == 0 || message != pageCommand) {
        return handled;
    }
    intptr_t answer = 0;
    if (controller_.OnPageCommand(static_cast<uintptr_t>(wParam), static_cast<intptr_t>(lParam), answer)) {
        result = static_cast<LRESULT>(answer);
        return true;
    }
    return handled;
}

bool WebPage::IsTopLevel(IDispatch* frame) const {
    if (frame == nullptr || WebBrowser() == nullptr) {
        return false;
    }
    return Identity(frame).Get() == Identity(WebBrowser()).Get();
}

void WebPage::OnBeforeNavigate2(IDispatch* frame, VARIANT* address, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                                VARIANT_BOOL*) {
    controller_.OnBeforeNavigate2(IsTopLevel(frame), VariantText(address).value_or(std::wstring()));
}

void WebPage::OnDocumentComplete(IDispatch* frame, VARIANT* address) {
    controller_.OnDocumentComplete(IsTopLevel(frame), VariantText(address).value_or(std::wstring()));
}

void WebPage::OnNewWindow3(IDispatch** dispatch, VARIANT_BOOL* cancel, DWORD flags, BSTR, BSTR address) {
    NewWindowOutcome outcome = controller_.OnNewWindow3(flags, BstrText(address));
    if (outcome.openIn != nullptr && dispatch != nullptr) {
        auto& handed = static_cast<ComHandedBrowser&>(*outcome.openIn);
        handed.browser->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch));
    }
    if (outcome.cancel && cancel != nullptr) {
        *cancel = VARIANT_TRUE;
    }
}

void WebPage::OnCommandStateChange(long command, VARIANT_BOOL enabled) {
    controller_.OnCommandStateChange(static_cast<int32_t>(command), enabled);
}

void WebPage::OnNavigateComplete(VARIANT*, VARIANT*) {
    controller_.OnNavigateComplete();
}

void WebPage::OnNavigateComplete2(IDispatch* frame, VARIANT*) {
    controller_.OnNavigateComplete2(IsTopLevel(frame));
}

void WebPage::OnNcDestroying() {
    controller_.OnNcDestroying();
}

void WebPage::OnTimerTick(UINT_PTR id) {
    controller_.OnTimerTick(id);
}

WindowId WebPage::Handle() {
    return AsId(Window());
}

PageBrowser* WebPage::HostedBrowser() {
    if (WebBrowser() == nullptr) {
        return nullptr;
    }
    pageBrowser_.Borrow(WebBrowser());
    return &pageBrowser_;
}

intptr_t WebPage::Send(WindowId to, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return static_cast<intptr_t>(SendMessageW(AsWindow(to), message, wParam, lParam));
}

void WebPage::Post(WindowId to, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    PostMessageW(AsWindow(to), message, wParam, lParam);
}

void WebPage::SendCopyData(WindowId to, uint32_t command, uintptr_t tag, const std::vector<uint8_t>& data) {
    COPYDATASTRUCT copy = {};
    copy.dwData = static_cast<ULONG_PTR>(tag);
    copy.cbData = static_cast<DWORD>(data.size());
    copy.lpData = data.empty() ? nullptr : const_cast<uint8_t*>(data.data());
    SendMessageW(AsWindow(to), WM_COPYDATA, command, reinterpret_cast<LPARAM>(&copy));
}

void WebPage::StartTimer(uint32_t id, uint32_t periodMs) {
    SetTimer(Window(), id, periodMs, nullptr);
}

void WebPage::StopTimer(uint32_t id) {
    KillTimer(Window(), id);
}

void WebPage::PostQuit() {
    PostQuitMessage(0);
}

bool WebPage::CursorPosition(Point& screen) {
    POINT position = {};
    if (!GetCursorPos(&position)) {
        return false;
    }
    screen = {static_cast<int32_t>(position.x), static_cast<int32_t>(position.y)};
    return true;
}

bool WebPage::ScreenToClient(Point& point) {
    POINT position = {point.x, point.y};
    if (!::ScreenToClient(Window(), &position)) {
        return false;
    }
    point = {static_cast<int32_t>(position.x), static_cast<int32_t>(position.y)};
    return true;
}

std::string WebPage::ToSystemCodePage(const std::wstring& text) {
    return SkinUI::WideToAnsi(text);
}

std::wstring WebPage::FromSystemCodePage(const std::string& text) {
    return SkinUI::AnsiToWide(text.data(), text.size());
}

bool WebPage::SpawnWebProcess(const std::wstring& address) {
    return childproc::SpawnWebProcess(address) == 0;
}

OutOfProcessPage WebPage::RequestOutOfProcessBrowser(WindowId owner) {
    OutOfProcessPage page;
    ComPtr<IWebBrowser2> browser;
    page.window = AsId(childproc::RequestOutOfProcessBrowser(AsWindow(owner), browser.Put()));
    if (browser) {
        page.browser = std::make_unique<ComHandedBrowser>(std::move(browser));
    }
    return page;
}

}  // namespace browser
