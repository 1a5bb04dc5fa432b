// The renderer's drawing order and its geometry cache, drawn off-screen.
#include <gtest/gtest.h>

#include <limits>

#include "scene/gl/OffscreenRender.h"

namespace qv {
namespace {

class RendererTest : public ::testing::Test {
protected:
  void Frame() {
    std::string error;
    ASSERT_TRUE(Offscreen.Draw(Root, View, 64, 64, error)) << error;
  }
  TGLRenderer& Renderer() { return Offscreen.Renderer(); }
  // The cache and the order, not the level of detail, are under test here.
  void SetUp() override { Renderer().SetLevelOfDetail(false); }

  TOffscreenRenderer Offscreen;
  TGLDummyCube Root;
  TGLViewState View;  // the design camera at (2, 2, 1)
};

TGLCube& AddBox(TGLBaseSceneObject& parent, float x, float y, float z, bool blended) {
  auto& box = parent.AddNewChild<TGLCube>();
  box.SetPosition(x, y, z);
  box.CubeWidth = box.CubeHeight = box.CubeDepth = 0.1f;
  if (blended) box.GetMaterial().BlendingMode = bmTransparency;
  return box;
}

TEST_F(RendererTest, BlendedChildrenComeAfterOpaqueOnesFarthestFirst) {
  Renderer().RecordDrawOrder = true;
  // Distances from the camera at (2, 2, 1): near (1, 1, 0.5) 1.5, far (-2, -2, -1) 6.
  TGLCube& nearBlend = AddBox(Root, 1.0f, 1.0f, 0.5f, true);
  TGLCube& opaque1 = AddBox(Root, 0, 0, 0, false);
  TGLCube& farBlend = AddBox(Root, -2.0f, -2.0f, -1.0f, true);
  auto& line = Root.AddNewChild<TGLLines>();
  line.AddNode(0, 0, 0);
  line.AddNode(1, 0, 0);
  TGLCube& opaque2 = AddBox(Root, 0.5f, 0, 0, false);
  Frame();
  const std::vector<const TGLBaseSceneObject*> expected = {&opaque1, &line, &opaque2, &farBlend, &nearBlend};
  EXPECT_EQ(Renderer().DrawOrder(), expected);

  // The distance is the world one: moving the parent of the blended pair swaps them. The
  // group's children are ordered among themselves, after the group's opaque children.
  Root.DeleteChildren();
  auto& group = Root.AddNewChild<TGLDummyCube>();
  TGLCube& a = AddBox(group, 0, 0, 0, true);       // world (-3, -3, 0): 7.1 from the camera
  TGLCube& b = AddBox(group, -1.0f, 0, 0, true);   // world (-4, -3, 0): 7.8
  TGLCube& c = AddBox(group, 0, 0, 0, false);
  TGLCube& childOfA = AddBox(a, 0, 0, 0, false);   // drawn with its parent
  group.SetPosition(-3.0f, -3.0f, 0.0f);
  Frame();
  EXPECT_EQ(Renderer().DrawOrder(), (std::vector<const TGLBaseSceneObject*>{&c, &b, &a, &childOfA}));
  group.SetPosition(3.0f, 3.0f, 0.0f);  // now a at (3, 3, 0) is 1.7 away and b at (2, 3, 0) 1.4
  Frame();
  EXPECT_EQ(Renderer().DrawOrder(), (std::vector<const TGLBaseSceneObject*>{&c, &a, &childOfA, &b}));
}

TEST_F(RendererTest, GeometryIsBuiltOnceAndRebuiltWhenAPropertyChanges) {
  auto& cylinder = Root.AddNewChild<TGLCylinder>();
  auto& text = Root.AddNewChild<TGLSpaceText>();
  text.Text = "12";
  auto& box = Root.AddNewChild<TGLCube>();
  Frame();
  const int built = Renderer().Statistics().GeometryBuilds;
  EXPECT_EQ(built, 3);
  EXPECT_EQ(Renderer().Statistics().Shapes, 1);
  const int arrays = Renderer().Statistics().ArrayBuilds;
  // Moving the camera changes nothing that the vertex array holds.
  View.Camera.Position = {5, -3, 2};
  Frame();
  EXPECT_EQ(Renderer().Statistics().ArrayBuilds, arrays);
  // Moving, turning or recolouring an object does not touch its geometry.
  cylinder.SetPosition(1, 2, 3);
  box.GetMaterial().FrontProperties.SetDiffuseColor(0x0000FF);
  View.Camera.Position = {5, -3, 2};
  Frame();
  Frame();
  EXPECT_EQ(Renderer().Statistics().GeometryBuilds, built);
  // A property of the geometry rebuilds that object only.
  cylinder.Height = 2.0f;
  Frame();
  EXPECT_EQ(Renderer().Statistics().GeometryBuilds, built + 1);
  text.Text = "13";
  text.Adjust.Horz = haCenter;
  box.CubeDepth = 3.0f;
  Frame();
  EXPECT_EQ(Renderer().Statistics().GeometryBuilds, built + 3);
  // Freed objects give their shapes back.
  Root.DeleteChild(&cylinder);
  Root.DeleteChild(&box);
  Frame();
  EXPECT_EQ(Renderer().Statistics().Shapes, 0);
  // A new context (the window's can be recreated) gets the vertex array again; the objects'
  // geometry holds nothing of the context and stays.
  const int before = Renderer().Statistics().ArrayBuilds;
  Renderer().ReleaseGL();
  Frame();
  EXPECT_EQ(Renderer().Statistics().GeometryBuilds, built + 3);
  EXPECT_EQ(Renderer().Statistics().ArrayBuilds, before + 1);
  EXPECT_GT(Renderer().Statistics().Triangles, 0);
}

TEST_F(RendererTest, QuadricsOfOneShapeShareOneMesh) {
  // Cylinders of any size are one unit shape; so are pointed cones; a frustum, a tube and a flat
  // ring are shapes of their own, as is a different number of slices.
  for (float r : {0.1f, 0.2f, 0.3f}) {
    auto& c = Root.AddNewChild<TGLCylinder>();
    c.BottomRadius = c.TopRadius = r;
    c.Height = 3 * r;
    auto& cone = Root.AddNewChild<TGLCylinder>();
    cone.BottomRadius = 0;
    cone.TopRadius = r;
    cone.Height = r;
  }
  auto& frustum = Root.AddNewChild<TGLCylinder>();
  frustum.TopRadius = 0.25f;
  auto& tube = Root.AddNewChild<TGLAnnulus>();
  tube.BottomInnerRadius = tube.TopInnerRadius = 0.5f;
  auto& ring = Root.AddNewChild<TGLAnnulus>();
  ring.Height = 0;
  ring.BottomRadius = ring.BottomInnerRadius = 0.25f;
  ring.TopInnerRadius = 0.5f;
  auto& fine = Root.AddNewChild<TGLCylinder>();
  fine.Slices = 32;
  // Nothing to draw: no radius, or sizes a quadric cannot have.
  auto& none = Root.AddNewChild<TGLCylinder>();
  none.BottomRadius = none.TopRadius = 0;
  auto& negative = Root.AddNewChild<TGLCylinder>();
  negative.Height = -1;
  Frame();
  EXPECT_EQ(Renderer().Statistics().Shapes, 6);
  EXPECT_EQ(Renderer().Statistics().GeometryBuilds, 12);
  // A rebuilt scene finds its shapes still there.
  Root.DeleteChildren();
  auto& again = Root.AddNewChild<TGLCylinder>();
  again.BottomRadius = again.TopRadius = 0.7f;
  Frame();
  EXPECT_EQ(Renderer().Statistics().Shapes, 1);
}

TEST_F(RendererTest, DamagedSizesAreBuiltOnceAndDrawNothingStrange) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  Root.AddNewChild<TGLCylinder>().Height = nan;
  Root.AddNewChild<TGLCube>().CubeWidth = nan;
  auto& text = Root.AddNewChild<TGLSpaceText>();
  text.Text = "12";
  text.TextHeight = nan;
  auto& huge = Root.AddNewChild<TGLAnnulus>();
  huge.Slices = 1 << 30;  // more slices than anyone can see: held to a sane number
  huge.Loops = -5;
  Frame();
  Frame();
  EXPECT_EQ(Renderer().Statistics().GeometryBuilds, 4);
  EXPECT_TRUE(Renderer().Errors().empty());
}

TEST_F(RendererTest, EmptyTextDrawsNothing) {
  auto& text = Root.AddNewChild<TGLSpaceText>();
  Frame();
  EXPECT_EQ(Renderer().Statistics().Triangles, 0);
  EXPECT_TRUE(Renderer().Errors().empty());
  text.Text = "A";
  Frame();
  EXPECT_GT(Renderer().Statistics().Triangles, 0);
}

TEST(RendererFailures, MissingFontIsReportedOnce) {
  TOffscreenRenderer offscreen([](std::string&) -> std::unique_ptr<IFontSource> { return nullptr; });
  std::vector<std::string> told;
  offscreen.Renderer().OnError = [&](const std::string& m) { told.push_back(m); };
  TGLDummyCube root;
  root.AddNewChild<TGLSpaceText>().Text = "12";
  root.AddNewChild<TGLSpaceText>().Text = "34";
  auto& box = root.AddNewChild<TGLCube>();
  box.GetMaterial().FrontProperties.Emission = {1, 1, 1, 1};
  TGLViewState view;
  view.Camera.Position = {0, 0, 40};  // 64 pixels: the near plane is 23.6 from the eye
  view.Camera.Up = {0, 1, 0};
  TPicture picture;
  std::string error;
  ASSERT_TRUE(offscreen.Render(root, view, 64, 64, picture, error)) << error;
  ASSERT_TRUE(offscreen.Render(root, view, 64, 64, picture, error)) << error;
  EXPECT_EQ(told, std::vector<std::string>{"FontManager: font creation failed"});
  // The rest of the scene is still drawn.
  EXPECT_GT(picture.Pixel(32, 32).R, 200);
}

}  // namespace
}  // namespace qv
