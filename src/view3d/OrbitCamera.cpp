#include "view3d/OrbitCamera.h"

#include <algorithm>
#include <cmath>
#include <numbers>

void OrbitCamera::reset() {
  m_azimuth = 0;
  m_elevation = 0;
  m_distance = kStartDistance;
}

void OrbitCamera::orbit(float azimuthDegrees, float elevationDegrees) {
  m_azimuth = std::remainder(m_azimuth + azimuthDegrees, 360.0f);
  m_elevation = std::clamp(m_elevation + elevationDegrees, -kSteepest, kSteepest);
}

void OrbitCamera::zoom(float steps) {
  m_distance = std::clamp(m_distance * std::pow(0.9f, steps), kNearestDistance, kFarthestDistance);
}

void OrbitCamera::eye(const float target[3], double out[3]) const {
  constexpr double kRadians = std::numbers::pi / 180.0;
  const double azimuth = m_azimuth * kRadians;
  const double elevation = m_elevation * kRadians;
  out[0] = target[0] + m_distance * std::sin(azimuth) * std::cos(elevation);
  out[1] = target[1] + m_distance * std::sin(elevation);
  out[2] = target[2] + m_distance * std::cos(azimuth) * std::cos(elevation);
}
