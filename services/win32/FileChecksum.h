#pragma once

#include <string>

namespace services {

// The MD5 of a file's bytes as 32 lower-case hexadecimal digits, computed with the system's
// cryptography provider; "" when the file cannot be read or the provider refuses.
std::string Md5OfFile(const std::wstring& path);

}  // namespace services
