// One bore drilled into a face of the block: a stack of steps with its extra diameters, contours,
// valves, hole texts, manufacturing note and part texts.
#pragma once
#include <cstdint>
#include <string>

#include "model/Contours.h"
#include "model/ExtraDiameters.h"
#include "model/Fields.h"
#include "model/HoleTexts.h"
#include "model/ManufacturingNotes.h"
#include "model/PartTexts.h"
#include "model/StepLists.h"
#include "model/ValveLists.h"

namespace qv {

class TRecordFile;

class THole {
public:
  static constexpr size_t RecordSize = 368;
  // The record, the counts of its step, extra-diameter, contour, valve and hole-text lists, and the
  // smallest manufacturing note (its flag and line count).
  static constexpr size_t MinImageSize = RecordSize + 5 * 4 + TManufacturingNote::MinImageSize;

  enum : uint16_t {
    PlugBit = 1, StepGroupsBit = 4, DummyBit = 32, AngledBit = 256,
  };

  THole() { Reset(); }
  void Reset() { ResetFields(*this); }
  // The hole section; always succeeds. A hole without steps is told and given one "ERROR!" step.
  bool ReadTagged(TQuorvelaFile& file);
  void ReadRecord(TRecordFile& file);

  bool Plug() const { return Flags & PlugBit; }
  bool StepGroups() const { return Flags & StepGroupsBit; }
  bool Dummy() const { return Flags & DummyBit; }
  bool Angled() const { return Flags & AngledBit; }

  int32_t Number;
  int32_t PatternId;
  int32_t PatternIndex;
  uint16_t Flags;
  int32_t Face;
  double X, Y;
  int32_t Setting10220;
  double ContourDiameter;
  double TiltAngle, TiltDirection;
  int32_t LabelRotation;
  TPartTexts PartTexts;
  bool Flag10270;
  double StartDepth;
  double Setting10232;
  int32_t Setting10272;

  TStepList Steps;
  TExtraDiameterList ExtraDiameters;
  TContourList Contours;
  TValveList Valves;
  THoleTextList HoleTexts;
  TManufacturingNote ManufacturingNote;

  template <class V> void Describe(V& v) {
    v.Field("Number", Number, 0, 0, TTag(10010));
    v.Field("PatternId", PatternId, 4, -1, TTag(10100));
    v.Field("PatternIndex", PatternIndex, 8, -1, TTag(10110));
    v.Field("Flags", Flags, 12, uint16_t{0});
    v.Bit(Flags, 1, 16000);
    v.Bit(Flags, 2, 16010);
    v.Bit(Flags, 4, 16020);
    v.Bit(Flags, 8, 16030);
    v.Bit(Flags, 16, 16090);
    v.Bit(Flags, 32, 16100);
    v.Bit(Flags, 64, 16120);
    v.Bit(Flags, 128, 16110);
    v.Bit(Flags, 256, 16040);
    v.Bit(Flags, 1024, 16050);
    v.Bit(Flags, 2048, 16060);
    v.Bit(Flags, 4096, 16070);
    v.Bit(Flags, 8192, 16080);
    v.Bit(Flags, 16384, 16122);
    v.Bit(Flags, 32768, 16124);
    v.Field("Face", Face, 16, 0, TTag(10200));
    v.Field("X", X, 20, 0.0, TTag(10211));
    v.Field("Y", Y, 28, 0.0, TTag(10212));
    v.Field("Setting10220", Setting10220, 36, 0, TTag(10220));
    v.Field("ContourDiameter", ContourDiameter, 40, 0.0, TTag(10230));
    v.Field("TiltAngle", TiltAngle, 48, 0.0, TTag(10240));
    v.Field("TiltDirection", TiltDirection, 56, 0.0, TTag(10250));
    v.Field("LabelRotation", LabelRotation, 64, 0, TTag(10260));
    v.Struct("PartTexts", PartTexts, 68);
    v.Field("Flag10270", Flag10270, 344, false, TTag(10270, TEnc::LowByte));
    v.Field("StartDepth", StartDepth, 348, 0.0, TTag(10280));
    v.Field("Setting10232", Setting10232, 356, 0.0, TTag(10232));
    v.Field("Setting10272", Setting10272, 364, 0, TTag(10272));
    v.Owned("Steps", Steps);
    v.Owned("ExtraDiameters", ExtraDiameters);
    v.Owned("Contours", Contours);
    v.Owned("Valves", Valves);
    v.Owned("HoleTexts", HoleTexts);
    v.Owned("ManufacturingNote", ManufacturingNote);
  }
};

}  // namespace qv
