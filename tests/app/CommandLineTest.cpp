// The program's command line as other tools use it: exit statuses, the JSON of --dump, messages on
// standard error.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

#include "tests/TestFiles.h"
#include "tests/checks/Drillings.h"
#include "tools/writer/DemoBlock.h"
#include "tools/writer/Documents.h"

namespace qv {
namespace {

struct TRun {
  int Status = -1;
  std::string Out;
};

// Runs the viewer with `args`; standard error goes to `errFile` when given.
TRun RunViewer(const std::string& args, const std::string& errFile = "/dev/null") {
  TRun r;
  std::string cmd = std::string("'") + QV_VIEWER + "' " + args + " 2>'" + errFile + "'";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  std::array<char, 65536> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.Out.append(buf.data(), n);
  int status = pclose(p);
  r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

std::string ReadText(const std::string& path) {
  std::string s;
  if (FILE* f = fopen(path.c_str(), "rb")) {
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    fclose(f);
  }
  return s;
}

TEST(DumpCommand, PrintsTheDocumentAsOrderedJson) {
  test::TTempDir dir;
  TManifold doc;
  writer::BuildDemoBlock(doc);
  doc.Text2050 = std::string("\x80\x81 caf\xE9");
  doc.Setting2111 = std::nan("");
  doc.Setting2121 = 0.1;
  auto path = dir.Write("Demo.MVF", writer::TaggedDocument(doc, true));
  TRun r = RunViewer("--dump '" + path + "'");
  ASSERT_EQ(r.Status, 0) << r.Out;
  auto j = nlohmann::ordered_json::parse(r.Out);
  EXPECT_EQ(j["Version"], 700);
  EXPECT_EQ(j["Loaded"], true);
  const auto& d = j["Document"];
  EXPECT_EQ(d.begin().key(), "FileName");
  EXPECT_EQ(std::next(d.begin()).key(), "Setting2002");
  EXPECT_EQ(d["FileName"], path);
  EXPECT_EQ(d["Text2050"], "\u20AC\u0081 caf\u00E9");
  EXPECT_EQ(d["Setting2111"], "NaN");
  EXPECT_EQ(d["Setting2121"].get<double>(), 0.1);
  EXPECT_EQ(d["Inch"], false);
  EXPECT_EQ(d["Series2600"].size(), 7u);
  EXPECT_TRUE(d["PartTexts"].is_object());
  EXPECT_FALSE(d["PartTexts"].contains("padding"));
  EXPECT_EQ(d["Holes"].size(), static_cast<size_t>(doc.Holes.Count()));
  EXPECT_TRUE(d["Holes"][0]["Steps"].is_array());
  for (const char* key : {"PlotSettings1", "PlotSettings2", "Layouts", "Groups", "Holes", "Project", "ToDo",
                          "Revisions", "Sessions", "CutOuts", "HoleTexts", "Assemblies", "Crosses",
                          "BillOfMaterials", "CalculateSettings"})
    EXPECT_TRUE(d.contains(key)) << key;
}

TEST(DumpCommand, ExitStatusesAndTheRefusal) {
  test::TTempDir dir;
  EXPECT_EQ(RunViewer("--dump '" + dir.Path() + "/missing.mnf'").Status, 2);
  EXPECT_EQ(RunViewer("--dump '" + dir.Write("a.txt", "x") + "'").Status, 2);

  writer::TBytes b = writer::FileHeader("7.01");
  b.resize(41, 0);
  auto path = dir.Write("new.mnf", b);
  std::string err = dir.Path() + "/err.txt";
  TRun no = RunViewer("--dump '" + path + "'", err);
  EXPECT_EQ(no.Status, 1);
  auto j = nlohmann::json::parse(no.Out);
  EXPECT_EQ(j["Version"], 701);
  EXPECT_EQ(j["Loaded"], false);
  std::string messages = ReadText(err);
  EXPECT_NE(messages.find("The file was created by an incompatible version."), std::string::npos);
  EXPECT_NE(messages.find("Do you wish to read the file like a 1.00 file? No"), std::string::npos);
}

// Two channels passing 3 apart (wall 3 from (50, 40, 34) to (50, 40, 37)) and a third through the
// first, in the tagged layout.
std::string CrossedBlock(test::TTempDir& dir, bool inch) {
  TManifold doc;
  test::StartBlock(doc, 100, 80, 60, inch);
  test::Drill(doc, 2, 50, 30, {{8, 60, "P"}});
  test::Drill(doc, 3, 40, 40, {{6, 80, "P"}});
  test::Drill(doc, 3, 20, 30, {{8, 80, "T"}});
  return dir.Write(inch ? "inch.mnf" : "mm.mnf", writer::TaggedDocument(doc, false));
}

TEST(WallCommand, PrintsTheWallAndItsEnds) {
  test::TTempDir dir;
  const std::string path = CrossedBlock(dir, false);
  TRun r = RunViewer("--wall 1 2 '" + path + "'");
  ASSERT_EQ(r.Status, 0);
  EXPECT_EQ(nlohmann::ordered_json::parse(r.Out).dump(),
            R"({"Wall":3.0,"Connected":false,"From":[50.0,40.0,34.0],"To":[50.0,40.0,37.0]})");
  auto meet = nlohmann::json::parse(RunViewer("--wall 3 1 '" + path + "'").Out);
  EXPECT_EQ(meet["Wall"], 0.0);
  EXPECT_EQ(meet["Connected"], true);
  EXPECT_EQ(meet["From"], meet["To"]);
  EXPECT_EQ(RunViewer("--wall 1 4 '" + path + "'").Status, 2);
  EXPECT_EQ(RunViewer("--wall x 1 '" + path + "'").Status, 2);
  EXPECT_EQ(RunViewer("--wall 1 2 '" + dir.Path() + "/missing.mnf'").Status, 1);
  EXPECT_EQ(RunViewer("--wall 1 2 '" + dir.Write("bad.mnf", "not a manifold") + "'").Status, 1);
}

TEST(CheckCommand, PrintsTheFindingsInTheDocumentsUnit) {
  test::TTempDir dir;
  TRun r = RunViewer("--check '" + CrossedBlock(dir, false) + "'");
  ASSERT_EQ(r.Status, 0);
  auto j = nlohmann::ordered_json::parse(r.Out);
  EXPECT_EQ(j["MinWall"], 2.0);
  EXPECT_EQ(j["Circuits"].dump(), "[[1,3],[2]]");
  EXPECT_EQ(j["Connections"].dump(), "[[1,3]]");
  EXPECT_EQ(j["Unconnected"].dump(), "[2]");
  EXPECT_EQ(j["Shorts"].size(), 1u);
  EXPECT_EQ(j["ThinWalls"].dump(), "[]");
  // In inches the same numbers are long walls, and 4 is a threshold that finds the wall of 3.
  j = nlohmann::ordered_json::parse(RunViewer("--check '" + CrossedBlock(dir, true) + "' --min-wall 4").Out);
  EXPECT_EQ(j["MinWall"], 4.0);
  EXPECT_EQ(j["ThinWalls"].dump(), R"([{"Holes":[1,2],"Wall":3.0,"At":[50.0,40.0,35.5]}])");
  TRun text = RunViewer("--check '" + CrossedBlock(dir, true) + "' --text");
  EXPECT_NE(text.Out.find("Thin below: 0.0800 in"), std::string::npos) << text.Out;
  EXPECT_EQ(RunViewer("--check '" + dir.Path() + "/missing.mnf'").Status, 1);
  EXPECT_EQ(RunViewer("--check '" + CrossedBlock(dir, false) + "' --min-wall -1").Status, 2);
}

TEST(HolesCommand, PrintsTheHoleTableAlignedOrAsCsvWithTheDumpsExitStatuses) {
  test::TTempDir dir;
  TManifold doc;
  doc.Decimals = 1;
  doc.Groups.Add().Code = "P";
  THole& a = doc.Holes.Add();
  a.Number = 7;
  a.Face = 2;
  a.X = 12.25;
  a.Y = 3;
  TStep& s = a.Steps.Add();
  s.Diameter = 8;
  s.Depth = 20;
  s.Remark = "'A,1";
  s.GroupCode = "p";
  s.Flags |= TStep::ThreadedBit;
  s.ThreadDiameter = 10;
  s.ThreadLength = 15;
  THole& b = doc.Holes.Add();
  b.Number = 12;
  b.Face = 6;
  b.Steps.Add().Diameter = 10.5;
  const std::string path = dir.Write("t.mnf", writer::TaggedDocument(doc, false));
  TRun text = RunViewer("--holes '" + path + "'");
  EXPECT_EQ(text.Status, 0);
  EXPECT_EQ(text.Out,
            "No.  Label  Group  Face     X    Y  Max. diameter  Depth  Thread\n"
            "  7  A,1    P         2  12.3  3.0           10.0   20.0  10.0 x 15.0\n"
            " 12                   6   0.0  0.0           10.5    0.0\n");
  TRun csv = RunViewer("--csv --holes '" + path + "'");
  EXPECT_EQ(csv.Status, 0);
  EXPECT_EQ(csv.Out,
            "No.,Label,Group,Face,X,Y,Max. diameter,Depth,Thread\n"
            "7,\"A,1\",P,2,12.3,3.0,10.0,20.0,10.0 x 15.0\n"
            "12,,,6,0.0,0.0,10.5,0.0,\n");
  EXPECT_EQ(RunViewer("--holes '" + dir.Path() + "/missing.mnf'").Status, 2);
  EXPECT_EQ(RunViewer("--holes '" + dir.Write("a.txt", "x") + "'").Status, 2);
  writer::TBytes refused = writer::FileHeader("7.01");
  refused.resize(41, 0);
  TRun no = RunViewer("--holes '" + dir.Write("new.mnf", refused) + "'");
  EXPECT_EQ(no.Status, 1);
  EXPECT_EQ(no.Out.substr(0, 4), "No. ");  // the header of an empty table
}

}  // namespace
}  // namespace qv
