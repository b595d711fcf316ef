#include "Browser.h"

#include <exdispid.h>
#include <mshtmhst.h>
#include <shlwapi.h>
#include <wininet.h>

#include <algorithm>
#include <memory>

#include "Document.h"

namespace standin {
namespace {

constexpr wchar_t kWindowClass[] = L"TolvaneStandInBrowser";
constexpr UINT kNavigateMessage = WM_APP + 1;
constexpr UINT_PTR kRefreshTimer = 1;
constexpr size_t kMaxDownload = 16u << 20;
constexpr DWORD kNewWindowFromLink = 0x2 | 0x4;  // NWMF_USERINITED | NWMF_FIRST
constexpr DWORD kForceWindow = 0x10000;          // NWMF_FORCEWINDOW

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

using Internet = std::unique_ptr<void, BOOL(WINAPI*)(HINTERNET)>;

// Fetches an address over HTTP, following redirects; `finalAddress` is where the answer came from.
bool Download(const std::wstring& address, std::wstring& finalAddress, std::string& bytes) {
    Internet session(InternetOpenW(L"TolvaneStandIn/1.0", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0),
                     &InternetCloseHandle);
    if (!session) {
        return false;
    }
    DWORD timeout = 15000;
    InternetSetOptionW(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
    InternetSetOptionW(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    Internet request(
        InternetOpenUrlW(session.get(), address.c_str(), nullptr, 0,
                         INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI, 0),
        &InternetCloseHandle);
    if (!request) {
        return false;
    }
    char buffer[16384];
    DWORD read = 0;
    bytes.clear();
    while (InternetReadFile(request.get(), buffer, sizeof buffer, &read) && read > 0) {
        if (bytes.size() + read > kMaxDownload) {
            return false;
        }
        bytes.append(buffer, read);
    }
    wchar_t location[2048];
    DWORD size = sizeof location;
    finalAddress =
        InternetQueryOptionW(request.get(), INTERNET_OPTION_URL, location, &size) ? location : address;
    return true;
}

std::wstring Resolve(const std::wstring& base, const std::wstring& relative) {
    wchar_t resolved[2048];
    DWORD length = ARRAYSIZE(resolved);
    return SUCCEEDED(UrlCombineW(base.c_str(), relative.c_str(), resolved, &length, 0)) ? resolved : relative;
}

IPicture* LoadPicture(const std::string& bytes) {
    Ref<IStream> stream(
        SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
    IPicture* picture = nullptr;
    if (!stream || FAILED(OleLoadPicture(stream.Get(), static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                                         reinterpret_cast<void**>(&picture)))) {
        return nullptr;
    }
    return picture;
}

std::wstring HomePage() {
    wchar_t page[2048];
    DWORD size = sizeof page;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Main", L"Start Page",
                     RRF_RT_REG_SZ, nullptr, page, &size) == ERROR_SUCCESS &&
        page[0] != L'\0') {
        return page;
    }
    return L"about:blank";
}

// The portal's pages are Chinese: the first face that has their characters, else the usual one.
const wchar_t* PageFace() {
    static const wchar_t* const face = [] {
        HDC dc = GetDC(nullptr);
        const wchar_t* chosen = L"Tahoma";
        for (const wchar_t* candidate : {L"Microsoft YaHei", L"SimSun", L"Noto Sans CJK SC"}) {
            LOGFONTW query = {};
            query.lfCharSet = DEFAULT_CHARSET;
            wcsncpy(query.lfFaceName, candidate, LF_FACESIZE - 1);
            bool found = false;
            auto note = [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM flag) -> int {
                return *reinterpret_cast<bool*>(flag) = true, 0;
            };
            EnumFontFamiliesExW(dc, &query, note, reinterpret_cast<LPARAM>(&found), 0);
            if (found) {
                chosen = candidate;
                break;
            }
        }
        ReleaseDC(nullptr, dc);
        return chosen;
    }();
    return face;
}

std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return towlower(c); });
    return text;
}

// The address and delay of a META refresh, when the page has one.
bool RefreshOf(const Dom& dom, std::wstring& address, UINT& delayMs) {
    for (const auto& node : dom.nodes) {
        const std::wstring* kind = node->Attribute(L"http-equiv");
        const std::wstring* content = node->Attribute(L"content");
        if (!node->Is(L"META") || kind == nullptr || content == nullptr || Lower(*kind) != L"refresh") {
            continue;
        }
        const size_t url = Lower(*content).find(L"url=");
        if (url == std::wstring::npos) {
            return false;
        }
        std::wstring target = content->substr(url + 4);
        target.erase(std::remove_if(target.begin(), target.end(),
                                    [](wchar_t c) { return c == L'\'' || c == L'"' || c == L' '; }),
                     target.end());
        address = Resolve(dom.address, target);
        delayMs = static_cast<UINT>(std::min(_wtoi(content->c_str()), 3600)) * 1000;
        return true;
    }
    return false;
}

