#include "MotionModel.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kGravity = 9.80665;
constexpr double kEarthRadius = 6378137.0;
constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
// Body roll per g of lateral acceleration: the body leans out of the turn.
constexpr double kRollPerLateralG = -3.0 / kDegreesPerRadian;
// Step for the rates, which are differences of attitude.
constexpr double kRateStep = 1e-3;

double DistanceAt(double seconds, double& speed, double& acceleration) {
  const double t = seconds - MotionModel::kDriveStart;
  const double rampTime = MotionModel::kCruiseSpeed / MotionModel::kAcceleration;
  if (t <= 0) {
    speed = acceleration = 0;
    return 0;
  }
  if (t < rampTime) {
    acceleration = MotionModel::kAcceleration;
    speed = acceleration * t;
    return 0.5 * acceleration * t * t;
  }
  acceleration = 0;
  speed = MotionModel::kCruiseSpeed;
  return 0.5 * MotionModel::kCruiseSpeed * rampTime + speed * (t - rampTime);
}

double WrapDegrees(double degrees, bool signedRange) {
  double wrapped = std::fmod(degrees, 360.0);
  if (wrapped < 0) wrapped += 360.0;
  if (signedRange && wrapped >= 180.0) wrapped -= 360.0;
  return wrapped;
}

}  // namespace

MotionModel::MotionModel(double startLongitude, double startLatitude, bool signedHeading)
    : m_startLongitude(startLongitude),
      m_startLatitude(startLatitude),
      m_signedHeading(signedHeading) {}

MotionModel::Pose MotionModel::PoseAt(double seconds) const {
  Pose p;
  const double distance = DistanceAt(seconds, p.speed, p.acceleration);
  // The angle travelled round the circle, whose centre lies kLoopRadius east
  // of the start; the drive starts heading north.
  const double angle = distance / kLoopRadius;
  p.east = kLoopRadius - kLoopRadius * std::cos(angle);
  p.north = kLoopRadius * std::sin(angle);
  p.up = kHillHeight * std::sin(angle);
  p.heading = angle;
  p.turnRate = p.speed / kLoopRadius;
  p.climbRate = kHillHeight * std::cos(angle) * p.turnRate;
  p.pitch = p.speed > 0 ? std::atan2(p.climbRate, p.speed) : 0.0;
  p.roll = kRollPerLateralG * (p.speed * p.turnRate) / kGravity;
  return p;
}

NavSample MotionModel::SampleAt(double seconds) const {
  const Pose p = PoseAt(seconds);
  const Pose before = PoseAt(seconds - kRateStep);
  const Pose after = PoseAt(seconds + kRateStep);
  NavSample s;

  s.pitch = p.pitch * kDegreesPerRadian;
  s.roll = p.roll * kDegreesPerRadian;
  s.yaw = WrapDegrees(p.heading * kDegreesPerRadian, m_signedHeading);
  s.signedHeading = m_signedHeading;
  s.gyroX = (after.pitch - before.pitch) / (2 * kRateStep) * kDegreesPerRadian;
  s.gyroY = (after.roll - before.roll) / (2 * kRateStep) * kDegreesPerRadian;
  // z points up, so a clockwise turn is a negative rate.
  s.gyroZ = -p.turnRate * kDegreesPerRadian;

  s.velE = p.speed * std::sin(p.heading);
  s.velN = p.speed * std::cos(p.heading);
  s.velU = p.climbRate;

  // Specific force in east-north-up: the vehicle's acceleration (along the
  // path, toward the centre on the right, and vertical) plus gravity's
  // reaction; then seen along the body axes.
  const double sinH = std::sin(p.heading), cosH = std::cos(p.heading);
  const double lateral = p.speed * p.turnRate;
  const double vertical = (after.climbRate - before.climbRate) / (2 * kRateStep);
  const double force[3] = {p.acceleration * sinH + lateral * cosH,
                           p.acceleration * cosH - lateral * sinH, vertical + kGravity};
  const double forwardH[3] = {sinH, cosH, 0}, rightH[3] = {cosH, -sinH, 0}, up[3] = {0, 0, 1};
  const double cp = std::cos(p.pitch), sp = std::sin(p.pitch);
  const double cr = std::cos(p.roll), sr = std::sin(p.roll);
  double forward[3], upPitched[3], right[3], upBody[3];
  for (int i = 0; i < 3; ++i) {
    forward[i] = cp * forwardH[i] + sp * up[i];
    upPitched[i] = -sp * forwardH[i] + cp * up[i];
    right[i] = cr * rightH[i] - sr * upPitched[i];
    upBody[i] = sr * rightH[i] + cr * upPitched[i];
  }
  auto along = [&](const double axis[3]) {
    return (force[0] * axis[0] + force[1] * axis[1] + force[2] * axis[2]) / kGravity;
  };
  s.accX = along(right);
  s.accY = along(forward);
  s.accZ = along(upBody);

  const double latitudeRadians = m_startLatitude / kDegreesPerRadian;
  s.latitude = m_startLatitude + p.north / kEarthRadius * kDegreesPerRadian;
  s.longitude =
      m_startLongitude + p.east / (kEarthRadius * std::cos(latitudeRadians)) * kDegreesPerRadian;
  s.altitude = kStartAltitude + p.up;

  SetStatus(s, seconds);
  return s;
}

void MotionModel::SetStatus(NavSample& s, double seconds) const {
  s.hasGnssPosition = s.hasGnssVelocity = seconds >= 1.0;
  s.correctionWorking = s.gnssDifferential = seconds >= 2.0;
  s.initialised = seconds >= 3.0;
  s.gnssHeadingFix = s.hasGnssHeading = seconds >= 4.0;
  s.odometerConnected = seconds >= kDriveStart;

  s.posType = s.gnssDifferential ? 50 : (s.hasGnssPosition ? 16 : 0);
  s.headType = s.gnssHeadingFix ? 50 : 0;
  s.gnssLatitude = s.latitude;
  s.gnssLongitude = s.longitude;
  s.gnssAltitude = s.altitude;
  s.gnssVelE = s.velE;
  s.gnssVelN = s.velN;
  s.gnssVelU = s.velU;
  s.gnssHeading = WrapDegrees(s.yaw, false);
}
