// The glTF export of a small document read back by tinygltf's reader and, where it is installed, by
// assimp's command-line tool: meshes, materials and sizes in the document's unit.
#include <gtest/gtest.h>
#include <tiny_gltf.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sys/wait.h>

#include "model/Manifolds.h"
#include "tests/TestFiles.h"
#include "tools/writer/Documents.h"
#include "viewer/GltfExport.h"
#include "viewer/ViewerSession.h"

namespace qv {
namespace {

struct TBox {
  std::array<double, 3> Min, Max;
};

class GltfExport : public ::testing::Test {
protected:
  // Block 100 x 60 x 40 with one hole of group A (red) on face 1 at (30, 20): one flat step of
  // diameter 10 and depth 25.
  void SetUp() override {
    TManifold doc;
    doc.SizeX = 100;
    doc.SizeY = 60;
    doc.SizeZ = 40;
    TGroup& g = doc.Groups.Add();
    g.Code = "A";
    g.Color = 0x0000FF;
    THole& h = doc.Holes.Add();
    h.Number = 1;
    h.Face = 1;
    h.X = 30;
    h.Y = 20;
    TStep& s = h.Steps.Add();
    s.Diameter = 10;
    s.Depth = 25;
    s.PointAngle = 180;
    s.GroupCode = "A";
    ASSERT_TRUE(Session.Open(Dir.Write("block.mnf", writer::TaggedDocument(doc, false))));
    Out = Dir.Path() + "/block.glb";
  }

  // The meshes by material name, each with the box its positions span.
  std::map<std::string, TBox> Read(tinygltf::Model& model) {
    tinygltf::TinyGLTF reader;
    std::string err, warn;
    EXPECT_TRUE(reader.LoadBinaryFromFile(&model, &err, &warn, Out)) << err;
    std::map<std::string, TBox> meshes;
    for (const tinygltf::Mesh& mesh : model.meshes) {
      EXPECT_EQ(mesh.primitives.size(), 1u);
      const tinygltf::Primitive& p = mesh.primitives.at(0);
      const tinygltf::Accessor& a = model.accessors.at(p.attributes.at("POSITION"));
      const tinygltf::BufferView& v = model.bufferViews.at(a.bufferView);
      const auto* xyz = reinterpret_cast<const float*>(model.buffers.at(v.buffer).data.data() + v.byteOffset + a.byteOffset);
      TBox box{{INFINITY, INFINITY, INFINITY}, {-INFINITY, -INFINITY, -INFINITY}};
      for (size_t i = 0; i < a.count * 3; ++i) {
        box.Min[i % 3] = std::min(box.Min[i % 3], static_cast<double>(xyz[i]));
        box.Max[i % 3] = std::max(box.Max[i % 3], static_cast<double>(xyz[i]));
      }
      for (int k = 0; k < 3; ++k) {  // the bounds the file states are the ones of its data
        EXPECT_FLOAT_EQ(a.minValues.at(k), box.Min[k]);
        EXPECT_FLOAT_EQ(a.maxValues.at(k), box.Max[k]);
      }
      meshes[model.materials.at(p.material).name] = box;
    }
    return meshes;
  }

  test::TTempDir Dir;
  TViewerSession Session;
  std::string Out;
};

void ExpectBox(const TBox& box, std::array<double, 3> min, std::array<double, 3> max, const char* what) {
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(box.Min[k], min[k], 1e-3) << what << " axis " << k;
    EXPECT_NEAR(box.Max[k], max[k], 1e-3) << what << " axis " << k;
  }
}

TEST_F(GltfExport, ReadsBackWithOneMeshPerMaterialInDocumentUnits) {
  std::string error;
  ASSERT_TRUE(ExportGltf(Session, Out, error)) << error;
  tinygltf::Model model;
  const auto meshes = Read(model);
  // The block (grey, see-through), the bore (red), the face numbers (yellow) and the hole's number
  // (cyan).
  ASSERT_EQ(model.materials.size(), 4u);
  ASSERT_EQ(meshes.size(), 4u);
  std::map<std::string, const tinygltf::Material*> byName;
  for (const auto& m : model.materials) byName[m.name] = &m;
  ASSERT_TRUE(byName.count("#CCCCCC alpha 40%"));
  const tinygltf::Material& block = *byName["#CCCCCC alpha 40%"];
  EXPECT_EQ(block.alphaMode, "BLEND");
  EXPECT_DOUBLE_EQ(block.pbrMetallicRoughness.baseColorFactor[3], 0.4f);
  EXPECT_NEAR(block.pbrMetallicRoughness.baseColorFactor[0], 0.6038, 1e-3);  // 0.8 on screen, linear
  ASSERT_TRUE(byName.count("#FF0000"));
  EXPECT_EQ(byName["#FF0000"]->alphaMode, "OPAQUE");
  EXPECT_EQ(byName["#FF0000"]->pbrMetallicRoughness.baseColorFactor, (std::vector<double>{1, 0, 0, 1}));
  ASSERT_TRUE(byName.count("#FFFF00"));
  ASSERT_TRUE(byName.count("#00FFFF"));

  // The block about its centre; scene axes run against the document's, so the hole at x 30, y 20
  // from the corner sits at 50 - 30 and 30 - 20, from face 1 (z 20) 25 deep.
  ExpectBox(meshes.at("#CCCCCC alpha 40%"), {-50, -30, -20}, {50, 30, 20}, "block");
  ExpectBox(meshes.at("#FF0000"), {15, 5, -5}, {25, 15, 20}, "bore");
  // The face numbers lie in the faces: a glyph's outline may reach a few hundredths over an edge.
  const double half[3] = {50, 30, 20};
  const TBox& texts = meshes.at("#FFFF00");
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(texts.Min[k], -half[k], 0.05) << k;
    EXPECT_NEAR(texts.Max[k], half[k], 0.05) << k;
  }
  // The number on face 1 (z 20) beside the bore.
  const TBox& number = meshes.at("#00FFFF");
  EXPECT_NEAR(number.Min[2], 20, 1e-4);
  EXPECT_NEAR(number.Max[2], 20, 1e-4);
  EXPECT_GT(number.Min[0], 15);
  EXPECT_LT(number.Max[1], 15);
}

