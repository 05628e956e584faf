#include "serial/WriteQueue.h"

void WriteQueue::Push(Write write) {
  std::lock_guard guard(m_lock);
  m_writes.push_back(std::move(write));
  m_pending.store(true, std::memory_order_release);
}

std::vector<WriteQueue::Write> WriteQueue::TakeAll() {
  std::lock_guard guard(m_lock);
  std::vector<Write> taken(std::make_move_iterator(m_writes.begin()),
                           std::make_move_iterator(m_writes.end()));
  m_writes.clear();
  m_pending.store(false, std::memory_order_release);
  return taken;
}
