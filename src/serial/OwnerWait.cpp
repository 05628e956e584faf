#include "serial/OwnerWait.h"

OwnerWait::OwnerWait() : m_signal(std::make_shared<OwnerReceipt::Signal>()) {}

OwnerReceipt OwnerWait::NewReceipt() {
  std::lock_guard guard(m_signal->lock);
  m_signal->pendingDone = false;
  return OwnerReceipt(m_signal, ++m_signal->pendingId);
}

std::optional<size_t> OwnerWait::WaitFor(OwnerReceipt receipt) {
  const uint64_t id = receipt.Id();
  receipt = OwnerReceipt();
  std::unique_lock guard(m_signal->lock);
  m_signal->changed.wait(guard, [&] {
    return m_signal->released || (m_signal->pendingId == id && m_signal->pendingDone);
  });
  if (m_signal->pendingId == id && m_signal->pendingDone) return m_signal->handled;
  return std::nullopt;
}

void OwnerWait::Release() {
  std::lock_guard guard(m_signal->lock);
  m_signal->released = true;
  m_signal->changed.notify_all();
}
