// A hole group: a short code with a colour. Steps name their group by its code.
#pragma once
#include <cstdint>
#include <string>

#include "model/Fields.h"

namespace qv {

class TRecordFile;

class TGroup {
public:
  static constexpr size_t RecordSize = 36;
  static constexpr size_t MinImageSize = RecordSize;
  static constexpr size_t CodeCapacity = 10;

  TGroup() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  // True when the whole record was read.
  bool ReadRecord(TRecordFile& file);

  std::string Code;
  int32_t Color;  // 0x00BBGGRR
  uint8_t Option;
  double Value1, Value2;

  template <class V> void Describe(V& v) {
    v.Text("Code", Code, 0, CodeCapacity, "", TTag(5100));
    v.Field("Color", Color, 12, 0, TTag(5200));
    // The file holds a 32-bit integer; its lowest byte is kept.
    v.Field("Option", Option, 16, uint8_t{0}, TTag(5300, TEnc::Integer));
    v.Field("Value1", Value1, 20, 0.0, TTag(5210));
    v.Field("Value2", Value2, 28, 0.0, TTag(5220));
  }
};

}  // namespace qv
