#pragma once

class QSerialPort;

// Where the worker thread waits: for the line to have input or room for
// output, for it to hang up, or for another thread to wake it (a write was
// queued, the port shuts down). POSIX: poll on the port's descriptor and a
// pipe; another platform gets its own version of this class.
class PortWait {
 public:
  struct Events {
    bool readable = false;
    bool writable = false;
    bool hungUp = false;  // the other end went away (cable pulled, master closed)
    bool woken = false;
  };

  PortWait();
  ~PortWait();
  PortWait(const PortWait&) = delete;
  PortWait& operator=(const PortWait&) = delete;

  // Any thread. Makes the current or next Wait return.
  void Wake();
  // Worker thread. timeoutMs < 0 waits without a time-out.
  Events Wait(QSerialPort& port, bool wantWrite, int timeoutMs);
  // Worker thread. Lets the line gather input for up to ms milliseconds; a
  // wake-up ends it at once (and is kept for the next Wait). True if woken.
  bool Settle(int ms);

 private:
  int m_wakeRead = -1;
  int m_wakeWrite = -1;
};
