// The desktop's list of recently used files (recently-used.xbel in the user's data folder), which file
// dialogs and file managers show under "Recent".
#pragma once
#include <string>

namespace qv {

// Adds `path` (absolute) to the list, or marks it used now, as opened by `appName` running `exec`
// ("quorvela-viewer %u"), with its MIME type. False when the list cannot be read or written; the
// caller goes on without it.
bool AddToRecentlyUsed(const std::string& xbelFile, const std::string& path, const std::string& mimeType,
                       const std::string& appName, const std::string& exec);

// The list's file: <data home>/recently-used.xbel.
std::string RecentlyUsedFile();

}  // namespace qv
