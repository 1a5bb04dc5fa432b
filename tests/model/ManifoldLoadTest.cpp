// The document: the manifold header section, the end of the file, the reset before a load.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <sys/stat.h>

#include "loader/DocumentLoader.h"
#include "model/DateTimes.h"
#include "model/Dump.h"
#include "model/Manifolds.h"
#include "tests/TestFiles.h"
#include "tools/writer/DemoBlock.h"
#include "tools/writer/Documents.h"

namespace qv {
namespace {

using writer::TBytes;
using writer::TTaggedWriter;

// A 7.00 document whose manifold header section holds what `fill` writes.
TBytes HeaderDocument(bool viewer, const std::function<void(TTaggedWriter&)>& fill) {
  TTaggedWriter w(viewer);
  w.Mark(2000);
  fill(w);
  w.Mark(2999);
  w.Mark(1999);
  return w.Bytes();
}

TEST(ManifoldHeader, SizesUnitAndDecimalsAndDefaultsForTheRest) {
  test::TTempDir dir;
  auto path = dir.Write("a.mnf", HeaderDocument(false, [](TTaggedWriter& w) {
    w.Double(2010, 250);
    w.Double(2020, 120.5);
    w.Double(2030, 80);
    w.Integer(2003, 5);  // any nonzero integer is true
    w.Integer(2004, 3);
  }));
  TManifold m;
  ASSERT_TRUE(LoadManifoldFile(m, path));
  EXPECT_EQ(m.SizeX, 250);
  EXPECT_EQ(m.SizeY, 120.5);
  EXPECT_EQ(m.SizeZ, 80);
  EXPECT_TRUE(m.Inch);
  EXPECT_EQ(UnitName(m.Inch), "Inch");
  EXPECT_EQ(m.Decimals, 3);
  EXPECT_EQ(m.Setting2042, 7800.0);
  EXPECT_EQ(m.Series2600[6], 3.2);
  EXPECT_EQ(m.PartTexts.Value7050, 1);
  EXPECT_EQ(m.FileName, path);
}

TEST(ManifoldHeader, OptionBitsAreReplacedButOptions25KeepsItsDefault) {
  test::TTempDir dir;
  TManifold m;
  ASSERT_TRUE(LoadManifoldFile(m, dir.Write("a.mnf", HeaderDocument(false, [](TTaggedWriter&) {}))));
  EXPECT_EQ(m.Options22, 0);
  EXPECT_EQ(m.Options23, 0);
  EXPECT_EQ(m.Options24, 0);
  EXPECT_EQ(m.Options25, 12);

  ASSERT_TRUE(LoadManifoldFile(m, dir.Write("b.mnf", HeaderDocument(false, [](TTaggedWriter& w) {
    w.Byte(2530, 0);  // a zero byte leaves the bit as it is
    w.Byte(2510, 1);
    w.Byte(2350, 1);
    w.Byte(2470, 9);  // tag order and bit order differ: 2470 sets 16
    w.Byte(2450, 1);
    w.Byte(2230, 1);
  }))));
  EXPECT_EQ(m.Options25, 13);
  EXPECT_EQ(m.Options23, 16);
  EXPECT_EQ(m.Options24, 16 | 32);
  EXPECT_EQ(m.Options22, 4);
}

TEST(ManifoldHeader, ConvertedEncodings) {
  test::TTempDir dir;
  TManifold m;
  ASSERT_TRUE(LoadManifoldFile(m, dir.Write("a.mnf", HeaderDocument(false, [](TTaggedWriter& w) {
    w.Integer(2002, 7);
    w.Integer(2100, -1);
    w.Integer(2500, 0x1234);  // the low byte is kept
    w.Integer(2006, 0);
    w.Double(2603, 1.5);
    w.Byte(2060, 77);
    w.Chars(2630, "ABCDEFGHIJKLMNOP");      // capacity 10
    w.Chars(2040, std::string(100, 'x'));  // capacity 80
    w.Chars(7060, "not read in the header section");
    w.Chars(7010, "part");
    w.Double(2760, 45000.25);
  }))));
  EXPECT_EQ(m.Setting2002, 2);
  EXPECT_EQ(m.Setting2100, 2);
  EXPECT_EQ(m.Setting2500, 0x34);
  EXPECT_FALSE(m.Setting2006);
  EXPECT_EQ(m.Series2600[3], 1.5);
  EXPECT_EQ(m.Series2600[2], 3.2);
  EXPECT_EQ(m.Setting2060, 77);
  EXPECT_EQ(m.Text2630, "ABCDEFGHIJ");
  EXPECT_EQ(m.Text2040, std::string(80, 'x'));
  EXPECT_EQ(m.PartTexts.Text7060, "");
  EXPECT_EQ(m.PartTexts.Text7010, "part");
  EXPECT_EQ(m.FileTime, 45000.25);

  ASSERT_TRUE(LoadManifoldFile(m, dir.Write("b.mnf", HeaderDocument(false, [](TTaggedWriter& w) {
    w.Integer(2002, 0);
  }))));
  EXPECT_EQ(m.Setting2002, 0);
}

TEST(ManifoldHeader, ManifoldAndViewerFilesOfTheSameRecordsReadAlike) {
  test::TTempDir dir;
  TManifold doc;
  writer::BuildDemoBlock(doc);
  TManifold a, b;
  ASSERT_TRUE(LoadManifoldFile(a, dir.Write("a.mnf", writer::TaggedDocument(doc, false))));
  ASSERT_TRUE(LoadViewerFile(b, dir.Write("a.mvf", writer::TaggedDocument(doc, true))));
  TJson ja = DumpDocument(a), jb = DumpDocument(b);
  ja.erase("FileName");
  jb.erase("FileName");
  EXPECT_EQ(ja, jb);
  EXPECT_EQ(a.Holes.Count(), doc.Holes.Count());
  // Read the other way round, the bytes of a manifold file make no sense.
  TManifold c;
  LoadViewerFile(c, dir.Path() + "/a.mnf");
  EXPECT_NE(c.Holes.Count(), doc.Holes.Count());
}

TEST(ManifoldHeader, FileTimeIsTheFilesWriteTimeWhenTheFileCarriesNone) {
  test::TTempDir dir;
  auto path = dir.Write("a.mnf", HeaderDocument(false, [](TTaggedWriter&) {}));
  double expected = 0;
  ASSERT_TRUE(FileWriteTime(path, expected));
  TManifold m;
  LoadManifoldFile(m, path);
  EXPECT_DOUBLE_EQ(m.FileTime, expected);
  EXPECT_GT(m.FileTime, 40000.0);  // a date after 2009
}

TEST(EndOfFile, EveryOpenSectionEndsAndTheUserIsToldOnce) {
  test::TTempDir dir;
  TTaggedWriter w(false);
  w.Mark(2000);
  w.Double(2010, 123);
  w.Mark(2999);
  w.Mark(10000);
  w.Integer(10010, 7);
  w.Mark(20000);
  w.Double(20100, 5);  // the file ends inside a step of a hole
  test::TRecordingMessages messages;
  TManifold m;
  m.SetMessages(&messages);
  EXPECT_TRUE(LoadManifoldFile(m, dir.Write("cut.mnf", w.Bytes())));
  EXPECT_EQ(m.SizeX, 123);
  ASSERT_EQ(m.Holes.Count(), 1);
  EXPECT_EQ(m.Holes.Items(0).Steps.Count(), 1);
  EXPECT_EQ(m.Holes.Items(0).Steps.Items(0).Diameter, 5);
  ASSERT_EQ(messages.Errors.size(), 1u);
  EXPECT_NE(messages.Errors[0].find("ends unexpectedly"), std::string::npos);

  // Ending inside a hole that has no step yet: the hole still gets its error step.
  TTaggedWriter w2(false);
  w2.Mark(10000);
  w2.Integer(10010, 4);
  messages.Errors.clear();
  EXPECT_TRUE(LoadManifoldFile(m, dir.Write("cut2.mnf", w2.Bytes())));
  ASSERT_EQ(m.Holes.Count(), 1);
  EXPECT_EQ(m.Holes.Items(0).Steps.Items(0).Remark, "ERROR!");
  EXPECT_EQ(messages.Errors.size(), 2u);  // the hole's error and the end of the file
}

TEST(EndOfFile, AHeaderAloneLoadsAnEmptyDocument) {
  test::TTempDir dir;
  test::TRecordingMessages messages;
  TManifold m;
  m.SetMessages(&messages);
  EXPECT_TRUE(LoadManifoldFile(m, dir.Write("h.mnf", writer::FileHeader("7.00"))));
  EXPECT_EQ(m.Holes.Count(), 0);
  EXPECT_EQ(m.SizeX, 300.0);
  EXPECT_EQ(messages.Errors.size(), 1u);
}

TEST(Reset, LoadingEmptiesTheDocumentFirst) {
  test::TTempDir dir;
  TManifold doc;
  writer::BuildDemoBlock(doc);
  auto path = dir.Write("a.mnf", writer::TaggedDocument(doc, false));
  TManifold m;
  ASSERT_TRUE(LoadManifoldFile(m, path));
  int holes = m.Holes.Count();
  ASSERT_GT(holes, 20);
  ASSERT_TRUE(LoadManifoldFile(m, path));
  EXPECT_EQ(m.Holes.Count(), holes);
  m.Reset();
  EXPECT_EQ(m.Holes.Count(), 0);
  EXPECT_EQ(m.FileName, "");
  EXPECT_EQ(m.SizeX, 300.0);
  EXPECT_EQ(m.Options23, 42);
}

}  // namespace
}  // namespace qv
