#include "StaticSample.h"

NavSample StaticSample::Sample() {
  NavSample s;
  s.gyroX = 1.234;
  s.gyroY = -2.345;
  s.gyroZ = 3.456;
  s.accX = 0.01234;
  s.accY = -0.02345;
  s.accZ = 0.98765;
  s.pitch = 1.23;
  s.roll = -4.56;
  s.yaw = 123.45;
  s.velE = 1.2345;
  s.velN = -2.3456;
  s.velU = 0.0123;
  s.longitude = 116.3123456;
  s.latitude = 39.9123456;
  s.altitude = 45.5;
  s.initialised = true;
  s.correctionWorking = true;
  s.gnssDifferential = true;
  s.gnssHeadingFix = true;
  s.odometerConnected = true;
  s.hasGnssPosition = true;
  s.gnssLatitude = 39.9123457;
  s.gnssLongitude = 116.3123457;
  s.gnssAltitude = 45.25;
  s.hasGnssVelocity = true;
  s.gnssVelE = 1.25;
  s.gnssVelN = -2.5;
  s.gnssVelU = 0.125;
  s.hasGnssHeading = true;
  s.gnssHeading = 123.5;
  s.posType = 50;
  s.headType = 50;
  return s;
}

std::string StaticSample::Description() {
  return R"(Values of the --static frame (the frame kind and format still follow
--frame and FRAME commands; yaw follows --signed-heading):
  gyro x, y, z         1.234, -2.345, 3.456 deg/s
  acceleration x, y, z 0.01234, -0.02345, 0.98765 g
  pitch, roll, yaw     1.23, -4.56, 123.45 deg
  velocity E, N, U     1.2345, -2.3456, 0.0123 m/s
  longitude, latitude  116.3123456, 39.9123456 deg; altitude 45.5 m
  status               initialised, correction working, GNSS differential,
                       GNSS heading fix, odometer connected (flags 0xFF)
  GNSS latitude, longitude, altitude  39.9123457, 116.3123457 deg, 45.25 m
  GNSS velocity E, N, U               1.25, -2.5, 0.125 m/s
  GNSS heading                        123.5 deg
  position / heading solution type    50 / 50
)";
}
