#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class ControlMap;
class DeviceProfile;
class DeviceSession;
class DisplayPump;
class QWidget;
class WindowServices;

// The "*PA AUTO" command buttons and selectors of the main window, and the
// free "Send" box. Sending is fire and forget: the reply, if any, is routed
// by the receive mode each command sets through the device session.
class CommandChannel {
 public:
  CommandChannel(QWidget& window, const ControlMap& controls, WindowServices& services,
                 DeviceSession& session, DisplayPump& display);

  void SetStopUpdateCheck(std::function<void()> stop) { m_stopUpdateCheck = std::move(stop); }

  // The frame-format, baud, scene and output-rate selectors, by device variant.
  void FillSelectors();

  void OnStopOutput();
  void OnStartOutput();
  void OnFactoryReset();
  void OnSetFrameFormat();
  void OnSetBaud();
  void OnSetScene();
  void OnSetRate();
  void OnQuerySerialNumber();
  void OnSend();
  void AppendFrameFormat6();

  static constexpr int kTextSendLimit = 296 - 3;  // the buffer keeps room for CR LF and NUL
  static constexpr int kHexSendLimit = 512;

 private:
  void ConnectButtons();
  bool PortOpen() const;
  void RefuseClosedPort();

  QWidget& m_window;
  const ControlMap& m_controls;
  WindowServices& m_services;
  DeviceSession& m_session;
  DisplayPump& m_display;
  std::function<void()> m_stopUpdateCheck;
  QObject m_context;
};
