// Gathering opaque objects into large draws: what goes into which draw, in which order, and where
// the copied triangles land. No rendering context needed.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "scene/gl/GLBatches.h"

namespace qv {
namespace {

// One triangle in the local XY plane with its own normals.
struct TTriangle {
  float Data[3 * 6] = {0, 0, 0, 0, 0, 1,  //
                       1, 0, 0, 0, 0, 1,  //
                       0, 1, 0, 0, 0, 1};
  TGLMeshView Mesh() const {
    TGLMeshView m;
    m.Points = Data;
    m.Normals = Data + 3;
    m.PointStride = 6;
    m.PointCount = 3;
    return m;
  }
};

TMatrix4 Translation(double x, double y, double z) {
  TMatrix4 m;
  m(0, 3) = x;
  m(1, 3) = y;
  m(2, 3) = z;
  return m;
}

TGLFaceProperties Colour(uint32_t value) {
  TGLFaceProperties p;
  p.SetDiffuseColor(value);
  return p;
}

// The x coordinates of the first corner of each triangle a draw holds, in drawing order.
std::vector<float> FirstCornersX(const TGLBatchBuilder& b, const TGLBatchDraw& d) {
  std::vector<float> xs;
  for (int i = 0; i < d.IndexCount; i += 3) {
    const size_t v = static_cast<size_t>(d.BaseVertex) + b.Indices()[d.IndexOffset + static_cast<size_t>(i)];
    xs.push_back(b.Vertices()[v * 6]);
  }
  return xs;
}

TEST(Batches, ObjectsOfOneMaterialShareADrawInListOrderAndRunsStaySeparate) {
  TTriangle t;
  TGLBatchBuilder b;
  b.Clear();
  b.BeginRun();
  // Red at x 10, green at 20, red at 30, a red text (flat) at 40.
  b.Add(t.Mesh(), Translation(10, 0, 0), Colour(0x0000FF), false);
  b.Add(t.Mesh(), Translation(20, 0, 0), Colour(0x00FF00), false);
  b.Add(t.Mesh(), Translation(30, 0, 0), Colour(0x0000FF), false);
  b.Add(t.Mesh(), Translation(40, 0, 0), Colour(0x0000FF), true);
  // A blended object came between: red at 50 is a run of its own.
  b.BeginRun();
  b.Add(t.Mesh(), Translation(50, 0, 0), Colour(0x0000FF), false);
  ASSERT_TRUE(b.Finish());

  ASSERT_EQ(b.Runs(), 2);
  EXPECT_EQ(b.RunDraws(), (std::vector<int>{0, 3, 4}));
  const auto& d = b.Draws();
  ASSERT_EQ(d.size(), 4u);
  EXPECT_EQ(FirstCornersX(b, d[0]), (std::vector<float>{10, 30}));
  EXPECT_EQ(d[0].Front.Diffuse, (TColorVector{1, 0, 0, 1}));
  EXPECT_FALSE(d[0].Flat);
  EXPECT_EQ(FirstCornersX(b, d[1]), (std::vector<float>{20}));
  EXPECT_EQ(d[1].Front.Diffuse, (TColorVector{0, 1, 0, 1}));
  EXPECT_EQ(FirstCornersX(b, d[2]), (std::vector<float>{40}));
  EXPECT_TRUE(d[2].Flat);
  EXPECT_EQ(FirstCornersX(b, d[3]), (std::vector<float>{50}));

  // A run with nothing to gather still counts, so that runs and draws stay in step.
  b.Clear();
  b.BeginRun();
  b.BeginRun();
  b.Add(t.Mesh(), Translation(1, 0, 0), Colour(0x0000FF), false);
  ASSERT_TRUE(b.Finish());
  EXPECT_EQ(b.RunDraws(), (std::vector<int>{0, 0, 1}));
}

TEST(Batches, PointsArePlacedAndNormalsTurnWithTheInverseTranspose) {
  TTriangle t;
  // Stretched twice along x, then turned 90 degrees about z (x -> y, y -> -x), moved to (1, 2, 3).
  TMatrix4 m;
  m(0, 0) = 0;
  m(0, 1) = -1;
  m(1, 0) = 2;
  m(1, 1) = 0;
  m(0, 3) = 1;
  m(1, 3) = 2;
  m(2, 3) = 3;
  float slanted[3 * 6] = {0, 0, 0, 1, 1, 0,  //
                          1, 0, 0, 1, 1, 0,  //
                          0, 1, 0, 1, 1, 0};
  TGLMeshView mesh = t.Mesh();
  mesh.Points = slanted;
  mesh.Normals = slanted + 3;
  TGLBatchBuilder b;
  b.Clear();
  b.Add(mesh, m, Colour(0x0000FF), false);
  ASSERT_TRUE(b.Finish());
  const std::vector<float>& v = b.Vertices();
  ASSERT_EQ(v.size(), 18u);
  // (1, 0, 0) -> (1, 2 + 2, 3); (0, 1, 0) -> (1 - 1, 2, 3).
  EXPECT_FLOAT_EQ(v[6 + 0], 1);
  EXPECT_FLOAT_EQ(v[6 + 1], 4);
  EXPECT_FLOAT_EQ(v[6 + 2], 3);
  EXPECT_FLOAT_EQ(v[12 + 0], 0);
  EXPECT_FLOAT_EQ(v[12 + 1], 2);
  // The normal (1, 1, 0) of a surface stretched along x leans towards y: before the turn it is
  // (1/2, 1, 0), after it (-1, 1/2, 0). Only the direction counts.
  const double nx = v[3], ny = v[4], nz = v[5];
  EXPECT_NEAR(ny / nx, -0.5, 1e-6);
  EXPECT_LT(nx, 0.0);
  EXPECT_EQ(nz, 0.0);
}

TEST(Batches, FlatMeshesTakeTheirConstantNormalAndIndicesMayBeShortOrLong) {
  const float points[4 * 2] = {0, 0, 1, 0, 1, 1, 0, 1};
  const uint32_t quad[6] = {0, 1, 2, 0, 2, 3};
  TGLMeshView text;
  text.Points = points;
  text.PointComponents = text.PointStride = 2;
  text.PointCount = 4;
  text.Indices32 = quad;
  text.IndexCount = 6;
  TMatrix4 turn;  // local z -> world -y: (x, y, z) -> (x, z, -y)
  turn(1, 1) = 0;
  turn(1, 2) = 1;
  turn(2, 1) = -1;
  turn(2, 2) = 0;
  TGLBatchBuilder b;
  b.Clear();
  b.Add(text, turn, Colour(0xFFFF00), true);
  ASSERT_TRUE(b.Finish());
  ASSERT_EQ(b.Draws().size(), 1u);
  EXPECT_EQ(b.Draws()[0].IndexCount, 6);
  const std::vector<float>& v = b.Vertices();
  ASSERT_EQ(v.size(), 24u);
  // The third point (1, 1) lies at (1, 0, -1); every normal is the turned +z.
  EXPECT_FLOAT_EQ(v[12 + 0], 1);
  EXPECT_FLOAT_EQ(v[12 + 1], 0);
  EXPECT_FLOAT_EQ(v[12 + 2], -1);
  for (int k = 0; k < 4; ++k) {
    EXPECT_FLOAT_EQ(v[static_cast<size_t>(k) * 6 + 3], 0);
    EXPECT_FLOAT_EQ(v[static_cast<size_t>(k) * 6 + 4], 1);
    EXPECT_FLOAT_EQ(v[static_cast<size_t>(k) * 6 + 5], 0);
  }
}

TEST(Batches, DamagedIndicesLoseTheirTriangleOnly) {
  TTriangle t;
  const uint16_t indices[8] = {0, 1, 2, 0, 7, 1, 2, 1};  // a triangle naming point 7, then a stray pair
  TGLMeshView mesh = t.Mesh();
  mesh.Indices16 = indices;
  mesh.IndexCount = 8;
  TGLBatchBuilder b;
  b.Clear();
  b.Add(t.Mesh(), Translation(0, 0, 0), Colour(0x0000FF), false);  // three points before it
  b.Add(mesh, Translation(0, 0, 0), Colour(0x0000FF), false);
  ASSERT_TRUE(b.Finish());
  ASSERT_EQ(b.Draws().size(), 1u);
  EXPECT_EQ(b.Draws()[0].IndexCount, 6);
  // The second object's triangle names its own points, which follow the first object's.
  EXPECT_EQ(b.Indices()[3], 3);
  EXPECT_EQ(b.Indices()[5], 5);
}

TEST(Batches, ADrawNamesAtMost65535VerticesAndTooManyInAllGivesUp) {
  // 30 000 points a mesh: the third of one material starts a second draw.
  std::vector<float> data(30000 * 6, 0.0f);
  std::vector<uint16_t> indices(30000 / 3 * 3);
  for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint16_t>(i);
  TGLMeshView mesh;
  mesh.Points = data.data();
  mesh.Normals = data.data() + 3;
  mesh.PointStride = 6;
  mesh.PointCount = 30000;
  mesh.Indices16 = indices.data();
  mesh.IndexCount = static_cast<int>(indices.size());
  TGLBatchBuilder b;
  b.Clear();
  for (int i = 0; i < 3; ++i) b.Add(mesh, Translation(0, 0, 0), Colour(0x0000FF), false);
  ASSERT_TRUE(b.Finish());
  ASSERT_EQ(b.Draws().size(), 2u);
  EXPECT_EQ(b.Draws()[0].BaseVertex, 0);
  EXPECT_EQ(b.Draws()[0].IndexCount, 60000);
  EXPECT_EQ(b.Draws()[1].BaseVertex, 60000);
  EXPECT_EQ(b.Indices()[b.Draws()[1].IndexOffset], 0);

  TGLBatchBuilder small(50000);
  small.Clear();
  for (int i = 0; i < 2; ++i) small.Add(mesh, Translation(0, 0, 0), Colour(0x0000FF), false);
  EXPECT_FALSE(small.Finish());
}

}  // namespace
}  // namespace qv
