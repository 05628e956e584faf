// Runs a GoogleTest suite inside a QApplication, for suites that need
// widgets, an event loop or a GUI thread.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tavrik");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
