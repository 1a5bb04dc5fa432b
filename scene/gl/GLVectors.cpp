#include "scene/gl/GLVectors.h"

#include <cmath>

namespace qv {

TVector3f VectorCross(const TVector3f& a, const TVector3f& b) {
  return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}

float VectorLength(const TVector3f& a) { return std::sqrt(a.X * a.X + a.Y * a.Y + a.Z * a.Z); }

uint32_t ResolveSystemColor(uint32_t colorValue) {
  if (!(colorValue & 0x80000000u)) return colorValue;
  // The classic defaults of the 31 system colours, 0x00BBGGRR, by index.
  static constexpr uint32_t SystemColors[31] = {
      0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000,
      0x000000, 0x000000, 0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xFF9933, 0xFFFFFF, 0xF0F0F0,
      0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000, 0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000,
      0xE1FFFF, 0x000000, 0xCC6600, 0xEAD1B9, 0xF2E4D7, 0xFF9933, 0xF0F0F0};
  const uint32_t index = colorValue & 0xFF;
  return index < 31 ? SystemColors[index] : 0x000000;
}

TColorVector ColorToVector(uint32_t colorValue) {
  const uint32_t rgb = ResolveSystemColor(colorValue);
  return {static_cast<float>(rgb & 0xFF) / 255.0f, static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
          static_cast<float>((rgb >> 16) & 0xFF) / 255.0f, 1.0f};
}

TMatrix4 TMatrix4::operator*(const TMatrix4& b) const {
  TMatrix4 r;
  for (int c = 0; c < 4; ++c)
    for (int row = 0; row < 4; ++row) {
      double s = 0.0;
      for (int k = 0; k < 4; ++k) s += (*this)(row, k) * b(k, c);
      r(row, c) = s;
    }
  return r;
}

TVector3f TMatrix4::TransformPoint(const TVector3f& p) const {
  const TMatrix4& m = *this;
  return {static_cast<float>(m(0, 0) * p.X + m(0, 1) * p.Y + m(0, 2) * p.Z + m(0, 3)),
          static_cast<float>(m(1, 0) * p.X + m(1, 1) * p.Y + m(1, 2) * p.Z + m(1, 3)),
          static_cast<float>(m(2, 0) * p.X + m(2, 1) * p.Y + m(2, 2) * p.Z + m(2, 3))};
}

}  // namespace qv
