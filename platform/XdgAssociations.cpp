#include "platform/XdgAssociations.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/AtomicFiles.h"

extern char** environ;

namespace qv {

namespace fs = std::filesystem;

namespace {

constexpr const char* DefaultGroup = "Default Applications";
constexpr const char* AddedGroup = "Added Associations";
constexpr const char* RemovedGroup = "Removed Associations";
constexpr const char* EntryGroup = "Desktop Entry";
constexpr const char* OwnPackagePrefix = "quorvela-association-";
// MIME and desktop files are small; a larger one is not read.
constexpr size_t MaxXdgFileSize = 8u << 20;

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return s.substr(b, e - b);
}

std::vector<std::string> Split(const std::string& s, char sep) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (true) {
    size_t p = s.find(sep, start);
    parts.push_back(s.substr(start, p == std::string::npos ? std::string::npos : p - start));
    if (p == std::string::npos) break;
    start = p + 1;
  }
  return parts;
}

// A ";"-separated list value without its empty items.
std::vector<std::string> ListItems(const std::string& value) {
  std::vector<std::string> items;
  for (auto& item : Split(value, ';')) {
    std::string t = Trim(item);
    if (!t.empty()) items.push_back(t);
  }
  return items;
}

std::string JoinList(const std::vector<std::string>& items) {
  std::string s;
  for (auto& item : items) s += item + ";";
  return s;
}

std::string Dashed(std::string mimeType) {
  std::replace(mimeType.begin(), mimeType.end(), '/', '-');
  return mimeType;
}

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool IsProgramFile(const std::string& path) { return IsFile(path) && ::access(path.c_str(), X_OK) == 0; }

bool ProgramExists(const std::string& program) {
  return !program.empty() && IsProgramFile(FindProgramInPath(program));
}

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

std::string XmlUnescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '&') {
      out += s[i];
      continue;
    }
    static const std::pair<const char*, char> entities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    bool done = false;
    for (auto& [name, c] : entities) {
      size_t n = std::char_traits<char>::length(name);
      if (s.compare(i, n, name) == 0) {
        out += c;
        i += n - 1;
        done = true;
        break;
      }
    }
    if (!done) out += '&';
  }
  return out;
}

std::string XmlEscape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// The text between the first <tag> (without attributes) and its </tag>.
std::optional<std::string> XmlElementText(const std::string& xml, const std::string& tag) {
  size_t open = xml.find("<" + tag + ">");
  if (open == std::string::npos) return std::nullopt;
  size_t start = open + tag.size() + 2;
  size_t close = xml.find("</" + tag + ">", start);
  if (close == std::string::npos) return std::nullopt;
  return XmlUnescape(xml.substr(start, close - start));
}

// The value of attribute `name` of the first element <tag ...>.
std::optional<std::string> XmlAttribute(const std::string& xml, const std::string& tag, const std::string& name) {
  size_t open = xml.find("<" + tag + " ");
  if (open == std::string::npos) return std::nullopt;
  size_t end = xml.find('>', open);
  std::string element = xml.substr(open, end == std::string::npos ? std::string::npos : end - open);
  size_t a = element.find(" " + name + "=\"");
  if (a == std::string::npos) return std::nullopt;
  size_t start = a + name.size() + 3;
  size_t close = element.find('"', start);
  if (close == std::string::npos) return std::nullopt;
  return XmlUnescape(element.substr(start, close - start));
}

bool EnsureParent(const std::string& path) {
  std::error_code ec;
  fs::create_directories(fs::path(path).parent_path(), ec);
  return !ec;
}

bool WriteText(const std::string& path, const std::string& text) {
  std::string error;
  return EnsureParent(path) && WriteFileAtomically(path, text, error);
}

// The program of a registered command: "prog" "%1" or prog "%1" (the argument may be unquoted).
std::string CommandProgram(const std::string& command) {
  std::string c = Trim(command);
  if (!c.empty() && c[0] == '"') {
    size_t close = c.find('"', 1);
    return c.substr(1, close == std::string::npos ? std::string::npos : close - 1);
  }
  for (const char* arg : {" \"%1\"", " %1"}) {
    size_t p = c.rfind(arg);
    if (p != std::string::npos && p + std::char_traits<char>::length(arg) == c.size()) return Trim(c.substr(0, p));
  }
  return c;
}

