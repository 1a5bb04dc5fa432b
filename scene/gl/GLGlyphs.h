// Flat glyph geometry for 3D texts: each character's outline is tessellated once into triangles
// (GLU tessellator, no OpenGL context needed) and shared by every text; a text is laid out by
// placing copies of its glyphs' triangles.
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

  // The glyph of a character code, tessellated on first use. Null when the font is missing.
  const TGlyph* Glyph(uint8_t code);
  // How many glyphs have been tessellated so far.
  int TessellatedGlyphs() const { return Tessellated_; }

  TTextBox Measure(const std::string& text);
  // Appends the laid-out text (local plane z = 0) to `points` and its triangles, as indices into
  // `points`, to `indices`; false when the font is missing. An empty text adds nothing.
  bool LayoutMesh(const std::string& text, TGLHorzAdjust horz, TGLVertAdjust vert, float textHeight,
                  float oblique, std::vector<TFontPoint>& points, std::vector<uint32_t>& indices);
  // The same as separate triangles, three points each.
  bool LayoutText(const std::string& text, TGLHorzAdjust horz, TGLVertAdjust vert, float textHeight,
                  float oblique, std::vector<TFontPoint>& triangles);

private:
  void Tessellate(const TGlyphOutline& outline, TGlyph& glyph);

  TFontOpener Opener_;
  std::unique_ptr<IFontSource> Font_;
  bool FontTried_ = false;
  std::string FontError_;
  std::array<std::optional<TGlyph>, 256> Glyphs_;
  int Tessellated_ = 0;
  struct TTessellator;
  std::unique_ptr<TTessellator> Tess_;
};

}  // namespace qv
