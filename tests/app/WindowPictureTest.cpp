// The window as the user sees it: the demo block drawn in the 3D view, checked pixel by pixel where
// the block must and must not be. The positions are projected by hand from the camera of a view
// reset at (10, 10, 5): forward f = (-2, -2, -1) / 3, right r = (-1, 1, 0) / sqrt 2, up
// u = (-1, -1, 4) / (3 sqrt 2), 1511.8 pixels per unit at unit depth from the view's centre.
#include <QCheckBox>
#include <QCursor>
#include <QImage>
#include <QScreen>
#include <QTest>
#include <cmath>

#include "tests/app/WindowFixture.h"

namespace qv {
namespace {

struct TPixel {
  double X, Y;
};

TPixel Project(double x, double y, double z, int width, int height) {
  const double s2 = std::sqrt(2.0);
  const double d[3] = {x - 10, y - 10, z - 5};
  const double depth = (-2 * d[0] - 2 * d[1] - d[2]) / 3;
  const double right = (-d[0] + d[1]) / s2;
  const double up = (-d[0] - d[1] + 4 * d[2]) / (3 * s2);
  return {width / 2.0 + right / depth * 1511.8, height / 2.0 - up / depth * 1511.8};
}

bool Grey(QRgb c, int low, int high) {
  const int r = qRed(c), g = qGreen(c), b = qBlue(c);
  return std::abs(r - g) <= 8 && std::abs(g - b) <= 8 && r >= low && r <= high;
}

class WindowPictureTest : public test::WindowTest {
protected:
  QImage Frame() {
    const int before = Form->SceneView()->FrameCount();
    Form->SceneView()->Redraw();
    EXPECT_TRUE(QTest::qWaitFor([&] { return Form->SceneView()->FrameCount() > before; }, 5000));
    return Form->SceneView()->GrabFrame().convertToFormat(QImage::Format_RGB32);
  }
};

TEST_F(WindowPictureTest, TheDemoBlockIsDrawnWhereTheCameraSeesIt) {
  if (!HasDisplay()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  Form->SetCommandLineFile(test::SamplePath("demo.mnf"));
  Form->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return Form->Session().DocumentLoaded(); }, 5000));
  ASSERT_TRUE(Form->Session().DocumentLoaded());
  QImage frame = Frame();
  ASSERT_FALSE(frame.isNull());
  const int w = frame.width(), h = frame.height();
  // The demo block is 200 x 150 x 100 mm: 5 x 3.75 x 2.5 scene units about the origin.
  auto at = [&](double x, double y, double z) {
    const TPixel p = Project(x, y, z, w, h);
    return frame.pixel(static_cast<int>(p.X), static_cast<int>(p.Y));
  };
  // The lower part of the face towards +Y, clear of bores and marks: the translucent grey body (alpha
  // 0.4 over the black background, lit).
  const QRgb face = at(0.5, 1.875, -1.15);
  EXPECT_TRUE(Grey(face, 25, 200)) << std::hex << face;
  // Just beyond the block's near bottom corner and above its far top corner: background.
  EXPECT_EQ(at(2.5, 1.875, -1.45) & 0xFFFFFF, 0x000000u);
  EXPECT_EQ(at(-2.5, -1.875, 1.6) & 0xFFFFFF, 0x000000u);

  // Without the body the same pixel shows the background.
  test::Named<QCheckBox>(Form, "ManifoldCheckBox")->click();
  frame = Frame();
  EXPECT_EQ(at(0.5, 1.875, -1.15) & 0xFFFFFF, 0x000000u);
  test::Named<QCheckBox>(Form, "ManifoldCheckBox")->click();

  // A white background shows through the translucent body as a light grey.
  Form->SceneView()->SetBackgroundColor(0xFFFFFF);
  frame = Frame();
  EXPECT_TRUE(Grey(at(0.5, 1.875, -1.15), 120, 250)) << std::hex << at(0.5, 1.875, -1.15);
  EXPECT_EQ(at(2.5, 1.875, -1.45) & 0xFFFFFF, 0xFFFFFFu);
}

