// Draws a scene tree through the OpenGL context that is current: the window's or an off-screen
// one. This is the only code that talks to OpenGL and GLU.
//
// The draw list (GLDrawList.h) says what a frame draws; this back end only uploads its vertex
// array when it changed and replays its draws: depth test, lighting (scene ambient, two point
// lights), smooth shading, back faces culled, each vertex's colour as its diffuse colour. The
// quadric shapes the list asks for are made by GLU and captured once.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/FontSource.h"
#include "scene/gl/GLDrawList.h"
#include "scene/gl/GLGlyphs.h"
#include "scene/gl/GLSceneObjects.h"
#include "scene/gl/GLViewState.h"

namespace qv {

class TGLRenderer {
public:
  // Without a font opener, "Arial" is looked up through the system when the first text is drawn.
  explicit TGLRenderer(TFontOpener font = {});
  // Leaves the context alone: call ReleaseGL first while the context is still current.
  ~TGLRenderer();
  TGLRenderer(const TGLRenderer&) = delete;
  TGLRenderer& operator=(const TGLRenderer&) = delete;

  // Clears to the background colour and draws the tree into a width x height viewport.
  void Render(const TGLBaseSceneObject& root, const TGLViewState& view, int width, int height);

  // Makes and uploads the geometry of the tree as the last view (or the default one) sees it,
  // without drawing (the context must be current); the next frame then only draws.
  void PrepareGeometry(const TGLBaseSceneObject& root);

  // Frees the buffers in the current context; later frames make what they need again.
  void ReleaseGL();
  // The context went away with its buffers: forget them without touching OpenGL.
  void ContextLost();

  // Errors met while drawing (glyphs that cannot be had), each told once. Without a handler
  // they are kept in Errors().
  std::function<void(const std::string&)> OnError;
  const std::vector<std::string>& Errors() const { return Errors_; }

  TGLGlyphCache& Glyphs() { return Glyphs_; }

  // Fewer slices and simpler glyphs for objects that cover few pixels (see GLDrawList.h).
  void SetLevelOfDetail(bool on) { Builder_.LevelOfDetail = on; }

  struct TStatistics {
    int GeometryBuilds = 0;  // objects whose geometry was made, since the renderer began
    int DrawnObjects = 0;    // objects drawn in the last frame
    int Shapes = 0;          // distinct quadric shapes held
    int ArrayBuilds = 0;     // times the vertex array was made anew, since the renderer began
    int Draws = 0;           // draws of the last frame
    long long Triangles = 0; // triangles of the last frame
  };
  TStatistics Statistics() const;

  // When set, the objects drawn in the last frame, in drawing order.
  bool RecordDrawOrder = false;
  const std::vector<const TGLBaseSceneObject*>& DrawOrder() const { return DrawOrder_; }

private:
  bool CaptureShape(const TGLShapeKey& key, TGLMesh& mesh);
  bool Upload(const TGLDrawList& list);
  void Draw(const TGLDrawList& list, const TMatrix4& view);
  void Report(const std::string& message);

  TGLGlyphCache Glyphs_;
  TGLDrawListBuilder Builder_;
  void* Quadric_ = nullptr;  // GLUquadric
  struct TBuffers;
  std::unique_ptr<TBuffers> GL_;
  TGLViewState LastView_;
  std::vector<std::string> Errors_;
  std::vector<const TGLBaseSceneObject*> DrawOrder_;
  int DrawnObjects_ = 0;
  int Draws_ = 0;
  long long Triangles_ = 0;
};

}  // namespace qv
