// Groups, crosses, assemblies and manufacturing notes: code lookup, tagged sections, record images.
#include <gtest/gtest.h>

#include <functional>

#include "loader/DocumentLoader.h"
#include "model/Assemblies.h"
#include "model/Crosses.h"
#include "model/GroupLists.h"
#include "model/Manifolds.h"
#include "model/ManufacturingNotes.h"
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

void AddGroups(TGroupList& groups, std::initializer_list<const char*> codes) {
  for (const char* c : codes) groups.Add().Code = c;
}

TEST(IndexOfCode, LettersIgnoreCaseEverythingElseComparesByCode) {
  TGroupList groups;
  EXPECT_EQ(groups.IndexOfCode("P"), -1);
  AddGroups(groups, {"P1", "p1", "T", "\xE4x", "abcdefghij"});
  EXPECT_EQ(groups.IndexOfCode("p1"), 0);  // the first of two that differ only in case
  EXPECT_EQ(groups.IndexOfCode("P1"), 0);
  EXPECT_EQ(groups.IndexOfCode("t"), 2);
  EXPECT_EQ(groups.IndexOfCode("T "), -1);
  EXPECT_EQ(groups.IndexOfCode("\xE4X"), 3);
  EXPECT_EQ(groups.IndexOfCode("\xC4X"), -1);  // only a-z and A-Z are folded
  // A longer code is compared by its first 10 characters.
  EXPECT_EQ(groups.IndexOfCode("ABCDEFGHIJ"), 4);
  EXPECT_EQ(groups.IndexOfCode("ABCDEFGHIJKLM"), 4);
  EXPECT_EQ(groups.IndexOfCode("ABCDEFGHI"), -1);
}

TEST(IndexOfCode, AnEmptyCodeBelongsToNoGroup) {
  TGroupList groups;
  groups.Add();  // a group read from a section without a code
  AddGroups(groups, {"P"});
  EXPECT_EQ(groups.IndexOfCode(""), -1);
  EXPECT_EQ(groups.IndexOfCode("P"), 1);
}

TEST(GroupSection, FieldsDefaultsAndUnknownTags) {
  test::TTempDir dir;
  TManifold m;
  LoadTopLevel(m, dir, [](TTaggedWriter& w) {
    w.Mark(5000);
    w.Chars(5100, "PRESSURE-LINE");  // cut to 10
    w.Record(5150, TBytes(3, 9));
    w.Integer(5200, 0x00FF8040);
    w.Integer(5300, 258);  // the lowest byte: 2
    w.Record(5250, {});
    w.Double(5210, 1.5);
    w.Double(5220, -2);
    w.Mark(5999);
    w.Mark(5000);
    w.Mark(5999);  // nothing but the end
  });
  ASSERT_EQ(m.Groups.Count(), 2);
  const TGroup& g = m.Groups.Items(0);
  EXPECT_EQ(g.Code, "PRESSURE-L");
  EXPECT_EQ(g.Color, 0x00FF8040);
  EXPECT_EQ(g.Option, 2);
  EXPECT_EQ(g.Value1, 1.5);
  EXPECT_EQ(g.Value2, -2);
  const TGroup& e = m.Groups.Items(1);
  EXPECT_EQ(e.Code, "");
  EXPECT_EQ(e.Color, 0);
  EXPECT_EQ(e.Option, 0);
  EXPECT_EQ(e.Value1, 0.0);
}

TEST(CrossSection, ThePointKeepsMinusOneWithoutItsTags) {
  test::TTempDir dir;
  TManifold m;
  LoadTopLevel(m, dir, [](TTaggedWriter& w) {
    w.Mark(9400);
    w.Integer(9410, 8);
    w.Double(9420, 0.5);
    w.Mark(9499);
    w.Mark(9400);
    w.Double(9440, 3);
    w.Mark(9499);
  });
  ASSERT_EQ(m.Crosses.Count(), 2);
  EXPECT_EQ(m.Crosses.Items(0).IntValue, 8);
  EXPECT_EQ(m.Crosses.Items(0).RealValue, 0.5);
  EXPECT_EQ(m.Crosses.Items(0).Point.X, -1.0);
  EXPECT_EQ(m.Crosses.Items(0).Point.Y, -1.0);
  EXPECT_EQ(m.Crosses.Items(1).Point.X, -1.0);
  EXPECT_EQ(m.Crosses.Items(1).Point.Y, 3.0);
}

