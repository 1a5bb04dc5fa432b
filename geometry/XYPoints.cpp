#include "geometry/XYPoints.h"

#include <cmath>
#include <numbers>

namespace qv {

TXYPoint MakeXYPoint(double x, double y) { return {x, y}; }

int Sign(double x) { return x < 0.0 ? -1 : 1; }

double NormalizeAngle(double angle) {
  // fmod instead of a loop of whole turns: a huge angle from a file must not spin for ages.
  double a = std::fmod(angle, 360.0);
  if (a < 0.0) a += 360.0;
  // A tiny negative remainder rounds up to exactly 360, which is outside the range.
  if (a >= 360.0) a = 0.0;
  return a;
}

TXYPoint RotateXYPoint(const TXYPoint& centre, const TXYPoint& point, double angle) {
  constexpr double Rad = std::numbers::pi / 180.0;
  const double a = NormalizeAngle(angle);
  const double dx = point.X - centre.X;
  const double dy = point.Y - centre.Y;
  const double r = std::sqrt(dx * dx + dy * dy);
  const double phi = dx != 0.0 ? std::atan2(dy, dx) / Rad : Sign(dy) * 90.0;
  return {centre.X + r * std::cos((a + phi) * Rad), centre.Y + r * std::sin((a + phi) * Rad)};
}

}  // namespace qv
