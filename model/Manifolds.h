// The document: one manifold block with its size, unit, settings, holes and everything else the design
// application stores. The viewer owns one for the life of the process; loading resets it and fills it.
#pragma once
#include <cstdint>
#include <span>
#include <string>

#include "model/Assemblies.h"
#include "model/BillOfMaterials.h"
#include "model/CalculateSettings.h"
#include "model/Crosses.h"
#include "model/CutOuts.h"
#include "model/Fields.h"
#include "model/GroupLists.h"
#include "model/HoleLists.h"
#include "model/HoleTexts.h"
#include "model/Layouts.h"
#include "model/PartTexts.h"
#include "model/PlotSettings.h"
#include "model/Projects.h"
#include "model/Revisions.h"
#include "model/Sessions.h"
#include "model/ToDos.h"
#include "model/UserMessages.h"

namespace qv {

class TManifold {
public:
  static constexpr size_t RecordSize = 1068;

  TManifold();
  ~TManifold();
  TManifold(const TManifold&) = delete;
  TManifold& operator=(const TManifold&) = delete;

  void Reset();
  // The readers of the two current layouts, over the bytes of a whole file; `path` is the name the
  // messages give. Opening a file, detecting its version and choosing the reader is the loader's.
  // A "7.00" document in the tagged layout, as a viewer file when `swapTagAndLength`; always true.
  bool LoadTagged(std::span<const uint8_t> bytes, const std::string& path, bool swapTagAndLength);
  // An "8.01" record image: resets the document first; always true.
  bool LoadRecordImage(std::span<const uint8_t> bytes, const std::string& path);

  // Where the readers' messages and questions go; the document does not own it.
  void SetMessages(TUserMessages* messages);
  TUserMessages& Messages() { return *Msgs; }
  // Tells the user once that the file ended before everything was read; what was read is kept.
  void ReportEndedEarly(const std::string& path);

  std::string FileName;

  // The manifold record.
  uint8_t Setting2002;
  bool Inch;
  int32_t Decimals;
  double SizeX, SizeY, SizeZ;
  uint8_t Setting2100;
  int32_t Setting2110;
  double Setting2111;
  int32_t Setting2120;
  double Setting2121;
  int32_t Setting2130;
  double Setting2131;
  uint8_t Options22;
  double Setting2200;
  uint8_t Options23;
  uint8_t Options24;
  int32_t Setting2201, Setting2202;
  uint8_t Setting2500;
  uint8_t Options25;
  uint8_t Setting2501;
  int32_t Setting2610;
  double Series2600[7];
  int32_t Setting2640;
  double Setting2641, Setting2642;
  uint8_t Setting2643;
  std::string Text2040;
  double Setting2041, Setting2042;
  std::string Text2050, Text2051;
  int32_t Setting2005;
  bool Setting2006;
  TPartTexts PartTexts;
  double Setting2007;
  uint8_t Setting2060;
  std::string Text2630, Text2620;
  uint8_t Setting2621;
  double ImageOnlyValue;
  uint8_t Setting2700;
  double Setting2710;
  uint8_t Setting2720;
  double Setting2730;
  uint8_t Setting2740;
  double Setting2750;
  double FileTime;
  uint8_t Setting2770;

  // Owned objects.
  TPlotSettings PlotSettings1;  // Kind 1
  TPlotSettings PlotSettings2;  // Kind 2
  TLayoutList Layouts;
  THoleList Holes;
  TGroupList Groups;
  TProject Project;
  TToDo ToDo;
  TRevisionList Revisions;
  TSessionList Sessions;
  TCutOutList CutOuts;
  // The document's own hole texts; the first is the default hole text.
  THoleTextList HoleTexts;
  TAssemblyList Assemblies;
  TCrossList Crosses;
  TBillOfMaterials BillOfMaterials;
  TCalculateSettingsNew CalculateSettings;

  // The default hole text (the first of the document's hole texts), or null when there is none.
  const THoleText* DefaultHoleText() const { return HoleTexts.Count() > 0 ? &HoleTexts.Items(0) : nullptr; }

