#include "scene/gl/GLRenderer.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <map>
#include <unordered_set>
#include <variant>

namespace qv {

namespace {

// A surface of revolution of unit size: radii relative to the largest, height 1 (0 for a flat
// ring). Objects of the same shape share its display list and differ only in their matrix.
struct TShapeKey {
  bool Annulus;
  bool Flat;
  float Bottom, Top, BottomInner, TopInner;
  int Slices, Stacks, Loops;
  auto operator<=>(const TShapeKey&) const = default;
};

struct TShape {
  GLuint List = 0;
  int Users = 0;
};

}  // namespace

// The display lists and buffers of one context. Cached geometry that dies gives its share back
// here, and the next frame (with the context current) deletes what nobody uses any more.
struct TGLListPool {
  unsigned Generation = 1;
  std::map<TShapeKey, TShape> Shapes;
  std::unordered_set<GLuint> Buffers;
  std::vector<GLuint> GarbageBuffers;
};

namespace {

// Sizes compare bit for bit: a NaN from a damaged document must still match itself, or its
// object would be generated anew every frame.
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
};

using TGeometryKey = std::variant<std::monostate, TCubeKey, TQuadricKey, TTextKey>;

// Hostile or careless sizes must not make GLU generate millions of vertices.
int Clamp(int value, int low) { return std::clamp(value, low, 1024); }

TQuadricKey QuadricKey(const TGLCylinder& c) {
  return {false, c.BottomRadius, c.TopRadius, 0, 0, c.Height, Clamp(c.Slices, 2), Clamp(c.Stacks, 1),
          Clamp(c.Loops, 1)};
}

TQuadricKey QuadricKey(const TGLAnnulus& a) {
  return {true, a.BottomRadius, a.TopRadius, a.BottomInnerRadius, a.TopInnerRadius, a.Height,
          Clamp(a.Slices, 2), Clamp(a.Stacks, 1), Clamp(a.Loops, 1)};
}

bool KeyMatches(const TGeometryKey& key, const TGLBaseSceneObject& o) {
  switch (o.Kind()) {
    case TGLObjectKind::Cube: {
      const auto& c = static_cast<const TGLCube&>(o);
      const auto* k = std::get_if<TCubeKey>(&key);
      return k && *k == TCubeKey{c.CubeWidth, c.CubeHeight, c.CubeDepth};
    }
    case TGLObjectKind::Cylinder: {
      const auto* k = std::get_if<TQuadricKey>(&key);
      return k && *k == QuadricKey(static_cast<const TGLCylinder&>(o));
    }
    case TGLObjectKind::Annulus: {
      const auto* k = std::get_if<TQuadricKey>(&key);
      return k && *k == QuadricKey(static_cast<const TGLAnnulus&>(o));
    }
    case TGLObjectKind::SpaceText: {
      const auto& t = static_cast<const TGLSpaceText&>(o);
      const auto* k = std::get_if<TTextKey>(&key);
      return k && k->Text == t.Text && Same(k->TextHeight, t.TextHeight) && Same(k->Oblique, t.Oblique) &&
             k->Horz == t.Adjust.Horz && k->Vert == t.Adjust.Vert;
    }
    default: return false;
  }
}

TGeometryKey MakeKey(const TGLBaseSceneObject& o) {
  switch (o.Kind()) {
    case TGLObjectKind::Cube: {
      const auto& c = static_cast<const TGLCube&>(o);
      return TCubeKey{c.CubeWidth, c.CubeHeight, c.CubeDepth};
    }
    case TGLObjectKind::Cylinder: return QuadricKey(static_cast<const TGLCylinder&>(o));
    case TGLObjectKind::Annulus: return QuadricKey(static_cast<const TGLAnnulus&>(o));
    case TGLObjectKind::SpaceText: {
      const auto& t = static_cast<const TGLSpaceText&>(o);
      return TTextKey{t.Text, t.TextHeight, t.Oblique, t.Adjust.Horz, t.Adjust.Vert};
    }
    default: return std::monostate{};
  }
}

TMatrix4 LookAt(const TGLCameraState& camera) {
  const TVector3f& e = camera.Position;
  TVector3f f{camera.Target.X - e.X, camera.Target.Y - e.Y, camera.Target.Z - e.Z};
  auto normalise = [](TVector3f v) {
    const float l = VectorLength(v);
    return l > 0.0f ? TVector3f{v.X / l, v.Y / l, v.Z / l} : v;
  };
  f = normalise(f);
  if (VectorLength(f) == 0.0f) f = {0.0f, 1.0f, 0.0f};
  TVector3f s = normalise(VectorCross(f, camera.Up));
  // Looking straight along the up vector: any side direction will do.
  if (VectorLength(s) == 0.0f) s = normalise(VectorCross(f, {0.0f, 1.0f, 0.0f}));
  if (VectorLength(s) == 0.0f) s = {1.0f, 0.0f, 0.0f};
  const TVector3f u = VectorCross(s, f);
  TMatrix4 m;
  const TVector3f rows[3] = {s, u, {-f.X, -f.Y, -f.Z}};
  for (int r = 0; r < 3; ++r) {
    m(r, 0) = rows[r].X;
    m(r, 1) = rows[r].Y;
    m(r, 2) = rows[r].Z;
    m(r, 3) = -(rows[r].X * e.X + rows[r].Y * e.Y + rows[r].Z * e.Z);
  }
  return m;
}

// The twelve triangles of a box, counter-clockwise seen from outside: position and normal.
void CubeVertices(const TGLCube& c, std::vector<float>& out) {
  const float x = c.CubeWidth / 2, y = c.CubeHeight / 2, z = c.CubeDepth / 2;
  struct TFace {
    float N[3];
    float V[4][3];
  };
  const TFace faces[6] = {
      {{0, 0, 1}, {{-x, -y, z}, {x, -y, z}, {x, y, z}, {-x, y, z}}},
      {{0, 0, -1}, {{-x, -y, -z}, {-x, y, -z}, {x, y, -z}, {x, -y, -z}}},
      {{1, 0, 0}, {{x, -y, -z}, {x, y, -z}, {x, y, z}, {x, -y, z}}},
      {{-1, 0, 0}, {{-x, -y, -z}, {-x, -y, z}, {-x, y, z}, {-x, y, -z}}},
      {{0, 1, 0}, {{-x, y, -z}, {-x, y, z}, {x, y, z}, {x, y, -z}}},
      {{0, -1, 0}, {{-x, -y, -z}, {x, -y, -z}, {x, -y, z}, {-x, -y, z}}},
  };
  out.clear();
  for (const TFace& f : faces)
    for (int corner : {0, 1, 2, 0, 2, 3}) {
      out.insert(out.end(), f.V[corner], f.V[corner] + 3);
      out.insert(out.end(), f.N, f.N + 3);
    }
}

// GLU builds surfaces of revolution along +Z from z = 0; ours run along local Y, centred. The
// renderer puts this turn (and the object's size) into the matrix it loads for the object, so
// that the list holds one matrix operation only (for the top ring).
TMatrix4 QuadricBase(float height) {
  TMatrix4 m;  // translate (0, -h/2, 0), then rotate -90 degrees about X: z -> y, y -> -z
  m(1, 1) = 0;
  m(1, 2) = 1;
  m(2, 1) = -1;
  m(2, 2) = 0;
  m(1, 3) = -height / 2.0;
  return m;
}

void EmitShape(GLUquadric* q, const TShapeKey& k) {
  const float h = k.Flat ? 0.0f : 1.0f;
  const float topInner = k.Annulus ? k.TopInner : 0.0f;
  const float bottomInner = k.Annulus ? k.BottomInner : 0.0f;
  // Rings of no width (a pointed cone's tip, an annulus drawn as an open tube) are left out.
  if (k.Bottom != bottomInner) {
    gluQuadricOrientation(q, GLU_INSIDE);
    gluDisk(q, bottomInner, k.Bottom, k.Slices, k.Loops);
  }
  gluQuadricOrientation(q, GLU_OUTSIDE);
  gluCylinder(q, k.Bottom, k.Top, h, k.Slices, k.Stacks);
  if (k.Annulus) {
    gluQuadricOrientation(q, GLU_INSIDE);
    gluCylinder(q, k.BottomInner, k.TopInner, h, k.Slices, k.Stacks);
  }
  if (k.Top != topInner) {
    gluQuadricOrientation(q, GLU_OUTSIDE);
    glTranslatef(0.0f, 0.0f, h);
    gluDisk(q, topInner, k.Top, k.Slices, k.Loops);
  }
}

// The unit shape of a quadric and the scale that sizes it: false when there is nothing to draw
// (all radii 0) or GLU would refuse the sizes (negative or not finite).
bool ShapeOf(const TQuadricKey& q, TShapeKey& shape, TVector3f& scale) {
  const float values[5] = {q.Bottom, q.Top, q.BottomInner, q.TopInner, q.Height};
  for (float v : values)
    if (!std::isfinite(v) || v < 0.0f) return false;
  const float r = std::max(std::max(q.Bottom, q.Top), q.Annulus ? std::max(q.BottomInner, q.TopInner) : 0.0f);
  if (r == 0.0f) return false;
  shape = {q.Annulus, q.Height == 0.0f, q.Bottom / r, q.Top / r, q.Annulus ? q.BottomInner / r : 0.0f,
           q.Annulus ? q.TopInner / r : 0.0f, q.Slices, q.Stacks, q.Loops};
  scale = {r, q.Height == 0.0f ? 1.0f : q.Height, r};
  return true;
}

void SetColor(GLenum face, GLenum what, const TColorVector& c) {
  const GLfloat v[4] = {c.R, c.G, c.B, c.A};
  glMaterialfv(face, what, v);
}

void SetFaceProperties(GLenum face, const TGLFaceProperties& p) {
  SetColor(face, GL_AMBIENT, p.Ambient);
  SetColor(face, GL_DIFFUSE, p.Diffuse);
  SetColor(face, GL_EMISSION, p.Emission);
  SetColor(face, GL_SPECULAR, p.Specular);
  glMaterialf(face, GL_SHININESS, std::clamp(p.Shininess, 0.0f, 128.0f));
}

void SetLight(GLenum light, const TGLLightState& l) {
  if (!l.Enabled) {
    glDisable(light);
    return;
  }
  glEnable(light);
  const GLfloat position[4] = {l.Position.X, l.Position.Y, l.Position.Z, 1.0f};
  glLightfv(light, GL_POSITION, position);
  const GLfloat ambient[4] = {l.Ambient.R, l.Ambient.G, l.Ambient.B, l.Ambient.A};
  const GLfloat diffuse[4] = {l.Diffuse.R, l.Diffuse.G, l.Diffuse.B, l.Diffuse.A};
  const GLfloat specular[4] = {l.Specular.R, l.Specular.G, l.Specular.B, l.Specular.A};
  glLightfv(light, GL_AMBIENT, ambient);
  glLightfv(light, GL_DIFFUSE, diffuse);
  glLightfv(light, GL_SPECULAR, specular);
  glLightf(light, GL_SPOT_CUTOFF, l.SpotCutOff);
  glLightf(light, GL_CONSTANT_ATTENUATION, l.ConstantAttenuation);
  glLightf(light, GL_LINEAR_ATTENUATION, l.LinearAttenuation);
  glLightf(light, GL_QUADRATIC_ATTENUATION, l.QuadraticAttenuation);
}

}  // namespace

