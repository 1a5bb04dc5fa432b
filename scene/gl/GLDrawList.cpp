#include "scene/gl/GLDrawList.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <cstdlib>
#include <limits>
#include <string>
#include <variant>

namespace qv {

namespace {

// Sizes compare bit for bit: a NaN from a damaged document must still match itself, or its
// object would be made anew every frame.
bool Same(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); }

struct TCubeKey {
  float W, H, D;
  bool operator==(const TCubeKey& o) const { return Same(W, o.W) && Same(H, o.H) && Same(D, o.D); }
};

struct TQuadricKey {
  bool Annulus;
  float Bottom, Top, BottomInner, TopInner, Height;
  int Slices, Stacks, Loops;
  bool operator==(const TQuadricKey& o) const {
    return Annulus == o.Annulus && Same(Bottom, o.Bottom) && Same(Top, o.Top) && Same(BottomInner, o.BottomInner) &&
           Same(TopInner, o.TopInner) && Same(Height, o.Height) && Slices == o.Slices && Stacks == o.Stacks &&
           Loops == o.Loops;
  }
};

struct TTextKey {
  std::string Text;
  float TextHeight, Oblique;
  TGLHorzAdjust Horz;
  TGLVertAdjust Vert;
  bool operator==(const TTextKey& o) const {
    return Text == o.Text && Same(TextHeight, o.TextHeight) && Same(Oblique, o.Oblique) && Horz == o.Horz &&
           Vert == o.Vert;
  }
};

using TGeometryKey = std::variant<std::monostate, TCubeKey, TQuadricKey, TTextKey>;

// Hostile or careless sizes must not make millions of vertices.
int Clamp(int value, int low) { return std::clamp(value, low, MaxQuadricDivisions); }

TGeometryKey MakeKey(const TGLBaseSceneObject& o) {
  switch (o.Kind()) {
    case TGLObjectKind::Cube: {
      const auto& c = static_cast<const TGLCube&>(o);
      return TCubeKey{c.CubeWidth, c.CubeHeight, c.CubeDepth};
    }
    case TGLObjectKind::Cylinder: {
      const auto& c = static_cast<const TGLCylinder&>(o);
      return TQuadricKey{false, c.BottomRadius, c.TopRadius, 0, 0, c.Height, Clamp(c.Slices, 2), Clamp(c.Stacks, 1),
                         Clamp(c.Loops, 1)};
    }
    case TGLObjectKind::Annulus: {
      const auto& a = static_cast<const TGLAnnulus&>(o);
      return TQuadricKey{true, a.BottomRadius, a.TopRadius, a.BottomInnerRadius, a.TopInnerRadius, a.Height,
                         Clamp(a.Slices, 2), Clamp(a.Stacks, 1), Clamp(a.Loops, 1)};
    }
    case TGLObjectKind::SpaceText: {
      const auto& t = static_cast<const TGLSpaceText&>(o);
      return TTextKey{t.Text, t.TextHeight, t.Oblique, t.Adjust.Horz, t.Adjust.Vert};
    }
    default: return std::monostate{};
  }
}

bool Finite(const TMatrix4& m) {
  return std::all_of(m.M.begin(), m.M.end(), [](double v) { return std::isfinite(v); });
}

bool SameBits(const TGLFaceProperties& a, const TGLFaceProperties& b) {
  return std::memcmp(&a, &b, sizeof(TGLFaceProperties)) == 0;
}

// The material a draw sets: everything but the diffuse colour, which its vertices carry.
TGLFaceProperties Rest(TGLFaceProperties p) {
  p.Diffuse = {};
  return p;
}

uint8_t Byte(float v) { return static_cast<uint8_t>(std::lround(std::clamp(std::isfinite(v) ? v : 0.0f, 0.0f, 1.0f) * 255.0f)); }

}  // namespace

// The per-object cache: the object's properties it was made from and what they give.
struct TGLCachedGeometry {
  std::weak_ptr<int> Owner;
  TGeometryKey Key;
  uint64_t Serial = 0;
  bool Empty = true;   // nothing to draw
  float Radius = 0.0f;  // reaches every point from the object's origin
  // A quadric: the shared unit shape at full detail and the size that scales it.
  bool Quadric = false;
  TGLShapeKey Shape;
  TVector3f Scale;
  float WidestRing = 0.0f;  // the widest end ring of a tube, from inner to outer radius
  // A box or a text: its own triangles; a text's at TextLevel, with em units scaled by EmScale.
  TGLMesh Mesh;
  bool Text = false;
  int TextLevel = -1;
  float EmScale = 1.0f;
};

