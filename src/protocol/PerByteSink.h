#pragma once

#include <cstddef>
#include <cstdint>

// Takes the bytes the per-byte road carries (ReceiveMode::Command and
// ReceiveMode::Upgrade) on the GUI thread, in arrival order: every byte that
// was available when the batch was read, handled in one pass.
class PerByteSink {
 public:
  // Handles bytes from the front while the mode keeps them on the per-byte
  // road and returns how many it handled. When a byte's handling leaves that
  // mode, the rest of the batch is not handled here: the caller sends it
  // down the bulk road as if it had been read after the mode change.
  virtual size_t OnSerialBytes(const uint8_t* bytes, size_t count) = 0;

 protected:
  ~PerByteSink() = default;
};
