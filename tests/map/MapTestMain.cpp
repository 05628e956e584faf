// Runs a map suite inside a QApplication prepared for the embedded browser,
// with every remote host unresolvable.
#include <gtest/gtest.h>

#include <QApplication>

#include "map/MapStartup.h"
#include "tests/map/OfflineBrowser.h"

#if defined(__SANITIZE_ADDRESS__)
// The browser keeps allocations for the life of the process that it frees
// only at its own exit; they are not ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libQt6WebEngineCore.so\n"
         "leak:libQt6Quick.so\n"
         "leak:libQt6Qml.so\n"
         "leak:libGLX_mesa.so\n"
         "leak:libgallium\n"
         "leak:swrast_dri.so\n";
}
#endif

int main(int argc, char** argv) {
  BlockRemoteHostsForBrowser();
  PrepareMapBeforeApplication();
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrik");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
