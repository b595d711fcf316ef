#pragma once

#include <functional>
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
    HtmlFileCommand,  // 5.1: the open command of HTML files
    HttpUserChoice,   // 6.2 and later minor versions: the user's choice for http
    FtpUserChoice,    // 6.0 and 6.1: the user's choice for ftp
    BuiltInBrowser    // anything else: "iexplore.exe" without looking
};

BrowserLookup BrowserLookupFor(unsigned major, unsigned minor);

// An open command taken apart the way the shell takes a command line apart.
struct OpenCommand {
    std::wstring program;
    std::wstring arguments;
};

// A program in double quotes ends at the closing quote (or with the command when there is none). An
// unquoted program may hold blanks: as the shell does, the first of the successively longer prefixes
// ending at a blank (or with the command) that names an existing file is the program, ".exe" added to
// a prefix whose last path element has no extension. When no prefix names a file, the program ends at
// the first blank. The arguments are what follows, without the blanks before them.
OpenCommand SplitOpenCommand(const std::wstring& command,
                             const std::function<bool(const std::wstring&)>& isFile);

// The arguments with the address in place of every "%1"; when the arguments have no such place, the
// address follows them after a blank.
std::wstring ArgumentsWithAddress(const std::wstring& arguments, const std::wstring& address);

}  // namespace services
