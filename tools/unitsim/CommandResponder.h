#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "SimOptions.h"
#include "UnitSettings.h"

// Answers the "*PA AUTO" command lines as the unit's firmware does and applies
// them to the unit's settings.
class CommandResponder {
 public:
  CommandResponder(const SimOptions& options, UnitSettings& settings);

  // The answer lines, without their CR LF, for one command line (without its
  // line end); none for a line that is not a command the unit knows.
  std::vector<std::string> Answer(std::string_view line);

 private:
  bool IsRefused(std::string_view command) const;
  std::vector<std::string> AnswerCommand(const std::string& command, bool refused);
  std::vector<std::string> AnswerOdometer(const std::string& command, bool refused);
  std::string StatusLine() const;

  DeviceVariant m_variant;
  std::vector<std::string> m_refusedWords;
  std::string m_serialNumber;
  bool m_wideValues;
  UnitSettings& m_settings;
};
