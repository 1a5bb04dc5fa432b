// The check of the circuits on blocks drilled by hand, and its JSON as the command line prints it.
#include <gtest/gtest.h>

#include <cmath>

#include "checks/CheckReport.h"
#include "checks/CircuitCheck.h"
#include "tests/checks/Drillings.h"

namespace qv {
namespace {

using test::Drill;

using TCircuits = std::vector<std::vector<int>>;
using TPairs = std::vector<std::pair<int, int>>;

class CircuitCheck : public ::testing::Test {
protected:
  void SetUp() override { test::StartBlock(doc, 100, 80, 60); }
  TCheckResult Check(double minWall = 0) { return CheckCircuits(doc, {minWall}); }
  TManifold doc;
};

// Channel 1 along +y at x 50, z 30; channel 2 along +x at y 40, z 30, through it.
TEST_F(CircuitCheck, TwoCrossingChannelsOfOneGroup) {
  Drill(doc, 2, 50, 30, {{8, 60, "P"}});
  Drill(doc, 3, 40, 30, {{8, 80, "p"}});  // codes match without regard to case
  const TCheckResult r = Check();
  EXPECT_EQ(r.MinWall, 2);
  EXPECT_EQ(r.Connections, (TPairs{{1, 2}}));
  EXPECT_EQ(r.Circuits, (TCircuits{{1, 2}}));
  EXPECT_TRUE(r.Shorts.empty());
  EXPECT_TRUE(r.Unconnected.empty());
  EXPECT_TRUE(r.ThinWalls.empty());
  EXPECT_TRUE(r.BreakOuts.empty());
}

TEST_F(CircuitCheck, TwoCrossingChannelsOfTwoGroupsShort) {
  Drill(doc, 3, 40, 30, {{8, 80, "T"}});
  Drill(doc, 2, 50, 30, {{8, 60, "P"}});
  Drill(doc, 1, 20, 20, {{6, 20, "X"}});  // a code of no group: no short, and left out of Unconnected
  const TCheckResult r = Check();
  ASSERT_EQ(r.Shorts.size(), 1u);
  const TShort& s = r.Shorts[0];
  EXPECT_EQ(s.HoleA, 1);
  EXPECT_EQ(s.HoleB, 2);
  EXPECT_EQ(s.GroupA, "T");
  EXPECT_EQ(s.GroupB, "P");
  // Inside both channels, near their crossing at (50, 40, 30).
  EXPECT_LE(std::hypot(s.At.X - 50, s.At.Z - 30), 4 + 1e-6);
  EXPECT_LE(std::hypot(s.At.Y - 40, s.At.Z - 30), 4 + 1e-6);
  EXPECT_EQ(r.Circuits, (TCircuits{{1, 2}, {3}}));
  EXPECT_TRUE(r.Unconnected.empty());
}

// A cavity from face 1 at (50, 40): a 20 step of group P to 25 deep over a 10 step of group T to
// 50. Channel 2 (T) meets the T step at z 40, channel 3 (T) the P step at z 10.
class CavityCheck : public CircuitCheck, public ::testing::WithParamInterface<bool> {};

TEST_P(CavityCheck, StepsOfDifferentGroupsShortOnlyWhereTheGroupDiffers) {
  THole& cavity = Drill(doc, 1, 50, 40, {{20, 25, "P", 180}, {10, 50, "T"}});
  if (GetParam()) cavity.Flags |= THole::StepGroupsBit;
  Drill(doc, 3, 40, 40, {{6, 60, "T"}});
  Drill(doc, 2, 50, 10, {{6, 60, "T"}});
  const TCheckResult r = Check();
  EXPECT_EQ(r.Connections, (TPairs{{1, 2}, {1, 3}}));
  EXPECT_EQ(r.Circuits, (TCircuits{{1, 2, 3}}));
  if (!GetParam()) {
    // Without its own groups per step the cavity is all of its first (deepest) step's group, T.
    EXPECT_TRUE(r.Shorts.empty());
    return;
  }
  ASSERT_EQ(r.Shorts.size(), 1u);
  EXPECT_EQ(r.Shorts[0].HoleB, 3);
  EXPECT_EQ(r.Shorts[0].GroupA, "P");
  EXPECT_EQ(r.Shorts[0].GroupB, "T");
  EXPECT_LE(r.Shorts[0].At.Z, 25 + 1e-6);
}
INSTANTIATE_TEST_SUITE_P(WithAndWithoutStepGroups, CavityCheck, ::testing::Bool());

TEST_F(CircuitCheck, ADrillPointTouchingAChannelConnects) {
  Drill(doc, 3, 40, 30, {{8, 80, "P"}});  // top at z 26
  Drill(doc, 1, 50, 40, {{10, 26, "P"}});  // point's tip at z 26
  Drill(doc, 1, 20, 40, {{10, 25, "P"}});  // one short of the channel: a thin wall of 1
  const TCheckResult r = Check();
  EXPECT_EQ(r.Connections, (TPairs{{1, 2}}));
  ASSERT_EQ(r.ThinWalls.size(), 1u);
  EXPECT_EQ(r.ThinWalls[0].HoleA, 1);
  EXPECT_EQ(r.ThinWalls[0].HoleB, 3);
  EXPECT_NEAR(r.ThinWalls[0].Wall, 1, 1e-6);
  EXPECT_NEAR(r.ThinWalls[0].At.X, 20, 1e-5);
  EXPECT_NEAR(r.ThinWalls[0].At.Z, 25.5, 1e-5);
  EXPECT_EQ(r.Unconnected, (std::vector<int>{3}));
}

TEST_F(CircuitCheck, AWallBelowTheThresholdIsThinAndOneAboveIsNot) {
  Drill(doc, 2, 30, 30, {{8, 60, "P"}});
  Drill(doc, 2, 41.5, 30, {{10, 50, "T"}});  // 2.5 apart
  EXPECT_TRUE(Check().ThinWalls.empty());
  const TCheckResult r = Check(3);
  EXPECT_EQ(r.MinWall, 3);
  ASSERT_EQ(r.ThinWalls.size(), 1u);
  EXPECT_NEAR(r.ThinWalls[0].Wall, 2.5, 1e-6);
  EXPECT_NEAR(r.ThinWalls[0].At.X, 35.25, 1e-5);
  EXPECT_EQ(r.Unconnected, (std::vector<int>{1, 2}));
  EXPECT_EQ(r.Circuits, (TCircuits{{1}, {2}}));
}

TEST_F(CircuitCheck, BreakOutsThroughAFaceAndNearOne) {
  // Tilted 45 degrees towards +x from (50, 40) on face 1, 80 deep: its body reaches x = 50 + 77.6 / sqrt 2 > 100.
  THole& angled = Drill(doc, 1, 50, 40, {{8, 80, "P"}});
  angled.Flags |= THole::AngledBit;
  angled.TiltAngle = 45;
  // 1.5 from face 3 (x = 0); and a through hole from face 1 to face 6.
  Drill(doc, 1, 5.5, 60, {{8, 30, "T", 180}});
  Drill(doc, 2, 80, 10, {{6, 80, "A", 180}});  // y 0 to 80: through face 5
  const TCheckResult r = Check();
  ASSERT_EQ(r.BreakOuts.size(), 3u);
  EXPECT_EQ(r.BreakOuts[0].Hole, 1);
  EXPECT_EQ(r.BreakOuts[0].Face, 4);
  EXPECT_EQ(r.BreakOuts[0].Wall, 0);
  EXPECT_EQ(r.BreakOuts[1].Hole, 2);
  EXPECT_EQ(r.BreakOuts[1].Face, 3);
  EXPECT_NEAR(r.BreakOuts[1].Wall, 1.5, 1e-6);
  EXPECT_EQ(r.BreakOuts[2].Hole, 3);
  EXPECT_EQ(r.BreakOuts[2].Face, 5);
  EXPECT_EQ(r.BreakOuts[2].Wall, 0);
}

TEST_F(CircuitCheck, DummyHolesTakeNoPart) {
  Drill(doc, 2, 50, 30, {{8, 60, "P"}});
  THole& dummy = Drill(doc, 3, 40, 30, {{8, 80, "T"}});
  dummy.Flags |= THole::DummyBit;
  const TCheckResult r = Check();
  EXPECT_EQ(r.Circuits, (TCircuits{{1}}));
  EXPECT_TRUE(r.Connections.empty());
  EXPECT_TRUE(r.Shorts.empty());
  EXPECT_EQ(r.Unconnected, (std::vector<int>{1}));
}

TEST_F(CircuitCheck, InchDocumentsHaveTheirOwnThreshold) {
  test::StartBlock(doc, 4, 3, 2, true);
  Drill(doc, 2, 2, 1, {{0.25, 2.5, "P"}});
  Drill(doc, 3, 1.5, 1.5, {{0.25, 3.5, "T"}});  // 0.25 apart
  EXPECT_EQ(Check().MinWall, 0.08);
  EXPECT_TRUE(Check().ThinWalls.empty());
  ASSERT_EQ(Check(0.3).ThinWalls.size(), 1u);
  EXPECT_NEAR(Check(0.3).ThinWalls[0].Wall, 0.25, 1e-7);
}

TEST_F(CircuitCheck, ProgressIsToldAndCanStopTheCheck) {
  for (int i = 0; i < 40; ++i) Drill(doc, 1, 5 + 2 * i, 40, {{6, 20, "P"}});  // 40 overlapping holes
  std::vector<double> told;
  const TCheckResult all = CheckCircuits(doc, {}, [&](double done) {
    told.push_back(done);
    return true;
  });
  EXPECT_FALSE(all.Cancelled);
  ASSERT_FALSE(told.empty());
  EXPECT_EQ(told.back(), 1.0);
  EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
  EXPECT_EQ(all.Circuits.size(), 1u);
  EXPECT_TRUE(CheckCircuits(doc, {}, [](double) { return false; }).Cancelled);
}

TEST_F(CircuitCheck, JsonHasEveryListInOrder) {
  Drill(doc, 3, 40, 30, {{8, 80, "T"}});
  Drill(doc, 2, 50, 30, {{8, 60, "P"}});
  Drill(doc, 1, 5.5, 60, {{8, 30, "A", 180}});
  const TJson j = CheckJson(Check());
  std::vector<std::string> keys;
  for (auto it = j.begin(); it != j.end(); ++it) keys.push_back(it.key());
  EXPECT_EQ(keys, (std::vector<std::string>{"MinWall", "Circuits", "Connections", "Shorts", "ThinWalls",
                                            "Unconnected", "BreakOuts"}));
  EXPECT_EQ(j["Circuits"].dump(), "[[1,2],[3]]");
  EXPECT_EQ(j["Shorts"][0]["Holes"].dump(), "[1,2]");
  EXPECT_EQ(j["Shorts"][0]["Groups"].dump(), "[\"T\",\"P\"]");
  EXPECT_EQ(j["Shorts"][0]["At"].size(), 3u);
  EXPECT_EQ(j["Unconnected"].dump(), "[3]");
  EXPECT_EQ(j["BreakOuts"].dump(), "[{\"Hole\":3,\"Face\":3,\"Wall\":1.5}]");
  EXPECT_NE(CheckText(Check(), false).find("hole 3 comes near face 3: 1.50 mm"), std::string::npos);
}

}  // namespace
}  // namespace qv
