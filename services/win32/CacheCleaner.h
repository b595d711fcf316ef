#pragma once

#include <string>

#include "services/win32/SystemAccess.h"

namespace services {

// Empties the embedded browser's cache for the current user: pass 0 deletes the URL-cache entries
// that are not cookies and empties the temporary internet files folder, pass 1 deletes the cookie
// entries and empties the cookies folder. Reports nothing: entries and files in use simply stay.
void ClearBrowserCache();
void ClearBrowserCache(SystemAccess& system);

// Deletes the URL-cache entries of one pass; true when the enumeration found at least one entry.
bool DeleteUrlCacheEntries(int pass);

// Deletes a folder's contents on disk, keeping the folder and every desktop.ini; links inside are
// removed as links, never followed.
void EmptyFolder(const std::wstring& folder);

}  // namespace services
