#include "CommandChannel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <vector>

#include "CSerialPort.h"
#include "ConfigFile.h"
#include "HexText.h"
#include "ReceiveDispatcher.h"
#include "WindowServices.h"

namespace {

const QString kPortClosed = QStringLiteral("先打开串口在进行其他操作！！");

void Fill(QComboBox* combo, const QStringList& items, int selected) {
  if (combo == nullptr) return;
  combo->clear();
  combo->addItems(items);
  combo->setCurrentIndex(selected);
}

// The byte at `offset` of the text as the unit's code page lays it out:
// characters outside ASCII take two bytes there. Returns 0 when the text is
// too short or the byte falls inside a two-byte character.
char CodePageByteAt(const QString& text, int offset) {
  int position = 0;
  for (const QChar c : text) {
    const int width = c.unicode() < 0x80 ? 1 : 2;
    if (position == offset) return width == 1 ? char(c.unicode()) : 0;
    position += width;
    if (position > offset) return 0;
  }
  return 0;
}

}  // namespace

CommandChannel::CommandChannel(QWidget& window, const ControlMap& controls,
                               WindowServices& services, CSerialPort& port,
                               ReceiveDispatcher& receive)
    : m_window(window),
      m_controls(controls),
      m_services(services),
      m_port(port),
      m_receive(receive) {}

void CommandChannel::FillSelectors() {
  Fill(m_controls.As<QComboBox>(1050), {"帧格式1", "帧格式2", "帧格式3"}, 0);
  Fill(m_controls.As<QComboBox>(1052), {"115200", "230400", "460800"}, 0);
  Fill(m_controls.As<QComboBox>(1063), {"车载", "室内", "船载", "固定翼", "旋翼", "直升机"}, 0);
  if (IsDeviceVariant(m_variant, "V3.11")) {
    Fill(m_controls.As<QComboBox>(1083), {"10HZ", "20HZ", "50HZ", "100HZ"}, 3);
  } else if (IsDeviceVariant(m_variant, "KDV1")) {
    Fill(m_controls.As<QComboBox>(1083), {"100HZ", "200HZ", "300HZ", "600HZ"}, 0);
  } else {
    Fill(m_controls.As<QComboBox>(1083), {"100HZ", "200HZ", "400HZ"}, 0);
  }
}

bool CommandChannel::PortOpen() const {
  return m_port.IsWorkerAlive();
}

void CommandChannel::RefuseClosedPort() {
  m_services.MessageBox(&m_window, kPortClosed);
}

bool CommandChannel::SendDeviceCommand(const std::string& command, ReceiveMode newMode) {
  if (!PortOpen()) {
    RefuseClosedPort();
    return false;
  }
  // The mode changes before the line leaves, so that a quick reply can never
  // be read in the old mode and lost in the frame path.
  m_receive.SetMode(newMode);
  const std::string line = command + "\r\n";
  m_port.QueueWrite(reinterpret_cast<const uint8_t*>(line.data()), line.size());
  return true;
}

void CommandChannel::OnStopOutput() {
  if (SendDeviceCommand("*PA AUTO STOP", ReceiveMode::Command)) m_receive.SetDisplayEnabled(false);
}

void CommandChannel::OnStartOutput() {
  if (!SendDeviceCommand("*PA AUTO START", ReceiveMode::Live)) return;
  m_receive.SetDisplayEnabled(true);
  for (int id : {1060, 1051, 1053, 1084, 1075, 1056, 1082}) m_controls.Enable(id, false);
  m_controls.Enable(1061, true);
  if (m_stopUpdateCheck) m_stopUpdateCheck();
}

void CommandChannel::OnFactoryReset() {
  SendDeviceCommand("*PA AUTO ODO RESET", ReceiveMode::Command);
}

void CommandChannel::OnSetFrameFormat() {
  if (!PortOpen()) {
    RefuseClosedPort();
    return;
  }
  // The digit after "帧格式" is the command's argument.
  const char digit = CodePageByteAt(m_controls.Text(1050), 6);
  if (digit == 0) {
    m_services.MessageBox(&m_window, QStringLiteral("帧格式不完整，请选择帧格式后再设置。"));
    return;
  }
  SendDeviceCommand(std::string("*PA AUTO FRAME") + digit, ReceiveMode::Command);
}

int CommandChannel::SelectedIndex(int controlId) const {
  const auto* combo = m_controls.As<QComboBox>(controlId);
  return combo ? combo->findText(combo->currentText(), Qt::MatchExactly) : -1;
}

void CommandChannel::OnSetBaud() {
  SendDeviceCommand("*PA AUTO BAUD " + std::to_string(SelectedIndex(1052) + 1),
                    ReceiveMode::Command);
}

void CommandChannel::OnSetScene() {
  SendDeviceCommand("*PA AUTO SCENES " + std::to_string(SelectedIndex(1063) + 1),
                    ReceiveMode::Command);
}

char CommandChannel::RateCode(const std::string& variant, int index) {
  const bool v311 = IsDeviceVariant(variant, "V3.11");
  const bool v71 = IsDeviceVariant(variant, "V7.1");
  const bool kdv1 = IsDeviceVariant(variant, "KDV1");
  switch (index) {
    case 0:
      return '1';
    case 1:
      return '2';
    case 2:
      if (v311) return '5';
      if (v71) return '4';
      if (kdv1) return '3';
      return '4';
    case 3:
      if (v311) return 'A';
      if (kdv1) return '6';
      return '4';
    default:
      return '0';
  }
}

void CommandChannel::OnSetRate() {
  SendDeviceCommand(std::string("*PA AUTO OUT FRE ") + RateCode(m_variant, SelectedIndex(1083)),
                    ReceiveMode::Command);
}

void CommandChannel::OnQuerySerialNumber() {
  SendDeviceCommand("*PA AUTO SN?", ReceiveMode::Command);
}

void CommandChannel::OnSend() {
  const auto* hexBox = m_controls.As<QCheckBox>(1070);
  const bool hex = hexBox != nullptr && hexBox->isChecked();
  const QByteArray text = m_controls.Text(1077).toUtf8();
  if (hex) {
    std::vector<uint8_t> bytes(size_t(text.size()) / 2 + 1);
    bytes.resize(DecodeHexText(text.constData(), size_t(text.size()), bytes.data()));
    if (bytes.size() > size_t(kHexSendLimit)) {
      m_services.MessageBox(
          &m_window,
          QStringLiteral("十六进制数据过长，最多发送 %1 字节，未发送。").arg(kHexSendLimit));
      return;
    }
    if (!PortOpen()) {
      RefuseClosedPort();
      return;
    }
    m_port.QueueWrite(bytes.data(), bytes.size());
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
  m_port.QueueWrite(text + "\r\n");
}

void CommandChannel::AppendFrameFormat6() {
  if (auto* combo = m_controls.As<QComboBox>(1050)) combo->addItem(QStringLiteral("帧格式6"));
}
