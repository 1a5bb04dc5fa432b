// Points in a plane and the plane operations the scene build uses: angles in degrees,
// counter-clockwise from +X towards +Y.
#pragma once

namespace qv {

struct TXYPoint {
  double X = 0.0;
  double Y = 0.0;
};

TXYPoint MakeXYPoint(double x, double y);

// 1 for zero and positive values, -1 for negative ones (NaN counts as not negative).
int Sign(double x);

// The angle brought into 0 <= a < 360 by whole turns. Infinite or NaN input gives NaN.
double NormalizeAngle(double angle);

// The point turned about the centre by the angle (degrees, counter-clockwise).
TXYPoint RotateXYPoint(const TXYPoint& centre, const TXYPoint& point, double angle);

}  // namespace qv