VARIANT Text(const std::wstring& text) {
    VARIANT value;
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return value;
}

VARIANT ByRef(VARIANT* value) {
    VARIANT reference;
    V_VT(&reference) = VT_BYREF | VT_VARIANT;
    V_VARIANTREF(&reference) = value;
    return reference;
}

VARIANT Dispatch(IDispatch* dispatch) {
    VARIANT value;
    V_VT(&value) = VT_DISPATCH;
    V_DISPATCH(&value) = dispatch;
    return value;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* browser = reinterpret_cast<Browser*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    return browser != nullptr ? browser->OnMessage(window, message, wParam, lParam)
                              : DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterWindowClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = &WindowProc;
        windowClass.hInstance = ThisModule();
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

}  // namespace

// The interface methods, reaching their browser through the face they are called on.
struct Browser::Faces {
    template <typename I>
    static Browser* Of(I* face) {
        return static_cast<Browser*>(reinterpret_cast<Face*>(face)->self);
    }

    // IWebBrowser2
    // Back, forward and reload revisit an entry of the history (0 steps: the current one).
    static HRESULT Revisit(Browser& b, int steps) {
        const size_t index = b.historyIndex_ + static_cast<size_t>(steps);
        if (!b.topLevel_ || index >= b.history_.size()) {
            return E_FAIL;
        }
        b.historyIndex_ = index;
        b.Navigate(b.history_[index], false);
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE GoBack(IWebBrowser2* self) { return Revisit(*Of(self), -1); }
    static HRESULT STDMETHODCALLTYPE GoForward(IWebBrowser2* self) { return Revisit(*Of(self), 1); }
    static HRESULT STDMETHODCALLTYPE Refresh(IWebBrowser2* self) { return Revisit(*Of(self), 0); }
    static HRESULT STDMETHODCALLTYPE GoHome(IWebBrowser2* self) {
        return Of(self)->topLevel_ ? (Of(self)->Navigate(HomePage()), S_OK) : E_FAIL;
    }
    static HRESULT STDMETHODCALLTYPE Stop(IWebBrowser2* self) {
        Browser& b = *Of(self);
        ++b.generation_;
        b.pending_.clear();
        b.busy_ = false;
        if (b.document_) {
            b.readyState_ = READYSTATE_COMPLETE;
        }
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE Navigate2(IWebBrowser2* self, VARIANT* address, VARIANT*, VARIANT*,
                                               VARIANT*, VARIANT*) {
        const std::wstring text = VariantString(address);
        if (!Of(self)->topLevel_ || text.empty()) {
            return E_INVALIDARG;
        }
        Of(self)->Navigate(text);
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE Document(IWebBrowser2* self, IDispatch** out) {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        if (Of(self)->document_) {
            *out = reinterpret_cast<IDispatch*>(Of(self)->document_->Interface());
            Of(self)->document_->AddRef();
        }
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE LocationName(IWebBrowser2* self, BSTR* out) {
        const Browser& b = *Of(self);
        const std::wstring* title = b.document_ ? &b.document_->Page().title : nullptr;
        return GiveText(title != nullptr && !title->empty() ? *title : b.location_, out);
    }
    static HRESULT STDMETHODCALLTYPE LocationUrl(IWebBrowser2* self, BSTR* out) {
        return GiveText(Of(self)->location_, out);
    }
    static HRESULT STDMETHODCALLTYPE ReadyState(IWebBrowser2* self, READYSTATE* out) {
        return *out = Of(self)->readyState_, S_OK;
    }
    static HRESULT STDMETHODCALLTYPE Busy(IWebBrowser2* self, VARIANT_BOOL* out) {
        return *out = Of(self)->busy_ ? VARIANT_TRUE : VARIANT_FALSE, S_OK;
    }
    static HRESULT STDMETHODCALLTYPE Silent(IWebBrowser2* self, VARIANT_BOOL* out) {
        return *out = Of(self)->silent_, S_OK;
    }
    static HRESULT STDMETHODCALLTYPE PutSilent(IWebBrowser2* self, VARIANT_BOOL silent) {
        return Of(self)->silent_ = silent, S_OK;
    }
    // The control moves itself inside its container and tells the container, which places it.
    static HRESULT STDMETHODCALLTYPE PutTop(IWebBrowser2* self, LONG top) {
        Browser& b = *Of(self);
        RECT moved = b.position_;
        OffsetRect(&moved, 0, top - moved.top);
        if (b.inPlaceSite_) {
            return IOleInPlaceSite_OnPosRectChange(b.inPlaceSite_.Get(), &moved);
        }
        b.position_ = moved;
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE Visible(IWebBrowser2* self, VARIANT_BOOL* out) {
        return *out = IsWindowVisible(Of(self)->window_) ? VARIANT_TRUE : VARIANT_FALSE, S_OK;
    }
    // The embedded control has no status bar: the setting is taken and changes nothing, as in the real one.
    static HRESULT STDMETHODCALLTYPE PutStatusBar(IWebBrowser2*, VARIANT_BOOL) { return S_OK; }

    // IOleObject
    static HRESULT STDMETHODCALLTYPE SetClientSite(IOleObject* self, IOleClientSite* site) {
        Of(self)->site_ = Ref<IOleClientSite>::Retain(site);
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE GetClientSite(IOleObject* self, IOleClientSite** out) {
        *out = Ref<IOleClientSite>::Retain(Of(self)->site_.Get()).Detach();
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE Close(IOleObject* self, DWORD) {
        Of(self)->Deactivate();
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE DoVerb(IOleObject* self, LONG verb, LPMSG, IOleClientSite* site, LONG,
                                            HWND parent, LPCRECT position) {
        Browser& b = *Of(self);
        if (!b.site_ && site != nullptr) {
            b.site_ = Ref<IOleClientSite>::Retain(site);
        }
        RECT place = position != nullptr ? *position : RECT{};
        const HRESULT result = b.Activate(parent, position != nullptr ? &place : nullptr);
        if (FAILED(result)) {
            return result;
        }
        if (verb == OLEIVERB_UIACTIVATE || verb == OLEIVERB_SHOW || verb == OLEIVERB_PRIMARY) {
            if (b.inPlaceSite_) {
                IOleInPlaceSite_OnUIActivate(b.inPlaceSite_.Get());
            }
            SetFocus(b.window_);
        }
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE MiscStatus(IOleObject*, DWORD, DWORD* out) {
        *out = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT |
               OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE;
        return S_OK;
    }

    // IOleInPlaceObject and IOleInPlaceActiveObject
    template <typename I>
    static HRESULT STDMETHODCALLTYPE GetWindow(I* self, HWND* out) {
        *out = Of(self)->window_;
        return *out != nullptr ? S_OK : E_FAIL;
    }
    static HRESULT STDMETHODCALLTYPE InPlaceDeactivate(IOleInPlaceObject* self) {
        Of(self)->Deactivate();
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE UiDeactivate(IOleInPlaceObject* self) {
        if (Of(self)->inPlaceSite_) {
            IOleInPlaceSite_OnUIDeactivate(Of(self)->inPlaceSite_.Get(), FALSE);
        }
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE SetObjectRects(IOleInPlaceObject* self, LPCRECT position, LPCRECT) {
        Browser& b = *Of(self);
        if (position == nullptr) {
            return E_POINTER;
        }
        b.position_ = *position;
        if (b.window_ != nullptr) {
            MoveWindow(b.window_, position->left, position->top, position->right - position->left,
                       position->bottom - position->top, TRUE);
        }
        return S_OK;
    }
    // F5 reloads, as in the real control; every other key goes on to the window.
    static HRESULT STDMETHODCALLTYPE TranslateAccelerator(IOleInPlaceActiveObject* self, LPMSG message) {
        if (message != nullptr && message->message == WM_KEYDOWN && message->wParam == VK_F5) {
            return Refresh(Of(self)->Interface()) == S_OK ? S_OK : S_FALSE;
        }
        return S_FALSE;
    }
    // IConnectionPointContainer and IConnectionPoint: one point, DWebBrowserEvents2.
    static HRESULT STDMETHODCALLTYPE FindPoint(IConnectionPointContainer* self, REFIID iid,
                                               IConnectionPoint** out) {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        return iid == DIID_DWebBrowserEvents2 ? GiveFace(Of(self)->point_, out) : CONNECT_E_NOCONNECTION;
    }
    static HRESULT STDMETHODCALLTYPE Advise(IConnectionPoint* self, IUnknown* sink, DWORD* cookie) {
        if (sink == nullptr || cookie == nullptr) {
            return E_POINTER;
        }
        IDispatch* dispatch = nullptr;
        if (FAILED(IUnknown_QueryInterface(sink, IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
            return CONNECT_E_CANNOTCONNECT;
        }
        Browser& b = *Of(self);
        *cookie = b.nextCookie_++;
        b.sinks_.push_back({*cookie, dispatch});
        return S_OK;
    }
    static HRESULT STDMETHODCALLTYPE Unadvise(IConnectionPoint* self, DWORD cookie) {
        auto& sinks = Of(self)->sinks_;
        auto found =
            std::find_if(sinks.begin(), sinks.end(), [&](const Sink& s) { return s.cookie == cookie; });
        if (found == sinks.end()) {
            return CONNECT_E_NOCONNECTION;
        }
        IDispatch* dispatch = found->dispatch;
        sinks.erase(found);
        IDispatch_Release(dispatch);
        return S_OK;
    }
};

Browser* Browser::Create(bool topLevel) {
    return new Browser(topLevel);
}

Browser::Browser(bool topLevel) : topLevel_(topLevel) {
    static const IWebBrowser2Vtbl webTable = [] {
        auto t = MakeTable<IWebBrowser2Vtbl>();
        t.GoBack = &Faces::GoBack, t.GoForward = &Faces::GoForward, t.GoHome = &Faces::GoHome;
        t.Refresh = &Faces::Refresh, t.Stop = &Faces::Stop;
        t.Navigate2 = &Faces::Navigate2, t.get_Document = &Faces::Document;
        t.get_LocationName = &Faces::LocationName, t.get_LocationURL = &Faces::LocationUrl;
        t.get_ReadyState = &Faces::ReadyState, t.get_Busy = &Faces::Busy;
        t.get_Silent = &Faces::Silent, t.put_Silent = &Faces::PutSilent;
        t.put_Top = &Faces::PutTop, t.get_Visible = &Faces::Visible, t.put_StatusBar = &Faces::PutStatusBar;
        return t;
    }();
    static const IOleObjectVtbl oleTable = [] {
        auto t = MakeTable<IOleObjectVtbl>();
        t.SetClientSite = &Faces::SetClientSite, t.GetClientSite = &Faces::GetClientSite;
        t.Close = &Faces::Close, t.DoVerb = &Faces::DoVerb, t.GetMiscStatus = &Faces::MiscStatus;
        return t;
    }();
    static const IOleInPlaceObjectVtbl inPlaceTable = [] {
        auto t = MakeTable<IOleInPlaceObjectVtbl>();
        t.GetWindow = &Faces::GetWindow<IOleInPlaceObject>, t.InPlaceDeactivate = &Faces::InPlaceDeactivate;
        t.UIDeactivate = &Faces::UiDeactivate, t.SetObjectRects = &Faces::SetObjectRects;
        return t;
    }();
    static const IOleInPlaceActiveObjectVtbl activeTable = [] {
        auto t = MakeTable<IOleInPlaceActiveObjectVtbl>();
        t.GetWindow = &Faces::GetWindow<IOleInPlaceActiveObject>;
        t.TranslateAccelerator = &Faces::TranslateAccelerator;
        return t;
    }();
    static const IConnectionPointContainerVtbl pointsTable = [] {
        auto t = MakeTable<IConnectionPointContainerVtbl>();
        t.FindConnectionPoint = &Faces::FindPoint;
        return t;
    }();
    static const IConnectionPointVtbl pointTable = [] {
        auto t = MakeTable<IConnectionPointVtbl>();
        t.Advise = &Faces::Advise, t.Unadvise = &Faces::Unadvise;
        return t;
    }();
    web_ = {&webTable, this};
    ole_ = {&oleTable, this};
    inPlace_ = {&inPlaceTable, this};
    active_ = {&activeTable, this};
    points_ = {&pointsTable, this};
    point_ = {&pointTable, this};
}

Browser::~Browser() {
    Deactivate();
    for (const Sink& sink : sinks_) {
        IDispatch_Release(sink.dispatch);
    }
    for (HFONT font : fonts_) {
        if (font != nullptr) {
            DeleteObject(font);
        }
    }
}

Face* Browser::Find(REFIID iid) {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IWebBrowser2 || iid == IID_IWebBrowserApp ||
        iid == IID_IWebBrowser) {
        return &web_;
    }
    if (!topLevel_) {
        return nullptr;
    }
    if (iid == IID_IOleObject) {
        return &ole_;
    }
    if (iid == IID_IOleInPlaceObject || iid == IID_IOleWindow) {
        return &inPlace_;
    }
    if (iid == IID_IOleInPlaceActiveObject) {
        return &active_;
    }
    if (iid == IID_IConnectionPointContainer) {
        return &points_;
    }
    return nullptr;
}

// Embedding.

HRESULT Browser::Activate(HWND parent, const RECT* position) {
    if (window_ != nullptr) {
        return S_OK;
    }
    if (!site_ || !RegisterWindowClass()) {
        return E_UNEXPECTED;
    }
    IOleClientSite_QueryInterface(site_.Get(), IID_IOleInPlaceSite,
                                  reinterpret_cast<void**>(inPlaceSite_.Put()));
    if (!inPlaceSite_ || IOleInPlaceSite_CanInPlaceActivate(inPlaceSite_.Get()) != S_OK) {
        inPlaceSite_.Reset();
        return E_FAIL;
    }
    IOleInPlaceSite_OnInPlaceActivate(inPlaceSite_.Get());
    IOleInPlaceSite_GetWindow(inPlaceSite_.Get(), &parent);
    Ref<IDocHostUIHandler> handler;
    DOCHOSTUIINFO hostInfo = {sizeof hostInfo, 0, 0, nullptr, nullptr};
    if (SUCCEEDED(IOleClientSite_QueryInterface(site_.Get(), IID_IDocHostUIHandler,
                                                reinterpret_cast<void**>(handler.Put()))) &&
        SUCCEEDED(IDocHostUIHandler_GetHostInfo(handler.Get(), &hostInfo))) {
        scrollBars_ = (hostInfo.dwFlags & DOCHOSTUIFLAG_SCROLL_NO) == 0;
    }
    Ref<IOleInPlaceFrame> frame;
    Ref<IOleInPlaceUIWindow> document;
    RECT place = {}, clip = {};
    OLEINPLACEFRAMEINFO info = {};
    info.cb = sizeof info;
    IOleInPlaceSite_GetWindowContext(inPlaceSite_.Get(), frame.Put(), document.Put(), &place, &clip, &info);
    position_ = position != nullptr ? *position : place;
    window_ = CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, position_.left,
                              position_.top, position_.right - position_.left,
                              position_.bottom - position_.top, parent, nullptr, ThisModule(), this);
    if (window_ == nullptr) {
        IOleInPlaceSite_OnInPlaceDeactivate(inPlaceSite_.Get());
        inPlaceSite_.Reset();
        return E_FAIL;
    }
    if (frame) {
        IOleInPlaceFrame_SetActiveObject(frame.Get(), As<IOleInPlaceActiveObject>(active_), nullptr);
    }
    static const struct {
        int height, weight;
        bool underline;
    } kFonts[kFontCount] = {{-15, FW_NORMAL, false}, {-15, FW_NORMAL, true}, {-28, FW_BOLD, false},
                            {-22, FW_BOLD, false},   {-18, FW_BOLD, false},  {-20, FW_BOLD, false}};
    for (int i = 0; i < kFontCount; ++i) {
        if (fonts_[i] == nullptr) {
            fonts_[i] = CreateFontW(kFonts[i].height, 0, 0, 0, kFonts[i].weight, FALSE, kFonts[i].underline,
                                    FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                    DEFAULT_QUALITY, DEFAULT_PITCH, PageFace());
        }
    }
    Relayout();
    if (!pending_.empty()) {
        PostMessageW(window_, kNavigateMessage, 0, 0);
    }
    return S_OK;
}

void Browser::Deactivate() {
    if (window_ != nullptr) {
        HWND window = window_;
        window_ = nullptr;
        DestroyWindow(window);
    }
    if (inPlaceSite_) {
        Ref<IOleInPlaceSite> site = std::move(inPlaceSite_);
        IOleInPlaceSite_OnInPlaceDeactivate(site.Get());
    }
}

void Browser::Relayout() {
    if (window_ == nullptr || !document_) {
        InvalidateRect(window_, nullptr, TRUE);
        return;
    }
    RECT client = {};
    GetClientRect(window_, &client);
    HDC dc = GetDC(window_);
    document_->Layout(dc, fonts_, client.right);
    ReleaseDC(window_, dc);
    UpdateScrollBar();
    InvalidateRect(window_, nullptr, TRUE);
}

LRESULT Browser::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Ref<Browser> keepAlive = Ref<Browser>::Retain(this);
    switch (message) {
        case kNavigateMessage: {
            std::wstring address = std::move(pending_);
            pending_.clear();
            if (!address.empty()) {
                Load(std::move(address), pendingToHistory_);
            }
            return 0;
        }
        case WM_TIMER:
            if (wParam == kRefreshTimer) {
                KillTimer(window, kRefreshTimer);
                Navigate(refresh_);
            }
            return 0;
        case WM_SIZE:
            Relayout();
            return 0;
        case WM_NCDESTROY:
            glView_.Reset();
            window_ = nullptr;
            break;
        case WM_MOUSEMOVE:
            if (document_) {
                document_->PointerAt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            }
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            const auto paintPage = [this](HDC dc, const RECT& client) {
                if (document_) {
                    document_->Paint(dc, fonts_, 0, 0, client);
                } else {
                    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
                }
            };
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            if (!glView_.Present(window, paintPage)) {
                RECT client = {};
                GetClientRect(window, &client);
                paintPage(dc, client);
            }
            EndPaint(window, &paint);
            return 0;
        }
        case WM_LBUTTONDOWN:
            SetFocus(window);
            return 0;
        case WM_LBUTTONUP:
            Click(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)),
                  (wParam & MK_SHIFT) != 0);
            return 0;
        case WM_VSCROLL: {
            SCROLLINFO bar = {sizeof bar, SIF_ALL, 0, 0, 0, 0, 0};
            GetScrollInfo(window, SB_VERT, &bar);
            const int page = static_cast<int>(bar.nPage);
            const int steps[] = {-40, 40, -page, page, bar.nTrackPos - bar.nPos, bar.nTrackPos - bar.nPos};
            Scroll(LOWORD(wParam) <= SB_THUMBTRACK ? steps[LOWORD(wParam)] : 0);
            return 0;
        }
        case WM_MOUSEWHEEL:
            Scroll(-GET_WHEEL_DELTA_WPARAM(wParam) * 48 / WHEEL_DELTA);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_DOWN || wParam == VK_UP || wParam == VK_NEXT || wParam == VK_PRIOR) {
                Scroll(wParam == VK_DOWN ? 40 : wParam == VK_UP ? -40 : wParam == VK_NEXT ? 300 : -300);
                return 0;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void Browser::Scroll(int delta) {
    RECT client = {};
    GetClientRect(window_, &client);
    if (document_ && document_->ScrollBy(delta, client.bottom)) {
        UpdateScrollBar();
        InvalidateRect(window_, nullptr, TRUE);
    }
}

// A vertical scroll bar while the page is longer than the view, unless the host turned them off.
void Browser::UpdateScrollBar() {
    RECT client = {};
    GetClientRect(window_, &client);
    SCROLLINFO bar = {sizeof bar, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
    if (scrollBars_ && document_) {
        bar.nMax = document_->ContentHeight() - 1;
        bar.nPage = static_cast<UINT>(client.bottom);
        bar.nPos = document_->ScrollTop();
    }
    SetScrollInfo(window_, SB_VERT, &bar, TRUE);
}

// A click on a link: followed into frames, then navigated where the link's target says.
void Browser::Click(int x, int y, bool forceWindow) {
    Ref<Document> document = Ref<Document>::Retain(document_.Get());
    Browser* browser = this;
    if (!document) {
        return;
    }
    Node* node = document->ElementAt(x, y);
    while (node != nullptr && node->frame != nullptr && node->frame->document_) {
        x -= node->left;
        y -= node->top - document->ScrollTop();
        browser = node->frame;
        document = Ref<Document>::Retain(browser->document_.Get());
        node = document->ElementAt(x, y);
    }
    while (node != nullptr &&
           !((node->Is(L"A") || node->Is(L"AREA")) && node->Attribute(L"href") != nullptr)) {
        node = node->parent;
    }
    if (node == nullptr || Lower(*node->Attribute(L"href")).rfind(L"javascript:", 0) == 0) {
        return;  // scripts do not run here
    }
    const std::wstring address = Resolve(document->Page().address, *node->Attribute(L"href"));
    const std::wstring* targetName = node->Attribute(L"target");
    const std::wstring target = targetName != nullptr ? Lower(*targetName) : L"";
    if (forceWindow || !(target.empty() || target == L"_self" || target == L"_top" || target == L"_parent")) {
        OpenNewWindow(address, kNewWindowFromLink | (forceWindow ? kForceWindow : 0));
    } else if (browser == this || target == L"_top" || target == L"_parent") {
        Navigate(address);
    } else {
        Ref<Browser> frame = Ref<Browser>::Retain(browser);
        LoadFrame(*frame.Get(), address, generation_, 1);
        Relayout();
    }
}

// Navigation.

void Browser::Navigate(const std::wstring& address, bool addToHistory) {
    ++generation_;  // whatever is loading now stops at its next step
    pending_ = address;
    pendingToHistory_ = addToHistory;
    if (window_ != nullptr) {
        PostMessageW(window_, kNavigateMessage, 0, 0);
    }
}

Ref<Document> Browser::Fetch(const std::wstring& address) {
    std::wstring finalAddress = address;
    std::string bytes;
    std::wstring html;
    if (Lower(address).rfind(L"about:", 0) != 0) {
        if (Download(address, finalAddress, bytes)) {
            html = DecodePage(bytes);
        } else {
            html = L"<title>Page not available</title><p>The page could not be loaded: " + address + L"</p>";
        }
    }
    Ref<Document> document(Document::Create(ParseHtml(html, finalAddress)));
    for (const auto& node : document->Page().nodes) {
        const std::wstring* source = node->Attribute(L"src");
        std::wstring imageAddress;
        std::string imageBytes;
        if (node->Is(L"IMG") && source != nullptr &&
            Download(Resolve(finalAddress, *source), imageAddress, imageBytes)) {
            if (IPicture* picture = LoadPicture(imageBytes)) {
                document->SetPicture(node.get(), picture);
            }
        }
    }
    return document;
}

void Browser::Load(std::wstring address, bool addToHistory) {
    const unsigned generation = ++generation_;
    KillTimer(window_, kRefreshTimer);
    if (!FireBeforeNavigate(*this, address) || generation != generation_) {
        return;
    }
    busy_ = true;
    readyState_ = READYSTATE_LOADING;
    Ref<Document> page = Fetch(address);
    if (generation != generation_) {
        return;
    }
    document_ = std::move(page);
    location_ = document_->Page().address;
    readyState_ = READYSTATE_INTERACTIVE;
    if (addToHistory && (history_.empty() || history_[historyIndex_] != location_)) {
        history_.resize(history_.empty() ? 0 : historyIndex_ + 1);
        history_.push_back(location_);
        historyIndex_ = history_.size() - 1;
    }
    FireFrameEvent(DISPID_NAVIGATECOMPLETE2, *this, location_);
    if (generation != generation_) {
        return;
    }
    const std::wstring& title = document_->Page().title;
    VARIANT titleArgument = Text(title.empty() ? location_ : title);
    Log(L"event 113 " + std::wstring(V_BSTR(&titleArgument)));
    Fire(DISPID_TITLECHANGE, &titleArgument, 1);
    VariantClear(&titleArgument);
    FireCommandStates();
    Ref<Document> top = Ref<Document>::Retain(document_.Get());
    if (generation != generation_ || !LoadFrames(*top.Get(), generation, 1)) {
        return;
    }
    readyState_ = READYSTATE_COMPLETE;
    busy_ = false;
    Relayout();
    UINT delay = 0;
    if (window_ != nullptr && RefreshOf(document_->Page(), refresh_, delay)) {
        SetTimer(window_, kRefreshTimer, std::max(delay, 10u), nullptr);
    }
    FireFrameEvent(DISPID_DOCUMENTCOMPLETE, *this, location_);
}

bool Browser::LoadFrames(Document& document, unsigned generation, int depth) {
    if (depth > 3) {
        return true;  // a page that frames itself stops here
    }
    Ref<Document> keep = Ref<Document>::Retain(&document);
    for (const auto& node : document.Page().nodes) {
        const std::wstring* source = node->Attribute(L"src");
        if (!(node->Is(L"IFRAME") || node->Is(L"FRAME")) || source == nullptr || node->frame != nullptr) {
            continue;
        }
        node->frame = Browser::Create(false);
        if (!LoadFrame(*node->frame, Resolve(document.Page().address, *source), generation, depth)) {
            return false;
        }
    }
    return true;
}

// One frame: its BeforeNavigate2, NavigateComplete2, its own frames, then its DocumentComplete. False
// when a newer navigation took over meanwhile.
bool Browser::LoadFrame(Browser& frame, const std::wstring& address, unsigned generation, int depth) {
    if (!FireBeforeNavigate(frame, address)) {
        return generation == generation_;
    }
    if (generation != generation_) {
        return false;
    }
    Ref<Document> page = Fetch(address);
    if (generation != generation_) {
        return false;
    }
    frame.document_ = std::move(page);
    frame.location_ = frame.document_->Page().address;
    FireFrameEvent(DISPID_NAVIGATECOMPLETE2, frame, frame.location_);
    Ref<Document> inner = Ref<Document>::Retain(frame.document_.Get());
    if (generation != generation_ || !LoadFrames(*inner.Get(), generation, depth + 1)) {
        return false;
    }
    frame.readyState_ = READYSTATE_COMPLETE;
    FireFrameEvent(DISPID_DOCUMENTCOMPLETE, frame, frame.location_);
    return generation == generation_;
}

// Events.

void Browser::Fire(DISPID id, VARIANTARG* arguments, UINT count) {
    std::vector<Ref<IDispatch>> sinks;
    for (const Sink& sink : sinks_) {
        sinks.push_back(Ref<IDispatch>::Retain(sink.dispatch));
    }
    DISPPARAMS parameters = {arguments, nullptr, count, 0};
    for (const auto& sink : sinks) {
        IDispatch_Invoke(sink.Get(), id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, nullptr,
                         nullptr, nullptr);
    }
}

bool Browser::FireBeforeNavigate(Browser& frame, const std::wstring& address) {
    Log(L"event 250 " + address);
    VARIANT url = Text(address), flags, name = Text(L""), postData, headers = Text(L"");
    V_VT(&flags) = VT_I4;
    V_I4(&flags) = 0;
    VariantInit(&postData);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT arguments[7];
    V_VT(&arguments[0]) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&arguments[0]) = &cancel;
    arguments[1] = ByRef(&headers);
    arguments[2] = ByRef(&postData);
    arguments[3] = ByRef(&name);
    arguments[4] = ByRef(&flags);
    arguments[5] = ByRef(&url);
    arguments[6] = Dispatch(reinterpret_cast<IDispatch*>(frame.Interface()));
    Ref<Browser> keep = Ref<Browser>::Retain(&frame);
    Fire(DISPID_BEFORENAVIGATE2, arguments, 7);
    VariantClear(&url);
    VariantClear(&name);
    VariantClear(&headers);
    VariantClear(&postData);
    return cancel == VARIANT_FALSE;
}

void Browser::FireFrameEvent(DISPID id, Browser& frame, const std::wstring& address) {
    Log(L"event " + std::to_wstring(id) + L" " + address);
    VARIANT url = Text(address);
    VARIANT arguments[2] = {ByRef(&url), Dispatch(reinterpret_cast<IDispatch*>(frame.Interface()))};
    Ref<Browser> keep = Ref<Browser>::Retain(&frame);
    Fire(id, arguments, 2);
    VariantClear(&url);
}

void Browser::FireCommandStates() {
    const int states[2][2] = {{CSC_NAVIGATEBACK, historyIndex_ > 0 ? 1 : 0},
                              {CSC_NAVIGATEFORWARD, historyIndex_ + 1 < history_.size() ? 1 : 0}};
    int* fired[2] = {&firedBack_, &firedForward_};
    for (int i = 0; i < 2; ++i) {
        if (*fired[i] == states[i][1]) {
            continue;
        }
        *fired[i] = states[i][1];
        Log(L"event 105 " + std::to_wstring(states[i][0]) + L" " + std::to_wstring(states[i][1]));
        VARIANT arguments[2];
        V_VT(&arguments[0]) = VT_BOOL;
        V_BOOL(&arguments[0]) = states[i][1] != 0 ? VARIANT_TRUE : VARIANT_FALSE;
        V_VT(&arguments[1]) = VT_I4;
        V_I4(&arguments[1]) = states[i][0];
        Fire(DISPID_COMMANDSTATECHANGE, arguments, 2);
    }
}

// NewWindow3: a dispatch handed back is a browser the new window opens in; cancel drops the window.
// Without either the real control would open a window of its own, which the stand-in does not have.
void Browser::OpenNewWindow(const std::wstring& address, DWORD flags) {
    Log(L"event 273 " + address);
    IDispatch* dispatch = nullptr;
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT arguments[5];
    arguments[0] = Text(address);
    arguments[1] = Text(location_);
    V_VT(&arguments[2]) = VT_I4;
    V_I4(&arguments[2]) = static_cast<LONG>(flags);
    V_VT(&arguments[3]) = VT_BYREF | VT_BOOL;
    V_BOOLREF(&arguments[3]) = &cancel;
    V_VT(&arguments[4]) = VT_BYREF | VT_DISPATCH;
    V_DISPATCHREF(&arguments[4]) = &dispatch;
    Fire(DISPID_NEWWINDOW3, arguments, 5);
    Ref<IDispatch> opened(dispatch);
    Ref<IWebBrowser2> other;
    if (cancel == VARIANT_FALSE && opened &&
        SUCCEEDED(IDispatch_QueryInterface(opened.Get(), IID_IWebBrowser2,
                                           reinterpret_cast<void**>(other.Put())))) {
        VARIANT empty;
        VariantInit(&empty);
        IWebBrowser2_Navigate2(other.Get(), &arguments[0], &empty, &empty, &empty, &empty);
    }
    VariantClear(&arguments[0]);
    VariantClear(&arguments[1]);
}

}  // namespace standin
