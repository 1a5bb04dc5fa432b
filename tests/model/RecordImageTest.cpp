// One document in all three current forms (*.mnf, *.mvf, "8.01") reads to the same model; the
// record image's list order and its defences against counts that the file cannot hold.
#include <gtest/gtest.h>

#include <algorithm>

#include "loader/DocumentLoader.h"
#include "model/Dump.h"
#include "model/Manifolds.h"
#include "tests/TestFiles.h"
#include "tests/model/ByteImages.h"
#include "tools/writer/DemoBlock.h"
#include "tools/writer/Documents.h"
#include "tools/writer/LegacyDocuments.h"

namespace qv {
namespace {

using test::TByteImage;
using writer::TBytes;

TJson DumpWithoutFileName(TManifold& m) {
  TJson j = DumpDocument(m);
  j.erase("FileName");
  return j;
}

// Equal dumps, or the JSON patch that turns the expected dump into the actual one.
::testing::AssertionResult SameDump(const TJson& expected, const TJson& actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << TJson::diff(expected, actual).dump().substr(0, 2000);
}

TEST(ThreeForms, ManifoldViewerAndRecordImageFilesReadToTheSameDocument) {
  test::TTempDir dir;
  TManifold doc;
  writer::BuildDemoBlock(doc);
  const TJson original = DumpWithoutFileName(doc);
  // The demo uses every kind of object of the model.
  ASSERT_GT(doc.Groups.Count(), 3);
  ASSERT_EQ(doc.CutOuts.Count(), 2);
  ASSERT_GT(doc.HoleTexts.Count(), 0);
  ASSERT_GT(doc.Assemblies.Count(), 0);
  ASSERT_GT(doc.Crosses.Count(), 0);

  auto mnf = dir.Write("demo.mnf", writer::TaggedDocument(doc, false));
  auto mvf = dir.Write("demo.mvf", writer::TaggedDocument(doc, true));
  auto image = dir.Write("demo801.mnf", writer::RecordImageDocument(doc));
  EXPECT_EQ(DetectFileVersion(image), Version801);

  test::TRecordingMessages messages;
  TManifold m;
  m.SetMessages(&messages);
  ASSERT_TRUE(LoadManifoldFile(m, mnf));
  EXPECT_TRUE(SameDump(original, DumpWithoutFileName(m)));
  ASSERT_TRUE(LoadViewerFile(m, mvf));
  EXPECT_TRUE(SameDump(original, DumpWithoutFileName(m)));
  ASSERT_TRUE(LoadManifoldFile(m, image));
  EXPECT_TRUE(SameDump(original, DumpWithoutFileName(m)));
  EXPECT_TRUE(messages.Errors.empty());
}

// The part of an "8.01" file that this test assembles by hand: from the group list to the hole list.
// Everything before and after it is taken from the writer's image of a document without them, found by
// the empty lists' bytes (five counts of 0, the calculation settings at their defaults, no ranges, no
// holes).
struct TImageFrame {
  TBytes Before, After;
};

TImageFrame FrameOfEmptyLists() {
  TManifold empty;
  empty.FileTime = 45000;
  TBytes image = writer::RecordImageDocument(empty);
  TByteImage lists;
  lists.I32(0).I32(0).I32(0).I32(0).I32(0).F64(5).F64(5).U16(782).I32(0).I32(0);
  auto at = std::search(image.begin() + 40 + 1068, image.end(), lists.Bytes().begin(), lists.Bytes().end());
  EXPECT_NE(at, image.end());
  return {TBytes(image.begin(), at), TBytes(at + static_cast<long>(lists.Size()), image.end())};
}

TEST(RecordImage, ListsInTheirOrderFromHandAssembledBytes) {
  test::TTempDir dir;
  TImageFrame frame = FrameOfEmptyLists();
  TByteImage lists;
  lists.I32(1).Text("T", 10).Zeros(1).I32(0xFF0000).U8(0).Zeros(3).F64(0).F64(0);     // groups
  lists.I32(1).I32(2).I32(4).F64(0).F64(0).F64(10).F64(20).U8(1).Zeros(3).F64(0);    // cut-outs
  lists.I32(1).Text("DEF", 64).Zeros(3).F64(0).F64(0).F64(6).U8(1).U8(1).U8(0).Zeros(1)
      .F64(0).F64(0).I32(2).Zeros(4);                                                // hole texts
  lists.I32(0);                                                                      // assemblies
  lists.I32(1).I32(5).F64(1).F64(2).F64(3);                                          // crosses
  lists.F64(4).F64(4.5).U16(3).I32(0);                                               // settings
  TByteImage hole;
  hole.I32(11).I32(-1).I32(-1).U16(0).Zeros(2).I32(1).F64(50).F64(60);
  hole.Zeros(368 - hole.Size());
  lists.I32(1).Append(hole.Bytes());                           // one hole
  lists.I32(1).I32(1).Zeros(4).F64(6).F64(30);                 // one step: number, flags, diameter, depth
  lists.Zeros(216 - 24);
  lists.I32(0);                                                // no extra diameters
  lists.I32(1).F64(24).F64(0);                                 // one contour
  lists.I32(1).I32(0).Text("12", 20).Zeros(3).F64(3).F64(4).U16(90).Zeros(616 - 46);  // one valve
  lists.I32(0);                                                // no hole texts
  lists.U8(1).I32(1).Text("deburr", 255);                     // the note
  TBytes file = frame.Before;
  file.insert(file.end(), lists.Bytes().begin(), lists.Bytes().end());
  file.insert(file.end(), frame.After.begin(), frame.After.end());

  test::TRecordingMessages messages;
  TManifold m;
  m.SetMessages(&messages);
  ASSERT_TRUE(LoadManifoldFile(m, dir.Write("hand.mnf", file)));
  EXPECT_TRUE(messages.Errors.empty());
  ASSERT_EQ(m.Groups.Count(), 1);
  EXPECT_EQ(m.Groups.Items(0).Code, "T");
  EXPECT_EQ(m.Groups.Items(0).Color, 0xFF0000);
  ASSERT_EQ(m.CutOuts.Count(), 1);
  EXPECT_EQ(m.CutOuts.Items(0).Face, 2);
  EXPECT_EQ(m.CutOuts.Items(0).Corner, 4);
  EXPECT_EQ(m.CutOuts.Items(0).Height, 20);
  ASSERT_NE(m.DefaultHoleText(), nullptr);
  EXPECT_EQ(m.DefaultHoleText()->Text, "DEF");
  EXPECT_EQ(m.DefaultHoleText()->TextHeight, 6);
  EXPECT_EQ(m.DefaultHoleText()->InsertionPoint, 2);
  EXPECT_EQ(m.Assemblies.Count(), 0);
  ASSERT_EQ(m.Crosses.Count(), 1);
  EXPECT_EQ(m.Crosses.Items(0).Point.Y, 3);
  EXPECT_EQ(m.CalculateSettings.Setting13020, 4.5);
  EXPECT_EQ(m.CalculateSettings.Options, 3);
  ASSERT_EQ(m.Holes.Count(), 1);
  const THole& h = m.Holes.Items(0);
  EXPECT_EQ(h.Number, 11);
  EXPECT_EQ(h.Face, 1);
  EXPECT_EQ(h.Y, 60);
  ASSERT_EQ(h.Steps.Count(), 1);
  EXPECT_EQ(h.Steps.Items(0).Depth, 30);
  ASSERT_EQ(h.Contours.Count(), 1);
  EXPECT_EQ(h.Contours.Items(0).X, 24);
  ASSERT_EQ(h.Valves.Count(), 1);
  EXPECT_EQ(h.Valves.Items(0).ItemNumber, "12");
  EXPECT_EQ(h.Valves.Items(0).ItemNumberRotation, 90);
  EXPECT_EQ(h.HoleTexts.Count(), 0);
  EXPECT_EQ(h.ManufacturingNote.StandardNoteDisabled, 1);
  ASSERT_EQ(h.ManufacturingNote.Lines.Count(), 1);
  EXPECT_EQ(h.ManufacturingNote.Lines.Items(0), "deburr");
}

TEST(RecordImage, ACountLargerThanTheFileCreatesNoMoreItemsThanItHolds) {
  test::TTempDir dir;
  TImageFrame frame = FrameOfEmptyLists();
  TByteImage lists;
  lists.I32(0x7FFFFFFF).Text("A", 10).Zeros(25).Text("B", 10).Zeros(25).Zeros(10);
  TBytes file = frame.Before;
  file.insert(file.end(), lists.Bytes().begin(), lists.Bytes().end());

  test::TRecordingMessages messages;
  TManifold m;
  m.SetMessages(&messages);
  ASSERT_TRUE(LoadManifoldFile(m, dir.Write("huge.mnf", file)));
  ASSERT_EQ(m.Groups.Count(), 2);  // 82 bytes left: room for two 36-byte groups
  EXPECT_EQ(m.Groups.Items(1).Code, "B");
  // The 10 bytes after them are not enough for anything that follows: all of it keeps its defaults.
  EXPECT_EQ(m.CutOuts.Count(), 0);
  EXPECT_EQ(m.CalculateSettings.Options, 782);
  EXPECT_EQ(m.CalculateSettings.Setting13010, 5.0);
  EXPECT_EQ(m.Holes.Count(), 0);
  EXPECT_EQ(messages.Errors.size(), 1u);  // told once
}

TEST(RecordImage, AFileEndingInsideARecordKeepsTheRestAtItsDefaults) {
  test::TTempDir dir;
  TImageFrame frame = FrameOfEmptyLists();
  TByteImage lists;
  lists.I32(0).I32(0).I32(0).I32(0).I32(0).F64(1.5);  // ends inside the calculation settings
  TBytes file = frame.Before;
  file.insert(file.end(), lists.Bytes().begin(), lists.Bytes().end());

  test::TRecordingMessages messages;
  TManifold m;
  m.SetMessages(&messages);
  ASSERT_TRUE(LoadManifoldFile(m, dir.Write("short.mnf", file)));
  EXPECT_EQ(m.CalculateSettings.Setting13010, 1.5);
  EXPECT_EQ(m.CalculateSettings.Setting13020, 5.0);
  EXPECT_EQ(m.CalculateSettings.Options, 782);
  EXPECT_EQ(m.Holes.Count(), 0);
  EXPECT_EQ(messages.Errors.size(), 1u);
}


// A list announcing one item more than the file holds, the file ending exactly where that item's record
// would begin: the item is not there. The writer's images of one document before and after adding an
// item agree up to the list's count and again up to where the new item begins.
struct TEndCase {
  const char* Name;
  int Version;  // 801 or a version 5 code
  bool ExtraStep;  // the extra item is a step of the last hole rather than a hole
};

class RecordImageEnd : public ::testing::TestWithParam<TEndCase> {};

TBytes ImageOf(TManifold& doc, int version) {
  return version == 801 ? writer::RecordImageDocument(doc) : writer::Version5Document(doc, version);
}

void AddNumberedHole(TManifold& doc, int number) {
  THole& h = doc.Holes.Add();
  h.Number = number;
  h.X = 10.0 * number;
  h.Y = 20;
  TStep& s = h.Steps.Add();
  s.Number = 1;
  s.Diameter = 8;
  s.Depth = 30;
}

TEST_P(RecordImageEnd, AnItemWhoseRecordNeverBeganIsNotAdded) {
  const TEndCase c = GetParam();
  TManifold doc;
  doc.FileTime = 45000;
  AddNumberedHole(doc, 1);
  AddNumberedHole(doc, 2);
  const TBytes a = ImageOf(doc, c.Version);
  if (c.ExtraStep) {
    TStep& s = doc.Holes.Last().Steps.Add();
    s.Number = 2;
    s.Diameter = 6;
    s.Depth = 50;
  } else {
    AddNumberedHole(doc, 3);
  }
  const TBytes b = ImageOf(doc, c.Version);
  auto firstDifference = [&](size_t from) {
    size_t i = from;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    return i;
  };
  const size_t count = firstDifference(0);
  const size_t cut = firstDifference(count + 4);
  ASSERT_LE(cut, a.size());
  ASSERT_LT(cut, b.size());
  test::TTempDir dir;
  test::TRecordingMessages messages;
  TManifold m;
  m.SetMessages(&messages);
  ASSERT_TRUE(LoadManifoldFile(m, dir.Write("cut.mnf", TBytes(b.begin(), b.begin() + static_cast<long>(cut)))));
  ASSERT_EQ(m.Holes.Count(), 2);
  EXPECT_EQ(m.Holes.Items(1).Number, 2);
  EXPECT_EQ(m.Holes.Items(1).X, 20);
  ASSERT_EQ(m.Holes.Items(1).Steps.Count(), 1);
  EXPECT_EQ(m.Holes.Items(1).Steps.Items(0).Diameter, 8);
  EXPECT_EQ(messages.Errors.size(), 1u);  // the file ended early
}

INSTANTIATE_TEST_SUITE_P(Lists, RecordImageEnd,
                         ::testing::Values(TEndCase{"Holes801", 801, false}, TEndCase{"Steps801", 801, true},
                                           TEndCase{"Holes540", 540, false}, TEndCase{"Steps540", 540, true},
                                           TEndCase{"Holes500", 500, false}, TEndCase{"Steps500", 500, true}),
                         [](const auto& p) { return std::string(p.param.Name); });

}  // namespace
}  // namespace qv
