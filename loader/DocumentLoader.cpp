#include "loader/DocumentLoader.h"

#include <cstring>
#include <filesystem>
#include <unistd.h>
#include <vector>

#include "legacy/Readers.h"
#include "loader/FileBytes.h"
#include "model/DateTimes.h"
#include "model/Manifolds.h"

namespace qv {

namespace {

struct TVersionText {
  const char* Text;
  int Code;
};
constexpr TVersionText VersionTexts[] = {
    {"7.00", Version700}, {"8.01", Version801}, {"7.01", Version701}, {"5.40", Version540},
    {"5.30", Version530}, {"5.20", Version520}, {"5.10", Version510}, {"5.00", Version500},
    {"4.20", Version420}, {"4.15", Version415}, {"4.10", Version410}, {"4.00", Version400},
};

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  auto abs = std::filesystem::absolute(path, ec);
  return ec ? path : abs.lexically_normal().string();
}

// What every load does around its reader: the document is reset and takes the file's time first,
// and is given the file's name on every way out.
class TLoadScope {
public:
  TLoadScope(TManifold& doc, const std::string& path) : Doc(doc), Path(path) {
    doc.Reset();
    // The design application takes the file's time only when it could open the file for writing.
    double written;
    if (::access(path.c_str(), W_OK) == 0 && FileWriteTime(path, written)) doc.FileTime = written;
  }
  ~TLoadScope() { Doc.FileName = AbsolutePath(Path); }
  TLoadScope(const TLoadScope&) = delete;
  TLoadScope& operator=(const TLoadScope&) = delete;

private:
  TManifold& Doc;
  const std::string& Path;
};

// The refusal of a file that no reader accepts; with the user's Yes its bytes are read like a 1.00
// file. `bytes` is null when the file could not be opened: then there is nothing to read.
bool Refuse(TManifold& doc, const std::span<const uint8_t>* bytes, const std::string& path) {
  doc.Messages().ShowError("Cannot read \"" + path + "\"!" + CR + "The file was created by an incompatible version.");
  if (!doc.Messages().AskYesNo("Do you wish to read the file like a 1.00 file?")) return false;
  return bytes && LoadVersion100(*bytes, path, doc);
}

bool LoadBytes(TManifold& doc, const std::span<const uint8_t>* bytes, const std::string& path, bool viewerFile) {
  const int version = bytes ? DetectFileVersion(*bytes) : VersionUnknown;
  switch (version) {
    case Version700: return doc.LoadTagged(*bytes, path, viewerFile);
    case Version801: return doc.LoadRecordImage(*bytes, path);
    case Version200: return LoadVersion200(*bytes, path, doc);
    case Version300: return LoadVersion300(*bytes, path, doc);
    case Version400: return LoadVersion400(*bytes, path, doc);
    case Version410: return LoadVersion410(*bytes, path, doc);
    case Version415: return LoadVersion415(*bytes, path, doc);
    case Version420: return LoadVersion420(*bytes, path, doc);
    case Version500:
    case Version510: return LoadVersion500(*bytes, path, doc);
    case Version520: return LoadVersion520(*bytes, path, doc);
    case Version530: return LoadVersion530(*bytes, path, doc);
    case Version540: return LoadVersion540(*bytes, path, doc);
    default: return Refuse(doc, bytes, path);
  }
}

bool LoadFile(TManifold& doc, const std::string& path, bool viewerFile) {
  TLoadScope scope(doc, path);
  std::vector<uint8_t> file;
  if (!ReadFileBytes(path, file)) return LoadBytes(doc, nullptr, path, viewerFile);
  const std::span<const uint8_t> bytes(file);
  return LoadBytes(doc, &bytes, path, viewerFile);
}

}  // namespace

int DetectFileVersion(std::span<const uint8_t> bytes) {
  if (bytes.size() >= 40) {
    for (const auto& v : VersionTexts)
      if (std::memcmp(bytes.data() + 8, v.Text, 4) == 0) return v.Code;
  }
  // Headerless files are sequences of fixed records: 134 bytes for 3.00, 227 bytes for 2.00.
  // An empty file is no document of any version.
  if (bytes.empty()) return VersionUnknown;
  if (bytes.size() % 134 == 0) return Version300;
  if (bytes.size() % 227 == 0) return Version200;
  return VersionUnknown;
}

int DetectFileVersion(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, bytes)) return VersionUnknown;
  return DetectFileVersion(bytes);
}

bool LoadManifoldFile(TManifold& doc, const std::string& path) { return LoadFile(doc, path, false); }
bool LoadViewerFile(TManifold& doc, const std::string& path) { return LoadFile(doc, path, true); }

bool LoadDocumentBytes(TManifold& doc, std::span<const uint8_t> bytes, const std::string& path, bool viewerFile) {
  TLoadScope scope(doc, path);
  return LoadBytes(doc, &bytes, path, viewerFile);
}

}  // namespace qv
