// Flat glyph geometry for 3D texts: each character's outline is tessellated once into triangles
// (GLU tessellator, no OpenGL context needed) and shared by every text; a text is laid out by
// placing copies of its glyphs' triangles. Texts a few pixels tall need far fewer triangles than
// the font's outline gives: each glyph also comes in coarser levels of detail, its flattened
// outline simplified to within a distance that grows from level to level.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/FontSource.h"
#include "scene/gl/GLSceneObjects.h"

namespace qv {

struct TGlyph {
  std::vector<TFontPoint> Points;  // the corners of the triangles, each once
  std::vector<uint16_t> Indices;   // three a triangle, counter-clockwise seen from +Z
  float Advance = 0.0f;
  float Ascent = 0.0f;
  float BoxHeight = 0.0f;
};

// The extent of a text in em units before alignment and scaling.
struct TTextBox {
  float W = 0.0f;  // sum of the advance widths
  float A = 0.0f;  // the largest ascent
  float D = 0.0f;  // the lowest glyph bottom (0 or negative)
};

// Where the laid-out glyphs go: p' = Rotate(Oblique) * Scale * (p + Shift).
struct TTextPlacement {
  float ShiftX = 0.0f;
  float ShiftY = 0.0f;
  float Scale = 1.0f;
  float Oblique = 0.0f;
};

// Levels of detail of a glyph: level 0 is the outline as the font source flattens it; level k is
// simplified to within GlyphLevelTolerance[k] em units of it.
inline constexpr int GlyphLevels = 4;
inline constexpr float GlyphLevelTolerance[GlyphLevels] = {0.0f, 0.006f, 0.016f, 0.04f};

// The coarsest level whose tolerance stays within `pixels` on a text whose em square spans
// `emPixels` pixels on the screen.
int GlyphLevelFor(float emPixels, float pixels);

// Drops the points of a closed contour that lie within `tolerance` of the simplified contour
// (Douglas-Peucker on both halves); a contour keeps at least three points, or none when it
// collapses to a line.
std::vector<TFontPoint> SimplifyContour(const std::vector<TFontPoint>& contour, float tolerance);

TTextPlacement PlaceText(const TTextBox& box, TGLHorzAdjust horz, TGLVertAdjust vert, float textHeight,
                         float oblique);

class TGLGlyphCache {
public:
  // The font is opened on first use; without an opener, "Arial" through the system.
  explicit TGLGlyphCache(TFontOpener opener = {});
  ~TGLGlyphCache();
  TGLGlyphCache(const TGLGlyphCache&) = delete;
  TGLGlyphCache& operator=(const TGLGlyphCache&) = delete;

  // False when no font can be had; the reason is in FontError().
  bool Ready();
  const std::string& FontError() const { return FontError_; }
  IFontSource* Font();

  // The glyph of a character code at a level of detail, tessellated on first use. Null when the
  // font is missing.
  const TGlyph* Glyph(uint8_t code, int level = 0);
  // How many glyphs have been tessellated so far.
  int TessellatedGlyphs() const { return Tessellated_; }

  TTextBox Measure(const std::string& text);
  // Appends the laid-out text (local plane z = 0) to `points` and its triangles, as indices into
  // `points`, to `indices`; false when the font is missing. An empty text adds nothing.
  bool LayoutMesh(const std::string& text, TGLHorzAdjust horz, TGLVertAdjust vert, float textHeight,
                  float oblique, std::vector<TFontPoint>& points, std::vector<uint32_t>& indices, int level = 0);
  // The same as separate triangles, three points each.
  bool LayoutText(const std::string& text, TGLHorzAdjust horz, TGLVertAdjust vert, float textHeight,
                  float oblique, std::vector<TFontPoint>& triangles);

private:
  void Tessellate(const TGlyphOutline& outline, TGlyph& glyph);

  TFontOpener Opener_;
  std::unique_ptr<IFontSource> Font_;
  bool FontTried_ = false;
  std::string FontError_;
  struct TSlot {
    bool Read = false;
    TGlyphOutline Outline;  // contours kept for the coarser levels
    std::array<std::optional<TGlyph>, GlyphLevels> Levels;
  };
  std::array<TSlot, 256> Glyphs_;
  int Tessellated_ = 0;
  struct TTessellator;
  std::unique_ptr<TTessellator> Tess_;
};

}  // namespace qv
