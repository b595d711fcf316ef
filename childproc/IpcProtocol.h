#pragma once

// The vocabulary between the hall windows, the child's IPC window and the page windows: private message
// codes, data-copy commands, and the records they carry. Every record is written and read here, by one
// pair of functions each; readers check sizes and terminators before they read anything.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace childproc {

// Window handles travel as plain numbers between the decisions of the child and its pages and the
// system; handles carry 32 significant bits on both process widths.
using WindowId = uintptr_t;

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

// Page commands (wParam of the page command message). The hand-over is recognised by the whole wParam
// being 0; the others by its low 16 bits.
inline constexpr uint32_t kPageCommandHandOver = 0;
inline constexpr uint32_t kPageCommandBack = 1;
inline constexpr uint32_t kPageCommandForward = 2;
inline constexpr uint32_t kPageCommandReload = 3;
inline constexpr uint32_t kPageCommandHome = 4;
inline constexpr uint32_t kPageCommandNavigatePending = 5;
// Result of a hand-over to another process when the page has no browser.
inline constexpr uint32_t kNoBrowserHandle = 0xFFFFFFFF;

// Echo value of WM_IPC_BROWSER_CREATED when a page (not the open-page command) asked for the browser.
inline constexpr uint32_t kBrowserCreatedForPage = 0xFFFFFFFF;

// WM_IPC_PAGE_STATE forms (wParam).
inline constexpr uint32_t kPageStateBackCommand = 0;     // low word: the back command changed
inline constexpr uint32_t kPageStateForwardCommand = 1;  // low word: the forward command changed
inline constexpr uint32_t kPageStateCommandEnabled = 0x10000;
inline constexpr uint32_t kPageStateScroll = 2;
inline constexpr uint32_t kPageStateMouseButton = 3;

// wParam of the command-state form: the command's code, with bit 16 when the command is now enabled.
uint32_t PageStateCommandParam(uint32_t code, bool enabled);
// lParam of the scroll form: the horizontal offset in the low 16 bits, the vertical one above it.
uint32_t PackScrollOffsets(int32_t left, int32_t top);

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

// Narrow text in the system code page with its terminator (COPYDATA_OPEN_PAGE, COPYDATA_NAVIGATE_PAGE,
// COPYDATA_ELEMENT_TEXT): byte count = length + 1. Text that carries a NUL of its own ends there.
std::vector<uint8_t> WriteNarrowText(std::string_view text);
// No data at all (count 0) is the absent text and reads as empty. Otherwise the data must hold a
// terminator; the text is what comes before the first one. False, leaving `out` empty, when it does not.
bool ReadNarrowText(const void* data, size_t size, std::string& out);

// Little-endian UTF-16 text with its terminator (COPYDATA_NAVIGATED, COPYDATA_NEW_WINDOW): byte count =
// 2 * length + 2.
std::vector<uint8_t> WriteWideText(const std::wstring& text);
// False, leaving `out` empty, unless the count is even and the data holds a terminating unit; the text
// is what comes before the first one.
bool ReadWideText(const void* data, size_t size, std::wstring& out);

// COPYDATA_SET_PAGE_OWNER: four bytes, the new owner window as a little-endian 32-bit value (window
// handles are 32-bit values on both process widths).
inline constexpr size_t kOwnerRecordSize = 4;
std::vector<uint8_t> WriteOwnerRecord(uint32_t window);
bool ReadOwnerRecord(const void* data, size_t size, uint32_t& window);

// The shared block that hands a browser interface to another process: a little-endian 32-bit count n
// and then n bytes of marshalled interface.
inline constexpr size_t kHandOverHeaderSize = 4;
// Fills a block of `blockSize` bytes; false when the data does not fit.
bool WriteHandOverBlock(void* block, size_t blockSize, const void* data, uint32_t count);
// The count of a block that is `blockSize` bytes long; false when the block is shorter than its header,
// the count is 0 or the count claims more bytes than the block holds.
bool ReadHandOverCount(const void* block, size_t blockSize, uint32_t& count);

}  // namespace childproc
