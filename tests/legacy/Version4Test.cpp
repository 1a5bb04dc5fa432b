// Version 4 documents: the header record of each version, the typed records and their order, the
// tilt of 4.10 and 4.00, patterns, comment text, and files that are damaged or end early.
#include <gtest/gtest.h>

#include <cmath>

#include "legacy/Convert.h"
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

// Where the tests put the header fields of each version.
struct THeader4 {
  const char* Version;
  int Code;
  size_t Size, Sizes, ProjectName, Setting50300, Plot1Sizes, Plot1Flag50070, Bit19, Setting50080;
  int Options23, Setting2201;  // -1: none
  size_t Drawing;
  bool FlagsAsBits;
};
constexpr THeader4 H420{"4.20", 420, 544, 42, 54, 164, 168, 180, 348, 350, 349, 456, 440, true};
constexpr THeader4 H415{"4.15", 415, 508, 42, 54, 171, 175, 164, 361, 362, 489, 476, 458, false};
constexpr THeader4 H410{"4.10", 410, 508, 42, 54, 171, 175, 164, 361, 362, -1, 476, 458, false};
constexpr THeader4 H400{"4.00", 400, 471, 40, 52, 169, 173, 162, 338, 339, -1, -1, 434, false};

TFileBytes Header(const THeader4& h, uint8_t unit = 0) {
  TOldBytes b(h.Size);
  b.U16(1, 1998).U8(3, 6).U8(4, 15).U8(5, 14).U8(6, 30).U8(7, 0).U8(37, unit);
  b.F32(h.Sizes, 12.7f).F32(h.Sizes + 4, 80).F32(h.Sizes + 8, 60);
  b.Str(h.ProjectName, "Pump block");
  b.F32(h.Setting50300, 12.7f).F32(h.Plot1Sizes, 3.5f).F32(h.Plot1Sizes + 4, 5).F32(h.Plot1Sizes + 8, 2);
  if (h.FlagsAsBits) {
    b.U8(h.Plot1Flag50070, 1 | 4);  // Setting50070 and DrawFlags bit 0
    b.U8(h.Bit19, 2 | 16);          // bits 19 and 8
  } else {
    b.U8(h.Plot1Flag50070, 1).U8(h.Plot1Flag50070 + 2, 1);
    b.U8(h.Bit19, 1).U8(h.Bit19 + 4, 1);
  }
  b.U8(h.Setting50080, 3);
  if (h.Options23 >= 0) b.U8(static_cast<size_t>(h.Options23), h.FlagsAsBits ? 8 : 1);
  b.Str(h.Drawing, "D-42");
  if (h.Setting2201 >= 0) b.U16(static_cast<size_t>(h.Setting2201), 7).F32(static_cast<size_t>(h.Setting2201) + 4, 7850);
  return b;
}

TFileBytes HoleRecord(uint16_t number, uint8_t flags, uint8_t face, float tilt = 0, float direction = 0) {
  TOldBytes r(27);
  r.U8(0, 1).U16(1, number).U8(3, flags).U8(4, 0x1E).U8(5, face).F32(6, 10.1f).F32(10, 20.2f);
  r.U8(14, 5).F32(15, 30).F32(19, tilt).F32(23, direction);
  return r;
}

