#pragma once

#include <QString>

// A port operation that failed: the step's name as shown in the error box and
// the system's text for the error.
struct PortFailure {
  QString step;
  QString systemError;
};
