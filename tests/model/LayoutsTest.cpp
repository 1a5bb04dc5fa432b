// Drawing layouts with their insert blocks, text blocks and attributes; the bill of materials.
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

TEST(LayoutSection, OnlyAnEndTagGivesTheDefaults) {
  test::TTempDir dir;
  TManifold m;
  LoadTopLevel(m, dir, [](TTaggedWriter& w) {
    w.Mark(43000);
    w.Mark(43999);
  });
  ASSERT_EQ(m.Layouts.Count(), 1);
  const TLayout& l = m.Layouts.Items(0);
  EXPECT_EQ(l.Name, "");
  EXPECT_EQ(l.Setting43050, "");
  EXPECT_EQ(l.Setting43060, 1);
  EXPECT_EQ(l.Setting43070, 1);
  EXPECT_EQ(l.Setting43080, 0);
  EXPECT_EQ(l.Setting43090, 1);
  EXPECT_EQ(l.InsertBlocks.Count(), 0);
  EXPECT_EQ(l.TextBlocks.Count(), 0);
  EXPECT_EQ(l.Attributes.Count(), 0);
}

TEST(LayoutSection, NestedSectionsInAnyOrderAndNumber) {
  test::TTempDir dir;
  TManifold m;
  LoadTopLevel(m, dir, [](TTaggedWriter& w) {
    w.Mark(43000);
    w.Mark(46000);
    w.Integer(46010, 0x105);  // lowest byte
    w.Chars(46020, std::string(130, 'n'));
    w.Double(46040, 1.5);
    w.Integer(46110, -4);
    w.Byte(46130, 2);
    w.Mark(46999);
    w.Chars(43010, "A3 landscape");
    w.Mark(44000);
    w.Chars(44010, "TITLE");
    w.Chars(44020, "Manifold");
    w.Mark(44999);
    w.Mark(46000);
    w.Mark(46999);
    w.Mark(45000);
    w.Chars(45010, "notes");
    w.Chars(45040, "line a");
    w.Chars(45040, "line b");
    w.Double(45050, 2.0);
    w.Mark(45999);
    w.Integer(43090, 257);  // the lowest byte: 1
    w.Byte(43080, 1);
    w.Mark(43999);
    w.Mark(43000);
    w.Chars(43010, "second");
    w.Mark(43999);
  });
  ASSERT_EQ(m.Layouts.Count(), 2);
  const TLayout& l = m.Layouts.Items(0);
  EXPECT_EQ(l.Name, "A3 landscape");
  EXPECT_EQ(l.Setting43080, 1);
  EXPECT_EQ(l.Setting43090, 1);
  ASSERT_EQ(l.InsertBlocks.Count(), 2);
  const TInsertBlock& b = l.InsertBlocks.Items(0);
  EXPECT_EQ(b.Setting46010, 5);
  EXPECT_EQ(b.Name, std::string(128, 'n'));
  EXPECT_EQ(b.Setting46040, 1.5);
  EXPECT_EQ(b.Setting46110, -4);
  EXPECT_EQ(b.Setting46130, 2);
  // A block without fields has the defaults: 1 and 1.0 in two places, 0 elsewhere.
  const TInsertBlock& empty = l.InsertBlocks.Items(1);
  EXPECT_EQ(empty.Setting46090, 1);
  EXPECT_EQ(empty.Setting46100, 1.0);
  EXPECT_EQ(empty.Setting46080, 0.0);
  EXPECT_EQ(empty.Setting46120, 0);
  ASSERT_EQ(l.Attributes.Count(), 1);
  EXPECT_EQ(l.Attributes.Items(0).Name, "TITLE");
  EXPECT_EQ(l.Attributes.Items(0).Value, "Manifold");
  EXPECT_EQ(l.Attributes.Items(0).RecordValue, 0);
  ASSERT_EQ(l.TextBlocks.Count(), 1);
  const TTextBlock& t = l.TextBlocks.Items(0);
  EXPECT_EQ(t.Name, "notes");
  EXPECT_EQ(t.Setting45020, 3.5);
  EXPECT_EQ(t.Setting45050, 2.0);
  ASSERT_EQ(t.Lines.Count(), 2);
  EXPECT_EQ(t.Lines.Items(1), "line b");
  EXPECT_EQ(m.Layouts.Items(1).Name, "second");
  EXPECT_EQ(m.Layouts.Current, -1);
}

TEST(LayoutLists, ClearSetsCurrentBackToMinusOne) {
  TLayout l;
  l.InsertBlocks.Add();
  l.InsertBlocks.Current = 0;
  l.TextBlocks.Current = 3;
  l.Reset();
  EXPECT_EQ(l.InsertBlocks.Count(), 0);
  EXPECT_EQ(l.InsertBlocks.Current, -1);
  EXPECT_EQ(l.TextBlocks.Current, -1);
  TManifold m;
  m.Layouts.Add();
  m.Layouts.Current = 0;
  m.Reset();
  EXPECT_EQ(m.Layouts.Count(), 0);
  EXPECT_EQ(m.Layouts.Current, -1);
}

