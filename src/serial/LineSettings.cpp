#include "serial/LineSettings.h"

namespace {

const QString kBuildSettingsStep = QStringLiteral("BuildCommDCB()");
const QString kSetSettingsStep = QStringLiteral("SetCommState()");

// A pseudo-terminal or a bare USB bridge has no modem-control lines; the
// driver refuses the request outright, which is no fault of the link.
bool LacksModemControl(const QSerialPort& port) {
  return port.error() == QSerialPort::UnsupportedOperationError;
}

}  // namespace

std::optional<PortFailure> LineSettings::Apply(QSerialPort& port, qint32 baudRate) {
  if (!port.setBaudRate(baudRate)) {
    // A rate of 0 or less cannot even be expressed as a line setting.
    return PortFailure{baudRate <= 0 ? kBuildSettingsStep : kSetSettingsStep, port.errorString()};
  }
  const bool lineSet =
      port.setDataBits(QSerialPort::Data8) && port.setParity(QSerialPort::NoParity) &&
      port.setStopBits(QSerialPort::OneStop) && port.setFlowControl(QSerialPort::NoFlowControl);
  if (!lineSet) return PortFailure{kSetSettingsStep, port.errorString()};
  if (!port.setRequestToSend(true) && !LacksModemControl(port)) {
    return PortFailure{kSetSettingsStep, port.errorString()};
  }
  port.clearError();
  return std::nullopt;
}
