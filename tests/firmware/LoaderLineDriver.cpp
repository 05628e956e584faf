#include "tests/firmware/LoaderLineDriver.h"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

using Clock = std::chrono::steady_clock;

// Upper bound of one wait, so the patience is checked now and then.
constexpr int kLongestWaitMs = 200;

}  // namespace

LoaderLineDriver::LoaderLineDriver(int fd, FirmwareLoader& loader) : m_fd(fd), m_loader(loader) {}

LoaderLineDriver::Outcome LoaderLineDriver::Run(const FirmwareLoaderActions& startActions,
                                                std::chrono::seconds patience) {
  Outcome outcome;
  m_done = false;
  m_lineLost = false;
  Apply(startActions, outcome);
  const Clock::time_point giveUp = Clock::now() + patience;
  while (!m_done && Clock::now() < giveUp) {
    pollfd ready{m_fd, POLLIN, 0};
    const int polled = ::poll(&ready, 1, PollTimeoutMs());
    if (polled < 0 && errno != EINTR) break;
    if (polled > 0) {
      uint8_t chunk[4096];
      const ssize_t count = ::read(m_fd, chunk, sizeof chunk);
      if (count > 0) {
        outcome.bytesRead += uint64_t(count);
        outcome.received.insert(outcome.received.end(), chunk, chunk + count);
        for (ssize_t i = 0; i < count && !m_done; ++i)
          Apply(m_loader.OnUpgradeByte(chunk[i]), outcome);
      } else if (count == 0 || (errno != EAGAIN && errno != EINTR) ||
                 (ready.revents & (POLLHUP | POLLERR))) {
        Apply(m_loader.PortLost(), outcome);
        break;
      }
    }
    if (!m_done && m_lineLost) {
      Apply(m_loader.PortLost(), outcome);
      break;
    }
    if (!m_done) Apply(m_loader.Tick(), outcome);
  }
  if (outcome.finished && m_awaitClosingAnswer) ReadClosingAnswer(outcome);
  return outcome;
}

void LoaderLineDriver::ReadClosingAnswer(Outcome& outcome) {
  const Clock::time_point giveUp = Clock::now() + std::chrono::seconds(10);
  while (!outcome.closingAcknowledged && Clock::now() < giveUp) {
    pollfd ready{m_fd, POLLIN, 0};
    if (::poll(&ready, 1, kLongestWaitMs) <= 0) continue;
    uint8_t byte = 0;
    if (::read(m_fd, &byte, 1) != 1) return;
    ++outcome.bytesRead;
    outcome.received.push_back(byte);
    outcome.closingAcknowledged = byte == BootBlock::kAck;
  }
}

int LoaderLineDriver::PollTimeoutMs() const {
  const auto deadline = m_loader.NextDeadline();
  if (!deadline) return kLongestWaitMs;
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*deadline - Clock::now());
  return int(std::clamp<std::chrono::milliseconds::rep>(wait.count(), 0, kLongestWaitMs));
}

void LoaderLineDriver::Apply(const FirmwareLoaderActions& actions, Outcome& outcome) {
  for (const FirmwareLoaderAction& action : actions) {
    switch (action.kind) {
      case FirmwareLoaderAction::Kind::Write:
        if (action.purgeInputFirst) ::tcflush(m_fd, TCIFLUSH);
        if (WriteAll(action.bytes)) {
          outcome.bytesWritten += action.bytes.size();
        } else {
          m_lineLost = true;
        }
        break;
      case FirmwareLoaderAction::Kind::Label:
        outcome.labels.push_back(action.text);
        break;
      case FirmwareLoaderAction::Kind::Progress:
        if (m_progressHook) m_progressHook(m_loader.Progress());
        break;
      case FirmwareLoaderAction::Kind::Finished:
        outcome.finished = true;
        outcome.seconds = action.seconds;
        m_done = true;
        break;
      case FirmwareLoaderAction::Kind::Failed:
        outcome.failure = action.text;
        m_done = true;
        break;
    }
  }
}

bool LoaderLineDriver::WriteAll(const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  int idlePolls = 0;
  // A line that takes nothing for a while must end the run, not hang it.
  while (done < bytes.size() && idlePolls < 50) {
    const ssize_t count = ::write(m_fd, bytes.data() + done, bytes.size() - done);
    if (count > 0) {
      done += size_t(count);
      idlePolls = 0;
      continue;
    }
    if (count < 0 && errno != EAGAIN && errno != EINTR) return false;
    pollfd ready{m_fd, POLLOUT, 0};
    if (::poll(&ready, 1, kLongestWaitMs) == 0) ++idlePolls;
  }
  return done == bytes.size();
}
