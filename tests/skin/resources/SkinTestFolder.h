#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace skintest {

// A folder of its own below the system's temporary folder, removed with the object.
class SkinTestFolder {
  public:
    explicit SkinTestFolder(const std::wstring& leaf = L"skin") {
        static int made = 0;  // tests run on one thread
        path_ = std::filesystem::temp_directory_path() /
                (L"tolvane-" + leaf + L"-" +
                 std::to_wstring(std::chrono::steady_clock::now().time_since_epoch().count()) + L"-" +
                 std::to_wstring(++made));
        std::filesystem::create_directories(path_);
    }
    ~SkinTestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    SkinTestFolder(const SkinTestFolder&) = delete;
    SkinTestFolder& operator=(const SkinTestFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // The folder as the engine's settings take it, with a separator at the end.
    std::wstring WithSeparator() const { return (path_ / L"").wstring(); }

    template <typename Bytes>  // a string or a vector of bytes
    void Write(const std::wstring& name, const Bytes& bytes) const {
        std::ofstream file(path_ / name, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }

  private:
    std::filesystem::path path_;
};

}  // namespace skintest
