#include "serial/PortDiscovery.h"

#include <QSerialPort>
#include <QSerialPortInfo>
#include <algorithm>

#include "serial/PortSelector.h"

namespace {

// Splits "ttyUSB12" into "ttyUSB" and 12; a name without trailing digits
// has number -1.
std::pair<QString, qlonglong> SplitTrailingNumber(const QString& name) {
  qsizetype digitsFrom = name.size();
  while (digitsFrom > 0 && name.at(digitsFrom - 1).isDigit()) --digitsFrom;
  if (digitsFrom == name.size()) return {name, -1};
  bool ok = false;
  const qlonglong number = name.mid(digitsFrom).toLongLong(&ok);
  return {name.left(digitsFrom), ok ? number : -1};
}

bool CanOpenExclusively(const QString& portName) {
  QSerialPort probe;
  probe.setPortName(portName);
  if (!probe.open(QIODevice::ReadWrite)) return false;
  probe.close();
  return true;
}

}  // namespace

bool PortDiscovery::NaturalLess(const QString& a, const QString& b) {
  const auto [textA, numberA] = SplitTrailingNumber(a);
  const auto [textB, numberB] = SplitTrailingNumber(b);
  if (textA != textB) return textA < textB;
  if (numberA != numberB) return numberA < numberB;
  return a < b;
}

QStringList PortDiscovery::SystemSerialDevices() {
  QStringList names;
  for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
    names.append(info.portName());
  }
  std::sort(names.begin(), names.end(), NaturalLess);
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

PortDiscovery::PortDiscovery() : PortDiscovery(SystemSerialDevices()) {}

PortDiscovery::PortDiscovery(QStringList candidates) : m_candidates(std::move(candidates)) {}

void PortDiscovery::ProbePorts() {
  m_freePorts.clear();
  for (const QString& name : m_candidates) {
    if (CanOpenExclusively(name)) m_freePorts.append(name);
  }
}

void PortDiscovery::FillPortList(PortSelector& selector) {
  ProbePorts();
  for (const QString& name : m_freePorts) selector.AddPortItem(name);
  if (!m_freePorts.isEmpty()) selector.SelectPortItem(0);
}
