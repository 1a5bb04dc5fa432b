// The face tables and transforms, with numbers worked out by hand and the tables checked against
// one another.
#include <gtest/gtest.h>

#include <cmath>

#include "geometry/FaceFrames.h"

namespace qv {
namespace {

const TBlockExtents Block{100, 60, 40};

void ExpectNear(const TXYZPoint& p, double x, double y, double z, double tolerance = 1e-12) {
  EXPECT_NEAR(p.X, x, tolerance);
  EXPECT_NEAR(p.Y, y, tolerance);
  EXPECT_NEAR(p.Z, z, tolerance);
}

TEST(FaceFrames, EachFrameIsRightHandedWithTheOutwardNormal) {
  const TXYZPoint normals[7] = {{}, {0, 0, 1}, {0, 1, 0}, {1, 0, 0}, {-1, 0, 0}, {0, -1, 0}, {0, 0, -1}};
  for (int face = 1; face <= 6; ++face) {
    const TFaceFrame& f = FaceFrame(face);
    EXPECT_EQ(f.N, normals[face]) << face;
    EXPECT_EQ(Cross(f.P, f.Q), f.N) << face;
    // The normal points out of the block: from the block centre towards the face.
    const TXYZPoint onFace = FaceToScene(Block, 1.0, face, 10, 10, 0);
    const TXYZPoint inside = FaceToScene(Block, 1.0, face, 10, 10, 1);
    EXPECT_EQ(onFace - inside, f.N) << face;
  }
}

TEST(FaceFrames, DrawingAxesFollowTheFaceCoordinates) {
  // Which scene direction u and v grow in, as the drawing frame table states it:
  // face 1: p = +u, q = +v; 2: p = +u, q = -v; 3: p = -v, q = +u; 4: p = +v, q = +u;
  // 5: p = +u, q = +v; 6: p = +u, q = -v.
  struct TCase {
    int Face;
    TXYZPoint AlongU, AlongV;
  };
  for (int face = 1; face <= 6; ++face) {
    const TFaceFrame& f = FaceFrame(face);
    const TCase cases[6] = {{1, f.P, f.Q}, {2, f.P, -f.Q}, {3, f.Q, -f.P},
                            {4, f.Q, f.P}, {5, f.P, f.Q}, {6, f.P, -f.Q}};
    const TCase& c = cases[face - 1];
    const TXYZPoint at = FaceToScene(Block, 1.0, face, 20, 15, 5);
    EXPECT_EQ(FaceToScene(Block, 1.0, face, 21, 15, 5) - at, c.AlongU) << face;
    EXPECT_EQ(FaceToScene(Block, 1.0, face, 20, 16, 5) - at, c.AlongV) << face;
  }
}

TEST(FaceToBlock, PlacesFaceCoordinatesInTheBlock) {
  ExpectNear(FaceToBlock(Block, 1, 1, 2, 3), 1, 2, 3);
  ExpectNear(FaceToBlock(Block, 2, 1, 2, 3), 1, 3, 2);
  ExpectNear(FaceToBlock(Block, 3, 1, 2, 3), 3, 1, 2);
  ExpectNear(FaceToBlock(Block, 4, 1, 2, 3), 97, 1, 2);
  ExpectNear(FaceToBlock(Block, 5, 1, 2, 3), 1, 57, 2);
  ExpectNear(FaceToBlock(Block, 6, 1, 2, 3), 1, 2, 37);
  // A damaged face number is placed as on face 1 rather than nowhere.
  ExpectNear(FaceToBlock(Block, 0, 1, 2, 3), 1, 2, 3);
  ExpectNear(FaceToBlock(Block, 9, 1, 2, 3), 1, 2, 3);
}

TEST(BlockToScene, CentresTheBlockAndTurnsEveryAxis) {
  ExpectNear(BlockToScene(Block, 0.05, {0, 0, 0}), 2.5, 1.5, 1.0);
  ExpectNear(BlockToScene(Block, 0.05, {100, 60, 40}), -2.5, -1.5, -1.0);
  ExpectNear(BlockToScene(Block, 0.05, {50, 30, 20}), 0, 0, 0);
  // The worked examples: face 1 (10, 20, 0) and face 4 (10, 20, 5).
  ExpectNear(FaceToScene(Block, 0.05, 1, 10, 20, 0), 2, 0.5, 1);
  ExpectNear(FaceToScene(Block, 0.05, 4, 10, 20, 5), -2.25, 1, 0);
  // The combined table's other rows, before scaling (u 10, v 20, d 5).
  ExpectNear(FaceToScene(Block, 1, 2, 10, 20, 5), 40, 25, 0);
  ExpectNear(FaceToScene(Block, 1, 3, 10, 20, 5), 45, 20, 0);
  ExpectNear(FaceToScene(Block, 1, 5, 10, 20, 5), 40, -25, 0);
  ExpectNear(FaceToScene(Block, 1, 6, 10, 20, 5), 40, 10, -15);
}

TEST(FaceToScene, OppositeFacesMeetAtComplementaryDepths) {
  for (double d : {0.0, 7.5, 40.0})
    EXPECT_EQ(FaceToScene(Block, 0.05, 6, 12, 34, d), FaceToScene(Block, 0.05, 1, 12, 34, 40 - d)) << d;
  EXPECT_EQ(FaceToScene(Block, 0.05, 5, 12, 34, 10), FaceToScene(Block, 0.05, 2, 12, 34, 50));
  EXPECT_EQ(FaceToScene(Block, 0.05, 4, 12, 34, 10), FaceToScene(Block, 0.05, 3, 12, 34, 90));
}

TEST(FaceOffset, CombinesTheDrawingAxes) {
  ExpectNear(FaceOffset(1, 3, 4), -3, -4, 0);
  ExpectNear(FaceOffset(2, 3, 4), -3, 0, 4);
  ExpectNear(FaceOffset(3, 3, 4), 0, -4, 3);
  ExpectNear(FaceOffset(4, 3, 4), 0, -4, -3);
  ExpectNear(FaceOffset(5, 3, 4), -3, 0, -4);
  ExpectNear(FaceOffset(6, 3, 4), -3, 4, 0);
}

TEST(BoreAxis, TiltsFromTheNormalTowardsTheDirection) {
  const double c = std::sqrt(3.0) / 2;
  ExpectNear(BoreAxis(1, 30, 90), 0, 0.5, c);
  ExpectNear(BoreAxis(3, 30, 0), c, 0, -0.5);
  // Face 2 tilted 90 degrees towards direction 180: lies in the face along +p = (-1, 0, 0).
  ExpectNear(BoreAxis(2, 90, 180), -1, 0, 0);
  // Face 6, 45 towards 270 (-q): cos 45 n + sin 45 q = (0, 0.7071, -0.7071).
  ExpectNear(BoreAxis(6, 45, 270), 0, std::sqrt(0.5), -std::sqrt(0.5));
  for (int face = 1; face <= 6; ++face)
    for (double direction : {0.0, 37.0, 200.0}) ExpectNear(BoreAxis(face, 0, direction), FaceFrame(face).N.X,
                                                           FaceFrame(face).N.Y, FaceFrame(face).N.Z);
  // Going into the block along the bore: depth t cos A below the face and offset t sin A along B.
  const double t = 10, a = 30, b = 90;
  const TXYZPoint entry = FaceToScene(Block, 1, 4, 20, 20, 0);
  const TXYZPoint deep = entry - t * BoreAxis(4, a, b);
  const TXYZPoint expected = FaceToScene(Block, 1, 4, 20, 20, t * c) + FaceOffset(4, 0, t * 0.5);
  ExpectNear(deep, expected.X, expected.Y, expected.Z, 1e-12);
}

}  // namespace
}  // namespace qv
