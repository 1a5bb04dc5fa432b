// The session's picking, selection and standard views on a block with a hole in every face.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/Manifolds.h"
#include "scene/gl/GLRayCast.h"
#include "tests/TestFiles.h"
#include "tools/writer/Documents.h"
#include "viewer/ViewerSession.h"

namespace qv {
namespace {

TXYZPoint From(const TVector3f& v) { return {v.X, v.Y, v.Z}; }

// 100 x 60 x 40 (scale 0.05), hole f + 1 (numbered 11 to 16) in the middle of face f, diameter 10,
// 15 deep: opposite holes stop short of each other.
class PickingTest : public ::testing::Test {
protected:
  PickingTest() {
    TManifold doc;
    doc.SizeX = 100;
    doc.SizeY = 60;
    doc.SizeZ = 40;
    for (int face = 1; face <= 6; ++face) {
      THole& h = doc.Holes.Add();
      h.Number = 10 + face;
      h.Face = face;
      h.X = face == 3 || face == 4 ? 30 : 50;
      h.Y = face == 1 || face == 6 ? 30 : 20;
      TStep& s = h.Steps.Add();
      s.Diameter = 10;
      s.Depth = 15;
      s.PointAngle = 120;
    }
    EXPECT_TRUE(Session.Open(Dir.Write("six.mnf", writer::TaggedDocument(doc, false))));
    Session.SetViewSize(548, 710);
    Session.SelectionChanged = [this] { ++SelectionChanges; };
  }

  // The largest offset of a block corner from the view's centre, in pixels, across and up.
  std::pair<double, double> BlockExtentOnScreen() {
    const TGLViewAxes axes = ViewAxes(Session.View().Camera);
    const TMatrix4 frame = Session.ModelRoot().LocalMatrix();
    const TXYZPoint eye = From(Session.View().Camera.Position);
    double across = 0, up = 0;
    for (int c = 0; c < 8; ++c) {
      const TVector3f local{c & 1 ? 2.5f : -2.5f, c & 2 ? 1.5f : -1.5f, c & 4 ? 1.0f : -1.0f};
      const TXYZPoint w = From(frame.TransformPoint(local)) - eye;
      const double depth = -Dot(w, axes.Back);
      across = std::max(across, std::abs(Dot(w, axes.Right)) / depth * PixelsPerUnit(Session.View().Camera));
      up = std::max(up, std::abs(Dot(w, axes.Up)) / depth * PixelsPerUnit(Session.View().Camera));
    }
    return {across, up};
  }

  bool Glows(int32_t number) const {
    bool any = false;
    const std::function<void(const TGLBaseSceneObject&)> walk = [&](const TGLBaseSceneObject& o) {
      if (o.Tag == number && o.Material() && o.Material()->FrontProperties.Emission.R > 0) any = true;
      for (int i = 0; i < o.Count(); ++i) walk(o.Children(i));
    };
    walk(const_cast<TViewerSession&>(Session).ModelRoot());
    return any;
  }

