#include "geometry/FaceFrames.h"

#include <cmath>
#include <numbers>

namespace qv {

namespace {

// Indexed by face number; entry 0 repeats face 1 for numbers outside the range.
const TFaceFrame Frames[7] = {
    {{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}},
    {{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}},
    {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
    {{0, 0, 1}, {0, -1, 0}, {1, 0, 0}},
    {{0, 0, -1}, {0, -1, 0}, {-1, 0, 0}},
    {{-1, 0, 0}, {0, 0, -1}, {0, -1, 0}},
    {{-1, 0, 0}, {0, 1, 0}, {0, 0, -1}},
};

}  // namespace

bool IsFaceNumber(int face) { return face >= 1 && face <= 6; }

const TFaceFrame& FaceFrame(int face) { return Frames[IsFaceNumber(face) ? face : 0]; }

TXYZPoint FaceToBlock(const TBlockExtents& block, int face, double u, double v, double d) {
  switch (face) {
    case 2: return {u, d, v};
    case 3: return {d, u, v};
    case 4: return {block.SizeX - d, u, v};
    case 5: return {u, block.SizeY - d, v};
    case 6: return {u, v, block.SizeZ - d};
    default: return {u, v, d};
  }
}

TXYZPoint BlockToScene(const TBlockExtents& block, double scaleFactor, const TXYZPoint& p) {
  return {scaleFactor * (block.SizeX / 2 - p.X), scaleFactor * (block.SizeY / 2 - p.Y),
          scaleFactor * (block.SizeZ / 2 - p.Z)};
}

TXYZPoint FaceToScene(const TBlockExtents& block, double scaleFactor, int face, double u, double v, double d) {
  return BlockToScene(block, scaleFactor, FaceToBlock(block, face, u, v, d));
}

TXYZPoint FaceOffset(int face, double a, double b) {
  const TFaceFrame& f = FaceFrame(face);
  return a * f.P + b * f.Q;
}

TXYZPoint BoreAxis(int face, double tiltAngle, double tiltDirection) {
  constexpr double Rad = std::numbers::pi / 180.0;
  const TFaceFrame& f = FaceFrame(face);
  const double a = tiltAngle * Rad, b = tiltDirection * Rad;
  return std::cos(a) * f.N - std::sin(a) * std::cos(b) * f.P - std::sin(a) * std::sin(b) * f.Q;
}

}  // namespace qv
