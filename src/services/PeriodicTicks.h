#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

#include "services/WindowServices.h"

// Periodic ticks, each on a thread of its own, started and stopped by
// identity. A tick keeps its rate: it is scheduled from its start time, not
// from the end of the previous callback.
class PeriodicTicks {
 public:
  PeriodicTicks() = default;
  ~PeriodicTicks();
  PeriodicTicks(const PeriodicTicks&) = delete;
  PeriodicTicks& operator=(const PeriodicTicks&) = delete;

  TickId Start(int periodMs, std::function<void()> callback);
  // Bounded: waits for a callback in progress, then the thread ends. From the
  // tick's own callback it only stops further ticks.
  void Stop(TickId id);
  void StopAll();

 private:
  struct Tick {
    std::mutex lock;
    std::condition_variable changed;
    bool stop = false;
    std::thread thread;
  };
  static void Run(Tick& tick, std::chrono::milliseconds period,
                  const std::function<void()>& callback);

  std::mutex m_lock;
  std::map<TickId, std::shared_ptr<Tick>> m_ticks;
  TickId m_next = 1;
};