TEST(AssemblySection, AlternateValvesInFileOrderAndFieldsAroundThem) {
  test::TTempDir dir;
  TManifold m;
  LoadTopLevel(m, dir, [](TTaggedWriter& w) {
    w.Mark(9000);
    w.Chars(9010, std::string(130, 'n'));
    w.Mark(9300);
    w.Integer(9320, 1);
    w.Mark(30000);
    w.Chars(30020, "V1");
    w.Mark(39999);
    w.Mark(9399);
    w.Mark(9300);
    w.Integer(9320, 2);
    w.Mark(9399);
    w.Byte(9002, 1);  // after the nested sections: the assembly's own again
    w.Chars(9020, "spare set");
    w.Mark(9199);
    w.Mark(9400);  // the next top-level section
    w.Mark(9499);
  });
  ASSERT_EQ(m.Assemblies.Count(), 1);
  const TAssembly& a = m.Assemblies.Items(0);
  EXPECT_EQ(a.Active, 1);
  EXPECT_EQ(a.Name, std::string(128, 'n'));
  EXPECT_EQ(a.Description, "spare set");
  ASSERT_EQ(a.AlternateValves.Count(), 2);
  EXPECT_EQ(a.AlternateValves.Items(0).Setting9320, 1);
  ASSERT_EQ(a.AlternateValves.Items(0).Valves.Count(), 1);
  EXPECT_EQ(a.AlternateValves.Items(0).Valves.Items(0).ItemNumber, "V1");
  EXPECT_EQ(a.AlternateValves.Items(1).Setting9320, 2);
  EXPECT_EQ(m.Crosses.Count(), 1);
}

TEST(ManufacturingNote, TaggedLinesAppendWithoutLimitAndResetEmptiesThem) {
  test::TTempDir dir;
  TManifold m;
  LoadTopLevel(m, dir, [](TTaggedWriter& w) {
    w.Mark(10000);
    w.Mark(20000);
    w.Mark(29999);
    w.Mark(32300);
    w.Chars(32320, "first");
    w.Byte(32310, 1);
    w.Mark(32399);
    w.Mark(32300);  // a second section appends
    w.Chars(32320, std::string(300, 'L'));
    w.Chars(32320, "");
    w.Mark(32399);
    w.Mark(19999);
  });
  ASSERT_EQ(m.Holes.Count(), 1);
  THole& h = m.Holes.Items(0);
  const TManufacturingNote& note = h.ManufacturingNote;
  EXPECT_EQ(note.StandardNoteDisabled, 1);
  ASSERT_EQ(note.Lines.Count(), 3);
  EXPECT_EQ(note.Lines.Items(0), "first");
  EXPECT_EQ(note.Lines.Items(1).size(), 300u);
  EXPECT_EQ(note.Lines.Items(2), "");
  h.Reset();
  EXPECT_EQ(h.ManufacturingNote.Lines.Count(), 0);
  EXPECT_EQ(h.ManufacturingNote.StandardNoteDisabled, 0);
}

