// Version 5 documents: hand-assembled files of the three record families, the differences between the
// versions, lists without items, and files that end early or carry counts they cannot hold.
#include <gtest/gtest.h>

#include "loader/DocumentLoader.h"
#include "model/Dump.h"
#include "model/Manifolds.h"
#include "tests/TestFiles.h"
#include "tests/legacy/OldBytes.h"

namespace qv {
namespace {

using test::TFileBytes;
using test::TOldBytes;
using test::TOldFile;

struct TSizes {
  const char* Version;
  size_t Manifold, Plot, Hole, Step;
  bool Revisions;
};
constexpr TSizes V540{"5.40", 1200, 244, 300, 204, true};
constexpr TSizes V530{"5.30", 668, 244, 276, 144, true};
constexpr TSizes V520{"5.20", 668, 244, 276, 144, false};
constexpr TSizes V510{"5.10", 456, 164, 192, 144, false};
constexpr TSizes V500{"5.00", 456, 164, 192, 144, false};

TFileBytes Manifold(const TSizes& v) {
  TOldBytes m(v.Manifold, 0xEE);  // bytes no field names stay 0xEE: they must be dropped
  m.U8(0, 7).U8(1, 1).I32(4, 3).F64(8, 120.5).F64(16, 80).F64(24, 60.25);
  m.U8(32, 2).I32(36, 5).F64(40, 1.5).I32(48, 0).F64(52, 0).I32(60, 0).F64(64, 0);
  m.U8(72, 0xFA).F64(76, 6.5).U8(84, 0xFF).U8(85, 0x80).I32(88, 11).I32(92, 12);
  m.U8(96, 9).U8(97, 0xFF).U8(98, 4).I32(100, 13);
  for (int i = 0; i < 7; ++i) m.F64(104 + 8 * i, 1 + i);
  m.I32(160, 0).F64(164, 0).F64(172, 0).U8(180, 1);
  m.Str(184, "Block").F64(268, 0.5).F64(276, 7000).Str(284, "T50").Str(365, "T51").I32(448, 20).U8(452, 0);
  if (v.Manifold >= 668) m.Str(453, "Housing").Str(504, "Steel").Str(535, "Note").Str(606, "Code").U8(657, 0);
  return m;
}

TFileBytes Plot(const TSizes& v, uint8_t kind, uint32_t drawFlags) {
  TOldBytes p(v.Plot);
  p.U8(0, kind).F64(4, 30).F64(12, 35).F64(20, 3.5);
  for (int i = 0; i < 5; ++i) p.F64(28 + 8 * i, 1.1 + 0.1 * i);
  p.U8(68, 0).U8(69, 0).I32(72, 4).I32(76, static_cast<int32_t>(drawFlags)).Str(80, "Comment");
  if (v.Plot >= 244) p.Str(161, "Second").U8(242, 3);
  else p.U8(161, 3);
  return p;
}

TFileBytes Hole(const TSizes& v, int32_t number, uint16_t oldFlags) {
  TOldBytes h(v.Hole, 0xEE);
  h.I32(0, number).I32(4, 0).I32(8, 1).U16(12, oldFlags).Zeros(14, 2);
  h.I32(16, 2).F64(20, 40).F64(28, 50).I32(36, 3).F64(40, 22).F64(48, 15).F64(56, 90);
  if (v.Hole >= 276) {
    h.I32(64, 180).Str(68, "Cartridge").Zeros(78, 41).Str(119, "Steel").Zeros(125, 25);
    h.Str(150, "Note").Zeros(155, 66).Str(221, "Code").Zeros(226, 46).U8(272, 0).U8(273, 5);
  } else {
    h.Str(64, "Cartridge").Zeros(74, 21).Str(95, "Steel").Zeros(101, 10).Str(111, "Note").Zeros(116, 68);
    h.I32(184, 90).U8(188, 5);
  }
  return h;
}

TFileBytes Step(const TSizes& v) {
  TOldBytes s(v.Step, 0xEE);
  s.I32(0, 1).U16(4, 0xFF).Zeros(6, 2).F64(8, 12).F64(16, 30).Str(24, "M16", 40).Zeros(28, 20);
  s.F64(48, 20).Str(56, "'V1").Zeros(60, 24).I32(84, 118).F64(88, 16).Str(96, "S20").Zeros(100, 17);
  s.Str(117, "P").Zeros(119, 9).F64(128, 25).F64(136, 26);
  if (v.Step >= 204) s.Str(144, "A360").Zeros(149, 11).Str(160, "A370").Zeros(165, 11).U8(176, 2);
  return s;
}

TFileBytes Valve() {
  TOldBytes r(340);
  r.I32(0, 9).Str(4, "12").F64(28, 5).F64(36, 6).U16(44, 90).Str(46, "Valve").Str(87, "Type");
  r.F64(128, 1).F64(136, 2).F64(144, 3).F64(152, 4).F64(160, 7).U8(168, 1);
  r.Str(169, "a").Str(200, "b").Str(251, "c").U8(322, 0xEE).U8(323, 0xEE).F64(324, 8.5).F64(332, 9.5);
  return r;
}

TFileBytes Line(const std::string& text) { return TOldBytes(256).Str(0, text); }

// A whole document of the layout `v`: two groups, a hole with one step, contour and valve, and a hole
// whose lists are all empty.
TOldFile Document(const TSizes& v) {
  TOldFile f;
  f.Header(v.Version).Add(Manifold(v));
  if (v.Revisions)
    f.Count(1).Add(TOldBytes(208).Str(0, "B").F64(8, 40000).Str(16, "Changed").Str(145, "AB").Str(176, "CD"));
  f.Add(TOldBytes(340)
            .Str(0, "JD").Str(31, "QA").F64(64, 39000.25).F64(72, 39001.5)
            .Str(80, "Pump").Str(145, "O-17").Str(210, "Client").Str(275, "D-1"));
  f.Count(2).Add(Line("first")).Add(Line("second"));
  f.Add(Plot(v, 1, 0xFFFFFFFF)).Add(Plot(v, 2, 0x100));
  f.Count(2).Add(TOldBytes(20).Str(0, "P").I32(12, 0x0000FF).U8(16, 1)).Add(TOldBytes(20).Str(0, "T").I32(12, 0xFF0000));
  f.Count(2);
  f.Add(Hole(v, 7, 0x80 | 0x01 | 0x10)).Count(1).Add(Step(v));
  f.Count(1).Add(TOldBytes(16).F64(0, 3).F64(8, 4)).Count(1).Add(Valve());
  f.Add(Hole(v, 8, 0)).Count(0).Count(0).Count(0);
  return f;
}

struct TLoaded {
  test::TTempDir Dir;
  test::TRecordingMessages Messages;
  TManifold Doc;
  bool Result = false;
  explicit TLoaded(const TFileBytes& bytes) {
    Doc.SetMessages(&Messages);
    Result = LoadManifoldFile(Doc, Dir.Write("doc.mnf", bytes));
  }
};

void ExpectCommonContent(const TManifold& m, const TSizes& v) {
  SCOPED_TRACE(v.Version);
  EXPECT_EQ(m.Setting2002, 1);  // 7 is out of range: the default stays
  EXPECT_TRUE(m.Inch);
  EXPECT_EQ(m.Decimals, 3);
  EXPECT_EQ(m.SizeX, 120.5);
  EXPECT_EQ(m.SizeZ, 60.25);
  EXPECT_EQ(m.Setting2100, 2);
  EXPECT_EQ(m.Setting2110, 5);
  EXPECT_EQ(m.Setting2111, 1.5);
  EXPECT_EQ(m.Options22, 2);    // only bits 0-2 of 0xFA
  EXPECT_EQ(m.Options23, 63);
  EXPECT_EQ(m.Options24, 0);    // bit 7 is not carried
  EXPECT_EQ(m.Setting2200, 6.5);
  EXPECT_EQ(m.Setting2202, 12);
  EXPECT_EQ(m.Setting2500, 9);
  EXPECT_EQ(m.Options25, 0xFF);  // copied as it is
  EXPECT_EQ(m.Setting2501, 4);
  EXPECT_EQ(m.Setting2610, 13);
  EXPECT_EQ(m.Series2600[6], 7);
  EXPECT_EQ(m.Text2040, "Block");
  EXPECT_EQ(m.Setting2042, 7000);
  EXPECT_EQ(m.Text2051, "T51");
  EXPECT_EQ(m.Setting2005, 20);
  EXPECT_FALSE(m.Setting2006);
  // Everything after the old record keeps its default, whatever the dropped bytes hold.
  EXPECT_EQ(m.Setting2007, 0.5);
  EXPECT_EQ(m.Text2630, "");
  EXPECT_EQ(m.ImageOnlyValue, 5.0);
  EXPECT_EQ(m.Setting2750, 1.0);

  EXPECT_EQ(m.Project.Drawn, "JD");
  EXPECT_EQ(m.Project.Checked, "QA");
  EXPECT_EQ(m.Project.CreatedOn, 39000.25);
  EXPECT_EQ(m.Project.ModifiedOn, 39001.5);
  EXPECT_EQ(m.Project.Drawing, "D-1");
  EXPECT_EQ(m.Project.Comments.Lines(), (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(m.Project.Pressure, "");

  const TPlotSettings& p = m.PlotSettings1;
  EXPECT_EQ(p.Kind, 1);
  EXPECT_EQ(p.Setting50022, 35);
  EXPECT_EQ(p.Setting50300, 3.5);
  EXPECT_EQ(p.Sizes[4], 1.5);
  EXPECT_EQ(p.Sizes[5], 3.5);  // not carried
  EXPECT_EQ(p.Setting50060, 0);
  EXPECT_EQ(p.Setting50070, 0);
  EXPECT_EQ(p.Setting50080, 4);
  EXPECT_EQ(p.Setting50090, "Comment");
  EXPECT_EQ(p.Setting50200, 3);
  EXPECT_FALSE(p.DrawFlag(8));
  EXPECT_FALSE(p.DrawFlag(32));
  EXPECT_EQ(m.PlotSettings2.Kind, 2);
  EXPECT_EQ(m.PlotSettings2.DrawFlags, 0u);  // only bit 8, which is never carried

  ASSERT_EQ(m.Groups.Count(), 2);
  EXPECT_EQ(m.Groups.Items(0).Code, "P");
  EXPECT_EQ(m.Groups.Items(0).Color, 0x0000FF);
  EXPECT_EQ(m.Groups.Items(0).Option, 1);
  EXPECT_EQ(m.Groups.Items(1).Color, 0xFF0000);

  ASSERT_EQ(m.Holes.Count(), 2);
  const THole& h = m.Holes.Items(0);
  EXPECT_EQ(h.Number, 7);
  EXPECT_EQ(h.PatternId, 0);
  EXPECT_EQ(h.PatternIndex, 1);
  EXPECT_EQ(h.Flags, THole::AngledBit | THole::PlugBit);
  EXPECT_EQ(h.Face, 2);
  EXPECT_EQ(h.Y, 50);
  EXPECT_EQ(h.Setting10220, 3);
  EXPECT_EQ(h.ContourDiameter, 22);
  EXPECT_EQ(h.TiltAngle, 15);
  EXPECT_EQ(h.TiltDirection, 90);
  EXPECT_EQ(h.PartTexts.Text7010, "Cartridge");
  EXPECT_EQ(h.PartTexts.Text7060, "");
  EXPECT_TRUE(h.Flag10270);
  EXPECT_EQ(h.StartDepth, 0);
  ASSERT_EQ(h.Steps.Count(), 1);
  const TStep& s = h.Steps.Items(0);
  EXPECT_EQ(s.Number, 1);
  EXPECT_EQ(s.Flags, 31);
  EXPECT_EQ(s.Diameter, 12);
  EXPECT_EQ(s.Depth, 30);
  EXPECT_EQ(s.Text20200, std::string("M16") + std::string(20, '\0'));  // a length byte of 40 stops at 23
  EXPECT_EQ(s.ThreadLength, 20);
  EXPECT_EQ(s.Remark, "'V1");
  EXPECT_EQ(s.PointAngle, 118);
  EXPECT_EQ(s.ThreadDiameter, 16);
  EXPECT_EQ(s.Text20320, "S20");
  EXPECT_EQ(s.GroupCode, "P");
  EXPECT_EQ(s.PortDepthA, 25);
  EXPECT_EQ(s.PortDepthB, 26);
  EXPECT_EQ(s.Text20382, "<>");
  ASSERT_EQ(h.Contours.Count(), 1);
  EXPECT_EQ(h.Contours.Items(0).Y, 4);
  ASSERT_EQ(h.Valves.Count(), 1);
  const TValve& valve = h.Valves.Items(0);
  EXPECT_EQ(valve.Setting30010, 9);
  EXPECT_EQ(valve.ItemNumber, "12");
  EXPECT_EQ(valve.ItemNumberRotation, 90);
  EXPECT_EQ(valve.Text30070, "Type");
  EXPECT_EQ(valve.Setting30092, 4);
  EXPECT_EQ(valve.Setting30200, 7);
  EXPECT_EQ(valve.Setting30210, 1);
  EXPECT_EQ(valve.Text30240, "c");
  EXPECT_EQ(valve.Text30270, "");
  EXPECT_EQ(valve.Setting30250, 8.5);
  EXPECT_EQ(valve.Setting30260, 9.5);

  // A hole whose step list has the count 0 has no steps, and nobody is told.
  const THole& empty = m.Holes.Items(1);
  EXPECT_EQ(empty.Number, 8);
  EXPECT_EQ(empty.Steps.Count(), 0);
  EXPECT_EQ(empty.Contours.Count(), 0);
  EXPECT_EQ(empty.Valves.Count(), 0);
}

TEST(Version5, EachVersionReadsItsOwnRecordSizes) {
  for (const TSizes* v : {&V540, &V530, &V520, &V510, &V500}) {
    TLoaded f(Document(*v).Bytes());
    EXPECT_TRUE(f.Result) << v->Version;
    EXPECT_TRUE(f.Messages.Errors.empty()) << v->Version;
    ExpectCommonContent(f.Doc, *v);
  }
}

TEST(Version5, RevisionsOnlyFrom530On) {
  TLoaded v530(Document(V530).Bytes());
  ASSERT_EQ(v530.Doc.Revisions.Count(), 1);
  const TRevision& r = v530.Doc.Revisions.Items(0);
  EXPECT_EQ(r.Number, "B");
  EXPECT_EQ(r.Date, 40000);
  EXPECT_EQ(r.Description, "Changed");
  EXPECT_EQ(r.Checked, "CD");
  // 5.20 has none: the project record follows the manifold record directly.
  TLoaded v520(Document(V520).Bytes());
  EXPECT_EQ(v520.Doc.Revisions.Count(), 0);
  EXPECT_EQ(v520.Doc.Project.Drawn, "JD");
}

TEST(Version5, PartTextsOfTheManifoldFrom520On) {
  for (const TSizes* v : {&V540, &V530, &V520}) {
    TLoaded f(Document(*v).Bytes());
    EXPECT_EQ(f.Doc.PartTexts.Text7010, "Housing") << v->Version;
    EXPECT_EQ(f.Doc.PartTexts.Text7040, "Code") << v->Version;
    EXPECT_EQ(f.Doc.PartTexts.Value7050, 0) << v->Version;
  }
  TLoaded v500(Document(V500).Bytes());
  EXPECT_EQ(v500.Doc.PartTexts.Text7010, "");
  EXPECT_EQ(v500.Doc.PartTexts.Value7050, 1);
}

TEST(Version5, DrawingFlagsCarriedPerVersion) {
  constexpr uint64_t Low = 0xFF;
  TLoaded v540(Document(V540).Bytes());
  EXPECT_EQ(v540.Doc.PlotSettings1.DrawFlags, 0xFFFFFFFFull & ~(1ull << 8));
  TLoaded v530(Document(V530).Bytes());
  EXPECT_EQ(v530.Doc.PlotSettings1.DrawFlags, Low | 0x3FFE00);  // 0-7 and 9-21
  TLoaded v500(Document(V500).Bytes());
  EXPECT_EQ(v500.Doc.PlotSettings1.DrawFlags, Low | 0x1FFE00);  // 0-7 and 9-20
  EXPECT_EQ(v500.Doc.PlotSettings1.Setting50100, "");           // not carried before 5.20
  EXPECT_EQ(v530.Doc.PlotSettings1.Setting50100, "Second");
}

TEST(Version5, TheShortHoleRecordOf510And500) {
  TLoaded f(Document(V510).Bytes());
  ASSERT_EQ(f.Doc.Holes.Count(), 2);
  const THole& h = f.Doc.Holes.Items(0);
  EXPECT_EQ(h.LabelRotation, 90);
  EXPECT_EQ(h.PartTexts.Text7010, "Cartridge");
  EXPECT_EQ(h.PartTexts.Text7020, "Steel");
  EXPECT_EQ(h.PartTexts.Text7030, "Note");
  EXPECT_EQ(h.PartTexts.Text7040, "");
  EXPECT_EQ(h.PartTexts.Value7050, 1);
  EXPECT_TRUE(h.Flag10270);
  EXPECT_EQ(h.Steps.Items(0).Text20360, "");  // the 144-byte step has no such text
  TLoaded f540(Document(V540).Bytes());
  const THole& h540 = f540.Doc.Holes.Items(0);
  EXPECT_EQ(h540.LabelRotation, 180);
  EXPECT_EQ(h540.PartTexts.Text7020, "Steel");
  EXPECT_EQ(h540.PartTexts.Value7050, 0);
  EXPECT_EQ(h540.Steps.Items(0).Text20360, "A360");
  EXPECT_EQ(h540.Steps.Items(0).Text20370, "A370");
  EXPECT_EQ(h540.Steps.Items(0).Setting20380, 2);
}

TEST(Version5, VersionCodesAndTheSharedReaderOf510And500) {
  test::TTempDir dir;
  EXPECT_EQ(DetectFileVersion(dir.Write("a.mnf", Document(V540).Bytes())), Version540);
  EXPECT_EQ(DetectFileVersion(dir.Write("b.mnf", Document(V510).Bytes())), Version510);
  EXPECT_EQ(DetectFileVersion(dir.Write("c.mnf", Document(V500).Bytes())), Version500);
}

TEST(Version5, AFileCutAnywhereKeepsWhatWasReadAndTellsOnce) {
  const TFileBytes whole = Document(V540).Bytes();
  test::TTempDir dir;
  for (size_t size = 40; size < whole.size(); size += 7) {
    TFileBytes cut(whole.begin(), whole.begin() + static_cast<long>(size));
    test::TRecordingMessages messages;
    TManifold m;
    m.SetMessages(&messages);
    ASSERT_TRUE(LoadManifoldFile(m, dir.Write("cut.mnf", cut))) << size;
    ASSERT_EQ(messages.Errors.size(), 1u) << size;
    EXPECT_NE(messages.Errors[0].find("ends unexpectedly"), std::string::npos);
    EXPECT_LE(m.Holes.Count(), 2);
  }
  // Cut inside the second hole's record: the first hole is whole, the second keeps what it got.
  const size_t secondHole = whole.size() - 12 - 300;
  TFileBytes cut(whole.begin(), whole.begin() + static_cast<long>(secondHole + 10));
  TLoaded f(cut);
  ASSERT_EQ(f.Doc.Holes.Count(), 2);
  EXPECT_EQ(f.Doc.Holes.Items(0).Valves.Count(), 1);
  EXPECT_EQ(f.Doc.Holes.Items(1).Number, 8);
  EXPECT_EQ(f.Doc.Holes.Items(1).Face, 0);  // not in the 10 bytes read
}

TEST(Version5, CountsTheFileCannotHoldAreCutToWhatItHolds) {
  TOldFile f;
  f.Header("5.00").Add(Manifold(V500)).Add(TOldBytes(340)).Count(0x7FFFFFFF).Add(Line("only"));
  f.Add(Plot(V500, 1, 0)).Add(Plot(V500, 2, 0)).Count(-5);
  f.Count(0x7FFFFFFF).Add(Hole(V500, 1, 0)).Count(0x40000000).Add(Step(V500));
  TLoaded loaded(f.Bytes());
  EXPECT_TRUE(loaded.Result);
  EXPECT_EQ(loaded.Messages.Errors.size(), 1u);
  // The comment count swallows everything after it as lines; no more lines than bytes allow.
  EXPECT_LE(loaded.Doc.Project.Comments.Count(), static_cast<int>(f.Size() / 256));
  EXPECT_EQ(loaded.Doc.Project.Comments.Items(0), "only");
}

TEST(Version5, NegativeAndHugeListCountsInsideAHole) {
  TOldFile f;
  f.Header("5.30").Add(Manifold(V530)).Count(0).Add(TOldBytes(340)).Count(0);
  f.Add(Plot(V530, 1, 0)).Add(Plot(V530, 2, 0)).Count(-1);
  f.Count(1).Add(Hole(V530, 1, 0)).Count(-3).Count(0x7FFFFFFF).Add(TOldBytes(16).F64(0, 1)).Count(0);
  TLoaded loaded(f.Bytes());
  ASSERT_EQ(loaded.Doc.Holes.Count(), 1);
  EXPECT_EQ(loaded.Doc.Holes.Items(0).Steps.Count(), 0);
  // Only one contour fits; the valve count after it is never reached.
  EXPECT_EQ(loaded.Doc.Holes.Items(0).Contours.Count(), 1);
  EXPECT_EQ(loaded.Doc.Holes.Items(0).Valves.Count(), 0);
  EXPECT_EQ(loaded.Messages.Errors.size(), 1u);
  // The dump shows the hole without steps as it is.
  EXPECT_EQ(DumpDocument(loaded.Doc)["Holes"][0]["Steps"], TJson::array());
}

}  // namespace
}  // namespace qv
