// Turning, moving and zooming through pointer and wheel events as the view receives them. The
// expected numbers are worked out by hand for the camera of a view reset, at (10, 10, 5) looking at
// the origin: the screen's right axis is r = (-1, 1, 0) / sqrt 2 and its up axis
// u = r x f = (-1, -1, 4) / (3 sqrt 2), f being (-2, -2, -1) / 3.
#include <QCheckBox>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "tests/app/WindowFixture.h"

namespace qv {
namespace {

using test::Drag;
using test::SendMouse;
using test::SendWheel;

constexpr double Sqrt2 = 1.4142135623730951;
const TVector3f Right{static_cast<float>(-1 / Sqrt2), static_cast<float>(1 / Sqrt2), 0};
const TVector3f Up{static_cast<float>(-1 / (3 * Sqrt2)), static_cast<float>(-1 / (3 * Sqrt2)),
                   static_cast<float>(4 / (3 * Sqrt2))};

class NavigationTest : public test::WindowTest {
protected:
  void SetUp() override {
    WindowTest::SetUp();
    Form->resize(800, 800);
    View = Form->SceneView();
    Form->Session().ResetView();  // the empty document: 300 long, camera at (10, 10, 5)
  }

  double Distance() const { return CameraTargetDistance(Form->Session().View().Camera); }

  // The model root's turn as a rotation: its axis times 2 sin(angle), and the angle from the trace.
  TVector3f AxisTimesTwoSine() const {
    const TGLBaseSceneObject& m = Form->Session().ModelRoot();
    const TVector3f x = m.LocalX(), y = m.Up(), z = m.Direction();
    return {y.Z - z.Y, z.X - x.Z, x.Y - y.X};
  }
  double AngleDegrees() const {
    const TGLBaseSceneObject& m = Form->Session().ModelRoot();
    return std::acos(std::clamp((m.LocalX().X + m.Up().Y + m.Direction().Z - 1.0) / 2.0, -1.0, 1.0)) * 180 / M_PI;
  }
  void ExpectTurn(const TVector3f& axis, double degrees) const {
    const double s = 2 * std::sin(degrees * M_PI / 180);
    const TVector3f a = AxisTimesTwoSine();
    EXPECT_NEAR(a.X, axis.X * s, 1e-5);
    EXPECT_NEAR(a.Y, axis.Y * s, 1e-5);
    EXPECT_NEAR(a.Z, axis.Z * s, 1e-5);
    EXPECT_NEAR(AngleDegrees(), std::fabs(degrees), 1e-3);
  }
  void ExpectUnturned() const { EXPECT_NEAR(AngleDegrees(), 0, 1e-3); }
  void ExpectAt(const TVector3f& p, const TVector3f& expected) const {
    EXPECT_NEAR(p.X, expected.X, 1e-5);
    EXPECT_NEAR(p.Y, expected.Y, 1e-5);
    EXPECT_NEAR(p.Z, expected.Z, 1e-5);
  }

