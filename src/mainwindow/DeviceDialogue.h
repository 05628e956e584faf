#pragma once

#include <memory>
#include <string>

#include "OdometerPort.h"
#include "ReplyInterpreter.h"
#include "ReplyWindow.h"

class CPorotocalAnalyse;
class CSerialPort;
class CommandChannel;
class ControlMap;
class QWidget;
class ReceiveDispatcher;
class SetPosition;
class WindowServices;

// The window side of talking with the unit: the reply interpreter's and the
// odometer dialog's view of the main window.
class DeviceDialogue final : public ReplyWindow, public OdometerPort {
 public:
  DeviceDialogue(QWidget& window, const ControlMap& controls, WindowServices& services,
                 CSerialPort& port, ReceiveDispatcher& receive, CommandChannel& commands,
                 CPorotocalAnalyse& analyser);
  ~DeviceDialogue() override;

  void SetDeviceVariant(const std::string& variant) { m_interpreter.SetDeviceVariant(variant); }
  void OnReplyByte(uint8_t byte) { m_interpreter.OnReplyByte(byte); }
  // "参数设置...".
  void OpenOdometerDialog();
  SetPosition& OdometerDialog() { return *m_dialog; }

  // ReplyWindow and OdometerPort
  void ShowMessage(const std::string& text) override;
  void EnableControl(int controlId, bool enabled) override;
  void SetSceneLabel(const std::string& text) override;
  void SetOdometerValueTexts(const OdometerValueTexts& texts) override;
  void SetOdometerText(const std::string& text) override;
  bool IsPortOpen() const override;
  void SendDeviceCommand(const std::string& command, ReceiveMode newMode) override;
  void SetReceiveMode(ReceiveMode mode) override;
  void QueueWrite(const std::string& bytes) override;

 private:
  QWidget& m_window;
  const ControlMap& m_controls;
  WindowServices& m_services;
  CSerialPort& m_port;
  ReceiveDispatcher& m_receive;
  CommandChannel& m_commands;
  CPorotocalAnalyse& m_analyser;
  ReplyInterpreter m_interpreter;
  std::unique_ptr<SetPosition> m_dialog;
};
