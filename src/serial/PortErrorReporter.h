#pragma once

#include <QString>

#include "serial/OwnerReceipt.h"

// Shows the serial layer's system-error boxes to the user.
class PortErrorReporter {
 public:
  // Show `text` in a box titled `title` with the stop icon and complete the
  // receipt once the user has closed it. Called from the worker thread, the
  // worker waits for the receipt (a shutdown of the port ends that wait too),
  // so the implementation must carry the box to its own thread. Called from
  // the owner's thread while a port is being opened, nobody waits.
  virtual void ShowPortError(const QString& title, const QString& text, OwnerReceipt receipt) = 0;

 protected:
  ~PortErrorReporter() = default;
};