std::string EscapeDesktopString(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\t') out += "\\t";
    else if (c == '\r') out += "\\r";
    else out += c;
  }
  return out;
}

}  // namespace

// ---------------------------------------------------------------------------------------------------

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

// ---------------------------------------------------------------------------------------------------

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

// ---------------------------------------------------------------------------------------------------

std::string UnescapeDesktopString(const std::string& value) {
  std::string out;
  for (size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\' && i + 1 < value.size()) {
      char n = value[++i];
      switch (n) {
        case 's': out += ' '; break;
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case '\\': out += '\\'; break;
        default: out += '\\'; out += n;
      }
    } else {
      out += value[i];
    }
  }
  return out;
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

std::string FindProgramInPath(const std::string& program) {
  if (program.empty() || program.find('/') != std::string::npos) return program;
  const char* path = std::getenv("PATH");
  for (auto& dir : Split(path ? path : "/usr/local/bin:/usr/bin:/bin", ':')) {
    std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + program;
    if (IsProgramFile(candidate)) return candidate;
  }
  return program;
}

std::string ExecProgram(const std::string& exec) {
  size_t i = 0;
  while (i < exec.size() && (exec[i] == ' ' || exec[i] == '\t')) ++i;
  std::string arg;
  if (i < exec.size() && exec[i] == '"') {
    for (++i; i < exec.size() && exec[i] != '"'; ++i) {
      if (exec[i] == '\\' && i + 1 < exec.size()) ++i;
      arg += exec[i];
    }
  } else {
    for (; i < exec.size() && exec[i] != ' ' && exec[i] != '\t'; ++i) arg += exec[i];
  }
  std::string out;
  for (size_t k = 0; k < arg.size(); ++k) {
    out += arg[k];
    if (arg[k] == '%' && k + 1 < arg.size() && arg[k + 1] == '%') ++k;
  }
  return out;
}

// ---------------------------------------------------------------------------------------------------

struct TXdgClassRegistry::TKey {
  enum TKind { Extension, Class, Icon, Shell, Verb, Command } Kind;
  std::string Name;  // the extension or the class (MIME type)
  bool IsView = false;  // the verb is "Isometric View" (else "Open")
};

std::optional<TXdgClassRegistry::TKey> TXdgClassRegistry::ParseKey(const std::string& key) {
  std::vector<std::string> parts = Split(key, '\\');
  if (parts.empty() || parts[0].empty()) return std::nullopt;
  TKey k{TKey::Class, parts[0]};
  if (parts[0][0] == '.') {
    if (parts.size() != 1) return std::nullopt;
    k.Kind = TKey::Extension;
    return k;
  }
  if (parts.size() == 1) return k;
  std::string second = Lower(parts[1]);
  if (parts.size() == 2 && second == "defaulticon") {
    k.Kind = TKey::Icon;
    return k;
  }
  if (second != "shell") return std::nullopt;
  if (parts.size() == 2) {
    k.Kind = TKey::Shell;
    return k;
  }
  std::string verb = Lower(parts[2]);
  if (verb == "open") k.IsView = false;
  else if (verb == Lower(ViewVerb)) k.IsView = true;
  else return std::nullopt;
  if (parts.size() == 3) {
    k.Kind = TKey::Verb;
    return k;
  }
  if (parts.size() == 4 && Lower(parts[3]) == "command") {
    k.Kind = TKey::Command;
    return k;
  }
  return std::nullopt;
}

TXdgClassRegistry::TXdgClassRegistry(TXdgDirs dirs, TXdgOptions options)
    : Dirs_(std::move(dirs)), Options_(std::move(options)) {}

std::string TXdgClassRegistry::ViewDesktopId(const std::string& mimeType) {
  return "quorvela-isometric-view-" + Dashed(mimeType) + ".desktop";
}

std::string TXdgClassRegistry::OwnPackagePath(const std::string& mimeType) const {
  return Dirs_.DataHome + "/mime/packages/" + OwnPackagePrefix + Dashed(mimeType) + ".xml";
}

