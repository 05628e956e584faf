#pragma once

#include <atomic>

// A number written by the decoding thread and read by display threads. Each
// value is read whole; relaxed order suffices because no reader needs the
// values of one frame as a consistent set.
template <typename T>
class AtomicValue {
 public:
  explicit AtomicValue(T initial = T{}) : m_value(initial) {}
  void Set(T v) { m_value.store(v, std::memory_order_relaxed); }
  T Get() const { return m_value.load(std::memory_order_relaxed); }

 private:
  std::atomic<T> m_value;
};
