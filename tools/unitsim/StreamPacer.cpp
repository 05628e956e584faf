#include "StreamPacer.h"

#include <algorithm>

namespace {

constexpr auto kLargestLag = std::chrono::milliseconds(200);

}  // namespace

StreamPacer::StreamPacer(int baud, int rateHz) : m_baud(baud), m_rateHz(rateHz) {}

void StreamPacer::Restart(Clock::time_point now) {
  m_nextFrame = std::max(now, m_lineFree);
}

void StreamPacer::SkipLag(Clock::time_point now) {
  if (now - m_nextFrame > kLargestLag) {
    m_nextFrame = now;
    m_lineFree = std::min(m_lineFree, now);
  }
}

StreamPacer::Clock::duration StreamPacer::LineTime(size_t bytes) const {
  if (m_baud <= 0) return Clock::duration::zero();
  return std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double>(double(bytes) * 10.0 / m_baud));
}

void StreamPacer::FrameSent(size_t bytes) {
  const Clock::time_point start = m_nextFrame;
  m_lineFree = std::max(m_lineFree, start) + LineTime(bytes);
  Clock::time_point next = start;
  if (m_rateHz > 0) {
    next +=
        std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(1.0 / m_rateHz));
  }
  m_nextFrame = std::max(next, m_lineFree);
}

void StreamPacer::LineUsed(Clock::time_point now, size_t bytes) {
  m_lineFree = std::max(m_lineFree, now) + LineTime(bytes);
  m_nextFrame = std::max(m_nextFrame, m_lineFree);
}