  // The record fields in table order; the owned objects are dumped by the dump itself.
  template <class V> void Describe(V& v) {
    v.Field("Setting2002", Setting2002, 0, uint8_t{1}, TTag(2002, TEnc::ThreeState));
    v.Field("Inch", Inch, 1, false, TTag(2003, TEnc::Integer));
    v.Field("Decimals", Decimals, 4, 2, TTag(2004));
    v.Field("SizeX", SizeX, 8, 300.0, TTag(2010));
    v.Field("SizeY", SizeY, 16, 200.0, TTag(2020));
    v.Field("SizeZ", SizeZ, 24, 100.0, TTag(2030));
    v.Field("Setting2100", Setting2100, 32, uint8_t{1}, TTag(2100, TEnc::ThreeState));
    v.Field("Setting2110", Setting2110, 36, 0, TTag(2110));
    v.Field("Setting2111", Setting2111, 40, 0.0, TTag(2111));
    v.Field("Setting2120", Setting2120, 48, 0, TTag(2120));
    v.Field("Setting2121", Setting2121, 52, 0.0, TTag(2121));
    v.Field("Setting2130", Setting2130, 60, 0, TTag(2130));
    v.Field("Setting2131", Setting2131, 64, 0.0, TTag(2131));
    v.Field("Options22", Options22, 72, uint8_t{7});
    v.Bit(Options22, 1, 2210);
    v.Bit(Options22, 2, 2220);
    v.Bit(Options22, 4, 2230);
    v.Field("Setting2200", Setting2200, 76, 5.0, TTag(2200));
    v.Field("Options23", Options23, 84, uint8_t{42});
    v.Bit(Options23, 1, 2310);
    v.Bit(Options23, 2, 2320);
    v.Bit(Options23, 4, 2330);
    v.Bit(Options23, 8, 2340);
    v.Bit(Options23, 16, 2350);
    v.Bit(Options23, 32, 2360);
    v.Field("Options24", Options24, 85, uint8_t{127});
    v.Bit(Options24, 1, 2410);
    v.Bit(Options24, 2, 2420);
    v.Bit(Options24, 4, 2430);
    v.Bit(Options24, 8, 2440);
    v.Bit(Options24, 32, 2450);
    v.Bit(Options24, 64, 2460);
    v.Bit(Options24, 16, 2470);
    v.Field("Setting2201", Setting2201, 88, 0, TTag(2201));
    v.Field("Setting2202", Setting2202, 92, 0, TTag(2202));
    v.Field("Setting2500", Setting2500, 96, uint8_t{2}, TTag(2500, TEnc::Integer));
    v.Field("Options25", Options25, 97, uint8_t{12});
    v.Bit(Options25, 1, 2510);
    v.Bit(Options25, 2, 2520);
    v.Bit(Options25, 4, 2530);
    v.Bit(Options25, 8, 2540);
    v.Bit(Options25, 16, 2542);
    v.Field("Setting2501", Setting2501, 98, uint8_t{2}, TTag(2501, TEnc::Integer));
    v.Field("Setting2610", Setting2610, 100, 0, TTag(2610));
    v.Array("Series2600", Series2600, 104, 3.2, 2600);
    v.Field("Setting2640", Setting2640, 160, 0, TTag(2640));
    v.Field("Setting2641", Setting2641, 164, 0.0, TTag(2641));
    v.Field("Setting2642", Setting2642, 172, 0.0, TTag(2642));
    v.Field("Setting2643", Setting2643, 180, uint8_t{1}, TTag(2643));
    v.Text("Text2040", Text2040, 184, 80, "", TTag(2040));
    v.Field("Setting2041", Setting2041, 268, 0.9, TTag(2041));
    v.Field("Setting2042", Setting2042, 276, 7800.0, TTag(2042));
    v.Text("Text2050", Text2050, 284, 80, "", TTag(2050));
    v.Text("Text2051", Text2051, 365, 80, "", TTag(2051));
    v.Field("Setting2005", Setting2005, 448, 10, TTag(2005));
    v.Field("Setting2006", Setting2006, 452, true, TTag(2006, TEnc::Integer));
    v.Struct("PartTexts", PartTexts, 453, false);
    v.Field("Setting2007", Setting2007, 732, 0.5, TTag(2007));
    v.Field("Setting2060", Setting2060, 740, uint8_t{0}, TTag(2060));
    v.Text("Text2630", Text2630, 741, 10, "", TTag(2630));
    v.Text("Text2620", Text2620, 752, 255, "", TTag(2620));
    v.Field("Setting2621", Setting2621, 1008, uint8_t{1}, TTag(2621));
    v.Field("ImageOnlyValue", ImageOnlyValue, 1012, 5.0);
    v.Field("Setting2700", Setting2700, 1020, uint8_t{1}, TTag(2700));
    v.Field("Setting2710", Setting2710, 1024, 1.25, TTag(2710));
    v.Field("Setting2720", Setting2720, 1032, uint8_t{0}, TTag(2720));
    v.Field("Setting2730", Setting2730, 1036, 2.0, TTag(2730));
    v.Field("Setting2740", Setting2740, 1044, uint8_t{1}, TTag(2740));
    v.Field("Setting2750", Setting2750, 1048, 1.0, TTag(2750));
    v.Field("FileTime", FileTime, 1056, 0.0, TTag(2760));
    v.Field("Setting2770", Setting2770, 1064, uint8_t{0}, TTag(2770));
  }

private:
  void ReadManifoldHeader(TQuorvelaFile& file);
  bool ReadTopLevel(TQuorvelaFile& file, const TRecordHeader& h);
  void ReadPlotSettings(TQuorvelaFile& file);
  TUserMessages* Msgs;
};

// "Inch" when the flag's value is 1, "Metric" otherwise.
std::string UnitName(bool inch);

}  // namespace qv
