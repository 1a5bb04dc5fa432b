// Frame and geometry-build times of the scene layer on scenes of many holes' worth of primitives
// (per hole six quadric pieces of 16 slices and two short texts) at the design view's 548 x 710
// pixels, next to the floor of the rasteriser: the same triangles from one vertex buffer per
// material. And the layout of 1 000 distinct short texts once their glyphs are known.
#include <benchmark/benchmark.h>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <map>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "scene/gl/OffscreenRender.h"

namespace qv {
namespace {

constexpr int Width = 548, Height = 710;

// A small deterministic generator, so that every run draws the same scene.
struct TRandom {
  uint32_t State = 12345;
  float Next() {
    State = State * 1664525u + 1013904223u;
    return static_cast<float>(State >> 8) / static_cast<float>(1u << 24);
  }
  float Range(float lo, float hi) { return lo + (hi - lo) * Next(); }
};

const uint32_t GroupColors[4] = {0x0000FF, 0x00FF00, 0xFFFF00, 0xC0C0C0};

// A block 5 x 3 x 2 scene units centred on the origin, as the view reset makes it, with holes
// drilled into all six faces: a stepped bore with a drill point, a thread sleeve and a flat ring,
// and a number and a label on the face.
void BuildHoles(TGLDummyCube& root, int holes) {
  root.DeleteChildren();
  TRandom r;
  const TVector3f half{2.5f, 1.5f, 1.0f};
  for (int i = 0; i < holes; ++i) {
    const int face = i % 6;
    const int axis = face / 2;            // 0: x, 1: y, 2: z
    const float sign = face % 2 ? -1.0f : 1.0f;
    TVector3f n{0, 0, 0}, p{0, 0, 0}, entry;
    (axis == 0 ? n.X : axis == 1 ? n.Y : n.Z) = sign;
    (axis == 0 ? p.Y : p.X) = 1.0f;  // an in-plane direction
    entry = {r.Range(-half.X, half.X), r.Range(-half.Y, half.Y), r.Range(-half.Z, half.Z)};
    (axis == 0 ? entry.X : axis == 1 ? entry.Y : entry.Z) = sign * (axis == 0 ? half.X : axis == 1 ? half.Y : half.Z);
    const uint32_t color = GroupColors[i % 4];
    const float radius = r.Range(0.04f, 0.12f), depth = r.Range(0.3f, 0.9f);

    auto piece = [&](TGLBaseSceneObject& parent, auto& o, float y) -> decltype(o) {
      o.SetPosition(0, y, 0);
      o.Slices = 16;
      o.Stacks = 1;
      o.GetMaterial().FrontProperties.SetDiffuseColor(color);
      (void)parent;
      return o;
    };
    auto& body = root.AddNewChild<TGLCylinder>();
    body.SetPosition(entry.X - n.X * depth / 2, entry.Y - n.Y * depth / 2, entry.Z - n.Z * depth / 2);
    body.SetUp(n);
    body.SetDirection(p);
    body.Slices = 16;
    body.Stacks = 1;
    body.BottomRadius = body.TopRadius = radius;
    body.Height = depth;
    body.GetMaterial().FrontProperties.SetDiffuseColor(color);
    auto& point = piece(body, body.AddNewChild<TGLCylinder>(), -depth / 2 - radius * 0.3f);
    point.BottomRadius = 0;
    point.TopRadius = radius;
    point.Height = radius * 0.6f;
    auto& lower = piece(body, body.AddNewChild<TGLCylinder>(), -depth / 2 - 0.3f);
    lower.BottomRadius = lower.TopRadius = radius * 0.5f;
    lower.Height = 0.6f;
    auto& lowerPoint = piece(body, body.AddNewChild<TGLCylinder>(), -depth / 2 - 0.6f - radius * 0.15f);
    lowerPoint.BottomRadius = 0;
    lowerPoint.TopRadius = radius * 0.5f;
    lowerPoint.Height = radius * 0.3f;
    auto& sleeve = piece(body, body.AddNewChild<TGLAnnulus>(), depth / 4);
    sleeve.BottomRadius = sleeve.TopRadius = sleeve.BottomInnerRadius = sleeve.TopInnerRadius = radius * 1.05f;
    sleeve.Height = depth / 2;
    auto& ring = piece(body, body.AddNewChild<TGLAnnulus>(), -depth / 2);
    ring.Height = 0;
    ring.TopRadius = ring.TopInnerRadius = radius;
    ring.BottomRadius = ring.BottomInnerRadius = radius * 0.5f;

    for (int t = 0; t < 2; ++t) {
      auto& text = root.AddNewChild<TGLSpaceText>();
      text.Text = t == 0 ? std::to_string(i + 1) : "P" + std::to_string(i % 97);
      text.TextHeight = 0.05f;
      text.SetDirection(n);
      text.SetUp(VectorCross(n, p));
      text.SetPosition(entry.X + p.X * (radius + 0.02f), entry.Y + p.Y * (radius + 0.02f) - 0.06f * t * (axis != 1),
                       entry.Z + p.Z * (radius + 0.02f) - 0.06f * t * (axis == 1));
      text.GetMaterial().FrontProperties.SetDiffuseColor(color);
    }
  }
}

TGLViewState DesignView() {
  TGLViewState view;
  view.Camera.Position = {10.0f, 10.0f, 5.0f};
  return view;
}

struct TFixture {
  TOffscreenRenderer Offscreen;
  TGLDummyCube Root;
  TGLViewState View = DesignView();
};

void Frame(TFixture& f) {
  std::string error;
  if (!f.Offscreen.Draw(f.Root, f.View, Width, Height, error)) std::fprintf(stderr, "%s\n", error.c_str());
  glFinish();
}

GLuint64 CountTriangles(const std::function<void()>& draw) {
  GLuint query = 0;
  glGenQueries(1, &query);
  glBeginQuery(GL_PRIMITIVES_GENERATED, query);
  draw();
  glEndQuery(GL_PRIMITIVES_GENERATED);
  GLuint64 count = 0;
  glGetQueryObjectui64v(query, GL_QUERY_RESULT, &count);
  glDeleteQueries(1, &query);
  return count;
}

void BM_Frame(benchmark::State& state) {
  TFixture f;
  BuildHoles(f.Root, static_cast<int>(state.range(0)));
  Frame(f);
  // Turning the model between frames, as continuous orbit does, so no frame repeats the last.
  float angle = 0;
  const GLuint64 triangles = CountTriangles([&] { Frame(f); });
  for (auto _ : state) {
    angle += 0.05f;
    f.View.Camera.Position = {15.0f * std::cos(angle), 15.0f * std::sin(angle), 5.0f};
    Frame(f);
  }
  state.counters["triangles"] = static_cast<double>(triangles);
}

// The same frames with every object drawn at its full detail, for comparison.
void BM_FrameFullDetail(benchmark::State& state) {
  TFixture f;
  f.Offscreen.Renderer().SetLevelOfDetail(false);
  BuildHoles(f.Root, static_cast<int>(state.range(0)));
  Frame(f);
  float angle = 0;
  for (auto _ : state) {
    angle += 0.05f;
    f.View.Camera.Position = {15.0f * std::cos(angle), 15.0f * std::sin(angle), 5.0f};
    Frame(f);
  }
}

void BM_GeometryBuild(benchmark::State& state) {
  TFixture f;
  Frame(f);
  for (auto _ : state) {
    BuildHoles(f.Root, static_cast<int>(state.range(0)));
    f.Offscreen.Renderer().PrepareGeometry(f.Root);
    glFinish();
    state.PauseTiming();
    f.Root.DeleteChildren();
    Frame(f);  // hands the freed lists back
    state.ResumeTiming();
  }
}

// The floor: every triangle of the scene, already in world coordinates, in one indexed vertex
// buffer per material (corners shared as far as they coincide), drawn with the same lighting.
struct TFloorBuffer {
  GLuint Buffer = 0;
  GLuint Elements = 0;
  GLsizei Indices = 0;
  TGLFaceProperties Front;
  bool Text = false;
};

struct TVertex {
  float X, Y, Z, NX, NY, NZ;
  bool operator==(const TVertex&) const = default;
};

struct TVertexHash {
  size_t operator()(const TVertex& v) const {
    size_t h = 0;
    for (float f : {v.X, v.Y, v.Z, v.NX, v.NY, v.NZ}) {
      uint32_t bits;
      std::memcpy(&bits, &f, 4);
      h = h * 1000003u ^ bits;
    }
    return h;
  }
};

// Separate triangles to shared corners and indices.
void Index(const std::vector<TVertex>& soup, std::vector<TVertex>& corners, std::vector<uint32_t>& indices) {
  std::unordered_map<TVertex, uint32_t, TVertexHash> seen;
  for (const TVertex& v : soup) {
    auto [it, added] = seen.try_emplace(v, static_cast<uint32_t>(corners.size()));
    if (added) corners.push_back(v);
    indices.push_back(it->second);
  }
}

// The triangles GLU makes for the renderer's quadrics: per stack a quad strip of Slices quads,
// per disc a fan of Slices triangles (inner radius 0) or a strip of Slices quads per loop.
void AddQuadric(std::vector<TVertex>& out, const TMatrix4& world, float bottom, float top, float bottomInner,
                float topInner, float h, int slices, bool annulus) {
  auto add = [&](float x, float y, float z, float nx, float ny, float nz) {
    const TVector3f p = world.TransformPoint({x, y, z});
    const TVector3f o = world.TransformPoint({0, 0, 0});
    const TVector3f q = world.TransformPoint({nx, ny, nz});
    out.push_back({p.X, p.Y, p.Z, q.X - o.X, q.Y - o.Y, q.Z - o.Z});
  };
  auto side = [&](float rb, float rt, bool inward) {
    for (int s = 0; s < slices; ++s) {
      const double a0 = 2 * std::numbers::pi * s / slices, a1 = 2 * std::numbers::pi * (s + 1) / slices;
      const float c0 = static_cast<float>(std::cos(a0)), s0 = static_cast<float>(std::sin(a0));
      const float c1 = static_cast<float>(std::cos(a1)), s1 = static_cast<float>(std::sin(a1));
      const float sg = inward ? -1.0f : 1.0f;
      TVertex quad[4];
      (void)quad;
      add(rb * c0, -h / 2, rb * s0, sg * c0, 0, sg * s0);
      add(rb * c1, -h / 2, rb * s1, sg * c1, 0, sg * s1);
      add(rt * c1, h / 2, rt * s1, sg * c1, 0, sg * s1);
      add(rb * c0, -h / 2, rb * s0, sg * c0, 0, sg * s0);
      add(rt * c1, h / 2, rt * s1, sg * c1, 0, sg * s1);
      add(rt * c0, h / 2, rt * s0, sg * c0, 0, sg * s0);
    }
  };
  auto disc = [&](float inner, float outer, float y, float ny) {
    if (inner == outer) return;
    for (int s = 0; s < slices; ++s) {
      const double a0 = 2 * std::numbers::pi * s / slices, a1 = 2 * std::numbers::pi * (s + 1) / slices;
      const float c0 = static_cast<float>(std::cos(a0)), s0 = static_cast<float>(std::sin(a0));
      const float c1 = static_cast<float>(std::cos(a1)), s1 = static_cast<float>(std::sin(a1));
      add(outer * c0, y, outer * s0, 0, ny, 0);
      add(outer * c1, y, outer * s1, 0, ny, 0);
      add(inner * c1, y, inner * s1, 0, ny, 0);
      if (inner > 0) {
        add(outer * c0, y, outer * s0, 0, ny, 0);
        add(inner * c1, y, inner * s1, 0, ny, 0);
        add(inner * c0, y, inner * s0, 0, ny, 0);
      }
    }
  };
  side(bottom, top, false);
  if (annulus) side(bottomInner, topInner, true);
  disc(annulus ? topInner : 0, top, h / 2, 1);
  disc(annulus ? bottomInner : 0, bottom, -h / 2, -1);
}

void CollectFloor(TGLRenderer& renderer, const TGLBaseSceneObject& o, const TMatrix4& parent,
                  std::map<std::pair<uint32_t, bool>, std::pair<TGLFaceProperties, std::vector<TVertex>>>& buffers) {
  const TMatrix4 world = parent * o.LocalMatrix();
  if (const TGLMaterial* m = o.Material()) {
    const TColorVector& d = m->FrontProperties.Diffuse;
    const uint32_t key = static_cast<uint32_t>(d.R * 255) | static_cast<uint32_t>(d.G * 255) << 8 |
                         static_cast<uint32_t>(d.B * 255) << 16;
    const bool text = o.Kind() == TGLObjectKind::SpaceText;
    auto& [front, vertices] = buffers[{key, text}];
    front = m->FrontProperties;
    if (o.Kind() == TGLObjectKind::Cylinder) {
      const auto& c = static_cast<const TGLCylinder&>(o);
      AddQuadric(vertices, world, c.BottomRadius, c.TopRadius, 0, 0, c.Height, c.Slices, false);
    } else if (o.Kind() == TGLObjectKind::Annulus) {
      const auto& a = static_cast<const TGLAnnulus&>(o);
      AddQuadric(vertices, world, a.BottomRadius, a.TopRadius, a.BottomInnerRadius, a.TopInnerRadius, a.Height,
                 a.Slices, true);
    } else if (text) {
      const auto& t = static_cast<const TGLSpaceText&>(o);
      std::vector<TFontPoint> tris;
      renderer.Glyphs().LayoutText(t.Text, t.Adjust.Horz, t.Adjust.Vert, t.TextHeight, t.Oblique, tris);
      const TVector3f origin = world.TransformPoint({0, 0, 0}), z = world.TransformPoint({0, 0, 1});
      for (const TFontPoint& p : tris) {
        const TVector3f w = world.TransformPoint({p.X, p.Y, 0});
        vertices.push_back({w.X, w.Y, w.Z, z.X - origin.X, z.Y - origin.Y, z.Z - origin.Z});
      }
    }
  }
  for (int i = 0; i < o.Count(); ++i) CollectFloor(renderer, o.Children(i), world, buffers);
}

void BM_FloorOneBufferPerMaterial(benchmark::State& state) {
  TFixture f;
  BuildHoles(f.Root, static_cast<int>(state.range(0)));
  TGLDummyCube empty;
  Frame(f);
  std::map<std::pair<uint32_t, bool>, std::pair<TGLFaceProperties, std::vector<TVertex>>> collected;
  CollectFloor(f.Offscreen.Renderer(), f.Root, TMatrix4::Identity(), collected);
  std::vector<TFloorBuffer> buffers;
  for (auto& [key, entry] : collected) {
    TFloorBuffer b;
    b.Front = entry.first;
    b.Text = key.second;
    std::vector<TVertex> corners;
    std::vector<uint32_t> indices;
    Index(entry.second, corners, indices);
    b.Indices = static_cast<GLsizei>(indices.size());
    glGenBuffers(1, &b.Buffer);
    glBindBuffer(GL_ARRAY_BUFFER, b.Buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(corners.size() * sizeof(TVertex)), corners.data(),
                 GL_STATIC_DRAW);
    glGenBuffers(1, &b.Elements);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, b.Elements);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(uint32_t)),
                 indices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    buffers.push_back(b);
  }
  auto draw = [&] {
    std::string error;
    // The renderer with an empty tree: clear, projection, camera and lights exactly as usual.
    f.Offscreen.Draw(empty, f.View, Width, Height, error);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    for (const TFloorBuffer& b : buffers) {
      const GLfloat diffuse[4] = {b.Front.Diffuse.R, b.Front.Diffuse.G, b.Front.Diffuse.B, b.Front.Diffuse.A};
      glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
      b.Text ? glEnable(GL_POLYGON_OFFSET_FILL) : glDisable(GL_POLYGON_OFFSET_FILL);
      glBindBuffer(GL_ARRAY_BUFFER, b.Buffer);
      glVertexPointer(3, GL_FLOAT, sizeof(TVertex), nullptr);
      glNormalPointer(GL_FLOAT, sizeof(TVertex), reinterpret_cast<const void*>(3 * sizeof(float)));
      glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, b.Elements);
      glDrawElements(GL_TRIANGLES, b.Indices, GL_UNSIGNED_INT, nullptr);
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glFinish();
  };
  draw();
  const GLuint64 triangles = CountTriangles(draw);
  float angle = 0;
  for (auto _ : state) {
    angle += 0.05f;
    f.View.Camera.Position = {15.0f * std::cos(angle), 15.0f * std::sin(angle), 5.0f};
    draw();
  }
  state.counters["triangles"] = static_cast<double>(triangles);
  for (TFloorBuffer& b : buffers) {
    glDeleteBuffers(1, &b.Buffer);
    glDeleteBuffers(1, &b.Elements);
  }
}

void BM_LayoutDistinctTexts(benchmark::State& state) {
  TGLGlyphCache cache;
  std::vector<std::string> texts;
  for (int i = 0; i < 1000; ++i) texts.push_back((i % 3 == 0 ? "P" : i % 3 == 1 ? "T" : "") + std::to_string(i * 7 + 1));
  std::vector<TFontPoint> points;
  std::vector<uint32_t> indices;
  // The first pass meets every glyph and tessellates it.
  for (const std::string& t : texts) cache.LayoutMesh(t, haLeft, vaBaseLine, 0.05f, 0.0f, points, indices);
  for (auto _ : state) {
    for (const std::string& t : texts) {
      points.clear();
      indices.clear();
      cache.LayoutMesh(t, haCenter, vaCenter, 0.05f, 90.0f, points, indices);
    }
    benchmark::DoNotOptimize(points.data());
  }
  state.counters["glyphs_tessellated"] = cache.TessellatedGlyphs();
}

BENCHMARK(BM_Frame)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_FrameFullDetail)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_FloorOneBufferPerMaterial)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_GeometryBuild)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(BM_LayoutDistinctTexts)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace qv

BENCHMARK_MAIN();
