#include "platform/FontSource.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

// Code points of 0x80..0x9F; the rest of the code page coincides with Latin-1.
constexpr char32_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Flattens the outline while FreeType walks it: coordinates arrive in font units.
struct TFlattener {
  std::vector<std::vector<TFontPoint>>* Contours;
  float Scale;  // font units to em
  TFontPoint Last;

  TFontPoint Em(const FT_Vector* v) const { return {v->x * Scale, v->y * Scale}; }
  void Add(TFontPoint p) {
    Contours->back().push_back(p);
    Last = p;
  }
  static int Segments(float deviation) {
    const float n = std::ceil(std::sqrt(deviation / GlyphFlatness));
    return std::clamp(static_cast<int>(std::isfinite(n) ? n : 1.0f), 1, 64);
  }

  static int MoveTo(const FT_Vector* to, void* user) {
    auto* self = static_cast<TFlattener*>(user);
    self->Contours->emplace_back();
    self->Add(self->Em(to));
    return 0;
  }
  static int LineTo(const FT_Vector* to, void* user) {
    auto* self = static_cast<TFlattener*>(user);
    if (self->Contours->empty()) self->Contours->emplace_back();
    self->Add(self->Em(to));
    return 0;
  }
  static int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
    auto* self = static_cast<TFlattener*>(user);
    if (self->Contours->empty()) self->Contours->emplace_back();
    const TFontPoint p0 = self->Last, p1 = self->Em(control), p2 = self->Em(to);
    const float dev = std::hypot(p0.X - 2 * p1.X + p2.X, p0.Y - 2 * p1.Y + p2.Y) / 4;
    const int n = Segments(dev);
    for (int i = 1; i <= n; ++i) {
      const float t = static_cast<float>(i) / n, s = 1 - t;
      self->Add({s * s * p0.X + 2 * s * t * p1.X + t * t * p2.X, s * s * p0.Y + 2 * s * t * p1.Y + t * t * p2.Y});
    }
    return 0;
  }
  static int CubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
    auto* self = static_cast<TFlattener*>(user);
    if (self->Contours->empty()) self->Contours->emplace_back();
    const TFontPoint p0 = self->Last, p1 = self->Em(c1), p2 = self->Em(c2), p3 = self->Em(to);
    const float dev = 0.75f * std::max(std::hypot(p0.X - 2 * p1.X + p2.X, p0.Y - 2 * p1.Y + p2.Y),
                                       std::hypot(p1.X - 2 * p2.X + p3.X, p1.Y - 2 * p2.Y + p3.Y));
    const int n = Segments(dev);
    for (int i = 1; i <= n; ++i) {
      const float t = static_cast<float>(i) / n, s = 1 - t;
      const float a = s * s * s, b = 3 * s * s * t, c = 3 * s * t * t, d = t * t * t;
      self->Add({a * p0.X + b * p1.X + c * p2.X + d * p3.X, a * p0.Y + b * p1.Y + c * p2.Y + d * p3.Y});
    }
    return 0;
  }
};

class TFreeTypeFontSource final : public IFontSource {
public:
  TFreeTypeFontSource(FT_Library library, FT_Face face, std::string family)
      : Library_(library), Face_(face), Family_(std::move(family)),
        Scale_(face->units_per_EM > 0 ? 1.0f / face->units_per_EM : 1.0f / 2048) {}
  ~TFreeTypeFontSource() override {
    FT_Done_Face(Face_);
    FT_Done_FreeType(Library_);
  }
  TFreeTypeFontSource(const TFreeTypeFontSource&) = delete;
  TFreeTypeFontSource& operator=(const TFreeTypeFontSource&) = delete;

  std::string FamilyName() const override { return Family_; }

  bool Glyph(uint8_t code, TGlyphOutline& glyph) override {
    glyph = TGlyphOutline{};
    if (!Load(code)) return false;
    const FT_GlyphSlot slot = Face_->glyph;
    glyph.Advance = slot->metrics.horiAdvance * Scale_;
    glyph.Ascent = slot->metrics.horiBearingY * Scale_;
    glyph.BoxHeight = slot->metrics.height * Scale_;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return true;
    TFlattener flattener{&glyph.Contours, Scale_, {}};
    FT_Outline_Funcs funcs{};
    funcs.move_to = &TFlattener::MoveTo;
    funcs.line_to = &TFlattener::LineTo;
    funcs.conic_to = &TFlattener::ConicTo;
    funcs.cubic_to = &TFlattener::CubicTo;
    if (FT_Outline_Decompose(&slot->outline, &funcs, &flattener) != 0) {
      glyph.Contours.clear();
      return false;
    }
    // A contour of fewer than three points encloses nothing.
    std::erase_if(glyph.Contours, [](const auto& c) { return c.size() < 3; });
    return true;
  }

  float AdvanceWidth(uint8_t code) override {
    return Load(code) ? Face_->glyph->metrics.horiAdvance * Scale_ : 0.0f;
  }

private:
  bool Load(uint8_t code) {
    const FT_UInt index = FT_Get_Char_Index(Face_, Windows1252ToUnicode(code));
    return FT_Load_Glyph(Face_, index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) == 0;
  }

  FT_Library Library_;
  FT_Face Face_;
  std::string Family_;
  float Scale_;
};

// The file and face index fontconfig picks for the family's regular style, with the family name
// of what it picked.
bool MatchFont(const std::string& family, std::string& file, int& index, std::string& matched) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return false;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* font = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!font) return false;
  FcChar8* path = nullptr;
  FcChar8* name = nullptr;
  int faceIndex = 0;
  const bool ok = FcPatternGetString(font, FC_FILE, 0, &path) == FcResultMatch;
  if (ok) {
    file = reinterpret_cast<const char*>(path);
    if (FcPatternGetInteger(font, FC_INDEX, 0, &faceIndex) != FcResultMatch) faceIndex = 0;
    index = faceIndex;
    matched = FcPatternGetString(font, FC_FAMILY, 0, &name) == FcResultMatch
                  ? reinterpret_cast<const char*>(name) : "";
  }
  FcPatternDestroy(font);
  return ok;
}

}  // namespace

char32_t Windows1252ToUnicode(uint8_t code) {
  return code >= 0x80 && code <= 0x9F ? Cp1252High[code - 0x80] : code;
}

float TextAdvanceWidth(IFontSource& font, const std::string& text) {
  float w = 0.0f;
  for (char c : text) w += font.AdvanceWidth(static_cast<uint8_t>(c));
  return w;
}

std::unique_ptr<IFontSource> OpenFontSource(const std::string& family, std::string& error) {
  std::string file, matched;
  int index = 0;
  if (!FcInit() || !MatchFont(family, file, index, matched)) {
    error = "no font matches \"" + family + "\"";
    return nullptr;
  }
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) {
    error = "FreeType cannot start";
    return nullptr;
  }
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.c_str(), index, &face) != 0 || !FT_IS_SCALABLE(face)) {
    if (face) FT_Done_Face(face);
    FT_Done_FreeType(library);
    error = "cannot read the font file " + file;
    return nullptr;
  }
  FT_Select_Charmap(face, FT_ENCODING_UNICODE);
  return std::make_unique<TFreeTypeFontSource>(library, face, matched);
}

std::unique_ptr<IFontSource> OpenArial(std::string& error) { return OpenFontSource("Arial", error); }

}  // namespace qv