std::string TXdgClassRegistry::MimeTypeOfExtension(const std::string& extension) const {
  const std::string glob = Lower("*" + extension);
  auto searchCompiled = [&](const std::string& dir) -> std::string {
    std::string text;
    bool weighted = ReadWholeFile(dir + "/mime/globs2", text, MaxXdgFileSize);
    if (!weighted && !ReadWholeFile(dir + "/mime/globs", text, MaxXdgFileSize)) return "";
    std::string best;
    int bestWeight = -1;
    for (auto& raw : Split(text, '\n')) {
      std::string line = Trim(raw);
      if (line.empty() || line[0] == '#') continue;
      std::vector<std::string> f = Split(line, ':');
      if (weighted && f.size() < 3) continue;
      if (!weighted && f.size() < 2) continue;
      int weight = weighted ? std::atoi(f[0].c_str()) : 50;
      const std::string& type = weighted ? f[1] : f[0];
      const std::string& pattern = weighted ? f[2] : f[1];
      if (Lower(pattern) == glob && weight > bestWeight) {
        best = type;
        bestWeight = weight;
      }
    }
    return best;
  };
  std::string type = searchCompiled(Dirs_.DataHome);
  if (!type.empty()) return type;
  // Our own packages, in case the user's database could not be compiled.
  std::error_code ec;
  for (auto& entry : fs::directory_iterator(Dirs_.DataHome + "/mime/packages", ec)) {
    std::string name = entry.path().filename().string();
    if (name.rfind(OwnPackagePrefix, 0) != 0) continue;
    std::string xml;
    if (!ReadWholeFile(entry.path().string(), xml, MaxXdgFileSize)) continue;
    auto pattern = XmlAttribute(xml, "glob", "pattern");
    auto mime = XmlAttribute(xml, "mime-type", "type");
    if (pattern && mime && Lower(*pattern) == glob) return *mime;
  }
  for (auto& dir : Dirs_.DataDirs) {
    type = searchCompiled(dir);
    if (!type.empty()) return type;
  }
  return "";
}

bool TXdgClassRegistry::MimeTypeKnown(const std::string& mimeType) const {
  if (mimeType.find('/') == std::string::npos || mimeType.find("..") != std::string::npos) return false;
  if (IsFile(OwnPackagePath(mimeType))) return true;
  if (IsFile(Dirs_.DataHome + "/mime/" + mimeType + ".xml")) return true;
  for (auto& dir : Dirs_.DataDirs)
    if (IsFile(dir + "/mime/" + mimeType + ".xml")) return true;
  return false;
}

std::string TXdgClassRegistry::MimeTypeComment(const std::string& mimeType) const {
  std::vector<std::string> files{OwnPackagePath(mimeType), Dirs_.DataHome + "/mime/" + mimeType + ".xml"};
  for (auto& dir : Dirs_.DataDirs) files.push_back(dir + "/mime/" + mimeType + ".xml");
  for (auto& file : files) {
    std::string xml;
    if (!ReadWholeFile(file, xml, MaxXdgFileSize)) continue;
    if (auto comment = XmlElementText(xml, "comment")) return *comment;
  }
  return "";
}

bool TXdgClassRegistry::WriteOwnPackage(const std::string& mimeType, const std::string& glob,
                                        const std::string& comment) {
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                    "  <mime-type type=\"" + XmlEscape(mimeType) + "\">\n";
  if (!comment.empty()) xml += "    <comment>" + XmlEscape(comment) + "</comment>\n";
  xml += "    <glob pattern=\"" + XmlEscape(glob) + "\"/>\n"
         "  </mime-type>\n"
         "</mime-info>\n";
  if (!WriteText(OwnPackagePath(mimeType), xml)) return false;
  RefreshMimeDatabase();
  return true;
}

void TXdgClassRegistry::RefreshMimeDatabase() {
  if (!Options_.RefreshMimeDatabase) return;
  std::string dir = Dirs_.DataHome + "/mime";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  char* argv[] = {const_cast<char*>("update-mime-database"), dir.data(), nullptr};
  pid_t pid;
  if (posix_spawnp(&pid, "update-mime-database", &actions, nullptr, argv, environ) == 0) {
    int status;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }
  posix_spawn_file_actions_destroy(&actions);
}

