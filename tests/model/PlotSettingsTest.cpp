// Plot settings: defaults, the flag table, which of the two sets a section fills, comment files and the
// drilling list, Assign, record images.
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
using writer::TBytes;
using writer::TTaggedWriter;

TManifold& LoadTopLevel(TManifold& m, const test::TTempDir& dir, const std::function<void(TTaggedWriter&)>& body) {
  TTaggedWriter w(false);
  body(w);
  w.Mark(1999);
  EXPECT_TRUE(LoadManifoldFile(m, dir.Write("d.mnf", w.Bytes())));
  return m;
}

uint64_t Bits(std::initializer_list<unsigned> bits) {
  uint64_t set = 0;
  for (unsigned b : bits) set |= uint64_t{1} << b;
  return set;
}

TEST(PlotSettingsDefaults, SizesFlagsLabelsAndTheTwoKinds) {
  TPlotSettings p;
  const double sizes[] = {2.5, 3.5, 2.5, 2.5, 3.5, 3.5, 3.5, 3.5, 2.5, 1.8, 1.8, 2.5};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(p.Size(i), sizes[i]) << i;
  EXPECT_EQ(p.DrawFlags, Bits({0, 1, 2, 4, 9, 11, 12, 13, 14, 15, 21, 22}));
  EXPECT_EQ(p.Kind, 1);
  EXPECT_EQ(p.DegreeLabel, "\xB0");
  EXPECT_EQ(p.DiameterLabel, "\xF8");
  EXPECT_EQ(p.SpotfaceLabel, " Spotface");
  EXPECT_EQ(p.CounterboreLabel, " Counterbore");
  EXPECT_EQ(p.DiameterLabel2, "");
  for (int face = 0; face < 6; ++face) {
    EXPECT_EQ(p.FaceViewShown[face], 1);
    EXPECT_EQ(p.FaceViewPosition[face].X, 0.0);
  }
  EXPECT_EQ(p.Setting51110, 5.0);
  EXPECT_EQ(p.DrillingList.Setting61150, "..");
  EXPECT_EQ(p.DrillingList.Setting61160, "; ");
  EXPECT_EQ(p.DrillingList.Setting61130, 3.5);
  EXPECT_EQ(TDrillingListDrawingColumn().Width, 15.0);

  TManifold m;
  EXPECT_EQ(m.PlotSettings1.Kind, 1);
  EXPECT_EQ(m.PlotSettings2.Kind, 2);
  p.SetSize(11, 9.0);
  p.SetSize(12, 9.0);  // outside 0-11: ignored
  p.SetSize(-1, 9.0);
  EXPECT_EQ(p.Size(11), 9.0);
  EXPECT_EQ(p.Size(12), 0.0);
  EXPECT_EQ(p.Size(-1), 0.0);
}

TEST(PlotSettingsSection, FlagsAreExactlyThoseTheSectionSets) {
  test::TTempDir dir;
  TManifold m;
  LoadTopLevel(m, dir, [](TTaggedWriter& w) {
    w.Mark(50000);
    w.Integer(50010, 1);
    w.Byte(56000, 0);      // bit 0 stays clear
    w.Byte(56010, 7);      // bit 1
    w.Byte(56340, 1);      // bit 34
    w.Byte(56342, 1);      // bit 35
    w.Byte(56368, 1);      // bit 48
    w.Byte(56370, 1);      // not a flag
    w.Byte(56372, 1);      // bit 49
    w.Byte(56386, 1);      // bit 56
    w.Byte(56388, 1);      // past the table
    w.Mark(59999);
  });
  EXPECT_EQ(m.PlotSettings1.DrawFlags, Bits({1, 34, 35, 48, 49, 56}));
  EXPECT_TRUE(m.PlotSettings1.DrawFlag(49));
  EXPECT_FALSE(m.PlotSettings1.DrawFlag(0));
  // The second set was not in the file and keeps its defaults.
  EXPECT_EQ(m.PlotSettings2.DrawFlags, Bits({0, 1, 2, 4, 9, 11, 12, 13, 14, 15, 21, 22}));
}

