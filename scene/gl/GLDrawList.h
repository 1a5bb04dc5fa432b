// What a frame draws, worked out without OpenGL: the scene tree turned into one vertex array and
// a short list of draws that a back end uploads once and replays frame after frame.
//
// The tree is walked in drawing order (depth first; among the children of one object the opaque
// ones in list order, then the blended ones farthest from the camera first). Every object's
// triangles are copied, placed in the frame of the nearest grouping object above it, into the
// array, each vertex carrying its material's diffuse colour. Between two blended objects the
// order of the opaque ones does not show (depth decides), so each such stretch under one grouping
// object becomes one draw per polygon offset and remaining material; a blended object is a draw
// of its own. Turning a grouping object (as orbiting does) changes only the matrix its draws are
// made with.
//
// Level of detail: a surface of revolution is drawn with fewer slices, and a text from simpler
// glyphs, when it covers few pixels; an end ring much thinner than a pixel is left out. The
// objects keep their own values; only the drawing chooses. The distance that decides is the
// nearest the object can come to the eye while its grouping object turns about its origin, so
// orbiting never changes a level and the array stays as it is.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "scene/gl/GLGlyphs.h"
#include "scene/gl/GLMeshes.h"
#include "scene/gl/GLSceneObjects.h"
#include "scene/gl/GLViewState.h"

namespace qv {

inline constexpr const char* FontCreationFailed = "FontManager: font creation failed";
inline constexpr const char* NoMoreDisplayLists = "FontManager: no more display lists available";

// A surface of revolution of unit size: radii relative to the largest, height 1 (0 for a flat
// ring), centred on the origin along +Y as the scene objects are.
struct TGLShapeKey {
  bool Annulus = false;
  bool Flat = false;
  bool EndRings = true;  // false: the rings at both ends are left out
  float Bottom = 0, Top = 0, BottomInner = 0, TopInner = 0;
  int Slices = 16, Stacks = 1, Loops = 1;
  auto operator<=>(const TGLShapeKey&) const = default;
};

// Makes the triangles of a unit shape; false when it cannot.
using TGLShapeSource = std::function<bool(const TGLShapeKey&, TGLMesh&)>;
// The same shape made on the CPU (the source when no other is given).
bool RevolutionShape(const TGLShapeKey& key, TGLMesh& mesh);

// The slices a quadric of `slices` is drawn with when its radius spans `radiusPixels` and its
// height `heightPixels` on the screen: the fewest whose polygon stays within half a pixel of the
// circle, but at least `fewest` (6 for a radius or a height under a pixel), so that the smooth
// shading stays that of a round surface.
int SlicesFor(int slices, float radiusPixels, float heightPixels, int fewest);

// x y z, nx ny nz (floats), then red, green, blue, alpha (bytes): 28 bytes a vertex.
struct TGLDrawVertex {
  float X, Y, Z;
  float NX, NY, NZ;
  uint8_t R, G, B, A;
};

struct TGLDraw {
  enum TKind : uint8_t { Triangles, Lines };
  TKind Kind = Triangles;
  int Anchor = 0;           // the grouping object whose world matrix places the draw
  uint32_t FirstIndex = 0;  // triangles: a range of Indices
  uint32_t IndexCount = 0;
  bool Flat = false;     // texts and flat rings: drawn with the polygon offset
  bool Blended = false;  // source alpha over what is there
  TGLFaceProperties Front;  // all but the diffuse colour, which the vertices carry
  const TGLLines* Line = nullptr;  // lines: drawn from the object, in its own frame
  TMatrix4 LineMatrix;             // the polyline's frame in its anchor's
};

struct TGLDrawList {
  std::vector<TMatrix4> Anchors;  // world matrices of the grouping objects, this frame
  std::vector<TGLDrawVertex> Vertices;
  std::vector<uint32_t> Indices;
  std::vector<TGLDraw> Draws;
  std::vector<const TGLBaseSceneObject*> Order;  // the visible objects in drawing order
  // A new array since the last frame (the back end uploads it); false: only Anchors changed.
  bool Changed = true;
  uint64_t Triangles() const { return Indices.size() / 3; }
};

class TGLDrawListBuilder {
public:
  // Texts take their glyphs from `glyphs`; quadric shapes come from `shapes` (the CPU's own
  // when empty).
  explicit TGLDrawListBuilder(TGLGlyphCache& glyphs, TGLShapeSource shapes = {});
  ~TGLDrawListBuilder();
  TGLDrawListBuilder(const TGLDrawListBuilder&) = delete;
  TGLDrawListBuilder& operator=(const TGLDrawListBuilder&) = delete;

  // The list of a frame of the tree seen through `view`; the vertex array is made anew only when
  // what it holds changed since the last call. Errors (a missing font) go to `report`.
  const TGLDrawList& Build(const TGLBaseSceneObject& root, const TGLViewState& view,
                           const std::function<void(const char*)>& report);
  // The arrays are handed over: the next Build makes them anew.
  void ReleaseArrays();
  // The vertex array is not needed after upload: frees it, keeping the draws.
  void DropVertices();

  // Level of detail on (the default); off draws every object as its properties give it.
  bool LevelOfDetail = true;
  // The fewest slices of a quadric that covers whole pixels (see SlicesFor).
  int FewestSlices = 12;

  int GeometryBuilds() const { return GeometryBuilds_; }
  int Shapes() const { return static_cast<int>(Shapes_.size()); }
  int ArrayBuilds() const { return ArrayBuilds_; }

  struct TItem;

private:
  struct TWalk;
  void Walk(TWalk& walk, const TGLBaseSceneObject& object, int anchor, const TMatrix4& rel);
  void AddItem(TWalk& walk, const TGLBaseSceneObject& object, int anchor, const TMatrix4& rel);
  void MakeArrays(const std::function<void(const char*)>& report);
  const TGLMesh* Shape(const TGLShapeKey& key);

  TGLGlyphCache& Glyphs_;
  TGLShapeSource Source_;
  std::shared_ptr<int> Owner_;  // tells the objects' cached geometry made here from another's
  std::map<TGLShapeKey, std::unique_ptr<TGLMesh>> Shapes_;
  std::vector<TItem> Items_, Previous_;
  TGLDrawList List_;
  bool Valid_ = false;
  uint64_t NextSerial_ = 1;
  int GeometryBuilds_ = 0;
  int ArrayBuilds_ = 0;
};

}  // namespace qv
