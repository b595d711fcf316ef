#include "services/UpdateRules.h"

#include <cstdio>

#include "skin/markup/AsciiText.h"

namespace services {
namespace {

std::wstring TrimBlanks(const std::wstring& text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && SkinUI::IsAsciiSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && SkinUI::IsAsciiSpace(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

bool IsHexDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

}  // namespace

std::string NarrowUpdateAddress(const std::wstring& address) {
    if (address.size() > kMaxUpdateAddressBytes) {
        return std::string();
    }
    std::string narrow;
    narrow.reserve(address.size());
    for (wchar_t c : address) {
        if (c < 0x20 || c > 0x7E) {
            return std::string();
        }
        narrow.push_back(static_cast<char>(c));
    }
    return narrow;
}

bool AddressArmsUpdate(const std::string& narrowAddress) {
    return narrowAddress.size() > 1;
}

std::string PackageFileName(const std::string& address) {
    const size_t slash = address.rfind('/');
    return slash == std::string::npos ? address : address.substr(slash + 1);
}

bool IsUsablePackageFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") {
        return false;
    }
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u > 0x7E) {
            return false;
        }
        switch (c) {
            case '\\':
            case '/':
            case ':':
            case '*':
            case '?':
            case '"':
            case '<':
            case '>':
            case '|':
                return false;
            default:
                break;
        }
    }
    // Windows drops trailing dots and blanks, which would let two names meet in one file.
    return name.back() != '.' && name.back() != ' ';
}

std::string RangeFrom(uint64_t offset) {
    char text[32];
    std::snprintf(text, sizeof text, "%llu-", static_cast<unsigned long long>(offset));
    return text;
}

bool IsChecksumGiven(const std::wstring& expected) {
    return !TrimBlanks(expected).empty();
}

bool ChecksumMatches(const std::wstring& expected, const std::string& actualHex) {
    const std::wstring trimmed = TrimBlanks(expected);
    if (trimmed.empty() || trimmed.size() != actualHex.size()) {
        return false;
    }
    for (size_t i = 0; i < trimmed.size(); ++i) {
        const wchar_t actual = static_cast<unsigned char>(actualHex[i]);
        if (!IsHexDigit(trimmed[i]) || SkinUI::AsciiLower(trimmed[i]) != SkinUI::AsciiLower(actual)) {
            return false;
        }
    }
    return true;
}

bool SizesSayComplete(uint32_t remoteSize, uint32_t localSize) {
    return remoteSize != kNoAnnouncedSize && remoteSize != kSizeQueryFailed && localSize == remoteSize;
}

UpdateAction DecideUpdate(uint32_t remoteSize, uint32_t localSize, ChecksumState checksum) {
    if (SizesSayComplete(remoteSize, localSize)) {
        return checksum == ChecksumState::Differs ? UpdateAction::DownloadAfterDelete : UpdateAction::Install;
    }
    const bool sizeKnown = remoteSize != kNoAnnouncedSize && remoteSize != kSizeQueryFailed;
    if (sizeKnown && localSize > remoteSize) {
        return UpdateAction::DownloadAfterDelete;
    }
    return UpdateAction::Download;
}

std::wstring FileNameOfPath(const std::wstring& path) {
    const size_t separator = path.rfind(L'\\');
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

std::wstring InstallerParameters(const std::wstring& launcherFileName) {
    return std::wstring(L" /sp- /VERYSILENT /norestart /appid=") + kInstallerAppId + L" /appname=" +
           launcherFileName;
}

}  // namespace services
