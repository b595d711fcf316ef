// The browser event sink: which event numbers reach which operation with which arguments, and what
// arguments of the wrong types it refuses before they reach the window.
#include <gtest/gtest.h>

#include <windows.h>

#include <exdispid.h>

#include "browser/win32/BrowserEventSink.h"
#include "browser/win32/CWebBrowser.h"
#include "browser/win32/ComValues.h"

namespace browsertest {
namespace {

using SkinUI::ComPtr;

std::wstring Text(const VARIANT* value) {
    return browser::VariantText(value).value_or(L"-");
}

// A browser window object without a window that notes each operation with the text of its arguments.
class ArgumentRecorder : public browser::CWebBrowser {
  public:
    ArgumentRecorder() : CWebBrowser(true) {}

    void OnBeforeNavigate2(IDispatch* frame, VARIANT* address, VARIANT*, VARIANT*, VARIANT*, VARIANT* headers,
                           VARIANT_BOOL* cancel) override {
        Note(L"BeforeNavigate2 " + Frame(frame) + Text(address) + L" " + Text(headers));
        *cancel = VARIANT_TRUE;
    }
    void OnDocumentComplete(IDispatch* frame, VARIANT* address) override {
        Note(L"DocumentComplete " + Frame(frame) + Text(address));
    }
    void OnNavigateComplete2(IDispatch* frame, VARIANT* address) override {
        Note(L"NavigateComplete2 " + Frame(frame) + Text(address));
    }
    void OnNavigateComplete(VARIANT* first, VARIANT* second) override {
        Note(L"NavigateComplete " + Text(first) + L"," + Text(second));
    }
    void OnNewWindow3(IDispatch** dispatch, VARIANT_BOOL* cancel, DWORD flags, BSTR context,
                      BSTR url) override {
        Note(L"NewWindow3 " + std::to_wstring(flags) + L" " + browser::BstrText(context).value_or(L"-") +
             L"," + browser::BstrText(url).value_or(L"-"));
        *dispatch = nullptr;
        *cancel = VARIANT_TRUE;
    }
    void OnCommandStateChange(long command, VARIANT_BOOL enabled) override {
        Note(L"CommandStateChange " + std::to_wstring(command) + L" " + std::to_wstring(enabled));
    }

    static std::wstring Frame(IDispatch* frame) { return frame != nullptr ? L"frame " : L"none "; }
    void Note(std::wstring call) { calls.push_back(std::move(call)); }

    std::vector<std::wstring> calls;
};

// Arguments in declaration order; they go to the sink last-first, as the platform passes them.
class Event {
  public:
    Event() = default;
    Event(Event&&) = default;
    ~Event() {
        for (VARIANT& v : arguments_) {
            VariantClear(&v);  // by-reference arguments are left alone
        }
    }
    // A value argument: text, or a number (a flag included) of `type`.
    Event& Add(VARTYPE type, LONG value) {
        VARIANT& v = Next(type);
        V_I4(&v) = value;  // the smaller types share the low bytes
        return *this;
    }
    Event& Text(const wchar_t* text) {
        V_BSTR(&Next(VT_BSTR)) = SysAllocString(text);
        return *this;
    }
    Event& Dispatch(IDispatch* value) {
        V_DISPATCH(&Next(VT_DISPATCH)) = value;
        if (value != nullptr) {
            value->AddRef();
        }
        return *this;
    }
    template <typename T>
    Event& Ref(VARTYPE type, T* target) {
        V_BYREF(&Next(static_cast<VARTYPE>(VT_BYREF | type))) = target;
        return *this;
    }
    HRESULT SendTo(IDispatch* sink, DISPID id) {
        std::vector<VARIANT> reversed(arguments_.rbegin(), arguments_.rend());
        DISPPARAMS parameters = {reversed.empty() ? nullptr : reversed.data(), nullptr,
                                 static_cast<UINT>(reversed.size()), 0};
        return sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr);
    }

  private:
    VARIANT& Next(VARTYPE type) {
        arguments_.emplace_back();
        VariantInit(&arguments_.back());
        V_VT(&arguments_.back()) = type;
        return arguments_.back();
    }
    std::vector<VARIANT> arguments_;
};

class EventSink : public ::testing::Test {
  protected:
    // The cancel flag as a place to write to (null: none) or, with `byValue`, as a plain flag.
    Event BeforeNavigate(VARIANT_BOOL* cancelFlag, bool byValue = false) {
        Event event;
        event.Dispatch(sink.Get()).Text(L"http://h/a").Ref(VT_VARIANT, &empty).Ref(VT_VARIANT, &empty);
        event.Ref(VT_VARIANT, &empty).Text(L"X-A: 1");
        if (byValue) {
            event.Add(VT_BOOL, VARIANT_FALSE);
        } else {
            event.Ref(VT_BOOL, cancelFlag);
        }
        return event;
    }

