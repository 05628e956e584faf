#pragma once

#include <string>
#include <vector>

#include "device/OdometerPort.h"

// Records what the dialog sends, with a port the test opens and closes at
// will.
class FakeOdometerPort : public OdometerPort {
 public:
  bool IsPortOpen() const override { return portOpen; }
  void QueueWrite(const std::string& bytes) override { writes.push_back(bytes); }
  void SetReceiveMode(ReceiveMode mode) override { modes.push_back(mode); }

  bool portOpen = true;
  std::vector<std::string> writes;
  std::vector<ReceiveMode> modes;
};
