#include "DemoLog.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

#include "protocol/FrameBuilder.h"
#include "protocol/HexText.h"

namespace {

// A 200 m circle at 10 m/s around a start point.
NavSample SampleAt(uint64_t index) {
  constexpr double kRadius = 200.0, kSpeed = 10.0, kRate = 100.0;
  constexpr double kMetresPerDegLat = 111320.0;
  const double t = double(index) / kRate;
  const double angle = kSpeed * t / kRadius;
  NavSample s;
  s.yaw = std::fmod(angle * 180.0 / std::numbers::pi + 90.0, 360.0);
  s.pitch = 1.5 * std::sin(t * 0.3);
  s.roll = -3.0 + 0.5 * std::cos(t * 0.7);
  s.velE = kSpeed * std::cos(angle);
  s.velN = -kSpeed * std::sin(angle);
  s.velU = 0.01 * std::sin(t);
  s.gyroZ = -kSpeed / kRadius * 180.0 / std::numbers::pi;
  s.accX = 0.001 * std::sin(t);
  s.accY = kSpeed * kSpeed / kRadius / 9.80665;
  s.accZ = 1.0;
  s.latitude = 39.9 + kRadius * std::cos(angle) / kMetresPerDegLat;
  s.longitude = 116.3 + kRadius * std::sin(angle) /
                            (kMetresPerDegLat * std::cos(39.9 * std::numbers::pi / 180.0));
  s.altitude = 50.0;
  s.initialised = t > 3.0;
  s.gnssDifferential = s.gnssHeadingFix = t > 5.0;
  s.odometerConnected = true;
  s.hasGnssPosition = s.hasGnssVelocity = index % 10 == 0;
  s.hasGnssHeading = index % 10 == 0;
  s.gnssLatitude = s.latitude;
  s.gnssLongitude = s.longitude;
  s.gnssAltitude = s.altitude + 1.5;
  s.gnssVelE = s.velE;
  s.gnssVelN = s.velN;
  s.gnssHeading = s.yaw;
  s.posType = 50;
  s.headType = 50;
  return s;
}

}  // namespace

std::vector<uint8_t> MakeDemoStream(const DemoLogOptions& options) {
  std::mt19937 rng(options.seed);
  std::vector<uint8_t> out;
  const double noiseShare = std::clamp(options.noisePercent, 0.0, 95.0) / 100.0;
  for (uint64_t i = 0; i < options.frames; ++i) {
    const NavSample s = SampleAt(i);
    size_t frameLength;
    if (options.mixKinds && i % 3 == 2) {
      const auto f = BuildFrame220(s, i % 2 ? 0xCC : 0xBB);
      out.insert(out.end(), f.begin(), f.end());
      frameLength = f.size();
    } else {
      const auto f = BuildFrame120(s, i % 2 ? 0xCC : 0xBB);
      out.insert(out.end(), f.begin(), f.end());
      frameLength = f.size();
    }
    if (noiseShare > 0) {
      // Noise bytes between frames, so that noise makes up noiseShare of the stream.
      const double mean = double(frameLength) * noiseShare / (1.0 - noiseShare);
      const size_t count = size_t(std::uniform_real_distribution<double>(0, 2 * mean)(rng));
      for (size_t k = 0; k < count; ++k) out.push_back(uint8_t(rng()));
    }
  }
  return out;
}

bool WriteDemoLog(std::FILE* out, const DemoLogOptions& options) {
  // In slices, so that a large log never needs its whole text in memory.
  constexpr uint64_t kSlice = 20000;
  DemoLogOptions slice = options;
  std::string text;
  for (uint64_t first = 0; first < options.frames; first += kSlice) {
    slice.frames = std::min(kSlice, options.frames - first);
    slice.seed = options.seed + uint32_t(first / kSlice);
    const std::vector<uint8_t> bytes = MakeDemoStream(slice);
    text = ToHexText(bytes.data(), bytes.size());
    if (std::fwrite(text.data(), 1, text.size(), out) != text.size()) return false;
  }
  return std::fflush(out) == 0;
}
