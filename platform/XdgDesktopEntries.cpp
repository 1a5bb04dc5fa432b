#include "platform/XdgDesktopEntries.h"

#include <algorithm>
#include <gio/gdesktopappinfo.h>

#include "platform/XdgKeyFiles.h"

namespace qv {

namespace {

constexpr const char* EntryGroup = G_KEY_FILE_DESKTOP_GROUP;
constexpr const char* MimeTypeKey = G_KEY_FILE_DESKTOP_KEY_MIME_TYPE;

constexpr GKeyFileFlags KeepAll = GKeyFileFlags(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS);

}  // namespace

std::string FindDesktopEntry(const TXdgDirs& dirs, const std::string& desktopId) {
  if (desktopId.empty() || desktopId.find('/') != std::string::npos || desktopId.find("..") != std::string::npos)
    return "";
  for (auto& dir : dirs.AllDataDirs()) {
    const std::string direct = dir + "/applications/" + desktopId;
    if (IsFile(direct)) return direct;
    if (size_t dash = desktopId.find('-'); dash != std::string::npos) {
      const std::string nested = dir + "/applications/" + desktopId.substr(0, dash) + "/" + desktopId.substr(dash + 1);
      if (IsFile(nested)) return nested;
    }
  }
  return "";
}

// GLib judges it; its first use also sets up GLib's watch of the applications folders, once per process.
bool IsStartableEntry(const std::string& path) {
  TKeyFile file = LoadKeyFile(path);
  if (!file) return false;
  g_autoptr(GDesktopAppInfo) app = g_desktop_app_info_new_from_keyfile(file.get());
  return app != nullptr;
}

std::optional<std::string> DesktopEntryExec(const std::string& path) {
  TKeyFile file = LoadKeyFile(path);
  if (!file) return std::nullopt;
  g_autofree gchar* exec = g_key_file_get_string(file.get(), EntryGroup, G_KEY_FILE_DESKTOP_KEY_EXEC, nullptr);
  if (!exec) return std::nullopt;
  return std::string(exec);
}

std::string ExecArgument(const std::string& program) {
  std::string escaped;
  for (char c : program) {
    if (c == '%') escaped += "%%";  // a field code otherwise
    else escaped += c;
  }
  const std::string reserved = " \t\n\"'\\><~|&;$*?#()`";
  if (escaped.find_first_of(reserved) == std::string::npos) return escaped;
  std::string quoted = "\"";
  for (char c : escaped) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

bool WriteDesktopEntry(const std::string& path, const TDesktopEntry& entry) {
  TKeyFile file(g_key_file_new());
  GKeyFile* f = file.get();
  g_key_file_set_string(f, EntryGroup, G_KEY_FILE_DESKTOP_KEY_TYPE, G_KEY_FILE_DESKTOP_TYPE_APPLICATION);
  g_key_file_set_string(f, EntryGroup, G_KEY_FILE_DESKTOP_KEY_NAME, entry.Name.c_str());
  g_key_file_set_string(f, EntryGroup, G_KEY_FILE_DESKTOP_KEY_EXEC, entry.Exec.c_str());
  g_key_file_set_string(f, EntryGroup, G_KEY_FILE_DESKTOP_KEY_ICON, entry.Icon.c_str());
  g_key_file_set_boolean(f, EntryGroup, G_KEY_FILE_DESKTOP_KEY_TERMINAL, FALSE);
  if (entry.Hidden) g_key_file_set_boolean(f, EntryGroup, G_KEY_FILE_DESKTOP_KEY_NO_DISPLAY, TRUE);
  else SetStringList(f, EntryGroup, G_KEY_FILE_DESKTOP_KEY_CATEGORIES, {"Graphics", "3DGraphics", "Viewer"});
  SetStringList(f, EntryGroup, MimeTypeKey, entry.MimeTypes);
  return SaveKeyFile(path, f);
}

bool UpdateDesktopEntry(const std::string& path, const TDesktopEntry& entry) {
  TKeyFile file = LoadKeyFile(path, KeepAll);
  if (!file) return WriteDesktopEntry(path, entry);
  g_key_file_set_string(file.get(), EntryGroup, G_KEY_FILE_DESKTOP_KEY_EXEC, entry.Exec.c_str());
  auto types = StringList(file.get(), EntryGroup, MimeTypeKey);
  for (auto& type : entry.MimeTypes)
    if (std::find(types.begin(), types.end(), type) == types.end()) types.push_back(type);
  SetStringList(file.get(), EntryGroup, MimeTypeKey, types);
  return SaveKeyFile(path, file.get());
}

bool RemoveMimeTypeFromEntry(const std::string& path, const std::string& mimeType) {
  TKeyFile file = LoadKeyFile(path, KeepAll);
  if (!file) return false;
  auto types = StringList(file.get(), EntryGroup, MimeTypeKey);
  auto it = std::find(types.begin(), types.end(), mimeType);
  if (it == types.end()) return false;
  types.erase(it);
  SetStringList(file.get(), EntryGroup, MimeTypeKey, types);
  return SaveKeyFile(path, file.get());
}

}  // namespace qv
