// Runs a GoogleTest suite inside a QApplication, for suites that need
// widgets, an event loop or a GUI thread.
#include <gtest/gtest.h>

#include <QApplication>

#include "map/MapStartup.h"
#include "tests/map/OfflineBrowser.h"

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
