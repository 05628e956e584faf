#pragma once

#include <QByteArray>
#include <QtGlobal>

// Every process that loads the map page in tests or benchmarks resolves no
// remote host, so the tile layer never reaches past this machine; only
// 127.0.0.1 stays reachable, for local servers. Call before the application
// object exists (and before PrepareMapBeforeApplication, which appends).
inline void BlockRemoteHostsForBrowser() {
  constexpr const char* kFlags = "QTWEBENGINE_CHROMIUM_FLAGS";
  constexpr const char* kRules = "--host-resolver-rules=\"MAP * ~NOTFOUND, EXCLUDE 127.0.0.1\"";
  QByteArray flags = qgetenv(kFlags);
  if (flags.contains("--host-resolver-rules")) return;
  flags = flags.isEmpty() ? QByteArray(kRules) : QByteArray(kRules) + ' ' + flags;
  qputenv(kFlags, flags);
}
