// "Arial" glyphs through the system's font source, their tessellation and the text layout rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "scene/gl/GLGlyphs.h"

namespace qv {
namespace {

struct TBounds {
  float MinX = 1e9f, MaxX = -1e9f, MinY = 1e9f, MaxY = -1e9f;
};

TBounds BoundsOf(const std::vector<TFontPoint>& points) {
  TBounds b;
  for (const TFontPoint& p : points) {
    b.MinX = std::min(b.MinX, p.X);
    b.MaxX = std::max(b.MaxX, p.X);
    b.MinY = std::min(b.MinY, p.Y);
    b.MaxY = std::max(b.MaxY, p.Y);
  }
  return b;
}

double TriangleArea(const TFontPoint& a, const TFontPoint& b, const TFontPoint& c) {
  return 0.5 * ((b.X - a.X) * (c.Y - a.Y) - (c.X - a.X) * (b.Y - a.Y));
}

double ContourArea(const std::vector<TFontPoint>& c) {
  double s = 0;
  for (size_t i = 0; i < c.size(); ++i) {
    const TFontPoint& a = c[i];
    const TFontPoint& b = c[(i + 1) % c.size()];
    s += static_cast<double>(a.X) * b.Y - static_cast<double>(b.X) * a.Y;
  }
  return 0.5 * s;
}

class GlyphsTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(Cache.Ready()) << Cache.FontError(); }
  std::vector<TFontPoint> Layout(const std::string& text, TGLHorzAdjust h = haLeft, TGLVertAdjust v = vaBaseLine,
                                 float height = 0, float oblique = 0) {
    std::vector<TFontPoint> out;
    EXPECT_TRUE(Cache.LayoutText(text, h, v, height, oblique, out));
    return out;
  }
  // The top of the outline of "H", read from the font itself.
  float CapHeight() {
    TGlyphOutline outline;
    EXPECT_TRUE(Cache.Font()->Glyph('H', outline));
    float top = -1;
    for (const auto& contour : outline.Contours)
      for (const TFontPoint& p : contour) top = std::max(top, p.Y);
    return top;
  }
  TGLGlyphCache Cache;
};

TEST_F(GlyphsTest, ArialResolvesToAMetricCompatibleFamily) {
  const std::string family = Cache.Font()->FamilyName();
  EXPECT_TRUE(family == "Arial" || family == "Liberation Sans") << family;
}

TEST_F(GlyphsTest, AdvanceWidthsAreArialsInEmUnits) {
  // Arial's digits are 1139 and its space 569 of 2048 units wide, 'W' 1933.
  EXPECT_NEAR(Cache.Font()->AdvanceWidth('1'), 1139.0 / 2048, 1e-6);
  EXPECT_NEAR(Cache.Font()->AdvanceWidth(' '), 569.0 / 2048, 1e-6);
  EXPECT_NEAR(Cache.Font()->AdvanceWidth('W'), 1933.0 / 2048, 1e-6);
  EXPECT_NEAR(TextAdvanceWidth(*Cache.Font(), "12 W"), (2 * 1139.0 + 569 + 1933) / 2048, 1e-5);
  EXPECT_NEAR(Cache.Measure("12 W").W, (2 * 1139.0 + 569 + 1933) / 2048, 1e-5);
  // Windows-1252 codes above 0x7F: 0x80 is the euro sign (1139 wide), 0xE9 is e acute.
  EXPECT_NEAR(Cache.Font()->AdvanceWidth(0x80), 1139.0 / 2048, 1e-6);
  EXPECT_EQ(Windows1252ToUnicode(0x80), U'\u20AC');
  EXPECT_EQ(Windows1252ToUnicode(0xE9), U'\u00E9');
  EXPECT_EQ(Windows1252ToUnicode(0x9F), U'\u0178');
}

