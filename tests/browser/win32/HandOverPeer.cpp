// A second process for the hand-over tests: "serve <answer> <title>" shows a page window that answers the
// page command with a malformed hand-over ("oversized", "nobrowser", "garbage", "nobrowserobject", or a
// number given as it stands). The exit code is the count of references to the served object that never
// came back; 0 is success. Without arguments it is a program that never shows a window.

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>

#include "browser/win32/ComObject.h"
#include "browser/win32/ComPtr.h"
#include "childproc/IpcProtocol.h"
#include "childproc/win32/PageCommandMessage.h"
#include "childproc/win32/ScopedHandles.h"

namespace childproc {
namespace {

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
            browser::ComPtr<IStream> stream;
            CreateStreamOnHGlobal(memory.Get(), FALSE, stream.Put());
            CoMarshalInterface(stream.Get(), IID_IUnknown, g_object, MSHCTX_LOCAL, nullptr, MSHLFLAGS_NORMAL);
            const void* bytes = GlobalLock(memory.Get());
            const LRESULT block = BlockFor(processId, count + 4, count, 0, bytes);
            GlobalUnlock(memory.Get());
            return block;
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
    if (argc == 4 && std::wcscmp(argv[1], L"serve") == 0) {
        result = childproc::Serve(argv[2], argv[3]);
    }
    CoUninitialize();
    return result;
}