// Runs `assimp info` on the file; empty when the tool is missing.
std::string AssimpInfo(const std::string& path) {
  FILE* p = popen(("assimp info '" + path + "' 2>/dev/null").c_str(), "r");
  std::string out;
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  const int status = pclose(p);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? out : std::string();
}

// The number after `label` on its line of the report; -1 when missing.
double Field(const std::string& report, const std::string& label, int index = 0) {
  const size_t at = report.find(label);
  if (at == std::string::npos) return -1;
  std::string line = report.substr(at + label.size(), report.find('\n', at) - at - label.size());
  for (char& c : line)
    if (c == '(' || c == ')' || c == ',') c = ' ';
  double v = -1;
  const char* s = line.c_str();
  for (int i = 0; i <= index; ++i) {
    char* end = nullptr;
    v = std::strtod(s, &end);
    if (end == s) return -1;
    s = end;
  }
  return v;
}

TEST_F(GltfExport, AnIndependentReaderSeesTheSameMeshesMaterialsAndSize) {
  std::string error;
  ASSERT_TRUE(ExportGltf(Session, Out, error)) << error;
  if (std::system("command -v assimp >/dev/null 2>&1") != 0) GTEST_SKIP() << "assimp is not installed";
  const std::string info = AssimpInfo(Out);
  ASSERT_FALSE(info.empty()) << "assimp could not read the file";
  EXPECT_EQ(Field(info, "Meshes:"), 4) << info;
  EXPECT_EQ(Field(info, "Materials:"), 4) << info;
  EXPECT_NE(info.find("Primitive Types:    triangles\n"), std::string::npos) << info;
  // The block's box, give or take a face number's glyph over an edge.
  const double half[3] = {50, 30, 20};
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(Field(info, "Minimum point", k), -half[k], 0.05) << info;
    EXPECT_NEAR(Field(info, "Maximum point", k), half[k], 0.05) << info;
  }
  EXPECT_NE(info.find("#CCCCCC alpha 40%"), std::string::npos) << info;
}

TEST_F(GltfExport, ADamagedHoleIsLeftOutAndTheRestWritten) {
  TManifold doc;
  doc.SizeX = 100;
  doc.SizeY = 60;
  doc.SizeZ = 40;
  THole& h = doc.Holes.Add();
  h.Face = 1;
  h.X = std::nan("");
  h.Steps.Add().Diameter = 1e300;
  ASSERT_TRUE(Session.Open(Dir.Write("damaged.mnf", writer::TaggedDocument(doc, false))));
  std::string error;
  ASSERT_TRUE(ExportGltf(Session, Out, error)) << error;
  tinygltf::Model model;
  const auto meshes = Read(model);
  ASSERT_TRUE(meshes.count("#CCCCCC alpha 40%"));
  ExpectBox(meshes.at("#CCCCCC alpha 40%"), {-50, -30, -20}, {50, 30, 20}, "block");
  for (const tinygltf::Accessor& a : model.accessors)
    for (double v : a.minValues) EXPECT_TRUE(std::isfinite(v));
}

TEST_F(GltfExport, RefusesWithoutADocumentOrAWritableFile) {
  std::string error;
  EXPECT_FALSE(ExportGltf(Session, Dir.Path() + "/missing/block.glb", error));
  EXPECT_NE(error.find("Cannot write"), std::string::npos) << error;
  Session.Close();
  error.clear();
  EXPECT_FALSE(ExportGltf(Session, Out, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace qv
