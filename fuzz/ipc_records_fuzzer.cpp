// The records that reach the child's IPC window and a hall window from another process: the first byte
// picks the reader, the rest is the record as WM_COPYDATA would carry it. Whatever a reader accepts must
// be written back by its writer to a record that reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "childproc/IpcProtocol.h"

namespace {

void Require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

uint32_t Uint32At(const uint8_t* data, size_t size, size_t offset) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4 && offset + i < size; ++i) {
        value |= static_cast<uint32_t>(data[offset + i]) << (8 * i);
    }
    return value;
}

void UpdateRecord(const uint8_t* data, size_t size) {
    childproc::UpdateInfo info;
    if (childproc::ReadUpdateRecord(data, size, info)) {
        childproc::UpdateInfo again;
        const std::vector<uint8_t> written = childproc::WriteUpdateRecord(info);
        Require(childproc::ReadUpdateRecord(written.data(), written.size(), again));
        Require(again.checksum == info.checksum && again.address == info.address);
    } else {
        Require(info.checksum.empty() && info.address.empty());
    }
}

// The open-page and navigate addresses, and a page's element text.
void NarrowText(const uint8_t* data, size_t size) {
    std::string text;
    if (childproc::ReadNarrowText(size == 0 ? nullptr : data, size, text)) {
        const std::vector<uint8_t> written = childproc::WriteNarrowText(text);
        std::string again;
        Require(childproc::ReadNarrowText(written.data(), written.size(), again) && again == text);
        Require(text.size() < size || (size == 0 && text.empty()));
    } else {
        Require(text.empty());
    }
}

// The navigated and new-window notifications.
void WideText(const uint8_t* data, size_t size) {
    std::wstring text;
    if (childproc::ReadWideText(data, size, text)) {
        const std::vector<uint8_t> written = childproc::WriteWideText(text);
        std::wstring again;
        Require(childproc::ReadWideText(written.data(), written.size(), again) && again == text);
        Require(written.size() <= size);
    } else {
        Require(text.empty());
    }
}

void OwnerRecord(const uint8_t* data, size_t size) {
    uint32_t window = 0;
    if (childproc::ReadOwnerRecord(data, size, window)) {
        Require(size == childproc::kOwnerRecordSize &&
                childproc::WriteOwnerRecord(window) == std::vector<uint8_t>(data, data + size));
    } else {
        Require(window == 0);
    }
}

void HandOverBlock(const uint8_t* data, size_t size) {
    uint32_t count = 0;
    if (childproc::ReadHandOverCount(data, size, count)) {
        Require(count != 0 && count <= size - childproc::kHandOverHeaderSize);
        std::vector<uint8_t> block(size);
        Require(childproc::WriteHandOverBlock(block.data(), block.size(),
                                              data + childproc::kHandOverHeaderSize, count));
        Require(std::memcmp(block.data(), data, childproc::kHandOverHeaderSize + count) == 0);
    }
}

// The page-state packers: each field lands in its own bits and nothing else is touched.
void PageState(const uint8_t* data, size_t size) {
    const auto left = static_cast<int32_t>(Uint32At(data, size, 0));
    const auto top = static_cast<int32_t>(Uint32At(data, size, 4));
    const uint32_t packed = childproc::PackScrollOffsets(left, top);
    Require((packed & 0xFFFFu) == (static_cast<uint32_t>(left) & 0xFFFFu));
    Require((packed >> 16) == (static_cast<uint32_t>(top) & 0xFFFFu));
    const uint32_t code = Uint32At(data, size, 8) & 0xFFFFu;
    Require(childproc::PageStateCommandParam(code, false) == code);
    Require(childproc::PageStateCommandParam(code, true) == (code | childproc::kPageStateCommandEnabled));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const uint8_t* record = data + 1;
    const size_t recordSize = size - 1;
    switch (data[0] % 6) {
        case 0:
            UpdateRecord(record, recordSize);
            break;
        case 1:
            NarrowText(record, recordSize);
            break;
        case 2:
            WideText(record, recordSize);
            break;
        case 3:
            OwnerRecord(record, recordSize);
            break;
        case 4:
            HandOverBlock(record, recordSize);
            break;
        default:
            PageState(record, recordSize);
            break;
    }
    return 0;
}
