// Opaque geometry gathered into a few large draws. On the software rasteriser every draw and every
// matrix change costs as much as dozens of triangles, and a hole's dozen pieces share a handful of
// colours, so the renderer copies the triangles of consecutive opaque objects, already placed in
// the frame of the grouping object above them, into one vertex array: one draw per material (and
// polygon offset) of each stretch of opaque objects that no blended object interrupts. The copies
// are made once and drawn every frame until an object changes; turning the grouping object (as
// orbiting does) only changes the matrix they are drawn with.
//
// This part only arranges numbers; the renderer uploads and draws them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "scene/gl/GLSceneObjects.h"
#include "scene/gl/GLVectors.h"

namespace qv {

// The triangles of one object as its cache holds them, in the object's own frame.
struct TGLMeshView {
  const float* Points = nullptr;  // PointCount points of PointComponents floats (2: z = 0)
  int PointComponents = 3;
  int PointStride = 3;            // floats from one point to the next
  const float* Normals = nullptr; // per point, same stride; null: ConstantNormal for all
  TVector3f ConstantNormal{0.0f, 0.0f, 1.0f};
  int PointCount = 0;
  // Three a triangle, counter-clockwise from the front; null: the points in order.
  const uint16_t* Indices16 = nullptr;
  const uint32_t* Indices32 = nullptr;
  int IndexCount = 0;
};

// One draw: IndexCount 16-bit indices from IndexOffset (in indices), relative to BaseVertex.
struct TGLBatchDraw {
  size_t IndexOffset = 0;
  int IndexCount = 0;
  int BaseVertex = 0;
  TGLFaceProperties Front;
  bool Flat = false;     // texts and flat rings: drawn with the polygon offset
  bool Blended = false;  // a blended object's own run
};

// Face properties compared bit for bit: a damaged colour (NaN) still matches itself.
bool SameFaceBits(const TGLFaceProperties& a, const TGLFaceProperties& b);

class TGLBatchBuilder {
public:
  // At most this many vertices in all; past it Finish reports failure.
  explicit TGLBatchBuilder(size_t maxVertices = 8u << 20) : MaxVertices_(maxVertices) {}

  void SetMaxVertices(size_t maxVertices) { MaxVertices_ = maxVertices; }
  void Clear();
  // Starts the next stretch of objects whose order among themselves may change.
  void BeginRun();
  // Adds an object of the current run: its mesh placed by `matrix`, drawn with `front`. A blended
  // object is a run of its own.
  void Add(const TGLMeshView& mesh, const TMatrix4& matrix, const TGLFaceProperties& front, bool flat,
           bool blended = false);
  // Closes the last run; false when the vertices did not fit.
  bool Finish();

  // x y z nx ny nz per vertex.
  const std::vector<float>& Vertices() const { return Vertices_; }
  const std::vector<uint16_t>& Indices() const { return Indices_; }
  const std::vector<TGLBatchDraw>& Draws() const { return Draws_; }
  // The draws of run r are Draws()[RunDraws()[r] .. RunDraws()[r + 1]).
  const std::vector<int>& RunDraws() const { return RunDraws_; }
  int Runs() const { return static_cast<int>(RunDraws_.size()) - 1; }

private:
  struct TPending {
    TGLMeshView Mesh;
    TMatrix4 Matrix;
    int Group;
  };
  struct TGroup {
    TGLFaceProperties Front;
    bool Flat;
    bool Blended;
  };
  void FlushRun();
  void Emit(const TPending& p, TGLBatchDraw*& draw);

  size_t MaxVertices_;
  bool Overflow_ = false;
  bool InRun_ = false;
  std::vector<TPending> Pending_;
  std::vector<TGroup> Groups_;
  std::vector<float> Vertices_;
  std::vector<uint16_t> Indices_;
  std::vector<TGLBatchDraw> Draws_;
  std::vector<int> RunDraws_;
};

}  // namespace qv
