#pragma once

#include <QByteArray>

// Everything the embedded map browser needs before the application object
// exists: our page scheme, shared OpenGL contexts, software composition of
// the page, and, when the process runs as root, the browser's sandbox
// switched off (it refuses to start as root otherwise). Call it first in
// main().
void PrepareMapBeforeApplication();

// The browser's command-line flags (QTWEBENGINE_CHROMIUM_FLAGS) as the
// process needs them: with the sandbox switched off when it runs as root,
// otherwise unchanged. Flags already set (remote hosts blocked in tests) are
// kept.
QByteArray BrowserFlagsFor(const QByteArray& flags, bool runsAsRoot);
