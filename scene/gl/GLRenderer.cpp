#include "scene/gl/GLRenderer.h"

#include "scene/gl/GLMeshes.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <variant>

#include "scene/gl/GLBatches.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

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
  // The triangles GLU made for it, captured once for gathering: x y z nx ny nz per corner and
  // three indices a triangle. Empty when they could not be had.
  std::vector<float> Mesh;
  std::vector<uint16_t> MeshIndices;
  bool CaptureTried = false;
};

}  // namespace

// The display lists and buffers of one context. Cached geometry that dies gives its share back
// here, and the next frame (with the context current) deletes what nobody uses any more.
struct TGLListPool {
  unsigned Generation = 1;
  std::map<TShapeKey, TShape> Shapes;
  std::unordered_set<GLuint> Buffers;
  std::vector<GLuint> GarbageBuffers;
  // Every geometry made gets a number of its own, so that a gathered copy can tell whether the
  // geometry it was made from is still the one in use.
  uint64_t NextSerial = 1;
  // Capturing GLU's triangles: a program that hands the vertices back (0 untried, -1 unavailable).
  int Capture = 0;
  GLuint CaptureProgram = 0;
  GLuint CaptureBuffer = 0;
  GLsizeiptr CaptureBufferSize = 0;
  GLuint CaptureQuery = 0;
  // The gathered copies of opaque objects.
  GLuint BatchVertices = 0;
  GLuint BatchIndices = 0;
  GLsizeiptr BatchVerticesSize = 0;  // the storage the buffers have
  GLsizeiptr BatchIndicesSize = 0;
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
  TGLMesh box;
  AppendBoxMesh(c.CubeWidth, c.CubeHeight, c.CubeDepth, box);
  out.clear();
  for (uint32_t i : box.Indices) {
    const TVector3f& p = box.Positions[i];
    const TVector3f& n = box.Normals[i];
    out.insert(out.end(), {p.X, p.Y, p.Z, n.X, n.Y, n.Z});
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

// Hands back each vertex as GLU sends it, through the matrix GLU's own calls set up.
constexpr const char* CaptureSource =
    "#version 130\n"
    "out vec3 CapturedPosition;\n"
    "out vec3 CapturedNormal;\n"
    "void main() {\n"
    "  CapturedPosition = (gl_ModelViewMatrix * gl_Vertex).xyz;\n"
    "  CapturedNormal = gl_NormalMatrix * gl_Normal;\n"
    "  gl_Position = vec4(0.0, 0.0, 0.0, 1.0);\n"
    "}\n";

GLuint MakeCaptureProgram() {
  const GLuint shader = glCreateShader(GL_VERTEX_SHADER);
  if (!shader) return 0;
  glShaderSource(shader, 1, &CaptureSource, nullptr);
  glCompileShader(shader);
  GLint ok = GL_FALSE;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  GLuint program = ok ? glCreateProgram() : 0;
  if (program) {
    glAttachShader(program, shader);
    const char* outputs[2] = {"CapturedPosition", "CapturedNormal"};
    glTransformFeedbackVaryings(program, 2, outputs, GL_INTERLEAVED_ATTRIBS);
    glLinkProgram(program);
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
      glDeleteProgram(program);
      program = 0;
    }
  }
  glDeleteShader(shader);
  return program;
}

// Corners of the same place and normal become one vertex, as GLU's strips and fans share them.
void IndexCorners(const std::vector<float>& soup, std::vector<float>& vertices, std::vector<uint16_t>& indices) {
  struct THash {
    size_t operator()(std::string_view v) const { return std::hash<std::string_view>()(v); }
  };
  std::unordered_map<std::string_view, uint16_t, THash> seen;
  const size_t corners = soup.size() / 6;
  vertices.clear();
  indices.clear();
  vertices.reserve(soup.size());
  for (size_t c = 0; c < corners; ++c) {
    const std::string_view bytes(reinterpret_cast<const char*>(soup.data() + c * 6), 6 * sizeof(float));
    auto [it, added] = seen.try_emplace(bytes, static_cast<uint16_t>(vertices.size() / 6));
    if (added) {
      if (vertices.size() / 6 >= 0xFFFF) {  // more than one draw can name: the shape is drawn whole
        vertices.clear();
        indices.clear();
        return;
      }
      vertices.insert(vertices.end(), soup.begin() + static_cast<std::ptrdiff_t>(c * 6),
                      soup.begin() + static_cast<std::ptrdiff_t>(c * 6 + 6));
    }
    indices.push_back(it->second);
  }
}

// Runs GLU once more with the rasteriser off, keeping the triangles it makes (quads split as the
// rasteriser splits them) for gathering. A shape whose capture fails is drawn from its list.
void CaptureShape(TGLListPool& pool, GLUquadric* quadric, TShape& shape, const TShapeKey& key) {
  shape.CaptureTried = true;
  // At most two tubes of Stacks bands and two rings of Loops bands, two triangles a quad.
  const long long triangles = 4LL * key.Slices * key.Stacks + 4LL * key.Slices * key.Loops;
  if (triangles > 32768) return;
  if (!pool.CaptureProgram) {
    if (pool.Capture < 0) return;
    pool.CaptureProgram = MakeCaptureProgram();
    if (!pool.CaptureProgram) {
      pool.Capture = -1;
      return;
    }
  }
  const auto bytes = static_cast<GLsizeiptr>(triangles * 3 * 6 * sizeof(float));
  for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
  }
  if (!pool.CaptureBuffer) glGenBuffers(1, &pool.CaptureBuffer);
  if (!pool.CaptureQuery) glGenQueries(1, &pool.CaptureQuery);
  glBindBuffer(GL_TRANSFORM_FEEDBACK_BUFFER, pool.CaptureBuffer);
  if (pool.CaptureBufferSize < bytes) {
    glBufferData(GL_TRANSFORM_FEEDBACK_BUFFER, bytes, nullptr, GL_STREAM_READ);
    pool.CaptureBufferSize = bytes;
  }
  GLint matrixMode = GL_MODELVIEW;
  glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadIdentity();
  glUseProgram(pool.CaptureProgram);
  glEnable(GL_RASTERIZER_DISCARD);
  glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, pool.CaptureBuffer);
  glBeginQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN, pool.CaptureQuery);
  glBeginTransformFeedback(GL_TRIANGLES);
  EmitShape(quadric, key);
  glEndTransformFeedback();
  glEndQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN);
  glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, 0);
  glDisable(GL_RASTERIZER_DISCARD);
  glUseProgram(0);
  glPopMatrix();
  glMatrixMode(static_cast<GLenum>(matrixMode));
  GLuint written = 0;
  glGetQueryObjectuiv(pool.CaptureQuery, GL_QUERY_RESULT, &written);
  std::vector<float> soup(static_cast<size_t>(std::min<long long>(written, triangles)) * 3 * 6);
  glBindBuffer(GL_TRANSFORM_FEEDBACK_BUFFER, pool.CaptureBuffer);
  if (!soup.empty())
    glGetBufferSubData(GL_TRANSFORM_FEEDBACK_BUFFER, 0, static_cast<GLsizeiptr>(soup.size() * sizeof(float)), soup.data());
  glBindBuffer(GL_TRANSFORM_FEEDBACK_BUFFER, 0);
  if (glGetError() != GL_NO_ERROR) return;
  IndexCorners(soup, shape.Mesh, shape.MeshIndices);
}

}  // namespace

