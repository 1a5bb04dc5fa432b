// Calculation settings: the option set that a section replaces, wall thickness ranges, record image.
#include <gtest/gtest.h>

#include <functional>

#include "loader/DocumentLoader.h"
#include "model/Manifolds.h"
#include "model/RecordFile.h"
#include "tests/TestFiles.h"
#include "tests/model/ByteImages.h"
#include "tools/writer/DocumentWriter.h"

namespace qv {
namespace {

using test::TByteImage;
using writer::TTaggedWriter;

const TCalculateSettingsNew& LoadSettings(TManifold& m, const test::TTempDir& dir,
                                          const std::function<void(TTaggedWriter&)>& body) {
  TTaggedWriter w(true);  // a viewer file: tag and length exchanged
  body(w);
  w.Mark(1999);
  EXPECT_TRUE(LoadViewerFile(m, dir.Write("c.mvf", w.Bytes())));
  return m.CalculateSettings;
}

TEST(CalculateSettingsSection, TheSectionsOptionsReplaceTheDefaults) {
  test::TTempDir dir;
  TManifold m;
  const auto& c = LoadSettings(m, dir, [](TTaggedWriter& w) {
    w.Mark(13000);
    w.Byte(13110, 1);
    w.Byte(13150, 0);  // a zero byte sets nothing
    w.Byte(13190, 1);
    w.Mark(13999);
  });
  EXPECT_EQ(c.Options, 2 + 512);
  EXPECT_EQ(c.Setting13010, 5.0);

  LoadSettings(m, dir, [](TTaggedWriter& w) {
    w.Mark(13000);
    w.Double(13010, 3.5);
    w.Mark(13999);
  });
  EXPECT_EQ(c.Setting13010, 3.5);
  EXPECT_EQ(c.Setting13020, 5.0);
  EXPECT_EQ(c.Options, 0);

  LoadSettings(m, dir, [](TTaggedWriter& w) {
    w.Mark(2000);
    w.Mark(2999);
  });
  EXPECT_EQ(c.Options, 782);
}

TEST(CalculateSettingsSection, RangesInFileOrderThenTheSettingsAfterThem) {
  test::TTempDir dir;
  TManifold m;
  const auto& c = LoadSettings(m, dir, [](TTaggedWriter& w) {
    w.Mark(13000);
    w.Mark(12000);
    w.Double(12010, 1);
    w.Double(12030, 3);
    w.Mark(12999);
    w.Mark(12000);
    w.Double(12020, 22);
    w.Byte(13100, 1);  // no tag of a range: skipped inside it
    w.Mark(12999);
    w.Byte(13120, 1);
    w.Double(13020, 7);
    w.Mark(13999);
  });
  ASSERT_EQ(c.WallThicknessRanges.Count(), 2);
  EXPECT_EQ(c.WallThicknessRanges.Items(0).Value12010, 1);
  EXPECT_EQ(c.WallThicknessRanges.Items(0).Value12020, 0);
  EXPECT_EQ(c.WallThicknessRanges.Items(0).Value12030, 3);
  EXPECT_EQ(c.WallThicknessRanges.Items(1).Value12020, 22);
  EXPECT_EQ(c.Options, 4);
  EXPECT_EQ(c.Setting13020, 7);
}

TEST(CalculateSettingsRecord, EighteenBytesThenTheRangesAfterThoseAlreadyHeld) {
  TByteImage file;
  file.F64(1.25).F64(2.5).U16(0x0201).I32(2).F64(1).F64(2).F64(3).F64(4).F64(5).F64(6);
  TRecordFile f(file.Bytes());
  TCalculateSettingsNew c;
  c.WallThicknessRanges.Add().Value12010 = -1;
  c.ReadRecord(f);
  EXPECT_EQ(c.Setting13010, 1.25);
  EXPECT_EQ(c.Setting13020, 2.5);
  EXPECT_EQ(c.Options, 0x0201);
  ASSERT_EQ(c.WallThicknessRanges.Count(), 3);
  EXPECT_EQ(c.WallThicknessRanges.Items(0).Value12010, -1);
  EXPECT_EQ(c.WallThicknessRanges.Items(2).Value12030, 6);
  EXPECT_FALSE(f.Truncated());
  c.Reset();
  EXPECT_EQ(c.WallThicknessRanges.Count(), 0);
  EXPECT_EQ(c.Options, 782);
}

}  // namespace
}  // namespace qv
