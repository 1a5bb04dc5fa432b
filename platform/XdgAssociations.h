// The registry of file classes on the Linux desktop: the freedesktop shared MIME database, desktop
// entries and mimeapps.list.
//
//   extension key ".mnf"             the MIME type whose glob is "*.mnf" (any letter case); writing it
//                                    creates the type application/x-<value> in the user's MIME packages
//   class key                        the MIME type; its default value is the type's comment
//   class\DefaultIcon                the type's icon in the user's icon theme (our file-type icons)
//   class\shell\Open\command         the type's default application (mimeapps.list) and its Exec line;
//                                    writing it makes the viewer's desktop entry the default
//   class\shell\Isometric View\...   a desktop entry "Isometric View" added to the type's associations
//
// Everything is written per user, under $XDG_DATA_HOME and $XDG_CONFIG_HOME, each file atomically;
// the lines of mimeapps.list that are not ours stay as they were, in their order. Reading follows
// the freedesktop order of user and system folders.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ClassRegistry.h"

namespace qv {

struct TXdgDirs {
  std::string DataHome;                 // $XDG_DATA_HOME or ~/.local/share
  std::string ConfigHome;               // $XDG_CONFIG_HOME or ~/.config
  std::vector<std::string> DataDirs;    // $XDG_DATA_DIRS or /usr/local/share, /usr/share
  std::vector<std::string> ConfigDirs;  // $XDG_CONFIG_DIRS or /etc/xdg
  std::vector<std::string> Desktops;    // $XDG_CURRENT_DESKTOP, lower case

  static TXdgDirs FromEnvironment();
};

struct TXdgOptions {
  std::string ViewerDesktopId = "quorvela-viewer.desktop";
  std::string ViewerName = "Quorvela 3D Viewer";
  std::string ViewerIcon = "quorvela-viewer";
  // A hicolor icon theme folder holding the viewer's file-type icons (<N>x<N>/mimetypes/*.png,
  // scalable/mimetypes/*.svg); empty: no icons to install.
  std::string IconTheme;
  // Runs update-mime-database on the user's MIME folder after changing a package.
  bool RefreshMimeDatabase = true;
};

// The lines of a desktop-style key file (mimeapps.list, desktop entries) kept as they are, so that an
// edit changes only the lines it must.
class TKeyFileLines {
public:
  explicit TKeyFileLines(const std::string& text = "");
  std::optional<std::string> Get(const std::string& group, const std::string& key) const;
  // Replaces the value in place, or adds the key at the end of its group, or the group at the end.
  void Set(const std::string& group, const std::string& key, const std::string& value);
  // Removes the key's line, and the group when no key is left in it.
  bool Remove(const std::string& group, const std::string& key);
  std::string Text() const;

private:
  // Index of the group's header line, or -1.
  int FindGroup(const std::string& group) const;
  // Index of the key's line within the group, or -1.
  int FindKey(int groupLine, const std::string& key) const;

  std::vector<std::string> Lines_;
  std::string Newline_ = "\n";
  bool FinalNewline_ = true;
};

// A string value of a desktop entry with its escapes (\s \n \t \r \\) undone.
std::string UnescapeDesktopString(const std::string& value);
// A program path as a desktop entry's Exec argument: quoted only when it holds a reserved character.
std::string ExecArgument(const std::string& program);
// The program of an Exec line: its first argument after the quoting rules.
std::string ExecProgram(const std::string& exec);
// A program as the desktop starts it: a bare name is the first executable file of that name in a
// folder of PATH; a path, or a name found in no folder, comes back as it is.
std::string FindProgramInPath(const std::string& program);

class TXdgClassRegistry : public TClassRegistry {
public:
  TXdgClassRegistry(TXdgDirs dirs, TXdgOptions options);

  bool KeyExists(const std::string& key) override;
  bool ReadDefault(const std::string& key, std::string& value) override;
  bool WriteDefault(const std::string& key, const std::string& value) override;
  bool DeleteKey(const std::string& key) override;

  // The MIME type that owns "*<extension>", or empty.
  std::string MimeTypeOfExtension(const std::string& extension) const;
  // The default application's desktop entry id of a MIME type, as the desktop picks it, or empty.
  std::string DefaultDesktopId(const std::string& mimeType) const;
  // The path of a desktop entry by its id, or empty.
  std::string FindDesktopEntry(const std::string& desktopId) const;
  // The desktop entry id of the "Isometric View" command of a MIME type.
  static std::string ViewDesktopId(const std::string& mimeType);
  // The user's MIME package the viewer writes for a type it creates.
  std::string OwnPackagePath(const std::string& mimeType) const;
  std::string UserMimeAppsList() const { return Dirs_.ConfigHome + "/mimeapps.list"; }

  const TXdgDirs& Dirs() const { return Dirs_; }

private:
  struct TKey;
  static std::optional<TKey> ParseKey(const std::string& key);
  bool MimeTypeKnown(const std::string& mimeType) const;
  std::string MimeTypeComment(const std::string& mimeType) const;
  bool WriteOwnPackage(const std::string& mimeType, const std::string& glob, const std::string& comment);
  bool WriteOpenCommand(const std::string& mimeType, const std::string& command);
  bool DeleteOpenCommand(const std::string& mimeType);
  bool WriteViewCommand(const std::string& mimeType, const std::string& command);
  bool DeleteViewCommand(const std::string& mimeType);
  bool HasViewEntry(const std::string& mimeType) const;
  bool WriteIcon(const std::string& mimeType, const std::string& iconValue);
  bool DeleteIcon(const std::string& mimeType);
  bool HasIcon(const std::string& mimeType) const;
  std::vector<std::string> UserMimeAppsLists() const;
  bool EditMimeApps(const std::string& path, const std::function<bool(TKeyFileLines&)>& edit, bool create);
  void RefreshMimeDatabase();

  TXdgDirs Dirs_;
  TXdgOptions Options_;
};

}  // namespace qv
