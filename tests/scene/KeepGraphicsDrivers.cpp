// The graphics driver that the off-screen tests load is unloaded by an exit handler before the
// leak checker runs, which leaves the driver's process-lifetime caches without a module name, so
// the leak suppressions for it cannot match. Keeping every loaded driver module resident until the
// process ends lets them.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <link.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

class TKeepGraphicsDrivers : public ::testing::Environment {
public:
  void TearDown() override {
    std::vector<std::string> names;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
          const char* name = info->dlpi_name;
          if (name && (std::strstr(name, "_dri.so") || std::strstr(name, "libgallium") ||
                       std::strstr(name, "libEGL_mesa") || std::strstr(name, "libLLVM")))
            static_cast<std::vector<std::string>*>(data)->push_back(name);
          return 0;
        },
        &names);
    for (const std::string& name : names) dlopen(name.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
  }
};

[[maybe_unused]] ::testing::Environment* const KeepGraphicsDrivers =
    ::testing::AddGlobalTestEnvironment(new TKeepGraphicsDrivers);

}  // namespace
