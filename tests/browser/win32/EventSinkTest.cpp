#include <gtest/gtest.h>

#include <windows.h>

#include <exdispid.h>

#include "browser/win32/BrowserEventSink.h"
#include "browser/win32/CWebBrowser.h"
#include "browser/win32/ComValues.h"

namespace browsertest {
namespace {

using SkinUI::ComPtr;

// A browser window object without a window that keeps what each operation was given.
class ArgumentRecorder : public browser::CWebBrowser {
  public:
    ArgumentRecorder() : CWebBrowser(true) {}

    void OnBeforeNavigate2(IDispatch* frame, VARIANT* address, VARIANT*, VARIANT*, VARIANT*, VARIANT* headers,
                           VARIANT_BOOL* cancel) override {
        Note("BeforeNavigate2", frame, address);
        this->headers = browser::VariantText(headers).value_or(L"-");
        *cancel = VARIANT_TRUE;
    }
    void OnDocumentComplete(IDispatch* frame, VARIANT* address) override {
        Note("DocumentComplete", frame, address);
    }
    void OnNavigateComplete2(IDispatch* frame, VARIANT* address) override {
        Note("NavigateComplete2", frame, address);
    }
    void OnNavigateComplete(VARIANT* first, VARIANT* second) override {
        calls.push_back("NavigateComplete");
        address =
            browser::VariantText(first).value_or(L"-") + L"," + browser::VariantText(second).value_or(L"-");
    }
    void OnNewWindow3(IDispatch** dispatch, VARIANT_BOOL* cancel, DWORD flags, BSTR context,
                      BSTR url) override {
        calls.push_back("NewWindow3");
        newWindowFlags = flags;
        address = browser::BstrText(context).value_or(L"-") + L"," + browser::BstrText(url).value_or(L"-");
        *dispatch = nullptr;
        *cancel = VARIANT_TRUE;
    }
    void OnCommandStateChange(long command, VARIANT_BOOL enabled) override {
        calls.push_back("CommandStateChange " + std::to_string(command) + " " + std::to_string(enabled));
    }

    void Note(const char* name, IDispatch* frame, VARIANT* url) {
        calls.push_back(name);
        this->frame = frame;
        address = browser::VariantText(url).value_or(L"-");
    }

    std::vector<std::string> calls;
    IDispatch* frame = nullptr;
    std::wstring address;
    std::wstring headers;
    DWORD newWindowFlags = 0;
};

// Arguments in declaration order; they go to the sink last-first, as the platform passes them.
class Event {
  public:
    ~Event() {
        for (VARIANT& v : arguments_) {
            if ((V_VT(&v) & VT_BYREF) == 0) {
                VariantClear(&v);
            }
        }
    }
    Event& Dispatch(IDispatch* value) {
        VARIANT& v = Add();
        V_VT(&v) = VT_DISPATCH;
        V_DISPATCH(&v) = value;
        if (value != nullptr) {
            value->AddRef();
        }
        return *this;
    }
    Event& Text(const wchar_t* text) {
        VARIANT& v = Add();
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = SysAllocString(text);
        return *this;
    }
    Event& Int(VARTYPE type, LONG value) {
        VARIANT& v = Add();
        V_VT(&v) = type;
        V_I4(&v) = value;
        return *this;
    }
    Event& Bool(VARIANT_BOOL value) {
        VARIANT& v = Add();
        V_VT(&v) = VT_BOOL;
        V_BOOL(&v) = value;
        return *this;
    }
    Event& Ref(VARTYPE type, void* target) {
        VARIANT& v = Add();
        V_VT(&v) = static_cast<VARTYPE>(VT_BYREF | type);
        V_BYREF(&v) = target;
        return *this;
    }
    HRESULT SendTo(IDispatch* sink, DISPID id) {
        std::vector<VARIANT> reversed(arguments_.rbegin(), arguments_.rend());
        DISPPARAMS parameters = {reversed.empty() ? nullptr : reversed.data(), nullptr,
                                 static_cast<UINT>(reversed.size()), 0};
        return sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr);
    }

  private:
    VARIANT& Add() {
        arguments_.emplace_back();
        VariantInit(&arguments_.back());
        return arguments_.back();
    }
    std::vector<VARIANT> arguments_;
};

class EventSink : public ::testing::Test {
  protected:
    void SetUp() override {
        sink = browser::BrowserEventSink::Create(target);
        V_VT(&url) = VT_BSTR;
        V_BSTR(&url) = SysAllocString(L"http://h/a");
        V_VT(&headers) = VT_BSTR;
        V_BSTR(&headers) = SysAllocString(L"X-A: 1");
    }
    void TearDown() override {
        VariantClear(&url);
        VariantClear(&headers);
    }

