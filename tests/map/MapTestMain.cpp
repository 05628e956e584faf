// Runs a map suite inside a QApplication prepared for the embedded browser,
// with every remote host unresolvable.
#include <gtest/gtest.h>

#include <QApplication>

#include "map/MapStartup.h"
#include "tests/map/OfflineBrowser.h"

#if defined(__SANITIZE_ADDRESS__)
// Chromium inside the browser library deletes some of its own objects
// through a base of another size; that code is not ours and not rebuilt
// with the sanitizer, so the check would stop every run at the first page.
// The system libraries it pulls in (D-Bus among them) have no frame
// pointers, so allocations are traced by the full unwinder; otherwise their
// stacks end in unknown frames that no suppression can name.
extern "C" const char* __asan_default_options() {
  return "new_delete_type_mismatch=0:fast_unwind_on_malloc=0";
}

// The browser, and Mesa behind the shared OpenGL context, keep allocations
// for the life of the process; they are not ours.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libQt6WebEngineCore.so\n"
         "leak:libGLX_mesa.so\n";
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
