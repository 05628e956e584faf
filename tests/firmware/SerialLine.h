#pragma once

#include <string>

// A device path opened as the program opens a serial port: read and write,
// no controlling terminal, non-blocking, raw 8-bit line.
class SerialLine {
 public:
  explicit SerialLine(const std::string& devicePath);
  ~SerialLine();
  SerialLine(const SerialLine&) = delete;
  SerialLine& operator=(const SerialLine&) = delete;

  bool IsOpen() const { return m_fd >= 0; }
  int Fd() const { return m_fd; }

 private:
  int m_fd = -1;
};
