#pragma once

#include <QString>
#include <source_location>

// Diagnostic lines of the serial layer, tagged "SerialPort" with the source
// line; they go to the debug output (category "tavrik.serial", enabled with
// QT_LOGGING_RULES="tavrik.serial.debug=true") and are never shown to the user.
void TraceSerial(const QString& text, std::source_location where = std::source_location::current());
