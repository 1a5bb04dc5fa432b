// The application's identity: the three strings that name it to the system, and its per-user folders.
#pragma once
#include <string>

namespace qv {

extern const char* const CompanyName;      // "TAVO"
extern const char* const ApplicationName;  // "Quorvela3DViewer 2012"
extern const char* const ApplicationTitle; // "Quorvela 3D Viewer"

// $XDG_DATA_HOME (by default ~/.local/share): the local application-data folder of this user.
std::string LocalAppDataFolder();
// <local application data>/TAVO/Quorvela3DViewer 2012/Ini/
std::string SettingsFolder();

}  // namespace qv
