// The bore solids lie where the scene draws the bores: every piece of every hole of the demo block
// (straight, angled, stepped, tapped, started below its face, on all six faces) against the
// cylinder the scene build makes for it.
#include "checks/HoleSolids.h"
#include "tests/scene/SceneTestSupport.h"
#include "tools/writer/DemoBlock.h"

namespace qv {
namespace {

TEST(SolidsInTheScene, EveryPieceOfTheDemoOnItsCylinder) {
  TManifold doc;
  writer::BuildDemoBlock(doc);
  doc.Options23 |= 16;  // thread lengths from the hole's start, the less usual way
  TSceneOptions options = test::BoreOnly();
  options.FilledCylinders = true;
  options.ShowThread = true;
  options.ShowDummyHoles = true;
  const double s = ViewScaleFactor(doc.SizeX, doc.SizeY, doc.SizeZ);
  test::TBuiltScene scene;
  scene.Build(doc, options, s);

  int pieces = 0;
  for (const auto& hole : doc.Holes) {
    const TBoreSolid solid = HoleSolid(doc, *hole);
    const TGLBaseSceneObject* root = scene.BoreRoot(hole->Number);
    ASSERT_NE(root, nullptr);
    // The root is the face step's body; its children follow in the order the pieces are made.
    std::vector<const TGLBaseSceneObject*> drawn{root};
    for (int i = 0; i < root->Count(); ++i) drawn.push_back(&root->Children(i));
    ASSERT_EQ(drawn.size(), solid.Pieces.size()) << "hole " << hole->Number;
    const TVector3f up = root->Up();
    for (size_t i = 0; i < drawn.size(); ++i) {
      ASSERT_EQ(drawn[i]->Kind(), TGLObjectKind::Cylinder);
      const auto& c = static_cast<const TGLCylinder&>(*drawn[i]);
      const TVector3f centre = i == 0 ? c.Position() : test::InParent(*root, c.Position());
      const TBorePiece& p = solid.Pieces[i];
      const TXYZPoint top = BlockToScene(BlockOf(doc), s, p.Top), bottom = BlockToScene(BlockOf(doc), s, p.Bottom);
      const std::string where = "hole " + std::to_string(hole->Number) + " piece " + std::to_string(i);
      EXPECT_NEAR(c.Height, s * Length(p.Bottom - p.Top), test::Tol) << where;
      EXPECT_NEAR(c.TopRadius, s * p.TopRadius, test::Tol) << where;
      EXPECT_NEAR(c.BottomRadius, s * p.BottomRadius, test::Tol) << where;
      // The cylinder's top is its end towards the face, along the root's Up.
      EXPECT_NEAR(centre.X + c.Height / 2 * up.X, top.X, test::Tol) << where;
      EXPECT_NEAR(centre.Y + c.Height / 2 * up.Y, top.Y, test::Tol) << where;
      EXPECT_NEAR(centre.Z + c.Height / 2 * up.Z, top.Z, test::Tol) << where;
      EXPECT_NEAR(centre.Z - c.Height / 2 * up.Z, bottom.Z, test::Tol) << where;
      ++pieces;
    }
  }
  EXPECT_GT(pieces, 80);
}

}  // namespace
}  // namespace qv
