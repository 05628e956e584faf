#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// The unit keeps five odometer parameter groups of three numbers each:
// "ATB", "ATG", "LTC", "LTG" and "KWS". Group names are compared exactly.
// Commands come without their CR LF, which the sender appends.

bool IsOdometerGroup(std::string_view group);
// False for "KWS", whose fields have no room for a sign.
bool OdometerGroupTakesNegatives(std::string_view group);

// "*PA AUTO ODO RAD_<group>", nothing for an unknown group.
std::optional<std::string> OdometerReadCommand(std::string_view group);

// "*PA AUTO ODO SET_<group>" and the three values left to right. Each value
// is a sign and its absolute value as %06.3f ("+01.500"); "KWS" takes no
// signs and is printed %07.3f ("001.500"). Values too large for the field
// are printed wider. Nothing for an unknown group, or for a negative value
// in a group without signs.
std::optional<std::string> OdometerWriteCommand(std::string_view group,
                                                const std::array<double, 3>& values);
