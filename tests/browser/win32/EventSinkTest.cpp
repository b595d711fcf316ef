// The browser event sink: the events it leaves unbound, and the arguments of the wrong types that it
// refuses before they reach the window.
#include <gtest/gtest.h>

#include <windows.h>

#include <exdispid.h>

#include "browser/win32/BrowserEventSink.h"
#include "browser/win32/CWebBrowser.h"

namespace browsertest {
namespace {

using browser::ComPtr;

// A browser window object without a window that counts the operations that ran.
class OperationCounter : public browser::CWebBrowser {
  public:
    OperationCounter() : CWebBrowser(true) {}
    void OnBeforeNavigate2(IDispatch*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                           VARIANT_BOOL*) override {
        ++calls;
    }
    void OnDocumentComplete(IDispatch*, VARIANT*) override { ++calls; }
    void OnNavigateComplete2(IDispatch*, VARIANT*) override { ++calls; }
    void OnNavigateComplete(VARIANT*, VARIANT*) override { ++calls; }
    void OnNewWindow3(IDispatch**, VARIANT_BOOL*, DWORD, BSTR, BSTR) override { ++calls; }
    void OnCommandStateChange(long, VARIANT_BOOL) override { ++calls; }
    int calls = 0;
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

    OperationCounter target;
    ComPtr<browser::BrowserEventSink> sink = browser::BrowserEventSink::Create(target);
    VARIANT empty = {};
    VARIANT_BOOL cancel = VARIANT_FALSE;
    IDispatch* opened = nullptr;
};

// Which events reach which operation with which arguments is seen with the real control, in the host
// tests and on the player's road; here the sink refuses what would be unsafe to pass on.
TEST_F(EventSink, UnboundNumbersAndMalformedArgumentsReachNothing) {
    EXPECT_EQ(Event().Text(L"status").SendTo(sink.Get(), DISPID_STATUSTEXTCHANGE), S_OK);
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
    EXPECT_EQ(target.calls, 0);
    // Well-formed events do reach the window, until the sink is disconnected.
    EXPECT_EQ(Event().Add(VT_UI2, 2).Add(VT_I4, 0).SendTo(sink.Get(), DISPID_COMMANDSTATECHANGE), S_OK);
    EXPECT_EQ(BeforeNavigate(&cancel).SendTo(sink.Get(), DISPID_BEFORENAVIGATE2), S_OK);
    EXPECT_EQ(target.calls, 2);
    sink->Disconnect();
    EXPECT_EQ(BeforeNavigate(&cancel).SendTo(sink.Get(), DISPID_BEFORENAVIGATE2), S_OK);
    EXPECT_EQ(target.calls, 2);
}

}  // namespace
}  // namespace browsertest
