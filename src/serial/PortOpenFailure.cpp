#include "serial/PortOpenFailure.h"

#include <QFile>

#ifdef Q_OS_UNIX
#include <unistd.h>

#include <cerrno>
#endif

bool UserMayUseDevice(const QString& portName) {
#ifdef Q_OS_UNIX
  const QString location =
      portName.startsWith(QLatin1Char('/')) ? portName : QStringLiteral("/dev/") + portName;
  const QByteArray path = QFile::encodeName(location);
  return ::access(path.constData(), R_OK | W_OK) == 0 || errno != EACCES;
#else
  Q_UNUSED(portName);
  return true;
#endif
}
