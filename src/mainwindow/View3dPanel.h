#pragma once

#include <memory>

class CMs3dDlg;
class ControlMap;
class CPorotocalAnalyse;
class DeviceSession;
class DisplayPump;
class QWidget;
class WindowServices;

// "3D显示": the model turning with the latest sample's attitude, shown
// modally while the main window's display ticks rest; live frames after.
class View3dPanel {
 public:
  View3dPanel(QWidget& window, const ControlMap& controls, WindowServices& services,
              const CPorotocalAnalyse& analyser, DeviceSession& session, DisplayPump& pump);
  ~View3dPanel();

  void On3dButton();
  // Made when first asked for, so a window never shown costs no GL context.
  CMs3dDlg& Window();

 private:
  QWidget& m_window;
  const CPorotocalAnalyse& m_analyser;
  WindowServices& m_services;
  DeviceSession& m_session;
  DisplayPump& m_pump;
  std::unique_ptr<CMs3dDlg> m_dialog;
};
