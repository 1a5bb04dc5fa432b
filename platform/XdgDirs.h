// The freedesktop folders the file associations live in, and the reading and writing of their small
// files (MIME packages, desktop entries, mimeapps.list).
#pragma once
#include <string>
#include <vector>

namespace qv {

struct TXdgDirs {
  std::string DataHome;                 // $XDG_DATA_HOME or ~/.local/share
  std::string ConfigHome;               // $XDG_CONFIG_HOME or ~/.config
  std::vector<std::string> DataDirs;    // $XDG_DATA_DIRS or /usr/local/share, /usr/share
  std::vector<std::string> ConfigDirs;  // $XDG_CONFIG_DIRS or /etc/xdg
  std::vector<std::string> Desktops;    // $XDG_CURRENT_DESKTOP, lower case

  // Read from the environment at each call (GLib's own copy is taken once per process).
  static TXdgDirs FromEnvironment();
  // DataHome, then DataDirs.
  std::vector<std::string> AllDataDirs() const;
};

// The file's content; false when it cannot be read or is larger than such a file ever is.
bool ReadXdgFile(const std::string& path, std::string& text);
// Replaces the file by rename, creating its folder where needed.
bool WriteXdgFile(const std::string& path, const std::string& text);
bool IsFile(const std::string& path);
std::string Lower(const std::string& s);
// The parts of `s` between the separators, empty ones included.
std::vector<std::string> Split(const std::string& s, char sep);
// "application/x-a" -> "application-x-a", as icon and file names spell a MIME type.
std::string Dashed(std::string mimeType);

}  // namespace qv
