#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <functional>

// Runs the GUI thread's event loop until the condition holds or the time is
// up; returns the condition. The bound only keeps a broken build from hanging.
inline bool ProcessEventsUntil(const std::function<bool()>& condition, int maxMs = 10000) {
  QElapsedTimer timer;
  timer.start();
  while (!condition()) {
    if (timer.elapsed() > maxMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  return true;
}
