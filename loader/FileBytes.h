// A document file read into memory in one pass, for the readers to work on.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// Reads the whole regular file `path` into `bytes`. False, with `bytes` empty, when the file cannot
// be opened or is no regular file (a folder, a pipe, a device): such a file is never opened for
// reading, so nothing can wait on it. At most the size the file had when it was opened is read: a
// file that grows meanwhile cannot make the read go on. Throws TReadError when the operating system
// fails while reading.
bool ReadFileBytes(const std::string& path, std::vector<uint8_t>& bytes);

}  // namespace qv
