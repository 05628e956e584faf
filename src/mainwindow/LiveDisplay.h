#pragma once

#include <array>

#include "mainwindow/ControlMap.h"
#include "protocol/NavSample.h"

class LampArray;
class WindowServices;

// The main window's numbers, texts and status lamps, written from one sample
// on the GUI thread. What is shown is kept as a sample too, so reading the
// boxes back (before the odometer dialog opens) validates into it.
class LiveDisplay {
 public:
  LiveDisplay(const ControlMap& controls, LampArray* lamps);

  // Sample to controls and lamps; boxes and lamps that keep their state are
  // not touched.
  void Show(const NavSample& sample);
  // The shown values to the controls again.
  void WriteControls();
  // Controls to the shown values, validating numbers and the attitude
  // ranges; shows the message and returns false on the first bad value.
  bool ReadControls(WindowServices& services, QWidget* owner);

  const NavSample& Values() const { return m_shown; }

 private:
  void ShowLamps();

  const ControlMap& m_controls;
  LampArray* m_lamps;
  NavSample m_shown;
  std::array<bool, kStatusLampCount> m_lampLit{};  // as last passed to the strip
};
