#pragma once

#include <string>

#include "SimOptions.h"

// Reads the command line of tavrik-unitsim.
class SimOptionParser {
 public:
  enum class Outcome { Run, ShowHelp, Error };
  struct Result {
    Outcome outcome = Outcome::Run;
    SimOptions options;
    std::string error;
  };

  static Result Parse(int argc, const char* const* argv);
  static std::string HelpText();
};
