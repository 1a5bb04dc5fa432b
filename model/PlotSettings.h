// One of the document's two sets of plot settings for the 2D drawings of the design application:
// sizes, drawing flags, label texts, face views, comment files and the drilling-list layout.
// Stored; the viewer draws nothing from them.
#pragma once
#include <cstdint>
#include <string>

#include "geometry/XYPoints.h"
#include "model/CommentFiles.h"
#include "model/DrillingListDrawingSettings.h"
#include "model/Fields.h"
#include "model/PointFields.h"

namespace qv {

class TRecordFile;

// The fixed block of the plot settings, laid out as its record image; copied whole by Assign.
class TPlotSettingsBlock {
public:
  static constexpr size_t RecordSize = 796;
  static constexpr int SizeCount = 12;
  static constexpr int FaceViewCount = 6;

  // The tag that sets bit `n` (0-56) of DrawFlags.
  static constexpr uint16_t DrawFlagTag(unsigned n) {
    if (n <= 34) return static_cast<uint16_t>(56000 + 10 * n);
    if (n <= 48) return static_cast<uint16_t>(56342 + 2 * (n - 35));
    if (n == 49) return 56372;
    return static_cast<uint16_t>(56374 + 2 * (n - 50));
  }
  static constexpr unsigned DrawFlagCount = 57;
  static constexpr uint64_t DefaultDrawFlags = (1ull << 0) | (1ull << 1) | (1ull << 2) | (1ull << 4) |
                                               (1ull << 9) | (1ull << 11) | (1ull << 12) | (1ull << 13) |
                                               (1ull << 14) | (1ull << 15) | (1ull << 21) | (1ull << 22);
  static constexpr double DefaultSizes[SizeCount] = {2.5, 3.5, 2.5, 2.5, 3.5, 3.5, 3.5, 3.5, 2.5, 1.8, 1.8, 2.5};
  static constexpr uint16_t SizeTags[SizeCount] = {50400, 50042, 50044, 50046, 50048, 50050,
                                                   50051, 50052, 50053, 50054, 50055, 50056};
  static constexpr uint16_t FaceViewShownTags[FaceViewCount] = {51010, 51020, 51030, 51040, 51050, 51060};
  static constexpr uint16_t FaceViewPositionTags[FaceViewCount][2] = {
      {51011, 51012}, {51021, 51022}, {51031, 51032}, {51041, 51042}, {51051, 51052}, {51061, 51062}};

  bool DrawFlag(unsigned n) const { return n < 64 && (DrawFlags >> n) & 1; }

  uint8_t Kind;
  double Setting50021, Setting50022, Setting50300;
  double Sizes[SizeCount];
  uint8_t Setting50060, Setting50070;
  int32_t Setting50080;
  uint64_t DrawFlags;  // bit n is bit n mod 8 of byte n div 8 in the record
  std::string Setting50090, Setting50100;
  uint8_t Setting50200, Setting50310;
  std::string AngleLabel, DegreeLabel, HoleLabel, TypicalHolesLabel, CavityLabel, LSLabel, SpotfaceLabel;
  std::string DiameterLabel, DiameterLabel2, DepthLabel, DepthLabel2, ThruLabel, CounterboreLabel;
  uint8_t Setting50450, Setting50460, Setting50470, Setting50480, Setting50490;
  uint8_t Setting50500, Setting50502, Setting50510, Setting50520, Setting50530;
  double Setting50550, Setting50560, Setting50570;
  int32_t Setting50580;
  uint8_t Setting50590;
  int32_t Setting50591, Setting50592, Setting50593, Setting50594, Setting50595,
          Setting50596;
  uint8_t Setting50600, Setting50610;
  double Setting50620;
  int32_t Setting50630;
  uint8_t Setting50640, Setting50650, Setting50680, Setting50622;
  std::string Setting50092;
  TXYPoint Point;
  uint8_t Setting51002;
  TXYPoint FaceViewPosition[FaceViewCount];        // the views of faces 1-6
  uint8_t FaceViewShown[FaceViewCount];       // faces 1-6
  uint8_t Setting51100;
  double Setting51110;

