#include "scene/gl/GLGlyphs.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <numbers>
#include <unordered_map>

namespace qv {

// One GLU tessellator, reused for every glyph. The coordinates handed to it and the vertices its
// combine callback creates must stay where they are until the polygon is finished.
struct TGLGlyphCache::TTessellator {
  GLUtesselator* Tess = nullptr;
  std::deque<std::array<GLdouble, 3>> Storage;
  // The tessellator hands each corner over as the address it was given (or made), so equal
  // addresses are the same point.
  std::unordered_map<const GLdouble*, uint16_t> Index;
  TGlyph* Out = nullptr;
  const GLdouble* Corner[3];
  int Corners = 0;
  bool Failed = false;

  TTessellator() {
    Tess = gluNewTess();
    if (!Tess) return;
    gluTessCallback(Tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<_GLUfuncptr>(&Begin));
    gluTessCallback(Tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<_GLUfuncptr>(&Vertex));
    gluTessCallback(Tess, GLU_TESS_END_DATA, reinterpret_cast<_GLUfuncptr>(&End));
    gluTessCallback(Tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(&Combine));
    gluTessCallback(Tess, GLU_TESS_ERROR_DATA, reinterpret_cast<_GLUfuncptr>(&Error));
    // With an edge-flag callback the tessellator hands out separate triangles only.
    gluTessCallback(Tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<_GLUfuncptr>(&EdgeFlag));
    // Font outlines: holes wind against their outer contour, overlapping parts add up.
    gluTessProperty(Tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessNormal(Tess, 0.0, 0.0, 1.0);
  }
  ~TTessellator() {
    if (Tess) gluDeleteTess(Tess);
  }
  TTessellator(const TTessellator&) = delete;
  TTessellator& operator=(const TTessellator&) = delete;

  static void GLAPIENTRY Begin(GLenum, void* self) { static_cast<TTessellator*>(self)->Corners = 0; }
  static void GLAPIENTRY EdgeFlag(GLboolean, void*) {}
  static void GLAPIENTRY End(void*) {}
  static void GLAPIENTRY Error(GLenum, void* self) { static_cast<TTessellator*>(self)->Failed = true; }
  static void GLAPIENTRY Vertex(void* vertex, void* data) {
    auto* self = static_cast<TTessellator*>(data);
    self->Corner[self->Corners++] = static_cast<const GLdouble*>(vertex);
    if (self->Corners < 3) return;
    self->Corners = 0;
    const GLdouble* a = self->Corner[0];
    const GLdouble* b = self->Corner[1];
    const GLdouble* c = self->Corner[2];
    const double area = (b[0] - a[0]) * (c[1] - a[1]) - (c[0] - a[0]) * (b[1] - a[1]);
    if (area == 0.0) return;
    // Front faces wind counter-clockwise as seen from +Z, whatever order the tessellator chose.
    self->Add(a);
    self->Add(area > 0.0 ? b : c);
    self->Add(area > 0.0 ? c : b);
  }
  void Add(const GLdouble* v) {
    auto [it, added] = Index.try_emplace(v, static_cast<uint16_t>(Out->Points.size()));
    if (added) {
      // A glyph of more corners than 16-bit indices can name is malformed; it is dropped.
      if (Out->Points.size() >= 0xFFFF) Failed = true;
      Out->Points.push_back({static_cast<float>(v[0]), static_cast<float>(v[1])});
    }
    Out->Indices.push_back(it->second);
  }
  static void GLAPIENTRY Combine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* data) {
    auto* self = static_cast<TTessellator*>(data);
    self->Storage.push_back({coords[0], coords[1], coords[2]});
    *out = self->Storage.back().data();
  }
};

TTextPlacement PlaceText(const TTextBox& box, TGLHorzAdjust horz, TGLVertAdjust vert, float textHeight,
                         float oblique) {
  TTextPlacement p;
  switch (horz) {
    case haCenter: p.ShiftX = -box.W / 2; break;
    case haRight: p.ShiftX = -box.W; break;
    default: break;
  }
  const float depth = std::fabs(box.D);
  switch (vert) {
    case vaTop: p.ShiftY = -box.A; break;
    case vaCenter: p.ShiftY = (depth - box.A) / 2; break;
    case vaBottom: p.ShiftY = depth; break;
    default: break;
  }
  // A text whose glyphs all lie below the baseline (or are all blank) has no height to scale to.
  if (textHeight != 0.0f && box.A > 0.0f) p.Scale = textHeight / box.A;
  p.Oblique = oblique;
  return p;
}

TGLGlyphCache::TGLGlyphCache(TFontOpener opener) : Opener_(opener ? std::move(opener) : TFontOpener(&OpenArial)) {}

TGLGlyphCache::~TGLGlyphCache() = default;

bool TGLGlyphCache::Ready() {
  if (!FontTried_) {
    FontTried_ = true;
    Font_ = Opener_(FontError_);
  }
  return Font_ != nullptr;
}

IFontSource* TGLGlyphCache::Font() { return Ready() ? Font_.get() : nullptr; }

const TGlyph* TGLGlyphCache::Glyph(uint8_t code, int level) {
  TSlot& slot = Glyphs_[code];
  level = std::clamp(level, 0, GlyphLevels - 1);
  std::optional<TGlyph>& glyph = slot.Levels[static_cast<size_t>(level)];
  if (glyph) return &*glyph;
  if (!Ready()) return nullptr;
  if (!slot.Read) {
    slot.Read = true;
    if (!Font_->Glyph(code, slot.Outline)) slot.Outline = {};
  }
  glyph.emplace();
  glyph->Advance = slot.Outline.Advance;
  glyph->Ascent = slot.Outline.Ascent;
  glyph->BoxHeight = slot.Outline.BoxHeight;
  if (level == 0) {
    Tessellate(slot.Outline, *glyph);
  } else {
    TGlyphOutline simple;
    for (const auto& contour : slot.Outline.Contours) {
      auto kept = SimplifyContour(contour, GlyphLevelTolerance[level]);
      if (!kept.empty()) simple.Contours.push_back(std::move(kept));
    }
    Tessellate(simple, *glyph);
  }
  ++Tessellated_;
  return &*glyph;
}

int GlyphLevelFor(float emPixels, float pixels) {
  if (!(emPixels > 0.0f) || !std::isfinite(emPixels)) return 0;
  int level = 0;
  while (level + 1 < GlyphLevels && GlyphLevelTolerance[level + 1] * emPixels <= pixels) ++level;
  return level;
}

namespace {

double DistanceToSegment(const TFontPoint& p, const TFontPoint& a, const TFontPoint& b) {
  const double dx = b.X - a.X, dy = b.Y - a.Y;
  const double length2 = dx * dx + dy * dy;
  double t = length2 > 0.0 ? ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / length2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  const double ex = a.X + t * dx - p.X, ey = a.Y + t * dy - p.Y;
  return std::sqrt(ex * ex + ey * ey);
}

// Marks the points of (first, last) that the simplified polyline from first to last keeps.
void KeepFarPoints(const std::vector<TFontPoint>& c, size_t first, size_t last, float tolerance,
                   std::vector<bool>& keep) {
  // An explicit stack: a hostile outline may have a great many points.
  std::vector<std::pair<size_t, size_t>> spans{{first, last}};
  while (!spans.empty()) {
    auto [a, b] = spans.back();
    spans.pop_back();
    double worst = -1.0;
    size_t at = a;
    for (size_t i = a + 1; i < b; ++i) {
      const double d = DistanceToSegment(c[i], c[a], c[b % c.size()]);
      if (d > worst) worst = d, at = i;
    }
    if (worst > tolerance) {
      keep[at] = true;
      spans.push_back({a, at});
      spans.push_back({at, b});
    }
  }
}

}  // namespace

std::vector<TFontPoint> SimplifyContour(const std::vector<TFontPoint>& contour, float tolerance) {
  const size_t n = contour.size();
  if (n <= 3 || !(tolerance > 0.0f)) return contour;
  // The point farthest from the first splits the closed contour into two open halves.
  size_t far = 0;
  double farthest = -1.0;
  for (size_t i = 1; i < n; ++i) {
    const double dx = contour[i].X - contour[0].X, dy = contour[i].Y - contour[0].Y;
    if (dx * dx + dy * dy > farthest) farthest = dx * dx + dy * dy, far = i;
  }
  std::vector<bool> keep(n, false);
  keep[0] = keep[far] = true;
  KeepFarPoints(contour, 0, far, tolerance, keep);
  KeepFarPoints(contour, far, n, tolerance, keep);  // index n stands for the first point again
  std::vector<TFontPoint> out;
  for (size_t i = 0; i < n; ++i)
    if (keep[i]) out.push_back(contour[i]);
  if (out.size() < 3) return {};
  return out;
}

void TGLGlyphCache::Tessellate(const TGlyphOutline& outline, TGlyph& glyph) {
  if (outline.Contours.empty()) return;
  if (!Tess_) Tess_ = std::make_unique<TTessellator>();
  TTessellator& t = *Tess_;
  if (!t.Tess) return;
  t.Storage.clear();
  t.Index.clear();
  t.Out = &glyph;
  t.Failed = false;
  gluTessBeginPolygon(t.Tess, &t);
  for (const auto& contour : outline.Contours) {
    gluTessBeginContour(t.Tess);
    for (const TFontPoint& p : contour) {
      t.Storage.push_back({p.X, p.Y, 0.0});
      gluTessVertex(t.Tess, t.Storage.back().data(), t.Storage.back().data());
    }
    gluTessEndContour(t.Tess);
  }
  gluTessEndPolygon(t.Tess);
  t.Storage.clear();
  t.Index.clear();
  // A malformed outline yields nothing rather than part of a glyph.
  if (t.Failed) {
    glyph.Points.clear();
    glyph.Indices.clear();
  }
}

TTextBox TGLGlyphCache::Measure(const std::string& text) {
  TTextBox box;
  bool first = true;
  for (char c : text) {
    const TGlyph* g = Glyph(static_cast<uint8_t>(c));
    if (!g) return {};
    box.W += g->Advance;
    const float bottom = g->Ascent - g->BoxHeight;
    box.A = first ? g->Ascent : std::max(box.A, g->Ascent);
    box.D = first ? bottom : std::min(box.D, bottom);
    first = false;
  }
  return box;
}

bool TGLGlyphCache::LayoutMesh(const std::string& text, TGLHorzAdjust horz, TGLVertAdjust vert,
                               float textHeight, float oblique, std::vector<TFontPoint>& points,
                               std::vector<uint32_t>& indices, int level) {
  if (text.empty()) return true;
  if (!Ready()) return false;
  const TTextPlacement p = PlaceText(Measure(text), horz, vert, textHeight, oblique);
  const double angle = static_cast<double>(p.Oblique) * std::numbers::pi / 180.0;
  const float c = static_cast<float>(std::cos(angle)) * p.Scale;
  const float s = static_cast<float>(std::sin(angle)) * p.Scale;
  float pen = p.ShiftX;
  for (char ch : text) {
    const TGlyph* g = Glyph(static_cast<uint8_t>(ch), level);
    const auto first = static_cast<uint32_t>(points.size());
    for (const TFontPoint& v : g->Points) {
      const float x = v.X + pen, y = v.Y + p.ShiftY;
      points.push_back({c * x - s * y, s * x + c * y});
    }
    for (uint16_t i : g->Indices) indices.push_back(first + i);
    pen += g->Advance;
  }
  return true;
}

bool TGLGlyphCache::LayoutText(const std::string& text, TGLHorzAdjust horz, TGLVertAdjust vert,
                               float textHeight, float oblique, std::vector<TFontPoint>& triangles) {
  std::vector<TFontPoint> points;
  std::vector<uint32_t> indices;
  if (!LayoutMesh(text, horz, vert, textHeight, oblique, points, indices)) return false;
  for (uint32_t i : indices) triangles.push_back(points[i]);
  return true;
}

}  // namespace qv
