#pragma once

#include "SimOptions.h"
#include "SimStats.h"

class PseudoTerminal;
class ReplyLog;
class SignalPipe;
class TeeFile;

// Runs the virtual unit on the master end of a pseudo-terminal (POSIX poll
// loop) until SIGINT or SIGTERM. With a tee, every byte the line took is
// copied there too; with a reply log, the moment each answer went out.
class UnitSimRunner {
 public:
  UnitSimRunner(const SimOptions& options, PseudoTerminal& terminal, SignalPipe& signals,
                TeeFile* tee = nullptr, ReplyLog* replies = nullptr);
  SimStats Run();

 private:
  const SimOptions& m_options;
  PseudoTerminal& m_terminal;
  SignalPipe& m_signals;
  TeeFile* m_tee;
  ReplyLog* m_replies;
};
