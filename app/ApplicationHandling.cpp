#include "app/ApplicationHandling.h"

#include <cstdlib>

namespace qv {

const char* const CompanyName = "TAVO";
const char* const ApplicationName = "Quorvela3DViewer 2012";
const char* const ApplicationTitle = "Quorvela 3D Viewer";

std::string LocalAppDataFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg == '/') return xdg;
  const char* home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.local/share";
}

std::string SettingsFolder() {
  return LocalAppDataFolder() + "/" + CompanyName + "/" + ApplicationName + "/Ini/";
}

}  // namespace qv