TGLGeometryHandle::TGLGeometryHandle() = default;
TGLGeometryHandle::~TGLGeometryHandle() = default;
void TGLGeometryHandle::Reset(std::unique_ptr<TGLCachedGeometry> cached) { Cached_ = std::move(cached); }

bool RevolutionShape(const TGLShapeKey& k, TGLMesh& mesh) {
  TGLRevolution r{k.Annulus, k.Bottom, k.Top, k.BottomInner, k.TopInner, k.Flat ? 0.0f : 1.0f,
                  k.Slices,  k.Stacks, k.Loops, k.EndRings};
  AppendRevolutionMesh(r, mesh);
  return true;
}

int SlicesFor(int slices, float radiusPixels, float heightPixels, int fewest) {
  constexpr double tolerance = 0.5, pi = 3.14159265358979323846;
  if (!(radiusPixels > 0.0f) || !std::isfinite(radiusPixels) || !std::isfinite(heightPixels)) return slices;
  // Smooth shading across a slice of angle a darkens its middle by up to 1 - cos(a / 2) of the
  // light, and more towards the outline: on a surface that covers whole pixels the slices must
  // stay many. A band less than a pixel high shows a few scattered pixels only.
  const double least = radiusPixels <= 1.0f || heightPixels < 1.0f ? 6.0 : fewest;
  if (slices <= least) return slices;
  // The polygon of n corners lies r (1 - cos(pi / n)) inside the circle at most.
  const double needed = radiusPixels <= tolerance ? least : std::ceil(pi / std::acos(1.0 - tolerance / radiusPixels));
  return static_cast<int>(std::clamp(needed, least, static_cast<double>(slices)));
}

struct TGLDrawListBuilder::TItem {
  const TGLBaseSceneObject* Object;
  const TGLCachedGeometry* Geometry;  // null for a polyline
  uint64_t Serial;
  const TGLBaseSceneObject* AnchorObject;
  int Anchor;
  int Level;  // a quadric's slices (negative: without end rings), a text's glyph level
  bool Blended;
  TMatrix4 Rel;  // the object's frame in its anchor's
  TGLFaceProperties Front;

  bool operator==(const TItem& o) const {
    return Object == o.Object && Serial == o.Serial && AnchorObject == o.AnchorObject && Anchor == o.Anchor &&
           Level == o.Level && Blended == o.Blended && std::memcmp(Rel.M.data(), o.Rel.M.data(), sizeof(Rel.M)) == 0 &&
           SameBits(Front, o.Front);
  }
};

struct TGLDrawListBuilder::TWalk {
  TVector3f Eye;
  double PixelsPerUnit;
  std::vector<const TGLBaseSceneObject*> AnchorObjects;
  const std::function<void(const char*)>* Report;
};

TGLDrawListBuilder::TGLDrawListBuilder(TGLGlyphCache& glyphs, TGLShapeSource shapes)
    : Glyphs_(glyphs), Source_(shapes ? std::move(shapes) : TGLShapeSource(&RevolutionShape)),
      Owner_(std::make_shared<int>(0)) {}

TGLDrawListBuilder::~TGLDrawListBuilder() = default;

void TGLDrawListBuilder::ReleaseArrays() {
  Valid_ = false;
  List_.Vertices = {};
  List_.Indices = {};
}

void TGLDrawListBuilder::DropVertices() {
  List_.Vertices = {};
  List_.Indices = {};
}

const TGLMesh* TGLDrawListBuilder::Shape(const TGLShapeKey& key) {
  auto [it, added] = Shapes_.try_emplace(key);
  if (added) {
    it->second = std::make_unique<TGLMesh>();
    if (!Source_(key, *it->second)) *it->second = {};
  }
  return it->second.get();
}

const TGLDrawList& TGLDrawListBuilder::Build(const TGLBaseSceneObject& root, const TGLViewState& view,
                                             const std::function<void(const char*)>& report) {
  TWalk walk{view.Camera.Position, PixelsPerUnit(view.Camera), {}, &report};
  Items_.clear();
  List_.Anchors.clear();
  List_.Order.clear();
  Walk(walk, root, -1, TMatrix4::Identity());
  const bool same = Valid_ && Items_ == Previous_;
  List_.Changed = !same;
  if (!same) MakeArrays(report);
  std::swap(Items_, Previous_);
  return List_;
}

