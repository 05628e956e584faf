#pragma once

#include <array>
#include <mutex>
#include <string>

#include "ControlMap.h"
#include "PorotocalAnalyse.h"

class LampArray;
class WindowServices;

// The values the main window shows, one per bound control.
struct DisplayValues {
  std::string scene, mode, frameFormat, odometer;
  double pitch = 0, roll = 0, yaw = 0;
  double gyroX = 0, gyroY = 0, gyroZ = 0;
  double accX = 0, accY = 0, accZ = 0;
  std::string initStatus, correctionStatus, gnssDiffStatus, gnssHeadingStatus;
  double barometer = 0, headType = 0, auxValue = 0;
  std::string velType;
  double gnssHeading = 0;
  int satelliteCount = 0;
  double posType = 0;
  double gnssLatitude = 0, gnssLongitude = 0, gnssAltitude = 0;
  double gnssVelE = 0, gnssVelN = 0, gnssVelU = 0;
  double longitude = 0, latitude = 0, altitude = 0;
  double velE = 0, velN = 0, velU = 0;
  std::string extra1, extra2, extra3, extra4, extra5;
};

// The live display: copies the analyser's values into the display values and
// lights the status lamps (on the parser or replay thread), and writes them
// into the controls or reads the controls back (on the GUI thread). The
// values are one snapshot behind a lock, so a refresh never sees a torn text.
class LiveDisplay {
 public:
  LiveDisplay(const ControlMap& controls, LampArray* lamps);

  void CopyToDisplay(const CPorotocalAnalyse& analyser);

  // Members to controls.
  void WriteControls();
  // Controls to members, validating numbers and the attitude ranges; shows
  // the message and returns false on the first bad value.
  bool ReadControls(WindowServices& services, QWidget* owner);

  DisplayValues Values() const;

 private:
  const ControlMap& m_controls;
  LampArray* m_lamps;
  std::array<bool, 5> m_lampLit{};  // as last passed to the strip; copying thread only
  mutable std::mutex m_lock;
  DisplayValues m_values;
};