struct TGLCachedGeometry {
  std::weak_ptr<TGLListPool> Pool;
  unsigned Generation = 0;
  TGeometryKey Key;           // the object's properties it was made from
  bool Empty = false;         // nothing to draw
  // A quadric: the shared unit shape and the matrix that sizes it (list 0: drawn directly).
  const TShapeKey* Shape = nullptr;
  TMatrix4 ShapeMatrix;
  // A box or a text: its own vertex buffer. A box's holds position and normal of separate
  // triangles; a text's holds x and y of its points followed by the indices of its triangles.
  GLuint Buffer = 0;
  GLsizei Vertices = 0;  // a box's vertices, a text's indices
  bool Text = false;
  GLenum IndexType = GL_UNSIGNED_SHORT;
  size_t IndexOffset = 0;
  std::vector<unsigned char> Local;  // a box's vertices when the context had no buffer left

  ~TGLCachedGeometry() {
    auto pool = Pool.lock();
    if (!pool || pool->Generation != Generation) return;
    if (Shape) --pool->Shapes[*Shape].Users;
    if (Buffer && pool->Buffers.erase(Buffer)) pool->GarbageBuffers.push_back(Buffer);
  }
};

TGLGeometryHandle::TGLGeometryHandle() = default;
TGLGeometryHandle::~TGLGeometryHandle() = default;
void TGLGeometryHandle::Reset(std::unique_ptr<TGLCachedGeometry> cached) { Cached_ = std::move(cached); }