void TGLDrawListBuilder::Walk(TWalk& walk, const TGLBaseSceneObject& object, int anchor, const TMatrix4& parentRel) {
  if (!object.Visible) return;
  TMatrix4 rel;
  if (anchor < 0 || object.Kind() == TGLObjectKind::DummyCube) {
    // The drawn root and every grouping object (the ones that navigation moves) start a frame of
    // their own.
    const TMatrix4 parentWorld =
        anchor < 0 ? TMatrix4::Identity() : List_.Anchors[static_cast<size_t>(anchor)] * parentRel;
    List_.Anchors.push_back(parentWorld * object.LocalMatrix());
    walk.AnchorObjects.push_back(&object);
    anchor = static_cast<int>(List_.Anchors.size()) - 1;
  } else {
    rel = parentRel * object.LocalMatrix();
  }
  if (object.Kind() != TGLObjectKind::DummyCube) AddItem(walk, object, anchor, rel);

  struct TDeferred {
    double Distance;
    const TGLBaseSceneObject* Object;
  };
  std::vector<TDeferred> deferred;
  TMatrix4 world;
  for (int i = 0; i < object.Count(); ++i) {
    const TGLBaseSceneObject& child = object.Children(i);
    if (!child.Visible) continue;
    if (!child.Blended()) {
      Walk(walk, child, anchor, rel);
      continue;
    }
    if (deferred.empty()) world = List_.Anchors[static_cast<size_t>(anchor)] * rel;
    const TVector3f o = world.TransformPoint(child.Position());
    const double dx = o.X - walk.Eye.X, dy = o.Y - walk.Eye.Y, dz = o.Z - walk.Eye.Z;
    deferred.push_back({dx * dx + dy * dy + dz * dz, &child});
  }
  std::stable_sort(deferred.begin(), deferred.end(),
                   [](const TDeferred& a, const TDeferred& c) { return a.Distance > c.Distance; });
  for (const TDeferred& d : deferred) Walk(walk, *d.Object, anchor, rel);
}

namespace {

// Fills a fresh cache from the object's properties.
void MakeGeometry(TGLCachedGeometry& g, const TGLBaseSceneObject& object, TGLGlyphCache& glyphs,
                  const std::function<void(const char*)>& report) {
  if (const auto* q = std::get_if<TQuadricKey>(&g.Key)) {
    for (float v : {q->Bottom, q->Top, q->BottomInner, q->TopInner, q->Height})
      if (!std::isfinite(v) || v < 0.0f) return;
    const float r = std::max({q->Bottom, q->Top, q->Annulus ? std::max(q->BottomInner, q->TopInner) : 0.0f});
    if (r == 0.0f) return;
    const bool flat = q->Height == 0.0f;
    g.Quadric = true;
    g.Shape = {q->Annulus, flat, true, q->Bottom / r, q->Top / r, q->Annulus ? q->BottomInner / r : 0.0f,
               q->Annulus ? q->TopInner / r : 0.0f, q->Slices, q->Stacks, q->Loops};
    g.Scale = {r, flat ? 1.0f : q->Height, r};
    if (q->Annulus && !flat)
      g.WidestRing = std::max(std::fabs(q->Bottom - q->BottomInner), std::fabs(q->Top - q->TopInner));
    g.Radius = std::hypot(r, q->Height / 2);
    g.Empty = false;
  } else if (const auto* t = std::get_if<TTextKey>(&g.Key)) {
    if (t->Text.empty()) return;
    if (!glyphs.Ready()) {
      report(FontCreationFailed);
      return;
    }
    g.Text = true;
    g.EmScale = PlaceText(glyphs.Measure(t->Text), t->Horz, t->Vert, t->TextHeight, t->Oblique).Scale;
    AppendObjectMesh(object, g.Mesh, &glyphs);
    g.TextLevel = 0;
    for (const TVector3f& p : g.Mesh.Positions) g.Radius = std::max(g.Radius, VectorLength(p));
    g.Empty = g.Mesh.Empty();
  } else if (std::holds_alternative<TCubeKey>(g.Key)) {
    AppendObjectMesh(object, g.Mesh);
    for (const TVector3f& p : g.Mesh.Positions) g.Radius = std::max(g.Radius, VectorLength(p));
    g.Empty = g.Mesh.Empty();
  }
}

}  // namespace

