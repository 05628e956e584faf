#pragma once

#include <array>

struct NavSample;

// The quantity group the sensor curve window plots: its three check-box
// captions, its three series titles and the three values it takes from a
// decoded sample.
enum class CurveGroup { Gyro, Accelerometer, Attitude };

inline constexpr int kCurveGroupCount = 3;
inline constexpr int kCurvesPerGroup = 3;

struct CurveGroupTexts {
  const char* captions[kCurvesPerGroup];  // the check boxes
  const char* titles[kCurvesPerGroup];    // the series
};

const CurveGroupTexts& TextsOf(CurveGroup group);
std::array<double, kCurvesPerGroup> ValuesOf(CurveGroup group, const NavSample& sample);
