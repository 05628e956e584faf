#include "mainwindow/OdometerPanel.h"

#include <QPushButton>

#include "device/DeviceSession.h"
#include "mainwindow/ControlMap.h"
#include "mainwindow/LiveDisplay.h"
#include "mainwindow/SessionWindow.h"
#include "mainwindow/TavrikDlgIds.h"
#include "odometer/SetPosition.h"

OdometerPanel::OdometerPanel(QWidget& window, const ControlMap& controls, WindowServices& services,
                             DeviceSession& session, SessionWindow& sessionWindow,
                             LiveDisplay& display)
    : m_window(window),
      m_services(services),
      m_sessionWindow(sessionWindow),
      m_display(display),
      m_dialog(std::make_unique<SetPosition>(session, services, &window)) {
  sessionWindow.SetOdometerDialog(m_dialog.get());
  if (auto* button = controls.As<QPushButton>(MainIds::kOdometerButton)) {
    QObject::connect(button, &QPushButton::clicked, m_dialog.get(), [this] { OnOdometerButton(); });
  }
}

OdometerPanel::~OdometerPanel() {
  m_sessionWindow.SetOdometerDialog(nullptr);
}

void OdometerPanel::OnOdometerButton() {
  // The dialog starts from what the window shows, checked first.
  if (m_display.ReadControls(m_services, &m_window)) m_dialog->OpenFromMainWindow();
}
