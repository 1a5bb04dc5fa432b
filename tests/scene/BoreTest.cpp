// Bores: step bodies, drill points, flat bottoms, threads, ports, the root's place and orientation,
// the materials, and the hole's label and number on every face.
//
// Block 100 x 60 x 40 (scale 0.05); unless said otherwise the hole is on face 1 at (30, 20), whose
// start is the scene point (50 - 30, 30 - 20, 20) x 0.05 = (1, 0.5, 1). Children of the root sit at
// y = 0.05 x (half the face step's cylinder - the bore depth of their centre).
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

const float tan30 = static_cast<float>(std::tan(3.14159265358979323846 / 6));

const TGLAnnulus& Tube(const TGLBaseSceneObject& o) {
  EXPECT_EQ(o.Kind(), TGLObjectKind::Annulus);
  return static_cast<const TGLAnnulus&>(o);
}

// Open tubes are annuli whose inner radii equal the outer ones.
void ExpectShape(const TGLBaseSceneObject& o, float top, float bottom, float height) {
  const TGLAnnulus& a = Tube(o);
  EXPECT_NEAR(a.TopRadius, top, test::Tol);
  EXPECT_NEAR(a.BottomRadius, bottom, test::Tol);
  EXPECT_EQ(a.TopInnerRadius, a.TopRadius);
  EXPECT_EQ(a.BottomInnerRadius, a.BottomRadius);
  EXPECT_NEAR(a.Height, height, test::Tol);
  EXPECT_EQ(a.Stacks, 1);
  EXPECT_EQ(a.Slices, 16);
}

// A piece on the root's axis.
void ExpectTube(const TGLBaseSceneObject& o, float top, float bottom, float height, float y) {
  ExpectShape(o, top, bottom, height);
  EXPECT_VEC(o.Position(), 0, y, 0);
}

TEST(Bores, OnePointedStep) {
  TManifold doc;
  test::SmallBlock(doc);
  AddStep(AddHole(doc, 7, 1, 30, 20), 10, 20, 120);
  TBuiltScene s;
  s.Build(doc, test::BoreOnly());
  ASSERT_EQ(s.Count(), 1);
  // Tip t = tan 30 x 5 = 2.88675; cylinder 20 - t = 17.11325, centre at depth 8.55662.
  const TGLBaseSceneObject& root = s[0];
  EXPECT_EQ(root.Tag, 7);
  ExpectShape(root, 0.25f, 0.25f, 0.05f * (20 - 5 * tan30));
  EXPECT_VEC(root.Position(), 1.0f, 0.5f, 0.05f * (20 - (20 - 5 * tan30) / 2));
  EXPECT_VEC(root.Up(), 0, 0, 1);
  EXPECT_VEC(root.Direction(), 0, 1, 0);
  // The point: from radius 0.25 to 0, t long, centre at depth 20 - t/2 = 18.55662, which is 10
  // below the body's centre: y = 0.05 x (8.55662 - 18.55662) = -0.5.
  ASSERT_EQ(root.Count(), 1);
  ExpectTube(root.Children(0), 0.25f, 0.0f, 0.05f * 5 * tan30, -0.5f);
  EXPECT_EQ(root.Children(0).Tag, 7);
  // The tip lies at bore depth 20: scene z = (20 - 20) x 0.05 = 0.
  EXPECT_NEAR(InParent(root, {0, -0.5f - 0.05f * 5 * tan30 / 2, 0}).Z, 0.0f, test::Tol);
}

TEST(Bores, FlatBottomOpenAndFilled) {
  TManifold doc;
  test::SmallBlock(doc);
  AddStep(AddHole(doc, 1, 1, 30, 20), 10, 20, 180);
  TBuiltScene s;
  TSceneOptions o = test::BoreOnly();
  s.Build(doc, o);
  // Body 20 long, centre at depth 10; a disc of radius 5 at depth 20, 10 below the centre.
  ExpectShape(s[0], 0.25f, 0.25f, 1.0f);
  EXPECT_VEC(s[0].Position(), 1.0f, 0.5f, 0.5f);
  ASSERT_EQ(s[0].Count(), 1);
  ExpectTube(s[0].Children(0), 0.25f, 0.0f, 0.0f, -0.5f);

  o.FilledCylinders = true;
  s.Build(doc, o);
  ASSERT_EQ(s[0].Kind(), TGLObjectKind::Cylinder);
  const auto& body = static_cast<const TGLCylinder&>(s[0]);
  EXPECT_NEAR(body.TopRadius, 0.25f, test::Tol);
  EXPECT_NEAR(body.BottomRadius, 0.25f, test::Tol);
  EXPECT_NEAR(body.Height, 1.0f, test::Tol);
  EXPECT_EQ(body.Stacks, 1);
  EXPECT_EQ(body.Count(), 0);
}

