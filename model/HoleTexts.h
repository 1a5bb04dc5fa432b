// A short text shown on a face next to a hole: its style, offset and rotation. Holes own their hole
// texts; the document owns one more list whose first item is the default hole text.
#pragma once
#include <cstdint>
#include <string>

#include "geometry/XYPoints.h"
#include "model/Fields.h"
#include "model/OwnedList.h"
#include "model/PointFields.h"

namespace qv {

class TRecordFile;

class THoleText {
public:
  static constexpr size_t RecordSize = 120;
  static constexpr size_t MinImageSize = RecordSize;

  enum : int32_t { InsertMiddle = 0, InsertLeftLower = 1, InsertLeftMiddle = 2 };

  THoleText() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  // True when the whole record was read.
  bool ReadRecord(TRecordFile& file);

  void Assign(const THoleText& source) { *this = source; }
  // Copies `source`; its style (height, frame, frame width) comes from `defaultText` when the source
  // asks for the default style, and the insertion point always does.
  void AssignWithDefault(const THoleText& source, const THoleText& defaultText);

  std::string Text;
  TXYPoint Offset;
  double TextHeight;
  uint8_t UseDefaultStyle;
  uint8_t MatchRemark;
  uint8_t Border;
  double FixedWidth;
  double Rotation;
  int32_t InsertionPoint;
  uint8_t HideInAssemblyDrawing;
  uint8_t HideInProductionDrawing;
  uint8_t HideDimensionInAssemblyDrawing;
  uint8_t HideDimensionInProductionDrawing;

  template <class V> void Describe(V& v) {
    v.Text("Text", Text, 0, 64, "", TTag(34050));
    TXYFields offset{Offset, 34010, 34020, 0.0};
    v.Struct("Offset", offset, 68);
    v.Field("TextHeight", TextHeight, 84, 0.0, TTag(34060));
    v.Field("UseDefaultStyle", UseDefaultStyle, 92, uint8_t{1}, TTag(34070));
    v.Field("MatchRemark", MatchRemark, 93, uint8_t{1}, TTag(34080));
    v.Field("Border", Border, 94, uint8_t{1}, TTag(34090));
    v.Field("FixedWidth", FixedWidth, 96, 0.0, TTag(34100));
    v.Field("Rotation", Rotation, 104, 0.0, TTag(34110));
    v.Field("InsertionPoint", InsertionPoint, 112, int32_t{InsertMiddle}, TTag(34160));
    v.Field("HideInAssemblyDrawing", HideInAssemblyDrawing, 116, uint8_t{0}, TTag(34120));
    v.Field("HideInProductionDrawing", HideInProductionDrawing, 117, uint8_t{0}, TTag(34130));
    v.Field("HideDimensionInAssemblyDrawing", HideDimensionInAssemblyDrawing, 118, uint8_t{0}, TTag(34140));
    v.Field("HideDimensionInProductionDrawing", HideDimensionInProductionDrawing, 119, uint8_t{0}, TTag(34150));
  }
};

class THoleTextList : public TOwnedList<THoleText> {
public:
  // Appends the items of a list image; always true.
  bool ReadRecord(TRecordFile& file);
};

}  // namespace qv
