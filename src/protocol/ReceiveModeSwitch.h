#pragma once

#include <atomic>

#include "protocol/ReceiveMode.h"

class DeviceSession;

// The receive mode, read on every road a byte can take (serial worker,
// parser, replay, GUI thread) and written by the device session alone, which
// owns the conversation with the unit.
class ReceiveModeSwitch {
 public:
  ReceiveMode Get() const { return m_mode.load(std::memory_order_acquire); }

 protected:
  friend class DeviceSession;
  void Set(ReceiveMode mode) { m_mode.store(mode, std::memory_order_release); }

 private:
  std::atomic<ReceiveMode> m_mode{ReceiveMode::Idle};
};