struct TGLCachedGeometry {
  std::weak_ptr<TGLListPool> Pool;
  unsigned Generation = 0;
  TGeometryKey Key;           // the object's properties it was made from
  uint64_t Serial = 0;        // unique within the renderer
  bool Empty = false;         // nothing to draw
  // A quadric: the shared unit shape and the matrix that sizes it (list 0: drawn directly).
  const TShapeKey* Shape = nullptr;
  TShape* ShapeEntry = nullptr;
  TMatrix4 ShapeMatrix;
  // A box or a text: its own vertex buffer. A box's holds position and normal of separate
  // triangles; a text's holds x and y of its points followed by the indices of its triangles.
  GLuint Buffer = 0;
  GLsizei Vertices = 0;  // a box's vertices, a text's indices
  bool Text = false;
  GLenum IndexType = GL_UNSIGNED_SHORT;
  size_t IndexOffset = 0;
  // The buffer's contents, kept for gathering; a box is drawn from here when the context had no
  // buffer left.
  std::vector<unsigned char> Local;

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
  // Client arrays on: 0 none, 2 positions, 3 positions and normals, 4 the gathered copies (with
  // their buffers bound).
  int Arrays = 0;
  int LoadedAnchor = -1;  // the grouping object whose matrix is loaded, -1 another
};

