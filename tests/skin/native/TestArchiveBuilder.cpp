#include "tests/skin/native/TestArchiveBuilder.h"

#include <zlib.h>

#include <stdexcept>

namespace skintest {
namespace {

void Append16(std::vector<uint8_t>& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

void Append32(std::vector<uint8_t>& bytes, uint32_t value) {
    Append16(bytes, static_cast<uint16_t>(value));
    Append16(bytes, static_cast<uint16_t>(value >> 16));
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

uint32_t Crc32Of(const std::string& data) {
    return static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
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
    Entry entry;
    entry.name = name;
    entry.data = data;
    entry.packing = packing;
    entry.descriptor = descriptor;
    return Add(entry);
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
    struct Written {
        uint16_t method;
        uint16_t flags;
        uint32_t crc;
        uint32_t packedSize;
        uint32_t offset;
    };
    std::vector<Written> written;
    for (const Entry& entry : entries_) {
        const bool deflated = entry.packing == Packing::Deflated;
        const std::string packed = !entry.packedOverride.empty()
                                       ? entry.packedOverride
                                       : (deflated ? RawDeflate(entry.data) : entry.data);
        Written w{};
        w.method = entry.method != 0xFFFF ? entry.method : static_cast<uint16_t>(deflated ? 8 : 0);
        w.flags = static_cast<uint16_t>((entry.descriptor ? 8 : 0) | entry.extraFlags);
        w.crc = Crc32Of(entry.data);
        w.packedSize = static_cast<uint32_t>(packed.size());
        w.offset = static_cast<uint32_t>(bytes.size());
        layout_.localHeaders.push_back(bytes.size());
        Append32(bytes, 0x04034B50);
        Append16(bytes, 20);
        Append16(bytes, w.flags);
        Append16(bytes, w.method);
        Append16(bytes, 0);     // time
        Append16(bytes, 0x21);  // date
        Append32(bytes, entry.descriptor ? 0 : w.crc);
        Append32(bytes, entry.descriptor ? 0 : w.packedSize);
        Append32(bytes, entry.descriptor ? 0 : static_cast<uint32_t>(entry.data.size()));
        Append16(bytes, static_cast<uint16_t>(entry.name.size()));
        Append16(bytes, 4);  // a small extra field, so that local and central lengths differ
        AppendText(bytes, entry.name);
        Append32(bytes, 0xCAFE0000);
        AppendText(bytes, packed);
        if (entry.descriptor) {
            Append32(bytes, 0x08074B50);
            Append32(bytes, w.crc);
            Append32(bytes, w.packedSize);
            Append32(bytes, static_cast<uint32_t>(entry.data.size()));
        }
        written.push_back(w);
    }
    layout_.directory = bytes.size();
    for (size_t i = 0; i < entries_.size(); ++i) {
        const Entry& entry = entries_[i];
        const Written& w = written[i];
        layout_.centralHeaders.push_back(bytes.size());
        Append32(bytes, 0x02014B50);
        Append16(bytes, 20);
        Append16(bytes, 20);
        Append16(bytes, w.flags);
        Append16(bytes, w.method);
        Append16(bytes, 0);
        Append16(bytes, 0x21);
        Append32(bytes, w.crc);
        Append32(bytes, w.packedSize);
        Append32(bytes, static_cast<uint32_t>(entry.data.size()));
        Append16(bytes, static_cast<uint16_t>(entry.name.size()));
        Append16(bytes, 0);  // extra
        Append16(bytes, 0);  // comment
        Append16(bytes, 0);  // disk
        Append16(bytes, 0);  // internal attributes
        Append32(bytes, 0);  // external attributes
        Append32(bytes, w.offset);
        AppendText(bytes, entry.name);
    }
    layout_.endRecord = bytes.size();
    Append32(bytes, 0x06054B50);
    Append16(bytes, 0);
    Append16(bytes, 0);
    Append16(bytes, static_cast<uint16_t>(entries_.size()));
    Append16(bytes, static_cast<uint16_t>(entries_.size()));
    Append32(bytes, static_cast<uint32_t>(layout_.endRecord - layout_.directory));
    Append32(bytes, static_cast<uint32_t>(layout_.directory));
    Append16(bytes, static_cast<uint16_t>(comment_.size()));
    AppendText(bytes, comment_);
    return bytes;
}

}  // namespace skintest
