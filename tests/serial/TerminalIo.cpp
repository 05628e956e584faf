#include "TerminalIo.h"

#include <poll.h>

#include "tools/unitsim/PseudoTerminal.h"

namespace terminal_io {

namespace {
constexpr int kPatienceMs = 20'000;
}

QByteArray ReadExactly(PseudoTerminal& terminal, int count) {
  QByteArray bytes;
  while (bytes.size() < count) {
    pollfd ready{terminal.MasterFd(), POLLIN, 0};
    if (::poll(&ready, 1, kPatienceMs) != 1) break;
    uint8_t buffer[4096];
    const ssize_t n =
        terminal.Read(buffer, size_t(std::min<qsizetype>(count - bytes.size(), 4096)));
    if (n > 0) bytes.append(reinterpret_cast<const char*>(buffer), n);
  }
  return bytes;
}

void WriteAll(PseudoTerminal& terminal, const QByteArray& bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = terminal.Write(reinterpret_cast<const uint8_t*>(bytes.constData()) + done,
                                     size_t(bytes.size() - done));
    if (n > 0) {
      done += n;
      continue;
    }
    pollfd ready{terminal.MasterFd(), POLLOUT, 0};
    if (::poll(&ready, 1, kPatienceMs) != 1) return;
  }
}

}  // namespace terminal_io
