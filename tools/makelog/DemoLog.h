#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

// Generates raw logs of a vehicle driving circles, for the demo, tests and
// benchmarks: frames made with the frame builder, mixed kinds, optional noise.
struct DemoLogOptions {
  uint64_t frames = 1000;
  double noisePercent = 0;  // garbage bytes as a share of all bytes
  bool mixKinds = true;     // every third frame a Frame220
  uint32_t seed = 1;
};

// The raw bytes, as the unit would send them.
std::vector<uint8_t> MakeDemoStream(const DemoLogOptions& options);

// Writes the log text of MakeDemoStream's bytes; returns false on a write error.
bool WriteDemoLog(std::FILE* out, const DemoLogOptions& options);
