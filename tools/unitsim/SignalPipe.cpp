#include "SignalPipe.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace {

volatile sig_atomic_t g_writeFd = -1;

void OnSignal(int) {
  const int saved = errno;
  const char byte = 1;
  if (g_writeFd >= 0) (void)!::write(g_writeFd, &byte, 1);
  errno = saved;
}

}  // namespace

SignalPipe::SignalPipe() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  m_readFd = fds[0];
  g_writeFd = fds[1];
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

SignalPipe::~SignalPipe() {
  std::signal(SIGINT, SIG_DFL);
  std::signal(SIGTERM, SIG_DFL);
  if (g_writeFd >= 0) ::close(g_writeFd);
  g_writeFd = -1;
  if (m_readFd >= 0) ::close(m_readFd);
}

bool SignalPipe::Triggered() const {
  pollfd probe{m_readFd, POLLIN, 0};
  return m_readFd >= 0 && ::poll(&probe, 1, 0) == 1;
}
