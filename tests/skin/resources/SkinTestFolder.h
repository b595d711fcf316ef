#pragma once

#include <atomic>
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
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                (L"tolvane-" + leaf + L"-" + std::to_wstring(stamp) + L"-" + std::to_wstring(counter++));
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

    void Write(const std::wstring& name, const std::string& bytes) const {
        Write(name, bytes.data(), bytes.size());
    }
    void Write(const std::wstring& name, const std::vector<uint8_t>& bytes) const {
        Write(name, reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    void Write(const std::wstring& name, const char* bytes, size_t size) const {
        std::ofstream file(path_ / name, std::ios::binary | std::ios::trunc);
        file.write(bytes, static_cast<std::streamsize>(size));
    }

  private:
    std::filesystem::path path_;
};

}  // namespace skintest
