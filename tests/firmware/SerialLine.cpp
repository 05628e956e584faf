#include "tests/firmware/SerialLine.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

SerialLine::SerialLine(const std::string& devicePath) {
  m_fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (m_fd < 0) return;
  termios raw{};
  ::tcgetattr(m_fd, &raw);
  ::cfmakeraw(&raw);
  ::tcsetattr(m_fd, TCSANOW, &raw);
}

SerialLine::~SerialLine() {
  if (m_fd >= 0) ::close(m_fd);
}
