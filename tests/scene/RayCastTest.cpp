// Rays against the scene layer's primitives and against built bores, with the hits worked out by
// hand: boxes, the sides of cylinders, cones and flat rings, the end discs, frames carried into
// children, straight holes on every face and an angled hole.
#include <gtest/gtest.h>

#include <cmath>

#include "scene/gl/GLRayCast.h"
#include "tests/scene/SceneTestSupport.h"
#include "tools/writer/DemoBlock.h"

namespace qv {
namespace {

using test::AddHole;
using test::AddStep;
using test::SmallScale;

TGLRay Ray(double ox, double oy, double oz, double dx, double dy, double dz) { return {{ox, oy, oz}, {dx, dy, dz}}; }

void ExpectHit(std::optional<double> t, double expected) {
  ASSERT_TRUE(t.has_value());
  EXPECT_NEAR(*t, expected, 1e-9);
}

TEST(RayPrimitives, BoxIsMetWhereTheRayEntersOrFromInsideWhereItLeaves) {
  // 2 x 4 x 6, centred: x in [-1, 1], y in [-2, 2], z in [-3, 3].
  ExpectHit(RayHitBox(Ray(-5, 0, 0, 1, 0, 0), 2, 4, 6), 4);
  ExpectHit(RayHitBox(Ray(-5, 0, 0, 2, 0, 0), 2, 4, 6), 2);      // the parameter, not the length
  ExpectHit(RayHitBox(Ray(0, 0, 0, 0, 0, 1), 2, 4, 6), 3);       // from inside
  ExpectHit(RayHitBox(Ray(0, 10, 0, 0, -1, 0), 2, 4, 6), 8);     // top face
  ExpectHit(RayHitBox(Ray(-3, -4, 0, 1, 1, 0), 2, 4, 6), 2);     // diagonal, in at the corner x = -1, y = -2
  EXPECT_FALSE(RayHitBox(Ray(-5, 3, 0, 1, 0, 0), 2, 4, 6));      // passes above
  EXPECT_FALSE(RayHitBox(Ray(-5, 0, 0, -1, 0, 0), 2, 4, 6));     // looks away
}

TEST(RayPrimitives, SidesOfCylindersConesAndFlatRings) {
  // A cylinder of radius 1 and height 4 about Y.
  ExpectHit(RayHitRevolution(Ray(-5, 0, 0, 1, 0, 0), 1, 1, 4), 4);
  ExpectHit(RayHitRevolution(Ray(-5, 1.9, 0.6, 1, 0, 0), 1, 1, 4), 5 - 0.8);  // x = -sqrt(1 - 0.36)
  EXPECT_FALSE(RayHitRevolution(Ray(-5, 2.5, 0, 1, 0, 0), 1, 1, 4));          // above its top
  EXPECT_FALSE(RayHitRevolution(Ray(-5, 0, 1.5, 1, 0, 0), 1, 1, 4));          // beside it
  // From inside, the far wall.
  ExpectHit(RayHitRevolution(Ray(0, 0, 0, 0, 0, 1), 1, 1, 4), 1);
  // A frustum from radius 1 at y = -1 to 2 at y = 1: radius 1.5 at y = 0, 1.25 at y = -0.5.
  ExpectHit(RayHitRevolution(Ray(-5, 0, 0, 1, 0, 0), 1, 2, 2), 3.5);
  ExpectHit(RayHitRevolution(Ray(-5, -0.5, 0, 1, 0, 0), 1, 2, 2), 3.75);
  // A drill point: radius 0 at the bottom; a ray straight down at radius 0.5 meets the slope
  // half way up, y = 0 (cone of height 2 reaching radius 1).
  ExpectHit(RayHitRevolution(Ray(0.5, 5, 0, 0, -1, 0), 0, 1, 2), 5);
  // A slanted ray onto the same cone, along (1, 0.5, 0) from (-3, -1, 0): the slope r = (y + 1) / 2
  // = t / 4 meets -x = 3 - t at t = 2.4 (y = 0.2).
  ExpectHit(RayHitRevolution(Ray(-3, -1, 0, 1, 0.5, 0), 0, 1, 2), 2.4);
  // A flat ring of height 0 between radii 0.5 and 1 lies in y = 0.
  ExpectHit(RayHitRevolution(Ray(0.75, 5, 0, 0, -1, 0), 0.5, 1, 0), 5);
  EXPECT_FALSE(RayHitRevolution(Ray(0.25, 5, 0, 0, -1, 0), 0.5, 1, 0));  // through its hole
  EXPECT_FALSE(RayHitRevolution(Ray(1.25, 5, 0, 0, -1, 0), 0.5, 1, 0));  // outside it
  EXPECT_FALSE(RayHitRevolution(Ray(0.75, 5, 0, 1, 0, 0), 0.5, 1, 0));   // parallel to it
}

TEST(RayPrimitives, ClosedCylindersHaveEndDiscsOpenTubesOnlyTheirWalls) {
  TGLCylinder closed;
  closed.BottomRadius = closed.TopRadius = 1;
  closed.Height = 4;
  TGLAnnulus open;
  open.BottomRadius = open.BottomInnerRadius = open.TopRadius = open.TopInnerRadius = 1;
  open.Height = 4;
  // Straight down the axis: the closed one's top disc at y = 2, the open one not at all.
  ExpectHit(RayHitObject(Ray(0, 10, 0, 0, -1, 0), closed), 8);
  EXPECT_FALSE(RayHitObject(Ray(0, 10, 0, 0, -1, 0), open));
  // A thick tube (outer 1, inner 0.5): its end ring, and its inner wall from the axis.
  TGLAnnulus thick;
  thick.BottomRadius = thick.TopRadius = 1;
  thick.BottomInnerRadius = thick.TopInnerRadius = 0.5;
  thick.Height = 4;
  ExpectHit(RayHitObject(Ray(0.75, 10, 0, 0, -1, 0), thick), 8);
  ExpectHit(RayHitObject(Ray(0, 0, 0, 1, 0, 0), thick), 0.5);
  // Lines and texts have no surface.
  EXPECT_FALSE(RayHitObject(Ray(0, 0, 0, 1, 0, 0), TGLLines{}));
}

TEST(RayCasting, FramesAreCarriedIntoChildrenAndTheNearestAcceptedObjectWins) {
  TGLDummyCube root;
  root.SetPosition(1, 2, 3);
  // The root's local Y along world X: a child cylinder about local Y lies along world X.
  root.SetUp(1, 0, 0);
  root.SetDirection(0, 0, 1);
  auto& rod = root.AddNewChild<TGLCylinder>();
  rod.BottomRadius = rod.TopRadius = 0.5f;
  rod.Height = 2;
  rod.Tag = 7;
  // A second one 3 units further along the root's local Y: world x = 4.
  auto& far = root.AddNewChild<TGLCylinder>();
  far.SetPosition(0, 3, 0);
  far.Tag = 8;
  // Along world -X from x = 10 on the common axis: the far one's top disc at x = 4.5 first.
  TGLRayHit hit = RayCast(root, Ray(10, 2, 3, -1, 0, 0));
  ASSERT_EQ(hit.Object, &far);
  EXPECT_NEAR(hit.T, 5.5, 1e-6);
  // Refusing it finds the rod's top disc at x = 2.
  hit = RayCast(root, Ray(10, 2, 3, -1, 0, 0), [](const TGLBaseSceneObject& o) { return o.Tag != 8; });
  ASSERT_EQ(hit.Object, &rod);
  EXPECT_NEAR(hit.T, 8, 1e-6);
  // Across the rod from world -Y: its wall at y = 1.5.
  hit = RayCast(root, Ray(1, -5, 3, 0, 1, 0));
  ASSERT_EQ(hit.Object, &rod);
  EXPECT_NEAR(hit.T, 6.5, 1e-6);
  // Hidden objects are not met.
  rod.Visible = false;
  EXPECT_EQ(RayCast(root, Ray(1, -5, 3, 0, 1, 0)).Object, nullptr);
}

TEST(RayCasting, TheViewRayPassesThroughTheTargetAtTheCentreAndSpreadsByThePixelScale) {
  TGLCameraState camera;
  camera.Position = {10, 0, 0};  // looking along -X, up +Z: screen right is +Y
  const TGLRay centre = ViewRay(camera, 100, 80, 50, 40);
  EXPECT_NEAR(centre.Direction.X, -1, 1e-12);
  EXPECT_NEAR(centre.Direction.Y, 0, 1e-12);
  EXPECT_NEAR(centre.Direction.Z, 0, 1e-12);
  // 151.18 pixels right and up of the centre at depth 10 is 1 unit right and up.
  const double ppu = PixelsPerUnit(camera);
  const TGLRay corner = ViewRay(camera, 100, 80, 50 + ppu / 10, 40 - ppu / 10);
  const TXYZPoint at = corner.At(10);
  EXPECT_NEAR(at.X, 0, 1e-9);
  EXPECT_NEAR(at.Y, 1, 1e-9);
  EXPECT_NEAR(at.Z, 1, 1e-9);
}

// One hole of diameter 10 and depth 30 (drill point 120 degrees) in the centre of a face of the
// 100 x 60 x 40 block, scale 0.05: radius 0.25, tip 1.5 below the entry, the point 0.1443 high.
class BoreRays : public ::testing::TestWithParam<int> {};

TEST_P(BoreRays, AStraightHoleOnEveryFaceIsMetOnItsDrillPoint) {
  const int face = GetParam();
  TManifold doc;
  test::SmallBlock(doc);
  const double u = face == 3 || face == 4 ? 30 : 50, v = face == 1 || face == 6 ? 30 : 20;
  AddStep(AddHole(doc, 4, face, u, v), 10, 30, 120);
  TGLDummyCube root;
  RebuildScene(root, doc, test::BoreOnly(), SmallScale);
  const TFaceFrame& f = FaceFrame(face);
  // The face's centre in the scene, 10 units out, a ray back along -n offset 0.1 towards p: it
  // passes down the open face step and meets the point where its radius is 0.1, 0.1 x cot 60
  // degrees above the tip.
  const TXYZPoint centre = FaceToScene({100, 60, 40}, SmallScale, face, u, v, 0);
  const TGLRay ray{centre + 10 * f.N + 0.1 * f.P, -f.N};
  const TGLRayHit hit = RayCast(root, ray);
  ASSERT_NE(hit.Object, nullptr);
  EXPECT_EQ(hit.Object->Tag, 4);
  EXPECT_NEAR(hit.T, 10 + 1.5 - 0.1 / std::sqrt(3.0), 1e-5);
  // Beside the bore the ray meets nothing.
  EXPECT_EQ(RayCast(root, {centre + 10 * f.N + 0.3 * f.P, -f.N}).Object, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Faces, BoreRays, ::testing::Range(1, 7));

TEST(BoreRaysAngled, AnAngledHoleIsMetAlongItsTiltedAxisAndAStraightOneIsNot) {
  // Face 1, centre, tilted 30 degrees towards 90: the axis out of the block is (0, 0.5, 0.866),
  // entry (0, 0, 1). 20 mm down the bore (1 scene unit) the axis passes (0, -0.5, 1 - 0.866).
  TManifold doc;
  test::SmallBlock(doc);
  THole& hole = AddHole(doc, 9, 1, 50, 30);
  AddStep(hole, 10, 30, 120);
  hole.Flags |= THole::AngledBit;
  hole.TiltAngle = 30;
  hole.TiltDirection = 90;
  TGLDummyCube root;
  RebuildScene(root, doc, test::BoreOnly(), SmallScale);
  const TGLRay across = Ray(-10, -0.5, 1 - std::sqrt(3.0) / 2, 1, 0, 0);
  // The axis has no X part: the wall is met 0.25 before x = 0.
  TGLRayHit hit = RayCast(root, across);
  ASSERT_NE(hit.Object, nullptr);
  EXPECT_EQ(hit.Object->Tag, 9);
  EXPECT_NEAR(hit.T, 9.75, 1e-5);
  hole.Flags &= ~THole::AngledBit;
  RebuildScene(root, doc, test::BoreOnly(), SmallScale);
  EXPECT_EQ(RayCast(root, across).Object, nullptr);
}

TEST(PickIndex, MeetsWhatTheWholeTreeMeetsAndFollowsTheRootsFrame) {
  TManifold doc;
  writer::BuildLargeBlock(doc, 80, 4);
  TGLDummyCube root;
  const double scale = ViewScaleFactor(doc.SizeX, doc.SizeY, doc.SizeZ);
  RebuildScene(root, doc, TSceneOptions{}, scale);
  root.SetPosition(0.3f, -0.2f, 0.1f);
  root.SetDirection(0.1f, 0.2f, 0.97f);
  TGLPickIndex index;
  index.Build(root);
  TGLCameraState camera;
  camera.Position = {10, 10, 5};
  int met = 0;
  for (int y = 0; y < 710; y += 10)
    for (int x = 0; x < 548; x += 10) {
      const TGLRay ray = ViewRay(camera, 548, 710, x, y);
      const TGLRayHit all = RayCast(root, ray), indexed = index.Cast(ray);
      ASSERT_EQ(all.Object, indexed.Object) << x << ", " << y;
      if (all.Object) {
        ++met;
        EXPECT_NEAR(all.T, indexed.T, 1e-4);
      }
    }
  EXPECT_GT(met, 50);
  index.Clear();
  EXPECT_EQ(index.Cast(ViewRay(camera, 548, 710, 274, 355)).Object, nullptr);
}

}  // namespace
}  // namespace qv
