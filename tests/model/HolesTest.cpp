// Holes and steps: the hole section, the flag table, record images, step geometry, labels, numbering.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>

#include "loader/DocumentLoader.h"
#include "model/HoleLists.h"
#include "model/IntegerLists.h"
#include "model/Manifolds.h"
#include "model/RecordFile.h"
#include "tests/TestFiles.h"
#include "tools/writer/DocumentWriter.h"

namespace qv {
namespace {

using writer::TBytes;
using writer::TTaggedWriter;

TManifold& LoadHoles(TManifold& m, const test::TTempDir& dir, const std::function<void(TTaggedWriter&)>& holes) {
  TTaggedWriter w(false);
  holes(w);
  w.Mark(1999);
  EXPECT_TRUE(LoadManifoldFile(m, dir.Write("h.mnf", w.Bytes())));
  return m;
}

TEST(HoleSection, FieldsStepsAndExtraDiameters) {
  test::TTempDir dir;
  TManifold m;
  LoadHoles(m, dir, [](TTaggedWriter& w) {
    w.Mark(10000);
    w.Integer(10010, 12);
    w.Integer(10200, 4);
    w.Double(10211, 33.5);
    w.Double(10212, -2);
    w.Integer(10270, 0x0105);  // low byte kept
    w.Double(10280, 1.5);
    w.Chars(7060, "seventy");   // read inside holes
    w.Record(65000, TBytes(7, 1));  // unknown
    w.Mark(20000);
    w.Double(20100, 6);
    w.Double(20110, 40);
    w.Chars(20300, "'L1");
    w.Chars(20330, "P");
    w.Byte(26010, 1);
    w.Mark(29999);
    w.Mark(20000);
    w.Double(20100, 10);
    w.Integer(20310, 90);
    w.Mark(29999);
    w.Mark(28000);
    w.Double(28010, 20);
    w.Chars(28040, "CBORE");
    w.Mark(28999);
    w.Mark(19999);
  });
  ASSERT_EQ(m.Holes.Count(), 1);
  const THole& h = m.Holes.Items(0);
  EXPECT_EQ(h.Number, 12);
  EXPECT_EQ(h.Face, 4);
  EXPECT_EQ(h.X, 33.5);
  EXPECT_EQ(h.Y, -2);
  EXPECT_TRUE(h.Flag10270);
  EXPECT_EQ(h.StartDepth, 1.5);
  EXPECT_EQ(h.PartTexts.Text7060, "seventy");
  EXPECT_EQ(h.PatternId, -1);
  ASSERT_EQ(h.Steps.Count(), 2);
  EXPECT_TRUE(h.Steps.Items(0).Threaded());
  EXPECT_EQ(h.Steps.Items(0).Label(), "L1");
  EXPECT_EQ(h.Steps.Items(0).PointAngle, 120);
  EXPECT_EQ(h.Steps.Items(1).PointAngle, 90);
  EXPECT_EQ(h.Steps.Items(1).Text20382, "<>");
  ASSERT_EQ(h.ExtraDiameters.Count(), 1);
  EXPECT_EQ(h.ExtraDiameters.Items(0).Diameter, 20);
  EXPECT_EQ(h.ExtraDiameters.Items(0).Name, "CBORE");
  EXPECT_EQ(h.ExtraDiameters.Items(0).Angle, 180);
}

TEST(HoleSection, FlagTagsSetTheirBitsWhereTagAndBitOrderDiffer) {
  const std::pair<uint16_t, uint16_t> table[] = {
      {16000, 1},   {16010, 2},    {16020, 4},    {16030, 8},    {16090, 16},
      {16100, 32},  {16120, 64},   {16110, 128},  {16040, 256},  {16050, 1024},
      {16060, 2048}, {16070, 4096}, {16080, 8192}, {16122, 16384}, {16124, 32768}};
  test::TTempDir dir;
  for (auto [tag, bit] : table) {
    TManifold m;
    LoadHoles(m, dir, [tag = tag](TTaggedWriter& w) {
      w.Mark(10000);
      w.Byte(tag, 1);
      w.Byte(16000 + 1, 0);  // unknown tag, skipped
      w.Mark(20000);
      w.Mark(29999);
      w.Mark(19999);
    });
    EXPECT_EQ(m.Holes.Items(0).Flags, bit) << tag;
  }
}

TEST(HoleSection, AHoleWithoutStepsIsToldAndGetsAnErrorStep) {
  test::TTempDir dir;
  test::TRecordingMessages messages;
  TManifold m;
  m.SetMessages(&messages);
  LoadHoles(m, dir, [](TTaggedWriter& w) {
    w.Mark(10000);
    w.Integer(10010, 17);
    w.Mark(19999);
  });
  ASSERT_EQ(messages.Errors.size(), 1u);
  EXPECT_EQ(messages.Errors[0], "Error in hole 17: No diameters found!\rA diameter is added, this hole should be changed.");
  ASSERT_EQ(m.Holes.Items(0).Steps.Count(), 1);
  EXPECT_EQ(m.Holes.Items(0).Steps.Items(0).Remark, "ERROR!");
  EXPECT_EQ(m.Holes.Items(0).Steps.Items(0).Diameter, 0);
}

TEST(HoleRecord, FieldsAtTheirOffsetsAndAnEmptyStepListGetsOneStep) {
  // A hole image assembled by hand: the 368-byte record, then the step count 0 and extra count 1.
  TBytes hole(368, 0);
  auto put32 = [](TBytes& b, size_t off, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[off + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  auto putDouble = [](TBytes& b, size_t off, double d) {
    uint64_t v;
    std::memcpy(&v, &d, 8);
    for (int i = 0; i < 8; ++i) b[off + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  put32(hole, 0, 9);
  put32(hole, 4, 3);
  hole[12] = 0x20;  // Dummy
  hole[13] = 0x01;  // Angled
  put32(hole, 16, 6);
  putDouble(hole, 20, 11.25);
  putDouble(hole, 348, 2.5);
  hole[68] = 3;  // Text7010 of the part texts
  hole[69] = 'a';
  hole[70] = 'b';
  hole[71] = 'c';
  hole[68 + 205] = 200;  // a length byte beyond the capacity 70 is cut to it
  TBytes file = hole;
  file.resize(368 + 8, 0);
  file[368 + 4] = 1;  // no steps, one extra diameter
  TBytes extra(76, 0);
  putDouble(extra, 0, 14);
  extra[20] = 4;
  std::memcpy(&extra[21], "SPOT", 4);
  file.insert(file.end(), extra.begin(), extra.end());
  // No contours, valves or hole texts, and a manufacturing note without lines.
  file.resize(file.size() + 3 * 4 + 1 + 4, 0);

  TRecordFile f(file);
  THole h;
  h.ReadRecord(f);
  EXPECT_EQ(h.Number, 9);
  EXPECT_EQ(h.PatternId, 3);
  EXPECT_TRUE(h.Dummy());
  EXPECT_TRUE(h.Angled());
  EXPECT_EQ(h.Face, 6);
  EXPECT_EQ(h.X, 11.25);
  EXPECT_EQ(h.StartDepth, 2.5);
  EXPECT_EQ(h.PartTexts.Text7010, "abc");
  EXPECT_EQ(h.PartTexts.Text7060.size(), 70u);
  ASSERT_EQ(h.Steps.Count(), 1);
  EXPECT_EQ(h.Steps.Items(0).PointAngle, 120);
  ASSERT_EQ(h.ExtraDiameters.Count(), 1);
  EXPECT_EQ(h.ExtraDiameters.Items(0).Diameter, 14);
  EXPECT_EQ(h.ExtraDiameters.Items(0).Name, "SPOT");
  EXPECT_FALSE(f.Truncated());
}

TEST(HoleRecord, CountsThatTheFileCannotHoldCreateNoMoreItemsThanItHas) {
  TBytes file = {0xFF, 0xFF, 0xFF, 0x7F};  // two billion holes ...
  file.resize(4 + 368 + 4, 0);             // ... but bytes for one
  TRecordFile f(file);
  THoleList holes;
  holes.ReadRecord(f);
  EXPECT_LE(holes.Count(), 1);
  EXPECT_TRUE(f.Truncated());
  const TBytes negative{0xFF, 0xFF, 0xFF, 0xFF};
  TRecordFile g(negative);
  holes.Clear();
  holes.ReadRecord(g);
  EXPECT_EQ(holes.Count(), 0);
}

TEST(StepGeometry, ConesShouldersStartsAndCylinders) {
  TStepList steps;
  TStep& inner = steps.Add();
  inner.Diameter = 6;
  inner.Depth = 40;
  TStep& outer = steps.Add();
  outer.Diameter = 10;
  outer.Depth = 20;
  const double t30 = std::tan(M_PI / 6);  // cot(120/2)
  EXPECT_NEAR(outer.ConeHeight(), 2.8868, 1e-4);
  EXPECT_NEAR(steps.StartDepth(0), 18.268, 1e-3);
  EXPECT_EQ(steps.StartDepth(1), 0);
  EXPECT_NEAR(steps.CylinderLength(1), 17.113, 1e-3);
  EXPECT_NEAR(steps.ShoulderHeight(1), 1.1547, 1e-4);
  EXPECT_NEAR(steps.ShoulderHeight(0), 3 * t30, 1e-12);
  // Step 0 runs from where the wider point reaches its radius down to the start of its own point.
  EXPECT_NEAR(steps.CylinderLength(0), t30 * 3 + (40 - 3 * t30 - 20), 1e-12);
}

TEST(StepGeometry, ThreadExtentFromTheHoleStartOrFromTheThreadedStep) {
  TStepList steps;
  TStep& inner = steps.Add();
  inner.Diameter = 6;
  inner.Depth = 40;
  inner.Flags = TStep::ThreadedBit;
  inner.ThreadDiameter = 8;
  inner.ThreadLength = 25;
  TStep& outer = steps.Add();
  outer.Diameter = 10;
  outer.Depth = 20;
  TThreadExtent a = steps.ThreadExtent(0, true);
  EXPECT_NEAR(a.EndDepth, 25, 1e-12);
  EXPECT_NEAR(a.Length, 7.3094, 1e-4);
  TThreadExtent b = steps.ThreadExtent(0, false);
  EXPECT_NEAR(b.EndDepth, 42.6906, 1e-4);
  EXPECT_NEAR(b.Length, 25, 1e-12);
  EXPECT_EQ(steps.ThreadExtent(1, true).Length, 0);  // not threaded
  EXPECT_EQ(inner.OuterDiameter(), 8);
  EXPECT_EQ(steps.MaxDiameter(), 10);
  outer.Flags = TStep::ThreadedBit;
  outer.ThreadLength = 12;
  outer.ThreadDiameter = 9;  // narrower than the drill: the drill is the outer diameter
  EXPECT_EQ(steps.ThreadExtent(1, false).EndDepth, 12);
  EXPECT_EQ(steps.ThreadExtent(1, true).Length, 12);
  EXPECT_EQ(outer.OuterDiameter(), 10);
  EXPECT_EQ(TStepList().MaxDiameter(), 0);
}

TEST(StepLabel, QuotesApostrophesAndGroupCodes) {
  auto label = [](const char* remark, const char* group = "") {
    TStep s;
    s.Remark = remark;
    s.GroupCode = group;
    return s.Label();
  };
  EXPECT_EQ(label(""), "");
  EXPECT_EQ(label("plain remark"), "");
  EXPECT_EQ(label("\"P\" port"), "\"P\"");
  EXPECT_EQ(label("\"open"), "\"open");
  EXPECT_EQ(label("'V1"), "V1");
  EXPECT_EQ(label("'V1'rest"), "V1");
  EXPECT_EQ(label("'RV<>", "T"), "RVT");
  EXPECT_EQ(label("'<>-<>", "AB"), "AB-AB");
  EXPECT_EQ(label("'RV<>"), "RV<>");
  EXPECT_EQ(label("'<>", "<>"), "<>");  // a code that contains the marker does not loop
}

TEST(HoleList, RenumberPutsDummyHolesLastOnlyWithMoreThanTwo) {
  THoleList two;
  two.Add().Flags = THole::DummyBit;
  two.Add().Number = 5;
  EXPECT_TRUE(two.Renumber());
  EXPECT_TRUE(two.Items(0).Dummy());
  EXPECT_EQ(two.Items(0).Number, 1);
  EXPECT_EQ(two.Items(1).Number, 2);

  THoleList three;
  for (int i = 0; i < 5; ++i) {
    THole& h = three.Add();
    h.X = i;
    if (i == 0 || i == 2 || i == 3) h.Flags = THole::DummyBit;
    h.Steps.Add();
  }
  EXPECT_TRUE(three.Renumber());
  const double order[] = {1, 4, 0, 2, 3};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(three.Items(i).X, order[i]);
    EXPECT_EQ(three.Items(i).Number, i + 1);
    EXPECT_EQ(three.Items(i).Steps.Items(0).Number, 1);
  }
  EXPECT_FALSE(three.Renumber());
  EXPECT_EQ(three.IndexOfNumber(4), 3);
  EXPECT_EQ(three.IndexOfNumber(9), -1);
}

TEST(HoleList, NextPatternId) {
  THoleList holes;
  EXPECT_EQ(holes.NextPatternId(), 0);
  holes.Add();
  EXPECT_EQ(holes.NextPatternId(), 0);
  holes.Add().PatternId = 3;
  holes.Add().PatternId = 1;
  EXPECT_EQ(holes.NextPatternId(), 4);
}

TEST(IntegerList, EightUpperCaseHexDigits) {
  TIntegerList list;
  list.Add(255);
  list.Add(-1);
  EXPECT_EQ(list.Items(0), "000000FF");
  EXPECT_EQ(list.Items(1), "FFFFFFFF");
  EXPECT_EQ(list.Value(1), -1);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
}  // namespace qv
