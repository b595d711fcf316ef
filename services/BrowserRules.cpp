#include "services/BrowserRules.h"

#include <algorithm>

namespace services {

BrowserLookup BrowserLookupFor(unsigned major, unsigned minor) {
    if (major == 5 && minor == 1) {
        return BrowserLookup::HtmlFileCommand;
    }
    if (major >= 6 && minor >= 2) {
        return BrowserLookup::HttpUserChoice;
    }
    if (major >= 6) {
        return BrowserLookup::FtpUserChoice;
    }
    return BrowserLookup::BuiltInBrowser;
}

namespace {

// The shell splits a command line at spaces and tabs only: a line break inside a registry value stays
// part of the text, unlike the blanks that the update record's fields are trimmed of.
bool IsCommandLineBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

size_t SkipBlanks(const std::wstring& text, size_t at) {
    while (at < text.size() && IsCommandLineBlank(text[at])) {
        ++at;
    }
    return at;
}

// The name the shell tries for a prefix: ".exe" added when its last path element has no extension.
std::wstring ProgramName(const std::wstring& prefix) {
    const size_t element = prefix.find_last_of(L"\\/");
    const size_t dot = prefix.find(L'.', element == std::wstring::npos ? 0 : element + 1);
    return dot == std::wstring::npos ? prefix + L".exe" : prefix;
}

}  // namespace

OpenCommand SplitOpenCommand(const std::wstring& command,
                             const std::function<bool(const std::wstring&)>& isFile) {
    const size_t start = SkipBlanks(command, 0);
    if (start < command.size() && command[start] == L'"') {
        const size_t close = command.find(L'"', start + 1);
        if (close == std::wstring::npos) {
            return {command.substr(start + 1), L""};
        }
        return {command.substr(start + 1, close - start - 1), command.substr(SkipBlanks(command, close + 1))};
    }
    size_t firstBlank = std::wstring::npos;
    for (size_t end = start; end <= command.size(); ++end) {
        if (end < command.size() &&
            (!IsCommandLineBlank(command[end]) || IsCommandLineBlank(command[end - 1]))) {
            continue;  // a prefix ends at the first blank of a run, or with the command
        }
        firstBlank = std::min(firstBlank, end);
        if (end == start) {
            break;  // nothing but blanks
        }
        const std::wstring candidate = ProgramName(command.substr(start, end - start));
        if (isFile(candidate)) {
            return {candidate, command.substr(SkipBlanks(command, end))};
        }
    }
    return {command.substr(start, firstBlank - start), command.substr(SkipBlanks(command, firstBlank))};
}

std::wstring ArgumentsWithAddress(const std::wstring& arguments, const std::wstring& address) {
    std::wstring result;
    bool placed = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == L'%' && i + 1 < arguments.size() && arguments[i + 1] == L'1') {
            result += address;
            placed = true;
            ++i;
        } else {
            result += arguments[i];
        }
    }
    if (!placed) {
        result += result.empty() ? address : L" " + address;
    }
    return result;
}

}  // namespace services
