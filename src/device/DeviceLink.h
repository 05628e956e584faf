#pragma once

#include <cstddef>
#include <cstdint>

// The line to the unit as the device session sees it: the serial port.
class DeviceLink {
 public:
  virtual ~DeviceLink() = default;

  // True while the port is open and its worker serves it.
  virtual bool IsOpen() const = 0;
  // Queues bytes behind earlier writes; false when no port is open. With
  // purgeInputFirst, input the program has not read yet is dropped before
  // the bytes go out, so an old line is never taken for the answer.
  virtual bool Write(const uint8_t* bytes, size_t count, bool purgeInputFirst) = 0;
};
