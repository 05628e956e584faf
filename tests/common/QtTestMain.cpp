// Runs a GoogleTest suite inside a QApplication, for suites that need
// widgets, an event loop or a GUI thread.
#include <gtest/gtest.h>

#include <QApplication>

#include "map/MapStartup.h"
#include "tests/map/OfflineBrowser.h"

// Under AddressSanitizer the leak report runs after Mesa has unloaded its
// driver, so what the driver keeps for the life of the process (the shared
// GL context's screen and caches) shows up with no module name and cannot be
// told from our own leaks. Holding the driver loaded lets the suppressions
// (tests/common/lsan.supp) name it.
#if defined(__SANITIZE_ADDRESS__) && defined(__linux__)
#include <dlfcn.h>

namespace {

[[maybe_unused]] void* const kSoftwareDriver =
    dlopen("/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", RTLD_LAZY | RTLD_NODELETE);

}  // namespace
#endif

int main(int argc, char** argv) {
  // As the program does: the map's page scheme before the application; and
  // no page a test loads may reach beyond this machine.
  BlockRemoteHostsForBrowser();
  PrepareMapBeforeApplication();
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrik");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
