#include "UnitSimRunner.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "PseudoTerminal.h"
#include "SignalPipe.h"
#include "VirtualUnit.h"
#include "tools/unitsim/ReplyLog.h"
#include "tools/unitsim/TeeFile.h"

namespace {

using Clock = VirtualUnit::Clock;

// Writes what the line takes now.
void Flush(VirtualUnit& unit, PseudoTerminal& terminal, TeeFile* tee, ReplyLog* replies) {
  while (!unit.Output().empty()) {
    const ssize_t written = terminal.Write(unit.Output().data(), unit.Output().size());
    if (written <= 0) return;
    if (tee) tee->Append(unit.Output().data(), size_t(written));
    unit.ConsumeOutput(size_t(written));
    if (replies) {
      const Clock::time_point now = Clock::now();
      for (const std::string& line : unit.TakeSentAnswers()) replies->Sent(now, line);
    }
  }
}

void ReadAll(VirtualUnit& unit, PseudoTerminal& terminal) {
  uint8_t buffer[4096];
  for (;;) {
    const ssize_t count = terminal.Read(buffer, sizeof buffer);
    if (count <= 0) return;
    unit.Receive(buffer, size_t(count), Clock::now());
  }
}

// How long the loop may sleep: to the nanosecond, since a millisecond more
// per boot-loader answer would add a tenth to a paced upgrade. Null: until
// input comes.
const timespec* Timeout(const VirtualUnit& unit, Clock::time_point now, timespec& wait) {
  const auto wakeUp = unit.NextWakeUp();
  if (!wakeUp) return nullptr;
  const auto left =
      std::clamp<Clock::duration>(*wakeUp - now, Clock::duration::zero(), std::chrono::seconds(60));
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
  wait.tv_sec = time_t(seconds.count());
  wait.tv_nsec = long(std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds).count());
  return &wait;
}

}  // namespace

UnitSimRunner::UnitSimRunner(const SimOptions& options, PseudoTerminal& terminal,
                             SignalPipe& signals, TeeFile* tee, ReplyLog* replies)
    : m_options(options),
      m_terminal(terminal),
      m_signals(signals),
      m_tee(tee),
      m_replies(replies) {}

SimStats UnitSimRunner::Run() {
  VirtualUnit unit(m_options, Clock::now());
  if (!m_options.seed) {
    std::fprintf(stderr, "tavrik-unitsim: seed %llu\n", (unsigned long long)unit.Seed());
  }
  for (;;) {
    const Clock::time_point now = Clock::now();
    unit.Advance(now);
    Flush(unit, m_terminal, m_tee, m_replies);

    const bool wantsToWrite = !unit.Output().empty() || unit.WantsLineSpace();
    pollfd fds[2] = {
        {m_terminal.MasterFd(), short(POLLIN | (wantsToWrite ? POLLOUT : 0)), 0},
        {m_signals.ReadFd(), POLLIN, 0},
    };
    timespec wait{};
    const int ready = ::ppoll(fds, 2, Timeout(unit, now, wait), nullptr);
    if (ready < 0 && errno != EINTR) break;
    if (fds[1].revents != 0 || m_signals.Triggered()) break;
    if (fds[0].revents & POLLIN) ReadAll(unit, m_terminal);
  }
  return unit.Stats();
}
