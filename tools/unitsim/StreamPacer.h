#pragma once

#include <chrono>
#include <cstddef>

// Decides when the next frame goes out: at the output rate, but never before
// the line has carried the bytes sent so far at the configured baud rate (10
// bits a byte), so a rate the line cannot carry is capped by it as on a real
// line. A pseudo-terminal has no baud rate of its own; this keeps the
// average byte rate true, frame by frame.
class StreamPacer {
 public:
  using Clock = std::chrono::steady_clock;

  StreamPacer(int baud, int rateHz);

  void SetRate(int rateHz) { m_rateHz = rateHz; }
  // With neither a baud rate nor an output rate frames go as fast as the
  // terminal takes them.
  bool Unpaced() const { return m_baud == 0 && m_rateHz == 0; }

  // (Re)starts the schedule: the next frame is due now.
  void Restart(Clock::time_point now);
  bool FrameDue(Clock::time_point now) const { return m_nextFrame <= now; }
  // Behind by more than a moment (the process was not scheduled), the
  // schedule starts again from now instead of sending a burst of late frames.
  void SkipLag(Clock::time_point now);
  Clock::time_point NextFrame() const { return m_nextFrame; }
  // A frame of `bytes` (noise included) left at its due time.
  void FrameSent(size_t bytes);
  // Other bytes (answers) that went onto the line at `now`.
  void LineUsed(Clock::time_point now, size_t bytes);

 private:
  Clock::duration LineTime(size_t bytes) const;

  int m_baud;
  int m_rateHz;
  Clock::time_point m_nextFrame{};
  Clock::time_point m_lineFree{};
};