// What the display shows where the view lies, read back from the X server.
QImage OnScreen(TMainForm& form) {
  const QPoint origin = form.SceneView()->mapTo(&form, QPoint(0, 0));
  const QSize size = form.SceneView()->size();
  return form.screen()
      ->grabWindow(form.winId(), origin.x(), origin.y(), size.width(), size.height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

TEST_F(WindowPictureTest, TheDisplayShowsTheFramesAndTheHintOverThem) {
  if (!HasDisplay()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  ASSERT_TRUE(ShowForm());
  // No document: a dark blue background and the hint in the middle, the rest of the view bare.
  Form->SceneView()->SetBackgroundColor(0x402010);
  Frame();
  ASSERT_FALSE(Form->SceneView()->Hint().isEmpty());
  // The display shows a frame once it has been handed over: wait for it rather than for a fixed time.
  QImage screen;
  QTest::qWaitFor([&] {
    screen = OnScreen(*Form);
    return !screen.isNull() && (screen.pixel(5, 5) & 0xFFFFFF) == 0x102040u;
  }, 5000);
  ASSERT_FALSE(screen.isNull());
  const int w = screen.width(), h = screen.height();
  EXPECT_EQ(screen.pixel(5, 5) & 0xFFFFFF, 0x102040u);
  EXPECT_EQ(screen.pixel(w - 5, h - 5) & 0xFFFFFF, 0x102040u);
  int text = 0;
  for (int x = 0; x < w; ++x)
    for (int y = h / 2 - 20; y <= h / 2 + 20; ++y) text += (screen.pixel(x, y) & 0xFFFFFF) != 0x102040u;
  EXPECT_GT(text, 50);

  // The demo: the block where the frame has it, and no hint.
  Form->OpenDocument(test::SamplePath("demo.mnf"));
  ASSERT_TRUE(Form->Session().DocumentLoaded());
  const QImage frame = Frame();
  ASSERT_TRUE(QTest::qWaitFor([&] {
    screen = OnScreen(*Form);
    return screen.size() == frame.size() && screen.pixel(w / 2, h / 2) == frame.pixel(w / 2, h / 2);
  }, 5000));
  const TPixel face = Project(0.5, 1.875, -1.15, w, h);
  EXPECT_EQ(screen.pixel(static_cast<int>(face.X), static_cast<int>(face.Y)),
            frame.pixel(static_cast<int>(face.X), static_cast<int>(face.Y)));
  EXPECT_EQ(screen.pixel(5, 5) & 0xFFFFFF, 0x102040u);
}

// Moves the display's own pointer: run alone (another test's window could lie under it).
class RealPointerTest : public WindowPictureTest {};

TEST_F(RealPointerTest, ThePointerOverTheFramesReachesTheView) {
  if (!HasDisplay()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  ASSERT_TRUE(ShowForm());
  Form->activateWindow();
  Frame();
  // The display's own pointer, moved over the frames: the motion must reach the view widget
  // beneath them, not stop at the window they are drawn into.
  TNavigator& navigator = Form->Session().Navigator();
  for (const QPoint p : {QPoint(120, 90), QPoint(200, 260)}) {
    QCursor::setPos(Form->SceneView()->mapToGlobal(p));
    EXPECT_TRUE(QTest::qWaitFor([&] { return navigator.LastMouseX == p.x() && navigator.LastMouseY == p.y(); }, 3000))
        << p.x() << "," << p.y() << ": " << navigator.LastMouseX << "," << navigator.LastMouseY;
  }
}

TEST_F(WindowPictureTest, TheAxesTurnWithTheModel) {
  if (!HasDisplay()) GTEST_SKIP() << "needs an X display with OpenGL (run under xvfb-run)";
  ASSERT_TRUE(ShowForm());
  Form->Session().ResetView();
  test::Named<QCheckBox>(Form, "AxisCheckBox")->click();
  QImage frame = Frame();
  const int w = frame.width(), h = frame.height();
  // Count the red pixels along the positive X axis, 1 to 3 units out (dashed: about half of them).
  auto count = [&](QRgb wanted, double sx, double sy, double sz) {
    int hits = 0;
    for (int i = 0; i <= 100; ++i) {
      const double t = 1 + 2 * i / 100.0;
      const TPixel p = Project(t * sx, t * sy, t * sz, w, h);
      bool found = false;
      for (int dx = -1; dx <= 1 && !found; ++dx)
        for (int dy = -1; dy <= 1 && !found; ++dy)
          found = (frame.pixel(static_cast<int>(p.X) + dx, static_cast<int>(p.Y) + dy) & 0xFFFFFF) == wanted;
      hits += found;
    }
    return hits;
  };
  EXPECT_GT(count(0xFF0000, 1, 0, 0), 30);
  EXPECT_GT(count(0x00FF00, 0, 1, 0), 30);
  EXPECT_GT(count(0x0000FF, 0, 0, 1), 30);
  EXPECT_GT(count(0x7F0000, -1, 0, 0) + count(0x800000, -1, 0, 0), 30);
  // Turned a quarter about the vertical, the model's X axis lies where Y was.
  Form->Session().ModelRoot().SetDirection(0, 0, 1);
  Form->Session().ModelRoot().SetUp(-1, 0, 0);
  Form->Session().ViewMoved();
  frame = Frame();
  EXPECT_GT(count(0xFF0000, 0, 1, 0), 30);
  test::Named<QCheckBox>(Form, "AxisCheckBox")->click();
  frame = Frame();
  EXPECT_EQ(count(0xFF0000, 0, 1, 0), 0);
}

}  // namespace
}  // namespace qv
