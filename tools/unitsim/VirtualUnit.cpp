#include "VirtualUnit.h"

#include <cstdio>
#include <utility>

VirtualUnit::VirtualUnit(const SimOptions& options, Clock::time_point now)
    : m_options(options),
      m_frames(options),
      m_pacer(options.baud, options.rateHz),
      m_responder(m_options, m_settings),
      m_bootLoader(options) {
  m_settings.format = options.format;
  m_settings.rateHz = options.rateHz;
  m_settings.streaming = !options.startStopped;
  m_pacer.Restart(now);
}

bool VirtualUnit::Streaming() const {
  const bool limitReached = m_options.frameLimit > 0 && m_stats.Frames() >= m_options.frameLimit;
  return m_settings.streaming && !m_bootLoader.Active() && !limitReached;
}

bool VirtualUnit::WantsLineSpace() const {
  return Streaming() && m_pacer.Unpaced();
}

void VirtualUnit::Receive(const uint8_t* bytes, size_t count, Clock::time_point now) {
  if (m_bootLoader.Active()) {
    m_bootLoader.Feed(bytes, count, now, m_output, m_stats);
    if (!m_bootLoader.Active()) PowerUp(now);
    return;
  }
  for (const std::string& line : m_lines.Feed(bytes, count)) {
    if (line == LineAssembler::kResetCommand) {
      m_lines.Clear();
      m_bootLoader.Reset(now);
      return;  // the rest of what was sent reaches a restarting unit
    }
    const UnitSettings before = m_settings;
    const std::vector<std::string> answers = m_responder.Answer(line);
    if (m_options.verbose) {
      std::fprintf(stderr, "tavrik-unitsim: \"%s\" -> %zu answer line(s)\n", line.c_str(),
                   answers.size());
    }
    if (answers.empty()) continue;
    ++m_stats.commands;
    for (const std::string& answer : answers) AppendAnswer(answer, now);
    ApplySettings(before, now);
  }
}

void VirtualUnit::AppendAnswer(const std::string& line, Clock::time_point now) {
  m_output.insert(m_output.end(), line.begin(), line.end());
  m_output.push_back('\r');
  m_output.push_back('\n');
  m_pendingAnswers.push_back({m_consumed + m_output.size(), line});
  m_pacer.LineUsed(now, line.size() + 2);
}

void VirtualUnit::ApplySettings(const UnitSettings& before, Clock::time_point now) {
  if (m_settings.rateHz != before.rateHz) {
    m_pacer.SetRate(m_settings.rateHz);
    m_frames.SetModelRate(m_settings.rateHz);
  }
  m_frames.SetFormat(m_settings.format);
  if (m_settings.streaming && !before.streaming) m_pacer.Restart(now);
}

void VirtualUnit::PowerUp(Clock::time_point now) {
  // A new firmware starts streaming as the unit does when switched on.
  m_settings.streaming = true;
  m_lines.Clear();
  m_pacer.Restart(now);
}

void VirtualUnit::Advance(Clock::time_point now) {
  if (m_bootLoader.Active()) {
    m_bootLoader.Tick(now, m_output, m_stats);
    if (!m_bootLoader.Active()) PowerUp(now);
    return;
  }
  if (!Streaming()) return;
  if (m_pacer.Unpaced()) {
    while (Streaming() && m_output.size() < kUnpacedBatch) m_frames.AppendNext(m_output, m_stats);
    return;
  }
  m_pacer.SkipLag(now);
  while (Streaming() && m_pacer.FrameDue(now)) {
    if (m_output.size() >= kBacklogLimit) {
      ++m_stats.droppedFrames;
      m_pacer.FrameSent(size_t(m_frames.Format().FrameLength()));
      continue;
    }
    m_pacer.FrameSent(m_frames.AppendNext(m_output, m_stats));
  }
}

std::optional<VirtualUnit::Clock::time_point> VirtualUnit::NextWakeUp() const {
  if (m_bootLoader.Active()) return m_bootLoader.NextDeadline();
  if (Streaming() && !m_pacer.Unpaced()) return m_pacer.NextFrame();
  return std::nullopt;
}

void VirtualUnit::ConsumeOutput(size_t count) {
  m_output.erase(m_output.begin(), m_output.begin() + std::ptrdiff_t(count));
  m_stats.bytes += count;
  m_consumed += count;
  size_t sent = 0;
  while (sent < m_pendingAnswers.size() && m_pendingAnswers[sent].end <= m_consumed) {
    m_sentAnswers.push_back(std::move(m_pendingAnswers[sent].line));
    ++sent;
  }
  m_pendingAnswers.erase(m_pendingAnswers.begin(), m_pendingAnswers.begin() + std::ptrdiff_t(sent));
}

std::vector<std::string> VirtualUnit::TakeSentAnswers() {
  return std::exchange(m_sentAnswers, {});
}
