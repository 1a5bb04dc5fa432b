// Valves, contours and alternate valves: their sections inside a hole, their record images.
#include <gtest/gtest.h>

#include <functional>

#include "loader/DocumentLoader.h"
#include "model/AlternateValves.h"
#include "model/Manifolds.h"
#include "model/RecordFile.h"
#include "tests/TestFiles.h"
#include "tests/model/ByteImages.h"
#include "tools/writer/DocumentWriter.h"

namespace qv {
namespace {

using test::TByteImage;
using writer::TBytes;
using writer::TTaggedWriter;

// One hole section whose body is what `body` writes, with one step so that no error step is added.
const THole& LoadOneHole(TManifold& m, const test::TTempDir& dir, const std::function<void(TTaggedWriter&)>& body) {
  TTaggedWriter w(false);
  w.Mark(10000);
  body(w);
  w.Mark(20000);
  w.Double(20100, 8);
  w.Mark(29999);
  w.Mark(19999);
  w.Mark(1999);
  EXPECT_TRUE(LoadManifoldFile(m, dir.Write("h.mnf", w.Bytes())));
  EXPECT_EQ(m.Holes.Count(), 1);
  return m.Holes.Items(0);
}

TEST(ValveSection, FieldsCapacitiesRotationAndTheRecordsAfterIt) {
  test::TTempDir dir;
  TManifold m;
  const THole& h = LoadOneHole(m, dir, [](TTaggedWriter& w) {
    w.Mark(30000);
    w.Integer(30010, -3);
    w.Chars(30020, "ITEM-NUMBER-1234567890");  // 22 characters, capacity 20
    w.Double(30031, 12.5);
    w.Double(30032, -4);
    w.Integer(30050, 65626);  // 0x1005A: the low 16 bits are 90
    w.Record(30055, TBytes(12, 0xEE));  // unknown, skipped by its length
    w.Byte(30210, 7);
    w.Chars(30240, std::string(75, 'x'));
    w.Chars(30340, "last");
    w.Double(30260, 2.25);
    w.Mark(39999);
    w.Integer(10010, 44);  // after the valve's end: the hole's own record again
    w.Mark(30000);
    w.Mark(39999);  // a valve with nothing but its end
  });
  EXPECT_EQ(h.Number, 44);
  ASSERT_EQ(h.Valves.Count(), 2);
  const TValve& v = h.Valves.Items(0);
  EXPECT_EQ(v.Setting30010, -3);
  EXPECT_EQ(v.ItemNumber, "ITEM-NUMBER-12345678");
  EXPECT_EQ(v.ItemNumberX, 12.5);
  EXPECT_EQ(v.ItemNumberY, -4);
  EXPECT_EQ(v.ItemNumberRotation, 90);
  EXPECT_EQ(v.Setting30210, 7);
  EXPECT_EQ(v.Text30240, std::string(70, 'x'));
  EXPECT_EQ(v.Text30340, "last");
  EXPECT_EQ(v.Setting30260, 2.25);
  const TValve& empty = h.Valves.Items(1);
  EXPECT_EQ(empty.ItemNumber, "");
  EXPECT_EQ(empty.ItemNumberRotation, 0);
  EXPECT_EQ(empty.Setting30250, 0.0);
}

TEST(ContourSection, PointsInFileOrderAndMissingCoordinatesStayZero) {
  test::TTempDir dir;
  TManifold m;
  const THole& h = LoadOneHole(m, dir, [](TTaggedWriter& w) {
    w.Mark(6000);
    w.Double(6011, 10);
    w.Double(6012, 20);
    w.Mark(6999);
    w.Mark(6000);
    w.Double(6012, 7);  // no 6011
    w.Mark(6999);
    w.Double(10230, 30);  // the hole's contour diameter, after the contours
  });
  EXPECT_EQ(h.ContourDiameter, 30);
  ASSERT_EQ(h.Contours.Count(), 2);
  EXPECT_EQ(h.Contours.Items(0).X, 10);
  EXPECT_EQ(h.Contours.Items(0).Y, 20);
  EXPECT_EQ(h.Contours.Items(1).X, 0);
  EXPECT_EQ(h.Contours.Items(1).Y, 7);
}

TEST(ValveSection, AFileEndingInsideAValveEndsTheLoad) {
  test::TTempDir dir;
  TTaggedWriter w(false);
  w.Mark(10000);
  w.Mark(30000);
  w.Chars(30020, "7");
  test::TRecordingMessages messages;
  TManifold m;
  m.SetMessages(&messages);
  EXPECT_TRUE(LoadManifoldFile(m, dir.Write("cut.mnf", w.Bytes())));
  ASSERT_EQ(m.Holes.Count(), 1);
  ASSERT_EQ(m.Holes.Items(0).Valves.Count(), 1);
  EXPECT_EQ(m.Holes.Items(0).Valves.Items(0).ItemNumber, "7");
  EXPECT_EQ(messages.Errors.size(), 2u);  // the hole without steps, and the end of the file
}

TEST(AlternateValve, TwoValveSectionsInFileOrder) {
  TTaggedWriter w(false);
  w.Mark(30000);
  w.Chars(30020, "first");
  w.Mark(39999);
  w.Integer(9320, 5);
  w.Mark(30000);
  w.Chars(30020, "second");
  w.Mark(39999);
  w.Mark(9399);
  w.Integer(9320, 99);  // beyond the section: not this object's
  TQuorvelaFile f(w.Bytes(), false);
  f.ReadFileHeader();
  TAlternateValve a;
  EXPECT_TRUE(a.ReadTagged(f));
  EXPECT_EQ(a.Setting9320, 5);
  ASSERT_EQ(a.Valves.Count(), 2);
  EXPECT_EQ(a.Valves.Items(0).ItemNumber, "first");
  EXPECT_EQ(a.Valves.Items(1).ItemNumber, "second");
}

// A 616-byte valve record with a few fields set at their offsets.
TBytes ValveImage(const std::string& item, uint16_t rotation) {
  TByteImage v;
  v.I32(17).Text(item, 20).Zeros(3).F64(1.5).F64(-2.5).U16(rotation);
  v.Zeros(364 - v.Size()).F64(8.75);  // Setting30250
  v.Zeros(564 - v.Size()).Text("tail", 50).Zeros(1);
  EXPECT_EQ(v.Size(), 616u);
  return v.Bytes();
}

TEST(ValveRecord, FieldsAtTheirOffsets) {
  TByteImage file;
  file.I32(2).Append(ValveImage("12", 270)).Append(ValveImage("", 0));
  TRecordFile f(file.Bytes());
  TValveList valves;
  valves.ReadRecord(f);
  ASSERT_EQ(valves.Count(), 2);
  const TValve& v = valves.Items(0);
  EXPECT_EQ(v.Setting30010, 17);
  EXPECT_EQ(v.ItemNumber, "12");
  EXPECT_EQ(v.ItemNumberX, 1.5);
  EXPECT_EQ(v.ItemNumberY, -2.5);
  EXPECT_EQ(v.ItemNumberRotation, 270);
  EXPECT_EQ(v.Setting30250, 8.75);
  EXPECT_EQ(v.Text30320, "tail");
  EXPECT_EQ(valves.Items(1).ItemNumber, "");
  EXPECT_FALSE(f.Truncated());
}

TEST(ValveRecord, AlternateValvesAndContoursWithCountsOfZeroAndLess) {
  TByteImage file;
  file.I32(3);                                      // three alternate valves:
  file.I32(41).I32(1).Append(ValveImage("A", 0));  // one valve
  file.I32(42).I32(0);                              // none
  file.I32(43).I32(-5);                             // a negative count: none
  file.I32(2).F64(1).F64(2).F64(3).F64(4);          // two contour points
  file.I32(0);                                      // no contours
  TRecordFile f(file.Bytes());
  TAlternateValveList alternatives;
  alternatives.ReadRecord(f);
  ASSERT_EQ(alternatives.Count(), 3);
  EXPECT_EQ(alternatives.Items(0).Setting9320, 41);
  ASSERT_EQ(alternatives.Items(0).Valves.Count(), 1);
  EXPECT_EQ(alternatives.Items(0).Valves.Items(0).ItemNumber, "A");
  EXPECT_EQ(alternatives.Items(1).Valves.Count(), 0);
  EXPECT_EQ(alternatives.Items(2).Setting9320, 43);
  EXPECT_EQ(alternatives.Items(2).Valves.Count(), 0);
  TContourList contours;
  contours.ReadRecord(f);
  ASSERT_EQ(contours.Count(), 2);
  EXPECT_EQ(contours.Items(1).X, 3);
  EXPECT_EQ(contours.Items(1).Y, 4);
  contours.ReadRecord(f);
  EXPECT_EQ(contours.Count(), 2);
  EXPECT_FALSE(f.Truncated());
}

}  // namespace
}  // namespace qv
