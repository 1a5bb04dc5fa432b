// Draws a scene tree through the OpenGL context that is current: the window's or an off-screen
// one. This is the only code that talks to OpenGL and GLU.
//
// Each frame: depth test, lighting (scene ambient, two point lights), smooth shading, back faces
// culled. The tree is drawn depth first; among the children of one object the opaque ones come
// in list order and the blended ones after them, farthest from the camera first. Geometry is
// generated once per object and reused until a property of the object changes: surfaces of
// revolution are GLU quadrics of unit size, one display list per distinct shape, shared by every
// object of that shape and sized by the object's matrix; boxes and texts have vertex buffers of
// their own (compiling thousands of small display lists costs far more than filling buffers).
// Glyphs are tessellated once per character and shared by every text.
//
// Each frame first lists what it would draw, in that order. When the list equals the last
// frame's, consecutive opaque objects are drawn from copies of their triangles gathered per
// material (see GLBatches.h): only blended objects fix an order among opaque ones (they write
// depth), so every stretch between two blended objects is drawn as a handful of large draws, and
// each blended object by itself in between (from its copy as well). A list that changes frame
// after frame is drawn object by object instead, since gathering would not pay.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/FontSource.h"
#include "scene/gl/GLGlyphs.h"
#include "scene/gl/GLSceneObjects.h"
#include "scene/gl/GLViewState.h"

namespace qv {

inline constexpr const char* FontCreationFailed = "FontManager: font creation failed";
inline constexpr const char* NoMoreDisplayLists = "FontManager: no more display lists available";

struct TGLListPool;

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

  // Generates the geometry of every visible object of the tree that lacks it, without drawing
  // (the context must be current); the next frame then only draws.
  void PrepareGeometry(const TGLBaseSceneObject& root);

  // Frees every display list in the current context; later frames rebuild what they need.
  void ReleaseGL();
  // The context went away with its display lists: forget them without touching OpenGL.
  void ContextLost();

  // Errors met while drawing (glyphs that cannot be had), each told once. Without a handler
  // they are kept in Errors().
  std::function<void(const std::string&)> OnError;
  const std::vector<std::string>& Errors() const { return Errors_; }

  TGLGlyphCache& Glyphs() { return Glyphs_; }

  // At most this many display lists and vertex buffers are held (0: as many as the context gives).
  int MaxGeometryObjects = 0;

  // Opaque objects drawn from gathered copies (above); off: every object drawn by itself. The
  // pictures agree but for rounding.
  bool BatchOpaqueGeometry = true;
  // A scene whose copies would take more vertices than this is drawn object by object.
  int MaxGatheredVertices = 8 << 20;

  struct TStatistics {
    int GeometryBuilds = 0;  // objects whose geometry was generated, since the renderer began
    int DrawnObjects = 0;    // objects drawn in the last frame
    int ShapeLists = 0;      // shared quadric display lists held
    int Buffers = 0;         // vertex buffers held by boxes and texts
    int BatchBuilds = 0;     // times the objects were gathered anew (or tried to), since the renderer began
    int BatchedObjects = 0;  // objects of the last frame drawn from the gathered copies
    int BatchedDraws = 0;    // draws those took
  };
  TStatistics Statistics() const;

  // When set, the objects drawn in the last frame, in drawing order.
  bool RecordDrawOrder = false;
  const std::vector<const TGLBaseSceneObject*>& DrawOrder() const { return DrawOrder_; }

private:
  struct TFrame;
  struct TItem;
  struct TBatchState;
  // Lists the visible objects of the subtree in drawing order, generating missing geometry.
  void Collect(TFrame& frame, const TGLBaseSceneObject& object, int anchor, const TMatrix4& parentRel);
  void AddItem(const TGLBaseSceneObject& object, int anchor, const TMatrix4& rel);
  bool BuildBatches();
  void DrawBatched(TFrame& frame);
  void DrawRun(TFrame& frame, int run, int anchor);
  void DrawItem(TFrame& frame, const TItem& item);
  void DrawOwn(TFrame& frame, const TGLBaseSceneObject& object, const TGLCachedGeometry* g, const TMatrix4& world);
  void DrawLines(TFrame& frame, const TGLLines& lines);
  // The object's geometry as it is now, generated when missing or out of date.
  TGLCachedGeometry& EnsureGeometry(const TGLBaseSceneObject& object);
  bool BuildShape(TGLCachedGeometry& cached, const TGLBaseSceneObject& object);
  bool BuildBuffer(TGLCachedGeometry& cached, const TGLBaseSceneObject& object);
  bool CanGather();
  bool RoomForOneMore() const;
  void ApplyMaterial(TFrame& frame, const TGLFaceProperties& front, const TGLFaceProperties* back);
  void Report(const std::string& message);

  std::shared_ptr<TGLListPool> Pool_;
  TGLGlyphCache Glyphs_;
  void* Quadric_ = nullptr;  // GLUquadric
  std::vector<std::string> Errors_;
  std::vector<TFontPoint> TextPoints_;
  std::vector<uint32_t> TextIndices_;
  std::vector<unsigned char> BufferScratch_;
  std::vector<const TGLBaseSceneObject*> DrawOrder_;
  std::unique_ptr<TBatchState> Batch_;
  int GeometryBuilds_ = 0;
  int DrawnObjects_ = 0;
};

}  // namespace qv
