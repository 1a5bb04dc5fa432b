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
// A folder of the user's own for the viewer's passing files (the clipboard picture, the help page),
// with its trailing separator: <$XDG_RUNTIME_DIR>/Quorvela3DViewer/ where the desktop provides a
// runtime folder, else <temporary folder>/Quorvela3DViewer-<uid>/. The folder is used only when it is
// a real folder (not a link) that this user owns and no one else may enter; one that another user
// made first under that name is passed over for a fresh one of a name no one can guess.
// Empty when none can be made.
std::string GetPrivateTempDirectory();
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