TEST(Bores, TwoStepsFlatShoulderThenPoint) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 1, 1, 30, 20);
  AddStep(h, 10, 40, 120);
  AddStep(h, 20, 10, 180);
  TBuiltScene s;
  s.Build(doc, test::BoreOnly());
  const TGLBaseSceneObject& root = s[0];
  // Face step: 10 long, centre at depth 5.
  ExpectShape(root, 0.5f, 0.5f, 0.5f);
  EXPECT_VEC(root.Position(), 1.0f, 0.5f, 0.75f);
  ASSERT_EQ(root.Count(), 3);
  // Its flat bottom: a ring from radius 10 to 5 at depth 10.
  ExpectTube(root.Children(0), 0.5f, 0.25f, 0.0f, 0.05f * (5 - 10));
  // The lower step starts at depth 10 and is 40 - 2.88675 - 10 = 27.11325 long.
  const float len = 30 - 5 * tan30;
  ExpectTube(root.Children(1), 0.25f, 0.25f, 0.05f * len, 0.05f * (5 - (10 + len / 2)));
  // Its point, centre at depth 40 - t/2.
  ExpectTube(root.Children(2), 0.25f, 0.0f, 0.05f * 5 * tan30, 0.05f * (5 - (40 - 2.5f * tan30)));
}

TEST(Bores, TwoPointedStepsMeetOnTheShoulderCone) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 1, 1, 30, 20);
  AddStep(h, 10, 40, 120);
  AddStep(h, 20, 10, 120);
  TBuiltScene s;
  s.Build(doc, test::BoreOnly());
  const TGLBaseSceneObject& root = s[0];
  // Face step: tip 10 tan 30 = 5.7735, cylinder 10 - 5.7735 = 4.2265 (half 2.11325).
  const float half = (10 - 10 * tan30) / 2;
  ExpectShape(root, 0.5f, 0.5f, 0.05f * 2 * half);
  ASSERT_EQ(root.Count(), 3);
  // Shoulder from radius 10 to 5: 5 tan 30 = 2.88675 long, centre at 10 - 5.7735 + 1.44338.
  ExpectTube(root.Children(0), 0.5f, 0.25f, 0.05f * 5 * tan30, 0.05f * (half - (10 - 7.5f * tan30)));
  // The lower step begins where the shoulder narrows to 10 (depth 10 - 2.88675) and runs to
  // 40 - 2.88675: exactly 30 long, centre at depth 22.11325.
  ExpectTube(root.Children(1), 0.25f, 0.25f, 1.5f, 0.05f * (half - (25 - 5 * tan30)));
  ExpectTube(root.Children(2), 0.25f, 0.0f, 0.05f * 5 * tan30, 0.05f * (half - (40 - 2.5f * tan30)));
}

