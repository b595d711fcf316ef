#include "tests/skin/resources/TestArchiveBuilder.h"

#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <stdexcept>

namespace skintest {
namespace {

// Little-endian fields of a record: `widths` gives the width in bytes (2 or 4) of each value in turn.
void Append(std::vector<uint8_t>& bytes, const char* widths, std::initializer_list<uint32_t> values) {
    const char* width = widths;
    for (const uint32_t value : values) {
        for (int i = 0; i < *width - '0'; ++i) {
            bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
        }
        ++width;
    }
}

void AppendText(std::vector<uint8_t>& bytes, const std::string& text) {
    bytes.insert(bytes.end(), text.begin(), text.end());
}

}  // namespace

std::string RawDeflate(const std::string& data) {
    z_stream stream{};
    if (deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::runtime_error("deflateInit2");
    }
    std::string packed(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_out = static_cast<uInt>(packed.size());
    const int result = deflate(&stream, Z_FINISH);
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END) {
        throw std::runtime_error("deflate");
    }
    return packed;
}

std::vector<uint8_t> ArchiveOfFolder(const std::string& folder) {
    std::error_code error;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    TestArchiveBuilder builder;
    for (const auto& path : files) {
        std::ifstream file(path, std::ios::binary);
        builder.Add(path.filename().string(),
                    std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()),
                    Packing::Deflated);
    }
    return files.empty() ? std::vector<uint8_t>{} : builder.Build();
}

void PutLe16(std::vector<uint8_t>& bytes, size_t at, uint16_t value) {
    bytes.at(at) = static_cast<uint8_t>(value);
    bytes.at(at + 1) = static_cast<uint8_t>(value >> 8);
}

void PutLe32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    PutLe16(bytes, at, static_cast<uint16_t>(value));
    PutLe16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

TestArchiveBuilder& TestArchiveBuilder::Add(const std::string& name, const std::string& data, Packing packing,
                                            bool descriptor) {
    return Add(Entry{name, data, packing, descriptor, "", 0xFFFF, 0});
}

TestArchiveBuilder& TestArchiveBuilder::Add(const Entry& entry) {
    entries_.push_back(entry);
    return *this;
}

TestArchiveBuilder& TestArchiveBuilder::Comment(const std::string& comment) {
    comment_ = comment;
    return *this;
}

std::vector<uint8_t> TestArchiveBuilder::Build() {
    std::vector<uint8_t> bytes;
    std::vector<uint8_t> directory;
    layout_ = Layout();
    for (const Entry& entry : entries_) {
        const bool deflated = entry.packing == Packing::Deflated;
        const std::string packed = !entry.packedOverride.empty() ? entry.packedOverride
                                   : deflated                    ? RawDeflate(entry.data)
                                                                 : entry.data;
        const uint32_t method = entry.method != 0xFFFF ? entry.method : (deflated ? 8 : 0);
        const uint32_t flags = (entry.descriptor ? 8 : 0) | entry.extraFlags;
        const uint32_t crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()),
                                                         static_cast<uInt>(entry.data.size())));
        const uint32_t packedSize = static_cast<uint32_t>(packed.size());
        const uint32_t size = static_cast<uint32_t>(entry.data.size());
        const uint32_t nameSize = static_cast<uint32_t>(entry.name.size());
        const bool late = entry.descriptor;  // sizes and checksum come after the data
        layout_.centralHeaders.push_back(directory.size());
        Append(directory, "4222222444222224",
               {0x02014B50, 20, 20, flags, method, 0, 0x21, crc, packedSize, size, nameSize, 0, 0, 0, 0, 0});
        Append(directory, "4", {static_cast<uint32_t>(bytes.size())});
        AppendText(directory, entry.name);
        // A small extra field, so that local and central lengths differ.
        Append(bytes, "42222244422",
               {0x04034B50, 20, flags, method, 0, 0x21, late ? 0 : crc, late ? 0 : packedSize,
                late ? 0 : size, nameSize, 4});
        AppendText(bytes, entry.name);
        Append(bytes, "4", {0xCAFE0000});
        AppendText(bytes, packed);
        if (late) {
            Append(bytes, "4444", {0x08074B50, crc, packedSize, size});
        }
    }
    layout_.directory = bytes.size();
    for (size_t& header : layout_.centralHeaders) {
        header += bytes.size();
    }
    bytes.insert(bytes.end(), directory.begin(), directory.end());
    layout_.endRecord = bytes.size();
    const uint32_t count = static_cast<uint32_t>(entries_.size());
    Append(bytes, "42222442",
           {0x06054B50, 0, 0, count, count, static_cast<uint32_t>(directory.size()),
            static_cast<uint32_t>(layout_.directory), static_cast<uint32_t>(comment_.size())});
    AppendText(bytes, comment_);
    return bytes;
}

}  // namespace skintest
