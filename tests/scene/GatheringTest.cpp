// Opaque objects drawn from gathered copies: the pictures must be those of drawing every object
// by itself, whatever changes between frames, and blended objects must keep their place.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>

#include "scene/gl/OffscreenRender.h"

namespace qv {
namespace {

constexpr int Side = 200;

// The camera on +Z looking at the origin, +Y up; one light far behind the camera.
TGLViewState FrontView(float distance = 20.0f) {
  TGLViewState view;
  view.Camera.Position = {0.0f, 0.0f, distance};
  view.Camera.Up = {0.0f, 1.0f, 0.0f};
  view.Lights[0].Position = {0.0f, 0.0f, 100000.0f};
  view.Lights[1].Enabled = false;
  return view;
}

// Pixels (of the picture's area) whose colour differs by more than a rounding's worth.
int Differences(const TPicture& a, const TPicture& b) {
  if (a.Width != b.Width || a.Height != b.Height) return a.Width * a.Height;
  int n = 0;
  for (int y = 0; y < a.Height; ++y)
    for (int x = 0; x < a.Width; ++x) {
      const auto p = a.Pixel(x, y), q = b.Pixel(x, y);
      if (std::abs(p.R - q.R) > 3 || std::abs(p.G - q.G) > 3 || std::abs(p.B - q.B) > 3) ++n;
    }
  return n;
}

void ExpectColor(TPicture::TPixel p, int r, int g, int b, int tolerance = 3) {
  EXPECT_NEAR(p.R, r, tolerance);
  EXPECT_NEAR(p.G, g, tolerance);
  EXPECT_NEAR(p.B, b, tolerance);
}

class GatheringTest : public ::testing::Test {
protected:
  GatheringTest() : Group(Root.AddNewChild<TGLDummyCube>()) {}

  TPicture Draw(bool gather = true) {
    Offscreen.Renderer().BatchOpaqueGeometry = gather;
    TPicture picture;
    std::string error;
    EXPECT_TRUE(Offscreen.Render(Root, View, Side, Side, picture, error)) << error;
    return picture;
  }
  TGLRenderer::TStatistics Stats() { return Offscreen.Renderer().Statistics(); }

  // Every kind of piece, some nested and turned, in four colours, plus a blended box; seen from
  // 50 units, where a unit is about 30 pixels.
  void BuildMixedScene() {
    View = FrontView(50.0f);
    auto colour = [](TGLMaterialObject& o, uint32_t c) { o.GetMaterial().FrontProperties.SetDiffuseColor(c); };
    auto& body = Group.AddNewChild<TGLCylinder>();
    body.BottomRadius = body.TopRadius = 0.8f;
    body.Height = 2.5f;
    body.SetPosition(-1.5f, 0.0f, 0.0f);
    body.SetUp(0.3f, 1.0f, 0.4f);
    colour(body, 0x0000FF);
    auto& point = body.AddNewChild<TGLCylinder>();
    point.BottomRadius = 0.0f;
    point.TopRadius = 0.8f;
    point.Height = 0.6f;
    point.Stacks = 1;
    point.SetPosition(0.0f, -1.55f, 0.0f);
    colour(point, 0x00FF00);
    auto& tube = Group.AddNewChild<TGLAnnulus>();
    tube.BottomRadius = tube.BottomInnerRadius = 0.6f;
    tube.TopRadius = tube.TopInnerRadius = 0.9f;
    tube.Height = 1.5f;
    tube.Stacks = 1;
    tube.SetPosition(1.5f, 1.0f, 0.0f);
    tube.SetUp(0.0f, 0.6f, 1.0f);
    tube.SetDirection(0.0f, 1.0f, -0.6f);
    colour(tube, 0x00FFFF);
    auto& ring = Group.AddNewChild<TGLAnnulus>();
    ring.Height = 0.0f;
    ring.BottomRadius = ring.BottomInnerRadius = 0.3f;
    ring.TopRadius = ring.TopInnerRadius = 0.7f;
    ring.SetPosition(1.5f, -1.5f, 1.0f);
    ring.SetUp(0.0f, 0.0f, 1.0f);
    ring.SetDirection(0.0f, -1.0f, 0.0f);
    colour(ring, 0x0000FF);
    auto& box = Group.AddNewChild<TGLCube>();
    box.CubeWidth = 1.0f;
    box.CubeHeight = 0.6f;
    box.CubeDepth = 0.8f;
    box.SetPosition(0.0f, -2.3f, 0.0f);
    box.SetUp(0.2f, 1.0f, 0.0f);
    colour(box, 0x00FF00);
    auto& text = Group.AddNewChild<TGLSpaceText>();
    text.Text = "H12";
    text.TextHeight = 1.0f;
    text.Adjust.Horz = haCenter;
    text.SetPosition(0.0f, 2.0f, 1.0f);
    colour(text, 0xFFFF00);
    auto& glass = Group.AddNewChild<TGLCube>();
    glass.CubeWidth = glass.CubeHeight = 1.5f;
    glass.CubeDepth = 0.1f;
    glass.SetPosition(0.5f, 0.0f, 2.0f);
    glass.GetMaterial().FrontProperties.SetDiffuseAlpha(0.5f);
    glass.GetMaterial().BlendingMode = bmTransparency;
  }

