#pragma once

#include <QSerialPort>
#include <optional>

#include "serial/PortFailure.h"

// The unit's line: the requested baud rate, 8 data bits, no parity, one stop
// bit, no flow control, RTS asserted while the port is open.
class LineSettings {
 public:
  // Applies the settings step by step and stops at the first step that fails.
  static std::optional<PortFailure> Apply(QSerialPort& port, qint32 baudRate);
};
