#include "platform/XdgAssociations.h"

#include <cctype>
#include <filesystem>

#include "platform/XdgDesktopEntries.h"
#include "platform/XdgMimeApps.h"
#include "platform/XdgMimeTypes.h"

namespace qv {

namespace {

// The MIME type the viewer creates for a type name: "Quorvela.MVF" is application/x-quorvela-mvf.
std::string MimeTypeForName(const std::string& name) {
  std::string sub;
  for (char c : Lower(name)) sub += std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' ? c : '-';
  return sub.empty() ? "" : "application/x-" + sub;
}

}  // namespace

TXdgAssociations::TXdgAssociations(TXdgDirs dirs, TXdgOptions options)
    : Dirs_(std::move(dirs)), Options_(std::move(options)) {}

std::string TXdgAssociations::ViewDesktopId(const std::string& mimeType) {
  return "quorvela-isometric-view-" + Dashed(mimeType) + ".desktop";
}

std::string TXdgAssociations::OwnEntryPath(const std::string& desktopId) const {
  return Dirs_.DataHome + "/applications/" + desktopId;
}

// ---- file types ----

std::optional<std::string> TXdgAssociations::FileType(const std::string& extension) {
  std::string type = MimeTypeOfExtension(Dirs_, extension);
  if (type.empty()) return std::nullopt;
  return type;
}

bool TXdgAssociations::CreateFileType(const std::string& extension, const std::string& name,
                                      const std::string& description) {
  const std::string type = MimeTypeForName(name);
  return !type.empty() &&
         WriteOwnMimePackage(Dirs_, type, Lower("*" + extension), description, Options_.RefreshMimeDatabase);
}

// ---- commands ----

std::optional<std::string> TXdgAssociations::Command(const std::string& type, TVerb verb) {
  if (verb == TVerb::View)
    return HasViewEntry(type) ? DesktopEntryExec(OwnEntryPath(ViewDesktopId(type))) : std::nullopt;
  return DesktopEntryExec(FindDesktopEntry(Dirs_, DefaultDesktopId(Dirs_, type)));
}

bool TXdgAssociations::SetCommand(const std::string& type, TVerb verb, const TFileCommand& command) {
  const std::string exec = ExecArgument(command.Program) + " %f";
  return verb == TVerb::View ? SetViewCommand(type, exec) : SetOpenCommand(type, exec);
}

bool TXdgAssociations::RemoveCommand(const std::string& type, TVerb verb) {
  return verb == TVerb::View ? RemoveViewCommand(type) : RemoveOpenCommand(type);
}

bool TXdgAssociations::SetOpenCommand(const std::string& mimeType, const std::string& exec) {
  const std::string id = Options_.ViewerDesktopId;
  if (!UpdateDesktopEntry(OwnEntryPath(id), {Options_.ViewerName, exec, Options_.ViewerIcon, false, {mimeType}}))
    return false;
  bool ok = EditMimeApps(UserMimeAppsList(Dirs_), [&](TKeyFileLines& lines) {
    lines.RemoveFromList(RemovedAssociationsGroup, mimeType, id);
    lines.Set(DefaultApplicationsGroup, mimeType, id + ";");
    return true;
  }, true);
  // A desktop's own list that names a default for the type would win over ours.
  for (auto& list : UserMimeAppsLists(Dirs_)) {
    if (list == UserMimeAppsList(Dirs_)) continue;
    EditMimeApps(list, [&](TKeyFileLines& lines) {
      if (!lines.Get(DefaultApplicationsGroup, mimeType)) return false;
      lines.Set(DefaultApplicationsGroup, mimeType, id + ";");
      return true;
    }, false);
  }
  return ok;
}

bool TXdgAssociations::RemoveOpenCommand(const std::string& mimeType) {
  bool changed = false;
  for (auto& list : UserMimeAppsLists(Dirs_))
    changed |= EditMimeApps(list, [&](TKeyFileLines& lines) { return lines.Remove(DefaultApplicationsGroup, mimeType); },
                            false);
  // The viewer's own entry no longer offers itself for the type.
  changed |= RemoveMimeTypeFromEntry(OwnEntryPath(Options_.ViewerDesktopId), mimeType);
  return changed;
}

bool TXdgAssociations::HasViewEntry(const std::string& mimeType) const {
  const std::string id = ViewDesktopId(mimeType);
  return IsFile(OwnEntryPath(id)) && IsAddedAssociation(Dirs_, mimeType, id);
}

bool TXdgAssociations::SetViewCommand(const std::string& mimeType, const std::string& exec) {
  const std::string id = ViewDesktopId(mimeType);
  if (!WriteDesktopEntry(OwnEntryPath(id), {ViewVerb, exec, Options_.ViewerIcon, true, {mimeType}})) return false;
  EditMimeApps(UserMimeAppsList(Dirs_), [&](TKeyFileLines& lines) {
    lines.RemoveFromList(RemovedAssociationsGroup, mimeType, id);
    lines.AddToList(AddedAssociationsGroup, mimeType, id);
    return true;
  }, true);
  return HasViewEntry(mimeType);
}

bool TXdgAssociations::RemoveViewCommand(const std::string& mimeType) {
  const std::string id = ViewDesktopId(mimeType);
  bool changed = false;
  for (auto& list : UserMimeAppsLists(Dirs_))
    changed |= EditMimeApps(
        list, [&](TKeyFileLines& lines) { return lines.RemoveFromList(AddedAssociationsGroup, mimeType, id); }, false);
  std::error_code ec;
  changed |= std::filesystem::remove(OwnEntryPath(id), ec);
  return changed;
}

// ---- icons ----

bool TXdgAssociations::SetIcon(const std::string& type, TFileIcon icon) {
  const char* name = icon == TFileIcon::ViewerFile ? "application-x-quorvela-mvf" : "application-x-quorvela-mnf";
  return InstallMimeTypeIcon(Dirs_, Options_.IconTheme, name, type);
}

bool TXdgAssociations::RemoveIcon(const std::string& type) { return RemoveMimeTypeIcon(Dirs_, type); }

}  // namespace qv