TEST(LayoutRecord, FixedPartThenInsertBlocksTextBlocksAndAttributes) {
  TByteImage file;
  file.I32(1);
  file.Text("layout", 128).Text("b", 128).Text("c", 128).Text("d", 128).Text("e", 128);
  file.U8(0).U8(2).U8(3).U8(4);
  ASSERT_EQ(file.Size(), 4 + TLayout::RecordSize);
  file.I32(1).U8(9).Text("block", 128).U8(8).Zeros(1).F64(1).F64(2).F64(3).F64(4).F64(5)
      .U8(0).Zeros(3).F64(6).I32(7).I32(-8).U8(1).Zeros(3);          // one insert block
  file.I32(1).Text("text", 80).Zeros(3).F64(2.5).Text("font", 30).Zeros(1).F64(0.5);
  file.I32(2).Text("x", 255).Text("y", 255);                        // its lines
  file.I32(1).I32(42).Text("NAME", 30).Text("value", 128);          // one attribute
  file.I32(0x1234);
  TRecordFile f(file.Bytes());
  TLayoutList list;
  EXPECT_TRUE(list.ReadRecord(f));
  ASSERT_EQ(list.Count(), 1);
  const TLayout& l = list.Items(0);
  EXPECT_EQ(l.Name, "layout");
  EXPECT_EQ(l.Setting43050, "e");
  EXPECT_EQ(l.Setting43060, 0);
  EXPECT_EQ(l.Setting43090, 4);
  ASSERT_EQ(l.InsertBlocks.Count(), 1);
  const TInsertBlock& b = l.InsertBlocks.Items(0);
  EXPECT_EQ(b.Setting46010, 9);
  EXPECT_EQ(b.Name, "block");
  EXPECT_EQ(b.Setting46030, 8);
  EXPECT_EQ(b.Setting46040, 1);
  EXPECT_EQ(b.Setting46080, 5);
  EXPECT_EQ(b.Setting46090, 0);
  EXPECT_EQ(b.Setting46100, 6);
  EXPECT_EQ(b.Setting46110, 7);
  EXPECT_EQ(b.Setting46120, -8);
  EXPECT_EQ(b.Setting46130, 1);
  ASSERT_EQ(l.TextBlocks.Count(), 1);
  EXPECT_EQ(l.TextBlocks.Items(0).Setting45020, 2.5);
  EXPECT_EQ(l.TextBlocks.Items(0).Setting45030, "font");
  EXPECT_EQ(l.TextBlocks.Items(0).Setting45050, 0.5);
  ASSERT_EQ(l.TextBlocks.Items(0).Lines.Count(), 2);
  ASSERT_EQ(l.Attributes.Count(), 1);
  EXPECT_EQ(l.Attributes.Items(0).RecordValue, 42);
  EXPECT_EQ(l.Attributes.Items(0).Name, "NAME");
  EXPECT_EQ(l.Attributes.Items(0).Value, "value");
  EXPECT_EQ(f.ReadInteger(), 0x1234);
}

TEST(LayoutRecord, AShortFixedPartStillReadsTheListsAfterIt) {
  TByteImage file;
  file.Text("cut", 128).Zeros(100);  // 229 of 649 bytes
  TRecordFile f(file.Bytes());
  TLayout l;
  EXPECT_FALSE(l.ReadRecord(f));
  EXPECT_EQ(l.Name, "cut");
  EXPECT_EQ(l.Setting43060, 1);
  EXPECT_EQ(l.InsertBlocks.Count(), 0);
  EXPECT_EQ(l.Attributes.Count(), 0);

  TByteImage huge;
  huge.I32(0x40000000).Zeros(700);  // room for one layout's fixed part and counts only
  TRecordFile g(huge.Bytes());
  TLayoutList list;
  list.ReadRecord(g);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_TRUE(g.Truncated());
}

// --- Bill of materials -------------------------------------------------------------------------------