  TOffscreenRenderer Offscreen;
  TGLDummyCube Root;
  TGLDummyCube& Group;
  TGLViewState View = FrontView();
  int Changes = 0;
};

TEST_F(GatheringTest, GatheredPicturesAreThoseOfObjectByObject) {
  BuildMixedScene();
  const TPicture single = Draw(false);
  EXPECT_EQ(Stats().BatchedObjects, 0);
  const TPicture gathered = Draw();
  // Six opaque objects in five draws: red, green (cone and box), yellow, and with the polygon
  // offset the red flat ring and the cyan text; then the blended box by itself.
  EXPECT_EQ(Stats().BatchedObjects, 7);
  EXPECT_EQ(Stats().BatchedDraws, 6);
  EXPECT_EQ(Stats().BatchBuilds, 1);
  // Something of every colour is on the picture, and the two agree but for rounding at edges.
  EXPECT_LE(Differences(single, gathered), 10);
  int red = 0, green = 0, yellow = 0, cyan = 0;
  for (int y = 0; y < Side; ++y)
    for (int x = 0; x < Side; ++x) {
      const auto p = gathered.Pixel(x, y);
      red += p.R > 150 && p.G < 60 && p.B < 60;
      green += p.G > 150 && p.R < 60 && p.B < 60;
      yellow += p.R > 50 && std::abs(p.R - p.G) < 20 && p.B < p.R / 3;  // the tube, lit from aside
      cyan += p.G > 150 && p.B > 150 && p.R < 60;
    }
  EXPECT_GT(red, 100);
  EXPECT_GT(green, 100);
  EXPECT_GT(yellow, 100);
  EXPECT_GT(cyan, 20);

  // Orbiting turns the grouping object: the copies are drawn with its new matrix, not made again.
  for (int step = 1; step <= 3; ++step) {
    const float a = 0.4f * static_cast<float>(step);
    Group.SetDirection(std::sin(a), 0.0f, std::cos(a));
    const TPicture turned = Draw();
    EXPECT_EQ(Stats().BatchBuilds, 1);
    EXPECT_EQ(Stats().BatchedObjects, 7);
    EXPECT_LE(Differences(Draw(false), turned), 10) << step;
  }
}

TEST_F(GatheringTest, EveryChangeShowsAtTheNextFrame) {
  // At 99.5 from the eye a unit is 15.2 pixels: the red box's front lands around x = 70, the green
  // cylinder's top disc (radius 0.5: 7.6 pixels) around x = 130.
  View.Camera.Position = {0.0f, 0.0f, 100.0f};
  auto& a = Group.AddNewChild<TGLCube>();
  a.SetPosition(-2.0f, 0.0f, 0.0f);
  a.GetMaterial().FrontProperties.SetDiffuseColor(0x0000FF);
  auto& b = Group.AddNewChild<TGLCylinder>();
  b.SetUp(0.0f, 0.0f, 1.0f);  // top disc towards the camera
  b.SetDirection(0.0f, -1.0f, 0.0f);
  b.SetPosition(2.0f, 0.0f, 0.0f);
  b.GetMaterial().FrontProperties.SetDiffuseColor(0x00FF00);
  TPicture p = Draw();
  ExpectColor(p.Pixel(70, 100), 255, 10, 10);
  ExpectColor(p.Pixel(133, 100), 10, 255, 10);
  EXPECT_EQ(Stats().BatchedObjects, 2);
  Draw();  // settled
  const int builds = Stats().BatchBuilds;

  // After each change the next frame shows it (gathered anew), and the frame after that draws
  // the same from the copies.
  auto next = [&] {
    const TPicture changed = Draw();
    EXPECT_EQ(Stats().BatchBuilds, builds + ++Changes);
    EXPECT_LE(Differences(changed, Draw()), 0);
    EXPECT_EQ(Stats().BatchBuilds, builds + Changes);
    return changed;
  };
  a.SetPosition(-2.0f, 2.0f, 0.0f);  // moved up by 30 pixels
  p = next();
  ExpectColor(p.Pixel(70, 100), 0, 0, 0);
  ExpectColor(p.Pixel(70, 70), 255, 10, 10);
  b.GetMaterial().FrontProperties.SetDiffuseColor(0xFF0000);
  p = next();
  ExpectColor(p.Pixel(133, 100), 10, 10, 255);
  b.BottomRadius = b.TopRadius = 0.1f;  // under a pixel
  p = next();
  ExpectColor(p.Pixel(133, 100), 0, 0, 0);
  a.Visible = false;
  p = next();
  ExpectColor(p.Pixel(70, 70), 0, 0, 0);
  b.TopRadius = b.BottomRadius = 0.5f;
  p = next();
  ExpectColor(p.Pixel(133, 100), 10, 10, 255);
  Group.DeleteChild(&b);
  p = next();
  ExpectColor(p.Pixel(133, 100), 0, 0, 0);
  EXPECT_EQ(Stats().BatchedObjects, 0);
}

TEST_F(GatheringTest, ABlendedObjectHidesTheOpaqueOnesDrawnAfterIt) {
  // The first box (far to the side) has a translucent red child in the middle of the view; the
  // green box behind that child comes later in the list. The child is drawn first and writes its
  // depth, so the green box does not show through it: the red lies over the black background.
  auto& first = Group.AddNewChild<TGLCube>();
  first.SetPosition(-5.0f, 0.0f, 0.0f);
  auto& glass = first.AddNewChild<TGLCube>();
  glass.SetPosition(5.0f, 0.0f, 2.0f);
  glass.CubeDepth = 0.1f;
  glass.GetMaterial().FrontProperties.SetDiffuseColor(0x0000FF);
  glass.GetMaterial().FrontProperties.SetDiffuseAlpha(0.5f);
  glass.GetMaterial().BlendingMode = bmTransparency;
  auto& behind = Group.AddNewChild<TGLCube>();
  behind.CubeWidth = behind.CubeHeight = 3.0f;
  behind.GetMaterial().FrontProperties.SetDiffuseColor(0x00FF00);
  auto& later = Group.AddNewChild<TGLCube>();  // gathered with the green one, after the glass
  later.SetPosition(0.0f, -3.0f, 0.0f);
  for (bool gather : {false, true, true}) {
    const TPicture p = Draw(gather);
    // Red (1.04 clamped to 1, 0.04, 0.04) at alpha 0.5 over black.
    ExpectColor(p.Pixel(100, 100), 128, 5, 5);
    // Beside the glass (42 pixels to each side) the green box (116) is seen.
    ExpectColor(p.Pixel(100, 160), 10, 255, 10);
  }
  EXPECT_EQ(Stats().BatchedObjects, 4);
  EXPECT_EQ(Stats().BatchedDraws, 4);  // the glass between two runs
}

TEST_F(GatheringTest, BlendedObjectsFollowTheCameraFarthestFirst) {
  // A red and a blue translucent box (alpha 0.5) one behind the other, lit from both sides; the
  // camera swaps sides between frames, and with it the order of the two.
  View.Lights[1].Enabled = true;
  View.Lights[1].Position = {0.0f, 0.0f, -100000.0f};
  for (const auto& [z, colour] : {std::pair{1.0f, 0x0000FFu}, std::pair{-1.0f, 0xFF0000u}}) {
    auto& box = Group.AddNewChild<TGLCube>();
    box.SetPosition(0.0f, 0.0f, z);
    box.CubeDepth = 0.1f;
    box.GetMaterial().FrontProperties.SetDiffuseColor(colour);
    box.GetMaterial().FrontProperties.SetDiffuseAlpha(0.5f);
    box.GetMaterial().BlendingMode = bmTransparency;
  }
  for (int frame = 0; frame < 6; ++frame) {
    const bool front = frame % 3 != 2;  // two frames from +z, one from -z
    View.Camera.Position = {0.0f, 0.0f, front ? 20.0f : -20.0f};
    const TPicture p = Draw();
    // The far box over black, the near one over that: 0.5 near + 0.25 far.
    if (front)
      ExpectColor(p.Pixel(100, 100), 130, 8, 69);
    else
      ExpectColor(p.Pixel(100, 100), 69, 8, 130);
  }
}

TEST_F(GatheringTest, AListThatKeepsChangingIsDrawnObjectByObjectUntilItSettles) {
  auto& box = Group.AddNewChild<TGLCube>();
  box.GetMaterial().FrontProperties.SetDiffuseColor(0x0000FF);
  Draw();
  Draw();
  EXPECT_EQ(Stats().BatchedObjects, 1);
  EXPECT_EQ(Stats().BatchBuilds, 1);
  // A box moved at every frame: gathered once, then drawn by itself while it keeps moving.
  for (int i = 1; i <= 4; ++i) {
    box.SetPosition(0.1f * static_cast<float>(i), 0.0f, 0.0f);
    const TPicture p = Draw();
    ExpectColor(p.Pixel(100 + static_cast<int>(0.1 * i / 19.5 * 1511.8), 100), 255, 10, 10);
    EXPECT_EQ(Stats().BatchedObjects, i == 1 ? 1 : 0) << i;
  }
  EXPECT_EQ(Stats().BatchBuilds, 2);
  // Still for two frames: gathered again, then drawn from the copies.
  Draw();
  Draw();
  EXPECT_EQ(Stats().BatchBuilds, 3);
  EXPECT_EQ(Stats().BatchedObjects, 1);
}

TEST_F(GatheringTest, AScenePastTheVertexLimitIsDrawnObjectByObjectAndNotGatheredAgain) {
  BuildMixedScene();
  const TPicture reference = Draw(false);
  Offscreen.Renderer().MaxGatheredVertices = 100;  // a cylinder alone has more
  for (int frame = 0; frame < 3; ++frame) {
    EXPECT_LE(Differences(reference, Draw()), 0) << frame;
    EXPECT_EQ(Stats().BatchedObjects, 0);
    EXPECT_EQ(Stats().BatchBuilds, 1);  // tried once for this list
  }
  // Another list is tried again, and with room enough gathered.
  Offscreen.Renderer().MaxGatheredVertices = 1 << 20;
  Group.Children(0).SetPosition(-1.4f, 0.0f, 0.0f);
  Draw();
  EXPECT_EQ(Stats().BatchBuilds, 2);
  EXPECT_EQ(Stats().BatchedObjects, 7);
}

TEST_F(GatheringTest, TwoRenderersOfOneTreeEachDrawTheirOwnCopies) {
  BuildMixedScene();
  const TPicture reference = Draw(false);
  TOffscreenRenderer other;
  for (int round = 0; round < 2; ++round) {
    TPicture mine = Draw(), theirs;
    std::string error;
    ASSERT_TRUE(other.Render(Root, View, Side, Side, theirs, error)) << error;
    ASSERT_TRUE(other.Render(Root, View, Side, Side, theirs, error)) << error;
    EXPECT_LE(Differences(reference, mine), 10) << round;
    EXPECT_LE(Differences(reference, theirs), 10) << round;
    EXPECT_EQ(other.Renderer().Statistics().BatchedObjects, 7);
  }
}

}  // namespace
}  // namespace qv