// One entry of a frame's drawing list.
struct TGLRenderer::TItem {
  // Gathered: opaque, drawn from the copies with the others of its run; GatheredBlended: blended,
  // drawn from the copies by itself; Single, Blended: drawn from the object's own geometry.
  enum TKind : uint8_t { Gathered, GatheredBlended, Single, Blended };
  bool IsBlended() const { return Kind == GatheredBlended || Kind == Blended; }
  bool IsGathered() const { return Kind == Gathered || Kind == GatheredBlended; }
  const TGLBaseSceneObject* Object;
  const TGLCachedGeometry* Geometry;  // null for a polyline
  uint64_t Serial;
  const TGLBaseSceneObject* AnchorObject;
  int Anchor;  // index into the frame's grouping objects
  TKind Kind;
  TMatrix4 Rel;  // the object's matrix in its grouping object's frame
  TGLFaceProperties Front;
};

// Gathered copies are made in the frame of the nearest grouping object (or the drawn root), whose
// own placement is applied when they are drawn.
struct TGLRenderer::TBatchState {
  struct TAnchor {
    const TGLBaseSceneObject* Object;
    TMatrix4 World;
  };
  std::vector<TAnchor> Anchors;
  std::vector<TItem> Current;
  std::vector<TItem> Previous;
  TGLBatchBuilder Builder;
  // Copies made from the list now in Previous (and uploaded in this context's generation), or
  // gathering that list failed (too many vertices, no memory): not tried again until it changes.
  bool Valid = false;
  bool Failed = false;
  unsigned Generation = 0;
  std::vector<TGLBatchDraw> Draws;
  std::vector<int> RunDraws;
  int ChangedFrames = 0;  // consecutive frames whose list differed from the one before
  int Builds = 0;
  int DrawnObjects = 0;
  int DrawCalls = 0;
};

namespace {

// The software rasteriser takes and frees buffers of several megabytes for every large draw. With
// the C library's moving limits those go back to the system after each frame and are faulted in
// again, page by page, in the next one, which cost as much as a sixth of a frame's time; kept in
// the heap they are simply reused.
void KeepLargeBuffersForReuse() {
#ifdef __GLIBC__
  [[maybe_unused]] static const bool done =
      (mallopt(M_MMAP_THRESHOLD, 32 << 20), mallopt(M_TRIM_THRESHOLD, 128 << 20), true);
#endif
}

}  // namespace

TGLRenderer::TGLRenderer(TFontOpener font)
    : Pool_(std::make_shared<TGLListPool>()), Glyphs_(std::move(font)), Batch_(std::make_unique<TBatchState>()) {
  KeepLargeBuffersForReuse();
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
  for (GLuint b : {Pool_->CaptureBuffer, Pool_->BatchVertices, Pool_->BatchIndices})
    if (b) glDeleteBuffers(1, &b);
  if (Pool_->CaptureQuery) glDeleteQueries(1, &Pool_->CaptureQuery);
  if (Pool_->CaptureProgram) glDeleteProgram(Pool_->CaptureProgram);
  ContextLost();
}

