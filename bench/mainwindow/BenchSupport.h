#pragma once

#include <sys/resource.h>

#include <QEventLoop>
#include <QTimer>
#include <functional>

// What the program benchmarks measure the same way.
namespace bench {

inline double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Runs the event loop (without spinning) until the condition holds or the
// time is up.
inline void RunUntil(int ms, const std::function<bool()>& done, int pollMs = 50) {
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (done()) loop.quit();
  });
  poll.start(pollMs);
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  if (!done()) loop.exec();
}

}  // namespace bench
