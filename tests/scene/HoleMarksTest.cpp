// Contours, plug crosses and item numbers. Block 100 x 60 x 40, scale 0.05; the hole is on face 1 at
// (30, 20), start (20, 10, 20) before scaling; a drawing-frame offset (a, b) on face 1 is (-a, -b, 0).
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

TSceneOptions Marks() {
  TSceneOptions o = test::BoreOnly();
  o.Contours = true;
  o.ShowPlugs = true;
  o.ShowItemNumbers = true;
  return o;
}

const TGLAnnulus& Ring(const TGLBaseSceneObject& o) {
  EXPECT_EQ(o.Kind(), TGLObjectKind::Annulus);
  return static_cast<const TGLAnnulus&>(o);
}

TEST(Contours, DiameterRingOnlyOutsidePatterns) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 1, 1, 30, 20);
  h.ContourDiameter = 20;
  AddStep(h, 10, 20, 180);
  TBuiltScene s;
  s.Build(doc, Marks());
  // Root children: the bottom disc, then the ring of radii 10.1 and 9.9 at the hole's start,
  // 10 above the body's centre, 0.1 thick, green.
  ASSERT_EQ(s[0].Count(), 2);
  const TGLAnnulus& ring = Ring(s[0].Children(1));
  EXPECT_NEAR(ring.TopRadius, 0.505f, test::Tol);
  EXPECT_NEAR(ring.BottomInnerRadius, 0.495f, test::Tol);
  EXPECT_NEAR(ring.Height, 0.005f, test::Tol);
  EXPECT_VEC(ring.Position(), 0, 0.5f, 0);
  EXPECT_EQ(ring.Tag, 1);
  EXPECT_COLOUR(Mat(ring).FrontProperties.Diffuse, 0, 1, 0, 1);

  h.PatternId = 3;
  s.Build(doc, Marks());
  EXPECT_EQ(s[0].Count(), 1);
}

TEST(Contours, OnePointIsACircleSeveralAreAnOutline) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 1, 1, 30, 20);
  h.StartDepth = 4;
  AddStep(h, 10, 20, 180);
  TContour& c = h.Contours.Add();
  c.X = 25;
  TBuiltScene s;
  s.Build(doc, Marks());
  ASSERT_EQ(s[0].Count(), 2);
  EXPECT_NEAR(Ring(s[0].Children(1)).TopRadius, 0.05f * 12.5f * 1.01f, test::Tol);
  // On the tilted axis at the hole's start, which lies 4 deep.
  EXPECT_NEAR(InParent(s[0], s[0].Children(1).Position()).Z, 0.05f * 16, test::Tol);

  // A point with X 0 draws nothing.
  c.X = 0;
  s.Build(doc, Marks());
  EXPECT_EQ(s[0].Count(), 1);

  // Two points: a green line there and back, at the hole's start depth, not around the hole.
  c.X = 10;
  c.Y = 10;
  TContour& d = h.Contours.Add();
  d.X = 20;
  d.Y = 10;
  s.Build(doc, Marks());
  EXPECT_EQ(s[0].Count(), 1);
  auto lines = s.Lines(1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_COLOUR(lines[0]->LineColor, 0, 1, 0, 1);
  ASSERT_EQ(lines[0]->Nodes.size(), 3u);
  EXPECT_VEC(lines[0]->Nodes[0], 2.0, 1.0, 0.8);
  EXPECT_VEC(lines[0]->Nodes[1], 1.5, 1.0, 0.8);
  EXPECT_EQ(lines[0]->Nodes[2], lines[0]->Nodes[0]);

  TSceneOptions o = Marks();
  o.Contours = false;
  s.Build(doc, o);
  EXPECT_TRUE(s.Lines(1).empty());
}

