// A valve (cartridge or other part) fitted in a hole: its item number and where the item-number label
// sits. Everything else is the design application's and is only kept.
#pragma once
#include <cstdint>
#include <string>

#include "model/Fields.h"

namespace qv {

class TRecordFile;

class TValve {
public:
  static constexpr size_t RecordSize = 616;
  static constexpr size_t MinImageSize = RecordSize;

  TValve() { Reset(); }
  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  // True when the whole record was read.
  bool ReadRecord(TRecordFile& file);

  int32_t Setting30010;
  std::string ItemNumber;
  double ItemNumberX, ItemNumberY;
  uint16_t ItemNumberRotation;
  std::string Text30060, Text30070;
  double Setting30081, Setting30082, Setting30091, Setting30092;
  double Setting30200;
  uint8_t Setting30210;
  std::string Text30220, Text30230, Text30240, Text30270;
  double Setting30250, Setting30260;
  std::string Text30280, Text30290, Text30300, Text30340, Text30320;

  template <class V> void Describe(V& v) {
    v.Field("Setting30010", Setting30010, 0, 0, TTag(30010));
    v.Text("ItemNumber", ItemNumber, 4, 20, "", TTag(30020));
    v.Field("ItemNumberX", ItemNumberX, 28, 0.0, TTag(30031));
    v.Field("ItemNumberY", ItemNumberY, 36, 0.0, TTag(30032));
    // The file holds a 32-bit integer; the low 16 bits are the angle.
    v.Field("ItemNumberRotation", ItemNumberRotation, 44, uint16_t{0}, TTag(30050));
    v.Text("Text30060", Text30060, 46, 40, "", TTag(30060));
    v.Text("Text30070", Text30070, 87, 40, "", TTag(30070));
    v.Field("Setting30081", Setting30081, 128, 0.0, TTag(30081));
    v.Field("Setting30082", Setting30082, 136, 0.0, TTag(30082));
    v.Field("Setting30091", Setting30091, 144, 0.0, TTag(30091));
    v.Field("Setting30092", Setting30092, 152, 0.0, TTag(30092));
    v.Field("Setting30200", Setting30200, 160, 0.0, TTag(30200));
    v.Field("Setting30210", Setting30210, 168, uint8_t{0}, TTag(30210));
    v.Text("Text30220", Text30220, 169, 30, "", TTag(30220));
    v.Text("Text30230", Text30230, 200, 50, "", TTag(30230));
    v.Text("Text30240", Text30240, 251, 70, "", TTag(30240));
    v.Text("Text30270", Text30270, 322, 40, "", TTag(30270));
    v.Field("Setting30250", Setting30250, 364, 0.0, TTag(30250));
    v.Field("Setting30260", Setting30260, 372, 0.0, TTag(30260));
    v.Text("Text30280", Text30280, 380, 50, "", TTag(30280));
    v.Text("Text30290", Text30290, 431, 50, "", TTag(30290));
    v.Text("Text30300", Text30300, 482, 50, "", TTag(30300));
    v.Text("Text30340", Text30340, 533, 30, "", TTag(30340));
    v.Text("Text30320", Text30320, 564, 50, "", TTag(30320));
  }
};

}  // namespace qv