    ArgumentRecorder target;
    ComPtr<browser::BrowserEventSink> sink;
    VARIANT url = {};
    VARIANT headers = {};
    VARIANT empty = {};
};

TEST_F(EventSink, NavigationEventsReachTheirOperationsWithTheirArguments) {
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(Event()
                  .Dispatch(sink.Get())
                  .Ref(VT_VARIANT, &url)
                  .Ref(VT_VARIANT, &empty)
                  .Ref(VT_VARIANT, &empty)
                  .Ref(VT_VARIANT, &empty)
                  .Ref(VT_VARIANT, &headers)
                  .Ref(VT_BOOL, &cancel)
                  .SendTo(sink.Get(), DISPID_BEFORENAVIGATE2),
              S_OK);
    EXPECT_EQ(target.frame, sink.Get());
    EXPECT_EQ(target.address, L"http://h/a");
    EXPECT_EQ(target.headers, L"X-A: 1");
    EXPECT_EQ(cancel, VARIANT_TRUE);

    EXPECT_EQ(Event().Dispatch(nullptr).Ref(VT_VARIANT, &url).SendTo(sink.Get(), DISPID_NAVIGATECOMPLETE2),
              S_OK);
    EXPECT_EQ(Event().Dispatch(nullptr).Text(L"http://h/b").SendTo(sink.Get(), DISPID_DOCUMENTCOMPLETE),
              S_OK);
    EXPECT_EQ(target.address, L"http://h/b");
    // The old navigate-complete number is bound too, its arguments optional.
    EXPECT_EQ(Event().Text(L"http://h/old").SendTo(sink.Get(), 101), S_OK);
    EXPECT_EQ(Event().SendTo(sink.Get(), 101), S_OK);
    EXPECT_EQ(target.address, L"-,-");
    EXPECT_EQ(target.calls,
              (std::vector<std::string>{"BeforeNavigate2", "NavigateComplete2", "DocumentComplete",
                                        "NavigateComplete", "NavigateComplete"}));
}

TEST_F(EventSink, NewWindowAndCommandStateArgumentsAreConverted) {
    IDispatch* opened = sink.Get();
    VARIANT_BOOL cancel = VARIANT_FALSE;
    EXPECT_EQ(Event()
                  .Ref(VT_DISPATCH, &opened)
                  .Ref(VT_BOOL, &cancel)
                  .Int(VT_I4, 0x10006)
                  .Text(L"http://h/ctx")
                  .Text(L"http://h/new")
                  .SendTo(sink.Get(), DISPID_NEWWINDOW3),
              S_OK);
    EXPECT_EQ(target.newWindowFlags, 0x10006u);
    EXPECT_EQ(target.address, L"http://h/ctx,http://h/new");
    EXPECT_EQ(opened, nullptr);
    EXPECT_EQ(cancel, VARIANT_TRUE);

    EXPECT_EQ(Event().Int(VT_I4, 2).Bool(VARIANT_TRUE).SendTo(sink.Get(), DISPID_COMMANDSTATECHANGE), S_OK);
    EXPECT_EQ(Event().Int(VT_UI2, 1).Int(VT_I4, 0).SendTo(sink.Get(), DISPID_COMMANDSTATECHANGE), S_OK);
    EXPECT_EQ(target.calls,
              (std::vector<std::string>{"NewWindow3", "CommandStateChange 2 -1", "CommandStateChange 1 0"}));
}

TEST_F(EventSink, UnboundNumbersAndMalformedArgumentsReachNothing) {
    EXPECT_EQ(Event().Text(L"status").SendTo(sink.Get(), DISPID_STATUSTEXTCHANGE), S_OK);
    EXPECT_EQ(Event().Int(VT_I4, 1).Int(VT_I4, 2).SendTo(sink.Get(), DISPID_PROGRESSCHANGE), S_OK);
    VARIANT_BOOL cancel = VARIANT_FALSE;
    IDispatch* opened = nullptr;
    EXPECT_EQ(Event().Ref(VT_DISPATCH, &opened).Ref(VT_BOOL, &cancel).SendTo(sink.Get(), DISPID_NEWWINDOW2),
              S_OK);

    EXPECT_EQ(Event().Dispatch(nullptr).SendTo(sink.Get(), DISPID_DOCUMENTCOMPLETE), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Event().Text(L"x").Ref(VT_VARIANT, &url).SendTo(sink.Get(), DISPID_NAVIGATECOMPLETE2),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Event()
                  .Dispatch(nullptr)
                  .Ref(VT_VARIANT, &url)
                  .Ref(VT_VARIANT, &empty)
                  .Ref(VT_VARIANT, &empty)
                  .Ref(VT_VARIANT, &empty)
                  .Ref(VT_VARIANT, &empty)
                  .Bool(VARIANT_FALSE)  // the cancel flag must be a place to write to
                  .SendTo(sink.Get(), DISPID_BEFORENAVIGATE2),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Event()
                  .Dispatch(nullptr)
                  .Ref(VT_BOOL, &cancel)
                  .Int(VT_I4, 0)
                  .Text(L"a")
                  .Text(L"b")
                  .SendTo(sink.Get(), DISPID_NEWWINDOW3),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(Event().Text(L"not a number").Bool(VARIANT_TRUE).SendTo(sink.Get(), DISPID_COMMANDSTATECHANGE),
              DISP_E_TYPEMISMATCH);
    EXPECT_TRUE(target.calls.empty());
    EXPECT_EQ(cancel, VARIANT_FALSE);
}

TEST_F(EventSink, ADisconnectedSinkDeliversNothing) {
    EXPECT_FALSE(sink->Connected());
    sink->Disconnect();
    EXPECT_EQ(Event().Int(VT_I4, 2).Bool(VARIANT_TRUE).SendTo(sink.Get(), DISPID_COMMANDSTATECHANGE), S_OK);
    EXPECT_TRUE(target.calls.empty());
}

TEST_F(EventSink, AnswersAsAnEventInterfaceWithARealCount) {
    ComPtr<IDispatch> asEvents;
    EXPECT_EQ(sink->QueryInterface(DIID_DWebBrowserEvents2, asEvents.PutVoid()), S_OK);
    ComPtr<IUnknown> other;
    EXPECT_EQ(sink->QueryInterface(IID_IOleClientSite, other.PutVoid()), E_NOINTERFACE);
    EXPECT_EQ(sink->AddRef(), 3u);
    EXPECT_EQ(sink->Release(), 2u);
}

}  // namespace
}  // namespace browsertest
