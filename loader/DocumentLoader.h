// Opening a document: the file's bytes are read once, the version is detected from them, and the reader
// of that version fills the document: the model's readers of the tagged layout and the record image,
// or one of the readers of older versions. A file of no version that any reader accepts is refused,
// and the user is asked whether to read it like a 1.00 file.
#pragma once
#include <cstdint>
#include <span>
#include <string>

namespace qv {

class TManifold;

// Version codes of DetectFileVersion.
enum : int {
  VersionUnknown = -1,
  Version100 = 100, Version200 = 200, Version300 = 300,
  Version400 = 400, Version410 = 410, Version415 = 415, Version420 = 420,
  Version500 = 500, Version510 = 510, Version520 = 520, Version530 = 530, Version540 = 540,
  Version700 = 700, Version701 = 701, Version801 = 801,
};

// The version of a document from its 40-byte header or, for the headerless versions, its size;
// VersionUnknown when neither tells one.
int DetectFileVersion(std::span<const uint8_t> bytes);
// The same for a file; VersionUnknown when it cannot be opened or is no regular file.
int DetectFileVersion(const std::string& path);

// Loads a manifold file (*.mnf) or a viewer file (*.mvf: tag and length exchanged in the tagged
// layout) into `doc`: resets it, takes the file's time, reads the file and fills the document.
// True when a reader accepted the file. The document keeps what was read and its FileName is the
// absolute path, also when the load fails or an operating-system error (TReadError) ends it.
bool LoadManifoldFile(TManifold& doc, const std::string& path);
bool LoadViewerFile(TManifold& doc, const std::string& path);

// The same load over the bytes of a file already in memory; `path` is the name the messages give,
// the file whose time the document takes (when there is one) and the document's FileName.
bool LoadDocumentBytes(TManifold& doc, std::span<const uint8_t> bytes, const std::string& path, bool viewerFile);

}  // namespace qv
