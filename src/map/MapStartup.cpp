#include "map/MapStartup.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QLoggingCategory>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QtGlobal>

#include "map/PageSchemeHandler.h"

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace {

constexpr const char* kBrowserFlags = "QTWEBENGINE_CHROMIUM_FLAGS";
constexpr const char* kNoSandbox = "--no-sandbox";

bool RunsAsRoot() {
#if defined(Q_OS_UNIX)
  return geteuid() == 0;
#else
  return false;
#endif
}

}  // namespace

void PrepareMapBeforeApplication() {
  PageSchemeHandler::RegisterScheme();
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  // The map is a flat page redrawn a few times a second. Composed in
  // software it goes straight into the window; composed with OpenGL every
  // frame is read back from the graphics card and the whole window is
  // composed again, which costs several times the CPU. QT_QUICK_BACKEND
  // still chooses otherwise.
  if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) {
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
  }
  // The browser lists its start-up settings on every start; QT_LOGGING_RULES
  // still brings them back when wanted.
  QLoggingCategory::setFilterRules("qt.webenginecontext.info=false");
  const QByteArray flags = qgetenv(kBrowserFlags);
  const QByteArray needed = BrowserFlagsFor(flags, RunsAsRoot());
  if (needed != flags) qputenv(kBrowserFlags, needed);
}

QByteArray BrowserFlagsFor(const QByteArray& flags, bool runsAsRoot) {
  if (!runsAsRoot || flags.split(' ').contains(kNoSandbox)) return flags;
  return flags.isEmpty() ? QByteArray(kNoSandbox) : flags + ' ' + kNoSandbox;
}
