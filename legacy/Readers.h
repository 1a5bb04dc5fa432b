// The readers of the older document versions. Each opens the file itself, fills a document that the
// caller has just reset, and returns false only when the file cannot be read at all (it cannot be
// opened, or a headerless file's size is no whole number of records). A file that ends early keeps
// what was read, and the user is told once.
#pragma once
#include <string>

namespace qv {

class TManifold;

bool LoadVersion540(const std::string& path, TManifold& doc);
bool LoadVersion530(const std::string& path, TManifold& doc);
bool LoadVersion520(const std::string& path, TManifold& doc);
// Versions 5.10 and 5.00 share one layout.
bool LoadVersion500(const std::string& path, TManifold& doc);

bool LoadVersion420(const std::string& path, TManifold& doc);
bool LoadVersion415(const std::string& path, TManifold& doc);
bool LoadVersion410(const std::string& path, TManifold& doc);
bool LoadVersion400(const std::string& path, TManifold& doc);

bool LoadVersion300(const std::string& path, TManifold& doc);
bool LoadVersion200(const std::string& path, TManifold& doc);
bool LoadVersion100(const std::string& path, TManifold& doc);

}  // namespace qv