void TGLRenderer::ContextLost() {
  Pool_->Shapes.clear();
  Pool_->Buffers.clear();
  Pool_->GarbageBuffers.clear();
  Pool_->Capture = 0;
  Pool_->CaptureProgram = Pool_->CaptureBuffer = Pool_->CaptureQuery = 0;
  Pool_->CaptureBufferSize = 0;
  Pool_->BatchVertices = Pool_->BatchIndices = 0;
  Pool_->BatchVerticesSize = Pool_->BatchIndicesSize = 0;
  Batch_->Valid = false;
  ++Pool_->Generation;
}

TGLRenderer::TStatistics TGLRenderer::Statistics() const {
  int lists = 0;
  for (const auto& [key, shape] : Pool_->Shapes) lists += shape.List != 0;
  return {GeometryBuilds_, DrawnObjects_, lists, static_cast<int>(Pool_->Buffers.size()), Batch_->Builds,
          Batch_->DrawnObjects, Batch_->DrawCalls};
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

  TBatchState& b = *Batch_;
  b.Anchors.clear();
  b.Current.clear();
  b.DrawnObjects = b.DrawCalls = 0;
  Collect(frame, root, -1, TMatrix4::Identity());
  DrawnObjects_ = static_cast<int>(b.Current.size());
  if (RecordDrawOrder)
    for (const TItem& item : b.Current) DrawOrder_.push_back(item.Object);

  // Same list as last frame: the copies made for it still hold. A list that changed is gathered
  // anew, unless it also changed the frame before: then it is drawn object by object until it
  // settles.
  auto same = [](const TItem& x, const TItem& y) {
    if (x.Kind != y.Kind || x.Object != y.Object || x.AnchorObject != y.AnchorObject) return false;
    if (!x.IsGathered()) return true;
    return x.Serial == y.Serial && std::memcmp(x.Rel.M.data(), y.Rel.M.data(), sizeof(x.Rel.M)) == 0 &&
           SameFaceBits(x.Front, y.Front);
  };
  const bool unchanged = std::equal(b.Current.begin(), b.Current.end(), b.Previous.begin(), b.Previous.end(), same);
  if (!unchanged || b.Generation != Pool_->Generation) b.Valid = b.Failed = false;
  bool gathered = false;
  if (BatchOpaqueGeometry && CanGather()) {
    if (!b.Valid && !b.Failed && (unchanged || b.ChangedFrames == 0)) {
      b.Valid = BuildBatches();
      b.Failed = !b.Valid;
      b.Generation = Pool_->Generation;
    }
    gathered = b.Valid;
  }
  b.ChangedFrames = unchanged ? 0 : b.ChangedFrames + 1;
  if (gathered)
    DrawBatched(frame);
  else
    for (const TItem& item : b.Current) DrawItem(frame, item);
  std::swap(b.Current, b.Previous);

  if (frame.Arrays) {
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
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

void TGLRenderer::Collect(TFrame& frame, const TGLBaseSceneObject& object, int anchor, const TMatrix4& parentRel) {
  if (!object.Visible) return;
  TBatchState& b = *Batch_;
  TMatrix4 rel;
  if (anchor < 0 || object.Kind() == TGLObjectKind::DummyCube) {
    // The drawn root and every grouping object (the ones that navigation moves) start a frame of
    // their own.
    const TMatrix4 parentWorld = anchor < 0 ? TMatrix4::Identity() : b.Anchors[static_cast<size_t>(anchor)].World * parentRel;
    b.Anchors.push_back({&object, parentWorld * object.LocalMatrix()});
    anchor = static_cast<int>(b.Anchors.size()) - 1;
  } else {
    rel = parentRel * object.LocalMatrix();
  }
  AddItem(object, anchor, rel);

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
      Collect(frame, child, anchor, rel);
      continue;
    }
    if (deferred.empty()) world = b.Anchors[static_cast<size_t>(anchor)].World * rel;
    const TVector3f o = world.TransformPoint(child.Position());
    const double dx = o.X - frame.Eye.X, dy = o.Y - frame.Eye.Y, dz = o.Z - frame.Eye.Z;
    deferred.push_back({dx * dx + dy * dy + dz * dz, &child});
  }
  std::stable_sort(deferred.begin(), deferred.end(),
                   [](const TDeferred& a, const TDeferred& c) { return a.Distance > c.Distance; });
  for (const TDeferred& d : deferred) Collect(frame, *d.Object, anchor, rel);
}

