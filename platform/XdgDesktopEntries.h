// Desktop entries as the file associations use them: other programs' entries, found by their ids and
// judged as the desktop judges them, and the viewer's own entries (its application entry and the
// "Isometric View" entries), written as GLib key files.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/XdgDirs.h"

namespace qv {

// The path of a desktop entry by its id, or empty: in DataHome, then DataDirs, each under
// applications/, "vendor-name.desktop" also as vendor/name.desktop.
std::string FindDesktopEntry(const TXdgDirs& dirs, const std::string& desktopId);
// Whether the desktop would start the entry: an application whose TryExec and Exec programs exist.
bool IsStartableEntry(const std::string& path);
// The entry's Exec line, escapes undone, or no value.
std::optional<std::string> DesktopEntryExec(const std::string& path);

// A program path as a desktop entry's Exec argument: quoted only when it holds a reserved character.
std::string ExecArgument(const std::string& program);

struct TDesktopEntry {
  std::string Name, Exec, Icon;
  bool Hidden = false;  // offered for its types only, not in the menus
  std::vector<std::string> MimeTypes;
};

bool WriteDesktopEntry(const std::string& path, const TDesktopEntry& entry);
// Where an entry that GLib reads is at `path`, sets its Exec and adds the entry's MIME types to its
// own, keeping everything else; otherwise writes `entry`.
bool UpdateDesktopEntry(const std::string& path, const TDesktopEntry& entry);
// Takes the type out of the entry's MIME types; false when it was not there or cannot be written.
bool RemoveMimeTypeFromEntry(const std::string& path, const std::string& mimeType);

}  // namespace qv