TEST(Bores, ThreadOnTheFaceStep) {
  TManifold doc;
  test::SmallBlock(doc);
  TGroup& g = doc.Groups.Add();
  g.Code = "R";
  g.Color = 0x0000FF;
  THole& h = AddHole(doc, 1, 1, 30, 20);
  TStep& step = AddStep(h, 10, 20, 180, "R");
  step.Flags |= TStep::ThreadedBit;
  step.ThreadDiameter = 12;
  step.ThreadLength = 15;
  TBuiltScene s;
  TSceneOptions o = test::BoreOnly();
  o.ShowThread = true;
  s.Build(doc, o);
  const TGLBaseSceneObject& root = s[0];
  ASSERT_EQ(root.Count(), 2);
  // From the hole's start down to 15: centre at 7.5, the body's centre at 10.
  ExpectTube(root.Children(1), 0.3f, 0.3f, 0.75f, 0.05f * (10 - 7.5f));
  // Red 0x0000FF AND ((0x0000FF SHR 16) AND 0x33) is black; a see-through sleeve, back side too.
  const TGLMaterial& m = Mat(root.Children(1));
  EXPECT_EQ(m.BlendingMode, bmTransparency);
  EXPECT_COLOUR(m.FrontProperties.Diffuse, 0, 0, 0, 0.4f);
  ASSERT_TRUE(m.HasBackProperties());
  EXPECT_COLOUR(m.BackPropertiesIfAny()->Diffuse, 0, 0, 0, 0.4f);
  // The bore itself stays opaque red, without a back side.
  EXPECT_EQ(Mat(root).BlendingMode, bmOpaque);
  EXPECT_COLOUR(Mat(root).FrontProperties.Diffuse, 1, 0, 0, 1);
  EXPECT_FALSE(Mat(root).HasBackProperties());

  // Without a colour, 0xFFFFFF AND 0x33 leaves a dark red.
  o.Colors = false;
  s.Build(doc, o);
  EXPECT_COLOUR(Mat(s[0].Children(1)).FrontProperties.Diffuse, 0x33 / 255.0f, 0, 0, 0.4f);

  // Transparent: light grey threads at 0.9; bores translucent at 0.9 with their colour on both sides.
  o.Colors = true;
  o.Transparent = true;
  s.Build(doc, o);
  const TGLMaterial& t = Mat(s[0].Children(1));
  EXPECT_COLOUR(t.FrontProperties.Diffuse, 192 / 255.0f, 192 / 255.0f, 192 / 255.0f, 0.9f);
  EXPECT_COLOUR(t.BackPropertiesIfAny()->Diffuse, 192 / 255.0f, 192 / 255.0f, 192 / 255.0f, 0.9f);
  const TGLMaterial& bore = Mat(s[0]);
  EXPECT_EQ(bore.BlendingMode, bmTransparency);
  EXPECT_COLOUR(bore.FrontProperties.Diffuse, 1, 0, 0, 0.9f);
  EXPECT_COLOUR(bore.BackPropertiesIfAny()->Diffuse, 1, 0, 0, 0.9f);

  // A translucent bore without a colour keeps the default grey on both sides.
  o.Colors = false;
  s.Build(doc, o);
  EXPECT_COLOUR(Mat(s[0]).FrontProperties.Diffuse, 0.8f, 0.8f, 0.8f, 0.9f);
  EXPECT_COLOUR(Mat(s[0]).BackPropertiesIfAny()->Diffuse, 0.8f, 0.8f, 0.8f, 0.9f);

  // "Show Thread" off, or no thread diameter: no sleeve.
  o.ShowThread = false;
  s.Build(doc, o);
  EXPECT_EQ(s[0].Count(), 1);
  o.ShowThread = true;
  step.ThreadDiameter = 0;
  s.Build(doc, o);
  EXPECT_EQ(s[0].Count(), 1);
}

TEST(Bores, ThreadOnADeeperStepFromItsBeginningOrFromTheHoleStart) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 1, 1, 30, 20);
  TStep& deep = AddStep(h, 10, 40, 120);
  deep.Flags |= TStep::ThreadedBit;
  deep.ThreadDiameter = 12;
  deep.ThreadLength = 8;
  AddStep(h, 20, 10, 120);
  TBuiltScene s;
  TSceneOptions o = test::BoreOnly();
  o.ShowThread = true;
  // The thread begins where the face step's point has narrowed to 12: 10 - 6 tan 30 = 6.5359.
  const float begin = 10 - 6 * tan30;
  const float half = (10 - 10 * tan30) / 2;

  ASSERT_EQ(doc.Options23 & 16, 0);
  s.Build(doc, o);
  ASSERT_EQ(s[0].Count(), 4);  // shoulder, deep body, deep point, sleeve
  ExpectTube(s[0].Children(3), 0.3f, 0.3f, 0.4f, 0.05f * (half - (begin + 4)));

  // Measured from the hole's start: it ends at 8 and is 8 - 6.5359 = 1.4641 long.
  doc.Options23 |= 16;
  s.Build(doc, o);
  ExpectTube(s[0].Children(3), 0.3f, 0.3f, 0.05f * (8 - begin), 0.05f * (half - (8 + begin) / 2));

  // Ending above its beginning: no sleeve.
  deep.ThreadLength = 5;
  s.Build(doc, o);
  EXPECT_EQ(s[0].Count(), 3);
}

