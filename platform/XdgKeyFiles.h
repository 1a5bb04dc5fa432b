// GLib key files (desktop entries, mimeapps.list) for the files of the file associations: read with
// the size limit of those files, written by rename.
#pragma once
#include <glib.h>
#include <memory>
#include <string>
#include <vector>

#include "platform/XdgDirs.h"

namespace qv {

struct TKeyFileUnref {
  void operator()(GKeyFile* file) const { g_key_file_unref(file); }
};
using TKeyFile = std::unique_ptr<GKeyFile, TKeyFileUnref>;

// The file as GLib reads it, or null when it cannot be read or is not a key file.
inline TKeyFile LoadKeyFile(const std::string& path, GKeyFileFlags flags = G_KEY_FILE_NONE) {
  std::string text;
  if (!ReadXdgFile(path, text)) return nullptr;
  TKeyFile file(g_key_file_new());
  if (!g_key_file_load_from_data(file.get(), text.data(), text.size(), flags, nullptr)) return nullptr;
  return file;
}

inline bool SaveKeyFile(const std::string& path, GKeyFile* file) {
  gsize size = 0;
  g_autofree gchar* data = g_key_file_to_data(file, &size, nullptr);
  return data && WriteXdgFile(path, std::string(data, size));
}

// The items of a list value, without empty ones; empty when the key is not there.
inline std::vector<std::string> StringList(GKeyFile* file, const char* group, const std::string& key) {
  std::vector<std::string> items;
  g_auto(GStrv) values = g_key_file_get_string_list(file, group, key.c_str(), nullptr, nullptr);
  for (gchar** v = values; v && *v; ++v)
    if (*g_strstrip(*v)) items.emplace_back(*v);
  return items;
}

inline void SetStringList(GKeyFile* file, const char* group, const std::string& key, const std::vector<std::string>& items) {
  std::vector<const gchar*> values;
  for (auto& item : items) values.push_back(item.c_str());
  g_key_file_set_string_list(file, group, key.c_str(), values.data(), values.size());
}

}  // namespace qv
