#pragma once

#include "device/DeviceWindow.h"

class ConsolePanel;
class ControlMap;
class QWidget;
class SetPosition;
class WindowServices;

// The device session's view of the main window: its boxes, buttons, scene
// label, the odometer dialog's values and the debug console.
class SessionWindow final : public DeviceWindow {
 public:
  SessionWindow(QWidget& window, const ControlMap& controls, WindowServices& services,
                ConsolePanel& console);

  void SetOdometerDialog(SetPosition* dialog) { m_odometer = dialog; }

  void ShowMessage(const std::string& text) override;
  void EnableControl(int controlId, bool enabled) override;
  void SetSceneLabel(const std::string& text) override;
  void SetOdometerValueTexts(const OdometerValueTexts& texts) override;
  void EchoHandledByte(uint8_t byte) override;

 private:
  QWidget& m_window;
  const ControlMap& m_controls;
  WindowServices& m_services;
  ConsolePanel& m_console;
  SetPosition* m_odometer = nullptr;
};
