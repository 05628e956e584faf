#include "tools/unitsim/LoaderLinePacer.h"

#include <algorithm>

namespace {

LoaderLinePacer::Clock::duration ByteTime(int baud) {
  if (baud <= 0) return LoaderLinePacer::Clock::duration::zero();
  return std::chrono::duration_cast<LoaderLinePacer::Clock::duration>(
      std::chrono::duration<double>(10.0 / baud));
}

}  // namespace

LoaderLinePacer::LoaderLinePacer(int baud) : m_byteTime(ByteTime(baud)) {}

LoaderLinePacer::Clock::time_point LoaderLinePacer::Arrival(Clock::time_point now) {
  if (!Paced()) return now;
  m_inFree = std::max(now, m_inFree) + m_byteTime;
  return m_inFree;
}

void LoaderLinePacer::Answer(const uint8_t* bytes, size_t count, Clock::time_point ready,
                             std::vector<uint8_t>& out) {
  if (!Paced()) {
    out.insert(out.end(), bytes, bytes + count);
    return;
  }
  m_outFree = std::max(ready, m_outFree) + m_byteTime * std::ptrdiff_t(count);
  m_held.push_back({m_outFree, std::vector<uint8_t>(bytes, bytes + count)});
}

void LoaderLinePacer::Release(Clock::time_point now, std::vector<uint8_t>& out) {
  while (!m_held.empty() && m_held.front().due <= now) {
    out.insert(out.end(), m_held.front().bytes.begin(), m_held.front().bytes.end());
    m_held.pop_front();
  }
}

std::optional<LoaderLinePacer::Clock::time_point> LoaderLinePacer::NextRelease() const {
  if (m_held.empty()) return std::nullopt;
  return m_held.front().due;
}

void LoaderLinePacer::Clear() {
  m_held.clear();
}
