#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <QWebEnginePage>
#include <memory>

#include "tests/common/EventLoop.h"

// Test-side access to a loaded page: run a script and wait for its value,
// or wait until a script expression holds. Browser work is slow on a small
// machine, so the deadlines are generous; they only keep a broken build from
// hanging.
inline constexpr int kPageDeadlineMs = 60000;

inline QVariant RunScript(QWebEnginePage* page, const QString& script,
                          int maxMs = kPageDeadlineMs) {
  struct Outcome {
    bool done = false;
    QVariant value;
  };
  auto outcome = std::make_shared<Outcome>();
  page->runJavaScript(script, [outcome](const QVariant& value) {
    outcome->value = value;
    outcome->done = true;
  });
  ProcessEventsUntil([&] { return outcome->done; }, maxMs);
  return outcome->value;
}

inline QVariantMap PageState(QWebEnginePage* page) {
  return RunScript(page, "geoState()").toMap();
}

// Polls the expression until it is true; false when the time is up.
inline bool WaitForPage(QWebEnginePage* page, const QString& expression,
                        int maxMs = kPageDeadlineMs) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < maxMs) {
    if (RunScript(page, QString("!!(%1)").arg(expression), maxMs).toBool()) return true;
    ProcessEventsUntil([] { return false; }, 50);
  }
  return false;
}
