// The project, drawing and bill-of-materials data as parts of a whole document: their place in the
// "8.01" record image, the same document in all three current forms, and their shape in the dump.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "loader/DocumentLoader.h"
#include "model/Dump.h"
#include "model/Manifolds.h"
#include "tests/TestFiles.h"
#include "tests/model/ByteImages.h"
#include "tools/writer/DemoBlock.h"
#include "tools/writer/Documents.h"

namespace qv {
namespace {

using test::TByteImage;
using writer::TBytes;

TJson DumpWithoutFileName(TManifold& m) {
  TJson j = DumpDocument(m);
  j.erase("FileName");
  return j;
}

// The plot-settings block of an image: Kind and one size, the rest zero.
void PlotSettingsImage(TByteImage& file, uint8_t kind, double size0) {
  size_t start = file.Size();
  file.U8(kind).Zeros(27).F64(size0);
  file.Zeros(TPlotSettings::RecordSize - (file.Size() - start));
  file.I32(0);                                                               // comment files
  file.F64(1).F64(2).F64(0).F64(0).Text("", 10).Text("", 10).U8(0).Zeros(1);  // drilling list
  file.I32(0);                                                               // columns
}

TEST(RecordImageDocument, ProjectDataComesFirstInItsOrderFromHandAssembledBytes) {
  test::TTempDir dir;
  TByteImage file;
  file.Fill(8, ' ');
  for (char c : std::string("8.01")) file.U8(static_cast<uint8_t>(c));
  file.Fill(28, ' ');
  file.Zeros(TManifold::RecordSize);
  file.I32(1).Text("R1", 5).Zeros(2).F64(45000).Text("revised", 128).Text("", 30).Text("", 30).Zeros(1);
  file.I32(1).F64(0.5).I32(9).I32(0).Text("s", 80).Zeros(3);                    // sessions
  file.Text("drawer", 30).Zeros(33 + 8 + 8 + 4 * 65 + 4 + 8 + 32);             // project
  file.I32(1).Text("comment", 255).I32(0);
  file.I32(1).Text("to do", 255);                                              // to-do lines
  TByteImage hole;                                                             // one to-do hole
  hole.I32(21).I32(-1).I32(-1).U16(0).Zeros(2).I32(5).F64(12).F64(34);
  hole.Zeros(THole::RecordSize - hole.Size());
  file.I32(1).Append(hole.Bytes());
  file.I32(1).I32(1).Zeros(4).F64(10).F64(25).Zeros(216 - 24);                 // one step
  file.I32(0).I32(0).I32(0).I32(0).U8(0).I32(0);                               // nothing else
  PlotSettingsImage(file, 1, 7.0);
  PlotSettingsImage(file, 2, 8.0);
  file.I32(1).Text("layout", 128).Zeros(4 * 129).U8(1).U8(0).U8(0).U8(1).I32(0).I32(0).I32(0);
  // The file ends before the groups: everything after the layouts keeps its defaults.

  test::TRecordingMessages messages;
  TManifold m;
  m.SetMessages(&messages);
  ASSERT_TRUE(LoadManifoldFile(m, dir.Write("p801.mnf", file.Bytes())));
  ASSERT_EQ(m.Revisions.Count(), 1);
  EXPECT_EQ(m.Revisions.Items(0).Number, "R1");
  EXPECT_EQ(m.Revisions.Items(0).Date, 45000);
  ASSERT_EQ(m.Sessions.Count(), 1);
  EXPECT_EQ(m.Sessions.Items(0).Int64Value, 9);
  EXPECT_EQ(m.Project.Drawn, "drawer");
  ASSERT_EQ(m.Project.Comments.Count(), 1);
  EXPECT_EQ(m.Project.Comments.Items(0), "comment");
  EXPECT_EQ(m.Project.Variables.Count(), 0);
  ASSERT_EQ(m.ToDo.Lines.Count(), 1);
  ASSERT_EQ(m.ToDo.Holes.Count(), 1);
  const THole& h = m.ToDo.Holes.Items(0);
  EXPECT_EQ(h.Number, 21);
  EXPECT_EQ(h.Face, 5);
  EXPECT_EQ(h.Y, 34);
  ASSERT_EQ(h.Steps.Count(), 1);
  EXPECT_EQ(h.Steps.Items(0).Depth, 25);
  EXPECT_EQ(m.PlotSettings1.Size(0), 7.0);
  EXPECT_EQ(m.PlotSettings1.Size(1), 0.0);
  EXPECT_EQ(m.PlotSettings2.Kind, 2);
  EXPECT_EQ(m.PlotSettings2.Size(0), 8.0);
  EXPECT_EQ(m.PlotSettings2.DrillingList.Setting61140, 2.0);
  ASSERT_EQ(m.Layouts.Count(), 1);
  EXPECT_EQ(m.Layouts.Items(0).Name, "layout");
  EXPECT_EQ(m.Layouts.Items(0).Setting43070, 0);
  EXPECT_EQ(m.Holes.Count(), 0);
  EXPECT_EQ(m.BillOfMaterials.Setting41020, 5.0);
  EXPECT_EQ(messages.Errors.size(), 1u);  // the early end is told once
}

// Every object of these Parts with data in it, as the design application would save it.
void FillProjectData(TManifold& doc) {
  writer::BuildDemoBlock(doc);
  TToDo& todo = doc.ToDo;
  todo.Lines.Add("move port P");
  THole& h = todo.Holes.Add();
  h.Number = 3;
  h.Face = 2;
  h.X = 10;
  h.Steps.Add().Diameter = 6;

  TPlotSettings& p = doc.PlotSettings2;
  p.SetSize(5, 4.25);
  p.DrawFlags = (uint64_t{1} << 56) | (uint64_t{1} << 35) | 1;
  p.FaceViewShown[3] = 0;
  p.FaceViewPosition[2].Y = -7.5;
  p.DegreeLabel = "deg";
  TCommentFile& c = p.CommentFiles.Add();
  c.FileName = "note.txt";
  c.UseTextFile = 0;
  c.Position = {3, 4};
  c.Lines.Add("comment line");
  p.DrillingList.Columns.Add().Title = "Depth";
  p.DrillingList.Columns.Add().ColumnType = 7;

  TLayout& l = doc.Layouts.Add();
  l.Name = "A3";
  l.Setting43080 = 1;
  l.InsertBlocks.Add().Name = "frame";
  TTextBlock& t = l.TextBlocks.Add();
  t.Name = "notes";
  t.Lines.Add("first");
  t.Lines.Add("second");
  TAttribute& a = l.Attributes.Add();
  a.Name = "TITLE";
  a.Value = "Demo";

  TBillOfMaterials& b = doc.BillOfMaterials;
  b.Setting41010 = 3;
  b.Position = {100, 200};
  b.IntegerValues.Add(5);
  b.IntegerValues.Add(-1);
  b.Lines.Add("bom");
  TUserBOM& u = b.UserItems.Add();
  u.ArticleCode = "ART";
  u.Quantity = "2";
}

TEST(ThreeForms, ProjectDrawingAndBillOfMaterialsDataReadBackAlike) {
  test::TTempDir dir;
  TManifold doc;
  FillProjectData(doc);
  const TJson original = DumpWithoutFileName(doc);

  test::TRecordingMessages messages;
  TManifold m;
  m.SetMessages(&messages);
  ASSERT_TRUE(LoadManifoldFile(m, dir.Write("p.mnf", writer::TaggedDocument(doc, false))));
  EXPECT_EQ(DumpWithoutFileName(m), original);
  ASSERT_TRUE(LoadViewerFile(m, dir.Write("p.mvf", writer::TaggedDocument(doc, true))));
  EXPECT_EQ(DumpWithoutFileName(m), original);
  ASSERT_TRUE(LoadManifoldFile(m, dir.Write("p801.mnf", writer::RecordImageDocument(doc))));
  EXPECT_EQ(DumpWithoutFileName(m), original);
  EXPECT_TRUE(messages.Errors.empty());
}

TEST(Dump, ListsArraysAndDatesInTheirShapes) {
  TManifold doc;
  FillProjectData(doc);
  TJson j = DumpDocument(doc);
  EXPECT_EQ(j["Project"]["Comments"], TJson::array({"Demo block for the viewer's samples.", "Ports to ISO 6149."}));
  EXPECT_EQ(j["Project"]["Variables"], TJson::array({"PMAX=250"}));
  EXPECT_EQ(j["Project"]["CreatedOn"], 45900.375);
  EXPECT_EQ(j["Revisions"][0]["Date"], 46000.0);
  EXPECT_EQ(j["Sessions"][0]["Int64Value"], 20250101);
  EXPECT_EQ(j["ToDo"]["Lines"], TJson::array({"move port P"}));
  EXPECT_EQ(j["ToDo"]["Holes"][0]["Face"], 2);
  const TJson& p = j["PlotSettings2"];
  EXPECT_EQ(p["Kind"], 2);
  ASSERT_EQ(p["Sizes"].size(), 12u);
  EXPECT_EQ(p["Sizes"][5], 4.25);
  EXPECT_EQ(p["DrawFlags"], (uint64_t{1} << 56) | (uint64_t{1} << 35) | 1);
  EXPECT_EQ(p["FaceViewShown"], TJson::array({1, 1, 1, 0, 1, 1}));
  ASSERT_EQ(p["FaceViewPosition"].size(), 6u);
  EXPECT_EQ(p["FaceViewPosition"][2], TJson({{"X", 0.0}, {"Y", -7.5}}));
  EXPECT_EQ(p["Point"], TJson({{"X", 0.0}, {"Y", 0.0}}));
  EXPECT_EQ(p["CommentFiles"][0]["Lines"], TJson::array({"comment line"}));
  EXPECT_EQ(p["CommentFiles"][0]["Position"]["Y"], 4.0);
  EXPECT_EQ(p["DrillingList"]["Columns"][1]["ColumnType"], 7);
  EXPECT_EQ(j["PlotSettings1"]["DegreeLabel"], "\u00B0");  // the byte 0xB0, as UTF-8
  EXPECT_EQ(j["Layouts"][0]["TextBlocks"][0]["Lines"], TJson::array({"first", "second"}));
  EXPECT_EQ(j["Layouts"][0]["Attributes"][0]["Value"], "Demo");
  EXPECT_EQ(j["BillOfMaterials"]["IntegerValues"], TJson::array({"00000005", "FFFFFFFF"}));
  EXPECT_EQ(j["BillOfMaterials"]["UserItems"][0]["ArticleCode"], "ART");
  EXPECT_EQ(j["BillOfMaterials"]["Position"]["X"], 100.0);
}


// Every field the data model types as a boolean dumps as true or false, and every two-double point
// (also each element of a list of points) as {"X": x, "Y": y}, wherever it stands in the document.
TEST(Dump, BooleanAndPointFieldsInTheirJsonTypes) {
  TManifold doc;
  writer::BuildDemoBlock(doc);
  FillProjectData(doc);
  doc.Holes.Items(0).Flag10270 = true;
  TJson j = DumpDocument(doc);

  // The values at a path whose "*" stands for every element of an array.
  std::function<void(const TJson&, const std::vector<std::string>&, size_t, std::vector<TJson>&)> collect =
      [&](const TJson& at, const std::vector<std::string>& path, size_t i, std::vector<TJson>& out) {
        if (i == path.size()) return out.push_back(at);
        if (path[i] == "*") {
          for (const TJson& item : at) collect(item, path, i + 1, out);
        } else if (at.contains(path[i])) {
          collect(at[path[i]], path, i + 1, out);
        }
      };
  auto valuesAt = [&](std::vector<std::string> path) {
    std::vector<TJson> out;
    collect(j, path, 0, out);
    return out;
  };
  const std::vector<std::vector<std::string>> booleans = {{"Inch"}, {"Setting2006"}, {"Holes", "*", "Flag10270"}};
  for (const auto& path : booleans) {
    const auto values = valuesAt(path);
    ASSERT_FALSE(values.empty()) << path.back();
    for (const TJson& v : values) EXPECT_TRUE(v.is_boolean()) << path.back() << ": " << v;
  }
  const std::vector<std::vector<std::string>> points = {
      {"Crosses", "*", "Point"},          {"HoleTexts", "*", "Offset"},
      {"Holes", "*", "HoleTexts", "*", "Offset"}, {"CutOuts", "*", "Position"},
      {"PlotSettings1", "Point"},         {"PlotSettings2", "FaceViewPosition", "*"},
      {"PlotSettings2", "CommentFiles", "*", "Position"}, {"PlotSettings1", "DrillingList", "Position"},
      {"BillOfMaterials", "Position"}};
  for (const auto& path : points) {
    const auto values = valuesAt(path);
    ASSERT_FALSE(values.empty()) << path.front() << "/" << path.back();
    for (const TJson& v : values) {
      EXPECT_TRUE(v.is_object() && v.size() == 2 && v.contains("X") && v.contains("Y") && v["X"].is_number() &&
                  v["Y"].is_number())
          << path.front() << "/" << path.back() << ": " << v;
    }
  }
}

}  // namespace
}  // namespace qv