TEST(PlotSettingsSection, FieldsByTagAndTheirEncodings) {
  test::TTempDir dir;
  TManifold m;
  LoadTopLevel(m, dir, [](TTaggedWriter& w) {
    w.Mark(50000);
    w.Integer(50010, 0x102);        // lowest byte: Kind 2
    w.Double(50400, 7.0);           // Sizes[0]
    w.Double(50042, 8.0);           // Sizes[1]
    w.Double(50056, 9.0);           // Sizes[11]
    w.Integer(50060, 7);            // stored as 1
    w.Integer(50070, 0x1FF);        // lowest byte
    w.Chars(50320, "Winkel=1234567890123");  // cut to 15
    w.Chars(50391, "");
    w.Byte(51030, 0);               // face view 3 hidden
    w.Double(51041, -12.5);         // face view 4 X
    w.Double(51062, 44.0);          // face view 6 Y
    w.Double(50660, 1.0);
    w.Double(50670, 2.0);
    w.Double(51110, 6.5);
    w.Record(50001, TBytes(3, 9));  // unknown
    w.Mark(59999);
  });
  const TPlotSettings& p = m.PlotSettings2;
  EXPECT_EQ(p.Kind, 2);
  EXPECT_EQ(p.Size(0), 7.0);
  EXPECT_EQ(p.Size(1), 8.0);
  EXPECT_EQ(p.Size(2), 2.5);
  EXPECT_EQ(p.Size(11), 9.0);
  EXPECT_EQ(p.Setting50060, 1);
  EXPECT_EQ(p.Setting50070, 0xFF);
  EXPECT_EQ(p.AngleLabel, "Winkel=12345678");
  EXPECT_EQ(p.FaceViewShown[2], 0);
  EXPECT_EQ(p.FaceViewShown[3], 1);
  EXPECT_EQ(p.FaceViewPosition[3].X, -12.5);
  EXPECT_EQ(p.FaceViewPosition[5].Y, 44.0);
  EXPECT_EQ(p.Point.X, 1.0);
  EXPECT_EQ(p.Point.Y, 2.0);
  EXPECT_EQ(p.Setting51110, 6.5);
  EXPECT_EQ(p.DrawFlags, 0u);
  // The first set keeps its defaults.
  EXPECT_EQ(m.PlotSettings1.Size(0), 2.5);
  EXPECT_EQ(m.PlotSettings1.Kind, 1);

  TManifold z;
  LoadTopLevel(z, dir, [](TTaggedWriter& w) {
    w.Mark(50000);
    w.Integer(50010, 1);
    w.Integer(50060, 0);
    w.Mark(59999);
  });
  EXPECT_EQ(z.PlotSettings1.Setting50060, 0);
}

TEST(PlotSettingsSection, OnlyKinds1And2AreKeptAndTheLastSectionOfAKindWins) {
  test::TTempDir dir;
  TManifold m;
  LoadTopLevel(m, dir, [](TTaggedWriter& w) {
    w.Mark(50000);
    w.Integer(50010, 2);
    w.Double(50021, 11.0);
    w.Mark(60100);
    w.Chars(60110, "first.txt");
    w.Mark(60199);
    w.Mark(59999);
    w.Mark(50000);
    w.Integer(50010, 3);  // neither set: read to its end and dropped
    w.Double(50021, 33.0);
    w.Mark(60100);
    w.Mark(60199);
    w.Mark(59999);
    w.Mark(50000);
    w.Integer(50010, 2);
    w.Double(50022, 22.0);
    w.Mark(59999);
    w.Mark(50000);  // a section without Kind is the first set's
    w.Double(50300, 4.0);
    w.Mark(59999);
    w.Mark(4000);   // what follows the dropped section is read as usual
    w.Chars(4010, "after");
    w.Mark(4999);
  });
  const TPlotSettings& second = m.PlotSettings2;
  EXPECT_EQ(second.Kind, 2);
  EXPECT_EQ(second.Setting50021, 40.0);  // the second section of Kind 2 replaced the first whole
  EXPECT_EQ(second.Setting50022, 22.0);
  EXPECT_EQ(second.CommentFiles.Count(), 0);
  EXPECT_EQ(m.PlotSettings1.Setting50021, 40.0);
  EXPECT_EQ(m.PlotSettings1.Setting50300, 4.0);
  EXPECT_EQ(m.PlotSettings1.Kind, 1);
  EXPECT_EQ(m.Project.Drawn, "after");
}

