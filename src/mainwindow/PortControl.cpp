#include "mainwindow/PortControl.h"

#include <QComboBox>
#include <QPushButton>

#include "device/DeviceSession.h"
#include "mainwindow/ControlMap.h"
#include "mainwindow/PortComboBox.h"
#include "mainwindow/TavrikDlgIds.h"
#include "serial/CSerialPort.h"
#include "serial/PortDiscovery.h"
#include "serial/PortText.h"
#include "services/WindowServices.h"

namespace {
using namespace MainIds;
const char* kOpenCaption = "打开";
const char* kCloseCaption = "关闭";
}  // namespace

PortControl::PortControl(QWidget& window, const ControlMap& controls, WindowServices& services,
                         CSerialPort& port, SerialPortOwner& receiver, DeviceSession& session)
    : m_window(window),
      m_controls(controls),
      m_services(services),
      m_port(port),
      m_receiver(receiver),
      m_session(session) {
  if (auto* button = m_controls.As<QPushButton>(kOpenButton)) {
    QObject::connect(button, &QPushButton::clicked, &m_context, [this] { OnOpenClose(); });
  }
  if (auto* combo = m_controls.As<PortComboBox>(kPortCombo)) {
    combo->SetBeforePopup([this] {
      if (!IsOpen()) RefreshPortList();
    });
  }
}

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

void PortControl::RefreshPortList() {
  auto* combo = m_controls.As<QComboBox>(kPortCombo);
  if (combo == nullptr) return;
  const QString text = combo->currentText();
  combo->clear();
  FillPortList();
  // What the user typed or chose stays, even when it is not offered now.
  if (!text.isEmpty()) combo->setEditText(text);
}

void PortControl::FillBaudList() {
  if (auto* combo = m_controls.As<QComboBox>(kBaudCombo)) {
    combo->clear();
    combo->addItems({"9600", "115200", "230400", "460800", "921600"});
    combo->setCurrentIndex(3);
  }
}

void PortControl::AddPortItem(const QString& portName) {
  if (auto* combo = m_controls.As<QComboBox>(kPortCombo)) combo->addItem(portName);
}

void PortControl::SelectPortItem(int index) {
  if (auto* combo = m_controls.As<QComboBox>(kPortCombo)) combo->setCurrentIndex(index);
}

void PortControl::OnOpenClose() {
  if (IsOpen()) {
    Close();
  } else {
    Open();
  }
}

void PortControl::Open() {
  const QString portName = PortText::PortName(m_controls.Text(kPortCombo));
  const qint32 baud = PortText::BaudRate(m_controls.Text(kBaudCombo));
  if (portName.isEmpty() || !m_port.InitialisePort(m_receiver, portName, baud)) {
    // A port this user may not open needs a fix no retry brings.
    const bool denied =
        !portName.isEmpty() && m_port.LastOpenFailure() == PortOpenFailure::PermissionDenied;
    m_services.MessageBox(
        &m_window, denied
                       ? QStringLiteral("没有权限打开串口%1，请将当前用户加入dialout组后重新登录\n")
                             .arg(portName)
                       : QStringLiteral("没有发现此串口或被占用"));
    return;
  }
  m_port.StartWorker();
  m_open.store(true);
  m_controls.SetText(kOpenButton, QString::fromUtf8(kCloseCaption));
  m_controls.Enable(kPortCombo, false);
  m_controls.Enable(kBaudCombo, false);
  m_controls.Enable(kStartOutputButton, true);
  m_controls.Enable(kStopOutputButton, true);
  m_session.OnPortOpened();
  if (m_session.Profile().SettingsLockedWhileOpen()) {
    for (int id : {kFrameFormatSetButton, kBaudSetButton, kRateSetButton, kSceneSetButton,
                   kFactoryResetButton}) {
      m_controls.Enable(id, false);
    }
  }
}

void PortControl::Close() {
  ShowClosed();
  m_port.ShutdownPort();
  m_session.OnPortClosed();
}

void PortControl::ShowClosed() {
  m_open.store(false);
  m_controls.SetText(kOpenButton, QString::fromUtf8(kOpenCaption));
  m_controls.Enable(kOpenButton, true);
  if (QWidget* button = m_controls.Get(kOpenButton)) button->setFocus();
  m_controls.Enable(kPortCombo, true);
  m_controls.Enable(kBaudCombo, true);
  m_controls.Enable(kStartOutputButton, false);
  m_controls.Enable(kStopOutputButton, false);
}

void PortControl::OnPortGone() {
  if (!IsOpen()) return;
  Close();
  // A unit plugged in again may show up under another name.
  RefreshPortList();
}
