#include "childproc/win32/BrowserHandOver.h"

#include <objbase.h>

#include "browser/win32/ComPtr.h"
#include "childproc/IpcProtocol.h"
#include "childproc/win32/PageCommandMessage.h"
#include "childproc/win32/ScopedHandles.h"

namespace childproc {

using browser::ComPtr;

namespace {

// Marshalled data that is not going to be read must give back the reference the stub holds.
void ReleaseMarshalled(IStream* stream) {
    LARGE_INTEGER start = {};
    if (SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, nullptr))) {
        CoReleaseMarshalData(stream);
    }
}

// Writes the marshalled bytes into a new shared block; the block's handle in this process, or none.
UniqueHandle WriteSharedBlock(const GlobalMemory& marshalled, DWORD count) {
    const DWORD blockSize = count + static_cast<DWORD>(kHandOverHeaderSize);
    UniqueHandle mapping(
        CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, blockSize, nullptr));
    if (!mapping) {
        return UniqueHandle();
    }
    MappedView view(mapping.Get());
    if (view.Get() == nullptr) {
        return UniqueHandle();
    }
    void* data = GlobalLock(marshalled.Get());
    if (data == nullptr) {
        return UniqueHandle();
    }
    const bool written = WriteHandOverBlock(view.Get(), blockSize, data, count);
    GlobalUnlock(marshalled.Get());
    return written ? std::move(mapping) : UniqueHandle();
}

HANDLE DuplicateInto(DWORD processId, HANDLE handle) {
    UniqueHandle process(OpenProcess(PROCESS_DUP_HANDLE, FALSE, processId));
    HANDLE duplicate = nullptr;
    if (!process || !DuplicateHandle(GetCurrentProcess(), handle, process.Get(), &duplicate, 0, FALSE,
                                     DUPLICATE_SAME_ACCESS)) {
        return nullptr;
    }
    return duplicate;
}

DWORD ProcessOf(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

HRESULT AcquireFromThread(HWND browserWindow, UINT command, HWND* outWindow, IWebBrowser2** outBrowser) {
    auto* stream = reinterpret_cast<IStream*>(SendMessageW(browserWindow, command, kPageCommandHandOver, 0));
    if (stream == nullptr) {
        return E_FAIL;
    }
    const HRESULT result =
        CoGetInterfaceAndReleaseStream(stream, IID_IWebBrowser2, reinterpret_cast<void**>(outBrowser));
    if (FAILED(result)) {
        *outBrowser = nullptr;
    }
    if (outWindow != nullptr) {
        *outWindow = browserWindow;
    }
    return result;
}

HRESULT AcquireFromProcess(HWND browserWindow, UINT command, HWND* outWindow, IWebBrowser2** outBrowser) {
    const LRESULT answer = SendMessageW(browserWindow, command, kPageCommandHandOver,
                                        static_cast<LPARAM>(GetCurrentProcessId()));
    // A page without a browser answers with a value that is no handle; it must not be closed.
    if (answer == 0 || static_cast<uint32_t>(answer) == kNoBrowserHandle) {
        return E_FAIL;
    }
    UniqueHandle block(reinterpret_cast<HANDLE>(answer));
    MappedView view(block.Get());
    uint32_t count = 0;
    if (view.Get() == nullptr || !ReadHandOverCount(view.Get(), view.Size(), count)) {
        return E_FAIL;
    }
    GlobalMemory memory(GMEM_MOVEABLE, count);
    if (!memory || !memory.CopyIn(static_cast<const uint8_t*>(view.Get()) + kHandOverHeaderSize, count)) {
        return E_FAIL;
    }
    if (outWindow != nullptr) {
        *outWindow = browserWindow;
    }
    ComPtr<IStream> stream;
    HRESULT result = CreateStreamOnHGlobal(memory.Get(), TRUE, stream.Put());
    if (FAILED(result)) {
        return result;
    }
    memory.Release();  // the stream frees it now
    result = CoUnmarshalInterface(stream.Get(), IID_IWebBrowser2, reinterpret_cast<void**>(outBrowser));
    if (FAILED(result)) {
        *outBrowser = nullptr;
        // The page's stub still holds the reference the data carries; give it back.
        ReleaseMarshalled(stream.Get());
    }
    return result;
}

}  // namespace

