#pragma once

#include <QString>
#include <functional>
#include <string>

#include "ControlMap.h"
#include "ReceiveMode.h"

class CSerialPort;
class ReceiveDispatcher;
class WindowServices;

// The "*PA AUTO" command lines of the main window's buttons and selectors,
// and the free "Send" box. Sending is fire and forget: the reply, if any, is
// routed by the receive mode each command sets.
class CommandChannel {
 public:
  CommandChannel(QWidget& window, const ControlMap& controls, WindowServices& services,
                 CSerialPort& port, ReceiveDispatcher& receive);

  void SetDeviceVariant(const std::string& variant) { m_variant = variant; }
  void SetStopUpdateCheck(std::function<void()> stop) { m_stopUpdateCheck = std::move(stop); }

  // The frame-format, baud, scene and output-rate selectors, by device variant.
  void FillSelectors();

  // Appends CR LF and queues the line; refuses when the port is closed.
  bool SendDeviceCommand(const std::string& command, ReceiveMode newMode);

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

  static char RateCode(const std::string& variant, int index);

  static constexpr int kTextSendLimit = 296 - 3;  // the buffer keeps room for CR LF and NUL
  static constexpr int kHexSendLimit = 512;

 private:
  bool PortOpen() const;
  void RefuseClosedPort();
  // Index of the selector's text among its items, or -1 when it matches none
  // (a typed text), as the unit's argument numbering expects.
  int SelectedIndex(int controlId) const;

  QWidget& m_window;
  const ControlMap& m_controls;
  WindowServices& m_services;
  CSerialPort& m_port;
  ReceiveDispatcher& m_receive;
  std::string m_variant;
  std::function<void()> m_stopUpdateCheck;
};
