// The settings with which the design application checks a manifold: wall thicknesses, group codes,
// ports, threads and warnings. The viewer keeps them so that the document is complete.
#pragma once
#include <cstdint>

#include "model/Fields.h"
#include "model/WallThicknessRanges.h"

namespace qv {

class TCalculateSettingsNew {
public:
  static constexpr size_t RecordSize = 18;
  static constexpr uint16_t DefaultOptions = 782;

  TCalculateSettingsNew() { Reset(); }
  void Reset() { ResetFields(*this); }
  // A section replaces the whole option set: options without a record in it end up clear.
  bool ReadTagged(TQuorvelaFile& file);
  void ReadRecord(TRecordFile& file);

  double Setting13010;
  double Setting13020;
  uint16_t Options;
  TWallThicknessRangeList WallThicknessRanges;

  template <class V> void Describe(V& v) {
    v.Field("Setting13010", Setting13010, 0, 5.0, TTag(13010));
    v.Field("Setting13020", Setting13020, 8, 5.0, TTag(13020));
    v.Field("Options", Options, 16, DefaultOptions);
    for (unsigned i = 0; i < 10; ++i)
      v.Bit(Options, 1u << i, static_cast<uint16_t>(13100 + 10 * i));
    v.Owned("WallThicknessRanges", WallThicknessRanges);
  }
};

// The captions under which the design application offers the option bits, in bit order.
extern const char* const CalculateOptionCaptions[10];

}  // namespace qv
