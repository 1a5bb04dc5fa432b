#include "app/ApplicationHandling.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace qv {

const char* const ApplicationKey = "Quorvela3DViewer";
const char* const ApplicationYear = "2012";
const char* const CompanyName = "TAVO Engineering";

namespace {

std::filesystem::path ExecutablePath() {
  std::error_code ec;
  auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path("quorvela-viewer") : p;
}

std::string WithTrailingSeparator(std::string s) {
  if (!s.empty() && s.back() == '/') s.pop_back();
  return s + '/';
}

}  // namespace

std::string GetTempDirectory() {
  std::error_code ec;
  std::string dir = std::filesystem::temp_directory_path(ec).string();
  if (ec || dir.empty()) dir = "/tmp";
  if (dir.size() > 255) dir.resize(255);
  return WithTrailingSeparator(dir);
}

namespace {

// A folder that only this user can read or write: ours, not a link, no access for group or others.
bool IsOwnPrivateFolder(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
         (st.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

// The folder under `parent`, made with mode 0700 where it does not exist yet; empty when what
// stands there is not the user's own private folder.
std::string OwnFolder(const std::string& parent, const std::string& name) {
  const std::string path = WithTrailingSeparator(parent) + name;
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return {};
  return IsOwnPrivateFolder(path) ? WithTrailingSeparator(path) : std::string();
}

}  // namespace

std::string GetPrivateTempDirectory() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime == '/' && IsOwnPrivateFolder(runtime)) {
    const std::string own = OwnFolder(runtime, ApplicationKey);
    if (!own.empty()) return own;
  }
  const std::string temp = GetTempDirectory();
  const std::string name = std::string(ApplicationKey) + "-" + std::to_string(::geteuid());
  const std::string own = OwnFolder(temp, name);
  if (!own.empty()) return own;
  // The name is taken by someone else: a folder of this run's own, of a name no one can guess, made
  // again should the system clear it.
  static std::string fresh;
  if (fresh.empty() || !IsOwnPrivateFolder(fresh.substr(0, fresh.size() - 1))) {
    std::string pattern = temp + name + "-XXXXXX";
    fresh = ::mkdtemp(pattern.data()) ? WithTrailingSeparator(pattern) : std::string();
  }
  return fresh;
}

std::string GetLocalAppDataDirectory() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg == '/') return xdg;  // relative values are ignored, as the XDG rules say
  const char* home = std::getenv("HOME");
  if (!home || !*home) return "";
  return std::string(home) + "/.local/share";
}

std::string GetApplicationDataDirectory() {
  std::string company(CompanyName, 4);
  return WithTrailingSeparator(GetLocalAppDataDirectory() + "/" + company + "/" + ApplicationKey + " " +
                               ApplicationYear);
}

std::string GetIniDirectory() { return GetApplicationDataDirectory() + "Ini/"; }

std::string GetIniFileName() { return GetIniDirectory() + ExecutablePath().stem().string() + ".ini"; }

std::string GetWindowPosIniFileName() {
  return GetIniDirectory() + ExecutablePath().stem().string() + "_WindowPos.ini";
}

std::string GetExecutableDirectory() { return WithTrailingSeparator(ExecutablePath().parent_path().string()); }

}  // namespace qv