namespace {

// The triangles of an object's geometry as the gathering takes them; false when there are none
// in a form it can take (the object is then drawn by itself).
bool MeshOf(const TGLCachedGeometry& g, TGLMeshView& mesh, TMatrix4& shape) {
  shape = TMatrix4::Identity();
  if (g.ShapeEntry) {
    const TShape& s = *g.ShapeEntry;
    if (s.Mesh.empty()) return false;
    mesh.Points = s.Mesh.data();
    mesh.Normals = s.Mesh.data() + 3;
    mesh.PointStride = 6;
    mesh.PointCount = static_cast<int>(s.Mesh.size() / 6);
    mesh.Indices16 = s.MeshIndices.data();
    mesh.IndexCount = static_cast<int>(s.MeshIndices.size());
    shape = g.ShapeMatrix;
  } else if (g.Text) {
    mesh.Points = reinterpret_cast<const float*>(g.Local.data());
    mesh.PointComponents = mesh.PointStride = 2;
    mesh.PointCount = static_cast<int>(g.IndexOffset / (2 * sizeof(float)));
    mesh.IndexCount = g.Vertices;
    if (g.IndexType == GL_UNSIGNED_SHORT)
      mesh.Indices16 = reinterpret_cast<const uint16_t*>(g.Local.data() + g.IndexOffset);
    else
      mesh.Indices32 = reinterpret_cast<const uint32_t*>(g.Local.data() + g.IndexOffset);
  } else if (!g.Local.empty()) {
    mesh.Points = reinterpret_cast<const float*>(g.Local.data());
    mesh.Normals = mesh.Points + 3;
    mesh.PointStride = 6;
    mesh.PointCount = g.Vertices;
  } else {
    return false;
  }
  return mesh.PointCount > 0 && mesh.PointCount <= 0xFFFF;
}

}  // namespace

void TGLRenderer::AddItem(const TGLBaseSceneObject& object, int anchor, const TMatrix4& rel) {
  const TGLObjectKind kind = object.Kind();
  if (kind == TGLObjectKind::DummyCube) return;
  TBatchState& b = *Batch_;
  TItem item{&object, nullptr, 0, b.Anchors[static_cast<size_t>(anchor)].Object, anchor, TItem::Single, rel, {}};
  if (kind != TGLObjectKind::Lines) {
    const TGLCachedGeometry& g = EnsureGeometry(object);
    if (g.ShapeEntry && !g.ShapeEntry->CaptureTried && Quadric_ && CanGather())
      CaptureShape(*Pool_, static_cast<GLUquadric*>(Quadric_), *g.ShapeEntry, *g.Shape);
    item.Geometry = &g;
    item.Serial = g.Serial;
    TGLMeshView mesh;
    TMatrix4 shape;
    const bool blended = object.Blended();
    if (g.Empty)
      ;  // listed, as it was met, but nothing to draw
    else if (MeshOf(g, mesh, shape)) {
      item.Kind = blended ? TItem::GatheredBlended : TItem::Gathered;
      item.Front = object.Material()->FrontProperties;
    } else if (blended) {
      item.Kind = TItem::Blended;
    }
  }
  b.Current.push_back(item);
}

namespace {

// Runs: stretches of opaque objects under one grouping object with no blended object between.
// Within a run the order of drawing does not show (depth decides); a blended object writes depth
// too, so the opaque objects after it must come after it.
template <class TItemType> bool StartsRun(const TItemType* last, const TItemType& item) {
  return !last || last->IsBlended() || last->AnchorObject != item.AnchorObject;
}

}  // namespace

