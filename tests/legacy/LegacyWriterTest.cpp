// The demo block written in each older layout by the document writer reads back as the demo block
// less what that layout cannot carry. The expected model is the demo's dump with exactly those parts
// set back to their defaults, so every field the layout does carry is compared.
#include <gtest/gtest.h>

#include "legacy/Convert.h"
#include "loader/DocumentLoader.h"
#include "model/Dump.h"
#include "model/Manifolds.h"
#include "tests/TestFiles.h"
#include "tools/writer/DemoBlock.h"
#include "tools/writer/LegacyDocuments.h"

namespace qv {
namespace {

// The demo block with the project data, revisions and comments that the older layouts also carry.
void BuildRichDemo(TManifold& doc) {
  writer::BuildDemoBlock(doc);
  TRevision& r = doc.Revisions.Add();
  r.Number = "A";
  r.Date = 45000;
  r.Description = "First issue";
  r.Drawn = "JD";
  doc.Project.Drawn = "JD";
  doc.Project.ProjectName = "Demo";
  doc.Project.Client = "Works";
  doc.Project.CreatedOn = 45000.5;
  doc.Project.ModifiedOn = 45001.25;
  doc.Project.AddComment("Pressure 250 bar");
  doc.PlotSettings1.Setting50090 = "Plot comment";
  doc.Holes.Items(0).PartTexts.Text7010 = "Cartridge body with a long name of forty";
}

// Dumps without what a load sets from the clock or the file system.
TJson Comparable(TManifold& m) {
  TJson j = DumpDocument(m);
  j.erase("FileName");
  j.erase("FileTime");
  j["Project"].erase("StatusDate");
  return j;
}

::testing::AssertionResult SameDump(const TJson& expected, const TJson& actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << TJson::diff(expected, actual).dump().substr(0, 3000);
}

std::string Cut(const TJson& text, size_t n) { return text.get<std::string>().substr(0, n); }

void Copy(TJson& to, const TJson& from, std::initializer_list<const char*> keys) {
  for (const char* k : keys) to[k] = from[k];
}

TJson ExpectedAfterVersion5(TManifold& doc, int version) {
  TManifold fresh;
  const TJson def = Comparable(fresh);
  TJson j = Comparable(doc);
  for (const char* k : {"Setting2007", "Setting2060", "Text2630", "Text2620", "Setting2621", "ImageOnlyValue",
                        "Setting2700", "Setting2710", "Setting2720", "Setting2730", "Setting2740", "Setting2750",
                        "Setting2770"})
    j[k] = def[k];
  if (version >= 520) j["PartTexts"]["Text7060"] = "";
  else j["PartTexts"] = def["PartTexts"];
  const uint64_t lastFlag = version == 540 ? 31 : version >= 520 ? 21 : 20;
  const uint64_t carried = ((uint64_t{1} << (lastFlag + 1)) - 1) & ~uint64_t{0x100};
  for (const char* plot : {"PlotSettings1", "PlotSettings2"}) {
    TJson p = def[plot];
    Copy(p, j[plot], {"Kind", "Setting50021", "Setting50022", "Setting50300", "Setting50060", "Setting50070",
                      "Setting50080", "Setting50090", "Setting50200"});
    if (version >= 520) p["Setting50100"] = j[plot]["Setting50100"];
    for (int i = 0; i < 5; ++i) p["Sizes"][i] = j[plot]["Sizes"][i];
    p["DrawFlags"] = j[plot]["DrawFlags"].get<uint64_t>() & carried;
    j[plot] = p;
  }
  TJson project = def["Project"];
  Copy(project, j["Project"], {"Drawn", "Checked", "CreatedOn", "ModifiedOn", "ProjectName", "OrderNumber",
                               "Client", "Drawing", "Comments"});
  j["Project"] = project;
  if (version < 530) j["Revisions"] = TJson::array();
  for (const char* k : {"Layouts", "Sessions", "CutOuts", "HoleTexts", "Assemblies", "Crosses"}) j[k] = TJson::array();
  Copy(j, def, {"ToDo", "BillOfMaterials", "CalculateSettings"});
  for (TJson& g : j["Groups"]) g["Value1"] = g["Value2"] = 0.0;
  for (TJson& h : j["Holes"]) {
    h["Flags"] = h["Flags"].get<int>() & (1 | 2 | 4 | 8 | 256 | 1024 | 2048 | 4096 | 8192);
    h["StartDepth"] = h["Setting10232"] = 0.0;
    h["Setting10272"] = 0;
    h["ExtraDiameters"] = h["HoleTexts"] = TJson::array();
    h["ManufacturingNote"] = {{"Lines", TJson::array()}, {"StandardNoteDisabled", 0}};
    TJson& t = h["PartTexts"];
    t["Text7060"] = "";
    if (version < 520) {
      t["Text7010"] = Cut(t["Text7010"], 30);
      t["Text7020"] = Cut(t["Text7020"], 15);
      t["Text7040"] = "";
      t["Value7050"] = 1;
    }
    for (TJson& s : h["Steps"]) {
      s["Flags"] = s["Flags"].get<int>() & 31;
      s["Text20200"] = Cut(s["Text20200"], 23);
      s["Remark"] = Cut(s["Remark"], 27);
      if (version < 540) {
        s["Text20360"] = s["Text20370"] = "";
        s["Setting20380"] = 0;
      }
    }
    for (TJson& v : h["Valves"])
      for (const char* k : {"Text30270", "Text30280", "Text30290", "Text30300", "Text30340", "Text30320"}) v[k] = "";
  }
  return j;
}

TEST(LegacyWriter, Version5DocumentsReadBackAsTheDemoLessWhatTheyCannotCarry) {
  test::TTempDir dir;
  for (int version : {540, 530, 520, 510, 500}) {
    SCOPED_TRACE(version);
    TManifold doc;
    BuildRichDemo(doc);
    // The dummy hole's flag is one the old layouts drop: the hole comes back as an ordinary one.
    ASSERT_TRUE(doc.Holes.Last().Dummy());
    const TJson expected = ExpectedAfterVersion5(doc, version);
    std::string path = dir.Write("v5.mnf", writer::Version5Document(doc, version));
    EXPECT_EQ(DetectFileVersion(path), version);
    test::TRecordingMessages messages;
    TManifold m;
    m.SetMessages(&messages);
    ASSERT_TRUE(LoadManifoldFile(m, path));
    EXPECT_TRUE(messages.Errors.empty());
    EXPECT_TRUE(SameDump(expected, Comparable(m)));
    EXPECT_FALSE(m.Holes.Last().Dummy());
  }
}


// The demo block as a version 4 document could hold it: palette colours, one valve per hole, a
// pattern, a turned label and an angled hole on each of two faces.
void BuildVersion4Demo(TManifold& doc) {
  BuildRichDemo(doc);
  doc.Groups.Items(0).Color = PaletteColor(12);
  doc.Groups.Items(1).Color = PaletteColor(9);
  doc.Groups.Items(2).Color = PaletteColor(10);
  doc.Groups.Items(3).Color = PaletteColor(14);
  doc.Groups.Items(4).Color = PaletteColor(13);
  doc.Project.CreatedOn = 36000.5;  // 22 July 1998, noon
  for (int i = 0; i < 3; ++i) {
    doc.Holes.Items(i).PatternId = 0;
    doc.Holes.Items(i).PatternIndex = i;
  }
  doc.Holes.Items(0).LabelRotation = 90;
  THole& angled = doc.Holes.Items(5);
  angled.Flags |= THole::AngledBit;
  angled.TiltAngle = 30;
  angled.TiltDirection = 180;  // on face 1: stored as -30, 0 the old way
  ASSERT_EQ(angled.Face, 1);
}

double ThroughSingle(double v) { return FixSingle(static_cast<float>(v)); }

TEST(LegacyWriter, Version4DocumentsReadBackWhatTheLayoutCarries) {
  test::TTempDir dir;
  for (int version : {420, 415, 410, 400}) {
    SCOPED_TRACE(version);
    TManifold doc;
    BuildVersion4Demo(doc);
    if (HasFatalFailure()) return;
    std::string path = dir.Write("v4.mnf", writer::Version4Document(doc, version));
    EXPECT_EQ(DetectFileVersion(path), version);
    test::TRecordingMessages messages;
    TManifold m;
    m.SetMessages(&messages);
    ASSERT_TRUE(LoadManifoldFile(m, path));
    EXPECT_TRUE(messages.Errors.empty());
    EXPECT_EQ(m.SizeX, doc.SizeX);
    EXPECT_EQ(m.Text2040, doc.Text2040.substr(0, 12));
    EXPECT_EQ(m.Project.ProjectName, "Demo");
    EXPECT_EQ(m.Project.Client, "Demo");  // the old header has one text for both
    EXPECT_EQ(m.Project.Drawn, "JD");
    EXPECT_EQ(m.Project.CreatedOn, 36000.5);
    EXPECT_EQ(m.Project.Comments.Lines(), doc.Project.Comments.Lines());
    EXPECT_EQ(m.PlotSettings1.Sizes[1], doc.PlotSettings1.Sizes[1]);
    EXPECT_EQ(m.PlotSettings1.Setting50070, doc.PlotSettings1.Setting50070);
    ASSERT_EQ(m.Groups.Count(), doc.Groups.Count());
    for (int i = 0; i < m.Groups.Count(); ++i) {
      EXPECT_EQ(m.Groups.Items(i).Code, doc.Groups.Items(i).Code);
      EXPECT_EQ(m.Groups.Items(i).Color, doc.Groups.Items(i).Color);
    }
    ASSERT_EQ(m.Holes.Count(), doc.Holes.Count());
    for (int i = 0; i < m.Holes.Count(); ++i) {
      SCOPED_TRACE(i);
      const THole& a = m.Holes.Items(i);
      const THole& e = doc.Holes.Items(i);
      EXPECT_EQ(a.Number, e.Number);
      EXPECT_EQ(a.Face, e.Face);
      EXPECT_EQ(a.X, ThroughSingle(e.X));
      EXPECT_EQ(a.Y, ThroughSingle(e.Y));
      EXPECT_EQ(a.Flags, e.Flags & (1 | 2 | 4 | 8 | 256 | 1024 | 2048 | 4096 | 8192));
      EXPECT_EQ(a.PatternId, e.PatternId);
      if (e.PatternId >= 0) {
        EXPECT_EQ(a.PatternIndex, e.PatternIndex);
      }
      EXPECT_EQ(a.TiltAngle, e.TiltAngle);
      EXPECT_EQ(a.TiltDirection, e.TiltDirection);
      EXPECT_EQ(a.LabelRotation, e.LabelRotation);
      ASSERT_EQ(a.Steps.Count(), e.Steps.Count());
      for (int k = 0; k < a.Steps.Count(); ++k) {
        const TStep& as = a.Steps.Items(k);
        const TStep& es = e.Steps.Items(k);
        EXPECT_EQ(as.Number, es.Number);
        EXPECT_EQ(as.Flags, es.Flags & 7);
        EXPECT_EQ(as.Diameter, ThroughSingle(es.Diameter));
        EXPECT_EQ(as.Depth, ThroughSingle(es.Depth));
        EXPECT_EQ(as.ThreadDiameter, ThroughSingle(es.ThreadDiameter));
        EXPECT_EQ(as.PointAngle, es.PointAngle);
        EXPECT_EQ(as.Remark, es.Remark.substr(0, 24));
        EXPECT_EQ(as.GroupCode, es.GroupCode.substr(0, 5));
        EXPECT_EQ(as.PortDepthA, ThroughSingle(es.PortDepthA));
      }
      ASSERT_EQ(a.Contours.Count(), e.Contours.Count());
      for (int k = 0; k < a.Contours.Count(); ++k) EXPECT_EQ(a.Contours.Items(k).Y, e.Contours.Items(k).Y);
      ASSERT_EQ(a.Valves.Count(), std::min(e.Valves.Count(), 1));
      if (a.Valves.Count() > 0) {
        EXPECT_EQ(a.Valves.Items(0).ItemNumber, e.Valves.Items(0).ItemNumber);
        EXPECT_EQ(a.Valves.Items(0).ItemNumberX, e.Valves.Items(0).ItemNumberX);
        EXPECT_EQ(a.Valves.Items(0).ItemNumberRotation, e.Valves.Items(0).ItemNumberRotation);
      }
    }
  }
}


// A small block with what the headerless layouts can hold: a pattern with contour points and a valve,
// a threaded step, and a plugged, angled hole with a turned label and a group letter in its remark.
void BuildHeaderlessDemo(TManifold& doc) {
  doc.Reset();
  doc.SizeX = 120;
  doc.SizeY = 90;
  doc.SizeZ = 60;
  doc.Text2040 = "Demo";
  doc.Project.ProjectName = "Manifold with a long name XY";
  doc.Project.Drawn = "JD";
  THole& first = doc.Holes.Add();
  first.Number = 1;
  first.Face = 1;
  first.X = 10;
  first.Y = 20;
  first.PatternId = 0;
  first.PatternIndex = 0;
  for (double p : {5.0, 7.0}) {
    TContour& c = first.Contours.Add();
    c.X = p;
    c.Y = p + 1;
  }
  TValve& valve = first.Valves.Add();
  valve.ItemNumber = "12";
  valve.ItemNumberX = 3;
  valve.ItemNumberY = 4;
  valve.ItemNumberRotation = 90;
  valve.Text30070 = "CART";
  TStep& inner = first.Steps.Add();
  inner.Diameter = 8;
  inner.Depth = 30;
  inner.Remark = "'V1";
  TStep& outer = first.Steps.Add();
  outer.Diameter = 12.5;
  outer.Depth = 20;
  outer.Flags = TStep::ThreadedBit;
  outer.Text20200 = "M12";
  outer.ThreadLength = 15;
  THole& member = doc.Holes.Add();
  member.Face = 1;
  member.X = 30;
  member.Y = 20;
  member.PatternId = 0;
  member.PatternIndex = 1;
  member.Steps.Add().Diameter = 8;
  member.Steps.Items(0).Depth = 30;
  THole& angled = doc.Holes.Add();
  angled.Face = 3;
  angled.X = 40;
  angled.Y = 50;
  angled.Flags = THole::AngledBit | THole::PlugBit;
  angled.TiltAngle = 30;
  angled.TiltDirection = 90;
  angled.LabelRotation = 180;
  TStep& s = angled.Steps.Add();
  s.Diameter = 6;
  s.Depth = 40;
  s.Remark = "TAP PLUG";
  doc.Holes.Renumber();
}

TEST(LegacyWriter, HeaderlessDocumentsReadBackWhatTheLayoutCarries) {
  test::TTempDir dir;
  for (int version : {300, 200, 100}) {
    SCOPED_TRACE(version);
    TManifold doc;
    BuildHeaderlessDemo(doc);
    const writer::TBytes bytes = version == 300   ? writer::Version300Document(doc)
                                 : version == 200 ? writer::Version200Document(doc)
                                                  : writer::Version100Document(doc);
    std::string path = dir.Write("old.mnf", bytes);
    test::TRecordingMessages messages;
    messages.Answer = true;
    TManifold m;
    m.SetMessages(&messages);
    ASSERT_TRUE(LoadManifoldFile(m, path));
    EXPECT_EQ(DetectFileVersion(path), version == 100 ? VersionUnknown : version);
    EXPECT_EQ(m.SizeY, 90);
    if (version >= 200) {
      EXPECT_EQ(m.Text2040, "Demo");
      EXPECT_EQ(m.Project.ProjectName, version == 300 ? "Manifold with a long name XY" : "Manifold with a long nam");
      EXPECT_EQ(m.Project.Drawn, "JD");
    }
    ASSERT_EQ(m.Holes.Count(), 3);
    const THole& a = m.Holes.Items(0);
    EXPECT_EQ(a.Number, 1);
    EXPECT_EQ(a.PatternId, 0);
    EXPECT_EQ(m.Holes.Items(1).PatternId, 0);
    EXPECT_EQ(m.Holes.Items(1).PatternIndex, 1);
    ASSERT_EQ(a.Steps.Count(), 2);
    EXPECT_EQ(a.Steps.Items(1).Diameter, 12.5);
    EXPECT_TRUE(a.Steps.Items(1).Threaded());
    EXPECT_EQ(a.Steps.Items(1).Text20200, "M12");
    EXPECT_EQ(a.Steps.Items(1).ThreadLength, 15);
    EXPECT_EQ(a.Steps.Items(0).Remark, "'V1");
    const THole& c = m.Holes.Items(2);
    EXPECT_TRUE(c.Plug());
    EXPECT_EQ(c.LabelRotation, 180);
    EXPECT_EQ(c.Steps.Items(0).Remark, version == 300 ? "@2TAP PLUG" : "TAP PLUG");
    EXPECT_EQ(c.Steps.Items(0).GroupCode, "P");
    if (version == 100) {
      EXPECT_EQ(a.Contours.Count(), 0);
      EXPECT_EQ(a.Valves.Count(), 0);
      EXPECT_FALSE(c.Angled());
      continue;
    }
    ASSERT_EQ(a.Contours.Count(), 2);
    EXPECT_EQ(a.Contours.Items(1).Y, 8);
    ASSERT_EQ(a.Valves.Count(), 1);
    EXPECT_EQ(a.Valves.Items(0).ItemNumber, "12");
    EXPECT_EQ(a.Valves.Items(0).ItemNumberX, 3);
    EXPECT_EQ(a.Valves.Items(0).ItemNumberRotation, 90);
    EXPECT_TRUE(c.Angled());
    EXPECT_EQ(c.TiltAngle, 30);
    EXPECT_EQ(c.TiltDirection, 90);
  }
}

}  // namespace
}  // namespace qv
