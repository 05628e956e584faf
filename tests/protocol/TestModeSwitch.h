#pragma once

#include "protocol/ReceiveModeSwitch.h"

// A receive mode the test sets itself, for parts tested without the device
// session that owns the mode in the program.
class TestModeSwitch : public ReceiveModeSwitch {
 public:
  explicit TestModeSwitch(ReceiveMode initial = ReceiveMode::Idle) { Set(initial); }
  TestModeSwitch& operator=(ReceiveMode mode) {
    Set(mode);
    return *this;
  }
};