std::string TXdgClassRegistry::FindDesktopEntry(const std::string& desktopId) const {
  if (desktopId.empty() || desktopId.find('/') != std::string::npos || desktopId.find("..") != std::string::npos)
    return "";
  std::vector<std::string> dirs{Dirs_.DataHome};
  dirs.insert(dirs.end(), Dirs_.DataDirs.begin(), Dirs_.DataDirs.end());
  for (auto& dir : dirs) {
    std::string direct = dir + "/applications/" + desktopId;
    if (IsFile(direct)) return direct;
    size_t dash = desktopId.find('-');
    if (dash != std::string::npos) {
      std::string nested = dir + "/applications/" + desktopId.substr(0, dash) + "/" + desktopId.substr(dash + 1);
      if (IsFile(nested)) return nested;
    }
  }
  return "";
}

namespace {

std::optional<std::string> DesktopEntryExec(const std::string& path) {
  std::string text;
  if (path.empty() || !ReadWholeFile(path, text, MaxXdgFileSize)) return std::nullopt;
  auto exec = TKeyFileLines(text).Get(EntryGroup, "Exec");
  if (!exec) return std::nullopt;
  return UnescapeDesktopString(*exec);
}

}  // namespace

std::string TXdgClassRegistry::DefaultDesktopId(const std::string& mimeType) const {
  // An application counts when its entry is found and its program can be run.
  auto usable = [&](const std::string& id) {
    auto exec = DesktopEntryExec(FindDesktopEntry(id));
    return exec && ProgramExists(ExecProgram(*exec));
  };
  auto fromList = [&](const std::string& path) -> std::string {
    std::string text;
    if (!ReadWholeFile(path, text, MaxXdgFileSize)) return "";
    auto value = TKeyFileLines(text).Get(DefaultGroup, mimeType);
    if (!value) return "";
    for (auto& id : ListItems(*value))
      if (usable(id)) return id;
    return "";
  };
  std::vector<std::string> listDirs{Dirs_.ConfigHome};
  listDirs.insert(listDirs.end(), Dirs_.ConfigDirs.begin(), Dirs_.ConfigDirs.end());
  listDirs.push_back(Dirs_.DataHome + "/applications");
  for (auto& dir : Dirs_.DataDirs) listDirs.push_back(dir + "/applications");
  for (auto& dir : listDirs) {
    for (auto& desktop : Dirs_.Desktops)
      if (auto id = fromList(dir + "/" + desktop + "-mimeapps.list"); !id.empty()) return id;
    if (auto id = fromList(dir + "/mimeapps.list"); !id.empty()) return id;
  }
  // Older desktops: defaults.list, then the cache of the applications' declared types.
  std::vector<std::string> dataDirs{Dirs_.DataHome};
  dataDirs.insert(dataDirs.end(), Dirs_.DataDirs.begin(), Dirs_.DataDirs.end());
  for (auto& dir : dataDirs) {
    for (const char* file : {"defaults.list", "mimeinfo.cache"}) {
      std::string text;
      if (!ReadWholeFile(dir + "/applications/" + file, text, MaxXdgFileSize)) continue;
      TKeyFileLines lines(text);
      for (const char* group : {DefaultGroup, "MIME Cache"}) {
        auto value = lines.Get(group, mimeType);
        if (!value) continue;
        auto ids = ListItems(*value);
        if (!ids.empty() && !FindDesktopEntry(ids[0]).empty()) return ids[0];
      }
    }
  }
  return "";
}

std::vector<std::string> TXdgClassRegistry::UserMimeAppsLists() const {
  std::vector<std::string> lists;
  for (const std::string& dir : {Dirs_.ConfigHome, Dirs_.DataHome + "/applications"}) {
    for (auto& desktop : Dirs_.Desktops) lists.push_back(dir + "/" + desktop + "-mimeapps.list");
    lists.push_back(dir + "/mimeapps.list");
  }
  return lists;
}

bool TXdgClassRegistry::EditMimeApps(const std::string& path, const std::function<bool(TKeyFileLines&)>& edit,
                                     bool create) {
  std::string text;
  if (!ReadWholeFile(path, text, MaxXdgFileSize) && (!create || IsFile(path))) return false;
  TKeyFileLines lines(text);
  if (!edit(lines)) return false;
  return WriteText(path, lines.Text());
}

