#pragma once

#include <optional>

#include "device/OdometerValueTexts.h"
#include "device/ReplyLineBuffer.h"

// The unit answers an odometer read with three signed numbers on one line,
// either narrow (+01.234 +02.345 -00.123) or wide (+001.234 +002.345 -000.123).
// Each field is taken byte for byte, its separator included: the left and
// middle texts end in their space, the right one in the byte after the third
// number (the line's CR when the line ends there).
std::optional<OdometerValueTexts> ReadOdometerValueLine(const ReplyLineBuffer& line);
