#include "scene/gl/GLRenderer.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <unordered_map>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace qv {

namespace {

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

// GLU builds surfaces of revolution along +Z from z = 0; ours run along local Y, centred.
TMatrix4 QuadricBase(float height) {
  TMatrix4 m;  // translate (0, -h/2, 0), then rotate -90 degrees about X: z -> y, y -> -z
  m(1, 1) = 0;
  m(1, 2) = 1;
  m(2, 1) = -1;
  m(2, 2) = 0;
  m(1, 3) = -height / 2.0;
  return m;
}

void EmitShape(GLUquadric* q, const TGLShapeKey& k) {
  const float h = k.Flat ? 0.0f : 1.0f;
  const float topInner = k.Annulus ? k.TopInner : 0.0f;
  const float bottomInner = k.Annulus ? k.BottomInner : 0.0f;
  // Rings of no width (a pointed cone's tip, an annulus drawn as an open tube) are left out.
  if (k.EndRings && k.Bottom != bottomInner) {
    gluQuadricOrientation(q, GLU_INSIDE);
    gluDisk(q, bottomInner, k.Bottom, k.Slices, k.Loops);
  }
  gluQuadricOrientation(q, GLU_OUTSIDE);
  gluCylinder(q, k.Bottom, k.Top, h, k.Slices, k.Stacks);
  if (k.Annulus) {
    gluQuadricOrientation(q, GLU_INSIDE);
    gluCylinder(q, k.BottomInner, k.TopInner, h, k.Slices, k.Stacks);
  }
  if (k.EndRings && k.Top != topInner) {
    gluQuadricOrientation(q, GLU_OUTSIDE);
    glTranslatef(0.0f, 0.0f, h);
    gluDisk(q, topInner, k.Top, k.Slices, k.Loops);
  }
}

void SetColor(GLenum what, const TColorVector& c) {
  const GLfloat v[4] = {c.R, c.G, c.B, c.A};
  glMaterialfv(GL_FRONT_AND_BACK, what, v);
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
    "  CapturedNormal = normalize(gl_NormalMatrix * gl_Normal);\n"
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

// The software rasteriser takes and frees buffers of several megabytes for every large draw. With
// the C library's moving limits those go back to the system after each frame and are faulted in
// again, page by page, in the next one; kept in the heap they are simply reused.
void KeepLargeBuffersForReuse() {
#ifdef __GLIBC__
  [[maybe_unused]] static const bool done =
      (mallopt(M_MMAP_THRESHOLD, 32 << 20), mallopt(M_TRIM_THRESHOLD, 128 << 20), true);
#endif
}

void ClearErrors() {
  for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
  }
}

}  // namespace

// What the renderer holds in the context.
struct TGLRenderer::TBuffers {
  GLuint Vertices = 0, Indices = 0;
  bool Uploaded = false;
  // Capturing GLU's triangles: 0 untried, 1 available, -1 not (the CPU's shapes are used).
  int Capture = 0;
  GLuint CaptureProgram = 0, CaptureBuffer = 0, CaptureQuery = 0;
  GLsizeiptr CaptureBufferSize = 0;
};

TGLRenderer::TGLRenderer(TFontOpener font)
    : Glyphs_(std::move(font)),
      Builder_(Glyphs_, [this](const TGLShapeKey& key, TGLMesh& mesh) { return CaptureShape(key, mesh); }),
      GL_(std::make_unique<TBuffers>()) {
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
  for (GLuint b : {GL_->Vertices, GL_->Indices, GL_->CaptureBuffer})
    if (b) glDeleteBuffers(1, &b);
  if (GL_->CaptureQuery) glDeleteQueries(1, &GL_->CaptureQuery);
  if (GL_->CaptureProgram) glDeleteProgram(GL_->CaptureProgram);
  ContextLost();
}

void TGLRenderer::ContextLost() {
  *GL_ = {};
  Builder_.ReleaseArrays();
}

TGLRenderer::TStatistics TGLRenderer::Statistics() const {
  return {Builder_.GeometryBuilds(), DrawnObjects_, Builder_.Shapes(), Builder_.ArrayBuilds(), Draws_, Triangles_};
}

void TGLRenderer::Report(const std::string& message) {
  if (std::find(Errors_.begin(), Errors_.end(), message) != Errors_.end()) return;
  Errors_.push_back(message);
  if (OnError) OnError(message);
}

