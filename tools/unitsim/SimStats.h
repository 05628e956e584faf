#pragma once

#include <cstdint>
#include <string>

// What the unit has done, printed as one line when it ends.
struct SimStats {
  uint64_t frames120 = 0;
  uint64_t frames220 = 0;
  uint64_t frames76 = 0;
  uint64_t bytes = 0;     // everything that went onto the line
  uint64_t commands = 0;  // command lines answered
  uint64_t noiseBytes = 0;
  uint64_t corruptedFrames = 0;
  uint64_t droppedFrames = 0;  // due while nobody read the line
  uint64_t packets = 0;        // boot-loader packets answered
  uint64_t images = 0;         // firmware images received whole

  uint64_t Frames() const { return frames120 + frames220 + frames76; }
  std::string Line() const;
};