TEST(PlugSymbol, CrossOfTheLargestDiameter) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 1, 1, 30, 20);
  h.Flags |= THole::PlugBit;
  AddStep(h, 6, 30, 120);
  TStep& face = AddStep(h, 10, 10, 180);
  face.Flags |= TStep::ThreadedBit;
  face.ThreadDiameter = 12;
  TBuiltScene s;
  s.Build(doc, Marks());
  auto lines = s.Lines(1);
  ASSERT_EQ(lines.size(), 2u);
  // 12 long through (20, 10, 20): half-arms of 6 / sqrt 2 = 4.2426 along p + q = (-1, -1, 0), then
  // along p - q = (-1, 1, 0).
  const double a = 6 / std::sqrt(2.0);
  EXPECT_VEC(lines[0]->Nodes[0], 0.05 * (20 + a), 0.05 * (10 + a), 1.0);
  EXPECT_VEC(lines[0]->Nodes[1], 0.05 * (20 - a), 0.05 * (10 - a), 1.0);
  EXPECT_VEC(lines[1]->Nodes[0], 0.05 * (20 + a), 0.05 * (10 - a), 1.0);
  EXPECT_VEC(lines[1]->Nodes[1], 0.05 * (20 - a), 0.05 * (10 + a), 1.0);
  for (const TGLLines* l : lines) {
    EXPECT_COLOUR(l->LineColor, 1, 1, 0, 1);
    EXPECT_EQ(l->Tag, 1);
  }

  // Steps of diameter 0: no cross. Not plugged, or "Plugs" off: none either.
  face.Diameter = 0;
  face.ThreadDiameter = 0;
  h.Steps.Items(0).Diameter = 0;
  s.Build(doc, Marks());
  EXPECT_TRUE(s.Lines(1).empty());
  face.Diameter = 10;
  TSceneOptions o = Marks();
  o.ShowPlugs = false;
  s.Build(doc, o);
  EXPECT_TRUE(s.Lines(1).empty());
  h.Flags = 0;
  s.Build(doc, Marks());
  EXPECT_TRUE(s.Lines(1).empty());
}

TEST(ItemNumbers, StackedALineApartWithOneFrameWidth) {
  TManifold doc;
  test::SmallBlock(doc);
  THole& h = AddHole(doc, 1, 1, 30, 20);
  h.StartDepth = 7;  // item numbers stay on the face
  AddStep(h, 10, 20, 180);
  TValve& v0 = h.Valves.Add();
  v0.ItemNumber = "1";
  v0.ItemNumberX = 5;
  v0.ItemNumberY = 4;
  TValve& v1 = h.Valves.Add();
  v1.ItemNumberX = 50;  // not shown: no item number
  TValve& v2 = h.Valves.Add();
  v2.ItemNumber = "3";
  v2.ItemNumberX = 50;  // every item number starts from valve 0's place
  TBuiltScene s;
  TSceneOptions o = Marks();
  o.TextHeightFactor = 30;  // H = 3, line step G = 6
  s.Build(doc, o);
  auto texts = s.Texts(1);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0]->Text, "1");
  EXPECT_EQ(texts[1]->Text, "3");
  // (20, 10, 20) plus (-5, -4, 0); the second one 6 further along q.
  EXPECT_VEC(texts[0]->Position(), 0.05 * 15, 0.05 * 6, 1.0);
  EXPECT_VEC(texts[1]->Position(), 0.05 * 15, 0.0, 1.0);
  for (const TGLSpaceText* t : texts) {
    EXPECT_NEAR(t->TextHeight, 0.15f, test::Tol);
    EXPECT_EQ(t->Adjust.Horz, haCenter);
    EXPECT_EQ(t->Adjust.Vert, vaCenter);
    EXPECT_COLOUR(Mat(*t).FrontProperties.Diffuse, 1, 1, 0, 1);
    EXPECT_VEC(Baseline(*t), -1, 0, 0);
  }
  // Frames: "HH1" at round(6 x 0.5) = 3 points, a 4 pixel em: 4 x (2 x 0.2793 + 0.5586) = 4.47,
  // 4 pixels, read as 4 mm; 1.5 H = 4.5 high.
  auto frames = s.Lines(1);
  ASSERT_EQ(frames.size(), 2u);
  EXPECT_VEC(frames[0]->Nodes[0], 0.05 * 17, 0.05 * 8.25, 1.0);
  EXPECT_VEC(frames[0]->Nodes[1], 0.05 * 13, 0.05 * 8.25, 1.0);
  EXPECT_VEC(frames[0]->Nodes[2], 0.05 * 13, 0.05 * 3.75, 1.0);
  EXPECT_EQ(frames[0]->Nodes[4], frames[0]->Nodes[0]);
  EXPECT_COLOUR(frames[0]->LineColor, 1, 1, 0, 1);

  // A turned first valve stacks along -p and turns every text and frame.
  v0.ItemNumberRotation = 90;
  s.Build(doc, o);
  texts = s.Texts(1);
  EXPECT_VEC(texts[1]->Position(), 0.05 * 21, 0.05 * 6, 1.0);
  EXPECT_NEAR(texts[1]->Oblique, 90.0f, test::Tol);
  frames = s.Lines(1);
  // Corner (-2, -2.25) about the centre (-1, 4) turned by 90 degrees: (1.25, 2), scene (18.75, 8).
  EXPECT_VEC(frames[1]->Nodes[0], 0.05 * 18.75, 0.05 * 8, 1.0);

  // Rotations are unsigned 16-bit degrees.
  v0.ItemNumberRotation = 65535;
  s.Build(doc, o);
  EXPECT_NEAR(s.Texts(1)[0]->Oblique, 65535.0f, test::Tol);

  o.ShowItemNumbers = false;
  s.Build(doc, o);
  EXPECT_TRUE(s.Texts(1).empty());
}

