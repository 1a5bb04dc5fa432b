// The program's tests run inside one QApplication; without a display Qt's offscreen platform serves
// the tests that need no OpenGL.
#include <QApplication>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>
#include <string>
#include <vector>

#include "app/SceneView.h"

namespace {

// Mesa unloads its rendering driver when the display connection closes at exit; the leak checker
// could then no longer name the driver's own caches, which its suppressions leave alone by name.
// Keeping every loaded driver in memory until the process ends lets it.
void KeepGraphicsDriversLoaded() {
  std::vector<std::string> drivers;
  dl_iterate_phdr(
      [](dl_phdr_info* info, size_t, void* found) {
        if (info->dlpi_name && std::strstr(info->dlpi_name, "/dri/"))
          static_cast<std::vector<std::string>*>(found)->push_back(info->dlpi_name);
        return 0;
      },
      &drivers);
  for (const std::string& driver : drivers) dlopen(driver.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  qv::SetDefaultSurfaceFormat();
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  KeepGraphicsDriversLoaded();
  return result;
}
