// What the panels and the hole table show of the demo document, and their small formats.
#include <gtest/gtest.h>

#include <cmath>

#include "model/Manifolds.h"
#include "model/UserMessages.h"
#include "viewer/HoleTable.h"
#include "viewer/Inspection.h"
#include "viewer/ViewerSession.h"

namespace qv {
namespace {

class DemoTest : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    TSilentMessages silent;
    Demo = new TManifold;
    ASSERT_TRUE(LoadDocumentFile(*Demo, std::string(QV_SOURCE_DIR) + "/samples/demo.mnf", silent));
  }
  static void TearDownTestSuite() { delete Demo; }
  static std::string At(const TInfoNode& root, const std::string& path) {
    const TInfoNode* node = root.Find(path);
    return node ? node->Value : "<no " + path + ">";
  }
  static TManifold* Demo;
};
TManifold* DemoTest::Demo = nullptr;

TEST_F(DemoTest, TheHolePanelShowsTheHoleItsStepsValvesContourTextsAndNote) {
  const TInfoNode v1 = HoleDetails(*Demo, 0);
  EXPECT_EQ(v1.Name, "Hole 1");
  EXPECT_EQ(At(v1, "Label"), "V1");
  EXPECT_EQ(At(v1, "Group"), "T");
  EXPECT_EQ(v1.Find("Group")->Color, 0xC00000u);
  EXPECT_EQ(At(v1, "Face"), "1");
  EXPECT_EQ(At(v1, "Position"), "40.0, 40.0");  // one decimal, as the demo asks
  EXPECT_EQ(At(v1, "Angle"), "straight");
  // Steps from the face inwards: the threaded face step first.
  ASSERT_NE(v1.Find("Steps (3)"), nullptr);
  EXPECT_EQ(v1.Find("Steps (3)")->Children.front().Name, "Step 3");
  EXPECT_EQ(At(v1, "Steps (3)/Step 3/Thread"), "24.0 x 18.0");
  EXPECT_EQ(At(v1, "Steps (3)/Step 3/Point angle"), "180\u00B0");
  EXPECT_EQ(At(v1, "Steps (3)/Step 3/Group"), "P");
  EXPECT_EQ(At(v1, "Steps (3)/Step 1/Port depths"), "55.0, 0.0");
  EXPECT_EQ(At(v1, "Steps (3)/Step 1/Depth"), "62.0");
  EXPECT_EQ(At(v1, "Steps (3)/Step 1/Thread"), "none");
  EXPECT_EQ(At(v1, "Valves (1)/Valve 1/Item number"), "12");
  EXPECT_EQ(At(v1, "Valves (1)/Valve 1/Item number offset"), "14.0, 14.0");
  EXPECT_EQ(At(v1, "Contour points (1)/1"), "36.0, 0.0");

  const TInfoNode relief = HoleDetails(*Demo, 3);
  EXPECT_EQ(At(relief, "Label"), "RVT");  // "<>" stands for the group
  EXPECT_NE(relief.Find("Hole texts (1)/RELIEF"), nullptr);
  EXPECT_EQ(At(relief, "Hole texts (1)/RELIEF/Offset"), "0.0, -22.0");
  EXPECT_EQ(At(relief, "Manufacturing note (2)/1"), "Deburr the cross bore");
  EXPECT_EQ(At(relief, "Manufacturing note (2)/Standard note"), "used");
  EXPECT_TRUE(HoleDetails(*Demo, 99).Children.empty());
}

