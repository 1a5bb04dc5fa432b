// Arbitrary bytes as a document: written to a temporary file and loaded as *.mnf and as *.mvf.
// No input may crash, hang or allocate more than the file pays for.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "model/Manifolds.h"

namespace {
// Answers Yes, so that unknown files are also read like 1.00 files.
class TYesMessages : public qv::TUserMessages {
public:
  void ShowError(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return true; }
};

std::string TempPath() {
  static std::string path = "/tmp/qv-fuzz-" + std::to_string(getpid()) + ".mnf";
  return path;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string path = TempPath();
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  TYesMessages messages;
  qv::TManifold doc;
  doc.SetMessages(&messages);
  try {
    doc.LoadManifoldFile(path);
    doc.LoadViewerFile(path);
  } catch (const std::exception&) {
  }
  return 0;
}
