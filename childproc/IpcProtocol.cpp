#include "childproc/IpcProtocol.h"

#include "skin/Utf16Text.h"

namespace ipc {
namespace {

void WriteWideField(std::vector<uint8_t>& record, size_t offset, size_t fieldChars, const std::wstring& text) {
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

}  // namespace ipc