void TGLDrawListBuilder::AddItem(TWalk& walk, const TGLBaseSceneObject& object, int anchor, const TMatrix4& rel) {
  List_.Order.push_back(&object);
  TItem item{&object, nullptr, 0, walk.AnchorObjects[static_cast<size_t>(anchor)], anchor, 0, object.Blended(), rel, {}};
  if (object.Kind() == TGLObjectKind::Lines) {
    Items_.push_back(item);
    return;
  }
  TGLGeometryHandle& handle = object.Geometry();
  TGLCachedGeometry* g = handle.Get();
  // Geometry made by another builder (the window's, when the export draws the same tree) may
  // have been made with another font: never reused.
  const bool ours = g && !g->Owner.owner_before(Owner_) && !Owner_.owner_before(g->Owner);
  if (!ours || !(g->Key == MakeKey(object))) {
    auto fresh = std::make_unique<TGLCachedGeometry>();
    fresh->Owner = Owner_;
    fresh->Key = MakeKey(object);
    fresh->Serial = NextSerial_++;
    MakeGeometry(*fresh, object, Glyphs_, *walk.Report);
    ++GeometryBuilds_;
    handle.Reset(std::move(fresh));
    g = handle.Get();
  }
  item.Geometry = g;
  item.Serial = g->Serial;
  item.Front = object.Material()->FrontProperties;

  // The nearest the object comes to the eye while its anchor turns about its own origin.
  const TMatrix4& a = List_.Anchors[static_cast<size_t>(anchor)];
  const double ax = a(0, 3) - walk.Eye.X, ay = a(1, 3) - walk.Eye.Y, az = a(2, 3) - walk.Eye.Z;
  const double offset = std::sqrt(rel(0, 3) * rel(0, 3) + rel(1, 3) * rel(1, 3) + rel(2, 3) * rel(2, 3));
  const double nearest = std::sqrt(ax * ax + ay * ay + az * az) - offset - g->Radius;
  const double pixels = nearest > 1e-3 && std::isfinite(nearest) ? walk.PixelsPerUnit / nearest : 0.0;
  if (g->Quadric) {
    item.Level = g->Shape.Slices;
    if (LevelOfDetail && pixels > 0.0) {
      const float height = g->Shape.Flat ? std::numeric_limits<float>::infinity() : g->Scale.Y;
      item.Level = SlicesFor(g->Shape.Slices, static_cast<float>(g->Scale.X * pixels),
                             static_cast<float>(std::min<double>(height * pixels, 1e9)), FewestSlices);
      if (g->WidestRing > 0.0f && g->WidestRing * pixels < 0.25) item.Level = -item.Level;
    }
  } else if (g->Text && !g->Empty) {
    item.Level = LevelOfDetail && pixels > 0.0 ? GlyphLevelFor(static_cast<float>(g->EmScale * pixels), 0.2f) : 0;
    if (item.Level != g->TextLevel) {
      g->Mesh = {};
      const auto& t = static_cast<const TGLSpaceText&>(object);
      std::vector<TFontPoint> points;
      std::vector<uint32_t> indices;
      if (Glyphs_.LayoutMesh(t.Text, t.Adjust.Horz, t.Adjust.Vert, t.TextHeight, t.Oblique, points, indices, item.Level)) {
        for (const TFontPoint& p : points) {
          g->Mesh.Positions.push_back({p.X, p.Y, 0.0f});
          g->Mesh.Normals.push_back({0.0f, 0.0f, 1.0f});
        }
        g->Mesh.Indices = std::move(indices);
      }
      g->TextLevel = item.Level;
    }
  }
  Items_.push_back(item);
}

