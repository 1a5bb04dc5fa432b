// Versions 3.00, 2.00 and 1.00: headerless files recognised by their size, the header records, the
// packed texts and group letters, holes of several records (3.00) or of up to three steps (2.00, 1.00),
// patterns and their contour points, and any file read like a 1.00 file when the user asks for it.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <utility>

#include "legacy/Headerless.h"
#include "legacy/Readers.h"
#include "loader/DocumentLoader.h"
#include "model/Manifolds.h"
#include "model/ReadErrors.h"
#include "tests/TestFiles.h"
#include "tests/legacy/OldBytes.h"

namespace qv {
namespace {

using test::TFileBytes;
using test::TOldBytes;
using test::TOldFile;

struct TLoaded {
  test::TTempDir Dir;
  test::TRecordingMessages Messages;
  TManifold Doc;
  bool Result = false;
  std::string Path;
  explicit TLoaded(const TFileBytes& bytes, bool answerYes = false) {
    Messages.Answer = answerYes;
    Doc.SetMessages(&Messages);
    Path = Dir.Write("doc.mnf", bytes);
    Result = LoadManifoldFile(Doc, Path);
  }
};

TFileBytes Join(std::initializer_list<TFileBytes> records) {
  TOldFile f;
  for (const TFileBytes& r : records) f.Add(r);
  return f.Bytes();
}

// --- 3.00 --------------------------------------------------------------------------------------------

TOldBytes Header300() {
  TOldBytes h(134);
  h.I16(2, 2530).U8(4, 0).F32(5, 120).F32(9, 80).F32(13, 60).F32(17, 5.5f).Str(21, "DRW-1");
  h.F32(78, 5).U8(82, 1 | 8).F32(105, 3).Str(109, std::string("Demo block  ") + "J. Doe");
  return h;
}

// A 3.00 data record: the hole number, the flags of byte 2, the face, and the step number and remark.
TOldBytes Record300(int16_t hole, uint8_t flags, uint8_t face, uint8_t step, const std::string& remark) {
  TOldBytes r(134);
  r.I16(0, hole).U8(2, flags).U8(4, face).F32(5, 10).F32(9, 20).U8(83, step).U8(84, 2).F32(86, 8).F32(90, 30);
  r.Str(94, "M10").F32(105, 12).Str(109, remark);
  return r;
}

TEST(PackedText, UpToThreeCharactersInBase100) {
  EXPECT_EQ(PackedText(3450.0f), "AQ");
  EXPECT_EQ(PackedText(50.0f), "Q");
  EXPECT_EQ(PackedText(345066.0f), "AQa");
  EXPECT_EQ(PackedText(0.0f), "");
  EXPECT_EQ(PackedText(-3450.0f), "");
  EXPECT_EQ(PackedText(NAN), "");
  EXPECT_LE(PackedText(1e30f).size(), 3u);  // a damaged value stops, it never overflows
}

TEST(Version300, HeaderRecord) {
  TOldBytes h = Header300();
  h.Str(94, "AB").F32(37, 3450).U8(83, 33);
  h.F32(46, 3200).F32(50, 0).F32(54, 13012).F32(58, 4);
  TLoaded f(Join({h, Record300(1, 0, 1, 1, "")}));
  ASSERT_TRUE(f.Result);
  EXPECT_EQ(DetectFileVersion(f.Path), Version300);
  const TManifold& m = f.Doc;
  EXPECT_FALSE(m.Inch);
  EXPECT_EQ(m.Decimals, 2);
  EXPECT_EQ(m.SizeX, 120);
  EXPECT_EQ(m.SizeZ, 60);
  EXPECT_EQ(m.Setting2200, 5.5);
  EXPECT_EQ(m.Project.Drawing, "DRW-1");
  EXPECT_EQ(m.Project.ProjectName, "ABAQA");
  EXPECT_EQ(m.Text2040, "Demo block");
  EXPECT_EQ(m.Project.Drawn, "J. Doe");
  // Series in a millimetre document: 3200 gives 2.0 and 0.03, 13012 gives 0.12 and 0.13, and 0 gives
  // the default for both.
  EXPECT_EQ(m.Series2600[0], 4);
  EXPECT_EQ(m.Series2600[1], 2.0);
  EXPECT_EQ(m.Series2600[2], 0.03);
  EXPECT_EQ(m.Series2600[3], 3.2);
  EXPECT_EQ(m.Series2600[4], 3.2);
  EXPECT_EQ(m.Series2600[5], 0.12);
  EXPECT_EQ(m.Series2600[6], 0.13);
  for (const TPlotSettings* p : {&m.PlotSettings1, &m.PlotSettings2}) {
    EXPECT_EQ(p->Kind, 1);  // the second is a copy of the first
    EXPECT_EQ(p->Setting50021, 30);
    EXPECT_EQ(p->Setting50022, 25);
    EXPECT_EQ(p->Sizes[0], 5);
    EXPECT_EQ(p->Sizes[3], 5);
    EXPECT_EQ(p->Sizes[4], 3.5355);
    EXPECT_EQ(p->Sizes[5], 3.5);  // not carried
    EXPECT_EQ(p->Setting50070, 1);
    EXPECT_EQ(p->Setting50060, 0);
    EXPECT_EQ(p->Setting50300, 3);
    // Bits written both ways: 19 set, 0 and 8 ... cleared, the unnamed defaults kept.
    EXPECT_TRUE(p->DrawFlag(19));
    EXPECT_FALSE(p->DrawFlag(0));
    EXPECT_FALSE(p->DrawFlag(1));
    EXPECT_TRUE(p->DrawFlag(2));
    EXPECT_FALSE(p->DrawFlag(8));
  }
}

TEST(Version300, InchHeaderNegativeScaleAndSeries) {
  TOldBytes h = Header300();
  h.I16(2, -2530).U8(4, 64 | 8 | 1).F32(46, 13012).F32(50, 0).F32(54, 500000).F32(105, 0);
  TLoaded f(Join({h}));
  const TManifold& m = f.Doc;
  EXPECT_TRUE(m.Inch);
  EXPECT_EQ(m.Decimals, 3);
  EXPECT_EQ(m.PlotSettings1.Setting50021, -30);
  EXPECT_EQ(m.PlotSettings1.Setting50022, -25);
  EXPECT_EQ(m.Series2600[1], 12);
  EXPECT_EQ(m.Series2600[2], 13);
  EXPECT_EQ(m.Series2600[3], 13.0);  // 0: the inch default
  EXPECT_EQ(m.Series2600[6], 13.0);  // 500: above 100
  EXPECT_TRUE(m.PlotSettings2.DrawFlag(8));
  EXPECT_EQ(m.Options24, 127 & ~4);  // the bit of value 8 set, the bit of value 4 written clear
  EXPECT_EQ(m.PlotSettings1.Setting50300, 2.5);
  EXPECT_EQ(m.Holes.Count(), 0);
}

// The header's flags 8 and 16 go to the bits of value 8 and 4 of Options24, each written both ways.
TEST(Version300, HeaderFlagsSetOptionBitsByValue) {
  const std::pair<int, int> cases[] = {{0, 127 & ~12}, {16, 127 & ~8}, {8 | 16, 127}};
  for (const auto& [flags, options] : cases) {
    TOldBytes h = Header300();
    h.U8(4, static_cast<uint8_t>(flags));
    TLoaded f(Join({h}));
    EXPECT_EQ(f.Doc.Options24, options) << "flags " << flags;
  }
}

TEST(Version300, ConsecutiveRecordsOfOneHoleAndTheLastStepDecidesTheLabel) {
  TLoaded f(Join({Header300(), Record300(7, 0, 1, 1, "@1Relief"), Record300(7, 0, 1, 2, "Body"),
                  Record300(8, 0, 2, 1, "TAP")}));
  ASSERT_TRUE(f.Result);
  ASSERT_EQ(f.Doc.Holes.Count(), 2);
  const THole& h7 = f.Doc.Holes.Items(0);
  EXPECT_EQ(h7.Number, 7);
  ASSERT_EQ(h7.Steps.Count(), 2);
  EXPECT_EQ(h7.LabelRotation, 0);
  EXPECT_EQ(h7.Steps.Items(0).Remark, "@1Relief");
  EXPECT_EQ(h7.Steps.Items(0).GroupCode, "");   // Relief has none of the letters
  EXPECT_EQ(h7.Steps.Items(1).GroupCode, "");   // only step 1 gets a group
  EXPECT_EQ(h7.Steps.Items(0).Flags, 2);
  EXPECT_EQ(h7.Steps.Items(0).ThreadLength, 12);
  const THole& h8 = f.Doc.Holes.Items(1);
  EXPECT_EQ(h8.Number, 8);
  EXPECT_EQ(h8.Face, 2);
  ASSERT_EQ(h8.Steps.Count(), 1);
  EXPECT_EQ(h8.Steps.Items(0).GroupCode, "P");  // P is tried before T and A
}

TEST(Version300, ContourPointsGatheredOnThePatternsFirstHole) {
  TOldBytes first = Record300(1, 32 | 16, 1, 1, "");
  first.F32(46, 1).F32(50, 2).F32(54, 3).F32(58, 4).F32(62, 0).F32(66, 5).F32(70, 6).F32(74, 7);
  TOldBytes closed = Record300(2, 16, 1, 1, "");
  closed.F32(46, 8).F32(50, 9);
  TOldBytes second = Record300(3, 32, 1, 1, "");
  TOldBytes member = Record300(4, 16, 1, 1, "");
  member.F32(46, 10).F32(50, 11).F32(54, 12).F32(58, 13).F32(62, 14).F32(66, 15).F32(70, 16).F32(74, 17);
  TOldBytes alone = Record300(5, 64, 1, 1, "");
  TLoaded f(Join({Header300(), first, closed, second, member, alone}));
  const THoleList& holes = f.Doc.Holes;
  ASSERT_EQ(holes.Count(), 5);
  ASSERT_EQ(holes.Items(0).Contours.Count(), 2);
  EXPECT_EQ(holes.Items(0).Contours.Items(1).X, 3);
  EXPECT_EQ(holes.Items(1).Contours.Count(), 0);  // the list was closed by the pair with a zero
  ASSERT_EQ(holes.Items(2).Contours.Count(), 4);  // the member's four points on the opening hole
  EXPECT_EQ(holes.Items(2).Contours.Items(3).Y, 17);
  EXPECT_EQ(holes.Items(3).Contours.Count(), 0);
  EXPECT_EQ(holes.Items(0).PatternId, 0);
  EXPECT_EQ(holes.Items(1).PatternIndex, 1);
  EXPECT_EQ(holes.Items(2).PatternId, 1);
  EXPECT_EQ(holes.Items(4).PatternId, 1);
  EXPECT_EQ(holes.Items(4).PatternIndex, 2);
}

TEST(Version300, PointsAndMembersBeforeAnyPatternAreNotGathered) {
  TOldBytes early = Record300(1, 16, 1, 1, "");
  early.F32(46, 1).F32(50, 2);
  TLoaded f(Join({Header300(), early}));
  ASSERT_EQ(f.Doc.Holes.Count(), 1);
  EXPECT_EQ(f.Doc.Holes.Items(0).Contours.Count(), 0);
  EXPECT_EQ(f.Doc.Holes.Items(0).PatternId, -1);
}

TEST(Version300, TiltValvesAndHoleFlags) {
  TOldBytes tilted = Record300(1, 1 | 2 | 4 | 8 | 16, 3, 1, "");
  tilted.F32(13, 30).F32(17, 0).Str(21, "V12     REL ").F32(37, 4).F32(41, 5).U8(45, 1);
  TOldBytes odd = Record300(2, 64, 3, 1, "");
  odd.F32(13, 30).F32(17, 45).Str(21, "        DRV");
  TLoaded f(Join({Header300(), tilted, odd}));
  ASSERT_EQ(f.Doc.Holes.Count(), 2);
  const THole& a = f.Doc.Holes.Items(0);
  EXPECT_EQ(a.TiltAngle, 30);
  EXPECT_EQ(a.TiltDirection, 90);
  EXPECT_EQ(a.Flags, 1 + 2 + 4 + 8 + THole::AngledBit);
  ASSERT_EQ(a.Valves.Count(), 1);
  const TValve& v = a.Valves.Items(0);
  EXPECT_EQ(v.ItemNumber, "V12");
  EXPECT_EQ(v.ItemNumberX, 4);
  EXPECT_EQ(v.ItemNumberRotation, 90);
  EXPECT_EQ(v.Text30070, "REL");
  EXPECT_EQ(v.Setting30081, 4);  // mask 16 comes after mask 4 and wins
  EXPECT_EQ(v.Setting30200, 30);
  const THole& b = f.Doc.Holes.Items(1);
  EXPECT_EQ(b.TiltAngle, 0);
  EXPECT_EQ(b.TiltDirection, 0);
  EXPECT_FALSE(b.Angled());
  ASSERT_EQ(b.Valves.Count(), 1);  // a type text alone adds a valve without item number
  EXPECT_EQ(b.Valves.Items(0).ItemNumber, "");
  EXPECT_EQ(b.Valves.Items(0).Text30070, "DRV");
  EXPECT_EQ(b.Valves.Items(0).Setting30081, 10);  // no label position: the hole's own
}

TEST(Version300, AStepRecordBeforeAnyHoleEndsTheLoadLikeAReadError) {
  test::TTempDir dir;
  TManifold m;
  EXPECT_THROW(LoadManifoldFile(m, dir.Write("a.mnf", Join({Header300(), Record300(-1, 0, 1, 1, "")}))), TReadError);
  EXPECT_EQ(m.SizeX, 120);  // the header was read
  EXPECT_EQ(m.Holes.Count(), 0);
}

TEST(Version300, SizeNotAWholeNumberOfRecordsAndTheEmptyFile) {
  test::TRecordingMessages messages;
  TManifold m;
  m.SetMessages(&messages);
  TFileBytes bytes = Join({Header300(), Record300(1, 0, 1, 1, "")});
  bytes.push_back(0);
  EXPECT_FALSE(LoadVersion300(bytes, "odd.mnf", m));
  EXPECT_FALSE(LoadVersion300({}, "empty.mnf", m));
  EXPECT_EQ(m.Holes.Count(), 0);
  EXPECT_EQ(m.SizeX, 300);
  EXPECT_EQ(messages.Errors, (std::vector<std::string>{"No manifold data was found in \"odd.mnf\".",
                                                       "No manifold data was found in \"empty.mnf\"."}));
}

// --- 2.00 --------------------------------------------------------------------------------------------

TOldBytes Header200() {
  TOldBytes h(227);
  h.F32(4, 150).F32(8, 100).F32(24, 50).F32(28, 3.5f).F32(32, 0).Str(36, "Block  ").Str(81, "Pump ");
  h.Str(106, "D-7").Str(131, "JD").I16(156, 30).I16(158, 99);
  for (size_t at : {162, 166, 170, 174, 178, 182, 186}) h.F32(at, 4);
  h.F32(166, 12);  // element 3: above 10
  return h;
}

TOldBytes Record200(int16_t kind, int16_t face, float d1, float d2, float d3) {
  TOldBytes r(227);
  r.I16(0, kind).I16(2, face).F32(4, 10).F32(8, 20).F32(12, d1).F32(16, d2).F32(20, d3);
  r.F32(24, 40).F32(28, 30).F32(32, 20);
  return r;
}

TEST(Version200, HeaderRecord) {
  TOldBytes h = Header200();
  h.U8(195, '!').Chars(202, "xxNxNNN");
  TLoaded f(Join({h, Record200(0, 1, 8, 0, 0)}));
  ASSERT_TRUE(f.Result);
  EXPECT_EQ(DetectFileVersion(f.Path), Version200);
  const TManifold& m = f.Doc;
  EXPECT_EQ(m.SizeX, 150);
  EXPECT_EQ(m.SizeZ, 50);
  EXPECT_EQ(m.Text2040, "Block");
  EXPECT_EQ(m.Project.ProjectName, "Pump");
  EXPECT_EQ(m.Project.Drawing, "D-7");
  EXPECT_EQ(m.Project.Drawn, "JD");
  EXPECT_EQ(m.Series2600[0], 4);
  EXPECT_EQ(m.Series2600[3], 3.2);
  const TPlotSettings& p = m.PlotSettings2;  // a copy of the first
  EXPECT_EQ(p.Setting50021, 30);
  EXPECT_EQ(p.Setting50022, 99);
  EXPECT_EQ(p.Sizes[0], 3.5);
  EXPECT_EQ(p.Sizes[1], 4.9497);  // 3.5 times the square root of 2, four decimals
  EXPECT_EQ(p.Sizes[2], 3.5);
  EXPECT_EQ(p.Sizes[4], 2.4749);
  EXPECT_EQ(p.Setting50300, 2.5);
  EXPECT_TRUE(p.DrawFlag(19));   // N at 204
  EXPECT_FALSE(p.DrawFlag(4));   // N at 206
  EXPECT_EQ(p.Setting50070, 1);  // N at 208
  EXPECT_TRUE(p.DrawFlag(1));    // x at 203 does nothing
  EXPECT_EQ(p.Setting50060, 1);  // nor at 205
}

TEST(Version200, ScaleOutOfRangeAndSwitchesNeedTheExclamationMarkAndCapitals) {
  TOldBytes h = Header200();
  h.I16(156, 0).I16(158, 50).Chars(204, "N");
  TOldBytes lower = Header200();
  lower.U8(195, '!').Chars(204, "n");
  TLoaded f(Join({h}));
  EXPECT_EQ(f.Doc.PlotSettings1.Setting50021, 40);
  EXPECT_EQ(f.Doc.PlotSettings1.Setting50022, 40);
  EXPECT_FALSE(f.Doc.PlotSettings1.DrawFlag(19));
  TLoaded g(Join({lower}));
  EXPECT_FALSE(g.Doc.PlotSettings1.DrawFlag(19));
}

TEST(Version200, APatternOfThreeHolesGathersItsContourPoints) {
  TOldBytes first = Record200(1, 1, 8, 0, 0);
  first.F32(174, 1).F32(190, 2).F32(170, 3).F32(186, 0);
  TOldBytes second = Record200(2, 1, 8, 0, 0);
  second.F32(174, 5).F32(190, 6);
  TOldBytes third = Record200(2, 1, 8, 0, 0);
  third.F32(162, 7).F32(178, 8);
  TLoaded f(Join({Header200(), first, second, third, Record200(0, 1, 8, 0, 0)}));
  const THoleList& holes = f.Doc.Holes;
  ASSERT_EQ(holes.Count(), 4);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(holes.Items(i).PatternId, 0) << i;
    EXPECT_EQ(holes.Items(i).PatternIndex, i) << i;
    EXPECT_EQ(holes.Items(i).Number, i + 1) << i;  // renumbered
  }
  EXPECT_EQ(holes.Items(3).PatternId, -1);
  ASSERT_EQ(holes.Items(0).Contours.Count(), 3);  // the pair (3, 0) is skipped
  EXPECT_EQ(holes.Items(0).Contours.Items(0).X, 1);
  EXPECT_EQ(holes.Items(0).Contours.Items(1).Y, 6);
  EXPECT_EQ(holes.Items(0).Contours.Items(2).X, 7);
  EXPECT_EQ(holes.Items(1).Contours.Count(), 0);
}

TEST(Version200, MembersBeforeTheFirstHoleOfAPatternStandAlone) {
  TOldBytes early = Record200(3, 1, 8, 0, 0);
  early.F32(174, 1).F32(190, 2);
  TLoaded f(Join({Header200(), early}));
  ASSERT_EQ(f.Doc.Holes.Count(), 1);
  EXPECT_EQ(f.Doc.Holes.Items(0).PatternId, -1);
  EXPECT_EQ(f.Doc.Holes.Items(0).Contours.Count(), 0);
}

TEST(Version200, StepsSkippedByDiameterRemarksAndFlags) {
  TOldBytes r = Record200(1, 2, 0, 8, 6);
  r.Str(81, "@2PLUG#").Str(106, "*\"AB\"*").Str(131, "vlak ~").Str(47, "M8").F32(73, 10).I16(156, -1);
  r.Str(194, "35x").F32(69, 1);
  TLoaded f(Join({Header200(), r}));
  ASSERT_EQ(f.Doc.Holes.Count(), 1);
  const THole& h = f.Doc.Holes.Items(0);
  // Flags from the first step's remark as stored, though the step itself is skipped.
  EXPECT_EQ(h.Flags, THole::PlugBit | 2 | THole::StepGroupsBit | 8);
  EXPECT_EQ(h.Setting10220, 4 + 16);
  EXPECT_EQ(h.LabelRotation, 0);
  ASSERT_EQ(h.Steps.Count(), 2);
  const TStep& a = h.Steps.Items(0);
  EXPECT_EQ(a.Number, 1);
  EXPECT_EQ(a.Diameter, 8);
  EXPECT_EQ(a.Remark, "\"AB\"");
  EXPECT_EQ(a.GroupCode, "");  // only a first step gets a group letter
  EXPECT_EQ(a.ThreadLength, 10);
  EXPECT_EQ(a.Text20200, "M8");
  EXPECT_TRUE(a.Threaded());
  const TStep& b = h.Steps.Items(1);
  EXPECT_EQ(b.Number, 2);
  EXPECT_EQ(b.Flags, 1 | 4);
  EXPECT_EQ(b.PointAngle, 180);
}

TEST(Version200, TheFirstStepsRotationGroupAndTheValve) {
  TOldBytes r = Record200(0, 2, 8, 0, 0);
  r.Str(81, "@3 tap").F32(162, 24.4f).I16(158, -12).I16(160, 7);
  r.Str(194, "      $12-A           1").U8(194 + 24, '1');
  TLoaded f(Join({Header200(), r, Record200(0, 1, 0, 0, 0)}));
  ASSERT_EQ(f.Doc.Holes.Count(), 2);
  const THole& h = f.Doc.Holes.Items(0);
  EXPECT_EQ(h.LabelRotation, 270);
  EXPECT_EQ(h.ContourDiameter, static_cast<double>(24.4f));  // widened, not rounded
  const TStep& s = h.Steps.Items(0);
  EXPECT_EQ(s.Remark, " tap");
  EXPECT_EQ(s.GroupCode, "P");
  EXPECT_EQ(s.PointAngle, 180);  // the at sign sets bit 1 before the prefix is split off
  ASSERT_EQ(h.Valves.Count(), 1);
  EXPECT_EQ(h.Valves.Items(0).ItemNumber, "12-A");
  EXPECT_EQ(h.Valves.Items(0).ItemNumberX, -12);
  EXPECT_EQ(h.Valves.Items(0).ItemNumberRotation, 90);
  // Three diameters of 0: one step with its defaults.
  const THole& empty = f.Doc.Holes.Items(1);
  ASSERT_EQ(empty.Steps.Count(), 1);
  EXPECT_EQ(empty.Steps.Items(0).Diameter, 0);
  EXPECT_EQ(empty.Steps.Items(0).Number, 1);
}

TEST(Version200, TiltConvertedOnlyWithinNinetyDegrees) {
  TOldBytes a = Record200(0, 3, 8, 0, 0);
  a.F32(219, 30).F32(223, 0);
  TOldBytes b = Record200(0, 1, 8, 0, 0);
  b.F32(219, -20).F32(223, 1);
  TOldBytes c = Record200(0, 1, 8, 0, 0);
  c.F32(219, 95).F32(223, 0);
  TLoaded f(Join({Header200(), a, b, c}));
  const THoleList& holes = f.Doc.Holes;
  ASSERT_EQ(holes.Count(), 3);
  EXPECT_EQ(holes.Items(0).TiltAngle, 30);
  EXPECT_EQ(holes.Items(0).TiltDirection, 90);
  EXPECT_TRUE(holes.Items(0).Angled());
  EXPECT_EQ(holes.Items(1).TiltAngle, 20);
  EXPECT_EQ(holes.Items(1).TiltDirection, 90);  // direction code 1 means 90; face 1 keeps it
  EXPECT_EQ(holes.Items(2).TiltAngle, 0);
  EXPECT_FALSE(holes.Items(2).Angled());
}

// --- 1.00 and the question -----------------------------------------------------------------------

TOldBytes Header100() { return TOldBytes(156).F32(4, 90).F32(8, 60).F32(24, 30); }

TEST(Version100, ReadOnlyWhenTheUserSaysYes) {
  TOldBytes r(156);
  r.I16(0, 1).I16(2, 6).F32(4, 15).F32(8, 25).F32(12, 6).F32(16, 10).F32(24, 20).F32(28, 12);
  r.F32(36, 12).F32(40, 5).Str(48, "'A stop").Str(123, "   ").Str(134, "G1/4 ");
  const TFileBytes bytes = Join({Header100(), r});
  {
    TLoaded no(bytes, false);
    EXPECT_EQ(DetectFileVersion(no.Path), VersionUnknown);
    EXPECT_FALSE(no.Result);
    ASSERT_EQ(no.Messages.Questions.size(), 1u);
    EXPECT_EQ(no.Messages.Questions[0], "Do you wish to read the file like a 1.00 file?");
    EXPECT_EQ(no.Doc.Holes.Count(), 0);
  }
  TLoaded yes(bytes, true);
  ASSERT_TRUE(yes.Result);
  ASSERT_EQ(yes.Messages.Errors.size(), 1u);  // the refusal itself
  const TManifold& m = yes.Doc;
  EXPECT_EQ(m.SizeX, 90);
  EXPECT_EQ(m.SizeZ, 30);
  ASSERT_EQ(m.Holes.Count(), 1);
  const THole& h = m.Holes.Items(0);
  EXPECT_EQ(h.Number, 1);
  EXPECT_EQ(h.Face, 6);
  EXPECT_EQ(h.PatternId, 0);
  EXPECT_EQ(h.Flags, THole::PlugBit | 8);
  ASSERT_EQ(h.Steps.Count(), 2);
  const TStep& a = h.Steps.Items(0);
  EXPECT_EQ(a.ThreadLength, 12);  // a thread length without a thread text
  EXPECT_FALSE(a.Threaded());
  EXPECT_EQ(a.Remark, "'A stop");
  EXPECT_EQ(a.GroupCode, "P");
  const TStep& b = h.Steps.Items(1);
  EXPECT_EQ(b.Text20200, "G1/4");
  EXPECT_TRUE(b.Threaded());
}

TEST(Version100, AnyBytesOfAWholeNumberOfRecordsReadSafely) {
  std::mt19937 random(2024);
  for (int round = 0; round < 40; ++round) {
    TFileBytes bytes(156 * static_cast<size_t>(1 + round % 7));
    for (uint8_t& b : bytes) b = static_cast<uint8_t>(random());
    bytes[8] = 'x';  // no version text
    TLoaded f(bytes, true);
    if (DetectFileVersion(f.Path) != VersionUnknown) continue;
    EXPECT_TRUE(f.Result);
    EXPECT_EQ(f.Doc.Holes.Count(), static_cast<int>(bytes.size() / 156) - 1);
    for (const auto& h : f.Doc.Holes) EXPECT_GE(h->Steps.Count(), 1);
  }
}

// An empty file is refused like any file of no known version, and bytes that hold no whole record
// say so after Yes: nothing is read.
TEST(Version100, NoRecordToReadIsSaidAfterYes) {
  for (size_t size : {size_t{0}, size_t{157}, size_t{100}}) {
    TLoaded f(TFileBytes(size, 1), true);
    EXPECT_EQ(DetectFileVersion(f.Path), VersionUnknown) << size;
    EXPECT_FALSE(f.Result) << size;
    ASSERT_EQ(f.Messages.Errors.size(), 2u) << size;
    EXPECT_NE(f.Messages.Errors[0].find("incompatible version"), std::string::npos);
    EXPECT_EQ(f.Messages.Errors[1], "No manifold data was found in \"" + f.Path + "\".");
    EXPECT_EQ(f.Doc.Holes.Count(), 0);
  }
}

}  // namespace
}  // namespace qv
