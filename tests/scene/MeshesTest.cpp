// The CPU meshes of boxes and surfaces of revolution: closed, facing outwards, of the volume their
// sizes give.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <tuple>

#include "scene/gl/GLMeshes.h"

namespace qv {
namespace {

using TKey = std::tuple<float, float, float>;
TKey Key(const TVector3f& p) { return {p.X, p.Y, p.Z}; }

// The volume enclosed (divergence theorem); fails the test when an edge is not met exactly once
// the other way round or a triangle turns against its normals.
double ClosedVolume(const TGLMesh& m) {
  std::map<std::pair<TKey, TKey>, int> edges;
  double volume = 0.0;
  for (size_t t = 0; t < m.Indices.size(); t += 3) {
    const TVector3f& a = m.Positions[m.Indices[t]];
    const TVector3f& b = m.Positions[m.Indices[t + 1]];
    const TVector3f& c = m.Positions[m.Indices[t + 2]];
    const TVector3f n = VectorCross({b.X - a.X, b.Y - a.Y, b.Z - a.Z}, {c.X - a.X, c.Y - a.Y, c.Z - a.Z});
    for (int k = 0; k < 3; ++k) {
      const TVector3f& vn = m.Normals[m.Indices[t + k]];
      EXPECT_GT(n.X * vn.X + n.Y * vn.Y + n.Z * vn.Z, 0.0f) << "triangle " << t / 3;
    }
    ++edges[{Key(a), Key(b)}];
    ++edges[{Key(b), Key(c)}];
    ++edges[{Key(c), Key(a)}];
    volume += (a.X * (b.Y * c.Z - b.Z * c.Y) - a.Y * (b.X * c.Z - b.Z * c.X) + a.Z * (b.X * c.Y - b.Y * c.X)) / 6.0;
  }
  for (const auto& [edge, count] : edges) {
    const auto back = edges.find({edge.second, edge.first});
    EXPECT_TRUE(back != edges.end() && back->second == count) << "an open or doubled edge";
  }
  return volume;
}

// The area of a regular polygon of `n` corners on a circle of radius r.
double Polygon(double r, int n) { return n / 2.0 * r * r * std::sin(2 * std::numbers::pi / n); }
double Frustum(double r0, double r1, double h, int n) {
  const double a = Polygon(r0, n), b = Polygon(r1, n);
  return h / 3 * (a + b + std::sqrt(a * b));
}

TEST(Meshes, BoxIsClosedWithItsVolume) {
  TGLMesh m;
  AppendBoxMesh(2, 3, 4, m);
  EXPECT_EQ(m.Indices.size(), 36u);
  EXPECT_NEAR(ClosedVolume(m), 24.0, 1e-5);
}

struct TRevolutionCase {
  const char* Name;
  TGLRevolution Shape;
  double Volume;
};

class RevolutionMeshes : public ::testing::TestWithParam<TRevolutionCase> {};

TEST_P(RevolutionMeshes, AreClosedFaceOutwardsAndHoldTheirVolume) {
  const TRevolutionCase& c = GetParam();
  TGLMesh m;
  AppendRevolutionMesh(c.Shape, m);
  ASSERT_FALSE(m.Empty());
  EXPECT_NEAR(ClosedVolume(m), c.Volume, 1e-4 * c.Volume) << c.Name;
  for (const TVector3f& p : m.Positions) EXPECT_LE(std::abs(p.Y), c.Shape.Height / 2) << c.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, RevolutionMeshes,
    ::testing::Values(TRevolutionCase{"cylinder", {false, 1, 1, 0, 0, 2, 16, 3, 2}, Frustum(1, 1, 2, 16)},
                      TRevolutionCase{"pointed cone", {false, 1, 0, 0, 0, 3, 12, 1, 1}, Frustum(1, 0, 3, 12)},
                      TRevolutionCase{"frustum", {false, 0.5f, 1.5f, 0, 0, 1, 24, 4, 1}, Frustum(0.5, 1.5, 1, 24)},
                      TRevolutionCase{"tube", {true, 1, 1, 0.6f, 0.6f, 2, 16, 2, 3},
                                      Frustum(1, 1, 2, 16) - Frustum(0.6, 0.6, 2, 16)},
                      TRevolutionCase{"tapered tube", {true, 1, 0.8f, 0.5f, 0.2f, 1, 32, 1, 1},
                                      Frustum(1, 0.8, 1, 32) - Frustum(0.5, 0.2, 1, 32)}),
    [](const auto& param) { return std::to_string(param.index); });

TEST(Meshes, FlatRingsAreBackToBackAndBadSizesGiveNothing) {
  TGLMesh ring;
  AppendRevolutionMesh({true, 1, 1, 0.5f, 0.5f, 0, 8, 4, 1}, ring);
  EXPECT_EQ(ring.Indices.size(), 2u * 8 * 2 * 3);  // two rings of 8 quads
  EXPECT_NEAR(ClosedVolume(ring), 0.0, 1e-6);
  for (TGLRevolution bad : {TGLRevolution{false, -1, 1, 0, 0, 1}, TGLRevolution{false, NAN, 1, 0, 0, 1},
                            TGLRevolution{false, 0, 0, 0, 0, 1}, TGLRevolution{false, 1, 1, 0, 0, INFINITY}}) {
    TGLMesh m;
    AppendRevolutionMesh(bad, m);
    EXPECT_TRUE(m.Positions.empty());
  }
  TGLMesh huge;  // divisions are capped as the renderer caps them
  AppendRevolutionMesh({false, 1, 1, 0, 0, 1, 1 << 20, 1, 1}, huge);
  EXPECT_EQ(huge.Indices.size(), 4u * MaxQuadricDivisions * 3);
}

}  // namespace
}  // namespace qv