double PixelsPerUnit(const TGLCameraState& camera) { return 2.0 * camera.FocalLength * 96.0 / 25.4; }

TGLFrustum ViewFrustum(const TGLCameraState& camera, int width, int height) {
  const double ppu = PixelsPerUnit(camera);
  const double largest = std::max(1, std::max(width, height));
  const double nearPlane = ppu / largest;
  const double halfW = width / 2.0 / ppu * nearPlane, halfH = height / 2.0 / ppu * nearPlane;
  return {-halfW, halfW, -halfH, halfH, nearPlane, nearPlane + camera.DepthOfView};
}

struct TGLRenderer::TFrame {
  TMatrix4 View;
  TVector3f Eye;
  bool Lighting = true;
  int Blend = -1;  // -1 unknown, 0 off, 1 on
  int Offset = -1;
  bool HaveMaterial = false;
  TGLFaceProperties Front;
  bool HadBack = false;
  int Arrays = 0;  // client arrays on: 0 none, 2 positions, 3 positions and normals
};

TGLRenderer::TGLRenderer(TFontOpener font)
    : Pool_(std::make_shared<TGLListPool>()), Glyphs_(std::move(font)) {
  GLUquadric* q = gluNewQuadric();
  if (q) {
    gluQuadricNormals(q, GLU_SMOOTH);
    gluQuadricDrawStyle(q, GLU_FILL);
    gluQuadricTexture(q, GL_FALSE);
  }
  Quadric_ = q;
}

