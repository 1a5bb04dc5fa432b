// Triangle meshes of the scene's solid kinds made on the CPU, in the object's local frame and
// without an OpenGL context: the surfaces the renderer draws, for writing a scene to other formats.
// The surfaces of revolution follow the renderer's quadrics: Slices around the axis, Stacks bands
// along each side, Loops rings on each end disc, the first slice starting on local -Z.
#pragma once

#include <cstdint>
#include <vector>

#include "scene/gl/GLSceneObjects.h"

namespace qv {

class TGLGlyphCache;

struct TGLMesh {
  std::vector<TVector3f> Positions;
  std::vector<TVector3f> Normals;  // one a position, unit length
  std::vector<uint32_t> Indices;   // three a triangle, counter-clockwise seen from the side it faces
  bool Empty() const { return Indices.empty(); }
};

// The largest number of slices, stacks or loops a quadric is made with, as the renderer draws it.
inline constexpr int MaxQuadricDivisions = 1024;

// A closed box centred on the origin, as TGLCube.
void AppendBoxMesh(float width, float height, float depth, TGLMesh& mesh);

// A surface of revolution about Y centred on the origin, as TGLCylinder (inner radii 0, `tube`
// false) and TGLAnnulus (`tube` true): the outer side, the inner side of a tube, and the end rings
// where they have a width. Nothing is added when a size is negative or not finite or every radius
// is 0; a height of 0 gives the two end rings only, back to back.
struct TGLRevolution {
  bool Tube = false;
  float Bottom = 0.0f, Top = 0.0f, BottomInner = 0.0f, TopInner = 0.0f, Height = 0.0f;
  int Slices = 16, Stacks = 4, Loops = 1;
  bool EndRings = true;  // false: the rings at both ends are left out
};
void AppendRevolutionMesh(const TGLRevolution& shape, TGLMesh& mesh);

// The local mesh of a box, cylinder, annulus or text (texts through `glyphs`: without it, or when
// its font is missing, a text adds nothing). Other kinds add nothing. Appends to `mesh`.
void AppendObjectMesh(const TGLBaseSceneObject& object, TGLMesh& mesh, TGLGlyphCache* glyphs = nullptr);

}  // namespace qv