TEST(BillOfMaterials, DefaultsWithoutASection) {
  test::TTempDir dir;
  TManifold m;
  m.BillOfMaterials.Lines.Add("left over");
  m.BillOfMaterials.IntegerValues.Add(3);
  m.BillOfMaterials.UserItems.Add();
  LoadTopLevel(m, dir, [](TTaggedWriter& w) { w.Mark(2000); w.Mark(2999); });
  const TBillOfMaterials& b = m.BillOfMaterials;
  EXPECT_EQ(b.Setting41010, 0);
  EXPECT_EQ(b.Setting41020, 5.0);
  EXPECT_EQ(b.Setting41030, 3.5);
  EXPECT_EQ(b.Position.X, 0.0);
  EXPECT_EQ(b.Setting41060, 10.0);
  for (double s : {b.Setting41300, b.Setting41310, b.Setting41320, b.Setting41330, b.Setting41340,
                   b.Setting41350, b.Setting41360})
    EXPECT_EQ(s, 50.0);
  for (double s : {b.Setting41361, b.Setting41362, b.Setting41363, b.Setting41364, b.Setting41365})
    EXPECT_EQ(s, 10.0);
  EXPECT_EQ(b.Setting41070, 1);
  EXPECT_EQ(b.Setting41072, 0);
  EXPECT_EQ(b.IntegerValues.Count(), 0);
  EXPECT_EQ(b.UserItems.Count(), 0);
  EXPECT_EQ(b.Lines.Count(), 0);
}

TEST(BillOfMaterials, SectionWithIntegersLinesAndUserItems) {
  test::TTempDir dir;
  TManifold m;
  LoadTopLevel(m, dir, [](TTaggedWriter& w) {
    w.Mark(41000);
    w.Integer(41010, 256);  // the lowest byte: 0
    w.Integer(41100, 5);
    w.Double(41040, 12.0);
    w.Integer(41100, -1);
    w.Chars(41200, "bom line");
    w.Integer(41100, 300);
    w.Mark(40000);
    w.Chars(40010, "ART-1");
    w.Mark(40999);
    w.Mark(40000);
    w.Chars(40020, std::string(60, 'D'));  // cut to 50
    w.Chars(40070, "stored");
    w.Mark(40999);
    w.Double(41365, 1.0);
    w.Byte(41072, 1);
    w.Mark(41999);
  });
  const TBillOfMaterials& b = m.BillOfMaterials;
  EXPECT_EQ(b.Setting41010, 0);
  EXPECT_EQ(b.Position.X, 12.0);
  EXPECT_EQ(b.Setting41365, 1.0);
  EXPECT_EQ(b.Setting41072, 1);
  ASSERT_EQ(b.IntegerValues.Count(), 3);
  EXPECT_EQ(b.IntegerValues.Items(0), "00000005");
  EXPECT_EQ(b.IntegerValues.Items(1), "FFFFFFFF");
  EXPECT_EQ(b.IntegerValues.Items(2), "0000012C");
  EXPECT_EQ(b.IntegerValues.Value(1), -1);
  ASSERT_EQ(b.Lines.Count(), 1);
  EXPECT_EQ(b.Lines.Items(0), "bom line");
  ASSERT_EQ(b.UserItems.Count(), 2);
  const TUserBOM& u = b.UserItems.Items(0);
  EXPECT_EQ(u.ArticleCode, "ART-1");
  EXPECT_EQ(u.Description, "");
  EXPECT_EQ(u.Quantity, "");
  EXPECT_EQ(u.RecordValue1, 0);
  EXPECT_EQ(u.RecordValue2, 0);
  EXPECT_EQ(b.UserItems.Items(1).Description, std::string(50, 'D'));
  EXPECT_EQ(b.UserItems.Items(1).Setting40070, "stored");
}

TByteImage BomFixedPart() {
  TByteImage f;
  f.U8(7).Zeros(3).F64(6.0).F64(4.0).F64(1.0).F64(2.0).F64(11.0);
  for (int i = 0; i < 12; ++i) f.F64(100.0 + i);
  f.U8(0).U8(1).Zeros(2);
  return f;
}

TEST(BillOfMaterialsRecord, EmptyIsTheFixedPartAndThreeZeroCounts) {
  TByteImage file = BomFixedPart();
  ASSERT_EQ(file.Size(), TBillOfMaterials::RecordSize);
  file.I32(0).I32(0).I32(0);
  TRecordFile f(file.Bytes());
  TBillOfMaterials b;
  b.ReadRecord(f);
  EXPECT_EQ(b.Setting41010, 7);
  EXPECT_EQ(b.Setting41020, 6.0);
  EXPECT_EQ(b.Setting41030, 4.0);
  EXPECT_EQ(b.Position.X, 1.0);
  EXPECT_EQ(b.Position.Y, 2.0);
  EXPECT_EQ(b.Setting41060, 11.0);
  EXPECT_EQ(b.Setting41300, 100.0);
  EXPECT_EQ(b.Setting41360, 106.0);
  EXPECT_EQ(b.Setting41361, 107.0);
  EXPECT_EQ(b.Setting41365, 111.0);
  EXPECT_EQ(b.Setting41070, 0);
  EXPECT_EQ(b.Setting41072, 1);
  EXPECT_EQ(b.UserItems.Count(), 0);
  EXPECT_EQ(b.IntegerValues.Count(), 0);
  EXPECT_EQ(b.Lines.Count(), 0);
  EXPECT_EQ(f.Remaining(), 0u);
  EXPECT_FALSE(f.Truncated());
}

