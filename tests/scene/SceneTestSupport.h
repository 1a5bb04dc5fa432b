// Helpers of the scene build tests: a small document, a run of the build with a font of known
// advance widths, and lookups in the built tree.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "geometry/FaceFrames.h"
#include "model/Manifolds.h"
#include "scene/SceneBuild.h"
#include "scene/SceneOptions.h"
#include "scene/TextWidths.h"
#include "scene/gl/GLSceneObjects.h"

namespace qv::test {

// Every character advances 0.5 em of an Arial cell, "H" 0.25: at the cell height of a 3 units high
// text (4000 pixels) a character is 2000 pixels wide and "H" 1000, so EstimateTextWidth gives
// 2.3 per character and 1.15 per "H" for that height.
class THalfCellFont : public IFontSource {
public:
  static constexpr float Advance = 0.5f * 2288.0f / 2048.0f;   // 0.55859375 em
  static constexpr float AdvanceH = 0.25f * 2288.0f / 2048.0f; // 0.279296875 em
  std::string FamilyName() const override { return "Half Cell"; }
  bool Glyph(uint8_t, TGlyphOutline& glyph) override {
    glyph = {};
    return false;
  }
  float AdvanceWidth(uint8_t code) override { return code == 'H' ? AdvanceH : Advance; }
};

inline TFontOpener HalfCellFontOpener() {
  return [](std::string&) -> std::unique_ptr<IFontSource> { return std::make_unique<THalfCellFont>(); };
}

// A block 100 x 60 x 40 mm: the scale factor is 0.05, the text unit H 1 mm at factor 10 (0.05
// scene units), the thin thickness 0.1 mm.
inline void SmallBlock(TManifold& doc) {
  doc.Reset();
  doc.SizeX = 100;
  doc.SizeY = 60;
  doc.SizeZ = 40;
}
inline constexpr double SmallScale = 0.05;

inline TStep& AddStep(THole& hole, double diameter, double depth, int pointAngle, const char* group = "") {
  TStep& s = hole.Steps.Add();
  s.Diameter = diameter;
  s.Depth = depth;
  s.PointAngle = pointAngle;
  s.GroupCode = group;
  return s;
}

inline THole& AddHole(TManifold& doc, int number, int face, double x, double y) {
  THole& h = doc.Holes.Add();
  h.Number = number;
  h.Face = face;
  h.X = x;
  h.Y = y;
  return h;
}

// The options with every box that adds something of its own switched off, so that a test sees
// only the bore and what it switches on.
inline TSceneOptions BoreOnly() {
  TSceneOptions o;
  o.FaceNumbers = false;
  o.HoleNumbers = false;
  o.ShowManifold = false;
  o.Contours = false;
  o.ShowPorts = false;
  o.ShowThread = false;
  o.ShowHoleText = false;
  o.ShowPlugs = false;
  o.ShowItemNumbers = false;
  return o;
}

struct TBuiltScene {
  TGLDummyCube Root;
  TTextWidths Widths{HalfCellFontOpener()};

  void Build(const TManifold& doc, const TSceneOptions& options, double scale = SmallScale) {
    RebuildScene(Root, doc, options, scale, true, &Widths);
  }
  int Count() const { return Root.Count(); }
  TGLBaseSceneObject& operator[](int i) const { return Root.Children(i); }

  // The children of the model root with this tag and kind, in order.
  std::vector<TGLBaseSceneObject*> Find(int tag, TGLObjectKind kind) const {
    std::vector<TGLBaseSceneObject*> found;
    for (int i = 0; i < Root.Count(); ++i)
      if (Root.Children(i).Tag == tag && Root.Children(i).Kind() == kind) found.push_back(&Root.Children(i));
    return found;
  }
  std::vector<TGLSpaceText*> Texts(int tag) const {
    std::vector<TGLSpaceText*> texts;
    for (auto* o : Find(tag, TGLObjectKind::SpaceText)) texts.push_back(static_cast<TGLSpaceText*>(o));
    return texts;
  }
  std::vector<TGLLines*> Lines(int tag) const {
    std::vector<TGLLines*> lines;
    for (auto* o : Find(tag, TGLObjectKind::Lines)) lines.push_back(static_cast<TGLLines*>(o));
    return lines;
  }
  // The first child of the model root that carries the tag and is a bore piece: the bore's root.
  TGLBaseSceneObject* BoreRoot(int tag) const {
    for (int i = 0; i < Root.Count(); ++i) {
      TGLBaseSceneObject& o = Root.Children(i);
      if (o.Tag == tag && (o.Kind() == TGLObjectKind::Annulus || o.Kind() == TGLObjectKind::Cylinder ||
                           o.Kind() == TGLObjectKind::DummyCube))
        return &o;
    }
    return nullptr;
  }
  int CountTagged(int tag) const {
    int n = 0;
    for (int i = 0; i < Root.Count(); ++i) n += Root.Children(i).Tag == tag;
    return n;
  }
};

inline constexpr float Tol = 1e-5f;

#define EXPECT_VEC(v, x, y, z)                       \
  do {                                               \
    const ::qv::TVector3f vec_ = (v);                \
    EXPECT_NEAR(vec_.X, (x), ::qv::test::Tol) << "X"; \
    EXPECT_NEAR(vec_.Y, (y), ::qv::test::Tol) << "Y"; \
    EXPECT_NEAR(vec_.Z, (z), ::qv::test::Tol) << "Z"; \
  } while (0)

#define EXPECT_COLOUR(c, r, g, b, a)                  \
  do {                                                \
    const ::qv::TColorVector col_ = (c);              \
    EXPECT_NEAR(col_.R, (r), 1e-6f) << "R";           \
    EXPECT_NEAR(col_.G, (g), 1e-6f) << "G";           \
    EXPECT_NEAR(col_.B, (b), 1e-6f) << "B";           \
    EXPECT_NEAR(col_.A, (a), 1e-6f) << "A";           \
  } while (0)

// The direction along which a flat text's baseline runs: local X turned by Oblique towards Up.
inline TVector3f Baseline(const TGLSpaceText& t) {
  const TVector3f x = t.LocalX(), u = t.Up();
  const double a = t.Oblique * 3.14159265358979323846 / 180.0;
  const float c = static_cast<float>(std::cos(a)), s = static_cast<float>(std::sin(a));
  return {c * x.X + s * u.X, c * x.Y + s * u.Y, c * x.Z + s * u.Z};
}
// The direction in which its glyphs rise.
inline TVector3f GlyphUp(const TGLSpaceText& t) {
  const TVector3f x = t.LocalX(), u = t.Up();
  const double a = t.Oblique * 3.14159265358979323846 / 180.0;
  const float c = static_cast<float>(std::cos(a)), s = static_cast<float>(std::sin(a));
  return {c * u.X - s * x.X, c * u.Y - s * x.Y, c * u.Z - s * x.Z};
}

// The material of any object (the kinds' own accessor is not const).
inline const TGLMaterial& Mat(const TGLBaseSceneObject& o) { return *o.Material(); }

// A point in a bore's root frame in the parent's (model root's) frame.
inline TVector3f InParent(const TGLBaseSceneObject& root, const TVector3f& local) {
  return root.LocalMatrix().TransformPoint(local);
}

}  // namespace qv::test