namespace {

// Adds `id` to the end of the list of `key` in `group`; false when it is there already.
bool AddToList(TKeyFileLines& lines, const char* group, const std::string& key, const std::string& id) {
  auto items = ListItems(lines.Get(group, key).value_or(""));
  if (std::find(items.begin(), items.end(), id) != items.end()) return false;
  items.push_back(id);
  lines.Set(group, key, JoinList(items));
  return true;
}

bool RemoveFromList(TKeyFileLines& lines, const char* group, const std::string& key, const std::string& id) {
  auto value = lines.Get(group, key);
  if (!value) return false;
  auto items = ListItems(*value);
  auto it = std::find(items.begin(), items.end(), id);
  if (it == items.end()) return false;
  items.erase(it);
  if (items.empty()) lines.Remove(group, key);
  else lines.Set(group, key, JoinList(items));
  return true;
}

std::string EntryText(const std::string& name, const std::string& exec, const std::string& icon,
                      const std::vector<std::string>& mimeTypes, bool hidden) {
  std::string s = "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + EscapeDesktopString(exec) +
                  "\nIcon=" + icon + "\nTerminal=false\n";
  if (hidden) s += "NoDisplay=true\n";
  else s += "Categories=Graphics;3DGraphics;Viewer;\n";
  s += "MimeType=" + JoinList(mimeTypes) + "\n";
  return s;
}

}  // namespace

bool TXdgClassRegistry::WriteOpenCommand(const std::string& mimeType, const std::string& command) {
  const std::string exec = ExecArgument(CommandProgram(command)) + " %f";
  const std::string entryPath = Dirs_.DataHome + "/applications/" + Options_.ViewerDesktopId;
  std::string text;
  if (ReadWholeFile(entryPath, text, MaxXdgFileSize)) {
    TKeyFileLines entry(text);
    entry.Set(EntryGroup, "Exec", EscapeDesktopString(exec));
    auto types = ListItems(entry.Get(EntryGroup, "MimeType").value_or(""));
    if (std::find(types.begin(), types.end(), mimeType) == types.end()) types.push_back(mimeType);
    entry.Set(EntryGroup, "MimeType", JoinList(types));
    if (!WriteText(entryPath, entry.Text())) return false;
  } else if (!WriteText(entryPath, EntryText(Options_.ViewerName, exec, Options_.ViewerIcon, {mimeType}, false))) {
    return false;
  }
  const std::string id = Options_.ViewerDesktopId;
  bool ok = EditMimeApps(UserMimeAppsList(), [&](TKeyFileLines& lines) {
    RemoveFromList(lines, RemovedGroup, mimeType, id);
    lines.Set(DefaultGroup, mimeType, id + ";");
    return true;
  }, true);
  // A desktop's own list that names a default for the type would win over ours.
  for (auto& list : UserMimeAppsLists()) {
    if (list == UserMimeAppsList()) continue;
    EditMimeApps(list, [&](TKeyFileLines& lines) {
      if (!lines.Get(DefaultGroup, mimeType)) return false;
      lines.Set(DefaultGroup, mimeType, id + ";");
      return true;
    }, false);
  }
  return ok;
}

bool TXdgClassRegistry::DeleteOpenCommand(const std::string& mimeType) {
  bool changed = false;
  for (auto& list : UserMimeAppsLists())
    changed |= EditMimeApps(list, [&](TKeyFileLines& lines) { return lines.Remove(DefaultGroup, mimeType); }, false);
  // The viewer's own entry no longer offers itself for the type.
  const std::string entryPath = Dirs_.DataHome + "/applications/" + Options_.ViewerDesktopId;
  std::string text;
  if (ReadWholeFile(entryPath, text, MaxXdgFileSize)) {
    TKeyFileLines entry(text);
    auto types = ListItems(entry.Get(EntryGroup, "MimeType").value_or(""));
    auto it = std::find(types.begin(), types.end(), mimeType);
    if (it != types.end()) {
      types.erase(it);
      entry.Set(EntryGroup, "MimeType", JoinList(types));
      changed |= WriteText(entryPath, entry.Text());
    }
  }
  return changed;
}

