// One drilled diameter of a hole: its depth, drill point, thread, ports and group.
#pragma once
#include <cstdint>
#include <string>

#include "model/Fields.h"

namespace qv {

class TRecordFile;

class TStep {
public:
  static constexpr size_t RecordSize = 216;
  static constexpr size_t MinImageSize = RecordSize;
  enum : uint16_t { ThreadedBit = 2 };

  TStep() { Reset(); }
  void Reset() { ResetFields(*this); }
  void ReadTagged(TQuorvelaFile& file);
  void ReadRecord(TRecordFile& file);

  bool Threaded() const { return (Flags & ThreadedBit) != 0; }
  // Axial height of the full drill point.
  double ConeHeight() const;
  // ThreadDiameter for a threaded step whose thread is wider than the drill, else Diameter.
  double OuterDiameter() const;
  // The hole label held in the remark between quotes or after an apostrophe; "<>" stands for the group.
  std::string Label() const;

  int32_t Number;
  uint16_t Flags;
  double Diameter;
  double Depth;
  std::string Text20200;
  double ThreadLength;
  std::string Remark;
  int32_t PointAngle;
  double ThreadDiameter;
  std::string Text20320;
  std::string GroupCode;
  double PortDepthA, PortDepthB;
  std::string Text20360, Text20370;
  uint8_t Setting20380;
  std::string Text20382;

  template <class V> void Describe(V& v) {
    v.Field("Number", Number, 0, 0, TTag(20010));
    v.Field("Flags", Flags, 4, uint16_t{0});
    v.Bit(Flags, 1, 26000);
    v.Bit(Flags, 2, 26010);
    v.Bit(Flags, 4, 26020);
    v.Bit(Flags, 8, 26030);
    v.Bit(Flags, 16, 26040);
    v.Bit(Flags, 32, 26050);
    v.Field("Diameter", Diameter, 8, 0.0, TTag(20100));
    v.Field("Depth", Depth, 16, 0.0, TTag(20110));
    v.Text("Text20200", Text20200, 24, 30, "", TTag(20200));
    v.Field("ThreadLength", ThreadLength, 56, 0.0, TTag(20210));
    v.Text("Remark", Remark, 64, 50, "", TTag(20300));
    v.Field("PointAngle", PointAngle, 116, 120, TTag(20310));
    v.Field("ThreadDiameter", ThreadDiameter, 120, 0.0, TTag(20220));
    v.Text("Text20320", Text20320, 128, 20, "", TTag(20320));
    v.Text("GroupCode", GroupCode, 149, 10, "", TTag(20330));
    v.Field("PortDepthA", PortDepthA, 160, 0.0, TTag(20340));
    v.Field("PortDepthB", PortDepthB, 168, 0.0, TTag(20350));
    v.Text("Text20360", Text20360, 176, 15, "", TTag(20360));
    v.Text("Text20370", Text20370, 192, 15, "", TTag(20370));
    v.Field("Setting20380", Setting20380, 208, uint8_t{0}, TTag(20380));
    v.Text("Text20382", Text20382, 209, 5, "<>", TTag(20382));
  }
};

// Axial height of a drill point of included angle `pointAngle` per unit of radius: cot(a/2).
double PointFactor(double pointAngle);

}  // namespace qv