  test::TTempDir Dir;
  TViewerSession Session;
  int SelectionChanges = 0;
};

TEST_F(PickingTest, LookingAtEachFaceTheHoleCentredInTheViewIsPickedAndNothingBesideTheBlock) {
  for (int face = 1; face <= 6; ++face) {
    SCOPED_TRACE(face);
    Session.LookAtFace(face);
    Session.CentreOnHole(face - 1);
    // A few pixels off the axis, so that the ray meets the bore's wall or point rather than the tip.
    EXPECT_EQ(Session.PickHole(274 + 3, 355 + 2), face - 1);
    // The block seen through off the lines through the middle, where the side holes lie: no hole.
    EXPECT_EQ(Session.PickHole(274 + 40, 355 + 40), -1);
    EXPECT_EQ(Session.PickHole(5, 5), -1);
  }
}

TEST_F(PickingTest, StandardViewsFaceTheBlockAndFrameItWithATenthOfTheViewToSpare) {
  const TXYZPoint back = ViewAxes(Session.View().Camera).Back;
  for (int face = 1; face <= 6; ++face) {
    SCOPED_TRACE(face);
    Session.LookAtFace(face);
    // The face's outward normal turned towards the eye, its drawing x to the screen's right.
    const TXYZPoint n = FaceFrame(face).N, p = FaceFrame(face).P;
    const TMatrix4 frame = Session.ModelRoot().LocalMatrix();
    auto turned = [&](const TXYZPoint& v) {
      return From(frame.TransformPoint({float(v.X), float(v.Y), float(v.Z)})) - From(Session.ModelRoot().Position());
    };
    EXPECT_NEAR(Dot(turned(n), back), 1, 1e-5);
    EXPECT_NEAR(Dot(turned(p), ViewAxes(Session.View().Camera).Right), 1, 1e-5);
    EXPECT_EQ(Session.ModelRoot().Position(), Session.View().Camera.Target);
    // Tight on one side of the view: 0.45 of its width or height.
    const auto [across, up] = BlockExtentOnScreen();
    EXPECT_LE(across, 0.45 * 548 + 0.01);
    EXPECT_LE(up, 0.45 * 710 + 0.01);
    EXPECT_TRUE(std::abs(across - 0.45 * 548) < 0.01 || std::abs(up - 0.45 * 710) < 0.01) << across << " " << up;
  }
  // Isometric: the block's diagonal (1, 1, 1) towards the eye, its Z axis up the screen's side.
  Session.LookIsometric();
  const TMatrix4 frame = Session.ModelRoot().LocalMatrix();
  const TXYZPoint diagonal = From(frame.TransformPoint({1, 1, 1})) - From(Session.ModelRoot().Position());
  EXPECT_NEAR(Dot(diagonal, back) / std::sqrt(3.0), 1, 1e-5);
  const TXYZPoint z = From(frame.TransformPoint({0, 0, 1})) - From(Session.ModelRoot().Position());
  EXPECT_NEAR(Dot(z, ViewAxes(Session.View().Camera).Right), 0, 1e-5);
  EXPECT_GT(Dot(z, ViewAxes(Session.View().Camera).Up), 0.8);
}

TEST_F(PickingTest, ZoomingOutStopsBeforeTheFarPlaneReachesTheBlockAndResetViewRestoresTheStart) {
  Session.Move(200, 0);
  for (int i = 0; i < 200; ++i) Session.Wheel(120);
  const TGLCameraState& camera = Session.View().Camera;
  const TGLFrustum frustum = ViewFrustum(camera, 548, 710);
  const double distance = CameraTargetDistance(camera);
  const double offset = Length(From(Session.ModelRoot().Position()) - From(camera.Target));
  // The farthest corner of the block: half its diagonal beyond the model root.
  EXPECT_LT(distance + offset + 0.5 * std::hypot(5.0, 3.0, 2.0), frustum.Far);
  EXPECT_GT(distance, 50);  // but it did zoom out
  EXPECT_FALSE(Session.Wheel(120));
  EXPECT_TRUE(Session.Wheel(-120));

  Session.Turn(30, 10);
  Session.RestoreStartView();
  EXPECT_EQ(Session.ModelRoot().Direction(), (TVector3f{0, 0, 1}));
  EXPECT_EQ(Session.ModelRoot().Up(), (TVector3f{0, 1, 0}));
  EXPECT_EQ(Session.ModelRoot().Position(), camera.Target);
  EXPECT_EQ(camera.Position, (TVector3f{10, 10, 5}));
}

TEST_F(PickingTest, TheSelectionGlowsSurvivesRebuildsAndIsToldOfEachChange) {
  Session.SelectHole(2);
  EXPECT_EQ(Session.SelectedHole(), 2);
  EXPECT_TRUE(Glows(13));
  EXPECT_FALSE(Glows(12));
  Session.SetOption(TOption::Transparent, true);  // rebuilds
  EXPECT_TRUE(Glows(13));
  Session.SelectHole(2);  // no change, not told
  Session.SelectHole(4);
  EXPECT_FALSE(Glows(13));
  EXPECT_TRUE(Glows(15));
  Session.SelectHole(99);  // no such hole: cleared
  EXPECT_EQ(Session.SelectedHole(), -1);
  EXPECT_FALSE(Glows(15));
  EXPECT_EQ(SelectionChanges, 3);
  Session.SelectHole(1);
  Session.Close();
  EXPECT_EQ(Session.SelectedHole(), -1);
  EXPECT_EQ(SelectionChanges, 5);
}

}  // namespace
}  // namespace qv