TEST(PlotSettingsSection, KindThreeChangesNothing) {
  test::TTempDir dir;
  TManifold m;
  LoadTopLevel(m, dir, [](TTaggedWriter& w) {
    w.Mark(50000);
    w.Integer(50010, 3);
    w.Double(50400, 99.0);
    w.Mark(59999);
  });
  TPlotSettings fresh;
  for (TPlotSettings* p : {&m.PlotSettings1, &m.PlotSettings2}) {
    EXPECT_EQ(p->Size(0), 2.5);
    EXPECT_EQ(p->DrawFlags, fresh.DrawFlags);
  }
  EXPECT_EQ(m.PlotSettings2.Kind, 2);
}

TEST(PlotSettingsSection, CommentFilesAndDrillingListWithColumns) {
  test::TTempDir dir;
  TManifold m;
  LoadTopLevel(m, dir, [](TTaggedWriter& w) {
    w.Mark(50000);
    w.Integer(50010, 1);
    w.Mark(60100);
    w.Chars(60110, "notes.txt");
    w.Double(60120, 10.0);
    w.Double(60130, 20.0);
    w.Byte(60140, 0);
    w.Chars(60150, "line 1");
    w.Chars(60150, std::string(400, 'L'));  // no limit in the tagged layout
    w.Mark(60199);
    w.Mark(61100);
    w.Double(61110, 5.0);
    w.Double(61120, 6.0);
    w.Chars(61150, "0123456789AB");  // cut to 10
    w.Byte(61170, 0);
    w.Mark(61300);
    w.Integer(61310, 0x203);  // lowest byte
    w.Chars(61330, "Diameter");
    w.Mark(61399);
    w.Mark(61300);
    w.Double(61320, 30.0);
    w.Mark(61399);
    w.Mark(61299);
    w.Mark(59999);
  });
  const TPlotSettings& p = m.PlotSettings1;
  ASSERT_EQ(p.CommentFiles.Count(), 1);
  const TCommentFile& c = p.CommentFiles.Items(0);
  EXPECT_EQ(c.FileName, "notes.txt");
  EXPECT_EQ(c.Position.X, 10.0);
  EXPECT_EQ(c.Position.Y, 20.0);
  EXPECT_EQ(c.UseTextFile, 0);
  ASSERT_EQ(c.Lines.Count(), 2);
  EXPECT_EQ(c.Lines.Items(1).size(), 400u);
  EXPECT_EQ(p.DrillingList.Position.X, 5.0);
  EXPECT_EQ(p.DrillingList.Position.Y, 6.0);
  EXPECT_EQ(p.DrillingList.Setting61150, "0123456789");
  EXPECT_EQ(p.DrillingList.Setting61160, "; ");
  EXPECT_EQ(p.DrillingList.Setting61170, 0);
  ASSERT_EQ(p.DrillingList.Columns.Count(), 2);
  EXPECT_EQ(p.DrillingList.Columns.Items(0).ColumnType, 3);
  EXPECT_EQ(p.DrillingList.Columns.Items(0).Title, "Diameter");
  EXPECT_EQ(p.DrillingList.Columns.Items(0).Width, 15.0);
  EXPECT_EQ(p.DrillingList.Columns.Items(1).Width, 30.0);
}

