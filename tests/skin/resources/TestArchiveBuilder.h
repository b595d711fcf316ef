#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace skintest {

enum class Packing { Stored, Deflated };

// Builds ZIP archives in memory, byte for byte, so that tests can also take them apart.
class TestArchiveBuilder {
  public:
    struct Entry {
        std::string name;
        std::string data;
        Packing packing = Packing::Stored;
        bool descriptor = false;     // sizes and checksum after the data, zeros in the local header
        std::string packedOverride;  // when set: the packed bytes as written, whatever `data` says
        uint16_t method = 0xFFFF;    // when set: the method written, whatever `packing` says
        uint16_t extraFlags = 0;
    };

    // Offsets of the records in the last built archive.
    struct Layout {
        std::vector<size_t> centralHeaders;
        size_t directory = 0;
        size_t endRecord = 0;
    };

    TestArchiveBuilder& Add(const std::string& name, const std::string& data,
                            Packing packing = Packing::Stored, bool descriptor = false);
    TestArchiveBuilder& Add(const Entry& entry);
    TestArchiveBuilder& Comment(const std::string& comment);

    std::vector<uint8_t> Build();
    const Layout& LastLayout() const { return layout_; }

  private:
    std::vector<Entry> entries_;
    std::string comment_;
    Layout layout_;
};

// Raw deflate (no zlib header) of the bytes, as ZIP entries hold them.
std::string RawDeflate(const std::string& data);

void PutLe16(std::vector<uint8_t>& bytes, size_t at, uint16_t value);
void PutLe32(std::vector<uint8_t>& bytes, size_t at, uint32_t value);

}  // namespace skintest
