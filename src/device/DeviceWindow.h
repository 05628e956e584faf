#pragma once

#include <cstdint>
#include <string>

#include "device/OdometerValueTexts.h"

// What the device session shows in the main window. The window implements
// it; tests fake it. All calls come on the GUI thread.
class DeviceWindow {
 public:
  virtual ~DeviceWindow() = default;

  // A modal message box owned by the main window, captioned with the
  // application's name, OK button. Texts are UTF-8, shown exactly.
  virtual void ShowMessage(const std::string& text) = 0;
  // Enables or disables a main-window control by its template number.
  virtual void EnableControl(int controlId, bool enabled) = 0;
  // The current-scene label (control 1080).
  virtual void SetSceneLabel(const std::string& text) = 0;
  // The odometer dialog's value texts, shown at its next refresh.
  virtual void SetOdometerValueTexts(const OdometerValueTexts& texts) = 0;
  // Each byte the per-byte road handled, for the debug console.
  virtual void EchoHandledByte(uint8_t byte) = 0;
};
