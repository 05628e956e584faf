#include "DeviceDialogue.h"

#include "CSerialPort.h"
#include "CommandChannel.h"
#include "ControlMap.h"
#include "PorotocalAnalyse.h"
#include "ReceiveDispatcher.h"
#include "SetPosition.h"
#include "WindowServices.h"

DeviceDialogue::DeviceDialogue(QWidget& window, const ControlMap& controls,
                               WindowServices& services, CSerialPort& port,
                               ReceiveDispatcher& receive, CommandChannel& commands,
                               CPorotocalAnalyse& analyser)
    : m_window(window),
      m_controls(controls),
      m_services(services),
      m_port(port),
      m_receive(receive),
      m_commands(commands),
      m_analyser(analyser),
      m_interpreter(*this, {}),
      m_dialog(std::make_unique<SetPosition>(*this, services, &window)) {}

DeviceDialogue::~DeviceDialogue() = default;

void DeviceDialogue::OpenOdometerDialog() {
  m_dialog->OpenFromMainWindow();
}

void DeviceDialogue::ShowMessage(const std::string& text) {
  m_services.MessageBox(&m_window, QString::fromStdString(text));
}

void DeviceDialogue::EnableControl(int controlId, bool enabled) {
  m_controls.Enable(controlId, enabled);
}

void DeviceDialogue::SetSceneLabel(const std::string& text) {
  m_controls.SetText(1080, QString::fromStdString(text));
}

void DeviceDialogue::SetOdometerValueTexts(const OdometerValueTexts& texts) {
  m_dialog->SetValueTexts(texts);
}

void DeviceDialogue::SetOdometerText(const std::string& text) {
  m_analyser.SetOdometerText(text);
}

bool DeviceDialogue::IsPortOpen() const {
  return m_port.IsWorkerAlive();
}

void DeviceDialogue::SendDeviceCommand(const std::string& command, ReceiveMode newMode) {
  m_commands.SendDeviceCommand(command, newMode);
}

void DeviceDialogue::SetReceiveMode(ReceiveMode mode) {
  m_receive.SetMode(mode);
}

void DeviceDialogue::QueueWrite(const std::string& bytes) {
  m_port.QueueWrite(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}
