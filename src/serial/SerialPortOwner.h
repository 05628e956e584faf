#pragma once

#include <cstdint>

#include "OwnerReceipt.h"
#include "ReceiveMode.h"

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

  // One byte read in ReceiveMode::Upgrade or ReceiveMode::Command. The owner
  // carries it to its own thread, handles it there and then completes the
  // receipt. The worker reads nothing further until then, which keeps reply
  // and boot-loader bytes in order; a shutdown of the port also ends the wait.
  virtual void HandOverByte(uint8_t byte, OwnerReceipt receipt) = 0;

  // The device went away (unplugged or hung up). It has been reported once
  // through the PortErrorReporter, the port is closed and the worker has
  // ended; the owner should treat the port as closed. Not called when the
  // owner itself shuts the port down.
  virtual void OnPortGone() = 0;

 protected:
  ~SerialPortOwner() = default;
};
