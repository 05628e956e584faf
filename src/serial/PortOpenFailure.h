#pragma once

#include <QSerialPort>

// Why a port could not be opened, as the window tells the user: absent or in
// use ("没有发现此串口或被占用"), or not permitted for this user (the
// dialout group).
enum class PortOpenFailure { None, NotFoundOrBusy, PermissionDenied };

constexpr PortOpenFailure OpenFailureOf(QSerialPort::SerialPortError error) {
  switch (error) {
    case QSerialPort::NoError:
      return PortOpenFailure::None;
    case QSerialPort::PermissionError:
      return PortOpenFailure::PermissionDenied;
    default:
      return PortOpenFailure::NotFoundOrBusy;
  }
}