TEST(GroupRecord, FieldsAtTheirOffsetsAndAShortRecordKeepsTheRest) {
  TByteImage file;
  file.I32(2);
  file.Text("p1", 10).Zeros(1).I32(0x00123456).U8(3).Zeros(3).F64(2.5).F64(-1);
  file.Text("LONG", 10, 200).Zeros(1).I32(77).U8(1).Zeros(3).F64(9).F64(-3);
  ASSERT_EQ(file.Size(), 4u + 36 + 36);
  TRecordFile f(file.Bytes());
  TGroupList groups;
  groups.ReadRecord(f);
  ASSERT_EQ(groups.Count(), 2);
  EXPECT_EQ(groups.Items(0).Code, "p1");
  EXPECT_EQ(groups.Items(0).Color, 0x00123456);
  EXPECT_EQ(groups.Items(0).Option, 3);
  EXPECT_EQ(groups.Items(0).Value1, 2.5);
  EXPECT_EQ(groups.Items(0).Value2, -1);
  EXPECT_EQ(groups.Items(1).Code, std::string("LONG\0\0\0\0\0\0", 10));  // a length byte beyond the capacity is cut to 10
  EXPECT_EQ(groups.Items(1).Code.size(), 10u);
  EXPECT_EQ(groups.IndexOfCode("P1"), 0);

  // The same image cut inside the second record: its remaining fields keep their values.
  TBytes cut(file.Bytes().begin(), file.Bytes().begin() + 4 + 36 + 30);
  TRecordFile g(cut);
  TGroup first, second;
  g.ReadInteger();
  EXPECT_TRUE(first.ReadRecord(g));
  second.Value2 = 123;
  EXPECT_FALSE(second.ReadRecord(g));
  EXPECT_EQ(second.Color, 77);
  EXPECT_EQ(second.Value1, 9);     // bytes 20-27 are there
  EXPECT_EQ(second.Value2, 123);  // bytes 28-35 are not
  EXPECT_TRUE(g.Truncated());
}

TEST(CrossAndAssemblyRecords, FieldsAtTheirOffsets) {
  TByteImage file;
  file.I32(1).I32(-9).F64(0.25).F64(10).F64(20);  // one cross
  file.I32(1).U8(1).Text("Main", 128).Text("Base set", 128);  // one assembly ...
  file.I32(1).I32(6).I32(0);                                    // ... with one alternative
  TRecordFile f(file.Bytes());
  TCrossList crosses;
  crosses.ReadRecord(f);
  ASSERT_EQ(crosses.Count(), 1);
  EXPECT_EQ(crosses.Items(0).IntValue, -9);
  EXPECT_EQ(crosses.Items(0).RealValue, 0.25);
  EXPECT_EQ(crosses.Items(0).Point.X, 10);
  EXPECT_EQ(crosses.Items(0).Point.Y, 20);
  TAssemblyList assemblies;
  assemblies.ReadRecord(f);
  ASSERT_EQ(assemblies.Count(), 1);
  EXPECT_EQ(assemblies.Items(0).Active, 1);
  EXPECT_EQ(assemblies.Items(0).Name, "Main");
  EXPECT_EQ(assemblies.Items(0).Description, "Base set");
  ASSERT_EQ(assemblies.Items(0).AlternateValves.Count(), 1);
  EXPECT_EQ(assemblies.Items(0).AlternateValves.Items(0).Setting9320, 6);
  EXPECT_FALSE(f.Truncated());
}

TEST(ManufacturingNoteRecord, FlagCountAndLines) {
  TByteImage file;
  file.U8(1).I32(0);                                         // 5 bytes: no lines
  file.U8(0).I32(2).Text("drill", 255).Text("ream", 255);  // two lines
  ASSERT_EQ(file.Size(), 5u + 5 + 2 * 256);
  TRecordFile f(file.Bytes());
  TManufacturingNote a, b;
  a.ReadRecord(f);
  EXPECT_EQ(a.StandardNoteDisabled, 1);
  EXPECT_EQ(a.Lines.Count(), 0);
  EXPECT_EQ(f.Position(), 5u);
  b.ReadRecord(f);
  EXPECT_EQ(b.StandardNoteDisabled, 0);
  ASSERT_EQ(b.Lines.Count(), 2);
  EXPECT_EQ(b.Lines.Items(1), "ream");
  EXPECT_FALSE(f.Truncated());
}

}  // namespace
}  // namespace qv
