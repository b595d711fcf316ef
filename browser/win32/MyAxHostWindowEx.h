#pragma once

#include <atomic>

#include "browser/win32/AxHostWindow.h"

namespace browser {

// Whether pages show scroll bars: written by every browser window when it creates its control and read
// by every host site's GetHostInfo, so the most recently created control decides for the process.
extern std::atomic<bool> g_showScrollBars;

// The browser windows' host site: the plain site with the document host's flags fixed (no 3-D border,
// themed controls, scroll bars as g_showScrollBars says) and a command target that silences script-error
// dialogs and knows no other command.
class MyAxHostWindowEx : public AxHostWindow, public IOleCommandTarget {
  public:
    // A new site with one reference, owned by the caller.
    static ComPtr<MyAxHostWindowEx> Create();

    // The command target's IUnknown is the site's.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        return AxHostWindow::QueryInterface(iid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return AxHostWindow::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return AxHostWindow::Release(); }

    HRESULT STDMETHODCALLTYPE GetHostInfo(DOCHOSTUIINFO* info) override;

    HRESULT STDMETHODCALLTYPE QueryStatus(const GUID* group, ULONG count, OLECMD commands[],
                                          OLECMDTEXT* text) override;
    HRESULT STDMETHODCALLTYPE Exec(const GUID* group, DWORD command, DWORD options, VARIANT* in,
                                   VARIANT* out) override;

  protected:
    void* Find(REFIID iid) override;

  private:
    MyAxHostWindowEx() = default;
    ~MyAxHostWindowEx() override = default;
};

}  // namespace browser
