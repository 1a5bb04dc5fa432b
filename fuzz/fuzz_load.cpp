// Arbitrary bytes as a document, loaded from memory as *.mnf and as *.mvf. No input may crash, hang
// or allocate more than the bytes pay for.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <span>
#include <string>

#include "loader/DocumentLoader.h"
#include "model/Manifolds.h"

namespace {
// Answers Yes, so that unknown files are also read like 1.00 files.
class TYesMessages : public qv::TUserMessages {
public:
  void ShowError(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return true; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  TYesMessages messages;
  qv::TManifold doc;
  doc.SetMessages(&messages);
  // A name that is no file: the load takes no file's time.
  const std::string name = "fuzz-input.mnf";
  try {
    qv::LoadDocumentBytes(doc, bytes, name, false);
    qv::LoadDocumentBytes(doc, bytes, name, true);
  } catch (const std::exception&) {
  }
  return 0;
}
