// Hole texts on the face: which string shows, where its centre lands for each insertion point,
// its frame, its turn on every face, and the width estimate behind frames and insertion points.
//
// The test font makes every character 2.3 wide and "H" 1.15 wide for a text 3 high (see
// THalfCellFont). Block 100 x 60 x 40, scale 0.05; the hole is on face 1 at (30, 20), whose start is
// (20, 10, 20) before scaling; on face 1 an offset (a, b) in the drawing frame is (-a, -b, 0).
#include "tests/scene/SceneTestSupport.h"

namespace qv {
namespace {

using test::AddHole;
using test::AddStep;
using test::TBuiltScene;
using test::Baseline;
using test::GlyphUp;
using test::InParent;
using test::Mat;

TSceneOptions TextsOnly() {
  TSceneOptions o = test::BoreOnly();
  o.ShowHoleText = true;
  o.HoleNumbers = true;
  return o;
}

THoleText& AddText(THole& hole, const char* text, double height, bool border) {
  THoleText& t = hole.HoleTexts.Add();
  t.Text = text;
  t.TextHeight = height;
  t.Border = border;
  t.MatchRemark = 0;
  t.UseDefaultStyle = 0;
  return t;
}

TEST(TextWidth, CellHeightAt96PixelsPerInch) {
  TTextWidths widths(test::HalfCellFontOpener());
  // Height 3: a cell of 3 x 1000 x 96 / 72 = 4000 pixels, whose em is 4000 x 2048 / 2288; a
  // character of 0.5 cell is 2000 pixels, so two are 4000 x 1.15 / 1000 = 4.6.
  EXPECT_NEAR(EstimateTextWidth(widths, "AB", 3), 4.6, 1e-12);
  EXPECT_NEAR(EstimateTextWidth(widths, "ABH", 3), 5.75, 1e-12);
  // Height 0.0152: a cell of round(20.27) = 20 pixels, "AB" 20 pixels.
  EXPECT_NEAR(EstimateTextWidth(widths, "AB", 0.0152), 20 * 1.15 / 1000, 1e-12);
  EXPECT_EQ(EstimateTextWidth(widths, "", 3), 0.0);
  // Point sizes name the em: 9 points are 12 pixels, "HH" is 2 x 0.2793 x 12 = 6.70, 7 pixels.
  EXPECT_EQ(TextPixelWidth(widths, "HH", 9), 7.0);

  // No font: no width, and no failure.
  TTextWidths none([](std::string& error) -> std::unique_ptr<IFontSource> {
    error = "no font";
    return nullptr;
  });
  EXPECT_EQ(EstimateTextWidth(none, "AB", 3), 0.0);
  EXPECT_TRUE(none.FontMissing());
}

TEST(TextWidth, SystemArialIsMetricCompatible) {
  std::string error;
  auto font = OpenArial(error);
  if (!font) GTEST_SKIP() << error;
  TTextWidths widths;
  // Arial's "H" advances 1479 of 2048 units: at a 4000 pixel cell, 1479 / 2288 x 4000 = 2585.66,
  // 2586 pixels, 2.9739 units.
  EXPECT_NEAR(EstimateTextWidth(widths, "H", 3), 2586 * 1.15 / 1000, 1e-9);
}

TEST(HoleTexts, MatchRemarkTakesOverTheLabel) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 3, 1, 30, 20);
  AddStep(h, 10, 20, 180).Remark = "'P1";
  AddText(h, "X", 3, false).MatchRemark = 1;
  AddText(h, "T", 3, false);
  TBuiltScene s;
  s.Build(doc, TextsOnly());
  auto texts = s.Texts(3);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0]->Text, "P1");
  EXPECT_EQ(texts[1]->Text, "T");
  // The label was taken over: the number alone, at the rim point.
  EXPECT_EQ(texts[2]->Text, "3");
  EXPECT_COLOUR(Mat(*texts[2]).FrontProperties.Diffuse, 0, 1, 1, 1);
  EXPECT_VEC(texts[2]->Position(), 0.05 * 16.47, 0.05 * 6.47, 1.0);
  for (int i = 0; i < 2; ++i) {
    EXPECT_COLOUR(Mat(*texts[i]).FrontProperties.Diffuse, 1, 0, 0, 1);
    EXPECT_EQ(texts[i]->Adjust.Horz, haCenter);
    EXPECT_EQ(texts[i]->Adjust.Vert, vaCenter);
    EXPECT_NEAR(texts[i]->TextHeight, 0.15f, test::Tol);
    // Offset (0, 0): centred on the hole's start.
    EXPECT_VEC(texts[i]->Position(), 1.0f, 0.5f, 1.0f);
  }
}

