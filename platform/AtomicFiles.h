// Files that a reader must never see half written (settings, desktop entries, MIME packages): the new
// content goes to a temporary file in the same folder, which then replaces the old one by rename.
#pragma once
#include <string>
#include <string_view>

namespace qv {

// Replaces (or creates) `path` with `bytes`. An existing file keeps its permission bits; a new one gets
// 0644. False with `error` set to the system's message when it cannot be written; the old file, if
// any, is then left as it was. With `waitForDisk` the content is on the disk before the call returns;
// without, the call does not wait (which can take a second on a busy disk): the file systems that
// replace a file by rename write its new content first, so a crash loses at most the newest content.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error,
                         bool waitForDisk = true);

// The whole file, or false when it cannot be read. At most `limit` bytes are taken.
bool ReadWholeFile(const std::string& path, std::string& bytes, size_t limit = 16u << 20);

}  // namespace qv
