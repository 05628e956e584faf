#include "PortControl.h"

#include <QComboBox>
#include <QPushButton>

#include "CSerialPort.h"
#include "ConfigFile.h"
#include "PortDiscovery.h"
#include "PortText.h"
#include "ReceiveDispatcher.h"
#include "WindowServices.h"

namespace {
constexpr int kOpenButton = 1008, kPortSelector = 1041, kBaudSelector = 1040;
constexpr int kStartOutput = 1060, kStopOutput = 1061;
}  // namespace

PortControl::PortControl(QWidget& window, const ControlMap& controls, WindowServices& services,
                         CSerialPort& port, ReceiveDispatcher& receive)
    : m_window(window),
      m_controls(controls),
      m_services(services),
      m_port(port),
      m_receive(receive) {}

void PortControl::FillPortList() {
  // Devices named in TAVRIK_EXTRA_PORTS (colon-separated, e.g. the virtual
  // unit's pseudo-terminal) are offered first, like any free port.
  QStringList candidates =
      qEnvironmentVariable("TAVRIK_EXTRA_PORTS").split(':', Qt::SkipEmptyParts);
  candidates += PortDiscovery::SystemSerialDevices();
  candidates.removeDuplicates();
  PortDiscovery discovery(candidates);
  discovery.FillPortList(*this);
}

void PortControl::FillBaudList() {
  if (auto* combo = m_controls.As<QComboBox>(kBaudSelector)) {
    combo->clear();
    combo->addItems({"9600", "115200", "230400", "460800", "921600"});
    combo->setCurrentIndex(3);
  }
}

void PortControl::AddPortItem(const QString& portName) {
  if (auto* combo = m_controls.As<QComboBox>(kPortSelector)) combo->addItem(portName);
}

void PortControl::SelectPortItem(int index) {
  if (auto* combo = m_controls.As<QComboBox>(kPortSelector)) combo->setCurrentIndex(index);
}

bool PortControl::IsOpen() const {
  const QString caption = m_controls.Text(kOpenButton);
  return caption == "Close" || caption == QStringLiteral("关闭");
}

void PortControl::OnOpenClose(const std::string& deviceVariant) {
  const QString caption = m_controls.Text(kOpenButton);
  if (caption == "Open" || caption == QStringLiteral("打开")) {
    Open(deviceVariant);
    return;
  }
  m_controls.SetText(kOpenButton, caption == "Close" ? "Open" : QStringLiteral("打开"));
  ShowClosed();
  m_port.ShutdownPort();
  m_replayStop.store(false);
}

void PortControl::Open(const std::string& deviceVariant) {
  const QString portName = PortText::PortName(m_controls.Text(kPortSelector));
  const qint32 baud = PortText::BaudRate(m_controls.Text(kBaudSelector));
  if (portName.isEmpty() || !m_port.InitialisePort(m_receive, portName, baud)) {
    m_services.MessageBox(&m_window, QStringLiteral("没有发现此串口或被占用"));
    return;
  }
  m_port.StartWorker();
  const QString caption = m_controls.Text(kOpenButton);
  m_controls.SetText(kOpenButton, caption == "Open" ? "Close" : QStringLiteral("关闭"));
  m_controls.Enable(kPortSelector, false);
  m_controls.Enable(kBaudSelector, false);
  m_controls.Enable(kStartOutput, true);
  m_controls.Enable(kStopOutput, true);
  m_receive.SetMode(ReceiveMode::Idle);
  m_replayStop.store(true);
  if (IsDeviceVariant(deviceVariant, "KemRTK")) {
    for (int id : {1051, 1053, 1084, 1075, 1056}) m_controls.Enable(id, false);
  }
}

void PortControl::ShowClosed() {
  m_controls.Enable(kOpenButton, true);
  if (QWidget* button = m_controls.Get(kOpenButton)) button->setFocus();
  m_controls.Enable(kPortSelector, true);
  m_controls.Enable(kBaudSelector, true);
  m_controls.Enable(kStartOutput, false);
  m_controls.Enable(kStopOutput, false);
}

void PortControl::OnPortGone() {
  if (!IsOpen()) return;
  m_controls.SetText(kOpenButton,
                     m_controls.Text(kOpenButton) == "Close" ? "Open" : QStringLiteral("打开"));
  ShowClosed();
  m_port.ShutdownPort();
  m_replayStop.store(false);
}
