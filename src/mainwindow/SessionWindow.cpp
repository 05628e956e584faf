#include "mainwindow/SessionWindow.h"

#include "mainwindow/ConsolePanel.h"
#include "mainwindow/ControlMap.h"
#include "mainwindow/TavrikDlgIds.h"
#include "odometer/SetPosition.h"
#include "services/WindowServices.h"

SessionWindow::SessionWindow(QWidget& window, const ControlMap& controls, WindowServices& services,
                             ConsolePanel& console)
    : m_window(window), m_controls(controls), m_services(services), m_console(console) {}

void SessionWindow::ShowMessage(const std::string& text) {
  m_services.MessageBox(&m_window, QString::fromStdString(text));
}

void SessionWindow::EnableControl(int controlId, bool enabled) {
  m_controls.Enable(controlId, enabled);
}

void SessionWindow::SetSceneLabel(const std::string& text) {
  m_controls.SetText(MainIds::kCurrentSceneLabel, QString::fromStdString(text));
}

void SessionWindow::SetOdometerValueTexts(const OdometerValueTexts& texts) {
  if (m_odometer) m_odometer->SetValueTexts(texts);
}

void SessionWindow::EchoHandledByte(uint8_t byte) {
  m_console.PrintHandledByte(byte);
}