bool TGLRenderer::BuildBatches() {
  TBatchState& b = *Batch_;
  TGLBatchBuilder& builder = b.Builder;
  ++b.Builds;
  builder.SetMaxVertices(static_cast<size_t>(std::max(MaxGatheredVertices, 0)));
  builder.Clear();
  const TItem* last = nullptr;
  for (const TItem& item : b.Current) {
    const bool blended = item.IsBlended();
    if (blended ? item.IsGathered() : StartsRun(last, item)) builder.BeginRun();
    last = &item;
    if (!item.IsGathered()) continue;
    TGLMeshView mesh;
    TMatrix4 shape;
    MeshOf(*item.Geometry, mesh, shape);
    const bool flat = item.Geometry->Text || (item.Geometry->Shape && item.Geometry->Shape->Flat);
    builder.Add(mesh, item.Rel * shape, item.Front, flat, blended);
  }
  if (!builder.Finish()) return false;

  for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
  }
  if (!Pool_->BatchVertices) glGenBuffers(1, &Pool_->BatchVertices);
  if (!Pool_->BatchIndices) glGenBuffers(1, &Pool_->BatchIndices);
  if (!Pool_->BatchVertices || !Pool_->BatchIndices) return false;
  // The copies go into the storage the buffers already have when it is large enough: fresh
  // storage for every change (an option click) costs more in new memory than the copying.
  auto upload = [](GLenum target, GLuint buffer, GLsizeiptr& capacity, const void* data, GLsizeiptr size) {
    glBindBuffer(target, buffer);
    if (size > capacity || size < capacity / 4) {
      capacity = size + size / 4;
      glBufferData(target, capacity, nullptr, GL_STATIC_DRAW);
    }
    if (size > 0) glBufferSubData(target, 0, size, data);
    glBindBuffer(target, 0);
  };
  upload(GL_ARRAY_BUFFER, Pool_->BatchVertices, Pool_->BatchVerticesSize, builder.Vertices().data(),
         static_cast<GLsizeiptr>(builder.Vertices().size() * sizeof(float)));
  upload(GL_ELEMENT_ARRAY_BUFFER, Pool_->BatchIndices, Pool_->BatchIndicesSize, builder.Indices().data(),
         static_cast<GLsizeiptr>(builder.Indices().size() * sizeof(uint16_t)));
  if (glGetError() == GL_OUT_OF_MEMORY) {
    Pool_->BatchVerticesSize = Pool_->BatchIndicesSize = 0;
    return false;
  }
  b.Draws = builder.Draws();
  b.RunDraws = builder.RunDraws();
  return true;
}

void TGLRenderer::DrawBatched(TFrame& frame) {
  TBatchState& b = *Batch_;
  const TItem* last = nullptr;
  int run = -1;
  for (const TItem& item : b.Current) {
    if (item.IsBlended() ? item.IsGathered() : StartsRun(last, item)) DrawRun(frame, ++run, item.Anchor);
    last = &item;
    if (item.IsGathered())
      ++b.DrawnObjects;
    else
      DrawItem(frame, item);
  }
}

