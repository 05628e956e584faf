#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "protocol/FrameBuilder.h"

// A sample with every field set to a distinct, exactly representable value.
inline NavSample FullSample(int seed = 0) {
  NavSample s;
  s.gyroX = 1.234 + seed;
  s.gyroY = -2.5;
  s.gyroZ = 100.001;
  s.accX = 0.01234;
  s.accY = -0.5;
  s.accZ = 1.00001;
  s.pitch = 12.34;
  s.roll = -45.67;
  s.yaw = 359.99;
  s.velE = 1.2345;
  s.velN = -0.0001;
  s.velU = 0.5;
  s.longitude = 116.3 + seed * 1e-6;
  s.latitude = 39.9;
  s.altitude = 52.25;
  s.initialised = true;
  s.gnssDifferential = true;
  s.odometerConnected = true;
  s.hasGnssPosition = s.hasGnssVelocity = s.hasGnssHeading = true;
  s.gnssLatitude = 39.90001;
  s.gnssLongitude = 116.30002;
  s.gnssAltitude = 50.125;
  s.gnssVelE = 1.5;
  s.gnssVelN = -2.25;
  s.gnssVelU = 0.125;
  s.gnssHeading = 271.5;
  s.posType = 50;
  s.headType = 48;
  s.frameFormat = 1;
  return s;
}

template <typename Frame>
void Append(std::vector<uint8_t>& out, const Frame& f) {
  out.insert(out.end(), f.begin(), f.end());
}

// Noise that holds no header start, so it can never form a frame.
inline void AppendNoise(std::vector<uint8_t>& out, size_t count, std::mt19937& rng) {
  for (size_t i = 0; i < count; ++i) {
    uint8_t b = uint8_t(rng());
    if ((b | 0x10) == 0xBA || b == 0xDA) b = 0x55;
    out.push_back(b);
  }
}
