#include "services/win32/WinPackageFile.h"

namespace services {

bool WinPackageFile::OpenAt(uint64_t offset) {
    file_.Reset(CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_) {
        return false;
    }
    LARGE_INTEGER size = {};
    LARGE_INTEGER position = {};
    position.QuadPart = static_cast<LONGLONG>(offset);
    // The bytes before the offset must all be there; the ones after it are replaced.
    if (!GetFileSizeEx(file_.Get(), &size) || static_cast<uint64_t>(size.QuadPart) < offset ||
        !SetFilePointerEx(file_.Get(), position, nullptr, FILE_BEGIN) || !SetEndOfFile(file_.Get())) {
        file_.Reset();
        return false;
    }
    return true;
}

bool WinPackageFile::Write(const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!file_ || !WriteFile(file_.Get(), bytes, chunk, &written, nullptr) || written != chunk) {
            return false;
        }
        bytes += chunk;
        size -= chunk;
    }
    return true;
}

uint32_t FileSize32(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return 0;
    }
    if (data.nFileSizeHigh != 0 || data.nFileSizeLow == 0xFFFFFFFF) {
        return 0xFFFFFFFE;
    }
    return data.nFileSizeLow;
}

}  // namespace services
