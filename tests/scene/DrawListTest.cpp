// The draw list drawn off-screen: one vertex array made when something changed, a few draws per
// stretch of opaque objects, blended objects in their place, and a level of detail whose pictures
// are those of full detail.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include <limits>

#include "scene/gl/GLDrawList.h"
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

// Pixels off by more than 24 levels in a channel.
int FarOff(const TPicture& a, const TPicture& b) {
  int n = 0;
  for (int y = 0; y < a.Height; ++y)
    for (int x = 0; x < a.Width; ++x) {
      const auto p = a.Pixel(x, y), q = b.Pixel(x, y);
      n += std::abs(p.R - q.R) > 24 || std::abs(p.G - q.G) > 24 || std::abs(p.B - q.B) > 24;
    }
  return n;
}

void ExpectColor(TPicture::TPixel p, int r, int g, int b, int tolerance = 3) {
  EXPECT_NEAR(p.R, r, tolerance);
  EXPECT_NEAR(p.G, g, tolerance);
  EXPECT_NEAR(p.B, b, tolerance);
}

class DrawListTest : public ::testing::Test {
protected:
  DrawListTest() : Group(Root.AddNewChild<TGLDummyCube>()) {}

  TPicture Draw(bool levelOfDetail = true) {
    Offscreen.Renderer().SetLevelOfDetail(levelOfDetail);
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

TEST_F(DrawListTest, PicturesWithLevelOfDetailAreThoseAtFullDetail) {
  BuildMixedScene();
  const TPicture full = Draw(false);
  const TPicture detailed = Draw();
  // Six opaque objects in two draws (the colours travel with the vertices; the flat ring and the
  // text take the polygon offset), then the blended box by itself.
  EXPECT_EQ(Stats().Draws, 3);
  // Something of every colour is on the picture, and the two agree but for a few edge pixels.
  EXPECT_LE(FarOff(full, detailed), 10);
  int red = 0, green = 0, yellow = 0, cyan = 0;
  for (int y = 0; y < Side; ++y)
    for (int x = 0; x < Side; ++x) {
      const auto p = detailed.Pixel(x, y);
      red += p.R > 150 && p.G < 60 && p.B < 60;
      green += p.G > 150 && p.R < 60 && p.B < 60;
      yellow += p.R > 50 && std::abs(p.R - p.G) < 20 && p.B < p.R / 3;  // the tube, lit from aside
      cyan += p.G > 150 && p.B > 150 && p.R < 60;
    }
  EXPECT_GT(red, 100);
  EXPECT_GT(green, 100);
  EXPECT_GT(yellow, 100);
  EXPECT_GT(cyan, 20);

  // Orbiting turns the grouping object: the array is drawn with its new matrix, not made again
  // (the level of detail does not depend on the turn). The pictures at full detail come from a
  // renderer of their own, first: it makes the objects' geometry its own way.
  TOffscreenRenderer fullDetail;
  fullDetail.Renderer().SetLevelOfDetail(false);
  std::vector<TPicture> references;
  auto turn = [&](int step) {
    const float a = 0.4f * static_cast<float>(step);
    Group.SetDirection(std::sin(a), 0.0f, std::cos(a));
  };
  for (int step = 1; step <= 3; ++step) {
    turn(step);
    std::string error;
    ASSERT_TRUE(fullDetail.Render(Root, View, Side, Side, references.emplace_back(), error)) << error;
  }
  turn(0);
  Draw();
  const int arrays = Stats().ArrayBuilds;
  for (int step = 1; step <= 3; ++step) {
    turn(step);
    const TPicture turned = Draw();
    EXPECT_EQ(Stats().ArrayBuilds, arrays);
    EXPECT_LE(FarOff(references[static_cast<size_t>(step - 1)], turned), 10) << step;
  }
}

TEST_F(DrawListTest, SmallObjectsAreDrawnWithFewerTrianglesAndTheSamePicture) {
  // Forty tubes of 64 slices and forty texts, each a few pixels across at 100 from the eye.
  View = FrontView(100.0f);
  for (int i = 0; i < 40; ++i) {
    auto& tube = Group.AddNewChild<TGLAnnulus>();
    tube.BottomRadius = tube.TopRadius = tube.BottomInnerRadius = tube.TopInnerRadius = 0.1f;
    tube.Slices = 64;
    tube.SetPosition(static_cast<float>(i % 8) - 3.5f, static_cast<float>(i / 8) - 2.0f, 0.0f);
    tube.GetMaterial().FrontProperties.SetDiffuseColor(0x00FFFF);
    auto& text = Group.AddNewChild<TGLSpaceText>();
    text.Text = "B8";
    text.TextHeight = 0.3f;
    text.SetPosition(static_cast<float>(i % 8) - 3.3f, static_cast<float>(i / 8) - 2.0f, 0.0f);
  }
  const TPicture full = Draw(false);
  const long long fullTriangles = Stats().Triangles;
  const TPicture reduced = Draw();
  const long long far = Stats().Triangles;
  EXPECT_LT(far * 3, fullTriangles);
  // No more pixels off by more than 24 levels than a picture may have (one in a hundred).
  EXPECT_LE(FarOff(full, reduced), Side * Side / 100);
  // Close up the same objects get more of their detail back.
  View = FrontView(2.0f);
  Draw();
  EXPECT_GT(Stats().Triangles, far * 2);
}

TEST_F(DrawListTest, EveryChangeShowsAtTheNextFrame) {
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
  const int builds = Stats().ArrayBuilds;

  // After each change the next frame shows it (the array made anew), and the frame after that
  // draws the same from the array.
  auto next = [&] {
    const TPicture changed = Draw();
    EXPECT_EQ(Stats().ArrayBuilds, builds + ++Changes);
    EXPECT_LE(Differences(changed, Draw()), 0);
    EXPECT_EQ(Stats().ArrayBuilds, builds + Changes);
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
  EXPECT_EQ(Stats().Triangles, 0);
}

TEST_F(DrawListTest, ABlendedObjectHidesTheOpaqueOnesDrawnAfterIt) {
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
  auto& later = Group.AddNewChild<TGLCube>();  // drawn with the green one, after the glass
  later.SetPosition(0.0f, -3.0f, 0.0f);
  for (bool levelOfDetail : {false, true, true}) {
    const TPicture p = Draw(levelOfDetail);
    // Red (1.04 clamped to 1, 0.04, 0.04) at alpha 0.5 over black.
    ExpectColor(p.Pixel(100, 100), 128, 5, 5);
    // Beside the glass (42 pixels to each side) the green box (116) is seen.
    ExpectColor(p.Pixel(100, 160), 10, 255, 10);
  }
  EXPECT_EQ(Stats().Draws, 3);  // the glass between two stretches
}

TEST_F(DrawListTest, BlendedObjectsFollowTheCameraFarthestFirst) {
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

TEST_F(DrawListTest, TwoRenderersOfOneTreeEachDrawTheirOwnArrays) {
  BuildMixedScene();
  const TPicture reference = Draw(false);
  TOffscreenRenderer other;
  for (int round = 0; round < 2; ++round) {
    TPicture mine = Draw(false), theirs;
    std::string error;
    ASSERT_TRUE(other.Render(Root, View, Side, Side, theirs, error)) << error;
    ASSERT_TRUE(other.Render(Root, View, Side, Side, theirs, error)) << error;
    EXPECT_LE(Differences(reference, mine), 0) << round;
    EXPECT_LE(FarOff(reference, theirs), 10) << round;
    EXPECT_EQ(other.Renderer().Statistics().Draws, 3);
  }
}

// A 24-bit BMP file as WriteBmpFile writes it; an empty picture when it cannot be read.
TPicture ReadBmp(const std::string& path) {
  TPicture p;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return p;
  std::vector<uint8_t> bytes;
  for (int c; (c = std::fgetc(f)) != EOF;) bytes.push_back(static_cast<uint8_t>(c));
  std::fclose(f);
  auto i32 = [&](size_t at) { return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | bytes[at + 3] << 24; };
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') return p;
  const int width = i32(18), height = i32(22), offset = i32(10);
  const size_t row = (size_t(width) * 3 + 3) / 4 * 4;
  if (width <= 0 || height <= 0 || bytes.size() < size_t(offset) + row * size_t(height)) return p;
  p.Width = width;
  p.Height = height;
  p.Rgb.resize(size_t(width) * size_t(height) * 3);
  for (int y = 0; y < height; ++y)  // bottom-up rows of blue, green, red
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c)
        p.Rgb[(size_t(y) * size_t(width) + size_t(x)) * 3 + size_t(c)] =
            bytes[size_t(offset) + size_t(height - 1 - y) * row + size_t(x) * 3 + size_t(2 - c)];
  return p;
}

TEST(TextEdges, AZoomedInTextKeepsTheEdgesOfTheFullOutline) {
  // The picture in tests/scene/data was drawn from the font's full outline, before texts had
  // levels of detail: a text 20 pixels high, as the fourfold zoomed pictures show hole labels.
  const TPicture reference = ReadBmp(std::string(QV_SOURCE_DIR) + "/tests/scene/data/text-edge.bmp");
  ASSERT_EQ(reference.Width, 160);
  TGLDummyCube root;
  auto& text = root.AddNewChild<TGLSpaceText>();
  text.Text = "R8&gQ";
  text.TextHeight = 1.0f;
  text.Adjust.Horz = haCenter;
  text.Adjust.Vert = vaCenter;
  text.GetMaterial().FrontProperties.Emission = {1, 1, 1, 1};
  TGLViewState view;
  view.Camera.Position = {0, 0, 75};
  view.Camera.Up = {0, 1, 0};
  TOffscreenRenderer offscreen;
  TPicture picture;
  std::string error;
  ASSERT_TRUE(offscreen.Render(root, view, 160, 48, picture, error)) << error;
  ASSERT_EQ(picture.Height, reference.Height);
  int white = 0;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 160; ++x) white += reference.Pixel(x, y).R > 128;
  // Of the glyphs' pixels (several hundred), only a few at the edges may differ.
  EXPECT_GT(white, 400);
  EXPECT_LE(FarOff(reference, picture), white / 20);
  // Along the rows the edges lie where they lay, give or take a pixel; a sliver a pixel wide may
  // come or go here and there.
  size_t edges = 0, lost = 0;
  for (int y = 0; y < 48; ++y) {
    std::vector<int> was, is;
    for (int x = 1; x < 160; ++x) {
      if ((reference.Pixel(x, y).R > 128) != (reference.Pixel(x - 1, y).R > 128)) was.push_back(x);
      if ((picture.Pixel(x, y).R > 128) != (picture.Pixel(x - 1, y).R > 128)) is.push_back(x);
    }
    size_t matched = 0;
    for (int e : was)
      matched += std::any_of(is.begin(), is.end(), [e](int f) { return std::abs(e - f) <= 1; });
    edges += was.size();
    lost += was.size() - matched;
  }
  EXPECT_GT(edges, 300u);
  EXPECT_LE(lost * 50, edges) << lost << " of " << edges;
}

TEST(LevelOfDetail, SlicesFollowTheRadiusOnTheScreen) {
  // Half a pixel between polygon and circle: 18 slices for a radius of 30 pixels, 32 for 100
  // (pi / acos(1 - 0.5 / r), rounded up).
  EXPECT_EQ(SlicesFor(64, 30.0f, 50.0f, 12), 18);
  EXPECT_EQ(SlicesFor(64, 100.0f, 50.0f, 12), 32);
  EXPECT_EQ(SlicesFor(16, 100.0f, 50.0f, 12), 16);  // never more than the object's own
  EXPECT_EQ(SlicesFor(64, 2.0f, 50.0f, 12), 12);    // round shading needs a few
  EXPECT_EQ(SlicesFor(64, 2.0f, 0.5f, 12), 6);      // a band under a pixel high shows as dots
  EXPECT_EQ(SlicesFor(64, 0.3f, 50.0f, 12), 6);
  EXPECT_EQ(SlicesFor(4, 0.3f, 50.0f, 12), 4);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(SlicesFor(64, nan, 1.0f, 12), 64);
}

TEST(LevelOfDetail, SimplifiedContoursStayWithinTheirTolerance) {
  // A circle of radius 1 in 256 points: a tolerance of 0.01 needs about 23 of them.
  std::vector<TFontPoint> circle;
  for (int i = 0; i < 256; ++i) {
    const double a = 2 * 3.14159265358979 * i / 256;
    circle.push_back({static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a))});
  }
  const std::vector<TFontPoint> kept = SimplifyContour(circle, 0.01f);
  EXPECT_GE(kept.size(), 16u);
  EXPECT_LE(kept.size(), 32u);
  // Every dropped point lies within the tolerance of the polygon kept (here: of the circle's
  // chord between the kept neighbours, at most 1 - cos(half the angle)).
  for (size_t i = 0; i < kept.size(); ++i) {
    const TFontPoint a = kept[i], b = kept[(i + 1) % kept.size()];
    const double chord = std::hypot(b.X - a.X, b.Y - a.Y);
    EXPECT_LE(1 - std::sqrt(1 - chord * chord / 4), 0.0101);
  }
  EXPECT_EQ(SimplifyContour(circle, 0.0f).size(), circle.size());
  // A sliver collapses to nothing rather than to a line.
  EXPECT_TRUE(SimplifyContour({{0, 0}, {1, 0.001f}, {2, 0}, {1, -0.001f}}, 0.01f).empty());
  // Coarser levels for texts that cover fewer pixels.
  EXPECT_EQ(GlyphLevelFor(1000.0f, 0.2f), 0);
  EXPECT_EQ(GlyphLevelFor(20.0f, 0.2f), 1);
  EXPECT_EQ(GlyphLevelFor(4.0f, 0.2f), GlyphLevels - 1);
}

}  // namespace
}  // namespace qv
