#pragma once

#include <string>
#include <string_view>

#include "device/OdometerValueTexts.h"

// The outcome of "写入参数": either the command to send or the reason it was
// refused. A text that does not start with a number is refused rather than
// written as 0, so a typo never overwrites a parameter in the unit.
struct OdometerWrite {
  std::string command;  // without CR LF; empty when nothing is to be sent
  std::string refusal;  // message for the user; empty when the write may go
};

OdometerWrite PrepareOdometerWrite(std::string_view group, const OdometerValueTexts& texts);
