#pragma once

#include <memory>

class ControlMap;
class CRealtimeCurveOther;
class DeviceSession;
class DisplayPump;
class QDialog;
class QWidget;
class RealtimeCurve;
class SampleHub;
class WindowServices;

// "曲线" and the hidden "曲线2": the sensor and the environment curve
// windows, shown modally. While one is open the display ticks stand still,
// so the main window's numbers wait; afterwards the ticks run again and the
// session is back on the live display. The windows live as long as the
// main window, and with them the curve window's point counter.
class CurvesPanel {
 public:
  CurvesPanel(QWidget& window, const ControlMap& controls, WindowServices& services,
              DeviceSession& session, DisplayPump& pump, const SampleHub& samples);
  ~CurvesPanel();

  void OnSensorCurve();
  void OnEnvCurve();

  RealtimeCurve& SensorCurveWindow() { return *m_sensorCurve; }
  CRealtimeCurveOther& EnvCurveWindow() { return *m_envCurve; }

 private:
  void RunCurveWindow(QDialog& dialog);

  WindowServices& m_services;
  DeviceSession& m_session;
  DisplayPump& m_pump;
  std::unique_ptr<RealtimeCurve> m_sensorCurve;
  std::unique_ptr<CRealtimeCurveOther> m_envCurve;
};
