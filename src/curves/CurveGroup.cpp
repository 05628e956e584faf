#include "curves/CurveGroup.h"

#include "protocol/NavSample.h"

const CurveGroupTexts& TextsOf(CurveGroup group) {
  static const CurveGroupTexts kGyro{{"Gyro-x", "Gyro-y", "Gyro-z"}, {"Gx", "Gy", "Gz"}};
  static const CurveGroupTexts kAcc{{"Acc-x", "Acc-y", "Acc-z"}, {"Ax", "Ay", "Az"}};
  static const CurveGroupTexts kAttitude{{"Pitch", "Roll", "Yaw"}, {"Pitch", "Roll", "Yaw"}};
  switch (group) {
    case CurveGroup::Accelerometer:
      return kAcc;
    case CurveGroup::Attitude:
      return kAttitude;
    case CurveGroup::Gyro:
      break;
  }
  return kGyro;
}

std::array<double, kCurvesPerGroup> ValuesOf(CurveGroup group, const NavSample& s) {
  switch (group) {
    case CurveGroup::Accelerometer:
      return {s.accX, s.accY, s.accZ};
    case CurveGroup::Attitude:
      return {s.pitch, s.roll, s.yaw};
    case CurveGroup::Gyro:
      break;
  }
  return {s.gyroX, s.gyroY, s.gyroZ};
}
