// Plane point operations with hand-worked angles.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/XYPoints.h"
#include "geometry/XYZPoints.h"

namespace qv {
namespace {

void ExpectPoint(const TXYPoint& p, double x, double y) {
  EXPECT_NEAR(p.X, x, 1e-12);
  EXPECT_NEAR(p.Y, y, 1e-12);
}

TEST(NormalizeAngle, BringsAnglesIntoOneTurn) {
  EXPECT_DOUBLE_EQ(NormalizeAngle(-30), 330);
  EXPECT_DOUBLE_EQ(NormalizeAngle(720), 0);
  EXPECT_DOUBLE_EQ(NormalizeAngle(360), 0);
  EXPECT_DOUBLE_EQ(NormalizeAngle(-720), 0);
  EXPECT_DOUBLE_EQ(NormalizeAngle(359.5), 359.5);
  EXPECT_DOUBLE_EQ(NormalizeAngle(-370), 350);
  // A remainder so small that adding a turn rounds to 360 still ends inside the range.
  EXPECT_EQ(NormalizeAngle(-1e-20), 0.0);
  // Huge angles from a damaged file come back at once and in range.
  const double huge = NormalizeAngle(1e300);
  EXPECT_GE(huge, 0.0);
  EXPECT_LT(huge, 360.0);
  EXPECT_TRUE(std::isnan(NormalizeAngle(INFINITY)));
}

TEST(Sign, ZeroCountsAsPositive) {
  EXPECT_EQ(Sign(0.0), 1);
  EXPECT_EQ(Sign(-0.0), 1);
  EXPECT_EQ(Sign(2.5), 1);
  EXPECT_EQ(Sign(-1e-300), -1);
}

TEST(RotateXYPoint, TurnsCounterClockwiseAboutTheCentre) {
  ExpectPoint(RotateXYPoint({0, 0}, {1, 0}, 90), 0, 1);
  ExpectPoint(RotateXYPoint({1, 1}, {1, 1}, 45), 1, 1);
  ExpectPoint(RotateXYPoint({0, 0}, {1, 0}, -90), 0, -1);
  ExpectPoint(RotateXYPoint({0, 0}, {1, 0}, 270), 0, -1);
  // Off-origin centre: (3, 1) about (1, 1) by 180 is (-1, 1); by 30 it is 2 (cos 30, sin 30) away.
  ExpectPoint(RotateXYPoint({1, 1}, {3, 1}, 180), -1, 1);
  ExpectPoint(RotateXYPoint({1, 1}, {3, 1}, 30), 1 + std::sqrt(3.0), 2);
  // Points straight above and below the centre (dx = 0) take the +-90 degree branch.
  ExpectPoint(RotateXYPoint({0, 0}, {0, 2}, 90), -2, 0);
  ExpectPoint(RotateXYPoint({0, 0}, {0, -2}, 90), 2, 0);
  // The second quadrant: (-1, 1) is at 135 degrees; 45 more is (-sqrt 2, 0).
  ExpectPoint(RotateXYPoint({0, 0}, {-1, 1}, 45), -std::sqrt(2.0), 0);
  // The result may be written over its input.
  TXYPoint p = MakeXYPoint(2, 0);
  p = RotateXYPoint({0, 0}, p, 90);
  ExpectPoint(p, 0, 2);
}

TEST(XYZPoints, CrossAndNormalise) {
  const TXYZPoint c = Cross(MakeXYZPoint(1, 0, 0), MakeXYZPoint(0, 1, 0));
  EXPECT_EQ(c, MakeXYZPoint(0, 0, 1));
  const TXYZPoint n = Normalized(MakeXYZPoint(0, 3, 4));
  EXPECT_DOUBLE_EQ(n.Y, 0.6);
  EXPECT_DOUBLE_EQ(n.Z, 0.8);
  EXPECT_EQ(Normalized(TXYZPoint{}), TXYZPoint{});
}

}  // namespace
}  // namespace qv