TEST(ItemNumbers, InchDocumentsMeasureInHalfMillimetresOfTheLine) {
  TManifold doc;
  test::SmallBlock(doc);
  doc.Inch = true;
  doc.SizeX = 10;  // H = 0.1 inch, G = 0.2 inch: round(0.2 x 12.7) = 3 points, a 4 pixel em
  doc.SizeY = 6;
  doc.SizeZ = 4;
  THole& h = AddHole(doc, 1, 1, 3, 2);
  AddStep(h, 1, 2, 180);
  h.Valves.Add().ItemNumber = "1";
  TBuiltScene s;
  s.Build(doc, Marks(), 0.5);
  // "HH1" is 4 pixels, read as 4 mm: 4 / 25.4 inch wide, centred on the hole's start (2, 1, 2).
  auto frames = s.Lines(1);
  ASSERT_EQ(frames.size(), 1u);
  const double w = 4 / 25.4;
  EXPECT_VEC(frames[0]->Nodes[0], 0.5 * (2 + w / 2), 0.5 * (1 + 0.075), 1.0);
}

TEST(BlockBody, TranslucentBoxOfTheBlock) {
  TManifold doc;
  test::SmallBlock(doc);
  doc.SizeX = 300;
  doc.SizeY = 200;
  doc.SizeZ = 100;
  TBuiltScene s;
  TSceneOptions o;
  o.FaceNumbers = false;
  s.Build(doc, o, 5.0 / 300);
  ASSERT_EQ(s.Count(), 1);
  const auto& box = static_cast<const TGLCube&>(s[0]);
  ASSERT_EQ(box.Kind(), TGLObjectKind::Cube);
  EXPECT_NEAR(box.CubeWidth, 5.0f, test::Tol);
  EXPECT_NEAR(box.CubeHeight, 10.0f / 3, test::Tol);
  EXPECT_NEAR(box.CubeDepth, 5.0f / 3, test::Tol);
  EXPECT_VEC(box.Position(), 0, 0, 0);
  EXPECT_VEC(box.Direction(), 0, 0, 1);
  EXPECT_VEC(box.Up(), 0, 1, 0);
  EXPECT_EQ(Mat(box).BlendingMode, bmTransparency);
  EXPECT_COLOUR(Mat(box).FrontProperties.Diffuse, 0.8f, 0.8f, 0.8f, 0.4f);

  o.ShowManifold = false;
  s.Build(doc, o, 5.0 / 300);
  EXPECT_EQ(s.Count(), 0);
}

