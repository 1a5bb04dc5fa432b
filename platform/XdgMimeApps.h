// mimeapps.list: which applications the desktop opens MIME types with. The lists are read as GLib
// key files. The user's lists are edited line by line (TKeyFileLines): GLib keeps their comments but
// writes a key file back in its own layout (blank lines added between groups and after a leading
// comment, CR LF line ends and the blanks around "=" dropped, a key added after the group's trailing
// blank line, a group left without keys kept), and refuses a whole file for one line it does not
// accept.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/XdgDirs.h"

namespace qv {

inline constexpr const char* DefaultApplicationsGroup = "Default Applications";
inline constexpr const char* AddedAssociationsGroup = "Added Associations";
inline constexpr const char* RemovedAssociationsGroup = "Removed Associations";

// The lines of a key file kept as they are, so that an edit changes only the lines it must.
class TKeyFileLines {
public:
  explicit TKeyFileLines(const std::string& text = "");
  std::optional<std::string> Get(const std::string& group, const std::string& key) const;
  // Replaces the value in place, or adds the key at the end of its group, or the group at the end.
  void Set(const std::string& group, const std::string& key, const std::string& value);
  // Removes the key's line, and the group when no key is left in it.
  bool Remove(const std::string& group, const std::string& key);
  std::string Text() const;

  // Adds `id` to the end of the ";"-list of `key`; false when it is there already.
  bool AddToList(const std::string& group, const std::string& key, const std::string& id);
  // Takes `id` out of the list, and the key when the list is left empty; false when it was not there.
  bool RemoveFromList(const std::string& group, const std::string& key, const std::string& id);

private:
  // Index of the group's header line, or -1.
  int FindGroup(const std::string& group) const;
  // Index of the key's line within the group, or -1.
  int FindKey(int groupLine, const std::string& key) const;

  std::vector<std::string> Lines_;
  std::string Newline_ = "\n";
  bool FinalNewline_ = true;
};

// The user's lists, as the desktop reads them: the desktops' own lists before the common one, in
// ConfigHome, then in DataHome/applications.
std::vector<std::string> UserMimeAppsLists(const TXdgDirs& dirs);
// The user's common list, ConfigHome/mimeapps.list, which the viewer writes its choices into.
std::string UserMimeAppsList(const TXdgDirs& dirs);

// Edits the list at `path` line by line and writes it back when `edit` returns true; a missing list is
// started only with `create`. False when nothing was written.
bool EditMimeApps(const std::string& path, const std::function<bool(TKeyFileLines&)>& edit, bool create);

// The desktop entry id of the application the desktop opens the type with, or empty: the first
// startable entry of the type's defaults in the lists of the user's, the system's and the data
// folders, in the desktop's order; failing that, the first entry of defaults.list or mimeinfo.cache.
std::string DefaultDesktopId(const TXdgDirs& dirs, const std::string& mimeType);
// Whether one of the user's lists adds `desktopId` to the type's associations.
bool IsAddedAssociation(const TXdgDirs& dirs, const std::string& mimeType, const std::string& desktopId);

}  // namespace qv
