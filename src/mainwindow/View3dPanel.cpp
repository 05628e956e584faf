#include "mainwindow/View3dPanel.h"

#include <QPushButton>

#include "device/DeviceSession.h"
#include "mainwindow/ControlMap.h"
#include "mainwindow/DisplayPump.h"
#include "mainwindow/TavrikDlgIds.h"
#include "protocol/PorotocalAnalyse.h"
#include "view3d/CMs3dDlg.h"

View3dPanel::View3dPanel(QWidget& window, const ControlMap& controls, WindowServices& services,
                         const CPorotocalAnalyse& analyser, DeviceSession& session,
                         DisplayPump& pump)
    : m_window(window),
      m_analyser(analyser),
      m_services(services),
      m_session(session),
      m_pump(pump) {
  if (auto* button = controls.As<QPushButton>(MainIds::kView3dButton)) {
    QObject::connect(button, &QPushButton::clicked, &window, [this] { On3dButton(); });
  }
}

View3dPanel::~View3dPanel() = default;

CMs3dDlg& View3dPanel::Window() {
  if (!m_dialog) {
    auto attitude = [this](double& pitch, double& roll, double& yaw) {
      NavSample sample;
      if (!m_analyser.Snapshot(sample)) return false;
      pitch = sample.pitch;
      roll = sample.roll;
      yaw = sample.yaw;
      return true;
    };
    m_dialog = std::make_unique<CMs3dDlg>(m_services, attitude, &m_window);
  }
  return *m_dialog;
}

void View3dPanel::On3dButton() {
  m_pump.Stop();
  m_services.RunModal(Window());
  m_pump.Start();
  m_session.EnterLive();
}
