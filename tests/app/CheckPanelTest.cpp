// The check's dock on the demo: the findings listed by kind as the check found them, a finding's
// holes and spot handed on when it is selected, the threshold rerunning the check, a stop that ends
// a run at once.
#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include "app/CheckPanel.h"
#include "loader/DocumentLoader.h"
#include "model/Manifolds.h"
#include "tests/TestFiles.h"
#include "tests/app/WindowFixture.h"

namespace qv {
namespace {

class CheckPanelTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(LoadManifoldFile(Demo, test::SamplePath("demo.mnf"))); }
  bool RunAndWait(const TManifold* doc) {
    QSignalSpy finished(&Panel, &TCheckPanel::Finished);
    Panel.Run(doc);
    return finished.wait(10000);
  }
  QTreeWidgetItem* Section(int i) { return test::Named<QTreeWidget>(&Panel, "CheckFindings")->topLevelItem(i); }
  TManifold Demo;
  TCheckPanel Panel;
};

TEST_F(CheckPanelTest, ListsWhatTheCheckFindsByKind) {
  ASSERT_TRUE(RunAndWait(&Demo));
  const TCheckResult expected = CheckCircuits(Demo, {DefaultMinWall(false)});
  EXPECT_EQ(test::Named<QDoubleSpinBox>(&Panel, "CheckMinWall")->value(), 2.0);
  EXPECT_EQ(test::Named<QDoubleSpinBox>(&Panel, "CheckMinWall")->suffix(), " mm");
  ASSERT_EQ(test::Named<QTreeWidget>(&Panel, "CheckFindings")->topLevelItemCount(), 5);
  EXPECT_EQ(Section(0)->childCount(), int(expected.Shorts.size()));
  EXPECT_EQ(Section(1)->childCount(), int(expected.ThinWalls.size()));
  EXPECT_EQ(Section(2)->childCount(), int(expected.Unconnected.size()));
  EXPECT_EQ(Section(3)->childCount(), int(expected.BreakOuts.size()));
  EXPECT_EQ(Section(4)->childCount(), int(expected.Circuits.size()));
  EXPECT_EQ(Section(4)->text(0), QString("Circuits (%1)").arg(expected.Circuits.size()));
  ASSERT_FALSE(expected.Shorts.empty());
  const TShort& first = expected.Shorts.front();
  EXPECT_TRUE(Section(0)->child(0)->text(0).startsWith(
      QString("%1 %2 / %3 %4 at (").arg(first.HoleA).arg(QString::fromStdString(first.GroupA)).arg(first.HoleB)
          .arg(QString::fromStdString(first.GroupB))));
  EXPECT_EQ(Panel.CircuitOf(expected.Circuits.front().front()), expected.Circuits.front());
  EXPECT_TRUE(Panel.CircuitOf(-7).empty());
}

TEST_F(CheckPanelTest, SelectingAFindingHandsOnItsHolesAndSpot) {
  ASSERT_TRUE(RunAndWait(&Demo));
  std::vector<TCheckFinding> selected;
  QObject::connect(&Panel, &TCheckPanel::FindingSelected, [&](const TCheckFinding& f) { selected.push_back(f); });
  const TShort& s = Panel.Result().Shorts.front();
  Section(0)->child(0)->setSelected(true);
  ASSERT_EQ(selected.size(), 1u);
  EXPECT_EQ(selected[0].Holes, std::vector<int>({s.HoleA, s.HoleB}));
  EXPECT_TRUE(selected[0].HasSpot);
  EXPECT_DOUBLE_EQ(selected[0].Spot.X, s.At.X);
  test::Named<QTreeWidget>(&Panel, "CheckFindings")->clearSelection();
  Section(4)->child(0)->setSelected(true);  // a circuit: all its holes, no one spot
  ASSERT_EQ(selected.size(), 2u);
  EXPECT_EQ(selected[1].Holes, Panel.Result().Circuits.front());
  EXPECT_FALSE(selected[1].HasSpot);
  test::Named<QTreeWidget>(&Panel, "CheckFindings")->clearSelection();
  Section(1)->setSelected(true);  // a heading hands on nothing
  EXPECT_EQ(selected.size(), 2u);
}

TEST_F(CheckPanelTest, ANewThresholdChecksAgainAndStopEndsARunAtOnce) {
  ASSERT_TRUE(RunAndWait(&Demo));
  const size_t thinBefore = Panel.Result().ThinWalls.size();
  QSignalSpy finished(&Panel, &TCheckPanel::Finished);
  test::Named<QDoubleSpinBox>(&Panel, "CheckMinWall")->setValue(30.0);
  ASSERT_TRUE(finished.wait(10000));
  EXPECT_EQ(Panel.Result().MinWall, 30.0);
  EXPECT_GT(Panel.Result().ThinWalls.size(), thinBefore);
  test::Named<QDoubleSpinBox>(&Panel, "CheckMinWall")->setValue(20.0);
  Panel.Stop();  // the document may go now
  EXPECT_FALSE(Panel.Running());
  Panel.Run(nullptr);
  EXPECT_EQ(test::Named<QTreeWidget>(&Panel, "CheckFindings")->topLevelItemCount(), 0);
  EXPECT_EQ(test::Named<QLabel>(&Panel, "CheckSummary")->text(), "No document is open.");
}

}  // namespace
}  // namespace qv
