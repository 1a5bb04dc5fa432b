// The program's tests run inside one QApplication; without a display Qt's offscreen platform serves
// the tests that need no OpenGL.
#include <QApplication>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <filesystem>
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

// The window reads and writes its settings, placement, temporary pictures and help pages in the
// user's folders: every run gets folders of its own, so that no test touches the real ones and
// runs side by side do not see each other's files.
class TPrivateUserFolders {
public:
  TPrivateUserFolders() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/qv-app-tests-XXXXXX";
    if (!mkdtemp(pattern.data())) return;
    Root = pattern;
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "TMPDIR"}) {
      const std::string dir = Root + "/" + name;
      std::filesystem::create_directories(dir);
      setenv(name, dir.c_str(), 1);
    }
  }
  ~TPrivateUserFolders() {
    std::error_code ec;
    if (!Root.empty()) std::filesystem::remove_all(Root, ec);
  }

private:
  std::string Root;
};

}  // namespace

int main(int argc, char* argv[]) {
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
  TPrivateUserFolders folders;
  qv::SetDefaultSurfaceFormat();
  int result;
  {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    result = RUN_ALL_TESTS();
    KeepGraphicsDriversLoaded();
  }
  return result;
}
