#include "services/PeriodicTicks.h"

#include <vector>

PeriodicTicks::~PeriodicTicks() {
  StopAll();
}

TickId PeriodicTicks::Start(int periodMs, std::function<void()> callback) {
  auto tick = std::make_shared<Tick>();
  const auto period = std::chrono::milliseconds(periodMs > 0 ? periodMs : 1);
  // The thread holds its own reference, so a tick stopped from its own
  // callback can end after its owner has let go of it.
  {
    std::lock_guard guard(tick->lock);  // Run waits for this before its first tick
    tick->thread = std::thread(
        [tick, period, callback = std::move(callback)] { Run(*tick, period, callback); });
  }
  std::lock_guard guard(m_lock);
  const TickId id = m_next++;
  m_ticks.emplace(id, std::move(tick));
  return id;
}

void PeriodicTicks::Run(Tick& tick, std::chrono::milliseconds period,
                        const std::function<void()>& callback) {
  auto next = std::chrono::steady_clock::now() + period;
  std::unique_lock guard(tick.lock);
  for (;;) {
    if (tick.changed.wait_until(guard, next, [&] { return tick.stop; })) return;
    guard.unlock();
    callback();
    guard.lock();
    next += period;
    const auto now = std::chrono::steady_clock::now();
    if (next < now) next = now + period;  // after a stall, do not fire a burst
  }
}

void PeriodicTicks::Stop(TickId id) {
  std::shared_ptr<Tick> tick;
  {
    std::lock_guard guard(m_lock);
    auto it = m_ticks.find(id);
    if (it == m_ticks.end()) return;
    tick = std::move(it->second);
    m_ticks.erase(it);
  }
  bool fromOwnCallback;
  {
    std::lock_guard guard(tick->lock);
    tick->stop = true;
    fromOwnCallback = tick->thread.get_id() == std::this_thread::get_id();
  }
  tick->changed.notify_all();
  if (fromOwnCallback) {
    tick->thread.detach();  // stopped from its own callback: it ends right after
  } else {
    tick->thread.join();
  }
}

void PeriodicTicks::StopAll() {
  std::vector<TickId> ids;
  {
    std::lock_guard guard(m_lock);
    for (const auto& entry : m_ticks) ids.push_back(entry.first);
  }
  for (TickId id : ids) Stop(id);
}
