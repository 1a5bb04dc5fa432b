// Hole texts and cut-outs: defaults, style taken from the default hole text, sections, record images.
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

THoleText StyledText(const char* text, double height, uint8_t border, double width, int32_t insertion) {
  THoleText t;
  t.Text = text;
  t.Offset = {1, 2};
  t.TextHeight = height;
  t.Border = border;
  t.FixedWidth = width;
  t.Rotation = 30;
  t.InsertionPoint = insertion;
  t.MatchRemark = 0;
  t.HideInProductionDrawing = 1;
  return t;
}

TEST(HoleText, DefaultsOfANewText) {
  THoleText t;
  EXPECT_EQ(t.Text, "");
  EXPECT_EQ(t.Offset.X, 0.0);
  EXPECT_EQ(t.Offset.Y, 0.0);
  EXPECT_EQ(t.TextHeight, 0.0);
  EXPECT_EQ(t.UseDefaultStyle, 1);
  EXPECT_EQ(t.MatchRemark, 1);
  EXPECT_EQ(t.Border, 1);
  EXPECT_EQ(t.FixedWidth, 0.0);
  EXPECT_EQ(t.Rotation, 0.0);
  EXPECT_EQ(t.InsertionPoint, 0);
  EXPECT_EQ(t.HideInAssemblyDrawing + t.HideInProductionDrawing + t.HideDimensionInAssemblyDrawing +
                t.HideDimensionInProductionDrawing,
            0);
}

TEST(HoleText, AssignWithDefaultTakesTheStyleOnlyWhenAskedButAlwaysTheInsertionPoint) {
  const THoleText def = StyledText("default", 5, 0, 40, THoleText::InsertLeftMiddle);
  THoleText own = StyledText("own", 2.5, 1, 0, THoleText::InsertLeftLower);
  own.UseDefaultStyle = 0;
  THoleText shown;
  shown.AssignWithDefault(own, def);
  EXPECT_EQ(shown.Text, "own");
  EXPECT_EQ(shown.TextHeight, 2.5);
  EXPECT_EQ(shown.Border, 1);
  EXPECT_EQ(shown.FixedWidth, 0.0);
  EXPECT_EQ(shown.InsertionPoint, THoleText::InsertLeftMiddle);

  THoleText styled = own;
  styled.UseDefaultStyle = 1;
  styled.Text = "styled";
  styled.Offset = {7, 8};
  shown.AssignWithDefault(styled, def);
  EXPECT_EQ(shown.TextHeight, 5);
  EXPECT_EQ(shown.Border, 0);
  EXPECT_EQ(shown.FixedWidth, 40);
  EXPECT_EQ(shown.InsertionPoint, THoleText::InsertLeftMiddle);
  EXPECT_EQ(shown.Text, "styled");
  EXPECT_EQ(shown.Offset.X, 7);
  EXPECT_EQ(shown.Offset.Y, 8);
  EXPECT_EQ(shown.Rotation, 30);
  EXPECT_EQ(shown.MatchRemark, 0);
  EXPECT_EQ(shown.HideInProductionDrawing, 1);

  // Assign copies everything, the style included.
  shown.Assign(styled);
  EXPECT_EQ(shown.TextHeight, 2.5);
  EXPECT_EQ(shown.InsertionPoint, THoleText::InsertLeftLower);

  // The default may be the target itself.
  THoleText self = def;
  self.AssignWithDefault(styled, self);
  EXPECT_EQ(self.Text, "styled");
  EXPECT_EQ(self.TextHeight, 5);
  EXPECT_EQ(self.FixedWidth, 40);
}

TEST(HoleTextSection, EveryTagAndTheTextCapacity) {
  test::TTempDir dir;
  TTaggedWriter w(false);
  w.Mark(34000);  // the document's default hole text
  w.Double(34010, 1.5);
  w.Double(34020, -2.5);
  w.Chars(34050, std::string(64, 'a') + "bcdef");  // 69 characters, 64 kept
  w.Double(34060, 3.5);
  w.Byte(34070, 0);
  w.Byte(34080, 0);
  w.Byte(34090, 0);
  w.Double(34100, 44);
  w.Double(34110, 90);
  w.Byte(34120, 1);
  w.Byte(34130, 2);
  w.Byte(34140, 3);
  w.Byte(34150, 4);
  w.Integer(34160, 2);
  w.Mark(34999);
  w.Mark(10000);  // a hole with a text of its own
  w.Mark(20000);
  w.Mark(29999);
  w.Mark(34000);
  w.Chars(34050, "HOLE");
  w.Mark(34999);
  w.Integer(10010, 3);
  w.Mark(19999);
  w.Mark(1999);
  TManifold m;
  ASSERT_TRUE(LoadManifoldFile(m, dir.Write("t.mnf", w.Bytes())));
  ASSERT_EQ(m.HoleTexts.Count(), 1);
  ASSERT_NE(m.DefaultHoleText(), nullptr);
  const THoleText& t = *m.DefaultHoleText();
  EXPECT_EQ(t.Offset.X, 1.5);
  EXPECT_EQ(t.Offset.Y, -2.5);
  EXPECT_EQ(t.Text, std::string(64, 'a'));
  EXPECT_EQ(t.TextHeight, 3.5);
  EXPECT_EQ(t.UseDefaultStyle, 0);
  EXPECT_EQ(t.MatchRemark, 0);
  EXPECT_EQ(t.Border, 0);
  EXPECT_EQ(t.FixedWidth, 44);
  EXPECT_EQ(t.Rotation, 90);
  EXPECT_EQ(t.HideInAssemblyDrawing, 1);
  EXPECT_EQ(t.HideInProductionDrawing, 2);
  EXPECT_EQ(t.HideDimensionInAssemblyDrawing, 3);
  EXPECT_EQ(t.HideDimensionInProductionDrawing, 4);
  EXPECT_EQ(t.InsertionPoint, 2);
  ASSERT_EQ(m.Holes.Count(), 1);
  EXPECT_EQ(m.Holes.Items(0).Number, 3);
  ASSERT_EQ(m.Holes.Items(0).HoleTexts.Count(), 1);
  EXPECT_EQ(m.Holes.Items(0).HoleTexts.Items(0).Text, "HOLE");
  EXPECT_EQ(m.Holes.Items(0).HoleTexts.Items(0).UseDefaultStyle, 1);

  m.Reset();
  EXPECT_EQ(m.DefaultHoleText(), nullptr);
}

