#include "scene/gl/GLRenderer.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <unordered_set>
#include <variant>

namespace qv {

// The display lists of one context. Cached geometry that dies hands its list back here, and the
// next frame (with the context current) deletes it.
struct TGLListPool {
  unsigned Generation = 1;
  std::unordered_set<GLuint> Live;
  std::vector<GLuint> Garbage;
};

namespace {

struct TCubeKey {
  float W, H, D;
  bool operator==(const TCubeKey&) const = default;
};

struct TQuadricKey {
  bool Annulus;
  float Bottom, Top, BottomInner, TopInner, Height;
  int Slices, Stacks, Loops;
  bool operator==(const TQuadricKey&) const = default;
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
      return k && k->Text == t.Text && k->TextHeight == t.TextHeight && k->Oblique == t.Oblique &&
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

void EmitCube(const TGLCube& c) {
  const float x = c.CubeWidth / 2, y = c.CubeHeight / 2, z = c.CubeDepth / 2;
  glBegin(GL_QUADS);
  // Each face counter-clockwise as seen from outside.
  glNormal3f(0, 0, 1);
  glVertex3f(-x, -y, z); glVertex3f(x, -y, z); glVertex3f(x, y, z); glVertex3f(-x, y, z);
  glNormal3f(0, 0, -1);
  glVertex3f(-x, -y, -z); glVertex3f(-x, y, -z); glVertex3f(x, y, -z); glVertex3f(x, -y, -z);
  glNormal3f(1, 0, 0);
  glVertex3f(x, -y, -z); glVertex3f(x, y, -z); glVertex3f(x, y, z); glVertex3f(x, -y, z);
  glNormal3f(-1, 0, 0);
  glVertex3f(-x, -y, -z); glVertex3f(-x, -y, z); glVertex3f(-x, y, z); glVertex3f(-x, y, -z);
  glNormal3f(0, 1, 0);
  glVertex3f(-x, y, -z); glVertex3f(-x, y, z); glVertex3f(x, y, z); glVertex3f(x, y, -z);
  glNormal3f(0, -1, 0);
  glVertex3f(-x, -y, -z); glVertex3f(x, -y, -z); glVertex3f(x, -y, z); glVertex3f(-x, -y, z);
  glEnd();
}

// GLU builds surfaces of revolution along +Z from z = 0; ours run along local Y, centred. The
// renderer puts this turn into the matrix it loads for the object, so that the list holds only
// one matrix operation (for the top ring) and the parts before it can be drawn as one batch.
TMatrix4 QuadricBase(float height) {
  TMatrix4 m;  // translate (0, -h/2, 0), then rotate -90 degrees about X: z -> y, y -> -z
  m(1, 1) = 0;
  m(1, 2) = 1;
  m(2, 1) = -1;
  m(2, 2) = 0;
  m(1, 3) = -height / 2.0;
  return m;
}

void EmitQuadric(GLUquadric* q, const TQuadricKey& k) {
  const float topInner = k.Annulus ? k.TopInner : 0.0f;
  const float bottomInner = k.Annulus ? k.BottomInner : 0.0f;
  // Rings of no width (a pointed cone's tip, an annulus drawn as an open tube) are left out.
  if (k.Bottom != bottomInner) {
    gluQuadricOrientation(q, GLU_INSIDE);
    gluDisk(q, bottomInner, k.Bottom, k.Slices, k.Loops);
  }
  gluQuadricOrientation(q, GLU_OUTSIDE);
  gluCylinder(q, k.Bottom, k.Top, k.Height, k.Slices, k.Stacks);
  if (k.Annulus) {
    gluQuadricOrientation(q, GLU_INSIDE);
    gluCylinder(q, k.BottomInner, k.TopInner, k.Height, k.Slices, k.Stacks);
  }
  if (k.Top != topInner) {
    gluQuadricOrientation(q, GLU_OUTSIDE);
    glTranslatef(0.0f, 0.0f, k.Height);
    gluDisk(q, topInner, k.Top, k.Slices, k.Loops);
  }
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
  GLuint List = 0;
  bool Empty = false;  // nothing to draw (an empty text)
  TGeometryKey Key;

  ~TGLCachedGeometry() {
    if (!List) return;
    if (auto pool = Pool.lock(); pool && pool->Generation == Generation && pool->Live.erase(List))
      pool->Garbage.push_back(List);
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
  for (GLuint list : Pool_->Live) glDeleteLists(list, 1);
  for (GLuint list : Pool_->Garbage) glDeleteLists(list, 1);
  ContextLost();
}

void TGLRenderer::ContextLost() {
  Pool_->Live.clear();
  Pool_->Garbage.clear();
  ++Pool_->Generation;
}

TGLRenderer::TStatistics TGLRenderer::Statistics() const {
  return {GeometryBuilds_, DrawnObjects_, static_cast<int>(Pool_->Live.size())};
}

void TGLRenderer::Report(const std::string& message) {
  if (std::find(Errors_.begin(), Errors_.end(), message) != Errors_.end()) return;
  Errors_.push_back(message);
  if (OnError) OnError(message);
}

void TGLRenderer::Render(const TGLBaseSceneObject& root, const TGLViewState& view, int width, int height) {
  for (GLuint list : Pool_->Garbage) glDeleteLists(list, 1);
  Pool_->Garbage.clear();
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

  glDisable(GL_BLEND);
  glDisable(GL_POLYGON_OFFSET_FILL);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void TGLRenderer::PrepareGeometry(const TGLBaseSceneObject& root) {
  if (!root.Visible) return;
  if (root.Material()) {
    bool immediate = false;
    EnsureGeometry(root, immediate);
  }
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
  TMatrix4 modelView = frame.View * world;
  if (kind == TGLObjectKind::Cylinder) modelView = modelView * QuadricBase(static_cast<const TGLCylinder&>(object).Height);
  if (kind == TGLObjectKind::Annulus) modelView = modelView * QuadricBase(static_cast<const TGLAnnulus&>(object).Height);
  glLoadMatrixd(modelView.M.data());
  if (kind == TGLObjectKind::Lines) {
    DrawLines(frame, static_cast<const TGLLines&>(object));
    return;
  }
  bool immediate = false;
  const GLuint list = EnsureGeometry(object, immediate);
  if (!list && !immediate) return;

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
  const bool flat = kind == TGLObjectKind::SpaceText ||
                    (kind == TGLObjectKind::Annulus && static_cast<const TGLAnnulus&>(object).Height == 0.0f);
  if (frame.Offset != static_cast<int>(flat)) {
    flat ? glEnable(GL_POLYGON_OFFSET_FILL) : glDisable(GL_POLYGON_OFFSET_FILL);
    frame.Offset = flat;
  }
  if (list)
    glCallList(list);
  else
    EmitGeometry(object);
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

GLuint TGLRenderer::EnsureGeometry(const TGLBaseSceneObject& object, bool& immediate) {
  immediate = false;
  TGLGeometryHandle& handle = object.Geometry();
  TGLCachedGeometry* cached = handle.Get();
  if (cached && cached->Generation == Pool_->Generation && KeyMatches(cached->Key, object)) {
    if (cached->Empty) return 0;
    if (cached->List) return cached->List;
  }

  // Generate anew: the object is new, a property changed or the context was replaced.
  handle.Reset(nullptr);
  auto fresh = std::make_unique<TGLCachedGeometry>();
  fresh->Pool = Pool_;
  fresh->Generation = Pool_->Generation;
  fresh->Key = MakeKey(object);
  ++GeometryBuilds_;

  const bool text = object.Kind() == TGLObjectKind::SpaceText;
  if (text) {
    const auto& t = static_cast<const TGLSpaceText&>(object);
    TextScratch_.clear();
    if (!Glyphs_.LayoutText(t.Text, t.Adjust.Horz, t.Adjust.Vert, t.TextHeight, t.Oblique, TextScratch_)) {
      Report(FontCreationFailed);
      handle.Reset(std::move(fresh));
      handle.Get()->Empty = true;
      return 0;
    }
    if (TextScratch_.empty()) {
      fresh->Empty = true;
      handle.Reset(std::move(fresh));
      return 0;
    }
  }

  const bool budget = MaxDisplayLists <= 0 || static_cast<int>(Pool_->Live.size()) < MaxDisplayLists;
  const GLuint list = budget ? glGenLists(1) : 0;
  if (!list) {
    // Out of display lists: a text cannot be drawn (and says so once); other geometry is
    // generated anew every frame.
    if (text) {
      Report(NoMoreDisplayLists);
      fresh->Empty = true;
      handle.Reset(std::move(fresh));
      return 0;
    }
    handle.Reset(std::move(fresh));
    immediate = true;
    return 0;
  }
  Pool_->Live.insert(list);
  fresh->List = list;
  glNewList(list, GL_COMPILE);
  EmitGeometry(object);
  glEndList();
  handle.Reset(std::move(fresh));
  return list;
}

void TGLRenderer::EmitGeometry(const TGLBaseSceneObject& object) {
  switch (object.Kind()) {
    case TGLObjectKind::Cube: EmitCube(static_cast<const TGLCube&>(object)); break;
    case TGLObjectKind::Cylinder:
      if (Quadric_) EmitQuadric(static_cast<GLUquadric*>(Quadric_), QuadricKey(static_cast<const TGLCylinder&>(object)));
      break;
    case TGLObjectKind::Annulus:
      if (Quadric_) EmitQuadric(static_cast<GLUquadric*>(Quadric_), QuadricKey(static_cast<const TGLAnnulus&>(object)));
      break;
    case TGLObjectKind::SpaceText:
      // The triangles were laid out by EnsureGeometry just before.
      glNormal3f(0.0f, 0.0f, 1.0f);
      glBegin(GL_TRIANGLES);
      for (const TFontPoint& p : TextScratch_) glVertex2f(p.X, p.Y);
      glEnd();
      break;
    default: break;
  }
}

}  // namespace qv
