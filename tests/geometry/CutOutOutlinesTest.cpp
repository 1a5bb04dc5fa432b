// Cut-out corners, far corners and the edges drawn, per face, on a 100 x 60 x 40 block; the working list
// of outline segments.
#include <gtest/gtest.h>

#include <vector>

#include "geometry/CutOutOutlines.h"

namespace qv {
namespace {

const TBlockExtents Block{100, 60, 40};

TCutOutShape MakeCutOut(int face, int corner, double w, double h, double depth, bool through = false,
                        double x = 0, double y = 0) {
  return {face, corner, {x, y}, w, h, through, depth};
}

void ExpectPoint(const TXYZPoint& p, double x, double y, double z) {
  EXPECT_DOUBLE_EQ(p.X, x);
  EXPECT_DOUBLE_EQ(p.Y, y);
  EXPECT_DOUBLE_EQ(p.Z, z);
}

// The edge numbers of the outline, recovered from its segments: each edge of the box is the one
// whose end points it joins.
std::vector<int> EdgeNumbers(const TCutOutShape& c) {
  TXYZLineList lines;
  lines.AddLine({1, 2, 3}, {4, 5, 6});  // left over from an earlier cut-out: must go
  EXPECT_TRUE(CutOutOutline(c, Block, lines));
  const TXYZPoint a = CutOutAnchor(c, Block), f = CutOutFarCorner(c, Block);
  const double x0 = a.X, y0 = a.Y, z0 = a.Z, x1 = f.X, y1 = f.Y, z1 = f.Z;
  const TXYZPoint ends[13][2] = {
      {},
      {{x0, y0, z0}, {x1, y0, z0}}, {{x0, y0, z0}, {x0, y1, z0}}, {{x0, y1, z0}, {x1, y1, z0}},
      {{x1, y0, z0}, {x1, y1, z0}}, {{x0, y0, z1}, {x1, y0, z1}}, {{x0, y0, z1}, {x0, y1, z1}},
      {{x0, y1, z1}, {x1, y1, z1}}, {{x1, y0, z1}, {x1, y1, z1}}, {{x0, y0, z0}, {x0, y0, z1}},
      {{x1, y0, z0}, {x1, y0, z1}}, {{x1, y1, z0}, {x1, y1, z1}}, {{x0, y1, z0}, {x0, y1, z1}},
  };
  std::vector<int> numbers;
  for (const auto& line : lines) {
    int found = 0;
    for (int e = 1; e <= 12 && !found; ++e)
      if (line.StartPoint == ends[e][0] && line.EndPoint == ends[e][1]) found = e;
    numbers.push_back(found);
  }
  return numbers;
}

std::vector<int> AllBut(int a, int b) {
  std::vector<int> v;
  for (int e = 1; e <= 12; ++e)
    if (e != a && e != b) v.push_back(e);
  return v;
}
const std::vector<int> All = AllBut(0, 0);

TEST(CutOutAnchor, FaceCornersByCornerNumber) {
  // Rows: Corner 1..4; columns: faces 1..6 (x, y, z as 0 or the block's extent).
  const TXYZPoint expected[4][6] = {
      {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {100, 0, 0}, {0, 60, 0}, {0, 0, 40}},
      {{100, 0, 0}, {100, 0, 0}, {0, 60, 0}, {100, 60, 0}, {100, 60, 0}, {100, 0, 40}},
      {{100, 60, 0}, {100, 0, 40}, {0, 60, 40}, {100, 60, 40}, {100, 60, 40}, {100, 60, 40}},
      {{0, 60, 0}, {0, 0, 40}, {0, 0, 40}, {100, 0, 40}, {0, 60, 40}, {0, 60, 40}},
  };
  for (int corner = 1; corner <= 4; ++corner)
    for (int face = 1; face <= 6; ++face) {
      const TXYZPoint a = CutOutAnchor(MakeCutOut(face, corner, 1, 1, 1), Block);
      EXPECT_EQ(a, expected[corner - 1][face - 1]) << "corner " << corner << " face " << face;
    }
  // Other corner values sit at the block's origin; a free one at its position on the face.
  ExpectPoint(CutOutAnchor(MakeCutOut(3, 7, 1, 1, 1), Block), 0, 0, 0);
  ExpectPoint(CutOutAnchor(MakeCutOut(3, 0, 1, 1, 1), Block), 0, 0, 0);
  ExpectPoint(CutOutAnchor(MakeCutOut(4, -1, 1, 1, 1, false, 12, 34), Block), 100, 12, 34);
}

TEST(CutOutFarCorner, CornerCutOutOnFaceOne) {
  const TCutOutShape c = MakeCutOut(1, 3, 20, 10, 5);
  ExpectPoint(CutOutAnchor(c, Block), 100, 60, 0);
  ExpectPoint(CutOutFarCorner(c, Block), 80, 50, 5);
  EXPECT_EQ(EdgeNumbers(c), (std::vector<int>{3, 4, 7, 8, 10, 11, 12}));
}

TEST(CutOutFarCorner, FacesThreeAndFourRunWidthAlongZ) {
  const TCutOutShape c = MakeCutOut(3, 3, 20, 10, 5);
  ExpectPoint(CutOutAnchor(c, Block), 0, 60, 40);
  ExpectPoint(CutOutFarCorner(c, Block), 5, 50, 20);
  EXPECT_EQ(EdgeNumbers(c), (std::vector<int>{3, 5, 6, 7, 8, 11, 12}));
  // Face 4, corner 1: from (100, 0, 0) inwards to x = 100 - 5, +Height along y, +Width along z.
  const TCutOutShape d = MakeCutOut(4, 1, 20, 10, 5);
  ExpectPoint(CutOutFarCorner(d, Block), 95, 10, 20);
}

TEST(CutOutFarCorner, CornerDirectionsOnEveryFace) {
  // Corner 2 runs back along the first in-plane axis, corner 4 along the second.
  ExpectPoint(CutOutFarCorner(MakeCutOut(2, 2, 20, 10, 5), Block), 80, 5, 10);
  ExpectPoint(CutOutFarCorner(MakeCutOut(5, 4, 20, 10, 5), Block), 20, 55, 30);
  ExpectPoint(CutOutFarCorner(MakeCutOut(6, 2, 20, 10, 5), Block), 80, 10, 35);
  ExpectPoint(CutOutFarCorner(MakeCutOut(3, 2, 20, 10, 5), Block), 5, 50, 20);
  ExpectPoint(CutOutFarCorner(MakeCutOut(4, 4, 20, 10, 5), Block), 95, 10, 20);
}

TEST(CutOutFarCorner, ThroughReachesTheOppositeFace) {
  ExpectPoint(CutOutFarCorner(MakeCutOut(5, 1, 20, 10, 5, true), Block), 20, 0, 10);
  ExpectPoint(CutOutFarCorner(MakeCutOut(1, 1, 20, 10, 5, true), Block), 20, 10, 40);
  ExpectPoint(CutOutFarCorner(MakeCutOut(4, 1, 20, 10, 5, true), Block), 0, 10, 20);
  ExpectPoint(CutOutFarCorner(MakeCutOut(2, 1, 20, 10, 5, true), Block), 20, 60, 10);
}

TEST(CutOutFarCorner, FreeCutOutTurnsBackAtTheFaceEdge) {
  // Face 1 at (90, 20), width 20: x from 90 down to 70; all twelve edges.
  const TCutOutShape c = MakeCutOut(1, -1, 20, 10, 5, false, 90, 20);
  ExpectPoint(CutOutAnchor(c, Block), 90, 20, 0);
  ExpectPoint(CutOutFarCorner(c, Block), 70, 30, 5);
  EXPECT_EQ(EdgeNumbers(c), All);
  // Exactly reaching the edge does not turn back; going past it does.
  ExpectPoint(CutOutFarCorner(MakeCutOut(1, -1, 10, 40, 5, false, 90, 20), Block), 100, 60, 5);
  ExpectPoint(CutOutFarCorner(MakeCutOut(1, -1, 10, 41, 5, false, 90, 20), Block), 100, -21, 5);
  // Face 2 checks the height against SizeZ, faces 3 and 4 the width against SizeZ and the height
  // against SizeY.
  ExpectPoint(CutOutFarCorner(MakeCutOut(2, -1, 10, 25, 5, false, 10, 20), Block), 20, 5, -5);
  ExpectPoint(CutOutFarCorner(MakeCutOut(3, -1, 25, 10, 5, false, 55, 20), Block), 5, 45, -5);
  ExpectPoint(CutOutFarCorner(MakeCutOut(4, -1, 15, 10, 5, false, 20, 20), Block), 95, 30, 35);
}

TEST(CutOutOutline, FreeCutOutsLeaveOutEdgesOnTheBlockFaces) {
  // Faces 1 and 6: at x0 = 0 or SX edges 2 and 6 go, else at y0 = 0 or SY edges 1 and 5.
  EXPECT_EQ(EdgeNumbers(MakeCutOut(1, -1, 10, 10, 5, false, 0, 20)), AllBut(2, 6));
  EXPECT_EQ(EdgeNumbers(MakeCutOut(6, -1, 10, 10, 5, false, 100, 20)), AllBut(2, 6));
  EXPECT_EQ(EdgeNumbers(MakeCutOut(6, -1, 10, 10, 5, false, 30, 60)), AllBut(1, 5));
  EXPECT_EQ(EdgeNumbers(MakeCutOut(1, -1, 10, 10, 5, false, 0, 0)), AllBut(2, 6));
  // Faces 2 and 5: x0 on the edge drops 9 and 12, else z0 on the edge drops 1 and 3.
  EXPECT_EQ(EdgeNumbers(MakeCutOut(2, -1, 10, 10, 5, false, 0, 20)), AllBut(9, 12));
  EXPECT_EQ(EdgeNumbers(MakeCutOut(5, -1, 10, 10, 5, false, 30, 40)), AllBut(1, 3));
  EXPECT_EQ(EdgeNumbers(MakeCutOut(5, -1, 10, 10, 5, false, 30, 20)), All);
  // Faces 3 and 4: y0 (the face's u) on the edge drops 9 and 10, else z0 drops 2 and 4.
  EXPECT_EQ(EdgeNumbers(MakeCutOut(3, -1, 10, 10, 5, false, 60, 20)), AllBut(9, 10));
  EXPECT_EQ(EdgeNumbers(MakeCutOut(4, -1, 10, 10, 5, false, 30, 0)), AllBut(2, 4));
  EXPECT_EQ(EdgeNumbers(MakeCutOut(4, -1, 10, 10, 5, false, 30, 20)), All);
}

TEST(CutOutOutline, CornerCutOutsPerFacePair) {
  EXPECT_EQ(EdgeNumbers(MakeCutOut(6, 1, 10, 10, 5)), (std::vector<int>{3, 4, 7, 8, 10, 11, 12}));
  EXPECT_EQ(EdgeNumbers(MakeCutOut(2, 1, 10, 10, 5)), (std::vector<int>{4, 5, 6, 7, 8, 10, 11}));
  EXPECT_EQ(EdgeNumbers(MakeCutOut(5, 3, 10, 10, 5)), (std::vector<int>{4, 5, 6, 7, 8, 10, 11}));
  EXPECT_EQ(EdgeNumbers(MakeCutOut(4, 2, 10, 10, 5)), (std::vector<int>{3, 5, 6, 7, 8, 11, 12}));
}

TEST(CutOutOutline, FaceOutsideTheBlockGivesNoEdges) {
  TXYZLineList lines;
  lines.AddLine({}, {});
  EXPECT_TRUE(CutOutOutline(MakeCutOut(0, 1, 10, 10, 5), Block, lines));
  EXPECT_EQ(lines.Count(), 0);
  EXPECT_TRUE(CutOutOutline(MakeCutOut(7, -1, 10, 10, 5), Block, lines));
  EXPECT_EQ(lines.Count(), 0);
}

TEST(XYZLineList, AddLineAppendsTheGivenPoints) {
  TXYZLineList lines;
  EXPECT_EQ(lines.Add().StartPoint.Z, 0.0);
  lines.AddLine({1, 2, 3}, {4, 5, 6});
  ASSERT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines.Items(1).StartPoint.Y, 2);
  EXPECT_EQ(lines.Items(1).EndPoint.X, 4);
  EXPECT_EQ(lines.Items(1).EndPoint.Z, 6);
  lines.Clear();
  EXPECT_EQ(lines.Count(), 0);
}

}  // namespace
}  // namespace qv