bool TXdgClassRegistry::HasViewEntry(const std::string& mimeType) const {
  const std::string id = ViewDesktopId(mimeType);
  if (!IsFile(Dirs_.DataHome + "/applications/" + id)) return false;
  for (auto& list : UserMimeAppsLists()) {
    std::string text;
    if (!ReadWholeFile(list, text, MaxXdgFileSize)) continue;
    auto items = ListItems(TKeyFileLines(text).Get(AddedGroup, mimeType).value_or(""));
    if (std::find(items.begin(), items.end(), id) != items.end()) return true;
  }
  return false;
}

bool TXdgClassRegistry::WriteViewCommand(const std::string& mimeType, const std::string& command) {
  const std::string id = ViewDesktopId(mimeType);
  const std::string exec = ExecArgument(CommandProgram(command)) + " %f";
  if (!WriteText(Dirs_.DataHome + "/applications/" + id, EntryText(ViewVerb, exec, Options_.ViewerIcon, {mimeType}, true)))
    return false;
  EditMimeApps(UserMimeAppsList(), [&](TKeyFileLines& lines) {
    RemoveFromList(lines, RemovedGroup, mimeType, id);
    AddToList(lines, AddedGroup, mimeType, id);
    return true;
  }, true);
  return HasViewEntry(mimeType);
}

bool TXdgClassRegistry::DeleteViewCommand(const std::string& mimeType) {
  const std::string id = ViewDesktopId(mimeType);
  bool changed = false;
  for (auto& list : UserMimeAppsLists())
    changed |= EditMimeApps(list, [&](TKeyFileLines& lines) { return RemoveFromList(lines, AddedGroup, mimeType, id); },
                            false);
  std::error_code ec;
  changed |= fs::remove(Dirs_.DataHome + "/applications/" + id, ec);
  return changed;
}

namespace {

// Icon sizes of a hicolor theme folder that hold a file-type icon: "48x48", "scalable", ...
std::vector<std::string> ThemeSizes(const std::string& theme) {
  std::vector<std::string> sizes;
  std::error_code ec;
  for (auto& entry : fs::directory_iterator(theme, ec))
    if (entry.is_directory(ec)) sizes.push_back(entry.path().filename().string());
  std::sort(sizes.begin(), sizes.end());
  return sizes;
}

}  // namespace

bool TXdgClassRegistry::WriteIcon(const std::string& mimeType, const std::string& iconValue) {
  // "<program>,<n>": the n-th icon of the program's list; the file types have icons 1 and 6.
  size_t comma = iconValue.rfind(',');
  if (comma == std::string::npos || Options_.IconTheme.empty()) return false;
  std::string number = Trim(iconValue.substr(comma + 1));
  std::string source;
  if (number == "1") source = "application-x-quorvela-mnf";
  else if (number == "6") source = "application-x-quorvela-mvf";
  else if (number == "0") source = Options_.ViewerIcon;
  else return false;
  const std::string folder = number == "0" ? "apps" : "mimetypes";
  bool any = false;
  for (auto& size : ThemeSizes(Options_.IconTheme)) {
    for (const char* ext : {".png", ".svg"}) {
      std::string from = Options_.IconTheme + "/" + size + "/" + folder + "/" + source + ext;
      std::string bytes;
      if (!IsFile(from) || !ReadWholeFile(from, bytes)) continue;
      std::string to = Dirs_.DataHome + "/icons/hicolor/" + size + "/mimetypes/" + Dashed(mimeType) + ext;
      any |= WriteText(to, bytes);
    }
  }
  return any;
}

bool TXdgClassRegistry::HasIcon(const std::string& mimeType) const {
  for (auto& size : ThemeSizes(Dirs_.DataHome + "/icons/hicolor"))
    for (const char* ext : {".png", ".svg"})
      if (IsFile(Dirs_.DataHome + "/icons/hicolor/" + size + "/mimetypes/" + Dashed(mimeType) + ext)) return true;
  return false;
}