TEST_F(DemoTest, TheDocumentPanelShowsTheFileTheBlockAndTheDocumentsOwnData) {
  const TInfoNode d = DocumentDetails(*Demo);
  EXPECT_EQ(At(d, "Version"), "7.00");
  EXPECT_EQ(At(d, "Block size"), "200.0 x 150.0 x 100.0");
  EXPECT_EQ(At(d, "Unit"), "Metric");
  EXPECT_EQ(At(d, "Holes"), "25");
  EXPECT_EQ(At(d, "Project/Client"), "Demo Hydraulics");
  EXPECT_EQ(At(d, "Project/Created on"), "2025-08-31 09:00");
  EXPECT_EQ(At(d, "Project/Comments (2)/2"), "Ports to ISO 6149.");
  EXPECT_EQ(At(d, "Project/Variables (1)/1"), "PMAX=250");
  EXPECT_EQ(At(d, "Revisions (1)/A/Date"), "2025-12-09");
  EXPECT_EQ(At(d, "Revisions (1)/A/Description"), "First issue");
  EXPECT_EQ(At(d, "Sessions (1)/1"), "demo session (1.5, 20250101)");
  EXPECT_EQ(At(d, "Manufacturing notes (1)/Hole 4/2"), "Seat to be free of chatter marks");
  EXPECT_EQ(At(d, "Assemblies (1)/Standard/Active"), "yes");
  EXPECT_EQ(At(d, "Assemblies (1)/Standard/Alternative 1/Valve 1/Item number"), "13b");
  EXPECT_EQ(At(d, "Cut-outs (2)/1/Place"), "corner 2");
  EXPECT_EQ(At(d, "Cut-outs (2)/2/Place"), "at 60.0, 40.0");
  EXPECT_EQ(At(d, "Cut-outs (2)/2/Depth"), "through");
  EXPECT_EQ(At(d, "Groups (5)/T"), "#0000C0");
  EXPECT_EQ(d.Find("Groups (5)/T")->Color, 0xC00000u);
  EXPECT_NE(d.Find("Crosses (1)"), nullptr);
  EXPECT_NE(d.Find("Bill of materials (0)"), nullptr);
}

TEST_F(DemoTest, TheHoleTableHasARowAHoleInHoleOrderAndTheFilterMatchesNumberLabelOrGroup) {
  const std::vector<THoleRow> rows = HoleRows(*Demo);
  ASSERT_EQ(rows.size(), 25u);
  EXPECT_EQ(rows[0].Cells, (std::vector<std::string>{"1", "V1", "T", "1", "40.0", "40.0", "24.0", "62.0", "24.0 x 18.0"}));
  EXPECT_EQ(rows[0].GroupColor, 0xC00000u);
  EXPECT_EQ(rows[24].Group, "");
  EXPECT_EQ(rows[24].GroupColor, 0xFFFFFFu);
  EXPECT_DOUBLE_EQ(rows[1].Value(THoleColumn::MaxDiameter), 30);
  int matches = 0;
  for (const THoleRow& row : rows) matches += HoleRowMatches(row, "x");  // labels X1, X2 and group X
  EXPECT_EQ(matches, 3);
  EXPECT_TRUE(HoleRowMatches(rows[0], "v1"));
  EXPECT_TRUE(HoleRowMatches(rows[11], "12"));
  EXPECT_FALSE(HoleRowMatches(rows[0], "40.0"));  // positions are not searched
  EXPECT_TRUE(HoleRowMatches(rows[0], ""));
}

TEST(InspectionFormats, DatesVersionsAndLengths) {
  EXPECT_EQ(DateTimeText(0), "1899-12-30");
  EXPECT_EQ(DateTimeText(45000.5), "2023-03-15 12:00");
  EXPECT_EQ(DateTimeText(-1.25), "1899-12-29 06:00");  // before the epoch the fraction is still the time of day
  EXPECT_EQ(DateTimeText(std::nan("")), "");
  EXPECT_EQ(VersionText(540), "5.40");
  EXPECT_EQ(VersionText(801), "8.01");
  EXPECT_EQ(VersionText(-1), "unknown");
  EXPECT_EQ(FormatLength(12.25, 1), "12.3");  // half away from zero
  EXPECT_EQ(FormatLength(-0.001, 2), "0.00");
}

}  // namespace
}  // namespace qv