TFileBytes StepRecord(uint8_t number, const std::string& remark, uint8_t flags = 2) {
  TOldBytes r(93);
  r.U8(0, 2).U8(1, number).U8(2, flags).F32(4, 12.7f).F32(8, 30).Str(12, "M16").F32(23, 18);
  r.Str(27, remark).U16(52, 118).F32(54, 16).Str(58, "S").Str(79, "P").F32(85, 25).F32(89, 26.5f);
  return r;
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

TFileBytes Document(const THeader4& h, std::initializer_list<TFileBytes> records, bool end = true) {
  TOldFile f;
  f.Header(h.Version).Add(Header(h));
  for (const TFileBytes& r : records) f.Add(r);
  if (end) f.Byte(255);
  return f.Bytes();
}

TEST(Version4, HeaderRecordOfEachVersion) {
  for (const THeader4* h : {&H420, &H415, &H410, &H400}) {
    SCOPED_TRACE(h->Version);
    TLoaded f(Document(*h, {}));
    const TManifold& m = f.Doc;
    EXPECT_TRUE(f.Result);
    EXPECT_TRUE(f.Messages.Errors.empty());
    EXPECT_EQ(DetectFileVersion(f.Dir.Path() + "/doc.mnf"), h->Code);
    EXPECT_FALSE(m.Inch);
    EXPECT_EQ(m.Decimals, 2);
    EXPECT_EQ(m.SizeX, 12.7);  // the single 12.69999981 rounded to four decimals
    EXPECT_EQ(m.SizeZ, 60);
    EXPECT_EQ(m.Project.ProjectName, "Pump block");
    EXPECT_EQ(m.Project.Client, "Pump block");
    EXPECT_EQ(m.Project.Drawing, "D-42");
    double created = 0;
    ASSERT_TRUE(EncodeDateTime(1998, 6, 15, 14, 30, 0, created));
    EXPECT_DOUBLE_EQ(m.Project.CreatedOn, created);
    const TPlotSettings& p1 = m.PlotSettings1;
    EXPECT_EQ(p1.Setting50300, static_cast<double>(12.7f));  // widened, not rounded
    EXPECT_EQ(p1.Sizes[0], 3.5);
    EXPECT_EQ(p1.Sizes[3], 3.5);
    EXPECT_EQ(p1.Sizes[1], 5);
    EXPECT_EQ(p1.Sizes[4], 5);
    EXPECT_EQ(p1.Sizes[2], 2);
    EXPECT_EQ(p1.Setting50070, 1);
    EXPECT_EQ(p1.Setting50060, 0);
    EXPECT_EQ(p1.Setting50080, 2);
    // Exactly the bits of the header: 0, 8 and 19; none of the defaults.
    EXPECT_EQ(p1.DrawFlags, (1ull << 0) | (1ull << 8) | (1ull << 19));
    EXPECT_EQ(m.PlotSettings2.DrawFlags, 1ull << 8);
    EXPECT_EQ(m.PlotSettings2.Setting50080, 2);
    EXPECT_EQ(m.Options23, 42);  // set by the flag where there is one, else the default's bit
    if (h->Setting2201 >= 0) {
      EXPECT_EQ(m.Setting2201, 7);
      EXPECT_EQ(m.Setting2042, 7850);
    } else {
      EXPECT_EQ(m.Setting2201, 0);
      EXPECT_EQ(m.Setting2042, 7800);
    }
  }
}

TEST(Version4, UnitByteGivesInchWithThreeDecimals) {
  TOldFile f;
  f.Header("4.20").Add(Header(H420, 1)).Byte(255);
  TLoaded loaded(f.Bytes());
  EXPECT_TRUE(loaded.Doc.Inch);
  EXPECT_EQ(loaded.Doc.Decimals, 3);
}

TEST(Version4, Options23Bit32IsClearedWhenTheFlagIsClear) {
  TOldBytes header(Header(H415));
  header.U8(489, 0);
  TOldFile f;
  f.Header("4.15").Add(header).Byte(255);
  TLoaded loaded(f.Bytes());
  EXPECT_EQ(loaded.Doc.Options23, 42 & ~32);
}

TEST(Version4, HolesStepsContoursAndOneValveFromThreeRecords) {
  TOldBytes valveName(22), placement(39), texts(71), contour(9), group(9);
  valveName.U8(0, 4).Str(1, "12").F32(12, 5.5f).F32(16, -3).U16(20, 90);
  placement.U8(0, 3).Str(10, "Cartridge").F32(26, 1).F32(30, 2).F32(34, 3).U8(38, 1);
  texts.U8(0, 7).Str(1, "a").Str(17, "b").Str(42, "c").F32(67, 4.25f);
  contour.U8(0, 5).F32(1, 1.1f).F32(5, -2.2f);
  group.U8(0, 8).Str(1, "P").U8(7, 12);
  TLoaded f(Document(H420, {group, HoleRecord(3, 0x81 | 0x02 | 0x08, 2), StepRecord(1, "@2Relief"),
                            StepRecord(2, "@1Body", 3), contour, valveName, placement, texts}));
  ASSERT_TRUE(f.Result);
  const TManifold& m = f.Doc;
  ASSERT_EQ(m.Groups.Count(), 1);
  EXPECT_EQ(m.Groups.Items(0).Code, "P");
  EXPECT_EQ(m.Groups.Items(0).Color, 0x0000FF);
  ASSERT_EQ(m.Holes.Count(), 1);
  const THole& h = m.Holes.Items(0);
  EXPECT_EQ(h.Number, 3);
  EXPECT_EQ(h.Flags, 1 + 2 + 8 + 256 + 1024 + 2048 + 4096 + 8192);
  EXPECT_EQ(h.Face, 2);
  EXPECT_EQ(h.X, 10.1);
  EXPECT_EQ(h.Y, 20.2);
  EXPECT_EQ(h.Setting10220, 5);
  EXPECT_EQ(h.ContourDiameter, 30);
  EXPECT_EQ(h.LabelRotation, 180);  // from step 1 only
  ASSERT_EQ(h.Steps.Count(), 2);
  const TStep& s = h.Steps.Items(0);
  EXPECT_EQ(s.Number, 1);
  EXPECT_EQ(s.Flags, 2);
  EXPECT_EQ(s.Diameter, 12.7);
  EXPECT_EQ(s.Text20200, "M16");
  EXPECT_EQ(s.ThreadLength, 18);
  EXPECT_EQ(s.Remark, "Relief");
  EXPECT_EQ(s.PointAngle, 118);
  EXPECT_EQ(s.GroupCode, "P");
  EXPECT_EQ(s.PortDepthB, 26.5);
  EXPECT_EQ(h.Steps.Items(1).Remark, "@1Body");  // other steps keep the text whole
  EXPECT_EQ(h.Steps.Items(1).Flags, 3);
  ASSERT_EQ(h.Contours.Count(), 1);
  EXPECT_EQ(h.Contours.Items(0).Y, -2.2);
  ASSERT_EQ(h.Valves.Count(), 1);
  const TValve& v = h.Valves.Items(0);
  EXPECT_EQ(v.ItemNumber, "12");
  EXPECT_EQ(v.ItemNumberX, 5.5);
  EXPECT_EQ(v.ItemNumberY, -3);
  EXPECT_EQ(v.ItemNumberRotation, 90);
  EXPECT_EQ(v.Text30070, "Cartridge");
  EXPECT_EQ(v.Setting30082, 2);
  EXPECT_EQ(v.Setting30200, 3);
  EXPECT_EQ(v.Setting30210, 1);
  EXPECT_EQ(v.Text30240, "c");
  EXPECT_EQ(v.Setting30260, 4.25);
}

TEST(Version4, TheShortValvePlacementOfVersionsBefore420) {
  TOldBytes placement(31);
  placement.U8(0, 3).Str(10, "Cart").F32(18, 1).F32(22, 2).F32(26, 3).U8(30, 1);
  TLoaded f(Document(H400, {HoleRecord(1, 0, 1), placement, StepRecord(1, "x")}));
  ASSERT_EQ(f.Doc.Holes.Count(), 1);
  const THole& h = f.Doc.Holes.Items(0);
  ASSERT_EQ(h.Valves.Count(), 1);
  EXPECT_EQ(h.Valves.Items(0).Text30070, "Cart");
  EXPECT_EQ(h.Valves.Items(0).Setting30200, 3);
  EXPECT_EQ(h.Valves.Items(0).Setting30210, 1);
  ASSERT_EQ(h.Steps.Count(), 1);  // the step record after it is read in step with the file
}

TEST(Version4, PatternsNumberedFromTheHoleThatStartsThem) {
  TLoaded f(Document(H420, {HoleRecord(1, 16, 1), HoleRecord(2, 32, 1), HoleRecord(3, 16, 1), HoleRecord(4, 64, 1),
                            HoleRecord(5, 0, 1), HoleRecord(6, 32, 1), HoleRecord(7, 16, 1)}));
  const THoleList& holes = f.Doc.Holes;
  ASSERT_EQ(holes.Count(), 7);
  // A hole that continues a pattern before any was started stands alone.
  EXPECT_EQ(holes.Items(0).PatternId, -1);
  for (int i = 1; i < 4; ++i) {
    EXPECT_EQ(holes.Items(i).PatternId, 0) << i;
    EXPECT_EQ(holes.Items(i).PatternIndex, i - 1) << i;
  }
  EXPECT_EQ(holes.Items(4).PatternId, -1);
  EXPECT_EQ(holes.Items(5).PatternId, 1);
  EXPECT_EQ(holes.Items(5).PatternIndex, 0);
  EXPECT_EQ(holes.Items(6).PatternId, 1);
  EXPECT_EQ(holes.Items(6).PatternIndex, 1);
}

TEST(Version4, TiltMeasuredTheOldWayIn410And400Only) {
  for (const THeader4* h : {&H410, &H400}) {
    TLoaded f(Document(*h, {HoleRecord(1, 0x80, 3, -15, 0), HoleRecord(2, 0x80, 3, -15, 45)}));
    ASSERT_EQ(f.Doc.Holes.Count(), 2);
    EXPECT_EQ(f.Doc.Holes.Items(0).TiltAngle, 15) << h->Version;
    EXPECT_EQ(f.Doc.Holes.Items(0).TiltDirection, 270) << h->Version;
    EXPECT_EQ(f.Doc.Holes.Items(1).TiltAngle, 0) << h->Version;
    EXPECT_EQ(f.Doc.Holes.Items(1).TiltDirection, 0) << h->Version;
  }
  for (const THeader4* h : {&H420, &H415}) {
    TLoaded f(Document(*h, {HoleRecord(1, 0x80, 3, -15, 0)}));
    EXPECT_EQ(f.Doc.Holes.Items(0).TiltAngle, -15) << h->Version;
    EXPECT_EQ(f.Doc.Holes.Items(0).TiltDirection, 0) << h->Version;
  }
}

TEST(Version4, CommentLinesEndAtByte13AndTheRestIsDropped) {
  TOldFile comment;
  comment.Byte(6);
  for (int b : {int{'A'}, int{'B'}, 13, 10, int{'C'}, 13, 13, int{'D'}, 3}) comment.Byte(static_cast<uint8_t>(b));
  comment.Byte(6).Byte('E').Byte(13).Byte(3);
  TLoaded f(Document(H420, {comment.Bytes()}));
  EXPECT_EQ(f.Doc.Project.Comments.Lines(), (std::vector<std::string>{"AB", "\nC", "E"}));
}

TEST(Version4, UnknownTypeBytesArePassedOverOneByOne) {
  TOldFile junk;
  junk.Byte(0).Byte(9).Byte(100).Byte(254);
  TLoaded f(Document(H420, {junk.Bytes(), HoleRecord(5, 0, 4)}));
  ASSERT_EQ(f.Doc.Holes.Count(), 1);
  EXPECT_EQ(f.Doc.Holes.Items(0).Number, 5);
  EXPECT_TRUE(f.Messages.Errors.empty());
}

TEST(Version4, ARecordBeforeAnyHoleEndsTheLoadLikeAReadError) {
  TOldBytes group(9);
  group.U8(0, 8).Str(1, "T").U8(7, 9);
  for (uint8_t type : {2, 3, 4, 5, 7}) {
    SCOPED_TRACE(static_cast<int>(type));
    TOldBytes orphan(100);
    orphan.U8(0, type);
    test::TTempDir dir;
    TManifold m;
    std::string path = dir.Write("orphan.mnf", Document(H420, {group, orphan, HoleRecord(1, 0, 1)}));
    EXPECT_THROW(LoadManifoldFile(m, path), TReadError);
    // What was read before stays, and the file name is set.
    ASSERT_EQ(m.Groups.Count(), 1);
    EXPECT_EQ(m.Groups.Items(0).Color, 0xFF0000);
    EXPECT_EQ(m.Holes.Count(), 0);
    EXPECT_FALSE(m.FileName.empty());
  }
}

TEST(Version4, AFileWithoutItsEndRecordKeepsWhatWasReadAndTellsOnce) {
  TLoaded f(Document(H420, {HoleRecord(1, 0, 1), StepRecord(1, "a")}, false));
  EXPECT_TRUE(f.Result);
  ASSERT_EQ(f.Messages.Errors.size(), 1u);
  EXPECT_NE(f.Messages.Errors[0].find("ends unexpectedly"), std::string::npos);
  ASSERT_EQ(f.Doc.Holes.Count(), 1);
  EXPECT_EQ(f.Doc.Holes.Items(0).Steps.Count(), 1);

  // A record cut short is not applied.
  TFileBytes whole = Document(H420, {HoleRecord(1, 0, 1), StepRecord(1, "a")}, false);
  TFileBytes cut(whole.begin(), whole.end() - 10);
  TLoaded g(cut);
  ASSERT_EQ(g.Doc.Holes.Count(), 1);
  EXPECT_EQ(g.Doc.Holes.Items(0).Steps.Count(), 0);
  EXPECT_EQ(g.Messages.Errors.size(), 1u);
}

TEST(Version4, EveryCutOfADocumentLoadsAndTellsOnce) {
  TOldFile comment;
  comment.Byte(6).Byte('x').Byte(13).Byte(3);
  const TFileBytes whole = Document(H415, {HoleRecord(1, 32, 1), StepRecord(1, "@1a"), comment.Bytes(),
                                           HoleRecord(2, 16, 1), StepRecord(1, "b")});
  test::TTempDir dir;
  for (size_t size = 40; size < whole.size(); size += 3) {
    test::TRecordingMessages messages;
    TManifold m;
    m.SetMessages(&messages);
    ASSERT_TRUE(LoadManifoldFile(m, dir.Write("cut.mnf", TFileBytes(whole.begin(), whole.begin() + static_cast<long>(size)))));
    EXPECT_EQ(messages.Errors.size(), 1u) << size;
  }
}

}  // namespace
}  // namespace qv
