#include "SimStats.h"

#include <cstdio>

std::string SimStats::Line() const {
  char line[400];
  std::snprintf(line, sizeof line,
                "tavrik-unitsim: frames120=%llu frames220=%llu frames76=%llu bytes=%llu "
                "commands=%llu noise=%llu corrupted=%llu dropped=%llu packets=%llu images=%llu",
                (unsigned long long)frames120, (unsigned long long)frames220,
                (unsigned long long)frames76, (unsigned long long)bytes,
                (unsigned long long)commands, (unsigned long long)noiseBytes,
                (unsigned long long)corruptedFrames, (unsigned long long)droppedFrames,
                (unsigned long long)packets, (unsigned long long)images);
  return line;
}
