// The program's tests run inside one QApplication; without a display Qt's offscreen platform serves
// the tests that need no OpenGL.
#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>

#include "app/SceneView.h"

int main(int argc, char* argv[]) {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  qv::SetDefaultSurfaceFormat();
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
