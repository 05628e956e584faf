#pragma once

#include <cstdint>

// Decides the road of every received byte: bulk chunks into the receive ring
// for the frame parser, or one byte at a time to the reply interpreter or the
// firmware loader.
enum class ReceiveMode : int32_t {
  Idle = 0,
  Live = 2,
  Upgrade = 3,
  Command = 4,
  SensorCurve = 5,
  EnvCurve = 6,
};

// Upgrade and Command traffic is read byte by byte and never enters the ring.
constexpr bool IsPerByteMode(ReceiveMode mode) {
  return mode == ReceiveMode::Upgrade || mode == ReceiveMode::Command;
}