void TGLRenderer::DrawRun(TFrame& frame, int run, int anchor) {
  TBatchState& b = *Batch_;
  if (run < 0 || run + 1 >= static_cast<int>(b.RunDraws.size())) return;
  const int first = b.RunDraws[static_cast<size_t>(run)], end = b.RunDraws[static_cast<size_t>(run) + 1];
  if (first == end) return;
  if (frame.LoadedAnchor != anchor) {
    glLoadMatrixd((frame.View * b.Anchors[static_cast<size_t>(anchor)].World).M.data());
    frame.LoadedAnchor = anchor;
  }
  if (!frame.Lighting) {
    glEnable(GL_LIGHTING);
    frame.Lighting = true;
  }
  if (frame.Arrays != 4) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, Pool_->BatchVertices);
    glVertexPointer(3, GL_FLOAT, 6 * sizeof(float), nullptr);
    glNormalPointer(GL_FLOAT, 6 * sizeof(float), reinterpret_cast<const void*>(3 * sizeof(float)));
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, Pool_->BatchIndices);
    frame.Arrays = 4;
  }
  for (int i = first; i < end; ++i) {
    const TGLBatchDraw& d = b.Draws[static_cast<size_t>(i)];
    ApplyMaterial(frame, d.Front, nullptr);
    if (frame.Blend != static_cast<int>(d.Blended)) {
      d.Blended ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
      frame.Blend = d.Blended;
    }
    if (frame.Offset != static_cast<int>(d.Flat)) {
      d.Flat ? glEnable(GL_POLYGON_OFFSET_FILL) : glDisable(GL_POLYGON_OFFSET_FILL);
      frame.Offset = d.Flat;
    }
    glDrawElementsBaseVertex(GL_TRIANGLES, d.IndexCount, GL_UNSIGNED_SHORT,
                             reinterpret_cast<const void*>(d.IndexOffset * sizeof(uint16_t)), d.BaseVertex);
    ++b.DrawCalls;
  }
}

void TGLRenderer::DrawItem(TFrame& frame, const TItem& item) {
  const TMatrix4 world = Batch_->Anchors[static_cast<size_t>(item.Anchor)].World * item.Rel;
  DrawOwn(frame, *item.Object, item.Geometry, world);
}

void TGLRenderer::DrawOwn(TFrame& frame, const TGLBaseSceneObject& object, const TGLCachedGeometry* geometry,
                          const TMatrix4& world) {
  const TGLObjectKind kind = object.Kind();
  frame.LoadedAnchor = -1;
  if (kind == TGLObjectKind::Lines) {
    glLoadMatrixd((frame.View * world).M.data());
    DrawLines(frame, static_cast<const TGLLines&>(object));
    return;
  }
  if (!geometry || geometry->Empty) return;
  const TGLCachedGeometry& g = *geometry;

  if (!frame.Lighting) {
    glEnable(GL_LIGHTING);
    frame.Lighting = true;
  }
  const TGLMaterial& material = *object.Material();
  ApplyMaterial(frame, material.FrontProperties, material.BackPropertiesIfAny());
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
    const GLuint list = g.ShapeEntry ? g.ShapeEntry->List : 0;
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
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
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
  const bool dashed = lines.LinePattern != 0xFFFF;
  if (dashed) {
    glEnable(GL_LINE_STIPPLE);
    glLineStipple(1, lines.LinePattern);
  }
  glBegin(GL_LINE_STRIP);
  for (const TVector3f& p : lines.Nodes) glVertex3f(p.X, p.Y, p.Z);
  glEnd();
  if (dashed) glDisable(GL_LINE_STIPPLE);
}

void TGLRenderer::ApplyMaterial(TFrame& frame, const TGLFaceProperties& front, const TGLFaceProperties* back) {
  if (frame.HaveMaterial && !frame.HadBack && !back && SameFaceBits(frame.Front, front)) return;
  SetFaceProperties(GL_FRONT_AND_BACK, front);
  if (back) SetFaceProperties(GL_BACK, *back);
  frame.HaveMaterial = true;
  frame.Front = front;
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
  fresh->Serial = Pool_->NextSerial++;
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
  cached.ShapeEntry = &shape;
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
  cached.Local = BufferScratch_;
  return true;
}

// Gathering needs base-vertex draws and, to capture GLU's triangles, transform feedback from a
// small program: both from version 3.2 on.
bool TGLRenderer::CanGather() {
  if (Pool_->Capture == 0) {
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int major = 0, minor = 0;
    if (version) {
      char* end = nullptr;
      major = static_cast<int>(std::strtol(version, &end, 10));
      if (end && *end == '.') minor = static_cast<int>(std::strtol(end + 1, nullptr, 10));
    }
    Pool_->Capture = major > 3 || (major == 3 && minor >= 2) ? 1 : -1;
  }
  return Pool_->Capture > 0;
}




}  // namespace qv