// Runs GLU with the rasteriser off, keeping the triangles it makes (quads split as the rasteriser
// splits them) in the frame of the scene's objects. Without transform feedback (before version
// 3.0) the CPU's own shapes stand in.
bool TGLRenderer::CaptureShape(const TGLShapeKey& key, TGLMesh& mesh) {
  TBuffers& b = *GL_;
  if (b.Capture == 0) {
    const auto* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    const int major = version ? std::atoi(version) : 0;
    b.CaptureProgram = major >= 3 ? MakeCaptureProgram() : 0;
    b.Capture = b.CaptureProgram ? 1 : -1;
  }
  // At most two tubes of Stacks bands and two rings of Loops bands, two triangles a quad.
  const long long triangles = 4LL * key.Slices * key.Stacks + 4LL * key.Slices * key.Loops;
  if (b.Capture < 0 || !Quadric_ || triangles > (1 << 20)) return RevolutionShape(key, mesh);
  const auto bytes = static_cast<GLsizeiptr>(triangles * 3 * 6 * sizeof(float));
  ClearErrors();
  if (!b.CaptureBuffer) glGenBuffers(1, &b.CaptureBuffer);
  if (!b.CaptureQuery) glGenQueries(1, &b.CaptureQuery);
  glBindBuffer(GL_TRANSFORM_FEEDBACK_BUFFER, b.CaptureBuffer);
  if (b.CaptureBufferSize < bytes) {
    glBufferData(GL_TRANSFORM_FEEDBACK_BUFFER, bytes, nullptr, GL_STREAM_READ);
    b.CaptureBufferSize = bytes;
  }
  GLint matrixMode = GL_MODELVIEW;
  glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
  glMatrixMode(GL_MODELVIEW);
  glPushMatrix();
  glLoadMatrixd(QuadricBase(key.Flat ? 0.0f : 1.0f).M.data());
  glUseProgram(b.CaptureProgram);
  glEnable(GL_RASTERIZER_DISCARD);
  glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, b.CaptureBuffer);
  glBeginQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN, b.CaptureQuery);
  glBeginTransformFeedback(GL_TRIANGLES);
  EmitShape(static_cast<GLUquadric*>(Quadric_), key);
  glEndTransformFeedback();
  glEndQuery(GL_TRANSFORM_FEEDBACK_PRIMITIVES_WRITTEN);
  glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, 0);
  glDisable(GL_RASTERIZER_DISCARD);
  glUseProgram(0);
  glPopMatrix();
  glMatrixMode(static_cast<GLenum>(matrixMode));
  GLuint written = 0;
  glGetQueryObjectuiv(b.CaptureQuery, GL_QUERY_RESULT, &written);
  std::vector<float> soup(static_cast<size_t>(std::min<long long>(written, triangles)) * 3 * 6);
  glBindBuffer(GL_TRANSFORM_FEEDBACK_BUFFER, b.CaptureBuffer);  // unbound with the indexed binding
  if (!soup.empty())
    glGetBufferSubData(GL_TRANSFORM_FEEDBACK_BUFFER, 0, static_cast<GLsizeiptr>(soup.size() * sizeof(float)), soup.data());
  glBindBuffer(GL_TRANSFORM_FEEDBACK_BUFFER, 0);
  if (glGetError() != GL_NO_ERROR) return RevolutionShape(key, mesh);
  // Corners of the same place and normal become one vertex, as GLU's strips and fans share them.
  std::unordered_map<std::string_view, uint32_t> seen;
  for (size_t c = 0; c + 6 <= soup.size(); c += 6) {
    const std::string_view corner(reinterpret_cast<const char*>(soup.data() + c), 6 * sizeof(float));
    auto [it, added] = seen.try_emplace(corner, static_cast<uint32_t>(mesh.Positions.size()));
    if (added) {
      mesh.Positions.push_back({soup[c], soup[c + 1], soup[c + 2]});
      mesh.Normals.push_back({soup[c + 3], soup[c + 4], soup[c + 5]});
    }
    mesh.Indices.push_back(it->second);
  }
  return true;
}

bool TGLRenderer::Upload(const TGLDrawList& list) {
  TBuffers& b = *GL_;
  ClearErrors();
  if (!b.Vertices) glGenBuffers(1, &b.Vertices);
  if (!b.Indices) glGenBuffers(1, &b.Indices);
  glBindBuffer(GL_ARRAY_BUFFER, b.Vertices);
  glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(list.Vertices.size() * sizeof(TGLDrawVertex)),
               list.Vertices.data(), GL_STATIC_DRAW);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, b.Indices);
  glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(list.Indices.size() * sizeof(uint32_t)),
               list.Indices.data(), GL_STATIC_DRAW);
  b.Uploaded = glGetError() == GL_NO_ERROR && b.Vertices && b.Indices;
  if (!b.Uploaded) Report(NoMoreDisplayLists);
  return b.Uploaded;
}

void TGLRenderer::Render(const TGLBaseSceneObject& root, const TGLViewState& view, int width, int height) {
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
  const TMatrix4 eye = LookAt(view.Camera);
  glLoadMatrixd(eye.M.data());

  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LESS);
  glDepthMask(GL_TRUE);
  glShadeModel(GL_SMOOTH);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);
  glFrontFace(GL_CCW);
  glEnable(GL_NORMALIZE);
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

  LastView_ = view;
  const TGLDrawList& list = Builder_.Build(root, view, [this](const char* m) { Report(m); });
  if (list.Changed || !GL_->Uploaded) {
    if (Upload(list)) Builder_.DropVertices();
  }
  DrawnObjects_ = static_cast<int>(list.Order.size());
  DrawOrder_.clear();
  if (RecordDrawOrder) DrawOrder_ = list.Order;
  Draws_ = 0;
  Triangles_ = 0;
  if (GL_->Uploaded) Draw(list, eye);
  glDisable(GL_BLEND);
  glDisable(GL_POLYGON_OFFSET_FILL);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}

