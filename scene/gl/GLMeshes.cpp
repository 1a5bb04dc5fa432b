#include "scene/gl/GLMeshes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "scene/gl/GLGlyphs.h"

namespace qv {

namespace {

uint32_t AddVertex(TGLMesh& mesh, const TVector3f& p, const TVector3f& n) {
  mesh.Positions.push_back(p);
  mesh.Normals.push_back(n);
  return static_cast<uint32_t>(mesh.Positions.size() - 1);
}

// Triangles with two corners in one place (a cone's tip, a disc's centre) are left out.
void AddTriangle(TGLMesh& mesh, uint32_t a, uint32_t b, uint32_t c) {
  const auto& p = mesh.Positions;
  if (p[a] == p[b] || p[b] == p[c] || p[a] == p[c]) return;
  mesh.Indices.insert(mesh.Indices.end(), {a, b, c});
}

struct TRing {
  std::vector<float> Sin, Cos;
};

TRing Angles(int slices) {
  TRing ring;
  for (int i = 0; i <= slices; ++i) {
    const double a = i == slices ? 0.0 : 2.0 * std::numbers::pi * i / slices;
    ring.Sin.push_back(static_cast<float>(std::sin(a)));
    ring.Cos.push_back(static_cast<float>(std::cos(a)));
  }
  return ring;
}

// A side from radius r0 at y0 to r1 at y1, facing away from the axis (or towards it when `inward`).
void AddSide(TGLMesh& mesh, const TRing& ring, float r0, float r1, float y0, float y1, int stacks, bool inward) {
  if (r0 == 0.0f && r1 == 0.0f) return;
  const double dy = y1 - y0, dr = r0 - r1, length = std::sqrt(dy * dy + dr * dr);
  const float radial = static_cast<float>(dy / length), axial = static_cast<float>(dr / length);
  const float sign = inward ? -1.0f : 1.0f;
  const int slices = static_cast<int>(ring.Sin.size()) - 1;
  const uint32_t first = static_cast<uint32_t>(mesh.Positions.size());
  for (int j = 0; j <= stacks; ++j) {
    const float t = static_cast<float>(j) / static_cast<float>(stacks);
    const float r = std::lerp(r0, r1, t), y = std::lerp(y0, y1, t);
    for (int i = 0; i <= slices; ++i)
      AddVertex(mesh, {r * ring.Sin[i], y, -r * ring.Cos[i]},
                {sign * radial * ring.Sin[i], sign * axial, -sign * radial * ring.Cos[i]});
  }
  const auto at = [&](int i, int j) { return first + static_cast<uint32_t>(j * (slices + 1) + i); };
  for (int j = 0; j < stacks; ++j)
    for (int i = 0; i < slices; ++i) {
      const uint32_t a = at(i, j), b = at(i + 1, j), c = at(i, j + 1), d = at(i + 1, j + 1);
      if (inward) {
        AddTriangle(mesh, a, b, c);
        AddTriangle(mesh, b, d, c);
      } else {
        AddTriangle(mesh, a, c, b);
        AddTriangle(mesh, b, c, d);
      }
    }
}

// A flat ring at height y from radius inner to outer, facing +Y (or -Y when `down`).
void AddRing(TGLMesh& mesh, const TRing& ring, float inner, float outer, float y, int loops, bool down) {
  if (inner == outer) return;
  const int slices = static_cast<int>(ring.Sin.size()) - 1;
  const TVector3f normal{0.0f, down ? -1.0f : 1.0f, 0.0f};
  const uint32_t first = static_cast<uint32_t>(mesh.Positions.size());
  for (int j = 0; j <= loops; ++j) {
    const float r = std::lerp(inner, outer, static_cast<float>(j) / static_cast<float>(loops));
    for (int i = 0; i <= slices; ++i) AddVertex(mesh, {r * ring.Sin[i], y, -r * ring.Cos[i]}, normal);
  }
  const auto at = [&](int i, int j) { return first + static_cast<uint32_t>(j * (slices + 1) + i); };
  for (int j = 0; j < loops; ++j)
    for (int i = 0; i < slices; ++i) {
      const uint32_t a = at(i, j), b = at(i + 1, j), c = at(i, j + 1), d = at(i + 1, j + 1);
      if (down) {
        AddTriangle(mesh, a, c, b);
        AddTriangle(mesh, b, c, d);
      } else {
        AddTriangle(mesh, a, b, c);
        AddTriangle(mesh, b, d, c);
      }
    }
}

}  // namespace

void AppendBoxMesh(float width, float height, float depth, TGLMesh& mesh) {
  const float x = width / 2, y = height / 2, z = depth / 2;
  struct TFace {
    TVector3f N;
    TVector3f V[4];  // counter-clockwise seen from outside
  };
  const TFace faces[6] = {
      {{0, 0, 1}, {{-x, -y, z}, {x, -y, z}, {x, y, z}, {-x, y, z}}},
      {{0, 0, -1}, {{-x, -y, -z}, {-x, y, -z}, {x, y, -z}, {x, -y, -z}}},
      {{1, 0, 0}, {{x, -y, -z}, {x, y, -z}, {x, y, z}, {x, -y, z}}},
      {{-1, 0, 0}, {{-x, -y, -z}, {-x, -y, z}, {-x, y, z}, {-x, y, -z}}},
      {{0, 1, 0}, {{-x, y, -z}, {-x, y, z}, {x, y, z}, {x, y, -z}}},
      {{0, -1, 0}, {{-x, -y, -z}, {x, -y, -z}, {x, -y, z}, {-x, -y, z}}},
  };
  for (const TFace& f : faces) {
    uint32_t v[4];
    for (int i = 0; i < 4; ++i) v[i] = AddVertex(mesh, f.V[i], f.N);
    AddTriangle(mesh, v[0], v[1], v[2]);
    AddTriangle(mesh, v[0], v[2], v[3]);
  }
}

void AppendRevolutionMesh(const TGLRevolution& s, TGLMesh& mesh) {
  const float bottomInner = s.Tube ? s.BottomInner : 0.0f, topInner = s.Tube ? s.TopInner : 0.0f;
  for (float v : {s.Bottom, s.Top, bottomInner, topInner, s.Height})
    if (!std::isfinite(v) || v < 0.0f) return;
  if (std::max({s.Bottom, s.Top, bottomInner, topInner}) == 0.0f) return;
  const TRing ring = Angles(std::clamp(s.Slices, 2, MaxQuadricDivisions));
  const int stacks = std::clamp(s.Stacks, 1, MaxQuadricDivisions);
  const int loops = std::clamp(s.Loops, 1, MaxQuadricDivisions);
  const float y0 = -s.Height / 2, y1 = s.Height / 2;
  if (s.EndRings) AddRing(mesh, ring, bottomInner, s.Bottom, y0, loops, true);
  if (s.Height > 0.0f) {
    AddSide(mesh, ring, s.Bottom, s.Top, y0, y1, stacks, false);
    if (s.Tube) AddSide(mesh, ring, bottomInner, topInner, y0, y1, stacks, true);
  }
  if (s.EndRings) AddRing(mesh, ring, topInner, s.Top, y1, loops, false);
}

void AppendObjectMesh(const TGLBaseSceneObject& object, TGLMesh& mesh, TGLGlyphCache* glyphs) {
  switch (object.Kind()) {
    case TGLObjectKind::Cube: {
      const auto& c = static_cast<const TGLCube&>(object);
      AppendBoxMesh(c.CubeWidth, c.CubeHeight, c.CubeDepth, mesh);
      break;
    }
    case TGLObjectKind::Cylinder: {
      const auto& c = static_cast<const TGLCylinder&>(object);
      AppendRevolutionMesh({false, c.BottomRadius, c.TopRadius, 0, 0, c.Height, c.Slices, c.Stacks, c.Loops}, mesh);
      break;
    }
    case TGLObjectKind::Annulus: {
      const auto& a = static_cast<const TGLAnnulus&>(object);
      AppendRevolutionMesh({true, a.BottomRadius, a.TopRadius, a.BottomInnerRadius, a.TopInnerRadius, a.Height,
                            a.Slices, a.Stacks, a.Loops},
                           mesh);
      break;
    }
    case TGLObjectKind::SpaceText: {
      const auto& t = static_cast<const TGLSpaceText&>(object);
      std::vector<TFontPoint> points;
      std::vector<uint32_t> indices;
      if (!glyphs || !glyphs->LayoutMesh(t.Text, t.Adjust.Horz, t.Adjust.Vert, t.TextHeight, t.Oblique, points,
                                         indices))
        break;
      const uint32_t first = static_cast<uint32_t>(mesh.Positions.size());
      for (const TFontPoint& p : points) AddVertex(mesh, {p.X, p.Y, 0.0f}, {0.0f, 0.0f, 1.0f});
      for (size_t i = 0; i + 2 < indices.size(); i += 3)
        AddTriangle(mesh, first + indices[i], first + indices[i + 1], first + indices[i + 2]);
      break;
    }
    default: break;
  }
}

}  // namespace qv
