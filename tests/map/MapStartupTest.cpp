// The browser's command-line flags as the program starts it: the sandbox is
// switched off only for root, and flags set before stay.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>

#include "map/MapStartup.h"

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {

const QByteArray kBlocked = "--host-resolver-rules=\"MAP * ~NOTFOUND, EXCLUDE 127.0.0.1\"";

TEST(BrowserFlags, SandboxOffOnlyForRootKeepingTheFlagsSetBefore) {
  EXPECT_EQ(BrowserFlagsFor("", false), "");
  EXPECT_EQ(BrowserFlagsFor(kBlocked, false), kBlocked);

  EXPECT_EQ(BrowserFlagsFor("", true), "--no-sandbox");
  EXPECT_EQ(BrowserFlagsFor(kBlocked, true), kBlocked + " --no-sandbox");
  // Never twice, wherever it already stands.
  EXPECT_EQ(BrowserFlagsFor("--no-sandbox", true), "--no-sandbox");
  EXPECT_EQ(BrowserFlagsFor("--no-sandbox " + kBlocked, true), "--no-sandbox " + kBlocked);
  // A flag that only begins alike is another flag.
  EXPECT_EQ(BrowserFlagsFor("--no-sandbox-probe", true), "--no-sandbox-probe --no-sandbox");
}

#if defined(Q_OS_UNIX)
TEST(BrowserFlags, ThisProcessHasTheSandboxOffExactlyWhenItRunsAsRoot) {
  const QList<QByteArray> flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS").split(' ');
  EXPECT_EQ(flags.contains("--no-sandbox"), geteuid() == 0);
  EXPECT_TRUE(flags.contains("--host-resolver-rules=\"MAP"));
}
#endif

}  // namespace
