#pragma once

#include "SimOptions.h"
#include "SimStats.h"

class PseudoTerminal;
class SignalPipe;

// Runs the virtual unit on the master end of a pseudo-terminal (POSIX poll
// loop) until SIGINT or SIGTERM.
class UnitSimRunner {
 public:
  UnitSimRunner(const SimOptions& options, PseudoTerminal& terminal, SignalPipe& signals);
  SimStats Run();

 private:
  const SimOptions& m_options;
  PseudoTerminal& m_terminal;
  SignalPipe& m_signals;
};
