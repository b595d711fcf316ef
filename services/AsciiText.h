#pragma once

#include <string>

namespace services {

// Letter case of ASCII letters ignored, every other character compared as it stands: the rule the
// system itself uses for file paths and names in its folders and registry values.
bool EqualsIgnoringAsciiCase(const std::wstring& a, const std::wstring& b);
bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b);

wchar_t AsciiLower(wchar_t c);

}  // namespace services
