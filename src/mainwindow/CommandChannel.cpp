#include "mainwindow/CommandChannel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <vector>

#include "device/DeviceSession.h"
#include "device/UnitCommands.h"
#include "mainwindow/ControlMap.h"
#include "mainwindow/DisplayPump.h"
#include "mainwindow/TavrikDlgIds.h"
#include "protocol/HexText.h"
#include "services/WindowServices.h"

namespace {

using namespace MainIds;

void Fill(QComboBox* combo, const QStringList& items, int selected) {
  if (combo == nullptr) return;
  combo->clear();
  combo->addItems(items);
  combo->setCurrentIndex(selected);
}

template <size_t N>
QStringList TextsOf(const std::array<const char*, N>& choices) {
  QStringList texts;
  for (const char* choice : choices) texts << QString::fromUtf8(choice);
  return texts;
}

}  // namespace

CommandChannel::CommandChannel(QWidget& window, const ControlMap& controls,
                               WindowServices& services, DeviceSession& session,
                               DisplayPump& display)
    : m_window(window),
      m_controls(controls),
      m_services(services),
      m_session(session),
      m_display(display) {
  ConnectButtons();
}

void CommandChannel::ConnectButtons() {
  const std::pair<int, void (CommandChannel::*)()> handlers[] = {
      {kStartOutputButton, &CommandChannel::OnStartOutput},
      {kStopOutputButton, &CommandChannel::OnStopOutput},
      {kFactoryResetButton, &CommandChannel::OnFactoryReset},
      {kFrameFormatSetButton, &CommandChannel::OnSetFrameFormat},
      {kBaudSetButton, &CommandChannel::OnSetBaud},
      {kSceneSetButton, &CommandChannel::OnSetScene},
      {kRateSetButton, &CommandChannel::OnSetRate},
      {kSerialNumberButton, &CommandChannel::OnQuerySerialNumber},
      {kSendButton, &CommandChannel::OnSend},
  };
  for (const auto& [id, handler] : handlers) {
    if (auto* button = m_controls.As<QPushButton>(id)) {
      QObject::connect(button, &QPushButton::clicked, &m_context,
                       [this, handler = handler] { (this->*handler)(); });
    }
  }
}

void CommandChannel::FillSelectors() {
  Fill(m_controls.As<QComboBox>(kFrameFormatCombo), TextsOf(UnitCommands::kFrameFormats), 0);
  Fill(m_controls.As<QComboBox>(kBaudSettingCombo), TextsOf(UnitCommands::kBaudRates), 0);
  Fill(m_controls.As<QComboBox>(kSceneCombo), TextsOf(UnitCommands::kScenes), 0);
  const DeviceProfile& profile = m_session.Profile();
  QStringList rates;
  for (const RateCode& rate : profile.Rates()) {
    rates << QString::fromStdString(DeviceProfile::RateText(rate));
  }
  Fill(m_controls.As<QComboBox>(kRateCombo), rates, profile.DefaultRateIndex());
}

bool CommandChannel::PortOpen() const {
  return m_session.IsPortOpen();
}

void CommandChannel::RefuseClosedPort() {
  m_services.MessageBox(&m_window, QString::fromUtf8(DeviceSession::kPortClosedMessage));
}

void CommandChannel::OnStopOutput() {
  if (m_session.SendDeviceCommand(UnitCommands::kStopOutput, ReceiveMode::Command)) {
    m_display.SetDisplayEnabled(false);
  }
}

void CommandChannel::OnStartOutput() {
  if (!m_session.SendDeviceCommand(UnitCommands::kStartOutput, ReceiveMode::Live)) return;
  m_display.SetDisplayEnabled(true);
  for (int id : {kStartOutputButton, kFrameFormatSetButton, kBaudSetButton, kRateSetButton,
                 kSceneSetButton, kFactoryResetButton, kOdometerButton}) {
    m_controls.Enable(id, false);
  }
  m_controls.Enable(kStopOutputButton, true);
  if (m_stopUpdateCheck) m_stopUpdateCheck();
}

void CommandChannel::OnFactoryReset() {
  m_session.SendDeviceCommand(UnitCommands::kFactoryReset, ReceiveMode::Command);
}

void CommandChannel::OnSetFrameFormat() {
  if (!PortOpen()) {
    RefuseClosedPort();
    return;
  }
  const auto command = UnitCommands::FrameFormat(m_controls.Text(kFrameFormatCombo).toStdString());
  if (!command) {
    m_services.MessageBox(&m_window, QStringLiteral("帧格式不完整，请选择帧格式后再设置。"));
    return;
  }
  m_session.SendDeviceCommand(*command, ReceiveMode::Command);
}

void CommandChannel::OnSetBaud() {
  if (!PortOpen()) {
    RefuseClosedPort();
    return;
  }
  const QString text = m_controls.Text(kBaudSettingCombo);
  const auto command = UnitCommands::Baud(text.toStdString());
  if (!command) {
    m_services.MessageBox(&m_window, QStringLiteral("波特率“%1”无效，未发送！\n").arg(text));
    return;
  }
  m_session.SendDeviceCommand(*command, ReceiveMode::Command);
}

void CommandChannel::OnSetScene() {
  m_session.SendDeviceCommand(UnitCommands::Scene(m_controls.Text(kSceneCombo).toStdString()),
                              ReceiveMode::Command);
}

void CommandChannel::OnSetRate() {
  if (!PortOpen()) {
    RefuseClosedPort();
    return;
  }
  const QString text = m_controls.Text(kRateCombo);
  const std::optional<char> code = m_session.Profile().CodeForRateText(text.toStdString());
  if (!code) {
    m_services.MessageBox(&m_window, QStringLiteral("输出频率“%1”无效，未发送！\n").arg(text));
    return;
  }
  m_session.SendDeviceCommand(UnitCommands::OutputRate(*code), ReceiveMode::Command);
}

void CommandChannel::OnQuerySerialNumber() {
  m_session.SendDeviceCommand(UnitCommands::kQuerySerialNumber, ReceiveMode::Command);
}

void CommandChannel::OnSend() {
  const auto* hexBox = m_controls.As<QCheckBox>(kHexSendCheck);
  const bool hex = hexBox != nullptr && hexBox->isChecked();
  const QByteArray text = m_controls.Text(kSendEdit).toUtf8();
  if (hex) {
    std::vector<uint8_t> bytes(size_t(text.size()) / 2 + 1);
    bytes.resize(DecodeHexText(text.constData(), size_t(text.size()), bytes.data()));
    if (bytes.size() > size_t(kHexSendLimit)) {
      m_services.MessageBox(
          &m_window,
          QStringLiteral("十六进制数据过长，最多发送 %1 字节，未发送。").arg(kHexSendLimit));
      return;
    }
    m_session.SendBytes(bytes.data(), bytes.size());
    return;
  }
  if (!PortOpen()) {
    RefuseClosedPort();
    return;
  }
  if (text.size() > kTextSendLimit) {
    m_services.MessageBox(
        &m_window, QStringLiteral("发送内容过长，最多 %1 个字节，未发送。").arg(kTextSendLimit));
    return;
  }
  const QByteArray line = text + "\r\n";
  m_session.SendBytes(reinterpret_cast<const uint8_t*>(line.constData()), size_t(line.size()));
}

void CommandChannel::AppendFrameFormat6() {
  if (auto* combo = m_controls.As<QComboBox>(kFrameFormatCombo)) {
    combo->addItem(QStringLiteral("帧格式6"));
  }
}