TEST_F(GlyphsTest, TessellationCoversTheOutlineAndKeepsItsHoles) {
  // "O", "8", "B" and "%" have holes; the triangles must cover exactly the filled area, every
  // triangle facing +Z.
  for (uint8_t code : {'O', '8', 'B', '%', 'l', 'W'}) {
    TGlyphOutline outline;
    ASSERT_TRUE(Cache.Font()->Glyph(code, outline));
    double filled = 0;
    for (const auto& contour : outline.Contours) filled += ContourArea(contour);
    filled = std::fabs(filled);
    const TGlyph* g = Cache.Glyph(code);
    ASSERT_NE(g, nullptr);
    ASSERT_EQ(g->Indices.size() % 3, 0u);
    double covered = 0;
    for (size_t i = 0; i < g->Indices.size(); i += 3) {
      const double a = TriangleArea(g->Points.at(g->Indices[i]), g->Points.at(g->Indices[i + 1]),
                                    g->Points.at(g->Indices[i + 2]));
      EXPECT_GT(a, 0.0) << code;
      covered += a;
    }
    EXPECT_NEAR(covered, filled, 1e-4) << code;
    EXPECT_GT(covered, 0.01) << code;
  }
  // The space has no outline and no triangles, but an advance.
  EXPECT_TRUE(Cache.Glyph(' ')->Indices.empty());
  EXPECT_GT(Cache.Glyph(' ')->Advance, 0.2f);
}

TEST_F(GlyphsTest, GlyphCornersAreSharedBetweenTriangles) {
  // A closed outline of n corners fills with n - 2 triangles per contour (plus two per hole
  // bridge): far fewer distinct corners than three per triangle.
  const TGlyph* g = Cache.Glyph('O');
  EXPECT_LT(g->Points.size() * 2, g->Indices.size());
  std::vector<TFontPoint> points;
  std::vector<uint32_t> indices;
  ASSERT_TRUE(Cache.LayoutMesh("OO", haLeft, vaBaseLine, 0.0f, 0.0f, points, indices));
  EXPECT_EQ(points.size(), 2 * g->Points.size());
  ASSERT_EQ(indices.size(), 2 * g->Indices.size());
  EXPECT_EQ(indices[g->Indices.size()], g->Indices[0] + g->Points.size());
}

TEST_F(GlyphsTest, EachGlyphIsTessellatedOnce) {
  const int before = Cache.TessellatedGlyphs();
  Layout("1212");
  EXPECT_EQ(Cache.TessellatedGlyphs(), before + 2);
  Layout("21", haCenter, vaCenter, 3.0f);
  Layout("121", haRight, vaTop, 0.5f, 45.0f);
  EXPECT_EQ(Cache.TessellatedGlyphs(), before + 2);
  // The second copy of a glyph is the first one moved by the advance of what precedes it.
  const std::vector<TFontPoint> one = Layout("1");
  const std::vector<TFontPoint> two = Layout("11");
  ASSERT_EQ(two.size(), 2 * one.size());
  const float advance = Cache.Font()->AdvanceWidth('1');
  for (size_t i = 0; i < one.size(); ++i) {
    EXPECT_FLOAT_EQ(two[one.size() + i].X, one[i].X + advance);
    EXPECT_FLOAT_EQ(two[one.size() + i].Y, one[i].Y);
  }
}

TEST_F(GlyphsTest, TallestGlyphRisesExactlyTheTextHeight) {
  // "12" at TextHeight 0.05, default alignment: starts at the origin on its baseline.
  const TBounds b = BoundsOf(Layout("12", haLeft, vaBaseLine, 0.05f));
  EXPECT_NEAR(b.MaxY, 0.05f, 1e-6f);
  EXPECT_NEAR(b.MinY, 0.0f, 1e-6f);  // digits sit on the baseline
  EXPECT_GT(b.MinX, 0.0f);           // the left side bearing of "1"
  EXPECT_LT(b.MinX, 0.01f);
  // With a descender the tallest glyph still rises the text height; the rest hangs below.
  const TBounds g = BoundsOf(Layout("Hg", haLeft, vaBaseLine, 2.0f));
  EXPECT_NEAR(g.MaxY, 2.0f, 1e-5f);
  EXPECT_LT(g.MinY, -0.3f);
  // Unscaled text is in em units: "H" rises as high as its outline does.
  const TBounds h = BoundsOf(Layout("H"));
  EXPECT_NEAR(h.MaxY, CapHeight(), 1e-6);
  EXPECT_GT(h.MaxY, 0.6f);
  EXPECT_LT(h.MaxY, 0.8f);
}

