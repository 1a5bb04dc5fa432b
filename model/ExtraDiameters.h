// Additional diameters of a hole (spot faces). Stored; the viewer draws nothing from them.
#pragma once
#include <cstdint>
#include <string>

#include "model/Fields.h"
#include "model/OwnedList.h"

namespace qv {

class TRecordFile;

class TExtraDiameter {
public:
  static constexpr size_t RecordSize = 76;
  static constexpr size_t MinImageSize = RecordSize;

  TExtraDiameter() { Reset(); }
  void Reset() { ResetFields(*this); }
  void ReadTagged(TQuorvelaFile& file);
  void ReadRecord(TRecordFile& file);

  double Diameter;
  int32_t Angle;
  double Depth;
  std::string Name;
  uint8_t Flag28050;
  uint8_t Flag28060;

  template <class V> void Describe(V& v) {
    v.Field("Diameter", Diameter, 0, 0.0, TTag(28010));
    v.Field("Angle", Angle, 8, 180, TTag(28030));
    v.Field("Depth", Depth, 12, 0.0, TTag(28020));
    v.Text("Name", Name, 20, 50, "SPOTFACE", TTag(28040));
    v.Field("Flag28050", Flag28050, 71, uint8_t{0}, TTag(28050));
    v.Field("Flag28060", Flag28060, 72, uint8_t{1}, TTag(28060));
  }
};

class TExtraDiameterList : public TOwnedList<TExtraDiameter> {
public:
  void ReadRecord(TRecordFile& file);
};

}  // namespace qv
