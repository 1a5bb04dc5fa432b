// The bore solids of holes and the walls between them, in blocks drilled by hand: every expected
// number is worked out from the drawing, not taken from the code.
#include <gtest/gtest.h>

#include <cmath>

#include "checks/HoleSolids.h"
#include "checks/Walls.h"
#include "tests/checks/Drillings.h"

namespace qv {
namespace {

using test::Drill;

const double Tan31 = std::tan(31.0 * M_PI / 180);  // a 118-degree point: height per radius

TWall WallOf(const TManifold& doc, int a, int b) {
  return WallBetween(HoleSolid(doc, doc.Holes.Items(a - 1)), HoleSolid(doc, doc.Holes.Items(b - 1)),
                     ContactTolerance(doc));
}

void ExpectPoint(const TXYZPoint& p, double x, double y, double z) {
  EXPECT_NEAR(p.X, x, 1e-5);
  EXPECT_NEAR(p.Y, y, 1e-5);
  EXPECT_NEAR(p.Z, z, 1e-5);
}

class WallBetweenHoles : public ::testing::Test {
protected:
  void SetUp() override { test::StartBlock(doc, 100, 80, 60); }
  TManifold doc;
};

TEST(BoreProfile, StepsPointsAndThreadsAsTheSceneDrawsThem) {
  TManifold doc;
  test::StartBlock(doc, 100, 80, 60);
  // One step of 10 with a 120-degree point, 20 deep: body to 17.11325, then the point.
  auto p = BoreProfile(Drill(doc, 1, 0, 0, {{10, 20, "P", 120}}).Steps, false);
  ASSERT_EQ(p.size(), 2u);
  EXPECT_NEAR(p[0].ToDepth, 17.11325, 1e-5);
  EXPECT_EQ(p[1].Kind, TBorePieceKind::Point);
  EXPECT_NEAR(p[1].ToDepth, 20, 1e-9);
  EXPECT_EQ(p[1].ToRadius, 0);

  // A flat counterbore of 20, 10 deep, over a step of 10 to 40: the flat bottom has no piece.
  p = BoreProfile(Drill(doc, 1, 0, 0, {{20, 10, "P", 180}, {10, 40, "P", 120}}).Steps, false);
  ASSERT_EQ(p.size(), 3u);
  EXPECT_EQ(p[0].Step, 1);
  EXPECT_NEAR(p[0].ToDepth, 10, 1e-9);
  EXPECT_NEAR(p[1].FromDepth, 10, 1e-9);
  EXPECT_NEAR(p[1].ToDepth, 37.11325, 1e-5);
  EXPECT_EQ(p[2].Kind, TBorePieceKind::Point);

  // A deeper threaded step: the thread starts where the point above has the thread's diameter,
  // 17.6906, and its length counts from there or from the hole's start.
  THole& h = Drill(doc, 1, 0, 0, {{10, 20, "P", 120}, {6, 40, "P", 120, 8, 25}});
  for (bool fromStart : {false, true}) {
    p = BoreProfile(h.Steps, fromStart);
    const TBoreSection& thread = p.back();
    EXPECT_EQ(thread.Kind, TBorePieceKind::Thread);
    EXPECT_EQ(thread.FromRadius, 4);
    EXPECT_NEAR(thread.FromDepth, 17.6906, 1e-4);
    EXPECT_NEAR(thread.ToDepth, fromStart ? 25 : 42.6906, 1e-4);
  }
}

TEST_F(WallBetweenHoles, ParallelFromTheSameFace) {
  Drill(doc, 2, 30, 30, {{8, 60}});
  Drill(doc, 2, 41.5, 30, {{10, 50}});
  const TWall w = WallOf(doc, 1, 2);
  EXPECT_FALSE(w.Connected);
  EXPECT_NEAR(w.Wall, 2.5, 1e-6);
  EXPECT_NEAR(w.From.X, 34, 1e-5);
  EXPECT_NEAR(w.To.X, 36.5, 1e-5);
  EXPECT_NEAR(w.From.Z, 30, 1e-5);
  // Anywhere along the run the two bodies share.
  EXPECT_GE(w.From.Y, -1e-6);
  EXPECT_LE(w.From.Y, 50 - 5 * Tan31 + 1e-6);
}

TEST_F(WallBetweenHoles, CrossingFromAdjacentFaces) {
  Drill(doc, 2, 50, 30, {{8, 60}});  // along +y at x 50, z 30
  Drill(doc, 3, 40, 40, {{6, 80}});  // along +x at y 40, z 40
  const TWall w = WallOf(doc, 1, 2);
  EXPECT_NEAR(w.Wall, 3, 1e-6);
  ExpectPoint(w.From, 50, 40, 34);
  ExpectPoint(w.To, 50, 40, 37);
  // Measured the other way round, the same wall with its ends exchanged.
  const TWall back = WallOf(doc, 2, 1);
  EXPECT_NEAR(back.Wall, 3, 1e-6);
  ExpectPoint(back.From, 50, 40, 37);

  Drill(doc, 3, 40, 33, {{6, 80}});  // 3 above the first channel's axis: they overlap
  const TWall meet = WallOf(doc, 1, 3);
  EXPECT_TRUE(meet.Connected);
  EXPECT_EQ(meet.Wall, 0);
  EXPECT_EQ(meet.From, meet.To);
}

TEST_F(WallBetweenHoles, AnAngledHoleCrossingOrPassingAStraightOneOfTheSameFace) {
  Drill(doc, 1, 50, 40, {{8, 50}});
  // Tilted 45 degrees towards p (-x in the scene, +x in the block): at depth t it is at
  // x = 20 + t / sqrt 2, z = t / sqrt 2, through x 50 at z 30.
  for (double v : {40.0, 52.0}) {
    THole& angled = Drill(doc, 1, 20, v, {{6, 60}});
    angled.Flags |= THole::AngledBit;
    angled.TiltAngle = 45;
    angled.TiltDirection = 0;
  }
  EXPECT_TRUE(WallOf(doc, 1, 2).Connected);
  // 12 beside it: both axes lie across y, so the wall is 12 - 4 - 3 at the crossing.
  const TWall w = WallOf(doc, 1, 3);
  EXPECT_NEAR(w.Wall, 5, 1e-6);
  ExpectPoint(w.From, 50, 44, 30);
  ExpectPoint(w.To, 50, 49, 30);
}

TEST_F(WallBetweenHoles, ADrillPointReachingAChannel) {
  Drill(doc, 3, 40, 30, {{8, 80}});  // the channel's top at z 26
  Drill(doc, 1, 50, 40, {{10, 25}});  // tip at z 25
  Drill(doc, 1, 50, 40, {{10, 26}});  // tip touching
  Drill(doc, 1, 50, 40, {{10, 27}});  // tip inside
  const TWall w = WallOf(doc, 2, 1);
  EXPECT_FALSE(w.Connected);
  EXPECT_NEAR(w.Wall, 1, 1e-6);
  ExpectPoint(w.From, 50, 40, 25);
  ExpectPoint(w.To, 50, 40, 26);
  EXPECT_TRUE(WallOf(doc, 3, 1).Connected);
  EXPECT_TRUE(WallOf(doc, 4, 1).Connected);
}

TEST_F(WallBetweenHoles, AThreadCountsWithItsDiameterOverItsLength) {
  // Tapped 12 for 15 over a 10.2 core drill, 14 from a 6 mm bore: 14 - 6 - 3 = 5 at the thread.
  THole& tapped = Drill(doc, 1, 30, 40, {{10.2, 20, "P", 180, 12, 15}, {6, 40}});
  Drill(doc, 1, 44, 40, {{6, 40}});
  TWall w = WallOf(doc, 1, 2);
  EXPECT_NEAR(w.Wall, 5, 1e-6);
  EXPECT_NEAR(w.From.X, 36, 1e-5);
  EXPECT_LE(w.From.Z, 15 + 1e-6);
  tapped.Steps.Last().Flags = 0;  // the same hole untapped: 14 - 5.1 - 3
  EXPECT_NEAR(WallOf(doc, 1, 2).Wall, 5.9, 1e-6);
}

TEST(WallInInches, LengthsAndPointsInTheDocumentsUnit) {
  TManifold doc;
  test::StartBlock(doc, 4, 3, 2, true);
  Drill(doc, 2, 2, 1, {{0.25, 2.5}});
  Drill(doc, 3, 1.5, 1.5, {{0.25, 3.5}});
  const TWall w = WallOf(doc, 1, 2);
  EXPECT_NEAR(w.Wall, 0.25, 1e-7);
  ExpectPoint(w.From, 2, 1.5, 1.125);
  ExpectPoint(w.To, 2, 1.5, 1.375);
}

}  // namespace
}  // namespace qv
