#include "mainwindow/CurvesPanel.h"

#include <QPushButton>

#include "curves/CRealtimeCurveOther.h"
#include "curves/RealtimeCurve.h"
#include "device/DeviceSession.h"
#include "mainwindow/ControlMap.h"
#include "mainwindow/DisplayPump.h"
#include "mainwindow/TavrikDlgIds.h"
#include "services/WindowServices.h"

CurvesPanel::CurvesPanel(QWidget& window, const ControlMap& controls, WindowServices& services,
                         DeviceSession& session, DisplayPump& pump, const SampleHub& samples)
    : m_services(services),
      m_session(session),
      m_pump(pump),
      m_sensorCurve(std::make_unique<RealtimeCurve>(samples, session, services, &window)),
      m_envCurve(std::make_unique<CRealtimeCurveOther>(session, &window)) {
  if (auto* button = controls.As<QPushButton>(MainIds::kCurveButton)) {
    QObject::connect(button, &QPushButton::clicked, m_sensorCurve.get(),
                     [this] { OnSensorCurve(); });
  }
  // The template keeps "曲线2" hidden and nothing here shows it.
  if (auto* button = controls.As<QPushButton>(MainIds::kCurve2Button)) {
    QObject::connect(button, &QPushButton::clicked, m_envCurve.get(), [this] { OnEnvCurve(); });
  }
}

CurvesPanel::~CurvesPanel() = default;

void CurvesPanel::OnSensorCurve() {
  // The frames go to the curves, so the boxes keep their last values.
  m_pump.HoldDisplay(true);
  RunCurveWindow(*m_sensorCurve);
  m_pump.HoldDisplay(false);
}

void CurvesPanel::OnEnvCurve() {
  RunCurveWindow(*m_envCurve);
}

void CurvesPanel::RunCurveWindow(QDialog& dialog) {
  m_pump.Stop();
  m_services.RunModal(dialog);
  // However the showing ended, the window is closed before the display
  // takes over again.
  if (dialog.isVisible()) dialog.reject();
  m_pump.Start();
  m_session.EnterLive();
}