    ArgumentRecorder target;
    ComPtr<browser::BrowserEventSink> sink = browser::BrowserEventSink::Create(target);
    VARIANT empty = {};
    VARIANT_BOOL cancel = VARIANT_FALSE;
    IDispatch* opened = nullptr;
};

TEST_F(EventSink, KnownEventsReachTheirOperationsWithTheirArgumentsConverted) {
    opened = sink.Get();
    EXPECT_EQ(BeforeNavigate(&cancel).SendTo(sink.Get(), DISPID_BEFORENAVIGATE2), S_OK);
    EXPECT_EQ(cancel, VARIANT_TRUE);
    EXPECT_EQ(Event().Dispatch(nullptr).Text(L"http://h/a").SendTo(sink.Get(), DISPID_NAVIGATECOMPLETE2),
              S_OK);
    EXPECT_EQ(Event().Dispatch(nullptr).Text(L"http://h/b").SendTo(sink.Get(), DISPID_DOCUMENTCOMPLETE),
              S_OK);
    // The old navigate-complete number is bound too, its arguments optional.
    EXPECT_EQ(Event().Text(L"http://h/old").SendTo(sink.Get(), 101), S_OK);
    EXPECT_EQ(Event().SendTo(sink.Get(), 101), S_OK);
    cancel = VARIANT_FALSE;
    EXPECT_EQ(Event()
                  .Ref(VT_DISPATCH, &opened)
                  .Ref(VT_BOOL, &cancel)
                  .Add(VT_I4, 0x10006)
                  .Text(L"http://h/ctx")
                  .Text(L"http://h/new")
                  .SendTo(sink.Get(), DISPID_NEWWINDOW3),
              S_OK);
    EXPECT_EQ(opened, nullptr);
    EXPECT_EQ(cancel, VARIANT_TRUE);
    EXPECT_EQ(Event().Add(VT_I4, 2).Add(VT_BOOL, VARIANT_TRUE).SendTo(sink.Get(), DISPID_COMMANDSTATECHANGE),
              S_OK);
    EXPECT_EQ(Event().Add(VT_UI2, 1).Add(VT_I4, 0).SendTo(sink.Get(), DISPID_COMMANDSTATECHANGE), S_OK);
    EXPECT_EQ(target.calls,
              (std::vector<std::wstring>{
                  L"BeforeNavigate2 frame http://h/a X-A: 1", L"NavigateComplete2 none http://h/a",
                  L"DocumentComplete none http://h/b", L"NavigateComplete http://h/old,-",
                  L"NavigateComplete -,-", L"NewWindow3 65542 http://h/ctx,http://h/new",
                  L"CommandStateChange 2 -1", L"CommandStateChange 1 0"}));
}

TEST_F(EventSink, UnboundNumbersAndMalformedArgumentsReachNothing) {
    EXPECT_EQ(Event().Text(L"status").SendTo(sink.Get(), DISPID_STATUSTEXTCHANGE), S_OK);
    EXPECT_EQ(Event().Add(VT_I4, 1).Add(VT_I4, 2).SendTo(sink.Get(), DISPID_PROGRESSCHANGE), S_OK);
    EXPECT_EQ(Event().Ref(VT_DISPATCH, &opened).Ref(VT_BOOL, &cancel).SendTo(sink.Get(), DISPID_NEWWINDOW2),
              S_OK);

    EXPECT_EQ(Event().Dispatch(nullptr).SendTo(sink.Get(), DISPID_DOCUMENTCOMPLETE), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Event().Text(L"x").Text(L"http://h/a").SendTo(sink.Get(), DISPID_NAVIGATECOMPLETE2),
              DISP_E_TYPEMISMATCH);
    // The cancel flag must be a place to write to.
    EXPECT_EQ(BeforeNavigate(nullptr).SendTo(sink.Get(), DISPID_BEFORENAVIGATE2), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(BeforeNavigate(nullptr, true).SendTo(sink.Get(), DISPID_BEFORENAVIGATE2), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Event()
                  .Dispatch(nullptr)
                  .Ref(VT_BOOL, &cancel)
                  .Add(VT_I4, 0)
                  .Text(L"a")
                  .Text(L"b")
                  .SendTo(sink.Get(), DISPID_NEWWINDOW3),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Event()
                  .Text(L"not a number")
                  .Add(VT_BOOL, VARIANT_TRUE)
                  .SendTo(sink.Get(), DISPID_COMMANDSTATECHANGE),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(cancel, VARIANT_FALSE);
    // A disconnected sink delivers nothing at all.
    sink->Disconnect();
    EXPECT_EQ(Event().Add(VT_I4, 2).Add(VT_BOOL, VARIANT_TRUE).SendTo(sink.Get(), DISPID_COMMANDSTATECHANGE),
              S_OK);
    EXPECT_TRUE(target.calls.empty());
}

}  // namespace
}  // namespace browsertest
