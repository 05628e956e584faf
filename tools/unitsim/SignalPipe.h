#pragma once

// Turns SIGINT and SIGTERM into a readable descriptor (POSIX), so the unit's
// poll loop ends cleanly however close to a wait the signal arrives. Also
// ignores SIGPIPE. One per process.
class SignalPipe {
 public:
  SignalPipe();
  ~SignalPipe();
  SignalPipe(const SignalPipe&) = delete;
  SignalPipe& operator=(const SignalPipe&) = delete;

  int ReadFd() const { return m_readFd; }
  bool Triggered() const;

 private:
  int m_readFd = -1;
};
