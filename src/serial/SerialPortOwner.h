#pragma once

#include <cstdint>

#include "protocol/ReceiveMode.h"
#include "serial/OwnerReceipt.h"

// What the serial worker needs from the object that owns the port (the main
// window, or a test). Every call comes from the worker thread; the owner must
// outlive the CSerialPort it passes itself to.
class SerialPortOwner {
 public:
  // Read before every read and again before each per-byte hand-over, so the
  // owner keeps its mode in an atomic.
  virtual ReceiveMode CurrentReceiveMode() const = 0;

  // A chunk of 1 to 1000 bytes read in a bulk mode (anything but Upgrade and
  // Command). Runs on the worker thread and should not block.
  virtual void AcceptChunk(const uint8_t* bytes, int count) = 0;

  // The bytes read in ReceiveMode::Upgrade or ReceiveMode::Command: all that
  // were available, in order. The owner carries them to its own thread,
  // handles them there in one pass and completes the receipt with how many
  // it handled; the worker reads nothing further until then, which keeps
  // reply and boot-loader bytes in order (a shutdown of the port also ends
  // the wait). Bytes left unhandled, because their handling left the
  // per-byte modes, go to AcceptChunk as if read after the change.
  virtual void HandOverBytes(const uint8_t* bytes, size_t count, OwnerReceipt receipt) = 0;

  // The device went away (unplugged or hung up). It has been reported once
  // through the PortErrorReporter, the port is closed and the worker has
  // ended; the owner should treat the port as closed. Not called when the
  // owner itself shuts the port down.
  virtual void OnPortGone() = 0;

 protected:
  ~SerialPortOwner() = default;
};