TGLRenderer::~TGLRenderer() {
  if (Quadric_) gluDeleteQuadric(static_cast<GLUquadric*>(Quadric_));
}

void TGLRenderer::ReleaseGL() {
  for (const auto& [key, shape] : Pool_->Shapes)
    if (shape.List) glDeleteLists(shape.List, 1);
  for (GLuint b : Pool_->Buffers) glDeleteBuffers(1, &b);
  for (GLuint b : Pool_->GarbageBuffers) glDeleteBuffers(1, &b);
  ContextLost();
}

void TGLRenderer::ContextLost() {
  Pool_->Shapes.clear();
  Pool_->Buffers.clear();
  Pool_->GarbageBuffers.clear();
  ++Pool_->Generation;
}

TGLRenderer::TStatistics TGLRenderer::Statistics() const {
  int lists = 0;
  for (const auto& [key, shape] : Pool_->Shapes) lists += shape.List != 0;
  return {GeometryBuilds_, DrawnObjects_, lists, static_cast<int>(Pool_->Buffers.size())};
}

void TGLRenderer::Report(const std::string& message) {
  if (std::find(Errors_.begin(), Errors_.end(), message) != Errors_.end()) return;
  Errors_.push_back(message);
  if (OnError) OnError(message);
}

void TGLRenderer::Render(const TGLBaseSceneObject& root, const TGLViewState& view, int width, int height) {
  // Shapes nobody uses any more and the buffers of freed objects go now that the context is current.
  for (auto it = Pool_->Shapes.begin(); it != Pool_->Shapes.end();) {
    if (it->second.Users > 0) {
      ++it;
      continue;
    }
    if (it->second.List) glDeleteLists(it->second.List, 1);
    it = Pool_->Shapes.erase(it);
  }
  for (GLuint b : Pool_->GarbageBuffers) glDeleteBuffers(1, &b);
  Pool_->GarbageBuffers.clear();
  DrawOrder_.clear();
  DrawnObjects_ = 0;

  width = std::max(width, 1);
  height = std::max(height, 1);
  glViewport(0, 0, width, height);
  const TColorVector bg = ColorToVector(view.BackgroundColor);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glClearColor(bg.R, bg.G, bg.B, 1.0f);
  glClearDepth(1.0);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  // The picture stays opaque whatever alpha the materials carry.
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);

  const TGLFrustum f = ViewFrustum(view.Camera, width, height);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glFrustum(f.Left, f.Right, f.Bottom, f.Top, f.Near, f.Far);
  glMatrixMode(GL_MODELVIEW);

  TFrame frame;
  frame.View = LookAt(view.Camera);
  frame.Eye = view.Camera.Position;
  glLoadMatrixd(frame.View.M.data());

  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glDepthMask(GL_TRUE);
  glEnable(GL_LIGHTING);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
  glEnable(GL_NORMALIZE);
  glDisable(GL_COLOR_MATERIAL);
  glDisable(GL_TEXTURE_2D);
  glDisable(GL_LINE_STIPPLE);
  glDisable(GL_LINE_SMOOTH);
  glDisable(GL_POLYGON_OFFSET_FILL);
  glPolygonOffset(-1.0f, -1.0f);
  const GLfloat ambient[4] = {view.SceneAmbient, view.SceneAmbient, view.SceneAmbient, 1.0f};
  glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
  glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
  for (int i = 0; i < 2; ++i) SetLight(GL_LIGHT0 + i, view.Lights[static_cast<size_t>(i)]);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);

  DrawTree(frame, root, TMatrix4::Identity());

  if (frame.Arrays) {
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
  }
  glDisable(GL_BLEND);
  glDisable(GL_POLYGON_OFFSET_FILL);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void TGLRenderer::PrepareGeometry(const TGLBaseSceneObject& root) {
  if (!root.Visible) return;
  if (root.Material()) EnsureGeometry(root);
  for (int i = 0; i < root.Count(); ++i) PrepareGeometry(root.Children(i));
}

