#include "serial/OwnerReceipt.h"

struct OwnerReceipt::State {
  State(std::shared_ptr<Signal> s, uint64_t i) : signal(std::move(s)), id(i) {}
  State(const State&) = delete;
  State& operator=(const State&) = delete;

  const std::shared_ptr<Signal> signal;
  const uint64_t id;

  void Complete(size_t handled) const {
    std::lock_guard guard(signal->lock);
    if (signal->pendingId == id && !signal->pendingDone) {
      signal->pendingDone = true;
      signal->handled = handled;
      signal->changed.notify_all();
    }
  }
  ~State() { Complete(kAll); }
};

OwnerReceipt::OwnerReceipt(std::shared_ptr<Signal> signal, uint64_t id)
    : m_state(std::make_shared<State>(std::move(signal), id)) {}

void OwnerReceipt::Complete(size_t handled) const {
  if (m_state) m_state->Complete(handled);
}

uint64_t OwnerReceipt::Id() const {
  return m_state ? m_state->id : 0;
}
