// The bill of materials of the document: table settings, parts entered by hand, integers and text
// lines. Stored; the viewer shows none of it.
#pragma once
#include <cstdint>

#include "geometry/XYPoints.h"
#include "model/Fields.h"
#include "model/IntegerLists.h"
#include "model/PointFields.h"
#include "model/StringLists.h"
#include "model/UserBOMs.h"

namespace qv {

class TRecordFile;

class TBillOfMaterials {
public:
  // The fixed part; the user items, integers and lines follow it in a record image.
  static constexpr size_t RecordSize = 144;

  TBillOfMaterials() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  bool ReadRecord(TRecordFile& file);

  uint8_t Setting41010;
  double Setting41020, Setting41030;
  TXYPoint Position;
  double Setting41060;
  double Setting41300, Setting41310, Setting41320, Setting41330,
         Setting41340, Setting41350, Setting41360;
  double Setting41361, Setting41362, Setting41363, Setting41364,
         Setting41365;
  uint8_t Setting41070, Setting41072;
  TIntegerList IntegerValues;
  TUserBOMList UserItems;
  TStringList Lines;

  template <class V> void Describe(V& v) {
    v.Field("Setting41010", Setting41010, 0, uint8_t{0}, TTag(41010, TEnc::Integer));
    v.Field("Setting41020", Setting41020, 4, 5.0, TTag(41020));
    v.Field("Setting41030", Setting41030, 12, 3.5, TTag(41030));
    TXYFields position{Position, 41040, 41050, 0.0};
    v.Struct("Position", position, 20);
    v.Field("Setting41060", Setting41060, 36, 10.0, TTag(41060));
    v.Field("Setting41300", Setting41300, 44, 50.0, TTag(41300));
    v.Field("Setting41310", Setting41310, 52, 50.0, TTag(41310));
    v.Field("Setting41320", Setting41320, 60, 50.0, TTag(41320));
    v.Field("Setting41330", Setting41330, 68, 50.0, TTag(41330));
    v.Field("Setting41340", Setting41340, 76, 50.0, TTag(41340));
    v.Field("Setting41350", Setting41350, 84, 50.0, TTag(41350));
    v.Field("Setting41360", Setting41360, 92, 50.0, TTag(41360));
    v.Field("Setting41361", Setting41361, 100, 10.0, TTag(41361));
    v.Field("Setting41362", Setting41362, 108, 10.0, TTag(41362));
    v.Field("Setting41363", Setting41363, 116, 10.0, TTag(41363));
    v.Field("Setting41364", Setting41364, 124, 10.0, TTag(41364));
    v.Field("Setting41365", Setting41365, 132, 10.0, TTag(41365));
    v.Field("Setting41070", Setting41070, 140, uint8_t{1}, TTag(41070));
    v.Field("Setting41072", Setting41072, 141, uint8_t{0}, TTag(41072));
    v.Integers("IntegerValues", IntegerValues, 41100);
    v.Owned("UserItems", UserItems);
    v.Lines("Lines", Lines, 41200);
  }
};

}  // namespace qv