void TGLRenderer::DrawTree(TFrame& frame, const TGLBaseSceneObject& object, const TMatrix4& parentWorld) {
  if (!object.Visible) return;
  const TMatrix4 world = parentWorld * object.LocalMatrix();
  DrawOwn(frame, object, world);

  struct TDeferred {
    double Distance;
    const TGLBaseSceneObject* Object;
  };
  std::vector<TDeferred> deferred;
  for (int i = 0; i < object.Count(); ++i) {
    const TGLBaseSceneObject& child = object.Children(i);
    if (!child.Visible) continue;
    if (!child.Blended()) {
      DrawTree(frame, child, world);
      continue;
    }
    const TVector3f o = world.TransformPoint(child.Position());
    const double dx = o.X - frame.Eye.X, dy = o.Y - frame.Eye.Y, dz = o.Z - frame.Eye.Z;
    deferred.push_back({dx * dx + dy * dy + dz * dz, &child});
  }
  std::stable_sort(deferred.begin(), deferred.end(),
                   [](const TDeferred& a, const TDeferred& b) { return a.Distance > b.Distance; });
  for (const TDeferred& d : deferred) DrawTree(frame, *d.Object, world);
}

void TGLRenderer::DrawOwn(TFrame& frame, const TGLBaseSceneObject& object, const TMatrix4& world) {
  const TGLObjectKind kind = object.Kind();
  if (kind == TGLObjectKind::DummyCube) return;
  ++DrawnObjects_;
  if (RecordDrawOrder) DrawOrder_.push_back(&object);
  if (kind == TGLObjectKind::Lines) {
    glLoadMatrixd((frame.View * world).M.data());
    DrawLines(frame, static_cast<const TGLLines&>(object));
    return;
  }
  const TGLCachedGeometry& g = EnsureGeometry(object);
  if (g.Empty) return;

  if (!frame.Lighting) {
    glEnable(GL_LIGHTING);
    frame.Lighting = true;
  }
  const TGLMaterial& material = *object.Material();
  ApplyMaterial(frame, material);
  const int blend = material.BlendingMode == bmTransparency ? 1 : 0;
  if (frame.Blend != blend) {
    blend ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
    frame.Blend = blend;
  }
  // Texts and flat rings lie in the faces of the block: pulled slightly towards the eye so that
  // the faces do not fight them for the same depth.
  const bool flat = kind == TGLObjectKind::SpaceText || (g.Shape && g.Shape->Flat);
  if (frame.Offset != static_cast<int>(flat)) {
    flat ? glEnable(GL_POLYGON_OFFSET_FILL) : glDisable(GL_POLYGON_OFFSET_FILL);
    frame.Offset = flat;
  }

  if (g.Shape) {
    glLoadMatrixd((frame.View * world * g.ShapeMatrix).M.data());
    const GLuint list = Pool_->Shapes[*g.Shape].List;
    if (list)
      glCallList(list);
    else if (Quadric_)
      EmitShape(static_cast<GLUquadric*>(Quadric_), *g.Shape);
    return;
  }
  glLoadMatrixd((frame.View * world).M.data());
  const int arrays = g.Text ? 2 : 3;
  if (frame.Arrays != arrays) {
    glEnableClientState(GL_VERTEX_ARRAY);
    g.Text ? glDisableClientState(GL_NORMAL_ARRAY) : glEnableClientState(GL_NORMAL_ARRAY);
    frame.Arrays = arrays;
  }
  glBindBuffer(GL_ARRAY_BUFFER, g.Buffer);
  // Offsets into the buffer, or addresses in memory when there is none.
  const uintptr_t base = g.Buffer ? 0 : reinterpret_cast<uintptr_t>(g.Local.data());
  auto at = [base](size_t offset) { return reinterpret_cast<const void*>(base + offset); };
  if (g.Text) {
    glNormal3f(0.0f, 0.0f, 1.0f);
    glVertexPointer(2, GL_FLOAT, 0, at(0));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, g.Buffer);
    glDrawElements(GL_TRIANGLES, g.Vertices, g.IndexType, at(g.IndexOffset));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    return;
  }
  glVertexPointer(3, GL_FLOAT, 6 * sizeof(float), at(0));
  glNormalPointer(GL_FLOAT, 6 * sizeof(float), at(3 * sizeof(float)));
  glDrawArrays(GL_TRIANGLES, 0, g.Vertices);
}

