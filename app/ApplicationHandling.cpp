#include "app/ApplicationHandling.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

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
