#pragma once

#include <cstddef>
#include <memory>
#include <optional>

#include "serial/OwnerReceipt.h"

// The one place where the serial worker waits for its owner: for a received
// byte to be handled or for an error box to be closed. The wait ends when the
// owner completes the receipt or when the port is shut down, whichever comes
// first, so closing the port never deadlocks against an owner that is itself
// busy waiting for the worker.
class OwnerWait {
 public:
  OwnerWait();

  // Starts a hand-over; only one is pending at a time.
  OwnerReceipt NewReceipt();
  // Blocks until the receipt is completed (the count it was completed with)
  // or Release() was called (nothing). Takes the receipt by value and lets go
  // of it before waiting, so an owner that drops its copy releases the worker.
  std::optional<size_t> WaitFor(OwnerReceipt receipt);
  // Ends the current wait and makes every later one return at once.
  void Release();

 private:
  std::shared_ptr<OwnerReceipt::Signal> m_signal;
};