TEST(PlotSettingsAssign, CopiesAreIndependentOfTheSource) {
  TPlotSettings source;
  source.Kind = 2;
  source.SetSize(3, 12.0);
  source.DrawFlags = 5;
  source.AngleLabel = "A=";
  TCommentFile& c = source.CommentFiles.Add();
  c.FileName = "c.txt";
  c.Lines.Add("one");
  source.DrillingList.Setting61150 = "--";
  source.DrillingList.Columns.Add().Title = "Depth";

  TPlotSettings copy;
  copy.CommentFiles.Add().FileName = "replaced";
  copy.Assign(source);
  EXPECT_EQ(copy.Kind, 2);
  EXPECT_EQ(copy.Size(3), 12.0);
  EXPECT_EQ(copy.DrawFlags, 5u);
  EXPECT_EQ(copy.AngleLabel, "A=");
  ASSERT_EQ(copy.CommentFiles.Count(), 1);
  EXPECT_EQ(copy.CommentFiles.Items(0).FileName, "c.txt");
  EXPECT_EQ(copy.DrillingList.Setting61150, "--");
  ASSERT_EQ(copy.DrillingList.Columns.Count(), 1);

  // Changing the source afterwards leaves the copy as it was.
  source.CommentFiles.Items(0).Lines.Items(0) = "changed";
  source.CommentFiles.Add();
  source.DrillingList.Columns.Items(0).Title = "changed";
  source.SetSize(3, 1.0);
  ASSERT_EQ(copy.CommentFiles.Items(0).Lines.Count(), 1);
  EXPECT_EQ(copy.CommentFiles.Items(0).Lines.Items(0), "one");
  EXPECT_EQ(copy.CommentFiles.Count(), 1);
  EXPECT_EQ(copy.DrillingList.Columns.Items(0).Title, "Depth");
  EXPECT_EQ(copy.Size(3), 12.0);

  copy.Assign(copy);  // assigning itself keeps everything
  EXPECT_EQ(copy.CommentFiles.Count(), 1);
  EXPECT_EQ(copy.DrillingList.Columns.Count(), 1);
}

// --- Record images -----------------------------------------------------------------------------------

// A 796-byte block with a few fields set at their offsets and everything else zero.
TByteImage PlotBlock() {
  TByteImage b;
  b.U8(2).Zeros(3).F64(41.0);                 // Kind, Setting50021
  b.Zeros(28 - b.Size()).F64(6.0);            // Sizes[0]
  b.Zeros(124 - b.Size()).U8(1).U8(0);        // Setting50060, Setting50070
  b.Zeros(132 - b.Size());
  b.U8(0x81).Zeros(3).U8(0x02).Zeros(2).U8(0x01);  // DrawFlags: bits 0, 7, 33 and 56
  b.Text("plot 50090", 80);                   // at 140
  b.Zeros(305 - b.Size()).Text("Ang", 15);    // AngleLabel
  b.Zeros(684 - b.Size()).F64(3.0).F64(4.0);  // FaceViewPosition[1]
  b.Zeros(772 - b.Size()).F64(-6.0);          // FaceViewPosition[6] Y
  b.U8(1).U8(0).U8(1).U8(0).U8(1).U8(0);      // FaceViewShown at 780
  b.U8(1).Zeros(1).F64(7.5);                  // Setting51100, Setting51110 at 788
  return b;
}

