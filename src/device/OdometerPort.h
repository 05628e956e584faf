#pragma once

#include <string>

#include "protocol/ReceiveMode.h"

// What the odometer parameter dialog needs of the main window: the serial
// port it writes to and the receive mode that routes the unit's replies to the
// reply interpreter. All calls come on the window's thread.
class OdometerPort {
 public:
  virtual ~OdometerPort() = default;

  // True while the serial worker is alive.
  virtual bool IsPortOpen() const = 0;

  // Hands the bytes, CR LF included, to the serial worker as they are.
  virtual void QueueWrite(const std::string& bytes) = 0;

  virtual void SetReceiveMode(ReceiveMode mode) = 0;
};
