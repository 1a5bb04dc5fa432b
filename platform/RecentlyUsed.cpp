#include "platform/RecentlyUsed.h"

#include <glib.h>

#include <filesystem>
#include <memory>

#include "platform/XdgDirs.h"

namespace qv {

std::string RecentlyUsedFile() { return TXdgDirs::FromEnvironment().DataHome + "/recently-used.xbel"; }

bool AddToRecentlyUsed(const std::string& xbelFile, const std::string& path, const std::string& mimeType,
                       const std::string& appName, const std::string& exec) {
  std::unique_ptr<gchar, decltype(&g_free)> uri(g_filename_to_uri(path.c_str(), nullptr, nullptr), g_free);
  if (!uri) return false;
  std::unique_ptr<GBookmarkFile, decltype(&g_bookmark_file_free)> list(g_bookmark_file_new(), g_bookmark_file_free);
  std::error_code ec;
  // A list that is there but cannot be read is left as it is rather than replaced by ours alone.
  if (std::filesystem::exists(xbelFile, ec) && !g_bookmark_file_load_from_file(list.get(), xbelFile.c_str(), nullptr))
    return false;
  g_bookmark_file_set_mime_type(list.get(), uri.get(), mimeType.c_str());
  g_bookmark_file_add_application(list.get(), uri.get(), appName.c_str(), exec.c_str());
  std::filesystem::create_directories(std::filesystem::path(xbelFile).parent_path(), ec);
  return g_bookmark_file_to_file(list.get(), xbelFile.c_str(), nullptr);
}

}  // namespace qv
