#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "MotionModel.h"
#include "SimOptions.h"
#include "SimStats.h"
#include "StreamFormat.h"

// Makes the byte stream of the navigation output: one frame after another in
// the selected format, from the motion model or the static sample, with the
// configured noise between frames and corrupted frames.
class FrameSource {
 public:
  explicit FrameSource(const SimOptions& options);

  void SetFormat(StreamFormat format) { m_format = format; }
  StreamFormat Format() const { return m_format; }
  // Model time advances by one period per frame, so the content depends on
  // the frame count only.
  void SetModelRate(int hertz) { m_modelRate = hertz > 0 ? hertz : 100; }
  uint64_t Seed() const { return m_seed; }

  // Appends the next frame and any noise behind it; returns the bytes added.
  size_t AppendNext(std::vector<uint8_t>& out, SimStats& stats);

 private:
  NavSample NextSample();
  void AppendNoise(std::vector<uint8_t>& out, SimStats& stats);

  StreamFormat m_format;
  MotionModel m_model;
  bool m_static;
  bool m_signedHeading;
  int m_modelRate = 100;
  double m_modelTime = 0;
  uint64_t m_framesMade = 0;
  int m_noisePercent;
  int m_corruptEvery;
  uint64_t m_seed;
  std::mt19937_64 m_random;
};
