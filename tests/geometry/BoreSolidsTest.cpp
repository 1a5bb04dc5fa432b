// Bore pieces placed in the block and the exact distance between convex pieces, against numbers
// worked out by hand.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/ConvexDistance.h"

namespace qv {
namespace {

constexpr double Tol = 1e-7;
const TBlockExtents Block{100, 60, 40};

void ExpectPoint(const TXYZPoint& p, double x, double y, double z, double eps = 1e-6) {
  EXPECT_NEAR(p.X, x, eps);
  EXPECT_NEAR(p.Y, y, eps);
  EXPECT_NEAR(p.Z, z, eps);
}

TBorePiece Cylinder(TXYZPoint top, TXYZPoint bottom, double r) { return {top, bottom, r, r}; }

TEST(BorePlacement, FollowsTheFaceAndTheAxisIntoTheBlock) {
  const std::vector<TBoreSection> profile{{0, 20, 5, 5}, {20, 23, 5, 0, 0, TBorePieceKind::Point}};
  TBorePlacement face1{1, 10, 20, 5};
  const TBoreSolid a = PlaceBore(Block, face1, profile);
  ASSERT_EQ(a.Pieces.size(), 2u);
  ExpectPoint(a.Pieces[0].Top, 10, 20, 5);
  ExpectPoint(a.Pieces[0].Bottom, 10, 20, 25);
  ExpectPoint(a.Pieces[1].Bottom, 10, 20, 28);
  EXPECT_EQ(a.Pieces[1].Kind, TBorePieceKind::Point);
  ExpectPoint(a.Box.Min, 5, 15, 5);
  ExpectPoint(a.Box.Max, 15, 25, 28);

  // Face 4 is x = SizeX; its (u, v) are block (y, z).
  const TBoreSolid b = PlaceBore(Block, {4, 10, 20, 0}, profile);
  ExpectPoint(b.Pieces[0].Top, 100, 10, 20);
  ExpectPoint(b.Pieces[0].Bottom, 80, 10, 20);

  // Tilted 30 degrees towards q (+v on face 1): the bore runs to +y as it goes down.
  TBorePlacement angled{1, 10, 20, 0, true, 30, 90};
  const TBoreSolid c = PlaceBore(Block, angled, profile);
  ExpectPoint(c.Axis, 0, 0.5, std::sqrt(3.0) / 2);
  ExpectPoint(c.Pieces[0].Bottom, 10, 30, 10 * std::sqrt(3.0));
  // An angled flag without a tilt is a straight bore.
  EXPECT_EQ(BoreDirection({1, 0, 0, 0, true, 0, 0}), (TXYZPoint{0, 0, 1}));
}

TEST(BorePlacement, LeavesOutSectionsADamagedDocumentGives) {
  const std::vector<TBoreSection> profile{
      {0, 10, 4, 4}, {10, 5, 4, 4}, {0, NAN, 4, 4}, {0, 10, 0, 0}, {0, 10, -1, 2}, {0, INFINITY, 1, 1}};
  EXPECT_EQ(PlaceBore(Block, {1, 0, 0, 0}, profile).Pieces.size(), 1u);
  EXPECT_TRUE(PlaceBore(Block, {1, NAN, 0, 0}, profile).Pieces.empty());
}

TEST(BorePlacement, TheBoxOfATiltedPieceHoldsItsRims) {
  const double s = std::sqrt(0.5);
  const TBoundingBox box = PieceBox(Cylinder({0, 0, 0}, {10 * s, 0, 10 * s}, 2));
  ExpectPoint(box.Min, -2 * s, -2, -2 * s);
  ExpectPoint(box.Max, 10 * s + 2 * s, 2, 10 * s + 2 * s);
}

TEST(ConvexDistance, ParallelCylindersSideBySide) {
  const TClosestPoints c = PieceDistance(Cylinder({0, 0, 0}, {0, 0, 50}, 5), Cylinder({20, 0, 10}, {20, 0, 30}, 3), Tol);
  EXPECT_NEAR(c.Distance, 12, 1e-6);
  EXPECT_NEAR(c.OnA.X, 5, 1e-6);
  EXPECT_NEAR(c.OnB.X, 17, 1e-6);
  EXPECT_NEAR(c.OnA.Y, 0, 1e-6);
  EXPECT_GE(c.OnA.Z, 10 - 1e-6);
  EXPECT_LE(c.OnA.Z, 30 + 1e-6);
}

TEST(ConvexDistance, CrossingCylindersAndTheirUniqueClosestPoints) {
  const TBorePiece a = Cylinder({0, 0, 0}, {0, 0, 50}, 4);
  const TClosestPoints c = PieceDistance(a, Cylinder({-20, 10, 25}, {20, 10, 25}, 3), Tol);
  EXPECT_NEAR(c.Distance, 3, 1e-6);
  ExpectPoint(c.OnA, 0, 4, 25);
  ExpectPoint(c.OnB, 0, 7, 25);

  // Overlapping: distance 0 and one point inside both.
  const TClosestPoints o = PieceDistance(a, Cylinder({-20, 2, 25}, {20, 2, 25}, 3), Tol);
  EXPECT_EQ(o.Distance, 0);
  EXPECT_EQ(o.OnA, o.OnB);
  EXPECT_LE(std::hypot(o.OnA.X, o.OnA.Y), 4 + 1e-9);
  EXPECT_LE(std::hypot(o.OnA.Y - 2, o.OnA.Z - 25), 3 + 1e-9);
}

TEST(ConvexDistance, ConesTipAndFlank) {
  // A drill point pointing down at a channel one below it.
  const TBorePiece tip{{0, 0, 0}, {0, 0, 10}, 5, 0};
  const TClosestPoints c = PieceDistance(tip, Cylinder({-10, 0, 12}, {10, 0, 12}, 1), Tol);
  EXPECT_NEAR(c.Distance, 1, 1e-6);
  ExpectPoint(c.OnA, 0, 0, 10);
  ExpectPoint(c.OnB, 0, 0, 11);

  // A 90-degree cone (base radius 5, height 5) and a thin rod across at (5, y, 5): its flank
  // x + z = 5 lies 5 / sqrt 2 from the rod's axis in the plane y = 0.
  const TBorePiece cone{{0, 0, 0}, {0, 0, 5}, 5, 0};
  const TClosestPoints f = PieceDistance(cone, Cylinder({5, -20, 5}, {5, 20, 5}, 0.5), Tol);
  EXPECT_NEAR(f.Distance, 5 / std::sqrt(2.0) - 0.5, 1e-6);
  ExpectPoint(f.OnA, 2.5, 0, 2.5, 1e-5);
}

TEST(ConvexDistance, PieceAndBox) {
  const TBoundingBox outside{{20, -100, -100}, {200, 100, 100}};
  const TClosestPoints c = PieceBoxDistance(Cylinder({10, 0, 0}, {10, 0, 30}, 4), outside, Tol);
  EXPECT_NEAR(c.Distance, 6, 1e-6);
  EXPECT_NEAR(c.OnA.X, 14, 1e-6);
  EXPECT_NEAR(c.OnB.X, 20, 1e-6);
  EXPECT_EQ(PieceBoxDistance(Cylinder({18, 0, 0}, {18, 0, 30}, 4), outside, Tol).Distance, 0);
}

TEST(ConvexDistance, AgreesWithTheSymmetricCaseAtAnyTilt) {
  // Two cylinders of radius 1 whose axes are skew lines 10 apart: 8 at every angle between them.
  for (double deg : {0.0, 15.0, 45.0, 89.0, 90.0}) {
    const double a = deg * M_PI / 180;
    const TBorePiece p = Cylinder({-30, 0, 0}, {30, 0, 0}, 1);
    const TBorePiece q = Cylinder({-30 * std::cos(a), -30 * std::sin(a), 10}, {30 * std::cos(a), 30 * std::sin(a), 10}, 1);
    const TClosestPoints c = PieceDistance(p, q, Tol);
    EXPECT_NEAR(c.Distance, 8, 1e-6) << deg;
    EXPECT_NEAR(Length(c.OnA - c.OnB), c.Distance, 1e-9) << deg;
  }
}

}  // namespace
}  // namespace qv