TEST(FaceNumbers, OnEveryFaceReadingUpright) {
  TManifold doc;
  test::SmallBlock(doc);
  TBuiltScene s;
  TSceneOptions o;
  o.ShowManifold = false;
  s.Build(doc, o);
  // X, Y, Z = 2.5, 1.5, 1; h = 10 x 0.002 x 0.05 x 100 = 0.1.
  const struct {
    TVector3f Position, Direction, Reads, Rises;
  } faces[] = {
      {{2.5f, 1.5f, 1.0f}, {0, 0, 1}, {-1, 0, 0}, {0, -1, 0}},
      {{2.5f, 1.5f, 0.9f}, {0, 1, 0}, {-1, 0, 0}, {0, 0, 1}},
      {{2.5f, 1.1f, 0.9f}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
      {{-2.5f, 1.5f, 0.9f}, {-1, 0, 0}, {0, -1, 0}, {0, 0, 1}},
      {{2.5f, -1.5f, 1.0f}, {0, -1, 0}, {-1, 0, 0}, {0, 0, -1}},
      {{2.5f, 1.4f, -1.0f}, {0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
  };
  ASSERT_EQ(s.Count(), 6);
  for (int f = 0; f < 6; ++f) {
    SCOPED_TRACE(f + 1);
    const auto& t = static_cast<const TGLSpaceText&>(s[f]);
    EXPECT_EQ(t.Text, "Face" + std::to_string(f + 1));
    EXPECT_NEAR(t.TextHeight, 0.1f, test::Tol);
    EXPECT_EQ(t.Adjust.Horz, haLeft);
    EXPECT_EQ(t.Adjust.Vert, vaBaseLine);
    EXPECT_COLOUR(Mat(t).FrontProperties.Diffuse, 1, 1, 0, 1);
    EXPECT_EQ(Mat(t).BlendingMode, bmOpaque);
    EXPECT_VEC(t.Position(), faces[f].Position.X, faces[f].Position.Y, faces[f].Position.Z);
    EXPECT_VEC(t.Direction(), faces[f].Direction.X, faces[f].Direction.Y, faces[f].Direction.Z);
    EXPECT_VEC(Baseline(t), faces[f].Reads.X, faces[f].Reads.Y, faces[f].Reads.Z);
    EXPECT_VEC(GlyphUp(t), faces[f].Rises.X, faces[f].Rises.Y, faces[f].Rises.Z);
  }
  // Factor 200: 2 units high whatever the block.
  o.TextHeightFactor = 200;
  s.Build(doc, o);
  EXPECT_NEAR(static_cast<const TGLSpaceText&>(s[0]).TextHeight, 2.0f, test::Tol);
  EXPECT_VEC(s[2].Position(), 2.5f, 1.5f - 8, 1.0f - 2);
}

TEST(CutOuts, YellowEdgesOfThePockets) {
  TManifold doc;
  test::SmallBlock(doc);
  doc.SizeX = 300;
  doc.SizeY = 200;
  doc.SizeZ = 100;
  TCutOut& corner = doc.CutOuts.Add();
  corner.Face = 1;
  corner.Corner = 1;
  corner.Width = 30;
  corner.Height = 20;
  corner.Through = 1;
  TCutOut& free = doc.CutOuts.Add();
  free.Face = 1;
  free.Corner = TCutOut::NoCorner;
  free.Position = {100, 50};
  free.Width = 40;
  free.Height = 30;
  free.Through = 0;
  free.Depth = 10;
  TBuiltScene s;
  TSceneOptions o;
  o.FaceNumbers = false;
  s.Build(doc, o, 5.0 / 300);
  // The box, 7 edges of the corner pocket, 12 of the free one.
  ASSERT_EQ(s.Count(), 1 + 7 + 12);
  for (int i = 1; i < s.Count(); ++i) {
    const auto& l = static_cast<const TGLLines&>(s[i]);
    ASSERT_EQ(l.Kind(), TGLObjectKind::Lines);
    EXPECT_COLOUR(l.LineColor, 1, 1, 0, 1);
    EXPECT_EQ(l.LineWidth, 1.0f);
    EXPECT_EQ(l.Tag, 0);
    ASSERT_EQ(l.Nodes.size(), 2u);
  }
  // Corner edges 3, 4, 7, 8, 10, 11, 12: edge 10 (the fifth) from block (30, 0, 0) to (30, 0, 100),
  // scene (2, 1.667, 0.833) down to (2, 1.667, -0.833).
  const auto& edge10 = static_cast<const TGLLines&>(s[5]);
  EXPECT_VEC(edge10.Nodes[0], 2.0f, 5.0f / 3, 5.0f / 6);
  EXPECT_VEC(edge10.Nodes[1], 2.0f, 5.0f / 3, -5.0f / 6);
  // Free pocket edge 1: block (100, 50, 0) to (140, 50, 0).
  const auto& edge1 = static_cast<const TGLLines&>(s[8]);
  EXPECT_VEC(edge1.Nodes[0], 5.0f / 300 * 50, 5.0f / 300 * 50, 5.0f / 6);
  EXPECT_VEC(edge1.Nodes[1], 5.0f / 300 * 10, 5.0f / 300 * 50, 5.0f / 6);

  o.Transparent = true;
  s.Build(doc, o, 5.0 / 300);
  EXPECT_EQ(s.Count(), 0);
}

}  // namespace
}  // namespace qv
