#pragma once

#include <cstdint>
#include <string>

// The self-update's decisions, free of the system: which address arms the check, where the package
// goes, when the local copy may be installed and with which installer parameters.
namespace services {

// What a size query answers when the request itself failed, and when the server announced no size.
inline constexpr uint32_t kSizeQueryFailed = 0xFFFFFFFF;
inline constexpr uint32_t kNoAnnouncedSize = 0;

// Longest narrow address that is kept (the rest of the 256-byte buffer is its terminator).
inline constexpr size_t kMaxUpdateAddressBytes = 255;
// Longest local path the file functions take without the long-path prefix.
inline constexpr size_t kMaxLocalPathChars = 259;

inline constexpr uint32_t kUpdateTimerId = 6400;
inline constexpr uint32_t kUpdateTimerDelayMs = 2000;

inline constexpr wchar_t kUpdateNoticeText[] = L"检测到微端更新，即将开始更新。。。";
inline constexpr wchar_t kUpdateNoticeCaption[] = L"Tolvane-提示";
inline constexpr wchar_t kInstallTrace[] = L"start install of updated file";
inline constexpr wchar_t kInstallerAppId[] = L"{C7E1B3A9-2F64-4A8D-B05E-93D17A6C24F8}";

// The address as libcurl takes it: addresses are ASCII (anything else is percent-encoded), so a
// character outside printable ASCII does not convert, and neither does an address longer than 255
// bytes; both give "".
std::string NarrowUpdateAddress(const std::wstring& address);

// Only an address of two characters or more arms the update timer.
bool AddressArmsUpdate(const std::string& narrowAddress);

// The part of the address after its last "/" (the whole address when it has none).
std::string PackageFileName(const std::string& address);

// The name comes from a web page: it must name a file inside the update folder, so an empty name,
// "." or "..", and names with a path separator, a drive colon or characters that Windows file names
// cannot hold are refused.
bool IsUsablePackageFileName(const std::string& name);

// The open range from the given byte: "0-" for a new download.
std::string RangeFrom(uint64_t offset);

enum class ChecksumState { NotGiven, Matches, Differs };

// The record carried a checksum when its field holds anything but blanks.
bool IsChecksumGiven(const std::wstring& expected);

// MD5 texts compared as hexadecimal, letter case and surrounding blanks ignored.
bool ChecksumMatches(const std::wstring& expected, const std::string& actualHex);

// True when the sizes alone say the local copy is the announced package: the server announced a
// size, and a local copy of exactly that size exists (an absent or empty copy is never complete).
bool SizesSayComplete(uint32_t remoteSize, uint32_t localSize);

enum class UpdateAction {
    Install,             // show the notice, then start the installer
    Download,            // fetch the rest, from the local size on
    DownloadAfterDelete  // the copy is wrong (too large, or the wrong bytes): delete it, fetch from 0
};

UpdateAction DecideUpdate(uint32_t remoteSize, uint32_t localSize, ChecksumState checksum);

// The part of a Windows path after its last "\" (the whole path when it has none).
std::wstring FileNameOfPath(const std::wstring& path);

// " /sp- /VERYSILENT /norestart /appid=<id> /appname=<the launcher's file name>"
std::wstring InstallerParameters(const std::wstring& launcherFileName);

}  // namespace services