void TGLRenderer::Draw(const TGLDrawList& list, const TMatrix4& eye) {
  glBindBuffer(GL_ARRAY_BUFFER, GL_->Vertices);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, GL_->Indices);
  const auto stride = static_cast<GLsizei>(sizeof(TGLDrawVertex));
  glVertexPointer(3, GL_FLOAT, stride, reinterpret_cast<const void*>(offsetof(TGLDrawVertex, X)));
  glNormalPointer(GL_FLOAT, stride, reinterpret_cast<const void*>(offsetof(TGLDrawVertex, NX)));
  glColorPointer(4, GL_UNSIGNED_BYTE, stride, reinterpret_cast<const void*>(offsetof(TGLDrawVertex, R)));
  glEnableClientState(GL_VERTEX_ARRAY);
  glEnableClientState(GL_NORMAL_ARRAY);
  // Each vertex's colour is its diffuse colour; the rest of the material comes from the draw.
  glColorMaterial(GL_FRONT_AND_BACK, GL_DIFFUSE);
  glEnable(GL_COLOR_MATERIAL);
  int anchor = -1, blend = -1, offset = -1, lighting = -1;
  const TGLFaceProperties* material = nullptr;
  for (const TGLDraw& d : list.Draws) {
    const bool lines = d.Kind == TGLDraw::Lines;
    const TMatrix4& placed = list.Anchors[static_cast<size_t>(d.Anchor)];
    if (lines) {
      glLoadMatrixd((eye * placed * d.LineMatrix).M.data());
      anchor = -1;
    } else if (anchor != d.Anchor) {
      glLoadMatrixd((eye * placed).M.data());
      anchor = d.Anchor;
    }
    if (lighting != !lines) {
      lines ? glDisable(GL_LIGHTING) : glEnable(GL_LIGHTING);
      lines ? glDisableClientState(GL_COLOR_ARRAY) : glEnableClientState(GL_COLOR_ARRAY);
      lighting = !lines;
    }
    const int wantBlend = d.Blended && !lines, wantOffset = d.Flat && !lines;
    if (blend != wantBlend) {
      wantBlend ? glEnable(GL_BLEND) : glDisable(GL_BLEND);
      blend = wantBlend;
    }
    if (offset != wantOffset) {
      wantOffset ? glEnable(GL_POLYGON_OFFSET_FILL) : glDisable(GL_POLYGON_OFFSET_FILL);
      offset = wantOffset;
    }
    ++Draws_;
    if (lines) {
      const TGLLines& l = *d.Line;
      if (l.Nodes.empty()) continue;
      glLineWidth(std::clamp(l.LineWidth, 1.0f, 64.0f));
      glColor4f(l.LineColor.R, l.LineColor.G, l.LineColor.B, l.LineColor.A);
      const bool dashed = l.LinePattern != 0xFFFF;
      if (dashed) {
        glEnable(GL_LINE_STIPPLE);
        glLineStipple(1, l.LinePattern);
      }
      glBegin(GL_LINE_STRIP);
      for (const TVector3f& p : l.Nodes) glVertex3f(p.X, p.Y, p.Z);
      glEnd();
      if (dashed) glDisable(GL_LINE_STIPPLE);
      continue;
    }
    if (!material || std::memcmp(material, &d.Front, sizeof(TGLFaceProperties)) != 0) {
      SetColor(GL_AMBIENT, d.Front.Ambient);
      SetColor(GL_EMISSION, d.Front.Emission);
      SetColor(GL_SPECULAR, d.Front.Specular);
      glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(d.Front.Shininess, 0.0f, 128.0f));
      material = &d.Front;
    }
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(d.IndexCount), GL_UNSIGNED_INT,
                   reinterpret_cast<const void*>(static_cast<uintptr_t>(d.FirstIndex) * sizeof(uint32_t)));
    Triangles_ += d.IndexCount / 3;
  }
  glDisable(GL_COLOR_MATERIAL);
  glDisableClientState(GL_VERTEX_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_COLOR_ARRAY);
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  glEnable(GL_LIGHTING);
}

void TGLRenderer::PrepareGeometry(const TGLBaseSceneObject& root) {
  const TGLDrawList& list = Builder_.Build(root, LastView_, [this](const char* m) { Report(m); });
  if ((list.Changed || !GL_->Uploaded) && Upload(list)) Builder_.DropVertices();
}

}  // namespace qv
