#pragma once

#include <string>

namespace services {

inline constexpr wchar_t kBuiltInBrowser[] = L"iexplore.exe";
inline constexpr wchar_t kHttpUserChoiceKey[] =
    L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice\\";
inline constexpr wchar_t kFtpUserChoiceKey[] =
    L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\Ftp\\UserChoice\\";
inline constexpr wchar_t kProgIdValue[] = L"Progid";
inline constexpr wchar_t kOpenCommandSuffix[] = L"\\shell\\open\\command\\";
inline constexpr wchar_t kHtmlFileOpenCommandKey[] = L"htmlfile\\shell\\open\\command";

// Where the default browser is looked up, by the system version the platform reports.
enum class BrowserLookup {
    HtmlFileCommand,  // 5.1: the open command of HTML files, used whole
    HttpUserChoice,   // 6.2 and later minor versions: the user's choice for http
    FtpUserChoice,    // 6.0 and 6.1: the user's choice for ftp
    BuiltInBrowser    // anything else: "iexplore.exe" without looking
};

BrowserLookup BrowserLookupFor(unsigned major, unsigned minor);

// The program of an open command: the text between the first double quote and the next one when the
// command holds a pair of quotes, otherwise the whole command.
std::wstring ProgramOfOpenCommand(const std::wstring& command);

}  // namespace services
