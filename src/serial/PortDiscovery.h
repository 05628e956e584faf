#pragma once

#include <QStringList>

class PortSelector;

// Finds the serial ports that are free when the program starts. A port is
// offered when it can be opened exclusively; one that is absent or held by
// another program is not. There is no later refresh: a port plugged in
// afterwards is typed into the selector.
class PortDiscovery {
 public:
  // The serial devices the system lists, in natural order (ttyS2 before
  // ttyS10), without duplicates.
  static QStringList SystemSerialDevices();
  // Natural order of device names: text first, then the trailing number.
  static bool NaturalLess(const QString& a, const QString& b);

  PortDiscovery();
  // Probes these candidates instead of the system's list.
  explicit PortDiscovery(QStringList candidates);

  // Fills the free-port list from the candidates, keeping their order.
  void ProbePorts();
  // Probes, then offers every free port and selects the first.
  void FillPortList(PortSelector& selector);
  const QStringList& FreePorts() const { return m_freePorts; }

 private:
  QStringList m_candidates;
  QStringList m_freePorts;
};