  TSceneView* View = nullptr;
};

TEST_F(NavigationTest, AViewResetPutsTheCameraFiveBlockLengthsOut) {
  EXPECT_DOUBLE_EQ(Form->Session().ScaleFactor(), 5.0 / 300);
  ExpectAt(Form->Session().View().Camera.Position, {10, 10, 5});
  EXPECT_NEAR(Distance(), 15, 1e-5);
}

TEST_F(NavigationTest, FreeLeftDragTurnsTheNearSideWithThePointer) {
  // Ten pixels to the right: ten degrees about the screen's up axis, the near side moving right.
  Drag(View, Qt::LeftButton, {100, 100}, {110, 100});
  ExpectTurn(Up, 10);
  ExpectAt(Form->Session().ModelRoot().Position(), {0, 0, 0});
  // The near corner of the block's top, towards the camera, went right.
  const TVector3f near = Form->Session().ModelRoot().LocalMatrix().TransformPoint({1, 1, 0});
  EXPECT_GT(near.X * Right.X + near.Y * Right.Y, 0.1);
}

TEST_F(NavigationTest, FreeLeftDragDownTipsTheTopTowardsTheViewer) {
  Drag(View, Qt::LeftButton, {100, 100}, {100, 110});
  ExpectTurn(Right, 10);
}

TEST_F(NavigationTest, ShiftDragMovesTheModelAlongTheGround) {
  // 10 pixels worth 15 x 0.12 / 200 = 0.009 units each, along the screen's right on the ground.
  Drag(View, Qt::LeftButton, {100, 100}, {110, 100}, Qt::ShiftModifier);
  ExpectAt(Form->Session().ModelRoot().Position(), {0.09f * Right.X, 0.09f * Right.Y, 0});
  ExpectUnturned();
  // Up the screen moves away from the camera: along (-1, -1, 0) / sqrt 2.
  Drag(View, Qt::RightButton, {110, 100}, {110, 90}, Qt::ShiftModifier);
  ExpectAt(Form->Session().ModelRoot().Position(),
           {0.09f * Right.X - 0.09f / static_cast<float>(Sqrt2), 0.09f * Right.Y - 0.09f / static_cast<float>(Sqrt2), 0});
  EXPECT_NEAR(Distance(), 15, 1e-5);
}

TEST_F(NavigationTest, RightDragZoomsByTheRatioOfHeights) {
  Drag(View, Qt::RightButton, {50, 200}, {50, 220});
  EXPECT_NEAR(Distance(), 16.5, 1e-4);
  ExpectUnturned();
}

TEST_F(NavigationTest, ZoomModeHalvesTheDistanceForAPointerHalfAsHigh) {
  test::Named<QAction>(Form, "ViewZoomAction")->trigger();
  Drag(View, Qt::LeftButton, {50, 100}, {50, 50});
  EXPECT_NEAR(Distance(), 7.5, 1e-4);
  // The camera keeps looking along the same line.
  ExpectAt(Form->Session().View().Camera.Position, {5, 5, 2.5});
}

TEST_F(NavigationTest, ZoomStepsThatWouldPassTheTargetAreSkipped) {
  test::Named<QAction>(Form, "ViewZoomAction")->trigger();
  // Dragged above the view: Y of 0 and below give ratios of 0 and less.
  Drag(View, Qt::LeftButton, {50, 100}, {50, 0});
  Drag(View, Qt::LeftButton, {50, 100}, {50, -30});
  EXPECT_NEAR(Distance(), 15, 1e-5);
  // A step from Y = 0 has no ratio at all.
  Drag(View, Qt::LeftButton, {50, 0}, {50, 40});
  EXPECT_NEAR(Distance(), 15, 1e-5);
  // The drag goes on from wherever the pointer was last seen.
  SendMouse(View, QEvent::MouseButtonPress, {50, 100}, Qt::LeftButton, Qt::LeftButton);
  SendMouse(View, QEvent::MouseMove, {50, -30}, Qt::NoButton, Qt::LeftButton);
  SendMouse(View, QEvent::MouseMove, {50, 60}, Qt::NoButton, Qt::LeftButton);
  EXPECT_NEAR(Distance(), 15, 1e-5);
  SendMouse(View, QEvent::MouseMove, {50, 120}, Qt::NoButton, Qt::LeftButton);
  EXPECT_NEAR(Distance(), 30, 1e-4);
}

TEST_F(NavigationTest, RotateAndPanModesActOnTheLeftButtonAlone) {
  test::Named<QAction>(Form, "ViewRotateAction")->trigger();
  Drag(View, Qt::LeftButton, {100, 100}, {105, 100}, Qt::ShiftModifier);  // Shift does not pan here
  ExpectTurn(Up, 5);
  Drag(View, Qt::RightButton, {100, 100}, {100, 200});  // nor does the right button zoom
  EXPECT_NEAR(Distance(), 15, 1e-5);
  ExpectTurn(Up, 5);

  test::Named<QAction>(Form, "ViewPanAction")->trigger();
  Drag(View, Qt::LeftButton, {100, 100}, {110, 100});
  ExpectAt(Form->Session().ModelRoot().Position(), {0.09f * Right.X, 0.09f * Right.Y, 0});
  ExpectTurn(Up, 5);
}

TEST_F(NavigationTest, MovesWithoutButtonsOnlyFollowThePointer) {
  TNavigator& nav = Form->Session().Navigator();
  SendMouse(View, QEvent::MouseMove, {30, 40}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(nav.LastMouseX, 30);
  EXPECT_EQ(nav.LastMouseY, 40);
  EXPECT_EQ(nav.DeltaX, 0);
  EXPECT_EQ(nav.DeltaY, 0);
  // With Ctrl held the step is taken (it sets the orbit's speed) but nothing moves.
  SendMouse(View, QEvent::MouseMove, {33, 38}, Qt::NoButton, Qt::NoButton, Qt::ControlModifier);
  EXPECT_EQ(nav.DeltaX, -3);
  EXPECT_EQ(nav.DeltaY, 2);
  // The middle button alone does the same.
  SendMouse(View, QEvent::MouseButtonPress, {33, 38}, Qt::MiddleButton, Qt::MiddleButton);
  SendMouse(View, QEvent::MouseMove, {40, 38}, Qt::NoButton, Qt::MiddleButton);
  EXPECT_EQ(nav.DeltaX, -7);
  ExpectUnturned();
  EXPECT_NEAR(Distance(), 15, 1e-5);
}

TEST_F(NavigationTest, EachWheelNotchAwayMovesTheCameraOneTenthFarther) {
  SendWheel(View, 120);
  SendWheel(View, 120);
  EXPECT_NEAR(Distance(), 15 * 1.21, 1e-4);
  SendWheel(View, -240);
  EXPECT_NEAR(Distance(), 15, 1e-4);
  // Turned over a part of the window that does not scroll, the wheel zooms too.
  if (!ShowForm()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  SendWheel(Form->statusBar(), -120);
  EXPECT_NEAR(Distance(), 15 / 1.1, 1e-4);
  // The camera never reaches its target, however far the wheel turns.
  for (int i = 0; i < 400; ++i) SendWheel(View, -120);
  EXPECT_GE(Distance(), MinCameraDistance * 0.999);
  for (int i = 0; i < 40; ++i) SendWheel(View, 120);
  EXPECT_GT(Distance(), MinCameraDistance * 10);
}

TEST_F(NavigationTest, TheOrbitRepeatsTheLastStepEveryTick) {
  SendMouse(View, QEvent::MouseMove, {100, 100}, Qt::NoButton, Qt::NoButton);
  SendMouse(View, QEvent::MouseMove, {103, 100}, Qt::NoButton, Qt::NoButton, Qt::ControlModifier);
  test::Named<QCheckBox>(Form, "OrbitCheckBox")->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return AngleDegrees() > 5; }, 2000));
  test::Named<QCheckBox>(Form, "OrbitCheckBox")->click();
  // Whole steps of three degrees about the screen's up axis.
  const double angle = AngleDegrees();
  EXPECT_NEAR(angle / 3, std::round(angle / 3), 1e-3);
  ExpectTurn(Up, angle);
}

TEST_F(NavigationTest, OpeningAgainBringsTheModelBackButKeepsItsTurn) {
  Drag(View, Qt::LeftButton, {100, 100}, {110, 100});
  Drag(View, Qt::LeftButton, {100, 100}, {110, 100}, Qt::ShiftModifier);
  SendWheel(View, 240);
  Form->OpenDocument(WriteDocument("r.mnf", [](TManifold& d) { d.SizeX = 40; }));
  ASSERT_TRUE(Form->Session().DocumentLoaded());
  EXPECT_DOUBLE_EQ(Form->Session().ScaleFactor(), 5.0 / 40);
  ExpectAt(Form->Session().ModelRoot().Position(), {0, 0, 0});
  ExpectAt(Form->Session().View().Camera.Position, {10, 10, 5});
  ExpectTurn(Up, 10);
}

TEST_F(NavigationTest, ABlockWithoutALengthInXStillGetsAFiniteScale) {
  TGLDummyCube root;
  TGLCameraState camera;
  // The longest usable extent stands in for X.
  EXPECT_DOUBLE_EQ(ResetView(root, camera, 0, 80, 120), 5.0 / 120);
  ExpectAt(camera.Position, {10, 10, 5});
  EXPECT_DOUBLE_EQ(ResetView(root, camera, -5, 80, std::nan("")), 5.0 / 80);
  EXPECT_DOUBLE_EQ(ResetView(root, camera, 1e-320, 0, 0), 5.0 / 100);
  EXPECT_DOUBLE_EQ(ResetView(root, camera, HUGE_VAL, -1, 0), 5.0 / 100);
  ExpectAt(camera.Position, {10, 10, 5});
}

}  // namespace
}  // namespace qv
