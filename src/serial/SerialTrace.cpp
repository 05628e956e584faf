#include "serial/SerialTrace.h"

#include <QLoggingCategory>

namespace {
// Off unless asked for (QT_LOGGING_RULES="tavrik.serial.debug=true"), like a
// debugger's output window.
Q_LOGGING_CATEGORY(lcSerialPort, "tavrik.serial", QtInfoMsg)
}  // namespace

void TraceSerial(const QString& text, std::source_location where) {
  qCDebug(lcSerialPort).noquote()
      << QStringLiteral("SerialPort(%1): %2").arg(where.line()).arg(text.trimmed());
}
