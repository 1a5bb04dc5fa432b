// The manufacturing note of one hole: lines of text and whether the standard note is switched off.
// Stored only.
#pragma once
#include <cstdint>

#include "model/Fields.h"
#include "model/StringLists.h"

namespace qv {

class TRecordFile;

class TManufacturingNote {
public:
  // The flag byte and the line count.
  static constexpr size_t MinImageSize = 1 + 4;

  TManufacturingNote() { Reset(); }
  void Reset() { ResetFields(*this); }
  // Appends the section's lines to those already held.
  bool ReadTagged(TQuorvelaFile& file);
  void ReadRecord(TRecordFile& file);

  TStringList Lines;
  uint8_t StandardNoteDisabled;

  template <class V> void Describe(V& v) {
    v.Lines("Lines", Lines, 32320);
    v.Field("StandardNoteDisabled", StandardNoteDisabled, 0, uint8_t{0}, TTag(32310));
  }
};

}  // namespace qv