  template <class V> void Describe(V& v) {
    v.Field("Kind", Kind, 0, uint8_t{1}, TTag(50010, TEnc::Integer));
    v.Field("Setting50021", Setting50021, 4, 40.0, TTag(50021));
    v.Field("Setting50022", Setting50022, 12, 40.0, TTag(50022));
    v.Field("Setting50300", Setting50300, 20, 2.0, TTag(50300));
    v.Array("Sizes", Sizes, 28, DefaultSizes, SizeTags);
    v.Field("Setting50060", Setting50060, 124, uint8_t{1}, TTag(50060, TEnc::NonZero));
    v.Field("Setting50070", Setting50070, 125, uint8_t{1}, TTag(50070, TEnc::Integer));
    v.Field("Setting50080", Setting50080, 128, 0, TTag(50080));
    v.Field("DrawFlags", DrawFlags, 132, DefaultDrawFlags);
    for (unsigned n = 0; n < DrawFlagCount; ++n) v.Bit(DrawFlags, uint64_t{1} << n, DrawFlagTag(n));
    v.Text("Setting50090", Setting50090, 140, 80, "", TTag(50090));
    v.Text("Setting50100", Setting50100, 221, 80, "", TTag(50100));
    v.Field("Setting50200", Setting50200, 302, uint8_t{0}, TTag(50200));
    v.Field("Setting50310", Setting50310, 304, uint8_t{1}, TTag(50310));
    v.Text("AngleLabel", AngleLabel, 305, 15, "Angle=", TTag(50320));
    v.Text("DegreeLabel", DegreeLabel, 321, 15, "\xB0", TTag(50325));
    v.Text("HoleLabel", HoleLabel, 337, 15, "Hole", TTag(50340));
    v.Text("TypicalHolesLabel", TypicalHolesLabel, 353, 15, "Typical Holes", TTag(50350));
    v.Text("CavityLabel", CavityLabel, 369, 15, "Cavity", TTag(50360));
    v.Text("LSLabel", LSLabel, 385, 15, "LS", TTag(50370));
    v.Text("SpotfaceLabel", SpotfaceLabel, 401, 15, " Spotface", TTag(50380));
    v.Text("DiameterLabel", DiameterLabel, 417, 10, "\xF8", TTag(50390));
    v.Text("DiameterLabel2", DiameterLabel2, 428, 10, "", TTag(50391));
    v.Text("DepthLabel", DepthLabel, 439, 10, "Dp", TTag(50405));
    v.Text("DepthLabel2", DepthLabel2, 450, 10, "", TTag(50406));
    v.Text("ThruLabel", ThruLabel, 461, 15, " Thru", TTag(50410));
    v.Text("CounterboreLabel", CounterboreLabel, 477, 15, " Counterbore", TTag(50412));
    v.Field("Setting50450", Setting50450, 493, uint8_t{0}, TTag(50450));
    v.Field("Setting50460", Setting50460, 494, uint8_t{0}, TTag(50460));
    v.Field("Setting50470", Setting50470, 495, uint8_t{0}, TTag(50470));
    v.Field("Setting50480", Setting50480, 496, uint8_t{0}, TTag(50480));
    v.Field("Setting50490", Setting50490, 497, uint8_t{1}, TTag(50490));
    v.Field("Setting50500", Setting50500, 498, uint8_t{0}, TTag(50500));
    v.Field("Setting50502", Setting50502, 499, uint8_t{1}, TTag(50502));
    v.Field("Setting50510", Setting50510, 500, uint8_t{1}, TTag(50510));
    v.Field("Setting50520", Setting50520, 501, uint8_t{1}, TTag(50520));
    v.Field("Setting50530", Setting50530, 502, uint8_t{1}, TTag(50530));
    v.Field("Setting50550", Setting50550, 504, 3.5, TTag(50550));
    v.Field("Setting50560", Setting50560, 512, 3.5, TTag(50560));
    v.Field("Setting50570", Setting50570, 520, 20.0, TTag(50570));
    v.Field("Setting50580", Setting50580, 528, 0, TTag(50580));
    v.Field("Setting50590", Setting50590, 532, uint8_t{1}, TTag(50590));
    v.Field("Setting50591", Setting50591, 536, 0, TTag(50591));
    v.Field("Setting50592", Setting50592, 540, 0, TTag(50592));
    v.Field("Setting50593", Setting50593, 544, 0, TTag(50593));
    v.Field("Setting50594", Setting50594, 548, 0, TTag(50594));
    v.Field("Setting50595", Setting50595, 552, 0, TTag(50595));
    v.Field("Setting50596", Setting50596, 556, 0, TTag(50596));
    v.Field("Setting50600", Setting50600, 560, uint8_t{0}, TTag(50600));
    v.Field("Setting50610", Setting50610, 561, uint8_t{0}, TTag(50610));
    v.Field("Setting50620", Setting50620, 564, 0.0, TTag(50620));
    v.Field("Setting50630", Setting50630, 572, 0, TTag(50630));
    v.Field("Setting50640", Setting50640, 576, uint8_t{0}, TTag(50640));
    v.Field("Setting50650", Setting50650, 577, uint8_t{0}, TTag(50650));
    v.Field("Setting50680", Setting50680, 578, uint8_t{1}, TTag(50680));
    v.Field("Setting50622", Setting50622, 579, uint8_t{0}, TTag(50622));
    v.Text("Setting50092", Setting50092, 580, 80, "", TTag(50092));
    TXYFields point{Point, 50660, 50670, 0.0};
    v.Struct("Point", point, 664);
    v.Field("Setting51002", Setting51002, 680, uint8_t{1}, TTag(51002));
    v.Points("FaceViewPosition", FaceViewPosition, 684, 0.0, FaceViewPositionTags);
    v.Array("FaceViewShown", FaceViewShown, 780, uint8_t{1}, FaceViewShownTags);
    v.Field("Setting51100", Setting51100, 786, uint8_t{1}, TTag(51100));
    v.Field("Setting51110", Setting51110, 788, 5.0, TTag(51110));
  }

protected:
  // Only ever the fixed part of a TPlotSettings, whose construction sets the defaults.
  TPlotSettingsBlock() = default;
};

class TPlotSettings : public TPlotSettingsBlock {
public:
  // The fixed block and the counts of the comment files and the columns, and the drilling list's
  // fixed part.
  static constexpr size_t MinImageSize = RecordSize + 4 + TDrillingListDrawingSettings::RecordSize + 4;

  TPlotSettings() { Reset(); }
  TPlotSettings(const TPlotSettings&) = delete;
  TPlotSettings& operator=(const TPlotSettings&) = delete;

  void Reset() { ResetFields(*this); }
  bool ReadTagged(TQuorvelaFile& file);
  // True only when the whole fixed block was read; the comment files and drilling list are read after it
  // in either case.
  bool ReadRecord(TRecordFile& file);
  // Copies the fixed block, Kind included, and copies of the comment files and the drilling list.
  void Assign(const TPlotSettings& source);

  // Sizes[index] for index 0-11; other indexes read 0.0 and write nothing.
  double Size(int index) const;
  void SetSize(int index, double value);

  TCommentFileList CommentFiles;
  TDrillingListDrawingSettings DrillingList;

  template <class V> void Describe(V& v) {
    TPlotSettingsBlock::Describe(v);
    v.Owned("CommentFiles", CommentFiles);
    v.Owned("DrillingList", DrillingList);
  }
};

}  // namespace qv