TEST(Bores, PortRings) {
  TManifold doc;
  test::SmallBlock(doc);
  TStep& step = AddStep(AddHole(doc, 1, 1, 30, 20), 8, 30, 180);
  step.PortDepthA = 12;
  step.PortDepthB = 21;
  TBuiltScene s;
  TSceneOptions o = test::BoreOnly();
  o.ShowPorts = true;
  s.Build(doc, o);
  // Body 30 long (centre 15); rings of radii 4.04 and 3.96, 0.1 thick, at 12 and 21; then the disc.
  ASSERT_EQ(s[0].Count(), 3);
  for (int i = 0; i < 2; ++i) {
    const TGLAnnulus& ring = Tube(s[0].Children(i));
    EXPECT_NEAR(ring.TopRadius, 0.202f, test::Tol);
    EXPECT_NEAR(ring.BottomRadius, 0.202f, test::Tol);
    EXPECT_NEAR(ring.TopInnerRadius, 0.198f, test::Tol);
    EXPECT_NEAR(ring.BottomInnerRadius, 0.198f, test::Tol);
    EXPECT_NEAR(ring.Height, 0.005f, test::Tol);
    EXPECT_EQ(ring.Tag, 1);
    EXPECT_COLOUR(Mat(ring).FrontProperties.Diffuse, 1, 1, 0, 1);
    EXPECT_EQ(Mat(ring).BlendingMode, bmOpaque);
  }
  EXPECT_VEC(s[0].Children(0).Position(), 0, 0.05f * (15 - 12), 0);
  EXPECT_VEC(s[0].Children(1).Position(), 0, 0.05f * (15 - 21), 0);

  // Transparent rings blend at 0.9 with their colour on both sides.
  o.Transparent = true;
  s.Build(doc, o);
  const TGLMaterial& m = Mat(s[0].Children(0));
  EXPECT_EQ(m.BlendingMode, bmTransparency);
  EXPECT_COLOUR(m.BackPropertiesIfAny()->Diffuse, 1, 1, 0, 0.9f);

  // In an inch document the ring is 0.004 thick.
  doc.Inch = true;
  s.Build(doc, o);
  EXPECT_NEAR(Tube(s[0].Children(0)).Height, 0.0002f, 1e-7f);

  o.ShowPorts = false;
  s.Build(doc, o);
  EXPECT_EQ(s[0].Count(), 1);
}

TEST(Bores, StartDepthMovesEveryPieceAndTheLabel) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 2, 1, 30, 20);
  h.StartDepth = 5;
  AddStep(h, 10, 20, 180).Remark = "'S";
  TBuiltScene s;
  TSceneOptions o = test::BoreOnly();
  o.HoleNumbers = true;
  s.Build(doc, o);
  // The body's centre at 5 + 10 below the face: z = (20 - 15) x 0.05.
  EXPECT_VEC(s[0].Position(), 1.0f, 0.5f, 0.25f);
  // The disc at 5 + 20 = 25 below the face.
  EXPECT_NEAR(InParent(s[0], s[0].Children(0).Position()).Z, 0.05f * (20 - 25), test::Tol);
  // The label on the rim at depth 5.
  EXPECT_NEAR(s[1].Position().Z, 0.05f * 15, test::Tol);
}

TEST(Bores, AngledHoleLeansAlongItsTiltDirection) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 1, 1, 30, 20);
  h.Flags |= THole::AngledBit;
  h.TiltAngle = 30;
  h.TiltDirection = 90;
  AddStep(h, 10, 20, 180);
  TBuiltScene s;
  s.Build(doc, test::BoreOnly());
  const TGLBaseSceneObject& root = s[0];
  const float c30 = std::sqrt(3.0f) / 2;
  EXPECT_VEC(root.Up(), 0, 0.5f, c30);
  // Centre 10 along the axis into the block from the start (20, 10, 20).
  EXPECT_VEC(root.Position(), 1.0f, 0.05f * (10 - 5), 0.05f * (20 - 10 * c30));
  const TVector3f d = root.Direction();
  EXPECT_NEAR(d.X * 0 + d.Y * 0.5f + d.Z * c30, 0.0f, test::Tol);
  EXPECT_NEAR(VectorLength(d), 1.0f, test::Tol);
  // Going down, the bore leans towards scene -Y (the face's q).
  const TVector3f bottom = InParent(root, root.Children(0).Position());
  EXPECT_NEAR(bottom.Y, 0.05f * (10 - 20 * 0.5f), test::Tol);

  // Not angled: the tilt is ignored.
  h.Flags &= ~THole::AngledBit;
  s.Build(doc, test::BoreOnly());
  EXPECT_VEC(s[0].Up(), 0, 0, 1);
}

