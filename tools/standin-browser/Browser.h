#pragma once

#include <string>
#include <vector>

#include "ComBase.h"
#include "Document.h"
#include "GlView.h"
#include "HtmlDom.h"

namespace standin {

// The stand-in browser control. The top-level control is embedded by a container (OLE object, in-place
// object, active object), navigates, keeps the history and fires DWebBrowserEvents2 through its one
// connection point. Each frame of a page is a Browser of its own that only holds the frame's document
// and address; the top-level control loads frames and fires their events.
class Browser final : public ComObject {
  public:
    static Browser* Create(bool topLevel);  // one reference for the caller

    IWebBrowser2* Interface() { return As<IWebBrowser2>(web_); }
    Document* CurrentDocument() const { return document_.Get(); }
    const std::wstring& Location() const { return location_; }

    // The top-level control: starts a navigation after the current message, as the real control does.
    void Navigate(const std::wstring& address, bool addToHistory = true);

    // Window messages of the control's window.
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  private:
    explicit Browser(bool topLevel);
    ~Browser() override;
    Face* Find(REFIID iid) override;

    struct Faces;
    friend struct Faces;

    // Loading, on the top-level control's thread.
    void Load(std::wstring address, bool addToHistory);
    bool LoadFrame(Browser& frame, const std::wstring& address, unsigned generation, int depth);
    bool LoadFrames(Document& document, unsigned generation, int depth);
    Ref<Document> Fetch(const std::wstring& address);

    // Events.
    void Fire(DISPID id, VARIANTARG* arguments, UINT count);
    bool FireBeforeNavigate(Browser& frame, const std::wstring& address);
    void FireFrameEvent(DISPID id, Browser& frame, const std::wstring& address);
    void FireCommandStates();
    void OpenNewWindow(const std::wstring& address, DWORD flags);

    // Embedding.
    HRESULT Activate(HWND parent, const RECT* position);
    void Deactivate();
    void Click(int x, int y, bool forceWindow);
    void Scroll(int delta);
    void UpdateScrollBar();
    void Relayout();

    Face web_, ole_, inPlace_, active_, points_, point_;
    const bool topLevel_;
    Ref<Document> document_;
    std::wstring location_;
    std::wstring pending_;
    std::wstring refresh_;  // where a META refresh of the page leads
    bool pendingToHistory_ = true;
    unsigned generation_ = 0;
    READYSTATE readyState_ = READYSTATE_UNINITIALIZED;
    bool busy_ = false;
    VARIANT_BOOL silent_ = VARIANT_FALSE;
    std::vector<std::wstring> history_;
    size_t historyIndex_ = 0;
    int firedBack_ = -1, firedForward_ = -1;

    Ref<IOleClientSite> site_;
    Ref<IOleInPlaceSite> inPlaceSite_;
    HWND window_ = nullptr;
    RECT position_ = {};
    struct Sink {
        DWORD cookie;
        IDispatch* dispatch;
    };
    std::vector<Sink> sinks_;
    DWORD nextCookie_ = 1;
    HFONT fonts_[kFontCount] = {};
    bool scrollBars_ = true;  // the host's document flags allow them
    GlView glView_;
};

}  // namespace standin
