#pragma once

#include <string>

#include "device/OdometerValueTexts.h"
#include "protocol/ReceiveMode.h"

// What the reply interpreter needs of the main window. The window implements
// it; tests fake it, so every reply is checked without a display. All calls
// come on the window's own thread, one received byte at a time.
class ReplyWindow {
 public:
  virtual ~ReplyWindow() = default;

  // A modal message box owned by the main window, captioned with the
  // application's name, OK button. Texts are UTF-8, shown exactly.
  virtual void ShowMessage(const std::string& text) = 0;

  // Enables or disables a main-window control by its template number.
  virtual void EnableControl(int controlId, bool enabled) = 0;

  // The current-scene label (control 1080).
  virtual void SetSceneLabel(const std::string& text) = 0;

  // The odometer parameter dialog's left, middle and right value texts; the
  // dialog shows them at its next refresh.
  virtual void SetOdometerValueTexts(const OdometerValueTexts& texts) = 0;

  // The analyser's output-rate text, as reported by a status reply.
  virtual void SetOdometerText(const std::string& text) = 0;

  // True while the serial worker is alive.
  virtual bool IsPortOpen() const = 0;

  // The common command path: appends CR LF, queues the line for writing and
  // switches the receive mode; false when the port is closed.
  virtual bool SendDeviceCommand(const std::string& command, ReceiveMode newMode) = 0;

  virtual void SetReceiveMode(ReceiveMode mode) = 0;
};
