#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "tools/unitsim/MotionModel.h"

namespace {

constexpr double kLon = 116.3, kLat = 39.9;
constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;
// Cruise begins when the 8 s ramp from the drive start is over.
constexpr double kCruiseFrom = MotionModel::kDriveStart + 8.0;

TEST(MotionModelTest, StandsStillAtTheStartWhileTheStatusComesUp) {
  const MotionModel model(kLon, kLat, false);
  const NavSample first = model.SampleAt(0.0);
  EXPECT_DOUBLE_EQ(first.longitude, kLon);
  EXPECT_DOUBLE_EQ(first.latitude, kLat);
  EXPECT_FALSE(first.initialised);
  EXPECT_FALSE(first.hasGnssPosition);
  EXPECT_NEAR(first.accZ, 1.0, 1e-9);
  EXPECT_NEAR(first.gyroZ, 0.0, 1e-9);

  const NavSample ready = model.SampleAt(4.5);
  EXPECT_TRUE(ready.initialised && ready.gnssDifferential && ready.gnssHeadingFix);
  EXPECT_FALSE(ready.odometerConnected);
  EXPECT_EQ(ready.posType, 50);
  EXPECT_EQ(ready.headType, 50);
  EXPECT_DOUBLE_EQ(ready.velE, 0.0);
  EXPECT_TRUE(model.SampleAt(MotionModel::kDriveStart + 1).odometerConnected);
}

TEST(MotionModelTest, VelocityPositionAttitudeAndRatesAgreeWhileDriving) {
  const MotionModel model(kLon, kLat, false);
  const double t = kCruiseFrom + 7.3;
  const NavSample s = model.SampleAt(t);
  const NavSample next = model.SampleAt(t + 0.01);

  // Travel is along the heading, at cruise speed.
  EXPECT_NEAR(std::hypot(s.velE, s.velN), MotionModel::kCruiseSpeed, 1e-9);
  EXPECT_NEAR(std::atan2(s.velE, s.velN),
              std::remainder(s.yaw * kRadiansPerDegree, 2 * std::numbers::pi), 1e-9);
  // Position changes by the velocity (metres to degrees near the start).
  const double metresPerDegree = 6378137.0 * kRadiansPerDegree;
  EXPECT_NEAR((next.latitude - s.latitude) * metresPerDegree, s.velN * 0.01, 2e-3);
  EXPECT_NEAR((next.altitude - s.altitude), s.velU * 0.01, 1e-4);
  // A clockwise turn at v/R, seen about an upward z axis.
  EXPECT_NEAR(s.gyroZ, -MotionModel::kCruiseSpeed / MotionModel::kLoopRadius / kRadiansPerDegree,
              1e-9);
  EXPECT_NEAR(next.yaw - s.yaw, -s.gyroZ * 0.01, 1e-6);
  // The centre of the turn is to the right: lateral acceleration v^2/R.
  const double lateralG =
      MotionModel::kCruiseSpeed * MotionModel::kCruiseSpeed / MotionModel::kLoopRadius / 9.80665;
  EXPECT_NEAR(s.accX, lateralG, 0.01);
  EXPECT_NEAR(s.pitch, std::atan2(s.velU, MotionModel::kCruiseSpeed) / kRadiansPerDegree, 1e-9);
  // The GNSS blocks carry the same solution.
  EXPECT_DOUBLE_EQ(s.gnssLatitude, s.latitude);
  EXPECT_DOUBLE_EQ(s.gnssVelE, s.velE);
  EXPECT_DOUBLE_EQ(s.gnssHeading, s.yaw);
}

TEST(MotionModelTest, TheLoopEndsAtTheStartAndSignedHeadingsStayInRange) {
  const MotionModel model(kLon, kLat, true);
  // The ramp covers 32 m; the rest of the 314 m circle at cruise speed.
  const double lapDone = kCruiseFrom + (2 * std::numbers::pi * MotionModel::kLoopRadius - 32.0) /
                                           MotionModel::kCruiseSpeed;
  EXPECT_NEAR(model.SampleAt(lapDone).longitude, kLon, 1e-9);
  EXPECT_NEAR(model.SampleAt(lapDone).latitude, kLat, 1e-9);
  for (double t = kCruiseFrom; t < lapDone; t += 0.5) {
    EXPECT_GE(model.SampleAt(t).yaw, -180.0);
    EXPECT_LT(model.SampleAt(t).yaw, 180.0);
  }
}

}  // namespace
