// File and module-resource access through the system's wide-character file and resource functions.
#include <windows.h>

#include <algorithm>
#include <cstring>

#include "skin/markup/Numbers.h"
#include "skin/resources/FilePlatform.h"

namespace SkinUI {

struct PlatformFile::State {
    HANDLE handle = INVALID_HANDLE_VALUE;
    ~State() {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
};

PlatformFile::PlatformFile() = default;
PlatformFile::~PlatformFile() = default;
PlatformFile::PlatformFile(PlatformFile&& other) noexcept = default;
PlatformFile& PlatformFile::operator=(PlatformFile&& other) noexcept = default;
PlatformFile::PlatformFile(std::unique_ptr<State> state) : state_(std::move(state)) {}

PlatformFile PlatformFile::Open(const std::wstring& path) {
    if (path.empty()) {
        return PlatformFile();
    }
    auto state = std::make_unique<State>();
    state->handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (state->handle == INVALID_HANDLE_VALUE) {
        return PlatformFile();
    }
    return PlatformFile(std::move(state));
}

bool PlatformFile::Size(uint64_t& size) const {
    LARGE_INTEGER value{};
    if (!state_ || !GetFileSizeEx(state_->handle, &value) || value.QuadPart < 0) {
        return false;
    }
    size = static_cast<uint64_t>(value.QuadPart);
    return true;
}

bool PlatformFile::ReadAt(uint64_t offset, void* buffer, size_t count, size_t& read) const {
    read = 0;
    if (!state_) {
        return false;
    }
    auto* out = static_cast<uint8_t*>(buffer);
    while (read < count) {
        const uint64_t position = offset + read;
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(position & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        const DWORD want = static_cast<DWORD>(std::min<size_t>(count - read, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(state_->handle, out + read, want, &got, &at)) {
            return GetLastError() == ERROR_HANDLE_EOF;
        }
        if (got == 0) {
            break;
        }
        read += got;
    }
    return true;
}

bool LoadModuleResourceBytes(ModuleHandle module, const std::wstring& name, const std::wstring& type,
                             std::vector<uint8_t>& bytes) {
    bytes.clear();
    if (name.empty() || type.empty()) {
        return false;
    }
    const bool numeric = name[0] >= L'0' && name[0] <= L'9';
    const uint32_t id = numeric ? ParseUInt32(name.c_str()) : 0;
    if (id > 0xFFFF) {
        return false;  // not an id a resource can have
    }
    const wchar_t* resourceName = numeric ? MAKEINTRESOURCEW(id) : name.c_str();
    const auto instance = static_cast<HMODULE>(module);
    HRSRC found = FindResourceW(instance, resourceName, type.c_str());
    if (found == nullptr) {
        return false;
    }
    const DWORD size = SizeofResource(instance, found);
    HGLOBAL loaded = LoadResource(instance, found);
    if (loaded == nullptr || size == 0) {
        return false;
    }
    const void* data = LockResource(loaded);
    if (data != nullptr) {
        bytes.resize(size);
        std::memcpy(bytes.data(), data, size);
    }
    // Resources stay mapped with their module; FreeResource has nothing to release.
    return !bytes.empty();
}

std::wstring ModuleFileName(ModuleHandle module) {
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(static_cast<HMODULE>(module), name.data(), static_cast<DWORD>(name.size()));
        if (length == 0) {
            return std::wstring();
        }
        if (length < name.size()) {
            name.resize(length);
            return name;
        }
        if (name.size() >= 32768) {
            return std::wstring();
        }
        name.resize(name.size() * 2);
    }
}

}  // namespace SkinUI
