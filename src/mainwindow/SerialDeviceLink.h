#pragma once

#include "device/DeviceLink.h"
#include "serial/CSerialPort.h"

// The device session's line: the serial port.
class SerialDeviceLink final : public DeviceLink {
 public:
  explicit SerialDeviceLink(CSerialPort& port) : m_port(port) {}

  bool IsOpen() const override { return m_port.IsWorkerAlive(); }
  bool Write(const uint8_t* bytes, size_t count, bool purgeInputFirst) override {
    return m_port.QueueWrite(bytes, count, purgeInputFirst);
  }

 private:
  CSerialPort& m_port;
};
