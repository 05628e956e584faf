#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <mutex>

// The owner's answer to something the serial worker handed over: a received
// byte handled, an error box closed. Copies share one state. If the last copy
// goes away without Complete() (an event dropped with its queue), it completes
// itself, so a lost hand-over can never hold the worker.
class OwnerReceipt {
 public:
  // The waiting place a receipt reports to (owned by OwnerWait).
  struct Signal {
    std::mutex lock;
    std::condition_variable changed;
    bool released = false;
    uint64_t pendingId = 0;
    bool pendingDone = false;
    size_t handled = 0;
  };
  static constexpr size_t kAll = std::numeric_limits<size_t>::max();

  OwnerReceipt() = default;

  // Any thread; completing twice is harmless (the first count holds). For a
  // hand-over of bytes, `handled` says how many of them were taken.
  void Complete(size_t handled = kAll) const;
  bool IsValid() const { return m_state != nullptr; }

 private:
  friend class OwnerWait;
  struct State;
  OwnerReceipt(std::shared_ptr<Signal> signal, uint64_t id);
  uint64_t Id() const;

  std::shared_ptr<State> m_state;
};
