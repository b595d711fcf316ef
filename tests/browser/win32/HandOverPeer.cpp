// A second process for the hand-over tests. "acquire <page window>" obtains the page's browser from
// this process and uses the proxy; "serve <answer> <title>" shows a page window that answers the page
// command with a malformed hand-over ("oversized", "nobrowser", "garbage", "nobrowserobject", or a number
// given as it stands). The exit code says which step failed; 0 is success.

#include <windows.h>

#include <exdisp.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <vector>

#include "browser/win32/ComObject.h"
#include "childproc/IpcProtocol.h"
#include "childproc/win32/BrowserHandOver.h"
#include "childproc/win32/PageCommandMessage.h"
#include "childproc/win32/ScopedHandles.h"
#include "skin/win32/ComPtr.h"

namespace childproc {
namespace {

int Acquire(HWND page) {
    SkinUI::ComPtr<IWebBrowser2> browser;
    HWND window = nullptr;
    if (AcquireBrowserInterface(page, page, &window, browser.Put()) != S_OK || !browser) {
        return 10;
    }
    if (window != page) {
        return 11;
    }
    VARIANT_BOOL visible = VARIANT_FALSE;
    if (FAILED(browser->get_Visible(&visible)) || FAILED(browser->put_StatusBar(VARIANT_TRUE))) {
        return 12;
    }
    // The raw answer is a handle of this process to a well-formed block.
    const LRESULT answer = SendMessageW(page, PageCommandMessage(), kPageCommandHandOver,
                                        static_cast<LPARAM>(GetCurrentProcessId()));
    UniqueHandle block(reinterpret_cast<HANDLE>(answer));
    MappedView view(block.Get());
    uint32_t count = 0;
    if (view.Get() == nullptr || !ReadHandOverCount(view.Get(), view.Size(), count)) {
        return 13;
    }
    // Nobody unmarshals this one: its reference goes back to the page.
    GlobalMemory memory(GMEM_MOVEABLE, count);
    memory.CopyIn(static_cast<const uint8_t*>(view.Get()) + kHandOverHeaderSize, count);
    SkinUI::ComPtr<IStream> stream;
    CreateStreamOnHGlobal(memory.Get(), FALSE, stream.Put());
    CoReleaseMarshalData(stream.Get());
    return 0;
}

const wchar_t* g_answer = L"";

// An object that is no browser; its count says whether every reference handed out came back.
class CountedObject final : public browser::ComObject<IUnknown> {
  protected:
    void* Find(REFIID iid) override { return iid == IID_IUnknown ? static_cast<IUnknown*>(this) : nullptr; }
};
CountedObject* g_object = nullptr;

// The references to the object beyond its own.
int ReferencesHandedOut() {
    g_object->AddRef();
    return static_cast<int>(g_object->Release()) - 1;
}

// A block of `size` bytes claiming `count` bytes (followed by `data`, when given), duplicated into the
// asking process.
LRESULT BlockFor(DWORD processId, DWORD size, uint32_t count, uint8_t fill, const void* data = nullptr) {
    UniqueHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, nullptr));
    {
        MappedView view(mapping.Get());
        auto* bytes = static_cast<uint8_t*>(view.Get());
        std::memset(bytes, fill, size);
        std::memcpy(bytes, &count, sizeof count);
        if (data != nullptr) {
            std::memcpy(bytes + sizeof count, data, count);
        }
    }
    UniqueHandle process(OpenProcess(PROCESS_DUP_HANDLE, FALSE, processId));
    HANDLE remote = nullptr;
    DuplicateHandle(GetCurrentProcess(), mapping.Get(), process.Get(), &remote, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    return reinterpret_cast<LRESULT>(remote);
}

LRESULT CALLBACK ServeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PageCommandMessage() && wParam == 0 && lParam != 0) {
        const auto processId = static_cast<DWORD>(lParam);
        if (std::wcscmp(g_answer, L"oversized") == 0) {
            return BlockFor(processId, 64, 100000, 0);
        }
        if (std::wcscmp(g_answer, L"garbage") == 0) {
            return BlockFor(processId, 64, 60, 0x5A);
        }
        if (std::wcscmp(g_answer, L"nobrowserobject") == 0) {
            // Well-formed marshalled data of an object that is no browser.
            DWORD count = 0;
            CoGetMarshalSizeMax(&count, IID_IUnknown, g_object, MSHCTX_LOCAL, nullptr, MSHLFLAGS_NORMAL);
            GlobalMemory memory(GMEM_MOVEABLE | GMEM_ZEROINIT, count);
            SkinUI::ComPtr<IStream> stream;
            CreateStreamOnHGlobal(memory.Get(), FALSE, stream.Put());
            CoMarshalInterface(stream.Get(), IID_IUnknown, g_object, MSHCTX_LOCAL, nullptr, MSHLFLAGS_NORMAL);
            std::vector<uint8_t> bytes(count);
            memory.CopyOut(bytes.data(), count);
            return BlockFor(processId, count + 4, count, 0, bytes.data());
        }
        if (std::iswdigit(g_answer[0])) {
            return static_cast<LRESULT>(std::wcstoull(g_answer, nullptr, 10));
        }
        return static_cast<LRESULT>(kNoBrowserHandle);
    }
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int Serve(const wchar_t* answer, const wchar_t* title) {
    g_answer = answer;
    g_object = new CountedObject();
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = ServeProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"HandOverPeerPage";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, title, WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) {
        return 20;
    }
    SetTimer(window, 1, 20000, nullptr);  // never outlive a test that forgot this process
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER) {
            break;
        }
        DispatchMessageW(&msg);
    }
    // References to the object that were handed out and never came back.
    return ReferencesHandedOut();
}

}  // namespace
}  // namespace childproc

int wmain(int argc, wchar_t** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int result = 2;
    if (argc == 3 && std::wcscmp(argv[1], L"acquire") == 0) {
        result = childproc::Acquire(
            reinterpret_cast<HWND>(static_cast<uintptr_t>(std::wcstoull(argv[2], nullptr, 10))));
    } else if (argc == 4 && std::wcscmp(argv[1], L"serve") == 0) {
        result = childproc::Serve(argv[2], argv[3]);
    }
    CoUninitialize();
    return result;
}
