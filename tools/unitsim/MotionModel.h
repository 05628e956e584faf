#pragma once

#include "protocol/FrameBuilder.h"

// A vehicle that stands still while the unit initialises and then drives a
// clockwise circle that starts and ends at the start position. Every value of
// a sample follows from the same trajectory: attitude from the direction of
// travel and the slope, rates from the change of attitude, accelerations from
// the change of velocity plus gravity, GNSS blocks equal to the navigation
// solution, status bits switching on as a real unit's do.
class MotionModel {
 public:
  static constexpr double kLoopRadius = 50.0;     // m
  static constexpr double kCruiseSpeed = 8.0;     // m/s
  static constexpr double kAcceleration = 1.0;    // m/s^2
  static constexpr double kDriveStart = 5.0;      // s
  static constexpr double kHillHeight = 2.0;      // m
  static constexpr double kStartAltitude = 50.0;  // m

  MotionModel(double startLongitude, double startLatitude, bool signedHeading);

  NavSample SampleAt(double seconds) const;

 private:
  struct Pose {
    double east = 0, north = 0, up = 0;  // m from the start position
    double speed = 0, acceleration = 0;  // along the path
    double heading = 0;                  // rad, clockwise from north
    double turnRate = 0;                 // rad/s
    double climbRate = 0;                // m/s
    double pitch = 0, roll = 0;          // rad
  };
  Pose PoseAt(double seconds) const;
  void SetStatus(NavSample& s, double seconds) const;

  double m_startLongitude;
  double m_startLatitude;
  bool m_signedHeading;
};
