#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

#include "BootLoader.h"
#include "CommandResponder.h"
#include "FrameSource.h"
#include "LineAssembler.h"
#include "SimOptions.h"
#include "SimStats.h"
#include "StreamPacer.h"
#include "UnitSettings.h"

// The unit's behaviour without any I/O: bytes from the program go in, the
// bytes the unit puts on the line come out, and time is passed in, so the
// same object runs on a pseudo-terminal and in tests.
class VirtualUnit {
 public:
  using Clock = std::chrono::steady_clock;
  // Most bytes kept waiting for a line nobody reads; frames due beyond that
  // are dropped, as bytes on a real line with no listener are lost.
  static constexpr size_t kBacklogLimit = 64 * 1024;
  // Unpaced, the stream is topped up to this much whenever the line takes it.
  static constexpr size_t kUnpacedBatch = 16 * 1024;

  VirtualUnit(const SimOptions& options, Clock::time_point now);

  void Receive(const uint8_t* bytes, size_t count, Clock::time_point now);
  // Adds the frames due by `now` and runs the boot loader's timed steps.
  void Advance(Clock::time_point now);
  // When Advance has something to do next; none when only input can wake it.
  std::optional<Clock::time_point> NextWakeUp() const;
  // Unpaced streaming: produce whenever the line takes more.
  bool WantsLineSpace() const;

  const std::vector<uint8_t>& Output() const { return m_output; }
  void ConsumeOutput(size_t count);
  // The answers whose last byte has gone out since the last call, in order.
  std::vector<std::string> TakeSentAnswers();

  const SimStats& Stats() const { return m_stats; }
  const UnitSettings& Settings() const { return m_settings; }
  const BootLoader& Loader() const { return m_bootLoader; }
  uint64_t Seed() const { return m_frames.Seed(); }

 private:
  bool Streaming() const;
  void AppendAnswer(const std::string& line, Clock::time_point now);
  void ApplySettings(const UnitSettings& before, Clock::time_point now);
  void PowerUp(Clock::time_point now);

  const SimOptions m_options;
  UnitSettings m_settings;
  FrameSource m_frames;
  StreamPacer m_pacer;
  CommandResponder m_responder;
  LineAssembler m_lines;
  BootLoader m_bootLoader;
  SimStats m_stats;
  std::vector<uint8_t> m_output;
  uint64_t m_consumed = 0;  // bytes of output that went onto the line so far
  struct PendingAnswer {
    uint64_t end;  // output offset just past its line end
    std::string line;
  };
  std::vector<PendingAnswer> m_pendingAnswers;
  std::vector<std::string> m_sentAnswers;
};
