#include "platform/XdgDirs.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

#include <glib.h>

#include "platform/AtomicFiles.h"

namespace qv {

namespace {

// MIME and desktop files are small; a larger one is not read.
constexpr size_t MaxXdgFileSize = 8u << 20;

std::vector<std::string> EnvList(const char* name, const std::vector<std::string>& fallback) {
  const char* v = std::getenv(name);
  if (!v || !*v) return fallback;
  std::vector<std::string> dirs;
  for (auto& d : Split(v, ':'))
    if (!d.empty() && d[0] == '/') dirs.push_back(d);
  return dirs.empty() ? fallback : dirs;
}

std::string EnvDir(const char* name, const char* homeRelative) {
  const char* v = std::getenv(name);
  if (v && *v == '/') return v;
  const char* home = std::getenv("HOME");
  return std::string(home ? home : "") + homeRelative;
}

}  // namespace

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t p; (p = s.find(sep, start)) != std::string::npos; start = p + 1) parts.push_back(s.substr(start, p - start));
  parts.push_back(s.substr(start));
  return parts;
}

TXdgDirs TXdgDirs::FromEnvironment() {
  TXdgDirs d;
  d.DataHome = EnvDir("XDG_DATA_HOME", "/.local/share");
  d.ConfigHome = EnvDir("XDG_CONFIG_HOME", "/.config");
  d.DataDirs = EnvList("XDG_DATA_DIRS", {"/usr/local/share", "/usr/share"});
  d.ConfigDirs = EnvList("XDG_CONFIG_DIRS", {"/etc/xdg"});
  if (const char* desktop = std::getenv("XDG_CURRENT_DESKTOP"))
    for (auto& name : Split(desktop, ':'))
      if (!name.empty()) d.Desktops.push_back(Lower(name));
  return d;
}

std::vector<std::string> TXdgDirs::AllDataDirs() const {
  std::vector<std::string> dirs{DataHome};
  dirs.insert(dirs.end(), DataDirs.begin(), DataDirs.end());
  return dirs;
}

bool ReadXdgFile(const std::string& path, std::string& text) { return ReadWholeFile(path, text, MaxXdgFileSize); }

bool WriteXdgFile(const std::string& path, const std::string& text) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  std::string error;
  return !ec && WriteFileAtomically(path, text, error);
}

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The desktop names in small letters, folded as GLib folds them.
std::string Lower(const std::string& s) {
  gchar* lower = g_ascii_strdown(s.c_str(), static_cast<gssize>(s.size()));
  std::string result(lower);
  g_free(lower);
  return result;
}

std::string Dashed(std::string mimeType) {
  std::replace(mimeType.begin(), mimeType.end(), '/', '-');
  return mimeType;
}

}  // namespace qv
