// Pictures drawn off-screen (Mesa's software rasteriser, no display) and checked at pixels whose
// colour follows from the scene by hand: lighting, projection, culling, blending order.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "scene/gl/OffscreenRender.h"
#include "tests/TestFiles.h"

namespace qv {
namespace {

constexpr int Side = 200;  // test pictures are 200 x 200; the centre pixel is (100, 100)

// The camera on +Z looking at the origin with +Y up on screen; one light far away behind the
// camera so that faces turned to the camera get n.l = 1 everywhere, the other light off.
TGLViewState FrontView(float distance = 20.0f) {
  TGLViewState view;
  view.Camera.Position = {0.0f, 0.0f, distance};
  view.Camera.Up = {0.0f, 1.0f, 0.0f};
  view.Lights[0].Position = {0.0f, 0.0f, 100000.0f};
  view.Lights[1].Enabled = false;
  return view;
}

// Screen offset in pixels of a lateral offset x at depth z.
double Px(double x, double z) { return x / z * 1511.8; }

class RenderTest : public ::testing::Test {
protected:
  TPicture Draw(const TGLBaseSceneObject& root, const TGLViewState& view, int w = Side, int h = Side) {
    TPicture picture;
    std::string error;
    EXPECT_TRUE(Offscreen.Render(root, view, w, h, picture, error)) << error;
    return picture;
  }
  static bool Dark(TPicture::TPixel p) { return p.R < 8 && p.G < 8 && p.B < 8; }
  static bool Lit(TPicture::TPixel p) { return p.R > 40 || p.G > 40 || p.B > 40; }