TEST(CutOutSection, EveryTagAndASectionOfOnlyItsEnd) {
  test::TTempDir dir;
  TTaggedWriter w(true);
  w.Mark(32000);
  w.Integer(32010, 6);
  w.Integer(32020, -1);
  w.Double(32030, 10);
  w.Double(32040, 20);
  w.Double(32050, 30);
  w.Double(32060, 40);
  w.Byte(32070, 0);
  w.Double(32080, 5);
  w.Record(32090, TBytes(5, 1));  // unknown
  w.Mark(32999);
  w.Mark(32000);
  w.Mark(32999);
  w.Mark(1999);
  TManifold m;
  ASSERT_TRUE(LoadViewerFile(m, dir.Write("c.mvf", w.Bytes())));
  ASSERT_EQ(m.CutOuts.Count(), 2);
  const TCutOut& c = m.CutOuts.Items(0);
  EXPECT_EQ(c.Face, 6);
  EXPECT_EQ(c.Corner, TCutOut::NoCorner);
  EXPECT_EQ(c.Position.X, 10);
  EXPECT_EQ(c.Position.Y, 20);
  EXPECT_EQ(c.Width, 30);
  EXPECT_EQ(c.Height, 40);
  EXPECT_EQ(c.Through, 0);
  EXPECT_EQ(c.Depth, 5);
  const TCutOut& d = m.CutOuts.Items(1);
  EXPECT_EQ(d.Face, 1);
  EXPECT_EQ(d.Corner, 1);
  EXPECT_EQ(d.Through, 1);
  EXPECT_EQ(d.Width, 0.0);
  EXPECT_EQ(d.Height, 0.0);
  EXPECT_EQ(d.Depth, 0.0);
}

TEST(HoleTextRecord, FieldsAtTheirOffsetsAndAShortRecord) {
  TByteImage text;
  text.Text("LABEL", 64).Zeros(3).F64(1).F64(2).F64(3.5).U8(0).U8(1).U8(0).Zeros(1);
  text.F64(12).F64(-45).I32(1).U8(1).U8(0).U8(1).U8(0);
  ASSERT_EQ(text.Size(), 120u);
  TByteImage file;
  file.I32(0).I32(-1).I32(2).Append(text.Bytes()).Append(text.Bytes());
  TRecordFile f(file.Bytes());
  THoleTextList texts;
  texts.ReadRecord(f);  // count 0
  texts.ReadRecord(f);  // count -1
  EXPECT_EQ(texts.Count(), 0);
  EXPECT_EQ(f.Position(), 8u);
  texts.ReadRecord(f);
  ASSERT_EQ(texts.Count(), 2);
  const THoleText& t = texts.Items(1);
  EXPECT_EQ(t.Text, "LABEL");
  EXPECT_EQ(t.Offset.X, 1);
  EXPECT_EQ(t.Offset.Y, 2);
  EXPECT_EQ(t.TextHeight, 3.5);
  EXPECT_EQ(t.UseDefaultStyle, 0);
  EXPECT_EQ(t.MatchRemark, 1);
  EXPECT_EQ(t.Border, 0);
  EXPECT_EQ(t.FixedWidth, 12);
  EXPECT_EQ(t.Rotation, -45);
  EXPECT_EQ(t.InsertionPoint, 1);
  EXPECT_EQ(t.HideInAssemblyDrawing, 1);
  EXPECT_EQ(t.HideDimensionInAssemblyDrawing, 1);
  EXPECT_EQ(t.HideDimensionInProductionDrawing, 0);

  TBytes cut(text.Bytes().begin(), text.Bytes().begin() + 108);  // ends inside Rotation
  TRecordFile g(cut);
  THoleText short_;
  short_.Rotation = 7;
  EXPECT_FALSE(short_.ReadRecord(g));
  EXPECT_EQ(short_.FixedWidth, 12);
  EXPECT_EQ(short_.Rotation, 7);
  EXPECT_EQ(short_.InsertionPoint, 0);
}

TEST(CutOutRecord, FieldsAtTheirOffsets) {
  TByteImage file;
  file.I32(1).I32(4).I32(3).F64(1).F64(2).F64(25).F64(15).U8(0).Zeros(3).F64(8);
  ASSERT_EQ(file.Size(), 4u + 52);
  TRecordFile f(file.Bytes());
  TCutOutList cutOuts;
  cutOuts.ReadRecord(f);
  ASSERT_EQ(cutOuts.Count(), 1);
  const TCutOut& c = cutOuts.Items(0);
  EXPECT_EQ(c.Face, 4);
  EXPECT_EQ(c.Corner, 3);
  EXPECT_EQ(c.Position.X, 1);
  EXPECT_EQ(c.Position.Y, 2);
  EXPECT_EQ(c.Width, 25);
  EXPECT_EQ(c.Height, 15);
  EXPECT_EQ(c.Through, 0);
  EXPECT_EQ(c.Depth, 8);
  EXPECT_FALSE(f.Truncated());
}

}  // namespace
}  // namespace qv