void TGLRenderer::DrawLines(TFrame& frame, const TGLLines& lines) {
  if (lines.Nodes.empty()) return;
  if (frame.Lighting) {
    glDisable(GL_LIGHTING);
    frame.Lighting = false;
  }
  if (frame.Blend != 0) {
    glDisable(GL_BLEND);
    frame.Blend = 0;
  }
  glLineWidth(std::clamp(lines.LineWidth, 1.0f, 64.0f));
  glColor4f(lines.LineColor.R, lines.LineColor.G, lines.LineColor.B, lines.LineColor.A);
  glBegin(GL_LINE_STRIP);
  for (const TVector3f& p : lines.Nodes) glVertex3f(p.X, p.Y, p.Z);
  glEnd();
}

void TGLRenderer::ApplyMaterial(TFrame& frame, const TGLMaterial& material) {
  const TGLFaceProperties* back = material.BackPropertiesIfAny();
  if (frame.HaveMaterial && !frame.HadBack && !back && frame.Front == material.FrontProperties) return;
  SetFaceProperties(GL_FRONT_AND_BACK, material.FrontProperties);
  if (back) SetFaceProperties(GL_BACK, *back);
  frame.HaveMaterial = true;
  frame.Front = material.FrontProperties;
  frame.HadBack = back != nullptr;
}

TGLCachedGeometry& TGLRenderer::EnsureGeometry(const TGLBaseSceneObject& object) {
  TGLGeometryHandle& handle = object.Geometry();
  TGLCachedGeometry* cached = handle.Get();
  // Geometry made by another renderer (the window's, when the off-screen export draws the same tree)
  // names lists and buffers of another context: never reuse it.
  const bool ours = cached && !cached->Pool.owner_before(Pool_) && !Pool_.owner_before(cached->Pool);
  if (ours && cached->Generation == Pool_->Generation && KeyMatches(cached->Key, object)) return *cached;

  // Made anew: the object is new, a property changed or the context was replaced.
  handle.Reset(nullptr);
  auto fresh = std::make_unique<TGLCachedGeometry>();
  fresh->Pool = Pool_;
  fresh->Generation = Pool_->Generation;
  fresh->Key = MakeKey(object);
  ++GeometryBuilds_;
  const bool quadric = object.Kind() == TGLObjectKind::Cylinder || object.Kind() == TGLObjectKind::Annulus;
  fresh->Empty = !(quadric ? BuildShape(*fresh, object) : BuildBuffer(*fresh, object));
  handle.Reset(std::move(fresh));
  return *handle.Get();
}