  TOffscreenRenderer Offscreen;
  TGLDummyCube Root;
};

void ExpectColor(TPicture::TPixel p, int r, int g, int b, int tolerance = 3) {
  EXPECT_NEAR(p.R, r, tolerance);
  EXPECT_NEAR(p.G, g, tolerance);
  EXPECT_NEAR(p.B, b, tolerance);
}

TEST_F(RenderTest, EmptySceneIsBackgroundEverywhere) {
  TGLViewState view = FrontView();
  view.BackgroundColor = 0x336699;  // 0x00BBGGRR: red 0x99, green 0x66, blue 0x33
  const TPicture p = Draw(Root, view, 31, 17);
  ASSERT_EQ(p.Width, 31);
  ASSERT_EQ(p.Height, 17);
  for (int y = 0; y < p.Height; ++y)
    for (int x = 0; x < p.Width; ++x) ExpectColor(p.Pixel(x, y), 0x99, 0x66, 0x33, 0);
}

TEST_F(RenderTest, FaceTurnedToTheLightGetsAmbientPlusFullDiffuse) {
  // A red box face at z = 0.5 facing the camera. Scene ambient 0.2 times material ambient 0.2
  // gives 0.04 in every channel; the light adds diffuse 1 x n.l to red.
  auto& box = Root.AddNewChild<TGLCube>();
  box.GetMaterial().FrontProperties.SetDiffuseColor(0x0000FF);
  ExpectColor(Draw(Root, FrontView()).Pixel(100, 100), 255, 10, 10);  // 0.04 * 255 = 10.2

  // Light at 45 degrees above: n.l = cos 45 = 0.7071, red = 0.04 + 0.7071 = 0.7471 -> 190.5.
  TGLViewState view = FrontView();
  view.Lights[0].Position = {0.0f, 100000.0f, 100000.5f};
  ExpectColor(Draw(Root, view).Pixel(100, 100), 190, 10, 10, 2);

  // The second light alone, from behind the box: its front face gets ambient only.
  view.Lights[0].Enabled = false;
  view.Lights[1].Enabled = true;
  view.Lights[1].Position = {0.0f, 0.0f, -100000.0f};
  ExpectColor(Draw(Root, view).Pixel(100, 100), 10, 10, 10, 2);
}

TEST_F(RenderTest, LitRedConeInTheDesignView) {
  // The design camera (2, 2, 1) and lights; a red cone of height 1 at the origin.
  auto& cone = Root.AddNewChild<TGLCylinder>();
  cone.BottomRadius = 0.3f;
  cone.TopRadius = 0.0f;
  cone.Height = 0.6f;
  cone.Stacks = 1;
  cone.GetMaterial().FrontProperties.SetDiffuseColor(0x0000FF);
  TGLViewState view;
  const TPicture p = Draw(Root, view, 548, 710);
  // The cone's axis projects onto the picture's vertical centre line; its middle is red.
  const TPicture::TPixel middle = p.Pixel(274, 355);
  EXPECT_GT(middle.R, 100);
  EXPECT_LT(middle.G, 20);
  EXPECT_LT(middle.B, 20);
  EXPECT_TRUE(Dark(p.Pixel(10, 10)));
  EXPECT_TRUE(Dark(p.Pixel(274, 20)));
}

TEST_F(RenderTest, ProjectionScaleIsPixelsPerUnitOverDepth) {
  // An emissive sliver from x = 0.9 to 1.1 whose front lies at z = 0.1, 19.9 from the eye.
  auto& bar = Root.AddNewChild<TGLCube>();
  bar.SetPosition(1.0f, 0.0f, 0.0f);
  bar.CubeWidth = 0.2f;
  bar.CubeDepth = 0.2f;
  bar.GetMaterial().FrontProperties.Emission = {1.0f, 1.0f, 1.0f, 1.0f};
  const TPicture p = Draw(Root, FrontView());
  const double left = 100 + Px(0.9, 19.9), right = 100 + Px(1.1, 19.9);  // 168.4 and 183.6
  EXPECT_TRUE(Lit(p.Pixel(static_cast<int>(left) + 2, 100)));
  EXPECT_TRUE(Lit(p.Pixel(static_cast<int>(right) - 2, 100)));
  EXPECT_TRUE(Dark(p.Pixel(static_cast<int>(left) - 2, 100)));
  EXPECT_TRUE(Dark(p.Pixel(static_cast<int>(right) + 2, 100)));
  // The scale does not depend on the picture's size: twice as wide, same offset from the centre.
  const TPicture wide = Draw(Root, FrontView(), 2 * Side, Side);
  EXPECT_TRUE(Lit(wide.Pixel(Side + static_cast<int>(left) - 100 + 2, 100)));
  EXPECT_TRUE(Dark(wide.Pixel(Side + static_cast<int>(left) - 100 - 2, 100)));
}

TEST_F(RenderTest, FarPlaneLiesDepthOfViewBeyondTheNearPlane) {
  // 200 pixels: near plane 1511.8 / 200 = 7.559, far plane 107.559 from the eye.
  auto& box = Root.AddNewChild<TGLCube>();
  box.GetMaterial().FrontProperties.Emission = {1.0f, 1.0f, 1.0f, 1.0f};
  box.CubeDepth = 0.01f;
  box.SetPosition(0.0f, 0.0f, 20.0f - 106.0f);
  EXPECT_TRUE(Lit(Draw(Root, FrontView()).Pixel(100, 100)));
  box.SetPosition(0.0f, 0.0f, 20.0f - 109.0f);
  EXPECT_TRUE(Dark(Draw(Root, FrontView()).Pixel(100, 100)));
  // In front of the near plane: clipped as well.
  box.SetPosition(0.0f, 0.0f, 20.0f - 7.0f);
  EXPECT_TRUE(Dark(Draw(Root, FrontView()).Pixel(100, 100)));
}

TEST_F(RenderTest, BoxSpansItsSizesAlongLocalAxes) {
  // Width 2 along X, height 1 along Y, depth 3 along Z: front face at z = 1.5, 18.5 from the eye.
  auto& box = Root.AddNewChild<TGLCube>();
  box.CubeWidth = 2.0f;
  box.CubeHeight = 1.0f;
  box.CubeDepth = 3.0f;
  box.GetMaterial().FrontProperties.Emission = {1.0f, 1.0f, 1.0f, 1.0f};
  const TPicture p = Draw(Root, FrontView());
  const int halfW = static_cast<int>(Px(1.0, 18.5)), halfH = static_cast<int>(Px(0.5, 18.5));  // 81, 40
  EXPECT_TRUE(Lit(p.Pixel(100 + halfW - 2, 100)));
  EXPECT_TRUE(Dark(p.Pixel(100 + halfW + 2, 100)));
  EXPECT_TRUE(Lit(p.Pixel(100 - halfW + 2, 100)));
  EXPECT_TRUE(Dark(p.Pixel(100 - halfW - 3, 100)));
  EXPECT_TRUE(Lit(p.Pixel(100, 100 - halfH + 2)));
  EXPECT_TRUE(Dark(p.Pixel(100, 100 - halfH - 2)));
  EXPECT_TRUE(Dark(p.Pixel(100, 100 + halfH + 3)));
  // Turned so that its depth runs along scene X: now 3 wide on screen.
  box.SetDirection(1.0f, 0.0f, 0.0f);  // local Z -> scene X; local X = Up x Direction = -Z
  const TPicture turned = Draw(Root, FrontView(40.0f));
  const int halfD = static_cast<int>(Px(1.5, 39.0));  // 58; the front face at z = 1 (half the width)
  EXPECT_TRUE(Lit(turned.Pixel(100 + halfD - 2, 100)));
  EXPECT_TRUE(Dark(turned.Pixel(100 + halfD + 2, 100)));
}

TEST_F(RenderTest, ConeHasItsBaseBelowAndItsTipAbove) {
  // Height 2, bottom radius 1, top radius 0: base circle at y = -1, tip at y = +1 (local Y is up
  // on screen). Emissive so that every visible face shows.
  auto& cone = Root.AddNewChild<TGLCylinder>();
  cone.Height = 2.0f;
  cone.BottomRadius = 1.0f;
  cone.TopRadius = 0.0f;
  cone.Slices = 32;
  cone.Stacks = 1;
  cone.GetMaterial().FrontProperties.Emission = {1.0f, 1.0f, 1.0f, 1.0f};
  const TPicture p = Draw(Root, FrontView());
  const int tip = 100 - static_cast<int>(Px(1.0, 20.0));   // 24
  const int base = 100 + static_cast<int>(Px(1.0, 20.0));  // 175 (the base's front rim is nearer)
  EXPECT_TRUE(Lit(p.Pixel(100, tip + 4)));
  EXPECT_TRUE(Dark(p.Pixel(100, tip - 3)));
  EXPECT_TRUE(Lit(p.Pixel(100, base - 2)));
  EXPECT_TRUE(Dark(p.Pixel(100, base + 6)));
  // Half way up the radius is 0.5 (about 38 pixels): wider near the base than near the tip.
  EXPECT_TRUE(Lit(p.Pixel(100 + 34, 100)));
  EXPECT_TRUE(Dark(p.Pixel(100 + 44, 100)));
  EXPECT_TRUE(Lit(p.Pixel(100 + 65, base - 8)));
  EXPECT_TRUE(Dark(p.Pixel(100 + 20, tip + 8)));
}

TEST_F(RenderTest, ClosedCylinderShowsItsDiscsAndAnOpenTubeItsInside) {
  // Looking down the axis (local Y turned to scene +Z) of a long piece from 5 beyond its top.
  auto build = [&](bool tube) -> TGLMaterialObject& {
    Root.DeleteChildren();
    TGLMaterialObject* o;
    if (tube) {
      auto& a = Root.AddNewChild<TGLAnnulus>();
      a.Height = 10.0f;
      a.BottomRadius = a.TopRadius = a.BottomInnerRadius = a.TopInnerRadius = 0.5f;
      a.Stacks = 1;
      o = &a;
    } else {
      auto& c = Root.AddNewChild<TGLCylinder>();
      c.Height = 10.0f;
      c.Stacks = 1;
      o = &c;
    }
    o->SetUp(0.0f, 0.0f, 1.0f);
    o->SetDirection(0.0f, -1.0f, 0.0f);
    o->GetMaterial().FrontProperties.Emission = {1.0f, 1.0f, 1.0f, 1.0f};
    return *o;
  };
  // Near end at 10 from the eye (radius 75.6 pixels), far end at 20 (37.8 pixels).
  build(false);
  TPicture p = Draw(Root, FrontView(15.0f));
  EXPECT_TRUE(Lit(p.Pixel(100, 100)));       // the top disc
  EXPECT_TRUE(Lit(p.Pixel(100 + 70, 100)));
  EXPECT_TRUE(Dark(p.Pixel(100 + 80, 100)));
  build(true);
  p = Draw(Root, FrontView(15.0f));
  EXPECT_TRUE(Dark(p.Pixel(100, 100)));      // through both open ends
  EXPECT_TRUE(Dark(p.Pixel(100 + 30, 100)));
  EXPECT_TRUE(Lit(p.Pixel(100 + 55, 100)));  // the inner surface, seen from inside
  EXPECT_TRUE(Dark(p.Pixel(100 + 80, 100)));
}

TEST_F(RenderTest, FlatRingFacesBothWays) {
  // Height 0, top radii 1, bottom radii 0.5: a ring from 0.5 to 1 in the plane y = 0, seen from
  // +Y and from -Y (the camera on the local Y axis; 20 away: radii 37.8 and 75.6 pixels).
  auto& ring = Root.AddNewChild<TGLAnnulus>();
  ring.Height = 0.0f;
  ring.TopRadius = ring.TopInnerRadius = 1.0f;
  ring.BottomRadius = ring.BottomInnerRadius = 0.5f;
  ring.Slices = 32;
  ring.GetMaterial().FrontProperties.Emission = {1.0f, 1.0f, 1.0f, 1.0f};
  for (float up : {1.0f, -1.0f}) {
    ring.SetUp(0.0f, 0.0f, up);  // local Y towards or away from the camera
    ring.SetDirection(0.0f, 1.0f, 0.0f);
    const TPicture p = Draw(Root, FrontView());
    EXPECT_TRUE(Dark(p.Pixel(100, 100))) << up;
    EXPECT_TRUE(Dark(p.Pixel(100 + 33, 100))) << up;
    EXPECT_TRUE(Lit(p.Pixel(100 + 56, 100))) << up;
    EXPECT_TRUE(Lit(p.Pixel(100, 100 - 56))) << up;
    EXPECT_TRUE(Dark(p.Pixel(100 + 80, 100))) << up;
  }
}

TEST_F(RenderTest, TranslucentBoxOverOpaqueCylinder) {
  // The blue box (alpha 0.5) is created first and lies in front; the green cylinder behind it
  // shows through only if it is drawn before the box although it comes later in the list.
  auto& box = Root.AddNewChild<TGLCube>();
  box.CubeWidth = box.CubeHeight = 3.0f;
  box.CubeDepth = 0.2f;
  box.SetPosition(0.0f, 0.0f, 2.0f);
  box.GetMaterial().FrontProperties.SetDiffuseColor(0xFF0000);
  box.GetMaterial().FrontProperties.SetDiffuseAlpha(0.5f);
  box.GetMaterial().BlendingMode = bmTransparency;
  auto& cylinder = Root.AddNewChild<TGLCylinder>();
  cylinder.BottomRadius = cylinder.TopRadius = 1.0f;
  cylinder.SetUp(0.0f, 0.0f, 1.0f);  // top disc faces the camera
  cylinder.SetDirection(0.0f, -1.0f, 0.0f);
  cylinder.GetMaterial().FrontProperties.SetDiffuseColor(0x00FF00);
  const TPicture p = Draw(Root, FrontView(40.0f));
  // Cylinder top: (0.04, 1, 0.04); box: (0.04, 0.04, 1), drawn over it at alpha 0.5.
  ExpectColor(p.Pixel(100, 100), 10, 133, 133);
  // Box over the black background (cylinder radius 38 pixels, box half width 60).
  ExpectColor(p.Pixel(100 + 50, 100), 5, 5, 128);
  ExpectColor(p.Pixel(5, 5), 0, 0, 0, 0);
}

TEST_F(RenderTest, TextFacesLocalZAndFillsItsGlyphs) {
  auto& text = Root.AddNewChild<TGLSpaceText>();
  text.Text = "O";
  text.TextHeight = 2.0f;
  text.Adjust.Horz = haCenter;
  text.Adjust.Vert = vaCenter;
  text.GetMaterial().FrontProperties.Emission = {1.0f, 0.0f, 0.0f, 1.0f};
  text.GetMaterial().FrontProperties.SetDiffuseColor(0x000000);
  // Where the largest triangle of the same layout lies: inside the stroke.
  std::vector<TFontPoint> tris;
  ASSERT_TRUE(Offscreen.Renderer().Glyphs().LayoutText("O", haCenter, vaCenter, 2.0f, 0.0f, tris));
  size_t best = 0;
  float bestArea = 0;
  for (size_t i = 0; i + 2 < tris.size(); i += 3) {
    const float area = (tris[i + 1].X - tris[i].X) * (tris[i + 2].Y - tris[i].Y) -
                       (tris[i + 2].X - tris[i].X) * (tris[i + 1].Y - tris[i].Y);
    if (area > bestArea) bestArea = area, best = i;
  }
  const float cx = (tris[best].X + tris[best + 1].X + tris[best + 2].X) / 3;
  const float cy = (tris[best].Y + tris[best + 1].Y + tris[best + 2].Y) / 3;
  const TPicture p = Draw(Root, FrontView());
  const auto inStroke = p.Pixel(100 + static_cast<int>(std::lround(Px(cx, 20))),
                                100 - static_cast<int>(std::lround(Px(cy, 20))));
  EXPECT_GT(inStroke.R, 200);
  EXPECT_LT(inStroke.G, 20);
  EXPECT_TRUE(Dark(p.Pixel(100, 100)));  // the hole of the O
  // Seen from behind, the text is culled.
  TGLViewState back = FrontView(-20.0f);
  const TPicture behind = Draw(Root, back);
  for (int x = 20; x < 180; x += 4) EXPECT_TRUE(Dark(behind.Pixel(x, 100))) << x;
}

TEST_F(RenderTest, PolylineDrawsUnlitInItsColour) {
  auto& line = Root.AddNewChild<TGLLines>();
  line.AddNode(-1.0f, 0.0f, 0.0f);
  line.AddNode(1.0f, 0.0f, 0.0f);
  line.LineColor = {0.0f, 1.0f, 0.0f, 1.0f};
  line.LineWidth = 3.0f;
  TGLViewState view = FrontView();
  view.Lights[0].Enabled = false;  // no light at all: a lit line would be near black
  const TPicture p = Draw(Root, view);
  ExpectColor(p.Pixel(100, 100), 0, 255, 0, 1);
  EXPECT_TRUE(Dark(p.Pixel(100, 110)));
  EXPECT_TRUE(Dark(p.Pixel(100 + static_cast<int>(Px(1.0, 20)) + 3, 100)));
}

TEST_F(RenderTest, HiddenObjectHidesItsChildren) {
  auto& parent = Root.AddNewChild<TGLDummyCube>();
  auto& box = parent.AddNewChild<TGLCube>();
  box.GetMaterial().FrontProperties.Emission = {1.0f, 1.0f, 1.0f, 1.0f};
  parent.Visible = false;
  EXPECT_TRUE(Dark(Draw(Root, FrontView()).Pixel(100, 100)));
  parent.Visible = true;
  EXPECT_TRUE(Lit(Draw(Root, FrontView()).Pixel(100, 100)));
}

TEST_F(RenderTest, ChildrenAreDrawnInTheirParentsFrame) {
  // Parent moved right by 1 and turned so its local X points down the screen; the child sits at
  // local (1, 0, 0), so in the world at (1, -1, 0).
  auto& parent = Root.AddNewChild<TGLDummyCube>();
  parent.SetPosition(1.0f, 0.0f, 0.0f);
  parent.SetUp(1.0f, 0.0f, 0.0f);  // local X = Up x Direction = (1,0,0) x (0,0,1) = (0,-1,0)
  auto& box = parent.AddNewChild<TGLCube>();
  box.SetPosition(1.0f, 0.0f, 0.0f);
  box.CubeWidth = box.CubeHeight = box.CubeDepth = 0.2f;
  box.GetMaterial().FrontProperties.Emission = {1.0f, 1.0f, 1.0f, 1.0f};
  const TPicture p = Draw(Root, FrontView());
  const int d = static_cast<int>(std::lround(Px(1.0, 19.9)));  // 76
  EXPECT_TRUE(Lit(p.Pixel(100 + d, 100 + d)));
  EXPECT_TRUE(Dark(p.Pixel(100 + d, 100 - d)));
  EXPECT_TRUE(Dark(p.Pixel(100, 100)));
}

TEST_F(RenderTest, PictureGoesToA24BitBmpFile) {
  // 101 x 300 pixels (near plane 1511.8 / 300 = 5 from the eye). The box sits 1 above the centre,
  // 75.6 pixels up from row 150, and is 0.4 (30 pixels) tall.
  auto& box = Root.AddNewChild<TGLCube>();
  box.SetPosition(0.0f, 1.0f, 0.0f);
  box.CubeWidth = box.CubeHeight = box.CubeDepth = 0.4f;
  box.GetMaterial().FrontProperties.Emission = {1.0f, 0.0f, 0.0f, 1.0f};
  box.GetMaterial().FrontProperties.SetDiffuseColor(0x000000);
  test::TTempDir dir;
  const std::string path = dir.Path() + "/view.bmp";
  TPicture picture;
  std::string error;
  ASSERT_TRUE(RenderBmpFile(Root, FrontView(), 101, 300, path, picture, error)) << error;
  std::ifstream in(path, std::ios::binary);
  const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const size_t stride = 304;  // 101 * 3 = 303, padded to a multiple of 4
  ASSERT_EQ(bytes.size(), 54u + stride * 300);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(bytes[18], 101);       // width
  EXPECT_EQ(bytes[22] + 256 * bytes[23], 300);  // height, positive: bottom row first
  EXPECT_EQ(bytes[28], 24);        // bits per pixel
  // The picture's pixel (50, 75) is red and its mirror below the centre is not; in the file
  // row 75 from the top is row 300 - 1 - 75 from the bottom, as B, G, R.
  ASSERT_GT(picture.Pixel(50, 75).R, 200);
  ASSERT_TRUE(Dark(picture.Pixel(50, 225)));
  const size_t at = 54 + (300 - 1 - 75) * stride + 50 * 3;
  EXPECT_EQ(bytes[at + 2], picture.Pixel(50, 75).R);
  EXPECT_EQ(bytes[at + 1], picture.Pixel(50, 75).G);
  EXPECT_EQ(bytes[at + 0], picture.Pixel(50, 75).B);
  EXPECT_EQ(bytes[54 + 303], 0);  // padding
  // A folder that is not there cannot be written.
  const std::string bad = dir.Path() + "/no/such/view.bmp";
  EXPECT_FALSE(RenderBmpFile(Root, FrontView(), 101, 300, bad, picture, error));
  EXPECT_EQ(error, "Unable to write to " + bad);
}

}  // namespace
}  // namespace qv
