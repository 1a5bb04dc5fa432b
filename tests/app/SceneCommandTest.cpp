// The scene modes of the command line: --scene-dump's JSON contract and flags, --export's pictures.
#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <functional>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

#include "app/MainForm.h"
#include "viewer/ViewerSession.h"
#include "app/SceneView.h"
#include "model/Manifolds.h"
#include "scene/SceneDump.h"
#include "tests/TestFiles.h"
#include "tools/writer/Documents.h"

namespace qv {
namespace {

struct TRun {
  int Status = -1;
  std::string Out;
  std::string Err;
};

TRun RunViewer(const test::TTempDir& dir, const std::string& args) {
  TRun r;
  const std::string errFile = dir.Path() + "/stderr.txt";
  std::string cmd = std::string("'") + QV_VIEWER + "' " + args + " 2>'" + errFile + "'";
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  std::array<char, 65536> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.Out.append(buf.data(), n);
  int status = pclose(p);
  r.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream err(errFile, std::ios::binary);
  r.Err.assign(std::istreambuf_iterator<char>(err), {});
  return r;
}

// Block 100 x 60 x 40 (scale 0.05) with groups A and B; hole 1 in A on face 1 at (30, 20), one
// flat step of diameter 10 and depth 20, labelled "é1" (Windows-1252 0xE9); hole 2 in B.
std::string WriteDocument(const test::TTempDir& dir) {
  TManifold doc;
  doc.SizeX = 100;
  doc.SizeY = 60;
  doc.SizeZ = 40;
  for (const char* code : {"A", "B"}) {
    TGroup& g = doc.Groups.Add();
    g.Code = code;
    g.Color = 0x0000FF;
  }
  for (int i = 0; i < 2; ++i) {
    THole& h = doc.Holes.Add();
    h.Number = i + 1;
    h.Face = 1;
    h.X = 30 + 40 * i;
    h.Y = 20;
    TStep& s = h.Steps.Add();
    s.Diameter = 10;
    s.Depth = 20;
    s.PointAngle = 180;
    s.GroupCode = i == 0 ? "A" : "B";
    s.Remark = i == 0 ? "'\xE9" "1" : "";
  }
  return dir.Write("block.mnf", writer::TaggedDocument(doc, false));
}

int CountTag(const nlohmann::json& scene, int tag) {
  int n = 0;
  for (const auto& o : scene) n += o["Tag"] == tag;
  return n;
}

TEST(SceneDumpCommand, FollowsTheContract) {
  test::TTempDir dir;
  const std::string path = WriteDocument(dir);
  TRun r = RunViewer(dir, "--scene-dump '" + path + "'");
  ASSERT_EQ(r.Status, 0) << r.Err;
  const auto scene = nlohmann::json::parse(r.Out);
  ASSERT_TRUE(scene.is_array());
  // The box, the six face numbers, each hole's root, label or number texts.
  const auto& box = scene[0];
  EXPECT_EQ(box["Kind"], "TGLCube");
  EXPECT_EQ(box["Tag"], 0);
  EXPECT_EQ(box["CubeWidth"], 5.0);
  EXPECT_EQ(box["CubeHeight"], 3.0);
  EXPECT_EQ(box["CubeDepth"], 2.0);
  EXPECT_EQ(box["Position"], nlohmann::json::array({0.0, 0.0, 0.0}));
  EXPECT_EQ(box["Direction"], nlohmann::json::array({0.0, 0.0, 1.0}));
  EXPECT_EQ(box["Up"], nlohmann::json::array({0.0, 1.0, 0.0}));
  EXPECT_EQ(box["Material"]["BlendingMode"], "bmTransparency");
  EXPECT_TRUE(box["Material"]["BackDiffuse"].is_null());
  // Single-precision values as held: 0.8f and 0.4f, not 0.8 and 0.4.
  EXPECT_EQ(box["Material"]["FrontDiffuse"][0].get<double>(), static_cast<double>(0.8f));
  EXPECT_EQ(box["Material"]["FrontDiffuse"][3].get<double>(), static_cast<double>(0.4f));
  EXPECT_TRUE(box["Children"].empty());

  const auto& face1 = scene[1];
  EXPECT_EQ(face1["Kind"], "TGLSpaceText");
  EXPECT_EQ(face1["Text"], "Face1");
  EXPECT_EQ(face1["TextHeight"].get<double>(), static_cast<double>(0.1f));
  EXPECT_EQ(face1["Oblique"], 0.0);
  EXPECT_EQ(face1["Adjust"]["Horz"], "haLeft");
  EXPECT_EQ(face1["Adjust"]["Vert"], "vaBaseLine");

  const auto& root = scene[7];
  EXPECT_EQ(root["Kind"], "TGLAnnulus");
  EXPECT_EQ(root["Tag"], 1);
  EXPECT_EQ(root["Position"], nlohmann::json::array({1.0, 0.5, 0.5}));
  EXPECT_EQ(root["Height"], 1.0);
  EXPECT_EQ(root["Slices"], 16);
  EXPECT_EQ(root["Stacks"], 1);
  EXPECT_EQ(root["Loops"], 1);
  for (const char* key : {"BottomRadius", "TopRadius", "BottomInnerRadius", "TopInnerRadius"})
    EXPECT_EQ(root[key], 0.25) << key;
  EXPECT_EQ(root["Material"]["FrontDiffuse"], nlohmann::json::array({1.0, 0.0, 0.0, 1.0}));
  ASSERT_EQ(root["Children"].size(), 1u);
  EXPECT_EQ(root["Children"][0]["Height"], 0.0);
  EXPECT_EQ(scene[8]["Text"], "\u00E9" "1");
  EXPECT_EQ(scene[9]["Text"], "1");
  EXPECT_EQ(scene.size(), 12u);  // hole 2: root and its number
}

TEST(SceneDumpCommand, FlagsSetTheBoxesTheGroupsAndTheTextHeight) {
  test::TTempDir dir;
  const std::string path = WriteDocument(dir);
  const auto dump = [&](const std::string& flags) {
    TRun r = RunViewer(dir, "--scene-dump '" + path + "' " + flags);
    EXPECT_EQ(r.Status, 0) << r.Err;
    return nlohmann::json::parse(r.Out);
  };
  // Without the box, the face numbers and the hole numbers: the two roots.
  auto scene = dump("--set ShowManifold=0 --set FaceNumbers=0 --set HoleNumbers=0");
  ASSERT_EQ(scene.size(), 2u);
  EXPECT_EQ(scene[0]["Kind"], "TGLAnnulus");
  // Filled cylinders, no colours.
  scene = dump("--set ShowManifold=0 --set FaceNumbers=0 --set HoleNumbers=0 --set FilledCylinders=1 --set Colors=0");
  EXPECT_EQ(scene[0]["Kind"], "TGLCylinder");
  EXPECT_EQ(scene[0]["Material"]["FrontDiffuse"][0].get<double>(), static_cast<double>(0.8f));
  // Transparent: no box; the bores translucent.
  scene = dump("--set Transparent=1 --set FaceNumbers=0");
  EXPECT_EQ(scene[0]["Kind"], "TGLAnnulus");
  EXPECT_EQ(scene[0]["Material"]["BlendingMode"], "bmTransparency");
  // Text height factor 20: face numbers 0.2 high.
  scene = dump("--text-height 20");
  EXPECT_EQ(scene[1]["TextHeight"].get<double>(), static_cast<double>(0.2f));
  // Group B unchecked: hole 2 grey; hidden with --hide-unchecked.
  scene = dump("--uncheck-group B");
  EXPECT_EQ(scene[10]["Tag"], 2);
  EXPECT_NEAR(scene[10]["Material"]["FrontDiffuse"][0].get<double>(), 85.0 / 255.0, 1e-6);
  scene = dump("--uncheck-group B --hide-unchecked");
  EXPECT_EQ(CountTag(scene, 2), 0);
  EXPECT_EQ(CountTag(scene, 1), 3);
  scene = dump("--uncheck-group '(None)' --uncheck-group A --uncheck-group B --hide-unchecked");
  EXPECT_EQ(scene.size(), 7u);
  // Dummy-hole and other keys are taken without regard to case.
  dump("--set showdummyholes=1 --set ShowPlugs=0 --set ShowItemNumbers=0 --set ShowHoleText=0 --set ShowPorts=0 "
       "--set ShowThread=0 --set Contours=0");
}

TEST(SceneDumpCommand, BuildsTheSceneTheWindowBuildsEvenWithoutALengthInX) {
  // Without a length in X the longer of Y and Z is scaled to 5 units: 5 / 120.
  test::TTempDir dir;
  TManifold doc;
  doc.SizeX = 0;
  doc.SizeY = 80;
  doc.SizeZ = 120;
  THole& h = doc.Holes.Add();
  h.Number = 1;
  h.Face = 1;
  h.X = 30;
  h.Y = 20;
  TStep& s = h.Steps.Add();
  s.Diameter = 12;
  s.Depth = 24;
  const std::string path = dir.Write("flat.mnf", writer::TaggedDocument(doc, false));
  TRun r = RunViewer(dir, "--scene-dump '" + path + "'");
  ASSERT_EQ(r.Status, 0) << r.Err;
  const auto scene = nlohmann::json::parse(r.Out);
  ASSERT_FALSE(scene.empty());
  EXPECT_EQ(scene[0]["Kind"], "TGLCube");
  EXPECT_EQ(scene[0]["CubeWidth"], 0.0);
  EXPECT_FLOAT_EQ(scene[0]["CubeHeight"].get<float>(), 80.0f / 24.0f);
  EXPECT_FLOAT_EQ(scene[0]["CubeDepth"].get<float>(), 5.0f);

  TMainForm window;
  test::TRecordingMessages messages;
  window.SetMessages(&messages);
  window.OpenDocument(path);
  ASSERT_TRUE(window.Session().DocumentLoaded());
  EXPECT_DOUBLE_EQ(window.Session().ScaleFactor(), 5.0 / 120);
  EXPECT_EQ(nlohmann::json::parse(DumpSceneChildren(window.Session().ModelRoot()).dump()), scene);
}

TEST(SceneDumpCommand, RefusesBadFlagsAndReportsFailedLoads) {
  test::TTempDir dir;
  const std::string path = WriteDocument(dir);
  for (const char* flags : {"--set Perspective=1", "--set FaceNumbers=2", "--set FaceNumbers", "--text-height 0",
                            "--text-height 201", "--text-height 1x", "--uncheck-group C"}) {
    TRun r = RunViewer(dir, "--scene-dump '" + path + "' " + flags);
    EXPECT_EQ(r.Status, 2) << flags;
    EXPECT_TRUE(r.Out.empty()) << flags;
    EXPECT_FALSE(r.Err.empty()) << flags;
  }
  EXPECT_EQ(RunViewer(dir, "--scene-dump '" + dir.Path() + "/missing.mnf'").Status, 2);
  // A document that does not load builds no scene.
  writer::TBytes b = writer::FileHeader("7.01");
  b.resize(41, 0);
  TRun r = RunViewer(dir, "--scene-dump '" + dir.Write("new.mnf", b) + "'");
  EXPECT_EQ(r.Status, 1);
  EXPECT_EQ(nlohmann::json::parse(r.Out), nlohmann::json::array());
}

TEST(ExportGltfCommand, WritesTheModelAndTellsWhatFailed) {
  test::TTempDir dir;
  const std::string path = WriteDocument(dir), out = dir.Path() + "/block.glb";
  EXPECT_EQ(RunViewer(dir, "--export-gltf '" + out + "' '" + path + "' --set FaceNumbers=2").Status, 2);
  EXPECT_EQ(RunViewer(dir, "--export-gltf '" + out + "' '" + dir.Path() + "/missing.mnf'").Status, 2);
  EXPECT_FALSE(std::filesystem::exists(out));
  writer::TBytes b = writer::FileHeader("7.01");
  b.resize(41, 0);
  EXPECT_EQ(RunViewer(dir, "--export-gltf '" + out + "' '" + dir.Write("new.mnf", b) + "'").Status, 1);
  EXPECT_FALSE(std::filesystem::exists(out));
  TRun no = RunViewer(dir, "--export-gltf '" + dir.Path() + "/none/block.glb' '" + path + "'");
  EXPECT_EQ(no.Status, 1);
  EXPECT_NE(no.Err.find("Cannot write"), std::string::npos) << no.Err;

  auto bytes = [&] {
    std::ifstream f(out, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
  };
  ASSERT_EQ(RunViewer(dir, "--export-gltf '" + out + "' '" + path + "'").Status, 0);
  const std::string both = bytes();
  EXPECT_EQ(both.substr(0, 4), "glTF");
  EXPECT_NE(both.find("\"BLEND\""), std::string::npos);
  // The scene flags shape the model: hole 2 hidden leaves less to write.
  ASSERT_EQ(RunViewer(dir, "--export-gltf '" + out + "' '" + path + "' --uncheck-group B --hide-unchecked").Status, 0);
  EXPECT_LT(bytes().size(), both.size());
}

// Reads the 54-byte header of a 24-bit BMP; pixel rows are stored bottom up, blue green red.
struct TBmp {
  int Width = 0, Height = 0, Bits = 0;
  std::vector<uint8_t> Bytes;
  int Row() const { return (Width * 3 + 3) / 4 * 4; }
  std::array<int, 3> Rgb(int x, int y) const {
    const size_t at = 54 + static_cast<size_t>(Height - 1 - y) * Row() + static_cast<size_t>(x) * 3;
    return {Bytes[at + 2], Bytes[at + 1], Bytes[at]};
  }
};

TBmp ReadBmp(const std::string& path) {
  TBmp bmp;
  std::ifstream f(path, std::ios::binary);
  bmp.Bytes.assign(std::istreambuf_iterator<char>(f), {});
  if (bmp.Bytes.size() < 54) return bmp;
  auto i32 = [&](size_t at) {
    return static_cast<int>(bmp.Bytes[at] | bmp.Bytes[at + 1] << 8 | bmp.Bytes[at + 2] << 16 | bmp.Bytes[at + 3] << 24);
  };
  bmp.Width = i32(18);
  bmp.Height = i32(22);
  bmp.Bits = bmp.Bytes[28] | bmp.Bytes[29] << 8;
  return bmp;
}

bool NoContext(const TRun& r) { return r.Status == 1 && r.Err.find("Cannot draw the picture") != std::string::npos; }

TEST(ExportCommand, DrawsTheBlockOnWhite) {
  test::TTempDir dir;
  const std::string path = WriteDocument(dir);
  const std::string out = dir.Path() + "/view.bmp";
  TRun r = RunViewer(dir, "--export '" + out + "' '" + path + "'");
  if (NoContext(r)) GTEST_SKIP() << r.Err;
  ASSERT_EQ(r.Status, 0) << r.Err;
  const TBmp bmp = ReadBmp(out);
  ASSERT_EQ(bmp.Width, 548);
  ASSERT_EQ(bmp.Height, 710);
  ASSERT_EQ(bmp.Bits, 24);
  ASSERT_EQ(bmp.Bytes.size(), 54u + static_cast<size_t>(bmp.Row()) * 710);
  EXPECT_EQ(bmp.Rgb(0, 0), (std::array<int, 3>{255, 255, 255}));
  EXPECT_EQ(bmp.Rgb(547, 709), (std::array<int, 3>{255, 255, 255}));
  // The camera looks at the block's centre: the middle of the picture shows the grey body.
  const auto centre = bmp.Rgb(274, 355);
  EXPECT_LT(centre[0], 250);
  EXPECT_NEAR(centre[0], centre[2], 8);

  // PNG by extension, of the size asked for, with the same pixels as the BMP.
  const std::string png = dir.Path() + "/view.png", small = dir.Path() + "/small.bmp";
  r = RunViewer(dir, "--export '" + png + "' --size 120x90 --set Transparent=1 '" + path + "'");
  ASSERT_EQ(r.Status, 0) << r.Err;
  ASSERT_EQ(RunViewer(dir, "--export '" + small + "' --size 120x90 --set Transparent=1 '" + path + "'").Status, 0);
  QImage image(QString::fromStdString(png), "PNG");
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), 120);
  EXPECT_EQ(image.height(), 90);
  const TBmp bmp2 = ReadBmp(small);
  ASSERT_EQ(bmp2.Width, 120);
  EXPECT_EQ(bmp2.Rgb(0, 0), (std::array<int, 3>{255, 255, 255}));
  for (int y = 0; y < 90; y += 7)
    for (int x = 0; x < 120; x += 7) {
      const QColor c = image.pixelColor(x, y);
      EXPECT_EQ(bmp2.Rgb(x, y), (std::array<int, 3>{c.red(), c.green(), c.blue()}));
    }

