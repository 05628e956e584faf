#pragma once

#include <memory>

class DeviceSession;
class LiveDisplay;
class QWidget;
class SessionWindow;
class SetPosition;
class WindowServices;
class ControlMap;

// "参数设置...": the odometer parameter dialog, opened from what the window
// shows once that has been checked. The dialog talks to the unit through the
// device session; the unit's values come back through the session window.
class OdometerPanel {
 public:
  OdometerPanel(QWidget& window, const ControlMap& controls, WindowServices& services,
                DeviceSession& session, SessionWindow& sessionWindow, LiveDisplay& display);
  ~OdometerPanel();

  void OnOdometerButton();
  SetPosition& Dialog() { return *m_dialog; }

 private:
  QWidget& m_window;
  WindowServices& m_services;
  SessionWindow& m_sessionWindow;
  LiveDisplay& m_display;
  std::unique_ptr<SetPosition> m_dialog;
};
