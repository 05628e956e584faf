#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PortErrorReporter.h"
#include "WindowServices.h"

namespace Ui {
class TavrikDlg;
}
class CMeter;
class CPorotocalAnalyse;
class CRoundSliderCtrl;
class CSerialPort;
class CommandChannel;
class ControlMap;
class DebugConsole;
class DeviceDialogue;
class KeyboardGate;
class LampArray;
class LiveDisplay;
class PortControl;
class ReceiveDispatcher;

// The main window. It composes the parts of the program and wires them; each
// concern lives in a class of its own.
class CTavrikDlg final : public QDialog, private PortErrorReporter {
 public:
  explicit CTavrikDlg(WindowServices& services, QWidget* parent = nullptr);
  ~CTavrikDlg() override;

  // The start-up sequence. False when the frame parser cannot be started;
  // the window still opens.
  bool Initialise();

  // Work that must be finished before the program ends (a recording to
  // close, say). Runs once the close has been confirmed.
  void AddClosingStep(std::function<void()> step);

  const ControlMap& Controls() const { return *m_controls; }
  ReceiveDispatcher& Receive() { return *m_receive; }
  CommandChannel& Commands() { return *m_commands; }
  PortControl& Port() { return *m_portControl; }
  LiveDisplay& Display() { return *m_display; }
  CSerialPort& SerialPort() { return *m_serial; }
  CPorotocalAnalyse* Analyser() const { return m_analyser; }
  CMeter& Gauge() { return *m_gauge; }
  CRoundSliderCtrl& Dial() { return *m_dial; }
  LampArray& Lamps() { return *m_lamps; }
  const std::string& DeviceVariant() const { return m_deviceVariant; }
  DebugConsole* Console() const { return m_console; }
  DeviceDialogue& Device() { return *m_device; }

  // The periodic ticks, for tests that drive them by hand.
  void InstrumentTick();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ShowPortError(const QString& title, const QString& text, OwnerReceipt receipt) override;

  void PlaceInstruments();
  void ApplyStartupTexts();
  void ReadConfiguration();
  void ConnectControls();
  void StartTicks();
  void StopTicks();
  void OpenDebugConsole();
  void EnterUpgradeMode();
  void ShowAbout();

  WindowServices& m_services;
  std::unique_ptr<Ui::TavrikDlg> m_ui;
  std::unique_ptr<ControlMap> m_controls;
  CMeter* m_gauge = nullptr;
  CRoundSliderCtrl* m_dial = nullptr;
  LampArray* m_lamps = nullptr;
  CPorotocalAnalyse* m_analyser = nullptr;
  std::string m_deviceVariant;
  std::unique_ptr<LiveDisplay> m_display;
  std::unique_ptr<ReceiveDispatcher> m_receive;
  std::unique_ptr<CSerialPort> m_serial;
  std::unique_ptr<PortControl> m_portControl;
  std::unique_ptr<CommandChannel> m_commands;
  std::unique_ptr<DeviceDialogue> m_device;
  KeyboardGate* m_keyboardGate = nullptr;
  DebugConsole* m_console = nullptr;
  TickId m_refreshTick = 0;
  TickId m_instrumentTick = 0;
  std::vector<std::function<void()>> m_closingSteps;
};
