#pragma once

#include <cstdint>
#include <string>
#include <type_traits>

// What the unit reported, in physical units: the values one frame carries
// (the frame builder turns them into wire frames), and after a decode the
// analyser's whole state, with the blocks a frame lacks carried forward from
// earlier frames. Readers on other threads get it whole from the sample hub,
// so it is plain data: numbers, flags and pointers to interned texts.
struct NavSample {
  double gyroX = 0, gyroY = 0, gyroZ = 0;  // deg/s
  double accX = 0, accY = 0, accZ = 0;     // g
  double pitch = 0, roll = 0;              // deg, signed
  double yaw = 0;                          // deg; 0..360, or -180..180 with signedHeading
  double velE = 0, velN = 0, velU = 0;     // m/s
  double longitude = 0, latitude = 0;      // deg
  double altitude = 0;                     // m (single precision on the wire)

  // The status byte's five lamps. hasStatus is false after a frame kind that
  // carries no status byte (Frame220): the status texts are then empty.
  bool hasStatus = false;
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

  // Values no frame layout fills; they stay 0 but belong to the set.
  double barometer = 0, satelliteCount = 0, auxValue = 0;
  int64_t auxCount = 0, timeStamp = 0;

  // Texts, interned (see SharedText::Intern); null reads as empty.
  const std::string* sceneText = nullptr;
  const std::string* modeText = nullptr;
  const std::string* frameFormatText = nullptr;
  const std::string* odometerText = nullptr;
  const std::string* velTypeText = nullptr;
  const std::string* extraText[5] = {};

  enum class Kind : uint8_t { None, Frame76, Frame120, Frame220 };
  Kind kind = Kind::None;  // the frame decoded last
  uint64_t sequence = 0;   // 1 for the first decoded frame, counting on
};

static_assert(std::is_trivially_copyable_v<NavSample>);

// The text a sample points at.
inline const std::string& TextOf(const std::string* text) {
  static const std::string empty;
  return text != nullptr ? *text : empty;
}

// The five status lamps, in strip order, and the texts the analyser gives
// them: lit, dark, or empty when the frame had no status byte.
enum class StatusLamp { Init, Correction, GnssDiff, GnssHeading, Odometer };
inline constexpr int kStatusLampCount = 5;
bool LampLit(const NavSample& s, StatusLamp lamp);
const std::string& StatusText(const NavSample& s, StatusLamp lamp);
