#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>

namespace {

// The serial worker gives its thread an event dispatcher for the port's
// notifiers, which wants an application object to exist.
class QtCoreEnvironment : public testing::Environment {
 public:
  void SetUp() override { m_app = std::make_unique<QCoreApplication>(m_argc, m_argv); }
  void TearDown() override { m_app.reset(); }

 private:
  int m_argc = 1;
  char m_name[16] = "serial-tests";
  char* m_argv[2] = {m_name, nullptr};
  std::unique_ptr<QCoreApplication> m_app;
};

const auto* const kEnvironment = testing::AddGlobalTestEnvironment(new QtCoreEnvironment);

}  // namespace
