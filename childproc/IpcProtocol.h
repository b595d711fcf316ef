#pragma once

// The vocabulary between the hall windows, the child's IPC window and the page windows: private message
// codes, data-copy commands, and the records they carry. Every record is written and read here, by one
// pair of functions each; readers check sizes and terminators before they read anything.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ipc {

// Private messages: the platform's first user message code (1024) plus an offset.
inline constexpr uint32_t kUserMessageBase = 1024;
inline constexpr uint32_t WM_IPC_CREATE_START_PAGE = kUserMessageBase + 700;
inline constexpr uint32_t WM_IPC_BROWSER_CREATED = kUserMessageBase + 701;
inline constexpr uint32_t WM_IPC_PAGE_REPLACED = kUserMessageBase + 702;
inline constexpr uint32_t WM_IPC_QUERY_CHILD = kUserMessageBase + 703;
inline constexpr uint32_t WM_IPC_CREATE_BROWSER = kUserMessageBase + 710;
inline constexpr uint32_t WM_IPC_CLOSE_BROWSER = kUserMessageBase + 712;
inline constexpr uint32_t WM_IPC_PAGE_STATE = kUserMessageBase + 715;
inline constexpr uint32_t WM_IPC_GAME_PAGE = kUserMessageBase + 900;
inline constexpr uint32_t WM_IPC_PAGE_READY = kUserMessageBase + 1015;

// Name of the registered page command message.
inline constexpr wchar_t kPageCommandMessageName[] = L"QMR.WM_IPC_HTMLWND_COMMAND";

// WM_COPYDATA commands to the child's IPC window (wParam).
inline constexpr uint32_t COPYDATA_OPEN_PAGE = 1;
inline constexpr uint32_t COPYDATA_NAVIGATE_PAGE = 2;
inline constexpr uint32_t COPYDATA_RELOAD_PAGE = 4;
inline constexpr uint32_t COPYDATA_SET_PAGE_OWNER = 6;

// WM_COPYDATA notifications from a page to its owner window (wParam).
inline constexpr uint32_t COPYDATA_NAVIGATED = 1;
inline constexpr uint32_t COPYDATA_NEW_WINDOW = 2;
inline constexpr uint32_t COPYDATA_ELEMENT_TEXT = 4;
inline constexpr uint32_t COPYDATA_UPDATE_INFO = 6400;

// The update record: 1124 bytes of little-endian UTF-16, a checksum field of 100 bytes (at most 49
// characters and the terminator) followed by a download address field of 1024 bytes (at most 511).
inline constexpr size_t kUpdateRecordSize = 1124;
inline constexpr size_t kUpdateChecksumOffset = 0;
inline constexpr size_t kUpdateChecksumChars = 50;
inline constexpr size_t kUpdateAddressOffset = 100;
inline constexpr size_t kUpdateAddressChars = 512;

struct UpdateInfo {
    std::wstring checksum;
    std::wstring address;
};

// The record's exact bytes; each text is cut at its field's limit and the rest of the field is zero.
std::vector<uint8_t> WriteUpdateRecord(const UpdateInfo& info);

// False, leaving `out` empty, unless the data is exactly one record whose two fields each hold their
// terminator.
bool ReadUpdateRecord(const void* data, size_t size, UpdateInfo& out);

}  // namespace ipc
