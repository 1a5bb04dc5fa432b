// Outline glyphs and advance widths of a system font, for flat 3D texts and text-width estimates.
// The font is found through fontconfig and read with FreeType; "Arial" resolves to a
// metric-compatible family where Arial itself is not installed.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qv {

struct TFontPoint {
  float X = 0.0f;
  float Y = 0.0f;
};

// One glyph in em units (the font's em square is 1 long), baseline at y = 0, y up. Curves are
// already flattened into straight segments; every contour is closed implicitly.
struct TGlyphOutline {
  std::vector<std::vector<TFontPoint>> Contours;
  float Advance = 0.0f;    // unhinted advance width
  float Ascent = 0.0f;     // top of the glyph box above the baseline
  float BoxHeight = 0.0f;  // height of the glyph box (0 for an empty glyph such as the space)
};

class IFontSource {
public:
  virtual ~IFontSource() = default;
  // The family the system actually matched.
  virtual std::string FamilyName() const = 0;
  // Outline and metrics of the glyph for an 8-bit character code of the Windows-1252 code page.
  // False when the glyph cannot be read; the outline is then empty.
  virtual bool Glyph(uint8_t code, TGlyphOutline& glyph) = 0;
  // Advance width of the character in em units, without reading its outline.
  virtual float AdvanceWidth(uint8_t code) = 0;
};

// Largest distance, in em units, between a flattened curve and the curve itself.
inline constexpr float GlyphFlatness = 0.0025f;

// Opens the regular style of the family through fontconfig and FreeType. Null with a reason in
// `error` when no font file can be found or read.
std::unique_ptr<IFontSource> OpenFontSource(const std::string& family, std::string& error);

// Opens the font a renderer uses, on first need; null with a reason when there is none.
using TFontOpener = std::function<std::unique_ptr<IFontSource>(std::string& error)>;
// Opens "Arial" through the system.
std::unique_ptr<IFontSource> OpenArial(std::string& error);

// The Unicode code point of a Windows-1252 character code.
char32_t Windows1252ToUnicode(uint8_t code);

// Sum of the advance widths of the characters, em units.
float TextAdvanceWidth(IFontSource& font, const std::string& text);

}  // namespace qv
