// The shared MIME database as the file associations use it: the MIME type of an extension, the user's
// MIME packages for the types the viewer creates, and the types' icons in the user's icon theme.
#pragma once
#include <string>

#include "platform/XdgDirs.h"

namespace qv {

// The MIME type whose glob is "*<extension>" (any letter case), or empty: the user's database first,
// then the viewer's own packages (for a database that could not be compiled), then the system's.
std::string MimeTypeOfExtension(const TXdgDirs& dirs, const std::string& extension);

// The user's MIME package the viewer writes for a type it creates.
std::string OwnMimePackagePath(const TXdgDirs& dirs, const std::string& mimeType);
// Writes that package (type, comment, glob); with `refresh`, then compiles the user's database.
bool WriteOwnMimePackage(const TXdgDirs& dirs, const std::string& mimeType, const std::string& glob,
                         const std::string& comment, bool refresh);

// Copies the file-type icon `iconName` in every size of the hicolor theme folder `iconTheme` into the
// user's theme as the type's icon; false when there was none to copy.
bool InstallMimeTypeIcon(const TXdgDirs& dirs, const std::string& iconTheme, const std::string& iconName,
                         const std::string& mimeType);
// Removes the type's icons from the user's theme; false when there were none.
bool RemoveMimeTypeIcon(const TXdgDirs& dirs, const std::string& mimeType);

}  // namespace qv