void TGLDrawListBuilder::MakeArrays(const std::function<void(const char*)>&) {
  ++ArrayBuilds_;
  Valid_ = true;
  List_.Vertices.clear();
  List_.Indices.clear();
  List_.Draws.clear();
  std::map<TGLShapeKey, std::unique_ptr<TGLMesh>> used;

  // The triangles of one object, placed in its anchor's frame, appended to `indices`.
  std::vector<uint32_t> scratch;
  auto emit = [&](const TItem& item, std::vector<uint32_t>& indices) {
    const TGLCachedGeometry& g = *item.Geometry;
    const TGLMesh* mesh = &g.Mesh;
    TVector3f scale{1.0f, 1.0f, 1.0f};
    if (g.Quadric) {
      TGLShapeKey key = g.Shape;
      key.Slices = std::abs(item.Level);
      key.EndRings = item.Level > 0;
      auto found = used.find(key);
      if (found == used.end()) {
        auto held = Shapes_.find(key);
        if (held == Shapes_.end()) {
          Shape(key);
          held = Shapes_.find(key);
        }
        found = used.emplace(key, std::move(held->second)).first;
        Shapes_.erase(held);
      }
      mesh = found->second.get();
      scale = g.Scale;
    }
    const TMatrix4& m = item.Rel;
    const TColorVector& c = item.Front.Diffuse;
    const uint8_t r = Byte(c.R), gr = Byte(c.G), b = Byte(c.B), al = Byte(c.A);
    const auto first = static_cast<uint32_t>(List_.Vertices.size());
    for (size_t i = 0; i < mesh->Positions.size(); ++i) {
      const TVector3f p{mesh->Positions[i].X * scale.X, mesh->Positions[i].Y * scale.Y, mesh->Positions[i].Z * scale.Z};
      // Normals go through the inverse of the scaling (its transpose is itself), then the turn.
      TVector3f n{mesh->Normals[i].X / scale.X, mesh->Normals[i].Y / scale.Y, mesh->Normals[i].Z / scale.Z};
      TVector3f w{static_cast<float>(m(0, 0) * n.X + m(0, 1) * n.Y + m(0, 2) * n.Z),
                  static_cast<float>(m(1, 0) * n.X + m(1, 1) * n.Y + m(1, 2) * n.Z),
                  static_cast<float>(m(2, 0) * n.X + m(2, 1) * n.Y + m(2, 2) * n.Z)};
      const float l = VectorLength(w);
      if (l > 0.0f) w = {w.X / l, w.Y / l, w.Z / l};
      const TVector3f q = m.TransformPoint(p);
      List_.Vertices.push_back({q.X, q.Y, q.Z, w.X, w.Y, w.Z, r, gr, b, al});
    }
    for (uint32_t i : mesh->Indices) indices.push_back(first + i);
  };

  // One stretch of opaque objects under one anchor: a draw per polygon offset and material.
  struct TGroup {
    bool Flat;
    TGLFaceProperties Front;
    std::vector<uint32_t> Indices;
  };
  std::vector<TGroup> groups;
  std::vector<const TItem*> lines;
  int runAnchor = -1;
  auto flush = [&] {
    for (TGroup& group : groups) {
      if (group.Indices.empty()) continue;
      TGLDraw d;
      d.Anchor = runAnchor;
      d.FirstIndex = static_cast<uint32_t>(List_.Indices.size());
      d.IndexCount = static_cast<uint32_t>(group.Indices.size());
      d.Flat = group.Flat;
      d.Front = group.Front;
      List_.Indices.insert(List_.Indices.end(), group.Indices.begin(), group.Indices.end());
      List_.Draws.push_back(d);
    }
    for (const TItem* item : lines) {
      TGLDraw d;
      d.Kind = TGLDraw::Lines;
      d.Anchor = item->Anchor;
      d.Line = static_cast<const TGLLines*>(item->Object);
      d.LineMatrix = item->Rel;
      List_.Draws.push_back(d);
    }
    groups.clear();
    lines.clear();
  };

  for (const TItem& item : Items_) {
    if (!item.Geometry) {
      if (runAnchor != item.Anchor) flush();
      runAnchor = item.Anchor;
      lines.push_back(&item);
      continue;
    }
    const TGLCachedGeometry& g = *item.Geometry;
    if (g.Empty || !Finite(item.Rel)) continue;
    const bool flat = g.Text || (g.Quadric && g.Shape.Flat);
    const TGLFaceProperties rest = Rest(item.Front);
    if (item.Blended) {
      flush();
      runAnchor = item.Anchor;
      // Blended objects that follow one another with the same state share a draw: the order of
      // their triangles is kept within it.
      TGLDraw* last = List_.Draws.empty() ? nullptr : &List_.Draws.back();
      const bool join = last && last->Kind == TGLDraw::Triangles && last->Blended && last->Anchor == item.Anchor &&
                        last->Flat == flat && SameBits(last->Front, rest) &&
                        last->FirstIndex + last->IndexCount == List_.Indices.size();
      if (!join) {
        TGLDraw d;
        d.Anchor = item.Anchor;
        d.FirstIndex = static_cast<uint32_t>(List_.Indices.size());
        d.Flat = flat;
        d.Blended = true;
        d.Front = rest;
        List_.Draws.push_back(d);
        last = &List_.Draws.back();
      }
      const size_t before = List_.Indices.size();
      emit(item, List_.Indices);
      last->IndexCount += static_cast<uint32_t>(List_.Indices.size() - before);
      runAnchor = -1;  // the next opaque object starts a stretch of its own
      continue;
    }
    if (runAnchor != item.Anchor) {
      flush();
      runAnchor = item.Anchor;
    }
    auto group = std::find_if(groups.begin(), groups.end(),
                              [&](const TGroup& x) { return x.Flat == flat && SameBits(x.Front, rest); });
    if (group == groups.end()) group = groups.insert(groups.end(), TGroup{flat, rest, {}});
    emit(item, group->Indices);
  }
  flush();
  // Shapes no object uses any more are dropped.
  Shapes_ = std::move(used);
}

}  // namespace qv
