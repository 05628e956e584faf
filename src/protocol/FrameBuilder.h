#pragma once

#include <array>
#include <cstdint>

// The navigation values one frame carries, in physical units. The builder
// turns them into wire frames that the analyser decodes back to the same
// values (to the resolution of each field).
struct NavSample {
  double gyroX = 0, gyroY = 0, gyroZ = 0;  // deg/s
  double accX = 0, accY = 0, accZ = 0;     // g
  double pitch = 0, roll = 0;              // deg, signed
  double yaw = 0;                          // deg; 0..360, or -180..180 with signedHeading
  double velE = 0, velN = 0, velU = 0;     // m/s
  double longitude = 0, latitude = 0;      // deg
  double altitude = 0;                     // m (single precision on the wire)

  bool initialised = false;
  bool correctionWorking = false;
  bool gnssDifferential = false;
  bool gnssHeadingFix = false;
  bool odometerConnected = false;

  bool hasGnssPosition = false;
  double gnssLatitude = 0, gnssLongitude = 0, gnssAltitude = 0;
  bool hasGnssVelocity = false;
  double gnssVelE = 0, gnssVelN = 0, gnssVelU = 0;  // single precision on the wire
  bool hasGnssHeading = false;
  double gnssHeading = 0;  // single precision on the wire

  uint8_t posType = 0;
  uint8_t headType = 0;
  uint8_t frameFormat = 0;  // offset 117 of a 120-byte frame: 0, 1, or anything else
  bool signedHeading = false;
};

inline constexpr int kFrame76Length = 76;
inline constexpr int kFrame120Length = 120;
inline constexpr int kFrame220Length = 220;

using Frame76Bytes = std::array<uint8_t, kFrame76Length>;
using Frame120Bytes = std::array<uint8_t, kFrame120Length>;
using Frame220Bytes = std::array<uint8_t, kFrame220Length>;

// Second header byte: 0xBB or 0xCC for the CRC frames, 0x60..0x6F for Frame76.
Frame120Bytes BuildFrame120(const NavSample& s, uint8_t secondHeaderByte = 0xBB);
Frame220Bytes BuildFrame220(const NavSample& s, uint8_t secondHeaderByte = 0xBB);
// A Frame76 is the first 75 bytes of the 120-byte layout plus an 8-bit sum.
Frame76Bytes BuildFrame76(const NavSample& s, uint8_t secondHeaderByte = 0x61);

// The status byte of a 120-byte frame (offset 59) for these values.
uint8_t StatusFlags120(const NavSample& s);
