// Widgets need one QApplication for the whole test run; GoogleTest brings its own main, so
// the application is made by a global test environment.

#include <gtest/gtest.h>

#include <QApplication>

namespace {

class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QApplication::instance() == nullptr) {
      m_app = new QApplication(m_argc, m_argv);
    }
  }
  void TearDown() override {
    delete m_app;
    m_app = nullptr;
  }

 private:
  int m_argc = 1;
  char m_name[16] = "instruments_gui";
  char* m_argv[2] = {m_name, nullptr};
  QApplication* m_app = nullptr;
};

[[maybe_unused]] ::testing::Environment* const kEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