TEST_F(GlyphsTest, AlignmentShiftsTheTextBox) {
  const TTextBox box = Cache.Measure("Hg");
  EXPECT_NEAR(box.A, CapHeight(), 1e-6);
  EXPECT_LT(box.D, 0.0f);
  // Centre and centre: the box from descent to ascent is centred on the origin vertically.
  const TBounds c = BoundsOf(Layout("Hg", haCenter, vaCenter));
  EXPECT_NEAR(c.MaxY, -c.MinY, 1e-5f);
  EXPECT_NEAR(c.MaxY, (box.A - box.D) / 2, 1e-5f);
  // Right and top: the text ends at the origin's left (side bearing only) and hangs below it.
  const TBounds r = BoundsOf(Layout("Hg", haRight, vaTop));
  EXPECT_LT(r.MaxX, 0.0f);
  EXPECT_GT(r.MaxX, -0.1f);
  EXPECT_NEAR(r.MaxY, 0.0f, 1e-6f);
  // Bottom: the deepest descent sits on the origin.
  const TBounds d = BoundsOf(Layout("Hg", haLeft, vaBottom));
  EXPECT_NEAR(d.MinY, 0.0f, 1e-6f);
  // Alignment and scaling together: shifted in em units, then scaled (top at -0 stays 0, the
  // descent scales with the height).
  const TBounds s = BoundsOf(Layout("Hg", haCenter, vaBottom, 1.0f));
  EXPECT_NEAR(s.MinY, 0.0f, 1e-6f);
  EXPECT_NEAR(s.MaxY, 1.0f + std::fabs(box.D) / box.A, 1e-5f);
  EXPECT_NEAR(s.MaxX + s.MinX, 0.0f, 0.05f);  // about symmetric: side bearings differ a little
}

TEST_F(GlyphsTest, ObliqueTurnsTheBaselineTowardsTheAscenders) {
  // 90 degrees: the baseline runs along +Y and the glyphs rise towards -X; (x, y) -> (-y, x).
  const TBounds flat = BoundsOf(Layout("12", haLeft, vaBaseLine, 1.0f));
  const TBounds b = BoundsOf(Layout("12", haLeft, vaBaseLine, 1.0f, 90.0f));
  EXPECT_NEAR(b.MinX, -1.0f, 1e-5f);
  EXPECT_NEAR(b.MaxX, 0.0f, 1e-5f);
  EXPECT_NEAR(b.MinY, flat.MinX, 1e-5f);
  EXPECT_NEAR(b.MaxY, flat.MaxX, 1e-5f);
  // 180 degrees: upside down to the left of the origin.
  const TBounds u = BoundsOf(Layout("12", haLeft, vaBaseLine, 1.0f, 180.0f));
  EXPECT_NEAR(u.MinY, -1.0f, 1e-5f);
  EXPECT_LT(u.MaxX, 0.0f);
}

TEST_F(GlyphsTest, EmptyTextDrawsNothing) {
  EXPECT_TRUE(Layout("").empty());
  EXPECT_TRUE(Layout("", haCenter, vaCenter, 5.0f).empty());
  // Blanks only: nothing to draw and no height to scale to, but no failure either.
  EXPECT_TRUE(Layout("   ", haLeft, vaBaseLine, 1.0f).empty());
}

TEST_F(GlyphsTest, EveryCharacterCodeLaysOut) {
  std::string all;
  for (int c = 1; c < 256; ++c) all.push_back(static_cast<char>(c));
  const std::vector<TFontPoint> tris = Layout(all, haCenter, vaCenter, 1.0f);
  EXPECT_EQ(tris.size() % 3, 0u);
  EXPECT_GT(tris.size(), 1000u);
  for (const TFontPoint& p : tris) ASSERT_TRUE(std::isfinite(p.X) && std::isfinite(p.Y));
}

TEST(GlyphCache, NoFontMeansNoGlyphs) {
  TGLGlyphCache cache([](std::string& error) -> std::unique_ptr<IFontSource> {
    error = "nothing installed";
    return nullptr;
  });
  EXPECT_FALSE(cache.Ready());
  EXPECT_EQ(cache.FontError(), "nothing installed");
  std::vector<TFontPoint> out;
  EXPECT_FALSE(cache.LayoutText("12", haLeft, vaBaseLine, 1.0f, 0.0f, out));
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(cache.Glyph('1'), nullptr);
  // An empty text needs no font.
  EXPECT_TRUE(cache.LayoutText("", haLeft, vaBaseLine, 1.0f, 0.0f, out));
}

}  // namespace
}  // namespace qv
