// Arbitrary bytes fed from memory to one family of readers, chosen when the target is built
// (QV_FUZZ_FAMILY). Families with several layouts take the first byte to pick one. No input may
// crash, hang or allocate more than the bytes pay for.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <span>
#include <string>

#include "legacy/Readers.h"
#include "model/Manifolds.h"

namespace {

// Answers Yes to every question and forgets every error.
class TYesMessages : public qv::TUserMessages {
public:
  void ShowError(const std::string&) override {}
  bool AskYesNo(const std::string&) override { return true; }
};

using TReader = bool (*)(std::span<const uint8_t>, const std::string&, qv::TManifold&);

// The layout picked by the first byte, and the rest of the input as the file.
template <size_t N> void ReadOneOf(const TReader (&readers)[N], std::span<const uint8_t> input, qv::TManifold& doc) {
  if (input.empty()) return;
  readers[input[0] % N](input.subspan(1), "fuzz-input.mnf", doc);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  TYesMessages messages;
  qv::TManifold doc;
  doc.SetMessages(&messages);
  const std::string name = "fuzz-input.mnf";  // no file: the load takes no file's time
  try {
#if QV_FUZZ_FAMILY == 1  // tagged "7.00": manifold files and viewer files
    doc.LoadTagged(input, name, false);
    doc.LoadTagged(input, name, true);
#elif QV_FUZZ_FAMILY == 2  // record image "8.01"
    doc.LoadRecordImage(input, name);
#elif QV_FUZZ_FAMILY == 3  // version 5
    static constexpr TReader readers[] = {qv::LoadVersion540, qv::LoadVersion530, qv::LoadVersion520,
                                          qv::LoadVersion500};
    ReadOneOf(readers, input, doc);
#elif QV_FUZZ_FAMILY == 4  // version 4
    static constexpr TReader readers[] = {qv::LoadVersion420, qv::LoadVersion415, qv::LoadVersion410,
                                          qv::LoadVersion400};
    ReadOneOf(readers, input, doc);
#elif QV_FUZZ_FAMILY == 5  // headerless 3.00, 2.00 and 1.00
    static constexpr TReader readers[] = {qv::LoadVersion300, qv::LoadVersion200, qv::LoadVersion100};
    ReadOneOf(readers, input, doc);
#else
#error "QV_FUZZ_FAMILY names no family of readers"
#endif
  } catch (const std::exception&) {
  }
  return 0;
}
