#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

#include "serial/PortErrorReporter.h"
#include "services/WindowServices.h"

namespace Ui {
class TavrikDlg;
}
class CMeter;
class CommandChannel;
class ConsolePanel;
class ControlMap;
class ConversionPanel;
class CurvesPanel;
class CPorotocalRtkAnalyse;
class CRoundSliderCtrl;
class CSerialPort;
class DeviceSession;
class DisplayPump;
class GrowingConsole;
class KeyboardGate;
class LampArray;
class LinkStatusPanel;
class LiveDisplay;
class RecorderPanel;
class ReplayPanel;
class MapPanel;
class UpdatePanel;
class UpgradePanel;
class View3dPanel;
class OdometerPanel;
class PortControl;
class ReceiveModeSwitch;
class ReceivePipeline;
class SampleHub;
class SerialDeviceLink;
class SerialReceiver;
class SessionWindow;

// The main window. It composes the parts of the program and wires them; each
// concern lives in a panel of its own.
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
  CPorotocalRtkAnalyse& Analyser() const { return *m_analyser; }
  SampleHub& Samples() const;
  ReceivePipeline& Pipeline() { return *m_pipeline; }
  DeviceSession& Session() { return *m_session; }
  CommandChannel& Commands() { return *m_commands; }
  PortControl& Port() { return *m_portControl; }
  LiveDisplay& Display() { return *m_display; }
  DisplayPump& Pump() { return *m_pump; }
  ConsolePanel& ConsoleArea() { return *m_consolePanel; }
  OdometerPanel& Odometer() { return *m_odometer; }
  RecorderPanel& Recorder() { return *m_recorder; }
  ReplayPanel& Replay() { return *m_replay; }
  LinkStatusPanel& LinkStatus() { return *m_linkStatus; }
  MapPanel& Map() { return *m_map; }
  CurvesPanel& Curves() { return *m_curves; }
  View3dPanel& View3d() { return *m_view3d; }
  UpdatePanel& Update() { return *m_update; }
  UpgradePanel& Upgrade() { return *m_upgrade; }
  ConversionPanel& Conversion() { return *m_conversion; }
  CSerialPort& SerialPort() { return *m_serial; }
  CMeter& Gauge() { return *m_gauge; }
  CRoundSliderCtrl& Dial() { return *m_dial; }
  LampArray& Lamps() { return *m_lamps; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ShowPortError(const QString& title, const QString& text, OwnerReceipt receipt) override;

  void PlaceInstruments();
  void ApplyStartupTexts();
  void ReadConfiguration();
  void ShowAbout();
  void Shutdown();

  WindowServices& m_services;
  std::unique_ptr<Ui::TavrikDlg> m_ui;
  std::unique_ptr<ControlMap> m_controls;
  CMeter* m_gauge = nullptr;
  CRoundSliderCtrl* m_dial = nullptr;
  LampArray* m_lamps = nullptr;
  CPorotocalRtkAnalyse* m_analyser = nullptr;
  std::unique_ptr<LiveDisplay> m_display;
  std::unique_ptr<DisplayPump> m_pump;
  std::unique_ptr<ReceiveModeSwitch> m_mode;
  std::unique_ptr<ReceivePipeline> m_pipeline;
  std::unique_ptr<CSerialPort> m_serial;
  std::unique_ptr<SerialDeviceLink> m_link;
  std::unique_ptr<ConsolePanel> m_consolePanel;
  std::unique_ptr<SessionWindow> m_sessionWindow;
  std::unique_ptr<DeviceSession> m_session;
  std::unique_ptr<SerialReceiver> m_receiver;
  std::unique_ptr<PortControl> m_portControl;
  std::unique_ptr<CommandChannel> m_commands;
  std::unique_ptr<OdometerPanel> m_odometer;
  std::unique_ptr<RecorderPanel> m_recorder;
  std::unique_ptr<ReplayPanel> m_replay;
  std::unique_ptr<LinkStatusPanel> m_linkStatus;
  std::unique_ptr<CurvesPanel> m_curves;
  std::unique_ptr<MapPanel> m_map;
  std::unique_ptr<View3dPanel> m_view3d;
  std::unique_ptr<UpdatePanel> m_update;
  std::unique_ptr<UpgradePanel> m_upgrade;
  std::unique_ptr<ConversionPanel> m_conversion;
  std::unique_ptr<GrowingConsole> m_growingConsole;
  KeyboardGate* m_keyboardGate = nullptr;
  std::vector<std::function<void()>> m_closingSteps;
};
