// The readers of the older document versions. Each reads the bytes of a whole file, fills a document
// that the caller has just reset, and returns false only when the bytes cannot be read at all (a
// headerless file's size is no whole number of records). A file that ends early keeps what was read,
// and the user is told once. `path` is the name the messages give and the file whose time the project
// takes.
#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace qv {

class TManifold;

bool LoadVersion540(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc);
bool LoadVersion530(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc);
bool LoadVersion520(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc);
// Versions 5.10 and 5.00 share one layout.
bool LoadVersion500(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc);

bool LoadVersion420(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc);
bool LoadVersion415(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc);
bool LoadVersion410(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc);
bool LoadVersion400(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc);

bool LoadVersion300(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc);
bool LoadVersion200(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc);
bool LoadVersion100(std::span<const uint8_t> bytes, const std::string& path, TManifold& doc);

}  // namespace qv
