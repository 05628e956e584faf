#pragma once

#include <QSerialPort>
#include <QString>

// Why a port could not be opened, as the window tells the user: absent or in
// use ("没有发现此串口或被占用"), or not permitted for this user (the
// dialout group).
enum class PortOpenFailure { None, NotFoundOrBusy, PermissionDenied };

// Qt reports a port that another program holds (its lock file, or the
// device's exclusive use) as a permission error too, so only a device that
// this user may not read and write counts as a refusal of permission.
constexpr PortOpenFailure OpenFailureOf(QSerialPort::SerialPortError error, bool userMayUseDevice) {
  switch (error) {
    case QSerialPort::NoError:
      return PortOpenFailure::None;
    case QSerialPort::PermissionError:
      return userMayUseDevice ? PortOpenFailure::NotFoundOrBusy : PortOpenFailure::PermissionDenied;
    default:
      return PortOpenFailure::NotFoundOrBusy;
  }
}

// Whether this user may read and write the port's device (a name under
// /dev or a path); an absent device counts as usable, since its absence is
// the failure to name.
bool UserMayUseDevice(const QString& portName);
