#include "device/DeviceSession.h"

#include "device/DeviceLink.h"
#include "device/DeviceWindow.h"
#include "device/FirmwareTexts.h"
#include "device/UpgradeWindow.h"
#include "protocol/PorotocalAnalyse.h"
#include "protocol/ReceiveModeSwitch.h"

DeviceSession::DeviceSession(ReceiveModeSwitch& mode, DeviceLink& link, DeviceWindow& window,
                             CPorotocalAnalyse& analyser)
    : m_mode(mode),
      m_link(link),
      m_window(window),
      m_analyser(analyser),
      m_interpreter(*this, DeviceVariant::Other) {}

void DeviceSession::SetProfile(DeviceProfile profile) {
  m_profile = std::move(profile);
  m_interpreter.SetDeviceVariant(m_profile.Variant());
}

ReceiveMode DeviceSession::Mode() const {
  return m_mode.Get();
}

void DeviceSession::Switch(ReceiveMode mode) {
  m_mode.Set(mode);
}

// While the boot loader has the line, a command or another transfer would
// break the image half sent, and a window's mode change would take the
// loader's answers away from it.
bool DeviceSession::RefuseDuringUpgrade() {
  if (!m_loader.Running()) return false;
  m_window.ShowMessage(kUpgradeRunningMessage);
  return true;
}

void DeviceSession::SwitchUnlessUpgrading(ReceiveMode mode) {
  if (!m_loader.Running()) Switch(mode);
}

bool DeviceSession::SendDeviceCommand(const std::string& command, ReceiveMode newMode) {
  if (!m_link.IsOpen()) {
    m_window.ShowMessage(kPortClosedMessage);
    return false;
  }
  if (RefuseDuringUpgrade()) return false;
  Switch(newMode);
  const std::string line = command + "\r\n";
  m_link.Write(reinterpret_cast<const uint8_t*>(line.data()), line.size(), true);
  return true;
}

bool DeviceSession::SendBytes(const uint8_t* bytes, size_t count) {
  if (!m_link.IsOpen()) {
    m_window.ShowMessage(kPortClosedMessage);
    return false;
  }
  if (RefuseDuringUpgrade()) return false;
  // The box's text may well be a command, so it gets a command's clean line.
  return m_link.Write(bytes, count, true);
}

void DeviceSession::OnPortOpened() {
  Switch(ReceiveMode::Idle);
}

void DeviceSession::EnterUpgradeMode() {
  SwitchUnlessUpgrading(ReceiveMode::Upgrade);
}

void DeviceSession::EnterLive() {
  SwitchUnlessUpgrading(ReceiveMode::Live);
}

void DeviceSession::EnterSensorCurve() {
  SwitchUnlessUpgrading(ReceiveMode::SensorCurve);
}

void DeviceSession::EnterEnvCurve() {
  SwitchUnlessUpgrading(ReceiveMode::EnvCurve);
}

void DeviceSession::EnterIdle() {
  SwitchUnlessUpgrading(ReceiveMode::Idle);
}

size_t DeviceSession::OnSerialBytes(const uint8_t* bytes, size_t count) {
  size_t handled = 0;
  for (; handled < count; ++handled) {
    const ReceiveMode mode = Mode();
    if (!IsPerByteMode(mode)) break;
    const uint8_t byte = bytes[handled];
    if (mode == ReceiveMode::Upgrade) CarryOut(m_loader.OnUpgradeByte(byte));
    // The loader may have ended the upgrade; the reply interpreter only
    // takes what arrives while replies are expected.
    if (Mode() == ReceiveMode::Command) m_interpreter.OnReplyByte(byte);
    m_window.EchoHandledByte(byte);
  }
  return handled;
}

bool DeviceSession::StartUpgrade(const std::filesystem::path& imagePath,
                                 const std::string& announcedName) {
  if (!m_link.IsOpen()) {
    m_window.ShowMessage(kPortClosedMessage);
    return false;
  }
  if (RefuseDuringUpgrade()) return false;
  const ReceiveMode before = Mode();
  // The unit's answers to "reset!" must take the per-byte road from the start.
  Switch(ReceiveMode::Upgrade);
  std::optional<FirmwareLoaderActions> actions = m_loader.StartFromFile(imagePath, announcedName);
  if (!actions) {
    Switch(before);
    m_window.ShowMessage(FirmwareTexts::kImageNotRead);
    return false;
  }
  CarryOut(*actions);
  return true;
}

void DeviceSession::TickUpgrade() {
  if (m_loader.Running()) CarryOut(m_loader.Tick());
}

void DeviceSession::OnPortClosed() {
  if (m_loader.Running()) CarryOut(m_loader.PortLost());
}

void DeviceSession::CarryOut(const FirmwareLoaderActions& actions) {
  for (const FirmwareLoaderAction& action : actions) {
    switch (action.kind) {
      case FirmwareLoaderAction::Kind::Write:
        m_link.Write(action.bytes.data(), action.bytes.size(), action.purgeInputFirst);
        break;
      case FirmwareLoaderAction::Kind::Label:
        if (m_upgradeWindow) m_upgradeWindow->SetUpgradeLabel(action.text, action.labelVisible);
        break;
      case FirmwareLoaderAction::Kind::Progress:
        if (m_upgradeWindow) m_upgradeWindow->ShowUpgradeProgress(m_loader.Progress());
        break;
      case FirmwareLoaderAction::Kind::Finished:
        Switch(ReceiveMode::Idle);
        if (m_upgradeWindow) m_upgradeWindow->UpgradeFinished(action.text, m_loader.Progress());
        break;
      case FirmwareLoaderAction::Kind::Failed:
        Switch(ReceiveMode::Idle);
        if (m_upgradeWindow) m_upgradeWindow->UpgradeFailed(action.text);
        break;
    }
  }
}

bool DeviceSession::IsPortOpen() const {
  return m_link.IsOpen();
}

void DeviceSession::QueueWrite(const std::string& bytes) {
  m_link.Write(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), true);
}

void DeviceSession::SetReceiveMode(ReceiveMode mode) {
  SwitchUnlessUpgrading(mode);
}

void DeviceSession::ShowMessage(const std::string& text) {
  m_window.ShowMessage(text);
}

void DeviceSession::EnableControl(int controlId, bool enabled) {
  m_window.EnableControl(controlId, enabled);
}

void DeviceSession::SetSceneLabel(const std::string& text) {
  m_window.SetSceneLabel(text);
}

void DeviceSession::SetOdometerValueTexts(const OdometerValueTexts& texts) {
  m_window.SetOdometerValueTexts(texts);
}

void DeviceSession::SetOdometerText(const std::string& text) {
  m_analyser.SetOdometerText(text);
}