TEST(PlotSettingsRecord, BlockCommentFilesAndDrillingListFromHandAssembledBytes) {
  TByteImage file = PlotBlock();
  ASSERT_EQ(file.Size(), TPlotSettings::RecordSize);
  file.I32(1);                                                    // one comment file
  file.Text("c.txt", 80).Zeros(3).F64(1.0).F64(2.0).U8(0).Zeros(3);
  file.I32(2).Text("first", 255).Text("second", 255);            // its lines
  file.F64(2.5).F64(4.0).F64(8.0).F64(9.0).Text("~", 10).Text("/", 10).U8(0).Zeros(1);  // drilling list
  file.I32(1).U8(4).Text("Thread", 25).Zeros(1).F64(22.0);       // one column
  file.I32(0x51);                                                 // what follows
  TRecordFile f(file.Bytes());
  TPlotSettings p;
  EXPECT_TRUE(p.ReadRecord(f));
  EXPECT_EQ(p.Kind, 2);
  EXPECT_EQ(p.Setting50021, 41.0);
  EXPECT_EQ(p.Size(0), 6.0);
  EXPECT_EQ(p.Size(1), 0.0);  // the record's bytes, not the defaults
  EXPECT_EQ(p.Setting50060, 1);
  EXPECT_EQ(p.Setting50070, 0);
  EXPECT_EQ(p.DrawFlags, Bits({0, 7, 33, 56}));
  EXPECT_EQ(p.Setting50090, "plot 50090");
  EXPECT_EQ(p.AngleLabel, "Ang");
  EXPECT_EQ(p.DegreeLabel, "");
  EXPECT_EQ(p.FaceViewPosition[0].X, 3.0);
  EXPECT_EQ(p.FaceViewPosition[0].Y, 4.0);
  EXPECT_EQ(p.FaceViewPosition[5].Y, -6.0);
  EXPECT_EQ(p.FaceViewShown[0], 1);
  EXPECT_EQ(p.FaceViewShown[1], 0);
  EXPECT_EQ(p.Setting51100, 1);
  EXPECT_EQ(p.Setting51110, 7.5);
  ASSERT_EQ(p.CommentFiles.Count(), 1);
  EXPECT_EQ(p.CommentFiles.Items(0).FileName, "c.txt");
  EXPECT_EQ(p.CommentFiles.Items(0).Position.Y, 2.0);
  EXPECT_EQ(p.CommentFiles.Items(0).UseTextFile, 0);
  ASSERT_EQ(p.CommentFiles.Items(0).Lines.Count(), 2);
  EXPECT_EQ(p.CommentFiles.Items(0).Lines.Items(1), "second");
  EXPECT_EQ(p.DrillingList.Setting61130, 2.5);
  EXPECT_EQ(p.DrillingList.Setting61140, 4.0);
  EXPECT_EQ(p.DrillingList.Position.X, 8.0);
  EXPECT_EQ(p.DrillingList.Position.Y, 9.0);
  EXPECT_EQ(p.DrillingList.Setting61150, "~");
  EXPECT_EQ(p.DrillingList.Setting61170, 0);
  ASSERT_EQ(p.DrillingList.Columns.Count(), 1);
  EXPECT_EQ(p.DrillingList.Columns.Items(0).ColumnType, 4);
  EXPECT_EQ(p.DrillingList.Columns.Items(0).Title, "Thread");
  EXPECT_EQ(p.DrillingList.Columns.Items(0).Width, 22.0);
  EXPECT_EQ(f.ReadInteger(), 0x51);
}

TEST(PlotSettingsRecord, AShortBlockIsReportedAndLeavesTheRestAsItWas) {
  TByteImage file = PlotBlock();
  TBytes cut(file.Bytes().begin(), file.Bytes().begin() + 300);
  TRecordFile f(cut);
  TPlotSettings p;
  EXPECT_FALSE(p.ReadRecord(f));
  EXPECT_EQ(p.Kind, 2);
  EXPECT_EQ(p.Setting50090, "plot 50090");
  EXPECT_EQ(p.AngleLabel, "Angle=");  // past the end: the default stays
  EXPECT_EQ(p.Setting51110, 5.0);
  EXPECT_EQ(p.CommentFiles.Count(), 0);
  EXPECT_EQ(p.DrillingList.Setting61150, "..");
  EXPECT_TRUE(f.Truncated());
}

TEST(PlotSettingsRecord, CountsOfZeroOrLessAndCountsTheFileCannotHold) {
  TByteImage file = PlotBlock();
  file.I32(-1);                                                // no comment files
  file.F64(3.5).F64(5.0).F64(0).F64(0).Text("..", 10).Text("; ", 10).U8(1).Zeros(1);
  file.I32(1000000).U8(1).Text("A", 25).Zeros(1).F64(1.0);     // one column of a million
  file.U8(2).Text("B", 25);                                    // and part of another
  TRecordFile f(file.Bytes());
  TPlotSettings p;
  p.ReadRecord(f);
  EXPECT_EQ(p.CommentFiles.Count(), 0);
  ASSERT_EQ(p.DrillingList.Columns.Count(), 1);
  EXPECT_EQ(p.DrillingList.Columns.Items(0).Title, "A");
  EXPECT_TRUE(f.Truncated());
}

}  // namespace
}  // namespace qv
