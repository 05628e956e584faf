#pragma once

#include <QString>

// Reads the texts of the port and baud selectors when the port is opened.
class PortText {
 public:
  // The device name or path picked or typed (ttyUSB0, /dev/ttyUSB0, a
  // pseudo-terminal path), without surrounding blanks; empty when none.
  static QString PortName(const QString& selectorText);
  // The decimal number at the start of the text, after leading blanks; 0 when
  // there is none or it does not fit a baud rate.
  static qint32 BaudRate(const QString& selectorText);
};