TEST(HoleTexts, WithoutLabelTheOwnTextAndEmptyStringsBuildNothing) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 3, 1, 30, 20);
  AddStep(h, 10, 20, 180);
  AddText(h, "OWN", 3, true).MatchRemark = 1;
  AddText(h, "", 3, true);  // neither text nor frame
  TBuiltScene s;
  s.Build(doc, TextsOnly());
  auto texts = s.Texts(3);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0]->Text, "OWN");
  EXPECT_EQ(texts[1]->Text, "3");
  EXPECT_EQ(s.Lines(3).size(), 1u);

  // "Hole Text" off: the label stays with the hole numbers.
  h.Steps.Items(0).Remark = "'L";
  TSceneOptions o = TextsOnly();
  o.ShowHoleText = false;
  s.Build(doc, o);
  texts = s.Texts(3);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0]->Text, "L");
}

TEST(HoleTexts, CentredFrame) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 3, 1, 30, 20);
  AddStep(h, 10, 20, 180);
  AddText(h, "AB", 3, true);
  TBuiltScene s;
  s.Build(doc, TextsOnly());
  auto frames = s.Lines(3);
  ASSERT_EQ(frames.size(), 1u);
  const TGLLines& f = *frames[0];
  EXPECT_COLOUR(f.LineColor, 1, 0, 0, 1);
  EXPECT_EQ(f.LineWidth, 1.0f);
  EXPECT_EQ(f.NodesAspect, lnaInvisible);
  // Width of "ABH" 5.75, height 1.5 x 3 = 4.5, centred: corners (-+2.875, -+2.25) in the frame.
  ASSERT_EQ(f.Nodes.size(), 5u);
  EXPECT_VEC(f.Nodes[0], 0.05 * 22.875, 0.05 * 12.25, 1.0);
  EXPECT_VEC(f.Nodes[1], 0.05 * 17.125, 0.05 * 12.25, 1.0);
  EXPECT_VEC(f.Nodes[2], 0.05 * 17.125, 0.05 * 7.75, 1.0);
  EXPECT_VEC(f.Nodes[3], 0.05 * 22.875, 0.05 * 7.75, 1.0);
  EXPECT_EQ(f.Nodes[4], f.Nodes[0]);
}

TEST(HoleTexts, InsertionPointsAndFixedWidth) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 3, 1, 30, 20);
  AddStep(h, 10, 20, 180);
  // Left-middle: the centre half the width (4.6 / 2) along p, so the text begins at the offset.
  THoleText& left = AddText(h, "AB", 3, true);
  left.InsertionPoint = 2;
  left.FixedWidth = 30;
  // Left-lower with offset (4, 2): centre (4 / 2 + 2.3, 2 + 3) = (4.3, 5).
  THoleText& lower = AddText(h, "AB", 3, false);
  lower.InsertionPoint = 1;
  lower.Offset = {4, 2};
  TBuiltScene s;
  s.Build(doc, TextsOnly());
  auto texts = s.Texts(3);
  EXPECT_VEC(texts[0]->Position(), 0.05 * (20 - 2.3), 0.5, 1.0);
  EXPECT_VEC(texts[1]->Position(), 0.05 * (20 - 4.3), 0.05 * (10 - 5), 1.0);
  // The frame runs from the text's left end 30 to the right, 4.5 high about the middle line.
  auto frames = s.Lines(3);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_VEC(frames[0]->Nodes[0], 1.0, 0.05 * 12.25, 1.0);
  EXPECT_VEC(frames[0]->Nodes[1], 0.05 * (20 - 30), 0.05 * 12.25, 1.0);
  EXPECT_VEC(frames[0]->Nodes[2], 0.05 * (20 - 30), 0.05 * 7.75, 1.0);
  EXPECT_VEC(frames[0]->Nodes[3], 1.0, 0.05 * 7.75, 1.0);
}

