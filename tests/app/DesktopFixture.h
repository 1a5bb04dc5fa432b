// The desktop around the file-association tests: the design application owning *.mnf files under a
// MIME type of its own, in a private set of desktop folders.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace qv::test {

inline constexpr const char* DesignMimeType = "application/x-design-manifold";

inline void WriteDesktopFile(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// Its MIME package for `glob`, compiled into dataDir/mime, its desktop entry starting `program`, and
// the type's default in configDir/mimeapps.list. False when the MIME database cannot be compiled.
inline bool InstallDesignApplication(const std::string& dataDir, const std::string& configDir,
                                     const std::string& program, const std::string& glob = "*.mnf") {
  WriteDesktopFile(dataDir + "/mime/packages/design.xml",
                   "<?xml version=\"1.0\"?>\n<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                   "<mime-type type=\"application/x-design-manifold\"><comment>Manifold design</comment>"
                   "<glob pattern=\"" + glob + "\"/></mime-type>\n</mime-info>\n");
  if (std::system(("update-mime-database '" + dataDir + "/mime' >/dev/null 2>&1").c_str()) != 0) return false;
  WriteDesktopFile(dataDir + "/applications/quorvela-design.desktop",
                   "[Desktop Entry]\nType=Application\nName=Quorvela\nExec=" + program +
                       " %f\nMimeType=application/x-design-manifold;\n");
  WriteDesktopFile(configDir + "/mimeapps.list",
                   "[Default Applications]\napplication/x-design-manifold=quorvela-design.desktop;\n");
  return true;
}

}  // namespace qv::test
