// The file associations on the Linux desktop: the freedesktop shared MIME database, desktop entries
// and mimeapps.list.
//
//   file type of an extension   the MIME type whose glob is "*.mnf" (any letter case); creating one
//                               writes the type application/x-<name> into the user's MIME packages
//   Open command                the type's default application (mimeapps.list) and its Exec line;
//                               setting it makes the viewer's desktop entry the default
//   View command                a desktop entry "Isometric View" added to the type's associations
//   icon                        the type's icon in the user's icon theme (the viewer's file-type icons)
//
// Everything is written per user, under $XDG_DATA_HOME and $XDG_CONFIG_HOME, each file atomically;
// the lines of mimeapps.list that are not ours stay as they were, in their order. Reading follows
// the freedesktop order of user and system folders.
//
// The folders are given, not taken from GLib: GLib reads them once per process and keeps what it
// found in mimeapps.list and the applications folders until its file monitors notice a change, so
// its own lookup of a default application can miss what was written a moment before.
#pragma once
#include <string>

#include "platform/FileAssociations.h"
#include "platform/XdgDirs.h"

namespace qv {

struct TXdgOptions {
  std::string ViewerDesktopId = "quorvela-viewer.desktop";
  std::string ViewerName = "Quorvela 3D Viewer";
  std::string ViewerIcon = "quorvela-viewer";
  // A hicolor icon theme folder holding the viewer's file-type icons (<N>x<N>/mimetypes/*.png,
  // scalable/mimetypes/*.svg); empty: no icons to install.
  std::string IconTheme;
  // Runs update-mime-database on the user's MIME folder after writing a package.
  bool RefreshMimeDatabase = true;
};

class TXdgAssociations : public TFileAssociations {
public:
  TXdgAssociations(TXdgDirs dirs, TXdgOptions options);

  std::optional<std::string> FileType(const std::string& extension) override;
  bool CreateFileType(const std::string& extension, const std::string& name, const std::string& description) override;
  std::optional<std::string> Command(const std::string& type, TVerb verb) override;
  bool SetCommand(const std::string& type, TVerb verb, const TFileCommand& command) override;
  bool RemoveCommand(const std::string& type, TVerb verb) override;
  bool SetIcon(const std::string& type, TFileIcon icon) override;
  bool RemoveIcon(const std::string& type) override;

  // The desktop entry id of the "Isometric View" command of a MIME type.
  static std::string ViewDesktopId(const std::string& mimeType);

private:
  std::string OwnEntryPath(const std::string& desktopId) const;
  bool HasViewEntry(const std::string& mimeType) const;
  bool SetOpenCommand(const std::string& mimeType, const std::string& exec);
  bool RemoveOpenCommand(const std::string& mimeType);
  bool SetViewCommand(const std::string& mimeType, const std::string& exec);
  bool RemoveViewCommand(const std::string& mimeType);

  TXdgDirs Dirs_;
  TXdgOptions Options_;
};

}  // namespace qv
