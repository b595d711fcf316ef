#include "childproc/IpcProtocol.h"

#include <cstring>

#include "skin/markup/Utf16Text.h"

namespace childproc {
namespace {

void WriteWideField(std::vector<uint8_t>& record, size_t offset, size_t fieldChars,
                    const std::wstring& text) {
    const std::u16string units = SkinUI::WideToUtf16(text);
    const size_t count = units.size() < fieldChars - 1 ? units.size() : fieldChars - 1;
    for (size_t i = 0; i < count; ++i) {
        record[offset + 2 * i] = static_cast<uint8_t>(units[i] & 0xFF);
        record[offset + 2 * i + 1] = static_cast<uint8_t>(units[i] >> 8);
    }
}

// The text before the field's first NUL, or false when the field holds none.
bool ReadWideField(const uint8_t* bytes, size_t offset, size_t fieldChars, std::wstring& out) {
    std::u16string units;
    for (size_t i = 0; i < fieldChars; ++i) {
        const char16_t unit = static_cast<char16_t>(bytes[offset + 2 * i] | (bytes[offset + 2 * i + 1] << 8));
        if (unit == 0) {
            out = SkinUI::Utf16ToWide(units.data(), units.size());
            return true;
        }
        units.push_back(unit);
    }
    return false;
}

}  // namespace

std::vector<uint8_t> WriteUpdateRecord(const UpdateInfo& info) {
    std::vector<uint8_t> record(kUpdateRecordSize, 0);
    WriteWideField(record, kUpdateChecksumOffset, kUpdateChecksumChars, info.checksum);
    WriteWideField(record, kUpdateAddressOffset, kUpdateAddressChars, info.address);
    return record;
}

bool ReadUpdateRecord(const void* data, size_t size, UpdateInfo& out) {
    out = UpdateInfo();
    if (data == nullptr || size != kUpdateRecordSize) {
        return false;
    }
    const auto* bytes = static_cast<const uint8_t*>(data);
    UpdateInfo info;
    if (!ReadWideField(bytes, kUpdateChecksumOffset, kUpdateChecksumChars, info.checksum) ||
        !ReadWideField(bytes, kUpdateAddressOffset, kUpdateAddressChars, info.address)) {
        return false;
    }
    out = std::move(info);
    return true;
}

uint32_t PageStateCommandParam(uint32_t code, bool enabled) {
    return enabled ? (code | kPageStateCommandEnabled) : code;
}

uint32_t PackScrollOffsets(int32_t left, int32_t top) {
    return (static_cast<uint32_t>(left) & 0xFFFFu) | (static_cast<uint32_t>(top) << 16);
}

std::vector<uint8_t> WriteNarrowText(std::string_view text) {
    const size_t length = text.find('\0') == std::string_view::npos ? text.size() : text.find('\0');
    std::vector<uint8_t> bytes(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
    bytes.push_back(0);
    return bytes;
}

bool ReadNarrowText(const void* data, size_t size, std::string& out) {
    out.clear();
    if (size == 0) {
        return true;
    }
    if (data == nullptr) {
        return false;
    }
    const auto* bytes = static_cast<const char*>(data);
    const void* terminator = std::memchr(bytes, 0, size);
    if (terminator == nullptr) {
        return false;
    }
    out.assign(bytes, static_cast<const char*>(terminator));
    return true;
}

std::vector<uint8_t> WriteWideText(const std::wstring& text) {
    std::u16string units = SkinUI::WideToUtf16(text);
    const size_t end = units.find(u'\0');
    if (end != std::u16string::npos) {
        units.resize(end);
    }
    std::vector<uint8_t> bytes;
    bytes.reserve(2 * units.size() + 2);
    for (const char16_t unit : units) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    return bytes;
}

bool ReadWideText(const void* data, size_t size, std::wstring& out) {
    out.clear();
    if (data == nullptr || size < 2 || size % 2 != 0) {
        return false;
    }
    const auto* bytes = static_cast<const uint8_t*>(data);
    std::u16string units;
    for (size_t i = 0; i < size; i += 2) {
        const char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) {
            out = SkinUI::Utf16ToWide(units.data(), units.size());
            return true;
        }
        units.push_back(unit);
    }
    return false;
}

namespace {

void PutUint32(uint8_t* bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes[i] = static_cast<uint8_t>((value >> (8 * i)) & 0xFF);
    }
}

uint32_t ReadUint32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

}  // namespace

std::vector<uint8_t> WriteOwnerRecord(uint32_t window) {
    std::vector<uint8_t> record(kOwnerRecordSize);
    PutUint32(record.data(), window);
    return record;
}

bool ReadOwnerRecord(const void* data, size_t size, uint32_t& window) {
    window = 0;
    if (data == nullptr || size != kOwnerRecordSize) {
        return false;
    }
    window = ReadUint32(static_cast<const uint8_t*>(data));
    return true;
}

bool WriteHandOverBlock(void* block, size_t blockSize, const void* data, uint32_t count) {
    if (block == nullptr || (data == nullptr && count != 0) || blockSize < kHandOverHeaderSize ||
        count > blockSize - kHandOverHeaderSize) {
        return false;
    }
    auto* bytes = static_cast<uint8_t*>(block);
    PutUint32(bytes, count);
    if (count != 0) {
        std::memcpy(bytes + kHandOverHeaderSize, data, count);
    }
    return true;
}

bool ReadHandOverCount(const void* block, size_t blockSize, uint32_t& count) {
    count = 0;
    if (block == nullptr || blockSize < kHandOverHeaderSize) {
        return false;
    }
    const uint32_t claimed = ReadUint32(static_cast<const uint8_t*>(block));
    if (claimed == 0 || claimed > blockSize - kHandOverHeaderSize) {
        return false;
    }
    count = claimed;
    return true;
}

}  // namespace childproc
