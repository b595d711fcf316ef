#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace SkinUI {

// A module of the process (on Windows an HMODULE); null names the program itself.
using ModuleHandle = void*;

// A file opened for reading, shared with other readers, existing files only. Move-only; the file is
// closed with the object. Paths are engine text; where the platform separates folders with "/",
// every "\" of a path counts as one.
class PlatformFile {
  public:
    PlatformFile();
    ~PlatformFile();
    PlatformFile(PlatformFile&& other) noexcept;
    PlatformFile& operator=(PlatformFile&& other) noexcept;
    PlatformFile(const PlatformFile&) = delete;
    PlatformFile& operator=(const PlatformFile&) = delete;

    static PlatformFile Open(const std::wstring& path);

    bool IsOpen() const { return state_ != nullptr; }
    // The file's size in bytes; false when it cannot be told.
    bool Size(uint64_t& size) const;
    // Reads up to `count` bytes at `offset`; `read` receives how many arrived. False on a read error.
    bool ReadAt(uint64_t offset, void* buffer, size_t count, size_t& read) const;

    struct State;

  private:
    explicit PlatformFile(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

// The bytes of a module resource of type `type`, named by `name` (a name that starts with a digit is
// the numeric id it spells). False, with `bytes` empty, when the resource is missing, cannot be
// loaded or is empty; always false where modules carry no resources.
bool LoadModuleResourceBytes(ModuleHandle module, const std::wstring& name, const std::wstring& type,
                             std::vector<uint8_t>& bytes);

// The full file name of a module of the process (null: the program), or empty when it cannot be told.
std::wstring ModuleFileName(ModuleHandle module);

}  // namespace SkinUI