TEST(HoleTexts, RotationTurnsTextAndFrame) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 3, 1, 30, 20);
  AddStep(h, 10, 20, 180);
  THoleText& t = AddText(h, "AB", 3, true);
  t.Rotation = 90;
  t.InsertionPoint = 2;
  TBuiltScene s;
  s.Build(doc, TextsOnly());
  const TGLSpaceText& text = *s.Texts(3)[0];
  // Rotation 90 on face 1: reads along q (scene -Y), rises along p turned, scene +X.
  EXPECT_VEC(Baseline(text), 0, -1, 0);
  EXPECT_VEC(GlyphUp(text), 1, 0, 0);
  EXPECT_NEAR(text.Oblique, 90.0f, test::Tol);
  // The centre 2.3 along q: scene (20, 10 - 2.3, 20).
  EXPECT_VEC(text.Position(), 1.0, 0.05 * 7.7, 1.0);
  // The frame from the left end (the hole's start) 5.75 along q; its lower edge 2.25 below the
  // middle line, that is along p, scene -X.
  const TGLLines& f = *s.Lines(3)[0];
  EXPECT_VEC(f.Nodes[0], 0.05 * 17.75, 0.5, 1.0);
  EXPECT_VEC(f.Nodes[1], 0.05 * 17.75, 0.05 * (10 - 5.75), 1.0);
  EXPECT_VEC(f.Nodes[2], 0.05 * 22.25, 0.05 * (10 - 5.75), 1.0);
}

TEST(HoleTexts, OnEveryFaceFramesGrowAlongTheBaseline) {
  for (int face = 1; face <= 6; ++face) {
    for (double rotation : {0.0, 30.0, 200.0}) {
      SCOPED_TRACE(testing::Message() << "face " << face << " rotation " << rotation);
      TManifold doc;
      test::SmallBlock(doc);
      THole& h = AddHole(doc, 3, face, 30, 20);
      AddStep(h, 10, 10, 180);
      THoleText& t = AddText(h, "AB", 3, true);
      t.Rotation = rotation;
      t.InsertionPoint = 2;
      TBuiltScene s;
      s.Build(doc, TextsOnly());
      const TGLSpaceText& text = *s.Texts(3)[0];
      // The text faces out of the face.
      const TFaceFrame& frame = FaceFrame(face);
      EXPECT_VEC(text.Direction(), frame.N.X, frame.N.Y, frame.N.Z);
      // It reads along cos T p + sin T q.
      const double r = rotation * 3.14159265358979323846 / 180;
      const TXYZPoint along = std::cos(r) * frame.P + std::sin(r) * frame.Q;
      EXPECT_VEC(Baseline(text), along.X, along.Y, along.Z);
      // The frame's first edge runs from the left end the whole width (5.75) along the baseline.
      const TGLLines& f = *s.Lines(3)[0];
      const TVector3f edge{f.Nodes[1].X - f.Nodes[0].X, f.Nodes[1].Y - f.Nodes[0].Y, f.Nodes[1].Z - f.Nodes[0].Z};
      EXPECT_VEC(edge, 0.05 * 5.75 * along.X, 0.05 * 5.75 * along.Y, 0.05 * 5.75 * along.Z);
      // The text's centre lies 2.3 along the baseline from the hole's start.
      const TXYZPoint start = 0.05 * FaceToScene({100, 60, 40}, 1.0, face, 30, 20, 0);
      EXPECT_VEC(text.Position(), start.X + 0.05 * 2.3 * along.X, start.Y + 0.05 * 2.3 * along.Y,
                 start.Z + 0.05 * 2.3 * along.Z);
    }
  }
}

TEST(HoleTexts, DefaultStyleAndUnscaledText) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 3, 1, 30, 20);
  AddStep(h, 10, 20, 180);
  THoleText& t = AddText(h, "AB", 0, false);
  t.UseDefaultStyle = 1;
  TBuiltScene s;
  s.Build(doc, TextsOnly());
  // No default: its own height 0 leaves the glyphs unscaled.
  EXPECT_EQ(s.Texts(3)[0]->TextHeight, 0.0f);

  // The default's height and frame; the document keeps its own values.
  THoleText& def = doc.HoleTexts.Add();
  def.TextHeight = 3;
  def.Border = 1;
  s.Build(doc, TextsOnly());
  EXPECT_NEAR(s.Texts(3)[0]->TextHeight, 0.15f, test::Tol);
  EXPECT_EQ(s.Lines(3).size(), 1u);
  EXPECT_EQ(t.TextHeight, 0.0);
}

TEST(HoleTexts, AngledHoleKeepsTheTextAtItsStartOnTheFace) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 3, 1, 30, 20);
  h.Flags |= THole::AngledBit;
  h.TiltAngle = 45;
  AddStep(h, 10, 20, 180);
  AddText(h, "AB", 3, false);
  TBuiltScene s;
  s.Build(doc, TextsOnly());
  const TGLSpaceText& text = *s.Texts(3)[0];
  EXPECT_VEC(text.Position(), 1.0, 0.5, 1.0);
  EXPECT_VEC(text.Direction(), 0, 0, 1);
}

}  // namespace
}  // namespace qv
