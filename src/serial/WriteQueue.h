#pragma once

#include <QByteArray>
#include <atomic>
#include <deque>
#include <mutex>
#include <vector>

// Writes handed to the worker, in the order they were queued. A second write
// queued before the worker has sent the first waits behind it instead of
// replacing it.
class WriteQueue {
 public:
  void Push(QByteArray bytes);
  std::vector<QByteArray> TakeAll();
  // Lets the reading loop give way to a waiting write without taking the lock.
  bool HasPending() const { return m_pending.load(std::memory_order_acquire); }

 private:
  std::mutex m_lock;
  std::deque<QByteArray> m_writes;
  std::atomic<bool> m_pending{false};
};
