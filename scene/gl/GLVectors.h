// Small vector, colour and matrix types of the scene layer (single precision, like its properties;
// matrices in double so that deep trees do not drift). TVector3f is the scene objects' own type, in
// the precision OpenGL takes them; the geometry of blocks and bores computes in double precision
// with TXYZPoint and hands the scene its results.
#pragma once

#include <array>
#include <cstdint>

namespace qv {

struct TVector3f {
  float X = 0.0f;
  float Y = 0.0f;
  float Z = 0.0f;
  bool operator==(const TVector3f&) const = default;
};

TVector3f VectorCross(const TVector3f& a, const TVector3f& b);
float VectorLength(const TVector3f& a);

// RGBA, each component 0..1.
struct TColorVector {
  float R = 0.0f;
  float G = 0.0f;
  float B = 0.0f;
  float A = 1.0f;
  bool operator==(const TColorVector&) const = default;
};

// A colour value laid out 0x00BBGGRR as an opaque RGBA vector. A system colour value (high bit
// set, the index of a system colour in the low byte) is first resolved to its RGB value.
TColorVector ColorToVector(uint32_t colorValue);
// The RGB value of a system colour value; other values come back unchanged.
uint32_t ResolveSystemColor(uint32_t colorValue);

// Column-major 4 x 4 matrix, as OpenGL takes it.
struct TMatrix4 {
  std::array<double, 16> M{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

  static TMatrix4 Identity() { return {}; }
  double& operator()(int row, int column) { return M[column * 4 + row]; }
  double operator()(int row, int column) const { return M[column * 4 + row]; }
  TMatrix4 operator*(const TMatrix4& b) const;
  TVector3f TransformPoint(const TVector3f& p) const;
};

}  // namespace qv
