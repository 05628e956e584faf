#include "serial/PortWait.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QSerialPort>

PortWait::PortWait() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
    m_wakeRead = fds[0];
    m_wakeWrite = fds[1];
  }
}

PortWait::~PortWait() {
  if (m_wakeRead >= 0) ::close(m_wakeRead);
  if (m_wakeWrite >= 0) ::close(m_wakeWrite);
}

void PortWait::Wake() {
  const char byte = 1;
  // A full pipe already holds a wake-up; nothing is lost.
  (void)!::write(m_wakeWrite, &byte, 1);
}

PortWait::Events PortWait::Wait(QSerialPort& port, bool wantWrite, int timeoutMs) {
  pollfd fds[2] = {
      {static_cast<int>(port.handle()), short(POLLIN | (wantWrite ? POLLOUT : 0)), 0},
      {m_wakeRead, POLLIN, 0},
  };
  Events events;
  if (::poll(fds, 2, timeoutMs) <= 0) return events;
  events.hungUp = (fds[0].revents & (POLLHUP | POLLNVAL)) != 0;
  events.readable = (fds[0].revents & (POLLIN | POLLERR)) != 0;
  events.writable = (fds[0].revents & POLLOUT) != 0;
  if (fds[1].revents & POLLIN) {
    char drain[64];
    while (::read(m_wakeRead, drain, sizeof drain) > 0) {
    }
    events.woken = true;
  }
  return events;
}

bool PortWait::Settle(int ms) {
  pollfd wake = {m_wakeRead, POLLIN, 0};
  return ::poll(&wake, 1, ms) > 0;
}