  EXPECT_EQ(RunViewer(dir, "--export '" + png + "' --size 0x90 '" + path + "'").Status, 2);
  EXPECT_EQ(RunViewer(dir, "--export '" + png + "' --size 120 '" + path + "'").Status, 2);
  EXPECT_EQ(RunViewer(dir, "--export '" + dir.Path() + "/no/such/dir/x.bmp' '" + path + "'").Status, 1);
}


// Where anything but the white background is drawn: left, top, right, bottom (inclusive).
std::array<int, 4> DrawnBounds(const TBmp& bmp) {
  std::array<int, 4> b{bmp.Width, bmp.Height, -1, -1};
  for (int y = 0; y < bmp.Height; ++y)
    for (int x = 0; x < bmp.Width; ++x) {
      const auto c = bmp.Rgb(x, y);
      if (c[0] > 250 && c[1] > 250 && c[2] > 250) continue;
      b = {std::min(b[0], x), std::min(b[1], y), std::max(b[2], x), std::max(b[3], y)};
    }
  return b;
}

// A picture of another size is the window's 548 x 710 framing scaled to fit it: 400 x 300 takes the
// scale 300 / 710 and shows the view 232 pixels wide from x = 84, white on either side.
TEST(ExportCommand, AnotherSizeShowsTheWindowsFramingFitted) {
  test::TTempDir dir;
  const std::string path = WriteDocument(dir);
  const std::string large = dir.Path() + "/large.bmp", fitted = dir.Path() + "/fitted.bmp";
  TRun r = RunViewer(dir, "--export '" + large + "' '" + path + "'");
  if (NoContext(r)) GTEST_SKIP() << r.Err;
  ASSERT_EQ(r.Status, 0) << r.Err;
  ASSERT_EQ(RunViewer(dir, "--export '" + fitted + "' --size 400x300 '" + path + "'").Status, 0);
  const TBmp a = ReadBmp(large), b = ReadBmp(fitted);
  ASSERT_EQ(b.Width, 400);
  ASSERT_EQ(b.Height, 300);
  const auto whole = DrawnBounds(a), part = DrawnBounds(b);
  ASSERT_GE(whole[2], whole[0]);
  const double scale = 300.0 / 710;
  const int offset[4] = {84, 0, 84, 0};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(part[i], whole[i] * scale + offset[i], 2.0) << "bound " << i;
  for (auto [x, y] : {std::pair{0, 0}, {399, 0}, {0, 299}, {399, 299}})
    EXPECT_EQ(b.Rgb(x, y), (std::array<int, 3>{255, 255, 255}));
}


// Without its background a PNG picture is transparent around the block and opaque on its opaque
// parts; a BMP has no transparency to give and the flag is refused for it.
TEST(ExportCommand, NoBackgroundLeavesThePngTransparentAroundTheBlock) {
  test::TTempDir dir;
  const std::string path = WriteDocument(dir);
  const std::string png = dir.Path() + "/clear.png";
  TRun r = RunViewer(dir, "--export '" + png + "' --no-background --size 300x300 '" + path + "'");
  if (NoContext(r)) GTEST_SKIP() << r.Err;
  ASSERT_EQ(r.Status, 0) << r.Err;
  QImage image(QString::fromStdString(png), "PNG");
  ASSERT_FALSE(image.isNull());
  EXPECT_TRUE(image.hasAlphaChannel());
  EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
  EXPECT_EQ(image.pixelColor(299, 299).alpha(), 0);
  // The block's body is translucent grey: partly covering, never fully transparent.
  const QColor centre = image.pixelColor(150, 150);
  EXPECT_GT(centre.alpha(), 20);
  EXPECT_NEAR(centre.red(), centre.blue(), 8);
  EXPECT_EQ(RunViewer(dir, "--export '" + dir.Path() + "/x.bmp' --no-background '" + path + "'").Status, 2);
}


// --watch draws a new picture when the document is saved anew (a new file renamed over it), and keeps
// running until it is stopped.
TEST(ExportCommand, WatchDrawsANewPictureAtEachSave) {
  test::TTempDir dir;
  const std::string path = WriteDocument(dir), out = dir.Path() + "/watched.png";
  QProcess viewer;
  viewer.start(QV_VIEWER, {"--export", QString::fromStdString(out), "--watch", QString::fromStdString(path)});
  ASSERT_TRUE(viewer.waitForStarted());
  auto picture = [&] {
    std::ifstream f(out, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
  };
  auto waitFor = [&](const std::function<bool()>& done) {
    for (int i = 0; i < 100 && !done(); ++i) viewer.waitForFinished(50);
    return done();
  };
  if (!waitFor([&] { return !picture().empty() || viewer.state() == QProcess::NotRunning; }) ||
      viewer.state() == QProcess::NotRunning)
    GTEST_SKIP() << viewer.readAllStandardError().toStdString();
  const std::string first = picture();
  TManifold wider;
  wider.SizeX = 40;
  wider.SizeY = 90;
  wider.SizeZ = 20;
  writer::SaveFile(path + ".part", writer::TaggedDocument(wider, false));
  std::filesystem::rename(path + ".part", path);
  EXPECT_TRUE(waitFor([&] { const std::string now = picture(); return !now.empty() && now != first; }));
  EXPECT_EQ(viewer.state(), QProcess::Running);
  viewer.kill();
  viewer.waitForFinished();
}

}  // namespace
}  // namespace qv
