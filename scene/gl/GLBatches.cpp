#include "scene/gl/GLBatches.h"

#include <cstring>

namespace qv {

bool SameFaceBits(const TGLFaceProperties& a, const TGLFaceProperties& b) {
  static_assert(sizeof(TGLFaceProperties) == 17 * sizeof(float), "face properties are plain floats");
  return std::memcmp(&a, &b, sizeof(TGLFaceProperties)) == 0;
}

void TGLBatchBuilder::Clear() {
  Overflow_ = false;
  InRun_ = false;
  Pending_.clear();
  Groups_.clear();
  Vertices_.clear();
  Indices_.clear();
  Draws_.clear();
  RunDraws_.assign(1, 0);
}

void TGLBatchBuilder::BeginRun() {
  if (InRun_) FlushRun();
  InRun_ = true;
}

void TGLBatchBuilder::Add(const TGLMeshView& mesh, const TMatrix4& matrix, const TGLFaceProperties& front,
                          bool flat, bool blended) {
  if (!InRun_) BeginRun();
  int group = 0;
  const int groups = static_cast<int>(Groups_.size());
  while (group < groups && !(Groups_[static_cast<size_t>(group)].Flat == flat &&
                             Groups_[static_cast<size_t>(group)].Blended == blended &&
                             SameFaceBits(Groups_[static_cast<size_t>(group)].Front, front)))
    ++group;
  if (group == groups) Groups_.push_back({front, flat, blended});
  Pending_.push_back({mesh, matrix, group});
}

bool TGLBatchBuilder::Finish() {
  if (InRun_) FlushRun();
  InRun_ = false;
  return !Overflow_;
}

// A run's objects go out material by material, each material's objects in their list order.
void TGLBatchBuilder::FlushRun() {
  for (size_t g = 0; g < Groups_.size(); ++g) {
    TGLBatchDraw* draw = nullptr;
    for (const TPending& p : Pending_)
      if (p.Group == static_cast<int>(g)) Emit(p, draw);
  }
  Pending_.clear();
  Groups_.clear();
  RunDraws_.push_back(static_cast<int>(Draws_.size()));
}

namespace {

// The rows of the matrix's upper 3 x 3 block turned into the matrix that carries normals: the
// inverse transposed (cofactors with the determinant's sign; the renderer normalises anyway).
void NormalMatrix(const TMatrix4& m, float out[9]) {
  const double a = m(0, 0), b = m(0, 1), c = m(0, 2);
  const double d = m(1, 0), e = m(1, 1), f = m(1, 2);
  const double g = m(2, 0), h = m(2, 1), i = m(2, 2);
  const double cof[9] = {e * i - f * h, f * g - d * i, d * h - e * g,
                         c * h - b * i, a * i - c * g, b * g - a * h,
                         b * f - c * e, c * d - a * f, a * e - b * d};
  const double det = a * cof[0] + b * cof[1] + c * cof[2];
  const double sign = det < 0 ? -1.0 : 1.0;
  for (int k = 0; k < 9; ++k) out[k] = static_cast<float>(sign * cof[k]);
}

}  // namespace

void TGLBatchBuilder::Emit(const TPending& p, TGLBatchDraw*& draw) {
  const TGLMeshView& mesh = p.Mesh;
  const size_t points = static_cast<size_t>(mesh.PointCount);
  if (points == 0 || Overflow_) return;
  if (points > 0xFFFF || Vertices_.size() / 6 + points > MaxVertices_) {
    Overflow_ = true;
    return;
  }
  const TGroup& group = Groups_[static_cast<size_t>(p.Group)];
  const size_t first = Vertices_.size() / 6;
  // 16-bit indices: a draw holds at most 65 535 vertices (0xFFFF marks a dropped corner below);
  // the next object starts another.
  if (!draw || first + points - static_cast<size_t>(draw->BaseVertex) > 0xFFFF) {
    TGLBatchDraw next;
    next.IndexOffset = Indices_.size();
    next.BaseVertex = static_cast<int>(first);
    next.Front = group.Front;
    next.Flat = group.Flat;
    next.Blended = group.Blended;
    Draws_.push_back(next);
    draw = &Draws_.back();
  }

  const TMatrix4& m = p.Matrix;
  float n[9];
  NormalMatrix(m, n);
  auto normal = [&](float x, float y, float z, float* out) {
    out[0] = n[0] * x + n[1] * y + n[2] * z;
    out[1] = n[3] * x + n[4] * y + n[5] * z;
    out[2] = n[6] * x + n[7] * y + n[8] * z;
  };
  float constant[3];
  normal(mesh.ConstantNormal.X, mesh.ConstantNormal.Y, mesh.ConstantNormal.Z, constant);

  Vertices_.resize(Vertices_.size() + points * 6);
  float* out = Vertices_.data() + first * 6;
  for (size_t k = 0; k < points; ++k, out += 6) {
    const float* pt = mesh.Points + k * static_cast<size_t>(mesh.PointStride);
    const double x = pt[0], y = pt[1], z = mesh.PointComponents > 2 ? pt[2] : 0.0f;
    out[0] = static_cast<float>(m(0, 0) * x + m(0, 1) * y + m(0, 2) * z + m(0, 3));
    out[1] = static_cast<float>(m(1, 0) * x + m(1, 1) * y + m(1, 2) * z + m(1, 3));
    out[2] = static_cast<float>(m(2, 0) * x + m(2, 1) * y + m(2, 2) * z + m(2, 3));
    if (mesh.Normals) {
      const float* nm = mesh.Normals + k * static_cast<size_t>(mesh.PointStride);
      normal(nm[0], nm[1], nm[2], out + 3);
    } else {
      out[3] = constant[0];
      out[4] = constant[1];
      out[5] = constant[2];
    }
  }

  const auto offset = static_cast<uint32_t>(first - static_cast<size_t>(draw->BaseVertex));
  const size_t count = mesh.Indices16 || mesh.Indices32 ? static_cast<size_t>(mesh.IndexCount) : points;
  const size_t at = Indices_.size();
  Indices_.resize(at + count);
  uint16_t* idx = Indices_.data() + at;
  size_t kept = 0;
  for (size_t k = 0; k < count; ++k) {
    const uint32_t i = mesh.Indices16 ? mesh.Indices16[k] : mesh.Indices32 ? mesh.Indices32[k] : static_cast<uint32_t>(k);
    // An index past the mesh's points would name another object's vertex: its triangle is dropped.
    idx[kept++] = static_cast<uint16_t>(i < points ? offset + i : 0xFFFFu);
  }
  // Whole triangles only, and none that names a point the mesh does not have.
  size_t write = at;
  for (size_t t = 0; t + 3 <= kept; t += 3) {
    const uint16_t* tri = Indices_.data() + at + t;
    if (tri[0] == 0xFFFF || tri[1] == 0xFFFF || tri[2] == 0xFFFF) continue;
    if (write != at + t) std::memmove(Indices_.data() + write, tri, 3 * sizeof(uint16_t));
    write += 3;
  }
  Indices_.resize(write);
  draw->IndexCount = static_cast<int>(Indices_.size() - draw->IndexOffset);
}

}  // namespace qv
