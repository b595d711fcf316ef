// File access through the standard library, for systems whose paths are narrow UTF-8 text.
#include <filesystem>
#include <fstream>
#include <system_error>

#include "skin/markup/TextCodec.h"
#include "skin/markup/TextCodecUtf8.h"
#include "skin/resources/FilePlatform.h"

namespace SkinUI {

struct PlatformFile::State {
    mutable std::ifstream stream;
    uint64_t size = 0;
};

namespace {

std::string NarrowPath(const std::wstring& path) {
    std::wstring slashed = path;
    for (wchar_t& c : slashed) {
        if (c == L'\\') {
            c = L'/';
        }
    }
    return EncodeUtf8(slashed);
}

}  // namespace

PlatformFile::PlatformFile() = default;
PlatformFile::~PlatformFile() = default;
PlatformFile::PlatformFile(PlatformFile&& other) noexcept = default;
PlatformFile& PlatformFile::operator=(PlatformFile&& other) noexcept = default;
PlatformFile::PlatformFile(std::unique_ptr<State> state) : state_(std::move(state)) {}

PlatformFile PlatformFile::Open(const std::wstring& path) {
    const std::string narrow = NarrowPath(path);
    std::error_code error;
    if (narrow.empty() || !std::filesystem::is_regular_file(narrow, error)) {
        return PlatformFile();
    }
    auto state = std::make_unique<State>();
    state->stream.open(narrow, std::ios::binary);
    if (!state->stream.is_open()) {
        return PlatformFile();
    }
    state->stream.seekg(0, std::ios::end);
    const std::streamoff end = state->stream.tellg();
    if (end < 0) {
        return PlatformFile();
    }
    state->size = static_cast<uint64_t>(end);
    return PlatformFile(std::move(state));
}

bool PlatformFile::Size(uint64_t& size) const {
    if (!state_) {
        return false;
    }
    size = state_->size;
    return true;
}

bool PlatformFile::ReadAt(uint64_t offset, void* buffer, size_t count, size_t& read) const {
    read = 0;
    if (!state_) {
        return false;
    }
    std::ifstream& stream = state_->stream;
    stream.clear();
    stream.seekg(static_cast<std::streamoff>(offset));
    if (!stream) {
        return false;
    }
    stream.read(static_cast<char*>(buffer), static_cast<std::streamsize>(count));
    read = static_cast<size_t>(stream.gcount());
    return !stream.bad();
}

bool LoadModuleResourceBytes(ModuleHandle, const std::wstring&, const std::wstring&,
                             std::vector<uint8_t>& bytes) {
    bytes.clear();
    return false;
}

std::wstring ModuleFileName(ModuleHandle) {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return std::wstring();
    }
    const std::string narrow = program.string();
    return Utf8ToWide(narrow.data(), narrow.size());
}

}  // namespace SkinUI