bool TXdgClassRegistry::DeleteIcon(const std::string& mimeType) {
  bool any = false;
  std::error_code ec;
  for (auto& size : ThemeSizes(Dirs_.DataHome + "/icons/hicolor"))
    for (const char* ext : {".png", ".svg"})
      any |= fs::remove(Dirs_.DataHome + "/icons/hicolor/" + size + "/mimetypes/" + Dashed(mimeType) + ext, ec);
  return any;
}

// ---------------------------------------------------------------------------------------------------

bool TXdgClassRegistry::KeyExists(const std::string& key) {
  auto k = ParseKey(key);
  if (!k) return false;
  switch (k->Kind) {
    case TKey::Extension: return !MimeTypeOfExtension(k->Name).empty();
    case TKey::Class: return MimeTypeKnown(k->Name);
    case TKey::Icon: return HasIcon(k->Name);
    case TKey::Shell: return !DefaultDesktopId(k->Name).empty() || HasViewEntry(k->Name);
    case TKey::Verb:
    case TKey::Command: return k->IsView ? HasViewEntry(k->Name) : !DefaultDesktopId(k->Name).empty();
  }
  return false;
}

bool TXdgClassRegistry::ReadDefault(const std::string& key, std::string& value) {
  auto k = ParseKey(key);
  if (!k) return false;
  switch (k->Kind) {
    case TKey::Extension:
      value = MimeTypeOfExtension(k->Name);
      return !value.empty();
    case TKey::Class:
      if (!MimeTypeKnown(k->Name)) return false;
      value = MimeTypeComment(k->Name);
      return true;
    case TKey::Icon:
      if (!HasIcon(k->Name)) return false;
      value = Dashed(k->Name);
      return true;
    case TKey::Shell:
    case TKey::Verb:
      if (!KeyExists(key)) return false;
      value.clear();
      return true;
    case TKey::Command: {
      std::string path;
      if (k->IsView) {
        if (!HasViewEntry(k->Name)) return false;
        path = Dirs_.DataHome + "/applications/" + ViewDesktopId(k->Name);
      } else {
        path = FindDesktopEntry(DefaultDesktopId(k->Name));
      }
      auto exec = DesktopEntryExec(path);
      if (!exec) return false;
      value = *exec;
      return true;
    }
  }
  return false;
}

bool TXdgClassRegistry::WriteDefault(const std::string& key, const std::string& value) {
  auto k = ParseKey(key);
  if (!k) return false;
  switch (k->Kind) {
    case TKey::Extension: {
      // The class name the viewer chooses ("Quorvela.MNF") becomes the type application/x-quorvela-mnf.
      std::string sub;
      for (char c : Lower(value)) sub += std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' ? c : '-';
      if (sub.empty()) return false;
      const std::string type = "application/x-" + sub;
      return WriteOwnPackage(type, Lower("*" + k->Name), MimeTypeComment(type));
    }
    case TKey::Class: {
      std::string xml;
      if (!ReadWholeFile(OwnPackagePath(k->Name), xml, MaxXdgFileSize)) return false;  // not ours to describe
      auto glob = XmlAttribute(xml, "glob", "pattern");
      return glob && WriteOwnPackage(k->Name, *glob, value);
    }
    case TKey::Icon: return WriteIcon(k->Name, value);
    case TKey::Command: return k->IsView ? WriteViewCommand(k->Name, value) : WriteOpenCommand(k->Name, value);
    case TKey::Shell:
    case TKey::Verb: return false;
  }
  return false;
}

bool TXdgClassRegistry::DeleteKey(const std::string& key) {
  auto k = ParseKey(key);
  if (!k) return false;
  switch (k->Kind) {
    case TKey::Extension: return false;  // other programs' types are not ours to remove
    case TKey::Class: {
      std::error_code ec;
      bool removed = fs::remove(OwnPackagePath(k->Name), ec);
      if (removed) RefreshMimeDatabase();
      return removed;
    }
    case TKey::Icon: return DeleteIcon(k->Name);
    case TKey::Shell: {
      bool a = DeleteOpenCommand(k->Name);
      bool b = DeleteViewCommand(k->Name);
      return a || b;
    }
    case TKey::Verb:
    case TKey::Command: return k->IsView ? DeleteViewCommand(k->Name) : DeleteOpenCommand(k->Name);
  }
  return false;
}

}  // namespace qv
