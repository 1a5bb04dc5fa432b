#include "platform/XdgMimeApps.h"

#include <algorithm>
#include <cctype>

#include "platform/XdgDesktopEntries.h"
#include "platform/XdgKeyFiles.h"

namespace qv {

namespace {

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

// A ";"-separated list value without its empty items.
std::vector<std::string> ListItems(const std::string& value) {
  std::vector<std::string> items;
  for (auto& item : Split(value, ';'))
    if (std::string t = Trim(item); !t.empty()) items.push_back(t);
  return items;
}

std::string JoinList(const std::vector<std::string>& items) {
  std::string s;
  for (auto& item : items) s += item + ";";
  return s;
}

}  // namespace

TKeyFileLines::TKeyFileLines(const std::string& text) {
  if (text.find("\r\n") != std::string::npos) Newline_ = "\r\n";
  if (text.empty()) return;
  FinalNewline_ = text.back() == '\n';
  Lines_ = Split(text, '\n');
  if (FinalNewline_) Lines_.pop_back();
  for (auto& line : Lines_)
    if (!line.empty() && line.back() == '\r') line.pop_back();
}

int TKeyFileLines::FindGroup(const std::string& group) const {
  const std::string header = "[" + group + "]";
  for (size_t i = 0; i < Lines_.size(); ++i)
    if (Trim(Lines_[i]) == header) return static_cast<int>(i);
  return -1;
}

int TKeyFileLines::FindKey(int groupLine, const std::string& key) const {
  for (size_t i = static_cast<size_t>(groupLine) + 1; i < Lines_.size(); ++i) {
    std::string line = Trim(Lines_[i]);
    if (!line.empty() && line[0] == '[') break;
    if (line.empty() || line[0] == '#') continue;
    size_t eq = line.find('=');
    if (eq != std::string::npos && Trim(line.substr(0, eq)) == key) return static_cast<int>(i);
  }
  return -1;
}

std::optional<std::string> TKeyFileLines::Get(const std::string& group, const std::string& key) const {
  int g = FindGroup(group);
  if (g < 0) return std::nullopt;
  int k = FindKey(g, key);
  if (k < 0) return std::nullopt;
  const std::string& line = Lines_[static_cast<size_t>(k)];
  return Trim(line.substr(line.find('=') + 1));
}

void TKeyFileLines::Set(const std::string& group, const std::string& key, const std::string& value) {
  const std::string line = key + "=" + value;
  int g = FindGroup(group);
  if (g >= 0) {
    int k = FindKey(g, key);
    if (k >= 0) {
      Lines_[static_cast<size_t>(k)] = line;
      return;
    }
    // After the group's last line that is not blank.
    size_t end = static_cast<size_t>(g) + 1;
    while (end < Lines_.size() && Trim(Lines_[end]).rfind('[', 0) != 0) ++end;
    while (end > static_cast<size_t>(g) + 1 && Trim(Lines_[end - 1]).empty()) --end;
    Lines_.insert(Lines_.begin() + static_cast<std::ptrdiff_t>(end), line);
    return;
  }
  if (!Lines_.empty() && !Trim(Lines_.back()).empty()) Lines_.push_back("");
  Lines_.push_back("[" + group + "]");
  Lines_.push_back(line);
  FinalNewline_ = true;
}

bool TKeyFileLines::Remove(const std::string& group, const std::string& key) {
  int g = FindGroup(group);
  if (g < 0) return false;
  int k = FindKey(g, key);
  if (k < 0) return false;
  Lines_.erase(Lines_.begin() + k);
  // A group left without keys goes, with its blank lines; comments stay where they were.
  size_t end = static_cast<size_t>(g) + 1;
  for (; end < Lines_.size(); ++end) {
    const std::string line = Trim(Lines_[end]);
    if (!line.empty() && line[0] == '[') break;
    if (!line.empty() && line[0] != '#') return true;
  }
  for (size_t i = end; i-- > static_cast<size_t>(g);)
    if (i == static_cast<size_t>(g) || Trim(Lines_[i]).empty()) Lines_.erase(Lines_.begin() + static_cast<std::ptrdiff_t>(i));
  // At the end of the text, the blank line that set the group apart goes too.
  if (g > 0 && static_cast<size_t>(g) == Lines_.size() && Trim(Lines_.back()).empty()) Lines_.pop_back();
  return true;
}

std::string TKeyFileLines::Text() const {
  std::string s;
  for (size_t i = 0; i < Lines_.size(); ++i) {
    s += Lines_[i];
    if (i + 1 < Lines_.size() || FinalNewline_) s += Newline_;
  }
  return s;
}

bool TKeyFileLines::AddToList(const std::string& group, const std::string& key, const std::string& id) {
  auto items = ListItems(Get(group, key).value_or(""));
  if (std::find(items.begin(), items.end(), id) != items.end()) return false;
  items.push_back(id);
  Set(group, key, JoinList(items));
  return true;
}

bool TKeyFileLines::RemoveFromList(const std::string& group, const std::string& key, const std::string& id) {
  auto value = Get(group, key);
  if (!value) return false;
  auto items = ListItems(*value);
  auto it = std::find(items.begin(), items.end(), id);
  if (it == items.end()) return false;
  items.erase(it);
  if (items.empty()) Remove(group, key);
  else Set(group, key, JoinList(items));
  return true;
}

// ---------------------------------------------------------------------------------------------------

std::vector<std::string> UserMimeAppsLists(const TXdgDirs& dirs) {
  std::vector<std::string> lists;
  for (const std::string& dir : {dirs.ConfigHome, dirs.DataHome + "/applications"}) {
    for (auto& desktop : dirs.Desktops) lists.push_back(dir + "/" + desktop + "-mimeapps.list");
    lists.push_back(dir + "/mimeapps.list");
  }
  return lists;
}

std::string UserMimeAppsList(const TXdgDirs& dirs) { return dirs.ConfigHome + "/mimeapps.list"; }

bool EditMimeApps(const std::string& path, const std::function<bool(TKeyFileLines&)>& edit, bool create) {
  std::string text;
  if (!ReadXdgFile(path, text) && (!create || IsFile(path))) return false;
  TKeyFileLines lines(text);
  if (!edit(lines)) return false;
  return WriteXdgFile(path, lines.Text());
}

namespace {

// The desktop entry ids of the type in one group of a list, as GLib reads it.
std::vector<std::string> ListedIds(const std::string& path, const char* group, const std::string& mimeType) {
  TKeyFile file = LoadKeyFile(path);
  return file ? StringList(file.get(), group, mimeType) : std::vector<std::string>{};
}

}  // namespace

std::string DefaultDesktopId(const TXdgDirs& dirs, const std::string& mimeType) {
  auto fromList = [&](const std::string& path) -> std::string {
    for (auto& id : ListedIds(path, DefaultApplicationsGroup, mimeType))
      if (IsStartableEntry(FindDesktopEntry(dirs, id))) return id;
    return "";
  };
  std::vector<std::string> listDirs{dirs.ConfigHome};
  listDirs.insert(listDirs.end(), dirs.ConfigDirs.begin(), dirs.ConfigDirs.end());
  for (auto& dir : dirs.AllDataDirs()) listDirs.push_back(dir + "/applications");
  for (auto& dir : listDirs) {
    for (auto& desktop : dirs.Desktops)
      if (auto id = fromList(dir + "/" + desktop + "-mimeapps.list"); !id.empty()) return id;
    if (auto id = fromList(dir + "/mimeapps.list"); !id.empty()) return id;
  }
  // Older desktops: defaults.list, then the cache of the applications' declared types.
  for (auto& dir : dirs.AllDataDirs()) {
    for (const char* name : {"defaults.list", "mimeinfo.cache"}) {
      TKeyFile file = LoadKeyFile(dir + "/applications/" + name);
      for (const char* group : {DefaultApplicationsGroup, "MIME Cache"}) {
        auto ids = file ? StringList(file.get(), group, mimeType) : std::vector<std::string>{};
        if (!ids.empty() && !FindDesktopEntry(dirs, ids[0]).empty()) return ids[0];
      }
    }
  }
  return "";
}

bool IsAddedAssociation(const TXdgDirs& dirs, const std::string& mimeType, const std::string& desktopId) {
  for (auto& list : UserMimeAppsLists(dirs)) {
    auto ids = ListedIds(list, AddedAssociationsGroup, mimeType);
    if (std::find(ids.begin(), ids.end(), desktopId) != ids.end()) return true;
  }
  return false;
}

}  // namespace qv
