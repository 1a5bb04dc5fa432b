#include "geometry/XYZPoints.h"

#include <cmath>

namespace qv {

TXYZPoint MakeXYZPoint(double x, double y, double z) { return {x, y, z}; }

double Dot(const TXYZPoint& a, const TXYZPoint& b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }

TXYZPoint Cross(const TXYZPoint& a, const TXYZPoint& b) {
  return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}

double Length(const TXYZPoint& a) { return std::sqrt(Dot(a, a)); }

TXYZPoint Normalized(const TXYZPoint& a) {
  const double l = Length(a);
  return l > 0.0 ? (1.0 / l) * a : a;
}

}  // namespace qv
