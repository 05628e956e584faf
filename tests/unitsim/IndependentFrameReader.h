#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Reads the unit's 120- and 220-byte frames from a byte stream with its own
// scanning, CRC and field decoding, written from the frame layouts alone, to
// cross-check both the virtual unit and the project's protocol library.
class IndependentFrameReader {
 public:
  struct Frame {
    int length = 0;
    double yaw = 0;  // unsigned heading field
    double latitude = 0, longitude = 0;
    double velN = 0;
  };

  // Consumes what it can; keeps an unfinished frame for the next call.
  void Feed(const uint8_t* bytes, size_t count);

  const std::vector<Frame>& Frames() const { return m_frames; }
  size_t Count(int length) const;
  // Candidates with a header whose CRC failed.
  size_t Failures() const { return m_failures; }

 private:
  std::vector<uint8_t> m_pending;
  std::vector<Frame> m_frames;
  size_t m_failures = 0;
};
