#pragma once

#include <cstdint>
#include <string>

// Where a firmware upgrade stands, for a progress bar and its figures.
struct FirmwareProgress {
  std::string name;              // as announced in the header block
  uint64_t imageBytes = 0;       // announced size
  uint32_t blocksTotal = 0;      // data blocks, the short last one included
  uint32_t blocksConfirmed = 0;  // data blocks the unit acknowledged
  uint64_t bytesConfirmed = 0;   // image bytes in those blocks
  double elapsedSeconds = 0;     // since the restart command (frozen at the end)

  int Percent() const {
    return blocksTotal == 0 ? 0 : int(uint64_t(blocksConfirmed) * 100 / blocksTotal);
  }
};