TEST(Bores, RootOrientationOnEveryFace) {
  // Face, expected Up (the outward normal) and Direction.
  const struct {
    int Face;
    TVector3f Up, Direction, Position;
  } faces[] = {
      // Start of a hole at (30, 20), 10 long, centre 5 in: block points from the face table.
      {1, {0, 0, 1}, {0, 1, 0}, {1.0f, 0.5f, 0.75f}},
      {2, {0, 1, 0}, {0, 0, 1}, {1.0f, 1.25f, 0.0f}},
      {3, {1, 0, 0}, {0, 0, 1}, {2.25f, 0.0f, 0.0f}},
      {4, {-1, 0, 0}, {0, 0, 1}, {-2.25f, 0.0f, 0.0f}},
      {5, {0, -1, 0}, {0, 0, 1}, {1.0f, -1.25f, 0.0f}},
      {6, {0, 0, -1}, {0, 1, 0}, {1.0f, 0.5f, -0.75f}},
  };
  for (const auto& f : faces) {
    TManifold doc;
    test::SmallBlock(doc);
    AddStep(AddHole(doc, 1, f.Face, 30, 20), 10, 10, 180);
    TBuiltScene s;
    s.Build(doc, test::BoreOnly());
    SCOPED_TRACE(f.Face);
    EXPECT_VEC(s[0].Up(), f.Up.X, f.Up.Y, f.Up.Z);
    EXPECT_VEC(s[0].Direction(), f.Direction.X, f.Direction.Y, f.Direction.Z);
    EXPECT_VEC(s[0].Position(), f.Position.X, f.Position.Y, f.Position.Z);
  }
}

TEST(Bores, LabelAndNumberOnEveryFace) {
  // Diameter 10: the rim point lies 3.53 from the axis along both face axes as the table gives;
  // the number follows 1.5 text heights (1.5 mm) further. Hole at (30, 20) on a 100 x 60 x 40
  // block; expected scene points before the scale of 0.05.
  const struct {
    int Face;
    TXYZPoint Label, Number;
    TVector3f Reads, Rises;
  } faces[] = {
      {1, {16.47, 6.47, 20}, {16.47, 4.97, 20}, {-1, 0, 0}, {0, -1, 0}},
      {2, {16.47, 30, 3.53}, {16.47, 30, 5.03}, {-1, 0, 0}, {0, 0, 1}},
      {3, {50, 3.53, 3.53}, {50, 3.53, 5.03}, {0, 1, 0}, {0, 0, 1}},
      {4, {-50, -3.53, 3.53}, {-50, -3.53, 5.03}, {0, -1, 0}, {0, 0, 1}},
      {5, {16.47, -30, -3.53}, {16.47, -30, -5.03}, {-1, 0, 0}, {0, 0, -1}},
      {6, {16.47, 13.53, -20}, {16.47, 15.03, -20}, {-1, 0, 0}, {0, 1, 0}},
  };
  for (const auto& f : faces) {
    SCOPED_TRACE(f.Face);
    TManifold doc;
    test::SmallBlock(doc);
    AddStep(AddHole(doc, 12, f.Face, 30, 20), 10, 10, 180).Remark = "'P1";
    TBuiltScene s;
    TSceneOptions o = test::BoreOnly();
    o.HoleNumbers = true;
    s.Build(doc, o);
    auto texts = s.Texts(12);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0]->Text, "P1");
    EXPECT_EQ(texts[1]->Text, "12");
    EXPECT_VEC(texts[0]->Position(), 0.05 * f.Label.X, 0.05 * f.Label.Y, 0.05 * f.Label.Z);
    EXPECT_VEC(texts[1]->Position(), 0.05 * f.Number.X, 0.05 * f.Number.Y, 0.05 * f.Number.Z);
    EXPECT_COLOUR(Mat(*texts[0]).FrontProperties.Diffuse, 1, 0, 0, 1);
    EXPECT_COLOUR(Mat(*texts[1]).FrontProperties.Diffuse, 0, 1, 1, 1);
    for (TGLSpaceText* t : texts) {
      EXPECT_NEAR(t->TextHeight, 0.05f, test::Tol);
      EXPECT_EQ(t->Adjust.Horz, haLeft);
      EXPECT_EQ(t->Adjust.Vert, vaBaseLine);
      EXPECT_VEC(Baseline(*t), f.Reads.X, f.Reads.Y, f.Reads.Z);
      EXPECT_VEC(GlyphUp(*t), f.Rises.X, f.Rises.Y, f.Rises.Z);
    }
  }
}

TEST(Bores, WithoutALabelOnlyTheNumberAtTheRim) {
  TManifold doc;
  test::SmallBlock(doc);
  AddStep(AddHole(doc, 12, 1, 30, 20), 10, 10, 180);
  TBuiltScene s;
  TSceneOptions o = test::BoreOnly();
  o.HoleNumbers = true;
  o.TextHeightFactor = 20;  // H = 2 mm: texts 0.1 high
  s.Build(doc, o);
  auto texts = s.Texts(12);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0]->Text, "12");
  EXPECT_VEC(texts[0]->Position(), 0.05 * 16.47, 0.05 * 6.47, 1.0);
  EXPECT_NEAR(texts[0]->TextHeight, 0.1f, test::Tol);
}

}  // namespace
}  // namespace qv
