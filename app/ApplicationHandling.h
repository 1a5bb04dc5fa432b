// The application's identity (three process-wide strings) and its per-user folders and file names.
#pragma once
#include <string>

namespace qv {

extern const char* const ApplicationKey;   // "Quorvela3DViewer"
extern const char* const ApplicationYear;  // "2012"
extern const char* const CompanyName;      // "TAVO Engineering"
// Task bar and message boxes.
constexpr const char* ApplicationTitle = "Quorvela 3D Viewer";

// The system's temporary folder, with its trailing separator.
std::string GetTempDirectory();
// $XDG_DATA_HOME, by default ~/.local/share: the per-user local data folder.
std::string GetLocalAppDataDirectory();
// <local data>/TAVO/Quorvela3DViewer 2012/ (ends in exactly one separator).
std::string GetApplicationDataDirectory();
// <application data>/Ini/
std::string GetIniDirectory();
// Ini folder + the executable's base name with ".ini" / "_WindowPos.ini".
std::string GetIniFileName();
std::string GetWindowPosIniFileName();
// The folder of the running program, with its trailing separator.
std::string GetExecutableDirectory();

}  // namespace qv