bool TGLRenderer::RoomForOneMore() const {
  if (MaxGeometryObjects <= 0) return true;
  const TStatistics s = Statistics();
  return s.ShapeLists + s.Buffers < MaxGeometryObjects;
}

bool TGLRenderer::BuildShape(TGLCachedGeometry& cached, const TGLBaseSceneObject& object) {
  const TQuadricKey& q = std::get<TQuadricKey>(cached.Key);
  TShapeKey key;
  TVector3f scale;
  if (!ShapeOf(q, key, scale)) return false;
  auto [it, added] = Pool_->Shapes.try_emplace(key);
  TShape& shape = it->second;
  ++shape.Users;
  cached.Shape = &it->first;
  TMatrix4 size;
  size(0, 0) = scale.X;
  size(1, 1) = scale.Y;
  size(2, 2) = scale.Z;
  cached.ShapeMatrix = size * QuadricBase(key.Flat ? 0.0f : 1.0f);
  if (added && Quadric_ && RoomForOneMore()) {
    // Without a list (none left) the shape is generated anew every frame.
    shape.List = glGenLists(1);
    if (shape.List) {
      glNewList(shape.List, GL_COMPILE);
      EmitShape(static_cast<GLUquadric*>(Quadric_), key);
      glEndList();
    }
  }
  return true;
}

namespace {

template <class T> void Append(std::vector<unsigned char>& out, const T* data, size_t count) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(data);
  out.insert(out.end(), bytes, bytes + count * sizeof(T));
}

}  // namespace

bool TGLRenderer::BuildBuffer(TGLCachedGeometry& cached, const TGLBaseSceneObject& object) {
  BufferScratch_.clear();
  if (object.Kind() == TGLObjectKind::SpaceText) {
    const auto& t = static_cast<const TGLSpaceText&>(object);
    TextPoints_.clear();
    TextIndices_.clear();
    if (!Glyphs_.LayoutMesh(t.Text, t.Adjust.Horz, t.Adjust.Vert, t.TextHeight, t.Oblique, TextPoints_,
                            TextIndices_)) {
      Report(FontCreationFailed);
      return false;
    }
    if (TextIndices_.empty()) return false;
    Append(BufferScratch_, TextPoints_.data(), TextPoints_.size());
    cached.IndexOffset = BufferScratch_.size();
    if (TextPoints_.size() <= 0xFFFF) {
      std::vector<uint16_t> shortIndices(TextIndices_.begin(), TextIndices_.end());
      Append(BufferScratch_, shortIndices.data(), shortIndices.size());
      cached.IndexType = GL_UNSIGNED_SHORT;
    } else {
      Append(BufferScratch_, TextIndices_.data(), TextIndices_.size());
      cached.IndexType = GL_UNSIGNED_INT;
    }
    cached.Text = true;
    cached.Vertices = static_cast<GLsizei>(TextIndices_.size());
  } else if (object.Kind() == TGLObjectKind::Cube) {
    std::vector<float> vertices;
    CubeVertices(static_cast<const TGLCube&>(object), vertices);
    Append(BufferScratch_, vertices.data(), vertices.size());
    cached.Vertices = static_cast<GLsizei>(vertices.size() / 6);
  } else {
    return false;
  }
  GLuint buffer = 0;
  if (RoomForOneMore()) glGenBuffers(1, &buffer);
  if (buffer) {
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(BufferScratch_.size()), BufferScratch_.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    if (glGetError() == GL_OUT_OF_MEMORY) {
      glDeleteBuffers(1, &buffer);
      buffer = 0;
    }
  }
  if (!buffer) {
    // The context has no room left: a text cannot be drawn (and says so), a box is drawn from
    // memory every frame.
    if (cached.Text) {
      Report(NoMoreDisplayLists);
      return false;
    }
    cached.Local = BufferScratch_;
    return true;
  }
  Pool_->Buffers.insert(buffer);
  cached.Buffer = buffer;
  return true;
}

}  // namespace qv
