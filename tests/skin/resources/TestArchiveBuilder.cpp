#include "tests/skin/resources/TestArchiveBuilder.h"

#include <zlib.h>

#include <initializer_list>
#include <stdexcept>

namespace skintest {
namespace {

// A little-endian field of a record: its value and its width in bytes (2 or 4).
struct Field {
    uint32_t value;
    int width;
};

void Append(std::vector<uint8_t>& bytes, std::initializer_list<Field> fields) {
    for (const Field& field : fields) {
        for (int i = 0; i < field.width; ++i) {
            bytes.push_back(static_cast<uint8_t>(field.value >> (8 * i)));
        }
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
    layout_ = Layout();
    std::vector<std::vector<Field>> central;  // the fixed fields of each directory record
    for (const Entry& entry : entries_) {
        const bool deflated = entry.packing == Packing::Deflated;
        const std::string packed = !entry.packedOverride.empty()
                                       ? entry.packedOverride
                                       : (deflated ? RawDeflate(entry.data) : entry.data);
        const uint32_t method = entry.method != 0xFFFF ? entry.method : (deflated ? 8 : 0);
        const uint32_t flags = (entry.descriptor ? 8 : 0) | entry.extraFlags;
        const uint32_t crc = static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()),
                                                         static_cast<uInt>(entry.data.size())));
        const uint32_t packedSize = static_cast<uint32_t>(packed.size());
        const uint32_t size = static_cast<uint32_t>(entry.data.size());
        const uint32_t nameSize = static_cast<uint32_t>(entry.name.size());
        const bool late = entry.descriptor;  // sizes and checksum come after the data
        central.push_back({{flags, 2},
                           {method, 2},
                           {0, 2},
                           {0x21, 2},
                           {crc, 4},
                           {packedSize, 4},
                           {size, 4},
                           {nameSize, 2},
                           {0, 2},
                           {0, 2},
                           {0, 2},
                           {0, 2},
                           {0, 4},
                           {static_cast<uint32_t>(bytes.size()), 4}});
        // A small extra field, so that local and central lengths differ.
        Append(bytes, {{0x04034B50, 4},
                       {20, 2},
                       {flags, 2},
                       {method, 2},
                       {0, 2},
                       {0x21, 2},
                       {late ? 0 : crc, 4},
                       {late ? 0 : packedSize, 4},
                       {late ? 0 : size, 4},
                       {nameSize, 2},
                       {4, 2}});
        AppendText(bytes, entry.name);
        Append(bytes, {{0xCAFE0000, 4}});
        AppendText(bytes, packed);
        if (late) {
            Append(bytes, {{0x08074B50, 4}, {crc, 4}, {packedSize, 4}, {size, 4}});
        }
    }
    layout_.directory = bytes.size();
    for (size_t i = 0; i < entries_.size(); ++i) {
        layout_.centralHeaders.push_back(bytes.size());
        Append(bytes, {{0x02014B50, 4}, {20, 2}, {20, 2}});
        for (const Field& field : central[i]) {
            Append(bytes, {field});
        }
        AppendText(bytes, entries_[i].name);
    }
    layout_.endRecord = bytes.size();
    const uint32_t count = static_cast<uint32_t>(entries_.size());
    Append(bytes, {{0x06054B50, 4},
                   {0, 2},
                   {0, 2},
                   {count, 2},
                   {count, 2},
                   {static_cast<uint32_t>(layout_.endRecord - layout_.directory), 4},
                   {static_cast<uint32_t>(layout_.directory), 4},
                   {static_cast<uint32_t>(comment_.size()), 2}});
    AppendText(bytes, comment_);
    return bytes;
}

}  // namespace skintest
