#pragma once

#include <string>

// The single-address form of the executable's command line: "<exe>" -KVGameBox -web <address>. The
// address goes in as it stands, unquoted.
std::wstring WebProcessCommandLine(const std::wstring& executablePath, const std::wstring& address);
