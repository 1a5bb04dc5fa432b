#include "platform/XdgMimeTypes.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <glib.h>
#include <optional>
#include <vector>

namespace qv {

namespace fs = std::filesystem;

namespace {

constexpr const char* OwnPackagePrefix = "quorvela-association-";

// The type of the best-weighted glob equal to `glob` in a compiled database (globs2, else globs).
std::string SearchCompiledGlobs(const std::string& mimeDir, const std::string& glob) {
  std::string text;
  const bool weighted = ReadXdgFile(mimeDir + "/globs2", text);
  if (!weighted && !ReadXdgFile(mimeDir + "/globs", text)) return "";
  std::string best;
  int bestWeight = -1;
  g_auto(GStrv) lines = g_strsplit(text.c_str(), "\n", -1);
  for (gchar** line = lines; *line; ++line) {
    g_strstrip(*line);
    if (**line == '\0' || **line == '#') continue;
    // globs2: weight:type:pattern[:flags]; globs: type:pattern
    g_auto(GStrv) fields = g_strsplit(*line, ":", -1);
    if (g_strv_length(fields) < (weighted ? 3u : 2u)) continue;
    const int weight = weighted ? std::atoi(fields[0]) : 50;
    if (Lower(fields[weighted ? 2 : 1]) == glob && weight > bestWeight) {
      best = fields[weighted ? 1 : 0];
      bestWeight = weight;
    }
  }
  return best;
}

// The type and the first glob of a MIME package.
struct TPackage {
  std::string Type, Glob;
};

std::optional<TPackage> ReadPackage(const std::string& path) {
  std::string xml;
  if (!ReadXdgFile(path, xml)) return std::nullopt;
  TPackage package;
  GMarkupParser parser{};
  parser.start_element = [](GMarkupParseContext*, const gchar* element, const gchar** names, const gchar** values,
                            gpointer data, GError**) {
    auto& found = *static_cast<TPackage*>(data);
    const bool isType = g_str_equal(element, "mime-type");
    if (!isType && !g_str_equal(element, "glob")) return;
    std::string& field = isType ? found.Type : found.Glob;
    for (int i = 0; names[i] && field.empty(); ++i)
      if (g_str_equal(names[i], isType ? "type" : "pattern")) field = values[i];
  };
  g_autoptr(GMarkupParseContext) context = g_markup_parse_context_new(&parser, GMarkupParseFlags(0), &package, nullptr);
  if (!g_markup_parse_context_parse(context, xml.data(), static_cast<gssize>(xml.size()), nullptr) ||
      !g_markup_parse_context_end_parse(context, nullptr))
    return std::nullopt;
  return package;
}

void RefreshMimeDatabase(const TXdgDirs& dirs) {
  const std::string dir = dirs.DataHome + "/mime";
  const gchar* argv[] = {"update-mime-database", dir.c_str(), nullptr};
  g_spawn_sync(nullptr, const_cast<gchar**>(argv), nullptr,
               GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_STDOUT_TO_DEV_NULL | G_SPAWN_STDERR_TO_DEV_NULL), nullptr,
               nullptr, nullptr, nullptr, nullptr, nullptr);
}

// Icon sizes of a hicolor theme folder: "48x48", "scalable", ...
std::vector<std::string> ThemeSizes(const std::string& theme) {
  std::vector<std::string> sizes;
  std::error_code ec;
  for (auto& entry : fs::directory_iterator(theme, ec))
    if (entry.is_directory(ec)) sizes.push_back(entry.path().filename().string());
  std::sort(sizes.begin(), sizes.end());
  return sizes;
}

constexpr const char* IconExtensions[] = {".png", ".svg"};

}  // namespace

std::string MimeTypeOfExtension(const TXdgDirs& dirs, const std::string& extension) {
  const std::string glob = Lower("*" + extension);
  if (std::string type = SearchCompiledGlobs(dirs.DataHome + "/mime", glob); !type.empty()) return type;
  std::error_code ec;
  for (auto& entry : fs::directory_iterator(dirs.DataHome + "/mime/packages", ec)) {
    if (entry.path().filename().string().rfind(OwnPackagePrefix, 0) != 0) continue;
    auto package = ReadPackage(entry.path().string());
    if (package && !package->Type.empty() && Lower(package->Glob) == glob) return package->Type;
  }
  for (auto& dir : dirs.DataDirs)
    if (std::string type = SearchCompiledGlobs(dir + "/mime", glob); !type.empty()) return type;
  return "";
}

std::string OwnMimePackagePath(const TXdgDirs& dirs, const std::string& mimeType) {
  return dirs.DataHome + "/mime/packages/" + OwnPackagePrefix + Dashed(mimeType) + ".xml";
}

bool WriteOwnMimePackage(const TXdgDirs& dirs, const std::string& mimeType, const std::string& glob,
                         const std::string& comment, bool refresh) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  g_autofree gchar* type = g_markup_printf_escaped("  <mime-type type=\"%s\">\n", mimeType.c_str());
  xml += type;
  if (!comment.empty()) {
    g_autofree gchar* element = g_markup_printf_escaped("    <comment>%s</comment>\n", comment.c_str());
    xml += element;
  }
  g_autofree gchar* pattern = g_markup_printf_escaped("    <glob pattern=\"%s\"/>\n", glob.c_str());
  xml += pattern;
  xml += "  </mime-type>\n</mime-info>\n";
  if (!WriteXdgFile(OwnMimePackagePath(dirs, mimeType), xml)) return false;
  if (refresh) RefreshMimeDatabase(dirs);
  return true;
}

bool InstallMimeTypeIcon(const TXdgDirs& dirs, const std::string& iconTheme, const std::string& iconName,
                         const std::string& mimeType) {
  if (iconTheme.empty()) return false;
  bool any = false;
  for (auto& size : ThemeSizes(iconTheme)) {
    for (const char* ext : IconExtensions) {
      const std::string from = iconTheme + "/" + size + "/mimetypes/" + iconName + ext;
      std::string bytes;
      if (!IsFile(from) || !ReadXdgFile(from, bytes)) continue;
      any |= WriteXdgFile(dirs.DataHome + "/icons/hicolor/" + size + "/mimetypes/" + Dashed(mimeType) + ext, bytes);
    }
  }
  return any;
}

bool RemoveMimeTypeIcon(const TXdgDirs& dirs, const std::string& mimeType) {
  const std::string theme = dirs.DataHome + "/icons/hicolor";
  bool any = false;
  std::error_code ec;
  for (auto& size : ThemeSizes(theme))
    for (const char* ext : IconExtensions) any |= fs::remove(theme + "/" + size + "/mimetypes/" + Dashed(mimeType) + ext, ec);
  return any;
}

}  // namespace qv
