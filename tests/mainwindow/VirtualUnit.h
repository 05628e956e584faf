#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// tavrik-unitsim on a pseudo-terminal of its own, for the length of a test.
class VirtualUnit {
 public:
  explicit VirtualUnit(const QStringList& args) {
    m_process.start(TAVRIK_UNITSIM_BIN, args);
    if (m_process.waitForStarted(5000) && m_process.waitForReadyRead(5000)) {
      m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
  }
  ~VirtualUnit() {
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) m_process.kill();
  }
  const QString& Device() const { return m_device; }

 private:
  QProcess m_process;
  QString m_device;
};
