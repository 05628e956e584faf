#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <QString>
#include <chrono>
#include <string>

// A pseudo-terminal pair: the program opens the device end as its serial
// port; the test reads and writes the other end as the unit would.
class PtyPair {
 public:
  PtyPair() {
    char name[256] = {};
    if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) == 0) {
      m_path = QString::fromLocal8Bit(name);
      termios t{};
      ::tcgetattr(m_slave, &t);
      ::cfmakeraw(&t);
      ::tcsetattr(m_slave, TCSANOW, &t);
    }
  }
  ~PtyPair() {
    if (m_master >= 0) ::close(m_master);
    if (m_slave >= 0) ::close(m_slave);
  }
  PtyPair(const PtyPair&) = delete;
  PtyPair& operator=(const PtyPair&) = delete;

  const QString& DevicePath() const { return m_path; }
  bool Valid() const { return m_master >= 0; }

  // Reads what the program wrote, until `count` bytes came or `ms` passed.
  std::string Read(size_t count, int ms = 3000) {
    std::string out;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (out.size() < count) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (left.count() <= 0) break;
      pollfd p{m_master, POLLIN, 0};
      if (::poll(&p, 1, int(left.count())) <= 0) break;
      char buffer[4096];
      const ssize_t n = ::read(m_master, buffer, sizeof buffer);
      if (n <= 0) break;
      out.append(buffer, size_t(n));
    }
    return out;
  }
  // Everything that arrives within `ms`.
  std::string Drain(int ms = 200) { return Read(size_t(-1), ms); }

  void Write(const std::string& bytes) { (void)!::write(m_master, bytes.data(), bytes.size()); }
  // The unit's end goes away, as when a USB adapter is pulled.
  void HangUp() {
    if (m_master >= 0) ::close(m_master);
    m_master = -1;
  }

 private:
  int m_master = -1;
  int m_slave = -1;
  QString m_path;
};
