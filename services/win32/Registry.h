#pragma once

#include <windows.h>

#include <string>

#include "services/PluginRules.h"

namespace services {

HKEY PredefinedKey(RegistryRoot root);

// A string value (REG_SZ or REG_EXPAND_SZ, unexpanded) of an open key, read into a zeroed buffer of
// `bufferBytes` of which two stay free, so that the text is always terminated. An empty name reads
// the default value. Returns the platform's error code.
LONG QueryStringValue(HKEY key, const wchar_t* valueName, size_t bufferBytes, std::wstring& out);

// The value of a key named by its full path ("HKEY_CLASSES_ROOT\TypeLib\..."). `errorOut`, when
// given, receives 0, the platform's error code, or -1 when the path names no known root.
bool ReadRegistryString(const std::wstring& fullKeyPath, const std::wstring& valueName, std::wstring& out,
                        long* errorOut = nullptr);

}  // namespace services
