#pragma once

// Where the camera stands around the point it looks at: turned by an azimuth
// about the vertical axis, raised by an elevation, at a distance. The
// starting place is 80 units out on +z, level, which is the view the window
// opens with; dragging and the wheel move it from there.
class OrbitCamera {
 public:
  static constexpr float kStartDistance = 80.0f;
  static constexpr float kNearestDistance = 10.0f;
  static constexpr float kFarthestDistance = 800.0f;
  static constexpr float kSteepest = 85.0f;  // degrees; straight down has no "up"

  void reset();
  // Degrees of turn and of rise; the rise stops short of the poles.
  void orbit(float azimuthDegrees, float elevationDegrees);
  // Wheel steps: positive brings the camera closer.
  void zoom(float steps);

  float azimuth() const { return m_azimuth; }
  float elevation() const { return m_elevation; }
  float distance() const { return m_distance; }
  // The eye for a given target point.
  void eye(const float target[3], double out[3]) const;

 private:
  float m_azimuth = 0;
  float m_elevation = 0;
  float m_distance = kStartDistance;
};