TEST(BillOfMaterialsRecord, UserItemsIntegersAndLines) {
  TByteImage file = BomFixedPart();
  file.I32(1).Text("A1", 30).Text("desc", 50).Text("type", 70).Text("maker", 40).Text("7", 10)
      .Text("2 pcs", 20).Text("x", 20).Zeros(1).I32(-3).I32(9);
  file.I32(2).I32(300).I32(-2);
  file.I32(1).Text("note", 255);
  TRecordFile f(file.Bytes());
  TBillOfMaterials b;
  b.ReadRecord(f);
  ASSERT_EQ(b.UserItems.Count(), 1);
  const TUserBOM& u = b.UserItems.Items(0);
  EXPECT_EQ(u.ArticleCode, "A1");
  EXPECT_EQ(u.Description, "desc");
  EXPECT_EQ(u.PartType, "type");
  EXPECT_EQ(u.Manufacturer, "maker");
  EXPECT_EQ(u.ItemNumber, "7");
  EXPECT_EQ(u.Quantity, "2 pcs");
  EXPECT_EQ(u.Setting40070, "x");
  EXPECT_EQ(u.RecordValue1, -3);
  EXPECT_EQ(u.RecordValue2, 9);
  ASSERT_EQ(b.IntegerValues.Count(), 2);
  EXPECT_EQ(b.IntegerValues.Items(0), "0000012C");
  EXPECT_EQ(b.IntegerValues.Value(1), -2);
  ASSERT_EQ(b.Lines.Count(), 1);
  EXPECT_EQ(b.Lines.Items(0), "note");
}

TEST(BillOfMaterialsRecord, CountsTheFileCannotHoldCreateOnlyWhatIsThere) {
  TByteImage file = BomFixedPart();
  file.I32(0);                   // no user items
  file.I32(0x7FFFFFFF).I32(5);   // a huge integer count with one integer after it
  TRecordFile f(file.Bytes());
  TBillOfMaterials b;
  b.ReadRecord(f);
  ASSERT_EQ(b.IntegerValues.Count(), 1);
  EXPECT_EQ(b.IntegerValues.Value(0), 5);
  EXPECT_EQ(b.Lines.Count(), 0);
  EXPECT_TRUE(f.Truncated());

  TByteImage shortItem = BomFixedPart();
  shortItem.I32(3).Text("only", 30).Zeros(100);  // a count of 3, less than one whole item
  TRecordFile g(shortItem.Bytes());
  TBillOfMaterials c;
  c.ReadRecord(g);
  EXPECT_EQ(c.UserItems.Count(), 0);
  EXPECT_TRUE(g.Truncated());
}

}  // namespace
}  // namespace qv

namespace qv {
namespace {

// A file that ends inside nested sections of these objects ends every open section and the load.
TEST(EndOfFile, InsideNestedSectionsOfPlotSettingsLayoutsToDoAndBillOfMaterials) {
  test::TTempDir dir;
  const std::vector<std::function<void(TTaggedWriter&)>> bodies = {
      [](TTaggedWriter& w) { w.Mark(50000); w.Integer(50010, 2); w.Mark(61100); w.Mark(61300); w.Double(61320, 9); },
      [](TTaggedWriter& w) { w.Mark(50000); w.Mark(60100); w.Chars(60150, "cut"); },
      [](TTaggedWriter& w) { w.Mark(43000); w.Mark(45000); w.Chars(45040, "cut"); },
      [](TTaggedWriter& w) { w.Mark(4500); w.Mark(10000); w.Mark(20000); w.Double(20100, 4); },
      [](TTaggedWriter& w) { w.Mark(41000); w.Mark(40000); w.Chars(40010, "cut"); },
      [](TTaggedWriter& w) { w.Mark(4000); w.Record(4200, TBytes{'a', 'b'}); },
  };
  for (size_t i = 0; i < bodies.size(); ++i) {
    TTaggedWriter w(false);
    bodies[i](w);
    test::TRecordingMessages messages;
    TManifold m;
    m.SetMessages(&messages);
    EXPECT_TRUE(LoadManifoldFile(m, dir.Write("cut.mnf", w.Bytes()))) << i;
    EXPECT_EQ(messages.Errors.size(), 1u) << i;
  }
  // What was read before the end stays: the second plot settings got the column's width.
  TTaggedWriter w(false);
  bodies[0](w);
  TManifold m;
  LoadManifoldFile(m, dir.Write("cut.mnf", w.Bytes()));
  ASSERT_EQ(m.PlotSettings2.DrillingList.Columns.Count(), 1);
  EXPECT_EQ(m.PlotSettings2.DrillingList.Columns.Items(0).Width, 9.0);
}

}  // namespace
}  // namespace qv