uintptr_t MarshalBrowserToProcess(IWebBrowser2* browser, DWORD processId) {
    if (browser == nullptr) {
        return kNoBrowserHandle;
    }
    DWORD count = 0;
    if (FAILED(CoGetMarshalSizeMax(&count, IID_IWebBrowser2, browser, MSHCTX_LOCAL, nullptr,
                                   MSHLFLAGS_NORMAL)) ||
        count == 0) {
        return 0;
    }
    GlobalMemory marshalled(GMEM_MOVEABLE | GMEM_ZEROINIT, count);
    ComPtr<IStream> stream;
    if (!marshalled || FAILED(CreateStreamOnHGlobal(marshalled.Get(), FALSE, stream.Put()))) {
        return 0;
    }
    if (FAILED(CoMarshalInterface(stream.Get(), IID_IWebBrowser2, browser, MSHCTX_LOCAL, nullptr,
                                  MSHLFLAGS_NORMAL))) {
        return 0;
    }
    UniqueHandle mapping = WriteSharedBlock(marshalled, count);
    HANDLE remote = mapping ? DuplicateInto(processId, mapping.Get()) : nullptr;
    if (remote == nullptr) {
        ReleaseMarshalled(stream.Get());
        return 0;
    }
    return reinterpret_cast<uintptr_t>(remote);
}

uintptr_t MarshalBrowserToThread(IWebBrowser2* browser) {
    IStream* stream = nullptr;
    if (browser == nullptr ||
        FAILED(CoMarshalInterThreadInterfaceInStream(IID_IWebBrowser2, browser, &stream))) {
        return 0;
    }
    return reinterpret_cast<uintptr_t>(stream);
}

HRESULT AcquireBrowserInterface(HWND ipcWindow, HWND browserWindow, HWND* outWindow,
                                IWebBrowser2** outBrowser) {
    if (outBrowser == nullptr) {
        return E_POINTER;
    }
    *outBrowser = nullptr;
    DWORD ipcProcess = 0;
    const DWORD ipcThread = GetWindowThreadProcessId(ipcWindow, &ipcProcess);
    if (ipcThread == 0 || (ipcProcess == GetCurrentProcessId() && ipcThread == GetCurrentThreadId())) {
        return E_FAIL;  // a thread cannot wait for an answer from itself
    }
    if (browserWindow == nullptr) {
        browserWindow =
            reinterpret_cast<HWND>(SendMessageW(ipcWindow, WM_IPC_CREATE_BROWSER, GetCurrentProcessId(), 0));
        if (browserWindow == nullptr) {
            return E_FAIL;
        }
    }
    const UINT command = PageCommandMessage();
    if (command == 0) {
        return E_FAIL;
    }
    // Only a page of the IPC window's process is asked: the answer is a handle or a stream address that
    // is meant for this process, and a page of any other process could make it close or use one of
    // this process's own, unrelated handles.
    if (ProcessOf(browserWindow) != ipcProcess) {
        return E_FAIL;
    }
    if (ipcProcess == GetCurrentProcessId()) {
        return AcquireFromThread(browserWindow, command, outWindow, outBrowser);
    }
    return AcquireFromProcess(browserWindow, command, outWindow, outBrowser);
}

HWND RequestOutOfProcessBrowser(HWND ownerWindow, IWebBrowser2** outBrowser) {
    if (outBrowser != nullptr) {
        *outBrowser = nullptr;
    }
    const auto ipcWindow =
        reinterpret_cast<HWND>(SendMessageW(ownerWindow, WM_IPC_QUERY_CHILD, GetCurrentProcessId(), 0));
    if (ipcWindow == nullptr) {
        return nullptr;
    }
    HWND window = nullptr;
    ComPtr<IWebBrowser2> browser;
    AcquireBrowserInterface(ipcWindow, nullptr, &window, browser.Put());
    if (window == nullptr || !browser) {
        return nullptr;
    }
    SendMessageW(ownerWindow, WM_IPC_BROWSER_CREATED, kBrowserCreatedForPage,
                 reinterpret_cast<LPARAM>(window));
    if (outBrowser != nullptr) {
        *outBrowser = browser.Detach();
    }
    return window;
}

}  // namespace childproc
