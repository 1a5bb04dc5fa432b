// A rectangular pocket cut into a face of the block, in a corner of the face or at a position, with a
// depth or through the whole block.
#pragma once
#include <cstdint>

#include "geometry/CutOutOutlines.h"
#include "geometry/XYPoints.h"
#include "model/Fields.h"
#include "model/OwnedList.h"
#include "model/PointFields.h"

namespace qv {

class TRecordFile;

class TCutOut {
public:
  static constexpr size_t RecordSize = 52;
  static constexpr size_t MinImageSize = RecordSize;
  // Corner value of a cut-out that lies at its Position rather than in a corner.
  static constexpr int32_t NoCorner = TCutOutShape::NoCorner;

  TCutOut() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  // True when the whole record was read.
  bool ReadRecord(TRecordFile& file);
  // The numbers the outline geometry works on.
  TCutOutShape Shape() const { return {Face, Corner, Position, Width, Height, Through != 0, Depth}; }

  int32_t Face;
  int32_t Corner;
  TXYPoint Position;
  double Width;
  double Height;
  uint8_t Through;  // nonzero: through the whole block, Depth is not used
  double Depth;

  template <class V> void Describe(V& v) {
    v.Field("Face", Face, 0, 1, TTag(32010));
    v.Field("Corner", Corner, 4, 1, TTag(32020));
    TXYFields position{Position, 32030, 32040, 0.0};
    v.Struct("Position", position, 8);
    v.Field("Width", Width, 24, 0.0, TTag(32050));
    v.Field("Height", Height, 32, 0.0, TTag(32060));
    v.Field("Through", Through, 40, uint8_t{1}, TTag(32070));
    v.Field("Depth", Depth, 44, 0.0, TTag(32080));
  }
};

class TCutOutList : public TOwnedList<TCutOut> {
public:
  // Appends the items of a list image; always true.
  bool ReadRecord(TRecordFile& file);
};

}  // namespace qv
